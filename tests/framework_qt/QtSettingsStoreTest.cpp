// The QSettings store keeps sections and keys with blanks, and copies out whole.

#include "framework/CException.h"
#include "framework/CIniProfileStore.h"
#include "framework/qt/CQtSettingsStore.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

namespace {

TEST(QtSettingsStore, SaveReportsAFailedWrite) {
    char tmpl[] = "/tmp/zozi-qset-XXXXXX";
    std::filesystem::path dir = ::mkdtemp(tmpl);
    const std::string good = (dir / "store.ini").string();
    {
        CQtSettingsStore st(good);
        st.WriteProfileInt("Thumbnails", "Size", 2);
        EXPECT_NO_THROW(st.Save());
    }
    EXPECT_EQ(CQtSettingsStore(good).GetProfileInt("Thumbnails", "Size", 1), 2);
    // A store whose folder is a file cannot be written, even by root.
    CQtSettingsStore st((dir / "store.ini" / "inner.ini").string());
    st.WriteProfileInt("Thumbnails", "Size", 3);
    try {
        st.Save();
        ADD_FAILURE() << "a store that could not be written was saved";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_strFileName, st.FileName());
    }
    std::filesystem::remove_all(dir);
}

TEST(QtSettingsStore, RoundTripAndCopy) {
    char tmpl[] = "/tmp/zozi-qset-XXXXXX";
    std::filesystem::path dir = ::mkdtemp(tmpl);
    const std::string path = (dir / "Pictavo Zozi.ini").string();
    {
        CQtSettingsStore st(path);
        st.WriteProfileInt("Slide Show Panel", "Left", -20);
        st.WriteProfileString("Modify Album Path", "Alb0", "/old/a, /new/a");
        st.WriteProfileString("Print", "Footer", "100% \"quoted\" ; text");
        st.WriteProfileString("Thumbnails", "Size", "big");
        st.Sync();
    }
    CQtSettingsStore st(path);
    EXPECT_EQ(st.GetProfileInt("Slide Show Panel", "Left", 0), -20);
    EXPECT_EQ(st.GetProfileString("Modify Album Path", "Alb0"), "/old/a, /new/a");
    EXPECT_EQ(st.GetProfileString("Print", "Footer"), "100% \"quoted\" ; text");
    EXPECT_EQ(st.GetProfileInt("Thumbnails", "Size", 1), 1); // garbage reads as the default
    EXPECT_EQ(st.GetProfileInt("View", "Tool", 7), 7);

    CIniProfileStore copy;
    st.CopyTo(copy);
    EXPECT_EQ(copy.GetProfileString("Modify Album Path", "Alb0"), "/old/a, /new/a");
    EXPECT_EQ(copy.GetProfileInt("Slide Show Panel", "Left", 0), -20);

    st.DeleteProfileSection("Modify Album Path");
    st.DeleteProfileKey("Print", "Footer");
    EXPECT_EQ(st.GetProfileString("Modify Album Path", "Alb0", "gone"), "gone");
    EXPECT_EQ(st.GetProfileString("Print", "Footer", "gone"), "gone");
    std::filesystem::remove_all(dir);
}

} // namespace
