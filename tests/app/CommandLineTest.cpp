// The command line: documents, switches and their errors.

#include "app/core/CCommandLine.h"
#include "app/core/COptions.h"

#include <gtest/gtest.h>

#include <set>

namespace {

CCommandLine Parse(const std::string& line, bool bExists = false) {
    return CCommandLine::Parse(line, [bExists](const std::string&) { return bExists; });
}

TEST(CommandLine, DocumentsAndSwitches) {
    EXPECT_EQ(Parse("").m_nKind, CCommandLine::kEmpty);

    // A plain path whose second character is 'a' or 'A' is a document, not switch A.
    CCommandLine r = Parse("Garden.alb");
    EXPECT_EQ(r.m_nKind, CCommandLine::kOpenDocument);
    EXPECT_EQ(r.m_strPath, "Garden.alb");
    EXPECT_EQ(Parse("\"A:\\ROLL.QLN\"").m_nKind, CCommandLine::kOpenDocument);

    r = Parse("/f album.alb");
    EXPECT_EQ(r.m_nKind, CCommandLine::kShowAlbum);
    EXPECT_EQ(r.m_strPath, "album.alb");
    EXPECT_EQ(Parse("-F my album.alb").m_strPath, "my album.alb");

    EXPECT_EQ(Parse("/E").m_nKind, CCommandLine::kEdit);
    EXPECT_EQ(Parse("-e").m_nKind, CCommandLine::kEdit);

    r = Parse("/Aone.rsp  two.rsp");
    EXPECT_EQ(r.m_nKind, CCommandLine::kAutoAlbum);
    EXPECT_EQ(r.m_responseFiles, (std::vector<std::string>{"one.rsp", "two.rsp"}));
    EXPECT_TRUE(Parse("-a").m_responseFiles.empty());
}

TEST(CommandLine, SwitchErrorsCarryTheWholeLine) {
    for (const char* bad : {"/Falbum.alb", "/F  album.alb", "/F", "/F "}) {
        CCommandLine r = Parse(bad);
        EXPECT_EQ(r.m_nKind, CCommandLine::kError) << bad;
        EXPECT_EQ(r.m_nErrorId, 1081) << bad;
        EXPECT_EQ(r.m_strMessage,
                  "The album specified in the command line was not found.\n\n<" + std::string(bad) + ">");
    }
    CCommandLine q = Parse("/Q");
    EXPECT_EQ(q.m_nErrorId, 1080);
    EXPECT_EQ(q.m_strMessage, "Invalid command line.\n\n</Q>");
    EXPECT_EQ(Parse("/").m_nErrorId, 1080);
    EXPECT_EQ(Parse("-9 x").m_nErrorId, 1080);
}

TEST(CommandLine, AbsolutePathsThatExistAreDocuments) {
    // On this platform an absolute path begins with '/'.
    CCommandLine r = Parse("/home/u/pics/Sunset.qln", true);
    EXPECT_EQ(r.m_nKind, CCommandLine::kOpenDocument);
    EXPECT_EQ(r.m_strPath, "/home/u/pics/Sunset.qln");
    EXPECT_EQ(Parse("/Srv/photos/a.alb", true).m_nKind, CCommandLine::kOpenDocument);
}

TEST(CommandLine, MissingAbsolutePathsAreDocumentsNotSwitches) {
    // Each of these once fell to the switch rules by its second letter.
    for (const char* path : {"/home/u/missing.qln", "/srv/photos/a.alb", "/etc/x.qln", "/e/x.qln",
                             "/home/u/My Pictures/b.qln", "/S/x.qln"}) {
        CCommandLine r = Parse(path, false);
        EXPECT_EQ(r.m_nKind, CCommandLine::kOpenDocument) << path;
        EXPECT_EQ(r.m_strPath, path);
    }
    // The switch forms keep their meaning.
    EXPECT_EQ(Parse("/E").m_nKind, CCommandLine::kEdit);
    EXPECT_EQ(Parse("/e x").m_nKind, CCommandLine::kEdit);
    EXPECT_EQ(Parse("/s 1 0 1 /home/u/show.alb").m_nKind, CCommandLine::kScreenSaver);
    EXPECT_EQ(Parse("/srv").m_nErrorId, CCommandLine::kSilent); // no second '/': switch S
    CCommandLine a = Parse("/A/home/u/one.rsp /home/u/two.rsp");
    EXPECT_EQ(a.m_nKind, CCommandLine::kAutoAlbum);
    EXPECT_EQ(a.m_responseFiles, (std::vector<std::string>{"/home/u/one.rsp", "/home/u/two.rsp"}));
    EXPECT_EQ(Parse("/F /home/u/show.alb").m_strPath, "/home/u/show.alb");
    EXPECT_EQ(Parse("/F/home/u/show.alb").m_nErrorId, 1081);
    // A second '/' after the first word does not make a path; '-' never starts one.
    EXPECT_EQ(Parse("/Q x/y").m_nErrorId, 1080);
    EXPECT_EQ(Parse("-home/u/x.qln").m_nErrorId, 1080);
    EXPECT_EQ(Parse("/x").m_nErrorId, 1080);
}

TEST(CommandLine, SeveralArgumentsThatAreEachAFile) {
    std::set<std::string> files = {"/p/a.qln", "/p/b.qln", "/p/My Photo.qln"};
    auto exists = [&](const std::string& p) { return files.count(p) > 0; };
    CCommandLine r = CCommandLine::Parse(std::vector<std::string>{"/p/a.qln", "/p/b.qln"}, exists);
    EXPECT_EQ(r.m_nKind, CCommandLine::kOpenDocuments);
    EXPECT_EQ(r.m_documents, (std::vector<std::string>{"/p/a.qln", "/p/b.qln"}));
    EXPECT_EQ(r.m_strLine, "/p/a.qln /p/b.qln");
    // The joined line naming a file wins: a name with a blank split by the shell.
    r = CCommandLine::Parse(std::vector<std::string>{"/p/My", "Photo.qln"}, exists);
    EXPECT_EQ(r.m_nKind, CCommandLine::kOpenDocument);
    EXPECT_EQ(r.m_strPath, "/p/My Photo.qln");
    // One argument missing: the joined line as before.
    r = CCommandLine::Parse(std::vector<std::string>{"/p/a.qln", "/p/gone.qln"}, exists);
    EXPECT_EQ(r.m_nKind, CCommandLine::kOpenDocument);
    EXPECT_EQ(r.m_strPath, "/p/a.qln /p/gone.qln");
    // Switches are never taken apart.
    r = CCommandLine::Parse(std::vector<std::string>{"/F", "album.alb"}, exists);
    EXPECT_EQ(r.m_nKind, CCommandLine::kShowAlbum);
    EXPECT_EQ(CCommandLine::Parse(std::vector<std::string>{"/p/a.qln"}, exists).m_nKind,
              CCommandLine::kOpenDocument);
    EXPECT_EQ(CCommandLine::Parse(std::vector<std::string>{}, exists).m_nKind, CCommandLine::kEmpty);
}

TEST(CommandLine, ScreenSaverForm) {
    CCommandLine r = Parse("/s 1 0 1 /home/u/show.alb");
    EXPECT_EQ(r.m_nKind, CCommandLine::kScreenSaver);
    EXPECT_EQ(r.m_strPath, "/home/u/show.alb");
    EXPECT_EQ(r.m_nTitlesIndex, 1);
    EXPECT_EQ(r.m_nRandomOrder, 0);
    EXPECT_EQ(r.m_nTitles, 1);
    // Shorter than ten characters: no album path, the start ends silently.
    CCommandLine shortLine = Parse("/S 1 0 1");
    EXPECT_EQ(shortLine.m_nKind, CCommandLine::kError);
    EXPECT_EQ(shortLine.m_nErrorId, CCommandLine::kSilent);
    EXPECT_EQ(Parse("-S x y z ").m_nTitlesIndex, -1);
}

TEST(CommandLine, JoinedArguments) {
    EXPECT_EQ(CCommandLine::Join({"/F", "album.alb"}), "/F album.alb");
    EXPECT_EQ(CCommandLine::Join({}), "");
}

TEST(Options, OkRules) {
    CZelSettings s;
    s.m_nUndoBuffer = 1;
    s.m_bIdentityPalette = 1;
    COptions o = COptions::FromSettings(s);
    o.m_strAlbumsDir = "/albums/";
    o.m_nThumbnailSize = 3;

    COptionsEffects fx = ApplyOptions(o, s, true);
    EXPECT_FALSE(fx.bInitUndo);
    EXPECT_FALSE(fx.bShowReopenMessage);
    EXPECT_EQ(s.m_strAlbumsDir, "/albums/");
    EXPECT_EQ(s.m_nThumbnailSize, 3);

    o.m_nUndoBuffer = 0;
    o.m_bIdentityPalette = 0;
    fx = ApplyOptions(o, s, true);
    EXPECT_TRUE(fx.bReleaseUndo); // it was on
    EXPECT_TRUE(fx.bInitUndo);
    EXPECT_TRUE(fx.bShowReopenMessage);
    EXPECT_EQ(s.m_nUndoBuffer, 0);

    o.m_nUndoBuffer = 1;
    o.m_bIdentityPalette = 1;
    fx = ApplyOptions(o, s, false); // no document open: no message
    EXPECT_FALSE(fx.bReleaseUndo);
    EXPECT_TRUE(fx.bInitUndo);
    EXPECT_FALSE(fx.bShowReopenMessage);
    EXPECT_EQ(s.m_bIdentityPalette, 1);
}

} // namespace
