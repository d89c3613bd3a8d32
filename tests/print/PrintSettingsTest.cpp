#include "framework/CIniProfileStore.h"
#include "print/CAlbumPrintSettings.h"
#include "print/CImagePrintSettings.h"
#include "print/PrintUnits.h"

#include <gtest/gtest.h>

TEST(PrintUnits, MulDivRoundsHalvesAwayFromZero) {
    EXPECT_EQ(MulDiv(1, 3, 2), 2);
    EXPECT_EQ(MulDiv(-1, 3, 2), -2);
    EXPECT_EQ(MulDiv(100, 600, 300), 200);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(PrintToDevice(300, 96), 96);
    EXPECT_EQ(DeviceToPrint(4000, 600), 2000);
}

TEST(PrintUnits, DisplayStripsTrailingZeros) {
    CMeasureUnit inch(false), cm(true);
    EXPECT_EQ(inch.Format(300), "1");
    EXPECT_EQ(inch.Format(150), "0.5");
    EXPECT_EQ(inch.Format(-300), "-1");
    EXPECT_EQ(inch.Format(0), "0");
    EXPECT_EQ(inch.Format(100), "0.33");
    EXPECT_EQ(cm.Format(300), "2.54");
    EXPECT_EQ(inch.Label(), "In.");
    EXPECT_EQ(cm.Label(), "Cm.");
    int v = 0;
    EXPECT_TRUE(cm.Parse("2.54", v));
    EXPECT_EQ(v, 300);
    EXPECT_FALSE(inch.Parse("1,5", v));
    EXPECT_FALSE(inch.Parse("", v));
    EXPECT_FALSE(inch.Parse(std::string(100, '1'), v));
}

TEST(PrintUnits, ExtraMarginRangeIsOneInchEitherWay) {
    CMeasureUnit inch(false), cm(true);
    int v = 0;
    std::string err;
    EXPECT_TRUE(ValidateLength(inch, "1.00", kMinExtraMargin, kMaxExtraMargin, v, err));
    EXPECT_EQ(v, 300);
    EXPECT_TRUE(ValidateLength(inch, "-1.00", kMinExtraMargin, kMaxExtraMargin, v, err));
    EXPECT_EQ(v, -300);
    v = 7;
    EXPECT_FALSE(ValidateLength(inch, "1.01", kMinExtraMargin, kMaxExtraMargin, v, err));
    EXPECT_EQ(v, 7); // the previous value stays
    EXPECT_EQ(err, "Please enter a number between -1 and 1.");
    EXPECT_FALSE(ValidateLength(cm, "2.6", kMinExtraMargin, kMaxExtraMargin, v, err));
    EXPECT_EQ(err, "Please enter a number between -2.54 and 2.54.");
    EXPECT_FALSE(ValidateLength(inch, "abc", kMinExtraMargin, kMaxExtraMargin, v, err));
}

TEST(PrintUnits, GridOfTwelveIsTheLargest) {
    int v = 0;
    std::string err;
    EXPECT_TRUE(ValidateInteger("12", 1, kMaxAlbumGrid, v, err));
    EXPECT_EQ(v, 12);
    EXPECT_FALSE(ValidateInteger("13", 1, kMaxAlbumGrid, v, err));
    EXPECT_EQ(err, "Please enter a number between 1 and 12.");
    EXPECT_FALSE(ValidateInteger("0", 1, kMaxAlbumGrid, v, err));
    EXPECT_FALSE(ValidateInteger("2.5", 1, kMaxAlbumGrid, v, err));
}

TEST(PrintSettings, DefaultsAndRoundTripThroughTheStore) {
    CIniProfileStore store;
    CAlbumPrintSettings album;
    album.Load(store);
    EXPECT_EQ(album.m_nColumns, 1);
    EXPECT_EQ(album.m_nRows, 1);
    EXPECT_EQ(album.m_bAllThumbnails, 1);
    EXPECT_EQ(album.m_bTextMode, 0);
    EXPECT_EQ(album.m_header.m_bShow, 0);
    EXPECT_EQ(album.m_header.m_logFont.lfHeight, -12);
    EXPECT_STREQ(album.m_header.m_logFont.lfFaceName, "Arial");
    EXPECT_EQ(album.m_header.m_nFormat, unsigned(DT_CENTER | DT_VCENTER));
    EXPECT_EQ(album.m_caption.m_nFormat, unsigned(DT_CENTER));
    EXPECT_EQ(album.m_rcExtraMargins, CRect());

    album.m_nColumns = 4;
    album.m_nRows = 5;
    album.m_header.m_strText = "Holidays";
    album.m_header.m_bShow = 1;
    album.m_rcExtraMargins = CRect(-300, 10, 300, 0);
    album.Save(store);
    EXPECT_EQ(store.GetProfileString("Print", "Extra Margins"), "-000300 0000010 0000300 0000000");

    CAlbumPrintSettings album2;
    album2.Load(store);
    EXPECT_EQ(album2.m_nColumns, 4);
    EXPECT_EQ(album2.m_nRows, 5);
    EXPECT_EQ(album2.m_header.m_strText, "Holidays");
    EXPECT_EQ(album2.m_header.m_bShow, 1);
    EXPECT_EQ(album2.m_rcExtraMargins, CRect(-300, 10, 300, 0));
    CImagePrintSettings image;
    image.m_rcImage = CRect(10, 20, 610, 920);
    image.m_nLayout = kLayoutPoster;
    image.m_bCenter = 0;
    image.Save(store); // the shared keys too: the header goes

    CImagePrintSettings image2;
    image2.Load(store);
    EXPECT_EQ(image2.m_rcImage, CRect(10, 20, 610, 920));
    EXPECT_EQ(image2.m_nLayout, kLayoutPoster);
    EXPECT_EQ(image2.m_bCenter, 0);
    EXPECT_EQ(image2.m_header.m_strText, "");
}

TEST(PrintSettings, HandEditedValuesAreKeptInRange) {
    CIniProfileStore store;
    store.WriteProfileInt("Print", "Album Contact Cols", 0);
    store.WriteProfileInt("Print", "Album Contact Rows", 40);
    store.WriteProfileString("Print", "Extra Margins", "9999999 x");
    store.WriteProfileInt("Print", "Image Layout", 9);
    CAlbumPrintSettings album;
    album.Load(store);
    EXPECT_EQ(album.m_nColumns, 1);
    EXPECT_EQ(album.m_nRows, 12);
    EXPECT_EQ(album.m_rcExtraMargins, CRect(300, 0, 0, 0));
    CImagePrintSettings image;
    image.Load(store);
    EXPECT_EQ(image.m_nLayout, kLayoutFit);
    EXPECT_EQ(CPrintSettings::ParseRect("0000012 0000034"), CRect(12, 34, 0, 0));
}
