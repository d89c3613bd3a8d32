// Command routing and the recent-file list.

#include "framework/CCmdTarget.h"
#include "framework/CIniProfileStore.h"
#include "framework/CRecentFileList.h"

#include <gtest/gtest.h>

namespace {

TEST(CommandRouting, FirstOwnerAlongTheRouteHandlesIt) {
    CCmdTarget view, doc, frame;
    std::string log;
    doc.OnCommand(1, [&] { log += "doc1 "; });
    frame.OnCommand(1, [&] { log += "frame1 "; });
    frame.OnCommand(
        2, [&] { log += "frame2 "; }, [](CCmdUI& ui) { ui.SetCheck(1); });
    EXPECT_TRUE(CCmdTarget::Route({&view, &doc, &frame}, 1, nullptr));
    EXPECT_TRUE(CCmdTarget::Route({nullptr, &doc, &frame}, 2, nullptr));
    EXPECT_FALSE(CCmdTarget::Route({&view, &doc, &frame}, 3, nullptr));
    EXPECT_EQ(log, "doc1 frame2 ");

    CCmdUI ui(2);
    EXPECT_TRUE(CCmdTarget::Route({&view, &doc, &frame}, 2, &ui));
    EXPECT_TRUE(ui.m_bEnabled);
    EXPECT_EQ(ui.m_nCheck, 1);

    // An update rule alone (no handler) decides the state and runs nothing.
    view.OnCommand(4, {}, [](CCmdUI& u) { u.Enable(false); });
    CCmdUI ui4(4);
    EXPECT_TRUE(CCmdTarget::Route({&view}, 4, &ui4));
    EXPECT_FALSE(ui4.m_bEnabled);
    EXPECT_FALSE(CCmdTarget::Route({&view}, 4, nullptr));
}

TEST(RecentFileList, NewestFirstEightAtMostAndStored) {
    CRecentFileList mru;
    for (int i = 1; i <= 10; ++i) mru.Add("/p/" + std::to_string(i) + ".alb");
    mru.Add("/p/5.alb"); // moves up, not repeated
    ASSERT_EQ(mru.Files().size(), 8u);
    EXPECT_EQ(mru.Files()[0], "/p/5.alb");
    EXPECT_EQ(mru.Files()[1], "/p/10.alb");
    EXPECT_EQ(mru.Files()[7], "/p/3.alb");

    CIniProfileStore st;
    st.WriteProfileString("Recent File List", "File8", "stale");
    mru.Remove(7);
    mru.WriteList(st);
    EXPECT_EQ(st.GetProfileString("Recent File List", "File1"), "/p/5.alb");
    EXPECT_FALSE(st.HasKey("Recent File List", "File8"));
    CRecentFileList back;
    back.ReadList(st);
    EXPECT_EQ(back.Files(), mru.Files());
}

TEST(RecentFileList, NamesShortenedToThirtyCharacters) {
    EXPECT_EQ(CRecentFileList::AbbreviateName("/home/u/a.alb"), "/home/u/a.alb");
    std::string s = CRecentFileList::AbbreviateName("/home/someone/Pictures/Albums/Holiday/Garden.alb");
    EXPECT_LE(s.size(), 30u);
    EXPECT_EQ(s, "/.../Albums/Holiday/Garden.alb");
    EXPECT_EQ(CRecentFileList::AbbreviateName("/x/" + std::string(40, 'n') + ".qln"),
              std::string(40, 'n') + ".qln");
    CRecentFileList mru;
    mru.Add("/tmp/R&D.alb");
    EXPECT_EQ(mru.MenuText(0), "&1 /tmp/R&&D.alb");
}

} // namespace
