// Reading, writing and importing the settings.

#include "app/core/CPrefObject.h"

#include <gtest/gtest.h>

namespace {

const CScreenMetrics kScreen{1280, 1024, 1, 1};

class Prefs : public ::testing::Test {
protected:
    CZelSettings Read() {
        CZelSettings s;
        m_prefs.ReadPreferences(m_store, s, kScreen);
        return s;
    }
    CPrefObject m_prefs;
    CIniProfileStore m_store;
};

TEST(PrefObject, HoldsTheFortySixNamesInOrder) {
    CPrefObject p;
    EXPECT_EQ(p[CPrefObject::View], "View");
    EXPECT_EQ(p[CPrefObject::ShowAlbWizard], "Show Alb Wizard");
    EXPECT_EQ(p[CPrefObject::AlbumTextualShowDes], "Album Textual Show Des");
    EXPECT_EQ(p[CPrefObject::UseWindowsStretch], "Use Windows Stretch");
    EXPECT_EQ(p[CPrefObject::ModifyAlbumPath], "Modify Album Path");
    EXPECT_EQ(p[CPrefObject::DeleteWhenThrough], "Delete When Through");
    EXPECT_EQ(static_cast<int>(CPrefObject::NameCount), 46);
}

TEST_F(Prefs, EmptyStoreGivesTheReadDefaults) {
    CZelSettings s = Read();
    EXPECT_EQ(s.m_bShowToolBar, 1);
    EXPECT_EQ(s.m_placement.rcNormalPosition, CRect(1, 1, 1279, 1023));
    EXPECT_EQ(s.m_placement.showCmd, unsigned(SW_SHOWNORMAL));
    EXPECT_EQ(s.m_placement.ptMaxPosition, CPoint(-1, -1));
    EXPECT_EQ(s.m_bUseWindowsStretch, 1);
    EXPECT_EQ(s.m_bImageCenter, 1);
    EXPECT_EQ(s.m_nAlbumContactCols, 1);
    EXPECT_EQ(s.m_nThumbnailSize, 1);
    EXPECT_EQ(s.m_rcExtraMargins, CRect());
}

TEST_F(Prefs, WindowRectangleIsUsedOnlyInsideTheScreen) {
    m_store.WriteProfileString("View", "Rect", "0010 0010 0500 0400");
    EXPECT_EQ(Read().m_placement.rcNormalPosition, CRect(10, 10, 500, 400));
    m_store.WriteProfileString("View", "Rect", "0010 0010 1280 0400"); // past the inset screen
    EXPECT_EQ(Read().m_placement.rcNormalPosition, CRect(1, 1, 1279, 1023));
    m_store.WriteProfileString("View", "Rect", "0000 0000 0000 0000"); // no area
    EXPECT_EQ(Read().m_placement.rcNormalPosition, CRect(1, 1, 1279, 1023));
    m_store.WriteProfileString("View", "Rect", "0020"); // short text: the missing fields are 0
    EXPECT_EQ(Read().m_placement.rcNormalPosition, CRect(1, 1, 1279, 1023));
    m_store.WriteProfileString("View", "Rect", "  50x 060 0300x0400"); // atoi at positions 0, 5, 10, 15
    EXPECT_EQ(Read().m_placement.rcNormalPosition, CRect(50, 60, 300, 400));
}

TEST_F(Prefs, MaximisedOnlyWhenNotMinimised) {
    m_store.WriteProfileInt("View", "Max", 1);
    CZelSettings s = Read();
    EXPECT_EQ(s.m_placement.showCmd, unsigned(SW_SHOWMAXIMIZED));
    EXPECT_EQ(s.m_placement.flags, unsigned(WPF_RESTORETOMAXIMIZED));
    m_store.WriteProfileInt("View", "Icon", 1);
    s = Read();
    EXPECT_EQ(s.m_placement.showCmd, unsigned(SW_SHOWNORMAL));
    EXPECT_EQ(s.m_placement.flags, 0u);
}

TEST_F(Prefs, CorrectionsOnRead) {
    m_store.WriteProfileInt("Thumbnails", "Size", 7);
    m_store.WriteProfileInt("Undo Redo", "Buffer", 2);
    m_store.WriteProfileInt("Slide Show Panel", "Left", -20);
    m_store.WriteProfileInt("Slide Show Panel", "Top", 1024 - 10);
    CZelSettings s = Read();
    EXPECT_EQ(s.m_nThumbnailSize, 1);
    EXPECT_EQ(s.m_nUndoBuffer, 0);
    EXPECT_EQ(s.m_nPanelLeft, 0);
    EXPECT_EQ(s.m_nPanelTop, 1024 - 40);
    m_store.WriteProfileInt("Slide Show Panel", "Left", 1280 - 100);
    m_store.WriteProfileInt("Slide Show Panel", "Top", -5);
    s = Read();
    EXPECT_EQ(s.m_nPanelLeft, 1280 - 356);
    EXPECT_EQ(s.m_nPanelTop, 0);
    m_store.WriteProfileInt("Slide Show Panel", "Left", 2147483647); // no overflow in the check
    EXPECT_EQ(Read().m_nPanelLeft, 1280 - 356);
}

TEST_F(Prefs, PrintRectanglesAtEightCharacterFields) {
    m_store.WriteProfileString("Print", "Extra Margins", "0000150 0000075 0000300 -000010");
    m_store.WriteProfileString("Print", "Image Rect", "");
    CZelSettings s = Read();
    EXPECT_EQ(s.m_rcExtraMargins, CRect(150, 75, 300, -10));
    EXPECT_EQ(s.m_rcImageRect, CRect());
}

TEST_F(Prefs, AlbumPathEntries) {
    m_store.WriteProfileInt("Modify Album Path", "Count", 2);
    m_store.WriteProfileString("Modify Album Path", "Alb0", "/old/albums, /new/albums");
    m_store.WriteProfileString("Modify Album Path", "Alb1", "/a,/b");
    CZelSettings s = Read();
    EXPECT_EQ(s.m_nModifyAlbumCount, 2);
    EXPECT_EQ(s.m_oldAlbumPaths, (std::vector<std::string>{"/old/albums", "/a"}));
    EXPECT_EQ(s.m_newAlbumPaths, (std::vector<std::string>{"/new/albums", "/b"}));
    // The section is emptied once read.
    EXPECT_FALSE(m_store.HasKey("Modify Album Path", "Count"));
    EXPECT_FALSE(m_store.HasKey("Modify Album Path", "Alb0"));

    m_store.WriteProfileInt("Modify Album Path", "Count", 2);
    m_store.WriteProfileString("Modify Album Path", "Alb0", "/old, /new");
    m_store.WriteProfileString("Modify Album Path", "Alb1", "/only/one/path");
    s = Read();
    EXPECT_EQ(s.m_nModifyAlbumCount, 0);
    EXPECT_TRUE(s.m_oldAlbumPaths.empty());
    EXPECT_TRUE(s.m_newAlbumPaths.empty());

    // Three pieces, or a missing entry, discard everything too.
    m_store.WriteProfileInt("Modify Album Path", "Count", 1);
    m_store.WriteProfileString("Modify Album Path", "Alb0", "/a /b /c");
    EXPECT_EQ(Read().m_nModifyAlbumCount, 0);
    m_store.WriteProfileInt("Modify Album Path", "Count", 1000000000);
    EXPECT_EQ(Read().m_nModifyAlbumCount, 0);
    // The entry is cut at 780 characters before it is split.
    m_store.WriteProfileInt("Modify Album Path", "Count", 1);
    m_store.WriteProfileString("Modify Album Path", "Alb0", "/" + std::string(778, 'o') + " /new");
    EXPECT_EQ(Read().m_nModifyAlbumCount, 0);
}

TEST_F(Prefs, WriteThenReadKeepsTheValuesAndNeverWritesWindowsStretch) {
    CZelSettings s;
    s.m_bShowAlbWizard = 0;
    s.m_nUndoBuffer = 1;
    s.m_strAlbumsDir = "/home/u/Albums/";
    s.m_strFooter = "Page &p";
    s.m_rcExtraMargins = CRect(1, 2, 3, 4);
    s.m_nPanelLeft = 100;
    s.m_nThumbnailSize = 3;
    s.m_nAlbumContactCols = 4;
    CMainWindowState wnd;
    wnd.bToolBarVisible = false;
    wnd.bStatusBarExists = false;
    wnd.nShow = CMainWindowState::minimized;
    wnd.bRestoreToMaximized = true;
    wnd.rcNormal = CRect(-5000, 20, 300, 12345);
    m_store.WriteProfileInt("Paint Option", "Use Windows Stretch", 0); // set by hand
    m_prefs.WritePreferences(m_store, s, wnd);

    EXPECT_EQ(m_store.GetProfileString("View", "Rect"), "-999 0020 0300 9999");
    EXPECT_EQ(m_store.GetProfileInt("View", "Icon", 9), 1);
    EXPECT_EQ(m_store.GetProfileInt("View", "Max", 9), 1);
    EXPECT_EQ(m_store.GetProfileInt("View", "Tool", 9), 0);
    EXPECT_FALSE(m_store.HasKey("View", "Status"));
    EXPECT_EQ(m_store.GetProfileString("Print", "Extra Margins"), "0000001 0000002 0000003 0000004");
    EXPECT_EQ(m_store.GetProfileString("Print", "Image Rect"), "0000000 0000000 0000000 0000000");
    EXPECT_EQ(m_store.GetProfileInt("Paint Option", "Use Windows Stretch", 9), 0);

    CZelSettings r = Read();
    EXPECT_EQ(r.m_bShowAlbWizard, 0);
    EXPECT_EQ(r.m_nUndoBuffer, 1);
    EXPECT_EQ(r.m_strAlbumsDir, "/home/u/Albums/");
    EXPECT_EQ(r.m_strFooter, "Page &p");
    EXPECT_EQ(r.m_rcExtraMargins, CRect(1, 2, 3, 4));
    EXPECT_EQ(r.m_nPanelLeft, 100);
    EXPECT_EQ(r.m_nThumbnailSize, 3);
    EXPECT_EQ(r.m_nAlbumContactCols, 4);
    EXPECT_EQ(r.m_bUseWindowsStretch, 0);

    wnd.nShow = CMainWindowState::maximized;
    m_prefs.WritePreferences(m_store, s, wnd);
    EXPECT_EQ(m_store.GetProfileInt("View", "Icon", 9), 0);
    EXPECT_EQ(m_store.GetProfileInt("View", "Max", 9), 1);
}

class Import : public Prefs {
protected:
    bool Run(const std::string& legacyText) {
        CIniProfileStore legacy(true);
        legacy.ParseText(legacyText);
        return m_prefs.ImportLegacySettings(legacy, m_store);
    }
};

TEST_F(Import, VersionsCompareAsNumbers) {
    m_store.WriteProfileString("ZELK", "Version", "1.10");
    EXPECT_FALSE(Run("[ZELK]\nVersion=1.1\n[View]\nTool=0\n"));
    EXPECT_EQ(m_store.GetProfileInt("View", "Tool", 9), 9);
    EXPECT_TRUE(Run("[ZELK]\nVersion=1.2\n[View]\nTool=0\n"));
    EXPECT_EQ(m_store.GetProfileString("ZELK", "Version"), "1.2");
    EXPECT_EQ(m_store.GetProfileInt("View", "Tool", 9), 0);
    EXPECT_FALSE(Run("[ZELK]\nVersion=1.2\n")); // once per version
}

TEST_F(Import, CopiesWithImportDefaultsAndSetsTheContactLayout) {
    EXPECT_TRUE(Run("[ZELK]\nVersion=1.105\n[Print]\nAlbum Contact Cols=9\nAlbum Contact Rows=9\n"
                    "[Directory]\nAlbums=C:\\ALBUMS\\\n[Parcelgram]\nDownload Directory=" +
                    std::string(300, 'd') + "\n"));
    EXPECT_EQ(m_store.GetProfileString("ZELK", "Version"), "1.10"); // at most 4 characters
    EXPECT_EQ(m_store.GetProfileInt("Print", "Album Contact Cols", 0), 4);
    EXPECT_EQ(m_store.GetProfileInt("Print", "Album Contact Rows", 0), 5);
    EXPECT_EQ(m_store.GetProfileInt("Undo Redo", "Buffer", 9), 1);
    EXPECT_EQ(m_store.GetProfileInt("Paint Option", "Identity Palette", 9), 0);
    EXPECT_EQ(m_store.GetProfileInt("Paint Option", "Use Windows Stretch", 9), 0);
    EXPECT_EQ(m_store.GetProfileInt("Thumbnails", "Size", 9), 1);
    EXPECT_EQ(m_store.GetProfileString("Directory", "Albums"), "C:\\ALBUMS\\");
    EXPECT_EQ(m_store.GetProfileString("Parcelgram", "Download Directory").size(), 260u);
}

TEST_F(Import, RecentFilesAndPendingMoves) {
    for (int i = 1; i <= 8; ++i)
        m_store.WriteProfileString("Recent File List", "File" + std::to_string(i), "x");
    EXPECT_TRUE(Run("[ZELK]\nVersion=2\n[Recent File List]\nFile1=/a.alb\nFile2=/b.qln\nFile4=/d.alb\n"
                    "[Modify Album Path]\nCount=3\nAlb0=/o0, /n0\nAlb2=/o2, /n2\nAlb7=/o7, /n7\n"));
    EXPECT_EQ(m_store.GetProfileString("Recent File List", "File1"), "/a.alb");
    EXPECT_EQ(m_store.GetProfileString("Recent File List", "File2"), "/b.qln");
    EXPECT_FALSE(m_store.HasKey("Recent File List", "File3"));
    EXPECT_FALSE(m_store.HasKey("Recent File List", "File4")); // the copy stops at the first gap
    EXPECT_EQ(m_store.GetProfileInt("Modify Album Path", "Count", 0), 3);
    EXPECT_EQ(m_store.GetProfileString("Modify Album Path", "Alb0"), "/o0, /n0");
    EXPECT_FALSE(m_store.HasKey("Modify Album Path", "Alb1"));
    EXPECT_EQ(m_store.GetProfileString("Modify Album Path", "Alb2"), "/o2, /n2");
    EXPECT_FALSE(m_store.HasKey("Modify Album Path", "Alb7"));
}

TEST_F(Import, FilesWithoutAVersionOrThatAreNotProfilesImportNothing) {
    EXPECT_FALSE(Run("[View]\nTool=0\n"));
    EXPECT_FALSE(Run(std::string("\x00\x01\xFF garbage [ = ]\n", 17)));
    EXPECT_FALSE(m_store.HasKey("View", "Tool"));
    // A huge pending count in the file costs nothing.
    EXPECT_TRUE(Run("[ZELK]\nVersion=3\n[Modify Album Path]\nCount=2147483647\nAlb5=/a, /b\n"));
    EXPECT_EQ(m_store.GetProfileString("Modify Album Path", "Alb5"), "/a, /b");
}

} // namespace
