#include "view/core/CShowSetupData.h"

#include <gtest/gtest.h>

namespace {

CShowElemProps Elem(uint16_t nEffect, uint32_t dwDelay) {
    CShowElemProps e;
    e.m_nEffect = nEffect;
    e.m_dwDelay = dwDelay;
    return e;
}

// An album of three photos as the album document hands it to the dialog.
struct CAlbumSide {
    CShowProps props;
    std::vector<CShowElemProps> elems{Elem(1003, 2000), Elem(1007, 1500), Elem(1001, 0)};
    std::vector<CShowElemProps*> Pointers() { return {&elems[0], &elems[1], &elems[2]}; }
    CShowSetupData Dialog(int nCurrent) {
        CShowSetupData d(3, nCurrent);
        d.m_showProps = props;
        d.m_elems = elems;
        d.m_titles = {"Beach", "Harbour\r\nat night", ""};
        d.Init();
        return d;
    }
};

} // namespace

TEST(ShowSetupData, Lists) {
    EXPECT_EQ(CShowSetupData::GetEffectIds(),
              (std::vector<int>{1001, 1002, 1003, 1004, 1005, 1006, 1007, 1008}));
    EXPECT_EQ(CShowSetupData::GetEffectName(1008), "Wipe NW to SE");
    EXPECT_EQ(CShowSetupData::FindEffect(1006), 5);
    EXPECT_EQ(CShowSetupData::FindEffect(4242), -1);
    CAlbumSide album;
    CShowSetupData d = album.Dialog(0);
    EXPECT_EQ(d.GetPhotoLine(0), "  1: Beach");
    EXPECT_EQ(d.GetPhotoLine(1), "  2: Harbour");
    EXPECT_EQ(d.GetPhotoLine(2), "  3: ");
}

TEST(ShowSetupData, DelayField) {
    uint32_t n = 7;
    EXPECT_TRUE(CShowSetupData::ParseDelay("60000", n));
    EXPECT_EQ(n, 60000u);
    EXPECT_TRUE(CShowSetupData::ParseDelay(" 0 ", n));
    EXPECT_EQ(n, 0u);
    for (const char* bad : {"60001", "-1", "", "1.5", "99999999999999999999", "12a"})
        EXPECT_FALSE(CShowSetupData::ParseDelay(bad, n)) << bad;
}

TEST(ShowSetupData, ShowsAndStoresThePhotoOnDisplay) {
    CAlbumSide album;
    CShowSetupData d = album.Dialog(5); // clamped to the last photo
    EXPECT_EQ(d.m_nShown, 2);
    EXPECT_EQ(d.m_nEffectEntry, 0);
    d = album.Dialog(0);
    EXPECT_EQ(d.m_nShown, 0);
    EXPECT_EQ(d.m_nEffectEntry, 2); // Puzzle
    EXPECT_EQ(d.m_nDelaySeconds, 2u);
    d.m_nEffectEntry = 4;
    d.m_nDelaySeconds = 9;
    d.SelectPhoto(1);
    EXPECT_EQ(d.m_elems[0], Elem(1005, 9000));
    EXPECT_EQ(d.m_nDelaySeconds, 1u);
    // Leaving a photo whose delay is not whole seconds untouched keeps it.
    d.SelectPhoto(-1);
    EXPECT_EQ(d.m_elems[1], Elem(1007, 1500));
    EXPECT_EQ(d.m_nShown, -1);
}

TEST(ShowSetupData, ModifiedOnlyWhenSomethingDiffers) {
    CAlbumSide album;
    // Browsing and OK without a change.
    CShowSetupData d = album.Dialog(0);
    d.SelectPhoto(1);
    d.SelectPhoto(2);
    d.SelectPhoto(0);
    d.OnOK();
    auto ptrs = album.Pointers();
    EXPECT_FALSE(d.CopyBack(album.props, ptrs));

    // The shown photo's delay, stored by OK.
    d = album.Dialog(2);
    d.m_nDelaySeconds = 3;
    d.OnOK();
    EXPECT_TRUE(d.CopyBack(album.props, ptrs));
    EXPECT_EQ(album.elems[2].m_dwDelay, 3000u);

    // Titles index is enabled with titles only.
    d = album.Dialog(0);
    d.m_bTitles = false;
    EXPECT_FALSE(d.IsTitlesIndexEnabled());
}

TEST(ShowSetupData, ApplyToAllTheSameChangesNothing) {
    CAlbumSide album;
    for (CShowElemProps& e : album.elems) e = Elem(1007, 4000);
    CShowSetupData d = album.Dialog(1);
    d.ApplyToAll();
    d.OnOK();
    auto ptrs = album.Pointers();
    EXPECT_FALSE(d.CopyBack(album.props, ptrs));
}

TEST(ShowSetupData, UnknownEffectIsKept) {
    CAlbumSide album;
    album.elems[0] = Elem(4242, 1000);
    CShowSetupData d = album.Dialog(0);
    EXPECT_EQ(d.m_nEffectEntry, -1);
    d.m_nDelaySeconds = 2;
    d.OnOK();
    EXPECT_EQ(d.m_elems[0], Elem(4242, 2000));
}
