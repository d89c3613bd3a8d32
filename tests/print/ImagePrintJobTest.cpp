#include "PrintTestSupport.h"
#include "framework/UserPrompt.h"
#include "print/CImagePrintJob.h"
#include "print/CPrintInfo.h"

#include <gtest/gtest.h>

namespace {

struct CImageRun {
    std::unique_ptr<CImageDC> dc;
    std::unique_ptr<CDib> dib;
    CImagePrintSettings settings;
    std::unique_ptr<CImagePrintJob> job;
    CScriptedPrompt prompt;
    CUserPromptScope scope{&prompt};

    CImageRun(int nPageW, int nPageH, int nImgW, int nImgH) {
        dc = MakePrinter(nPageW, nPageH);
        dib = SolidDib(nImgW, nImgH, 10, 200, 30);
    }
    void Lay() {
        job = std::make_unique<CImagePrintJob>(settings, dib.get());
        job->Prepare(*dc);
        job->Layout(*dc);
    }
};

} // namespace

TEST(ImagePrintJob, FitAndFourBySix) {
    CImageRun run(2400, 3000, 4000, 3000); // 8 × 10 inch page
    run.Lay();
    EXPECT_EQ(run.job->GetNaturalSize(), CSize(4000, 3000));
    EXPECT_EQ(run.job->GetImageRect(), CRect(0, 600, 2400, 2400)); // fitted, centred
    EXPECT_EQ(run.job->PageCount(*run.dc), 1);

    run.settings.m_nLayout = kLayout4x6;
    run.Lay();
    EXPECT_EQ(run.job->GetImageRect().Size(), CSize(1600, 1200)); // shorter side 4 inches
    EXPECT_TRUE(run.prompt.m_shown.empty());
}

TEST(ImagePrintJob, CustomPositionKeptOnlyInsideTheSurface) {
    CImageRun run(2400, 3000, 600, 300);
    run.settings.m_nLayout = kLayoutCustom;
    run.settings.m_bCenter = 0;
    run.settings.m_rcImage = CRect(100, 200, 700, 500);
    run.Lay();
    EXPECT_EQ(run.job->GetImageRect(), CRect(100, 200, 700, 500));
    run.settings.m_rcImage = CRect(2000, 200, 2600, 500); // off the right edge
    run.Lay();
    EXPECT_EQ(run.job->GetImageRect(), CRect(900, 1350, 1500, 1650));
}

TEST(ImagePrintJob, MultiPageOutsidePosterReportsError1036) {
    CImageRun run(2400, 3000, 600, 300);
    run.settings.m_nLayout = kLayoutCustom;
    run.settings.m_rcImage = CRect(0, 0, 3000, 1500); // wider than the body, not taller
    run.Lay();
    EXPECT_EQ(run.job->PageCount(*run.dc), 2);
    ASSERT_EQ(run.prompt.m_shown.size(), 1u);
    EXPECT_EQ(run.prompt.m_shown[0].text, "Please report to QLN the occurance of printing error #123.");
    EXPECT_EQ(run.prompt.m_shown[0].nType, unsigned(MB_OK | MB_ICONEXCLAMATION));
}

TEST(ImagePrintJob, PosterTilesMeetExactly) {
    // Odd picture and poster sizes, odd page sizes, two resolutions.
    const int sizes[][4] = {{2401, 3001, 997, 1331}, {1001, 1503, 4001, 2999}, {777, 555, 13, 7}};
    for (const auto& s : sizes) {
        CImageRun run(s[0], s[1], s[2], s[3]);
        run.settings.m_nLayout = kLayoutPoster;
        run.settings.m_rcImage = CRect(0, 0, 3 * s[0] - 17, 2 * s[1] + 33); // 3 × 3 pages of body
        run.Lay();
        const CImagePrintJob& job = *run.job;
        const CSize body = job.GetBodySize();
        const CRect& rc = job.GetImageRect();
        ASSERT_EQ(job.GetPagesAcross(), 3);
        ASSERT_EQ(job.GetPagesDown(), 3);
        long long nArea = 0;
        for (int r = 0; r < 3; ++r)
            for (int c = 0; c < 3; ++c) {
                const auto& t = job.GetTiles()[r * 3 + c];
                ASSERT_FALSE(t.rcDest.IsRectEmpty());
                nArea += static_cast<long long>(t.rcDest.Width()) * t.rcDest.Height();
                CRect onSurface = t.rcDest;
                onSurface.OffsetRect(c * body.cx, r * body.cy);
                // Edges: the picture rectangle's outside, the page edges inside.
                EXPECT_EQ(onSurface.left, c == 0 ? rc.left : c * body.cx);
                EXPECT_EQ(onSurface.right, c == 2 ? rc.right : (c + 1) * body.cx);
                EXPECT_EQ(onSurface.top, r == 0 ? rc.top : r * body.cy);
                EXPECT_EQ(onSurface.bottom, r == 2 ? rc.bottom : (r + 1) * body.cy);
                // Sources: neighbours share edges, the outer ones the picture's.
                if (c > 0) {
                    EXPECT_EQ(t.rcSource.left, job.GetTiles()[r * 3 + c - 1].rcSource.right);
                }
                if (r > 0) {
                    EXPECT_EQ(t.rcSource.top, job.GetTiles()[(r - 1) * 3 + c].rcSource.bottom);
                }
                if (c == 0) {
                    EXPECT_EQ(t.rcSource.left, 0);
                }
                if (r == 0) {
                    EXPECT_EQ(t.rcSource.top, 0);
                }
                if (c == 2) {
                    EXPECT_EQ(t.rcSource.right, s[2]);
                }
                if (r == 2) {
                    EXPECT_EQ(t.rcSource.bottom, s[3]);
                }
            }
        EXPECT_EQ(nArea, static_cast<long long>(rc.Width()) * rc.Height());
    }
}

