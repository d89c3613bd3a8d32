#include "PrintTestSupport.h"
#include "print/CAlbumTextPrintJob.h"
#include "print/CAlbumThumbnailPrintJob.h"
#include "print/CPrintInfo.h"

#include <gtest/gtest.h>

#include <algorithm>

TEST(AlbumThumbnailPrintJob, FiveItemsOnTwoByTwo) {
    auto dc = MakePrinter(2400, 3000);
    CMemoryAlbum album(5);
    CAlbumPrintSettings settings;
    settings.m_nRows = settings.m_nColumns = 2;
    CAlbumThumbnailPrintJob job(settings, album);
    CPrintInfo info;
    job.BeginPrinting(*dc, info);
    EXPECT_EQ(job.PageCount(*dc), 2);
    EXPECT_EQ(info.m_nMaxPage, 2u);
    EXPECT_EQ(job.FirstItemOfPage(1, *dc), 4);
    info.m_nCurPage = 2;
    job.PrintPage(*dc, info);
    ASSERT_EQ(dc->m_calls.size(), 1u); // one picture, in the top-left cell
    const auto& call = dc->m_calls[0];
    const CRect cell = job.GetCell(0);
    EXPECT_TRUE(cell.PtInRect(CPoint(call.x, call.y)));
    EXPECT_TRUE(cell.PtInRect(CPoint(call.x + call.nWidth - 1, call.y + call.nHeight - 1)));
    ASSERT_EQ(dc->m_texts.size(), 1u);
    EXPECT_EQ(dc->m_texts[0], "5: Photo 5");
    EXPECT_EQ(album.m_nImageLoads, 1); // printing draws the full picture
}

TEST(AlbumThumbnailPrintJob, GridSplitsRemaindersAndInsetsCells) {
    auto dc = MakePrinter(1003, 707);
    CMemoryAlbum album(3);
    CAlbumPrintSettings settings;
    settings.m_nColumns = 3;
    settings.m_nRows = 2;
    CAlbumThumbnailPrintJob job(settings, album);
    job.Prepare(*dc);
    job.Layout(*dc);
    EXPECT_EQ(job.GetCellSize(), CSize(334, 353));
    EXPECT_EQ(job.GetCell(0), CRect(0, 0, 334, 353)); // remainders 1 and 1: halves 0
    EXPECT_EQ(job.GetCell(5), CRect(668, 353, 1002, 706));
    EXPECT_EQ(job.GetThumbRect(0), CRect(16, 16, 318, 337)); // 5 % of 334
}

TEST(AlbumThumbnailPrintJob, CaptionPointsFollowTheColumns) {
    // An 8-inch-wide body: 3 columns give 12 × 800 / 1200 = 8 points.
    auto dc = MakePrinter(2400, 600);
    CMemoryAlbum album(1);
    CAlbumPrintSettings settings;
    settings.m_nColumns = 3;
    CAlbumThumbnailPrintJob job(settings, album);
    job.Prepare(*dc);
    job.Layout(*dc);
    EXPECT_EQ(job.CaptionPoints(), 8);
    for (int nCols = 1; nCols <= kMaxAlbumGrid; ++nCols) {
        settings.m_nColumns = nCols;
        job.Layout(*dc);
        EXPECT_GE(job.CaptionPoints(), kMinCaptionPoints);
    }
    settings.m_nColumns = 12;
    job.Layout(*dc);
    EXPECT_EQ(job.CaptionPoints(), 4); // 2 by the rule, raised to the floor
}

TEST(AlbumThumbnailPrintJob, SelectionAndPreviewSource) {
    auto dc = MakePrinter(600, 600);
    CMemoryAlbum album(6);
    CAlbumPrintSettings settings;
    settings.m_bAllThumbnails = 0;
    settings.m_bShowIndex = 1;
    settings.m_bShowTitle = 0;
    settings.m_nColumns = 2;
    CAlbumThumbnailPrintJob job(settings, album, {4, 1, 99});
    CPrintInfo info;
    info.m_bPreview = true;
    job.BeginPrinting(*dc, info);
    EXPECT_EQ(job.ItemCount(), 2);
    job.PrintPage(*dc, info);
    EXPECT_EQ(album.m_nThumbLoads, 2);
    EXPECT_EQ(album.m_nImageLoads, 0);
    ASSERT_EQ(dc->m_texts.size(), 2u);
    EXPECT_EQ(dc->m_texts[0], "5");
    EXPECT_EQ(dc->m_texts[1], "2");

    CAlbumThumbnailPrintJob full(settings, album, {4}, 1);
    full.BeginPrinting(*dc, info);
    full.PrintPage(*dc, info);
    EXPECT_EQ(album.m_nImageLoads, 1);
}

