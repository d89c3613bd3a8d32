// The private-profile file form: reading hand-written and hostile files.

#include "framework/CIniProfileStore.h"

#include <gtest/gtest.h>

namespace {

TEST(IniProfileStore, ReadsAsTheOldPlatformReadProfileFiles) {
    CIniProfileStore ini(true);
    ini.ParseText("\xEF\xBB\xBF; comment\r\n[zelk]\r\n version = 1.10 \r\n[View]\nTool=0\nMax=\nLeft=-20\n"
                  "Hex=0x1F\nJunk=abc\nName=\"quoted value\"\nTool=1\nno equals sign\n");
    EXPECT_EQ(ini.GetProfileString("ZELK", "Version"),
              "1.10");                                  // names without regard to case, values trimmed
    EXPECT_EQ(ini.GetProfileInt("VIEW", "tool", 7), 0); // the first of two entries
    EXPECT_EQ(ini.GetProfileInt("View", "Max", 7), 7);  // empty: the default
    EXPECT_EQ(ini.GetProfileInt("View", "Left", 0), -20);
    EXPECT_EQ(ini.GetProfileInt("View", "Hex", 0), 31);
    EXPECT_EQ(ini.GetProfileInt("View", "Junk", 7), 0); // no digits: 0 as the old platform gives
    EXPECT_EQ(ini.GetProfileString("View", "Name"), "quoted value");
    EXPECT_EQ(ini.GetProfileString("View", "Absent", "dflt"), "dflt");
}

TEST(IniProfileStore, OwnStoreReadsGarbageIntegersAsDefault) {
    CIniProfileStore st;
    st.WriteProfileString("Thumbnails", "Size", "large");
    st.WriteProfileString("Slide Show Panel", "Left", "99999999999999");
    EXPECT_EQ(st.GetProfileInt("Thumbnails", "Size", 1), 1);
    EXPECT_EQ(st.GetProfileInt("Slide Show Panel", "Left", 0), 2147483647);
    st.WriteProfileString("Print", "Footer", "two\nlines");
    EXPECT_EQ(st.GetProfileString("Print", "Footer"), "two lines");
    st.DeleteProfileKey("print", "FOOTER");
    EXPECT_FALSE(st.HasKey("Print", "Footer"));
    st.DeleteProfileSection("PRINT");
    EXPECT_TRUE(st.Keys("Print").empty());
}

TEST(IniProfileStore, BinaryGarbageParsesToNothingHarmful) {
    std::string junk;
    for (int i = 0; i < 5000; ++i) junk += static_cast<char>((i * 7919) & 0xFF);
    CIniProfileStore ini(true);
    ini.ParseText(junk);
    EXPECT_EQ(ini.GetProfileString("ZELK", "Version"), "");
    EXPECT_FALSE(ini.LoadFile("/nonexistent/ZELK.INI"));
}

TEST(IniProfileStore, RoundTripThroughText) {
    CIniProfileStore a;
    a.WriteProfileInt("View", "Tool", 0);
    a.WriteProfileString("Directory", "Albums", "/home/u/albums/");
    CIniProfileStore b;
    b.ParseText(a.ToText());
    EXPECT_EQ(b.GetProfileInt("View", "Tool", 1), 0);
    EXPECT_EQ(b.GetProfileString("Directory", "Albums"), "/home/u/albums/");
}

} // namespace
