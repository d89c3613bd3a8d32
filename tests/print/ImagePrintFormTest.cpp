#include "PrintTestSupport.h"
#include "framework/UserPrompt.h"
#include "print/CImagePrintForm.h"

#include <gtest/gtest.h>

namespace {

// A 600 × 400 picture at 300 dpi (2 × 1.33 inches) on a 3 × 4 inch body.
struct CFormRun {
    std::unique_ptr<CImageDC> dc = MakePrinter(900, 1200);
    std::unique_ptr<CDib> dib = SolidDib(600, 400, 1, 2, 3);
    CImagePrintSettings settings;
    CScriptedPrompt prompt;
    CUserPromptScope scope{&prompt};

    CImagePrintForm Open(int nLayout, CRect rc = CRect(0, 0, 600, 400)) {
        settings.m_nLayout = nLayout;
        settings.m_rcImage = rc;
        CImagePrintJob job(settings, dib.get());
        job.Prepare(*dc);
        job.Layout(*dc);
        return CImagePrintForm(job, CMeasureUnit(false));
    }
};

} // namespace

TEST(ImagePrintForm, EnableRulesAndOpeningValues) {
    CFormRun run;
    CImagePrintForm fit = run.Open(kLayoutFit);
    EXPECT_FALSE(fit.SizeEnabled());
    EXPECT_FALSE(fit.PagesEnabled());
    EXPECT_FALSE(fit.PositionEnabled()); // centred
    EXPECT_EQ(fit.WidthText(), "3");
    EXPECT_EQ(fit.Percent(), 150);
    CImagePrintForm poster = run.Open(kLayoutPoster, CRect(0, 0, 1500, 1000));
    EXPECT_TRUE(poster.SizeEnabled());
    EXPECT_TRUE(poster.PagesEnabled());
    EXPECT_EQ(poster.PagesAcross(), 2);
    EXPECT_EQ(poster.PagesDown(), 1);
    EXPECT_EQ(poster.MaxSurface(), CSize(8100, 10800));
}

TEST(ImagePrintForm, SizeFollowsTheAspectAndStaysOnTheSurface) {
    CFormRun run;
    CImagePrintForm form = run.Open(kLayoutCustom);
    std::string err;
    ASSERT_TRUE(form.EnterWidth("1.5", err));
    EXPECT_EQ(form.Rect().Size(), CSize(450, 300));
    ASSERT_TRUE(form.EnterHeight("2", err));
    EXPECT_EQ(form.Rect().Size(), CSize(900, 600));
    EXPECT_FALSE(form.EnterWidth("3.01", err)); // beyond one body
    EXPECT_EQ(err, "Please enter a number between 0 and 3.");
    EXPECT_EQ(form.Rect().Size(), CSize(900, 600)); // unchanged
    ASSERT_TRUE(form.EnterPercent("50", err));
    EXPECT_EQ(form.Rect().Size(), CSize(300, 200));
    EXPECT_FALSE(form.EnterPercent("151", err));
    EXPECT_EQ(err, "Please enter a number between 1 and 150.");
    form.SetCenter(false);
    ASSERT_TRUE(form.EnterLeft("2", err));
    EXPECT_EQ(form.Rect().left, 600);
    EXPECT_FALSE(form.EnterLeft("2.5", err)); // 750 + 300 > 900
    EXPECT_FALSE(form.EnterTop("-0.1", err));
    form.Store(run.settings);
    EXPECT_EQ(run.settings.m_rcImage, CRect(600, 0, 900, 200));
    EXPECT_EQ(run.settings.m_bCenter, 0);
}

TEST(ImagePrintForm, PosterPagesUpToNineByNine) {
    CFormRun run;
    CImagePrintForm form = run.Open(kLayoutPoster);
    std::string err;
    ASSERT_TRUE(form.EnterPagesAcross("9", err));
    EXPECT_EQ(form.Rect().Size(), CSize(8100, 5400));
    EXPECT_EQ(form.PagesAcross(), 9);
    EXPECT_FALSE(form.EnterPagesAcross("10", err));
    EXPECT_EQ(err, "Please enter a number between 1 and 9.");
    // Down: 5 bodies high would need 9 000 wide; 4 pages is the most.
    EXPECT_FALSE(form.EnterPagesDown("5", err));
    EXPECT_EQ(err, "Please enter a number between 1 and 4.");
    ASSERT_TRUE(form.EnterPagesDown("4", err));
    EXPECT_EQ(form.PagesDown(), 4);
    // Back to one page: the size shrinks into the body.
    form.SetLayout(kLayoutCustom);
    EXPECT_LE(form.Rect().Width(), 900);
    EXPECT_LE(form.Rect().Height(), 1200);
}