TEST(ImagePrintJob, PosterPagesHaveNoHeaderOrFooter) {
    CImageRun run(2400, 3000, 800, 600);
    run.settings.m_header.m_bShow = run.settings.m_footer.m_bShow = 1;
    run.settings.m_header.m_strText = "top";
    run.settings.m_footer.m_strText = "bottom";
    run.Lay();
    EXPECT_TRUE(run.job->HeaderPrinted());
    EXPECT_FALSE(run.job->GetHeaderRect().IsRectEmpty());
    EXPECT_LT(run.job->GetBodyRect().Height(), 3000);

    run.settings.m_nLayout = kLayoutPoster;
    run.settings.m_rcImage = CRect(0, 0, 4000, 3000);
    run.Lay();
    EXPECT_FALSE(run.job->HeaderPrinted());
    EXPECT_FALSE(run.job->FooterPrinted());
    EXPECT_EQ(run.job->GetBodyRect(), CRect(0, 0, 2400, 3000));
    CPrintInfo info;
    info.m_nCurPage = 2;
    run.job->PrintPage(*run.dc, info);
    EXPECT_TRUE(run.dc->m_texts.empty());
}

TEST(ImagePrintJob, PosterLimitedToNineByNine) {
    CImageRun run(300, 300, 100, 100);
    run.settings.m_nLayout = kLayoutPoster;
    run.settings.m_rcImage = CRect(0, 0, 5000, 5000);
    run.Lay();
    EXPECT_EQ(run.job->GetPagesAcross(), 9);
    EXPECT_EQ(run.job->GetPagesDown(), 9);
    EXPECT_EQ(run.job->GetImageRect().Size(), CSize(2700, 2700));
}

TEST(ImagePrintJob, RendersTileAndPreviewPageNumber) {
    CImageRun run(600, 900, 300, 200);
    run.settings.m_rcExtraMargins = CRect(30, 60, 0, 0);
    run.Lay();
    CPrintInfo info;
    run.job->PrintPage(*run.dc, info);
    // Fitted into 570 × 840 dots from (30, 60), centred vertically.
    const CRect dest = run.job->TileDeviceRect(run.job->GetTiles()[0]);
    EXPECT_EQ(dest, CRect(30, 60 + 230, 600, 60 + 230 + 380));
    EXPECT_EQ(run.dc->GetPixel(dest.left, dest.top), 0x0AC81Eu);
    EXPECT_EQ(run.dc->GetPixel(dest.right - 1, dest.bottom - 1), 0x0AC81Eu);
    EXPECT_EQ(run.dc->GetPixel(dest.left, dest.top - 1), 0xFFFFFFu);
    EXPECT_EQ(run.dc->GetPixel(dest.left - 1, dest.top), 0xFFFFFFu);

    run.settings.m_nLayout = kLayoutPoster;
    run.settings.m_rcImage = CRect(0, 0, 1140, 760);
    run.Lay();
    auto dc = MakePrinter(600, 900);
    CPrintInfo preview;
    preview.m_bPreview = true;
    preview.m_nCurPage = 2;
    run.job->PrintPage(*dc, preview);
    ASSERT_EQ(dc->m_texts.size(), 1u);
    EXPECT_EQ(dc->m_texts[0], "2");
}

TEST(ImagePrintJob, PosterMiniatureShowsPagesAndNumbers) {
    CImageRun run(300, 300, 100, 100);
    run.settings.m_nLayout = kLayoutPoster;
    run.settings.m_rcImage = CRect(0, 0, 600, 600);
    run.Lay();
    CImageDC face(108, 108);
    run.job->DrawMiniature(face, CRect(0, 0, 108, 108));
    EXPECT_EQ(face.m_texts, (std::vector<std::string>{"1", "2", "3", "4"}));
    EXPECT_EQ(face.GetPixel(54, 20), 0xDEDEDEu); // the line between the pages
    EXPECT_EQ(face.GetPixel(20, 20), 0x0AC81Eu); // the picture
}
