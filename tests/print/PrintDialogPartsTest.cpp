#include "PrintTestSupport.h"
#include "print/CImagePrintJob.h"
#include "print/MarginsTestPage.h"
#include "print/PrintStatusPanes.h"
#include "print/PrintUnits.h"

#include <gtest/gtest.h>

TEST(PrintStatusPanes, RangeMarginsAndHeaderFooter) {
    auto dc = MakePrinter(600, 900);
    auto dib = SolidDib(30, 20, 0, 0, 0);
    CImagePrintSettings settings;
    settings.m_rcExtraMargins = CRect(150, 0, 300, -300);
    settings.m_header.m_bShow = 1;
    CImagePrintJob job(settings, dib.get());
    job.Prepare(*dc);
    job.Layout(*dc);
    CPrintStatusPanes panes = MakePrintStatusPanes(job, 1, 3, CMeasureUnit(false));
    EXPECT_EQ(panes.strPageRange, "Page Range: 1 - 3");
    EXPECT_EQ(panes.strMargins, "Margins: L=0.5, T=0, R=1, B=-1");
    EXPECT_EQ(panes.strHeaderFooter, "Header: Yes; Footer: No");
    // Poster pages print neither, whatever the settings say.
    settings.m_nLayout = kLayoutPoster;
    settings.m_footer.m_bShow = 1;
    job.Layout(*dc);
    EXPECT_EQ(MakePrintStatusPanes(job, 1, 1, CMeasureUnit(true)).strHeaderFooter, "Header: No; Footer: No");
    EXPECT_EQ(MakePrintStatusPanes(job, 1, 1, CMeasureUnit(true)).strMargins,
              "Margins: L=1.27, T=0, R=2.54, B=-2.54");
}

TEST(MarginsTestPage, RectangleAlongTheMarginsAndCentredNote) {
    auto dc = MakePrinter(600, 900);
    DrawMarginsTestPage(*dc, CRect(30, 60, 0, 90));
    // The rectangle's edges, and nothing filled inside it.
    EXPECT_EQ(dc->GetPixel(30, 300), 0u);
    EXPECT_EQ(dc->GetPixel(599, 300), 0u);
    EXPECT_EQ(dc->GetPixel(300, 60), 0u);
    EXPECT_EQ(dc->GetPixel(300, 809), 0u);
    EXPECT_EQ(dc->GetPixel(29, 300), 0xFFFFFFu);
    EXPECT_EQ(dc->GetPixel(300, 810), 0xFFFFFFu);
    EXPECT_EQ(dc->GetPixel(300, 300), 0xFFFFFFu);
    ASSERT_EQ(dc->m_texts.size(), 1u);
    EXPECT_EQ(dc->m_texts[0].rfind("Pictavo Zozi Printer Margins Tester\n\nA rectangle", 0), 0u);
    // Inside the rectangle inset by 10 %, centred vertically.
    const CRect text = dc->m_textRects[0];
    EXPECT_GE(text.left, 30 + 57);
    EXPECT_NEAR((text.top + text.bottom) / 2, (60 + 810) / 2, 16);
}