TEST(AlbumThumbnailPrintJob, RenderedFrameAndCaption) {
    auto dc = MakePrinter(600, 600);
    CMemoryAlbum album(1);
    album.m_items[0].w = 40;
    album.m_items[0].h = 20;
    CAlbumPrintSettings settings;
    CAlbumThumbnailPrintJob job(settings, album);
    CPrintInfo info;
    info.m_bPreview = true;
    job.BeginPrinting(*dc, info);
    job.PrintPage(*dc, info);
    const CRect thumb = job.GetThumbRect(0);
    EXPECT_EQ(thumb, CRect(30, 30, 570, 570));
    // Caption: 12 × 600 / 300 = 24 points, 100 dots high on the base cells.
    ASSERT_EQ(dc->m_textRects.size(), 1u);
    const CRect cap = dc->m_textRects[0];
    EXPECT_EQ(cap.bottom, thumb.bottom);
    EXPECT_EQ(cap.Height(), 100);
    EXPECT_EQ(cap.left - thumb.left, thumb.right - cap.right); // centred
    // Picture: 540 × 440 area above the caption, 2:1 → 540 × 270, centred.
    const CRect pic(30, 30 + 85, 570, 30 + 85 + 270);
    EXPECT_EQ(dc->GetPixel(pic.left, pic.top), 0x0000FFu);
    EXPECT_EQ(dc->GetPixel(pic.right - 1, pic.bottom - 1), 0x0000FFu);
    // One-pixel black frame just outside the picture.
    EXPECT_EQ(dc->GetPixel(pic.left - 1, pic.top - 1), 0u);
    EXPECT_EQ(dc->GetPixel(pic.right, pic.bottom), 0u);
    EXPECT_EQ(dc->GetPixel(pic.left + 100, pic.top - 1), 0u);
    EXPECT_EQ(dc->GetPixel(pic.left + 100, pic.top - 2), 0xFFFFFFu);
}

TEST(AlbumTextPrintJob, TallItemPrintsAloneOnItsPage) {
    // Body 300 dots high; 12 points at 300 dpi = 50-dot lines, 75-dot gaps.
    auto dc = MakePrinter(600, 300);
    CMemoryAlbum album(4);
    album.m_items[1].description = std::string(20 * 40, 'x').insert(0, "a ").replace(100, 1, " ");
    for (int i = 300; i < 800; i += 20) album.m_items[1].description[i] = ' ';
    CAlbumPrintSettings settings;
    settings.m_bTextMode = 1;
    settings.m_bShowDescription = 1;
    CAlbumTextPrintJob job(settings, album);
    job.Prepare(*dc);
    job.Layout(*dc);
    EXPECT_EQ(job.GetLineHeight(), 50);
    EXPECT_EQ(job.GetGap(), 75);
    EXPECT_EQ(job.ItemText(0), "1: Photo 1\n");
    EXPECT_EQ(job.ItemHeight(0), 100);
    EXPECT_GT(job.ItemHeight(1), 300);
    ASSERT_EQ(job.PageCount(*dc), 3);
    EXPECT_EQ(job.FirstItemOfPage(0, *dc), 0);
    EXPECT_EQ(job.FirstItemOfPage(1, *dc), 1);
    EXPECT_EQ(job.FirstItemOfPage(2, *dc), 2);

    CPrintInfo info;
    info.m_nCurPage = 2;
    job.PrintPage(*dc, info);
    ASSERT_EQ(dc->m_texts.size(), 1u);
    EXPECT_EQ(dc->m_texts[0].substr(0, 10), "2: Photo 2");
    EXPECT_TRUE(info.m_bContinuePrinting);
    info.m_nCurPage = 3;
    job.PrintPage(*dc, info);
    EXPECT_EQ(dc->m_texts.size(), 3u); // items 3 and 4 share the last page
    EXPECT_FALSE(info.m_bContinuePrinting);
}

TEST(PrintMiniature, SheetCellsAndFrames) {
    auto printer = MakePrinter(2400, 3000);
    CMemoryAlbum album(3);
    CAlbumPrintSettings settings;
    settings.m_nRows = settings.m_nColumns = 2;
    CAlbumThumbnailPrintJob job(settings, album);
    job.Prepare(*printer);
    job.Layout(*printer);
    CImageDC face(108, 133);
    job.DrawMiniature(face, CRect(0, 0, 108, 133));
    // Face grey; the sheet 100 × 125 (4:5) in it at (4, 4), framed in black.
    EXPECT_EQ(face.GetPixel(1, 1), 0xC0C0C0u);
    EXPECT_EQ(face.GetPixel(2, 64), 0xC0C0C0u);
    EXPECT_EQ(face.GetPixel(3, 64), 0u);
    EXPECT_EQ(face.GetPixel(104, 64), 0u);
    EXPECT_EQ(face.GetPixel(50, 129), 0u);
    // Cells of 50 × 62 framed in grey.
    EXPECT_EQ(face.GetPixel(4, 30), 0x808080u);
    EXPECT_EQ(face.GetPixel(53, 30), 0x808080u);
    EXPECT_EQ(face.GetPixel(54, 30), 0x808080u);
    EXPECT_EQ(face.GetPixel(30, 30), 0xFFFFFFu);
    EXPECT_EQ(std::count(face.m_texts.begin(), face.m_texts.end(), "Title"), 4);
}

TEST(PrintMiniature, ListingShowsSampleEntries) {
    auto printer = MakePrinter(2400, 3000);
    CMemoryAlbum album(3);
    CAlbumPrintSettings settings;
    CAlbumTextPrintJob job(settings, album);
    job.Prepare(*printer);
    job.Layout(*printer);
    CImageDC face(108, 128);
    job.DrawMiniature(face, CRect(0, 0, 108, 128));
    ASSERT_GE(face.m_texts.size(), 2u);
    EXPECT_EQ(face.m_texts[0], "Title");
    EXPECT_EQ(face.m_texts[1], "Description...");
}
