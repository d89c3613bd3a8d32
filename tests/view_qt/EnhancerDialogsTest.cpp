// The enhancer's argument dialogs driven through their controls: defaults,
// ranges, the values they give (run through the operation table and compared
// with the same call made from command-line words), and the shared preview.

#include "view/dialogs/EnhancerDialogs.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"
#include "imaging/CTRGBHist.h"
#include "imaging/ops/COperationTable.h"
#include "view/COperationDialogs.h"
#include "view/dialogs/CAdaptiveColorsDlg.h"
#include "view/dialogs/CBrightnessContrastDlg.h"
#include "view/dialogs/CCropMarginsDlg.h"
#include "view/dialogs/CGaussianDlg.h"
#include "view/dialogs/CHistogramDlg.h"
#include "view/dialogs/CHueSaturationDlg.h"
#include "view/dialogs/CNegativeDlg.h"
#include "view/dialogs/CPosterizeDlg.h"
#include "view/dialogs/CRotateDlg.h"
#include "view/dialogs/CScaleDlg.h"
#include "view/dialogs/CSolarizeDlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>

#include <cstring>

namespace {

// A 24-bit picture with a different colour in every pixel.
std::unique_ptr<CDib> Picture(int w = 37, int h = 23) {
    auto p = std::make_unique<CDib>(24, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = p->GetRow(y);
        for (int x = 0; x < w; ++x) {
            row[3 * x] = uint8_t(x * 7 + y);
            row[3 * x + 1] = uint8_t(y * 11);
            row[3 * x + 2] = uint8_t(x * y + 40);
        }
    }
    return p;
}

std::unique_ptr<CDib> RunOp(unsigned nId, const CDib& src, const COpValues& values) {
    auto p = std::make_unique<CDib>(src);
    COpContext ctx{p, values, {}};
    COperationTable::Run(*COperationTable::FindById(nId), ctx);
    return p;
}

// The dialog's values give the same pixels as the command-line words.
void ExpectSameAsWords(unsigned nId, const COpValues& dialogValues, const std::vector<std::string>& words,
                       const CDib& src) {
    const COperation* pOp = COperationTable::FindById(nId);
    auto a = RunOp(nId, src, dialogValues);
    auto b = RunOp(nId, src, COpValues::Parse(pOp->m_args, words));
    ASSERT_EQ(a->GetWidth(), b->GetWidth());
    ASSERT_EQ(a->GetHeight(), b->GetHeight());
    ASSERT_EQ(a->GetBitCount(), b->GetBitCount());
    const int nBytes = (a->GetWidth() * a->GetBitCount() + 7) / 8;
    for (int y = 0; y < a->GetHeight(); ++y)
        ASSERT_EQ(std::memcmp(a->GetRow(y), b->GetRow(y), nBytes), 0) << "row " << y;
}

template <class T> T* Child(QWidget* p, const char* name) {
    T* c = p->findChild<T*>(name);
    EXPECT_TRUE(c) << name;
    return c;
}

QAbstractButton* Button(QWidget* p, const QString& text) {
    for (QAbstractButton* b : p->findChildren<QAbstractButton*>())
        if (b->text() == text) return b;
    ADD_FAILURE() << text.toStdString();
    return nullptr;
}

void ClickOk(QDialog* p) {
    p->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
}

void SetText(QLineEdit* p, const QString& text) {
    p->selectAll();
    QTest::keyClicks(p, text);
}

class EnhancerDialogs : public ::testing::Test {
protected:
    void SetUp() override { CPreviewDlg::SetAutoPreview(true); }
    void TearDown() override { CPreviewDlg::SetAutoPreview(true); }
    std::unique_ptr<CDib> m_pImage = Picture();
    CScriptedPrompt m_prompt;
    CUserPromptScope m_scope{&m_prompt};
};

TEST_F(EnhancerDialogs, BrightnessContrastStartsFromThePictureAndGivesItsValues) {
    m_pImage->m_nBrightness = 60;
    m_pImage->m_nContrast = 30;
    m_pImage->m_nGammaStep = 22;
    CBrightnessContrastDlg dlg(nullptr, *m_pImage);
    auto* pB = Child<QScrollBar>(&dlg, "brightness");
    auto* pC = Child<QScrollBar>(&dlg, "contrast");
    auto* pG = Child<QScrollBar>(&dlg, "gamma");
    EXPECT_EQ(pB->value(), 60);
    EXPECT_EQ(pC->value(), 30);
    EXPECT_EQ(pG->value(), 22);
    EXPECT_TRUE(Button(&dlg, "&All Channels")->isChecked());
    pB->setValue(101); // one past the end is not taken
    EXPECT_EQ(pB->value(), 100);
    pC->setValue(-1);
    EXPECT_EQ(pC->value(), 0);
    pG->setValue(41);
    EXPECT_EQ(pG->value(), 40);
    EXPECT_TRUE(dlg.findChild<QLabel*>() != nullptr);
    pB->setValue(70);
    pC->setValue(50);
    pG->setValue(15);
    Button(&dlg, "&Green")->click();
    COpValues v;
    dlg.GetValues(v);
    ExpectSameAsWords(2027, v, {"70", "50", "15", "--channel", "green"}, *m_pImage);
}

TEST_F(EnhancerDialogs, PointDialogsDefaultsRangesAndValues) {
    {
        CHueSaturationDlg dlg(nullptr, *m_pImage);
        auto* pH = Child<QScrollBar>(&dlg, "hue");
        EXPECT_EQ(pH->value(), 0);
        EXPECT_EQ(pH->minimum(), -128);
        EXPECT_EQ(pH->maximum(), 127);
        EXPECT_EQ(Child<QScrollBar>(&dlg, "saturation")->minimum(), -255);
        EXPECT_EQ(Child<QScrollBar>(&dlg, "lightness")->maximum(), 255);
        EXPECT_EQ(pH->pageStep(), 8);
        pH->setValue(-20);
        Child<QScrollBar>(&dlg, "saturation")->setValue(40);
        Child<QScrollBar>(&dlg, "lightness")->setValue(-30);
        COpValues v;
        dlg.GetValues(v);
        ExpectSameAsWords(2085, v, {"-20", "40", "-30"}, *m_pImage);
    }
    {
        CPosterizeDlg dlg(nullptr, *m_pImage);
        auto* pL = Child<QScrollBar>(&dlg, "levels");
        EXPECT_EQ(pL->value(), 8);
        pL->setValue(1);
        EXPECT_EQ(pL->value(), 2);
        pL->setValue(257);
        EXPECT_EQ(pL->value(), 256);
        pL->setValue(4);
        Button(&dlg, "&Blue")->click();
        COpValues v;
        dlg.GetValues(v);
        ExpectSameAsWords(2029, v, {"4", "--channels", "rg"}, *m_pImage);
    }
    {
        CSolarizeDlg dlg(nullptr, *m_pImage);
        EXPECT_EQ(Child<QScrollBar>(&dlg, "threshold")->value(), 127);
        EXPECT_TRUE(Button(&dlg, "&Lighten")->isChecked());
        COpValues v;
        dlg.GetValues(v);
        ExpectSameAsWords(2030, v, {"127"}, *m_pImage);
        Button(&dlg, "&Darken")->click();
        Child<QScrollBar>(&dlg, "threshold")->setValue(90);
        COpValues d;
        dlg.GetValues(d);
        ExpectSameAsWords(2030, d, {"90", "--darken"}, *m_pImage);
    }
    {
        CGaussianDlg dlg(nullptr, *m_pImage);
        auto* pR = Child<QScrollBar>(&dlg, "radius");
        EXPECT_EQ(pR->value(), 5);
        pR->setValue(0);
        EXPECT_EQ(pR->value(), 1);
        pR->setValue(11);
        EXPECT_EQ(pR->value(), 10);
        pR->setValue(2);
        COpValues v;
        dlg.GetValues(v);
        ExpectSameAsWords(2196, v, {"2"}, *m_pImage);
    }
    {
        CNegativeDlg dlg(nullptr);
        for (const char* c : {"&Red", "&Green", "&Blue"}) EXPECT_TRUE(Button(&dlg, c)->isChecked());
        Button(&dlg, "&Green")->click();
        COpValues v;
        dlg.GetValues(v);
        ExpectSameAsWords(2028, v, {"--channels", "rb"}, *m_pImage);
    }
}

TEST_F(EnhancerDialogs, PreviewIsTheOperationOnAFittedReducedCopy) {
    auto pWide = Picture(400, 100);
    CPosterizeDlg dlg(nullptr, *pWide);
    const CRect& rc = dlg.PreviewRect();
    // 192 x 152 inside the frame; a 4:1 picture takes the width, centred.
    EXPECT_EQ(rc.Width(), 192);
    EXPECT_EQ(rc.Height(), 48);
    EXPECT_EQ(rc.left, 4);
    EXPECT_EQ(rc.top, 4 + (152 - 48) / 2);
    ASSERT_TRUE(dlg.PreviewImage());
    EXPECT_EQ(dlg.PreviewImage()->GetWidth(), 192);
    // The preview shows posterized values: every channel lands on a level.
    const uint8_t* row = const_cast<CDib*>(dlg.PreviewImage())->GetRow(10);
    for (int i = 0; i < 192 * 3; ++i) {
        const int v = row[i];
        EXPECT_TRUE(v == 255 || v % 37 == 0) << v;
    }
}

TEST_F(EnhancerDialogs, AutoPreviewIsSharedBetweenDialogs) {
    CSolarizeDlg first(nullptr, *m_pImage);
    auto* pAuto = Child<QCheckBox>(&first, "autoPreview");
    EXPECT_TRUE(pAuto->isChecked());
    const int n = first.PreviewCount();
    Child<QScrollBar>(&first, "threshold")->setValue(50);
    EXPECT_EQ(first.PreviewCount(), n + 1);
    pAuto->click();
    EXPECT_FALSE(CPreviewDlg::IsAutoPreview());

    CGaussianDlg second(nullptr, *m_pImage);
    EXPECT_FALSE(Child<QCheckBox>(&second, "autoPreview")->isChecked());
    const int m = second.PreviewCount();
    Child<QScrollBar>(&second, "radius")->setValue(3);
    EXPECT_EQ(second.PreviewCount(), m); // no redraw while Auto Preview is off
    Child<QPushButton>(&second, "preview")->click();
    EXPECT_EQ(second.PreviewCount(), m + 1);
}

TEST_F(EnhancerDialogs, AdaptiveColorsRangeAndFlags) {
    CAdaptiveColorsDlg dlg(nullptr);
    auto* pColors = Child<QLineEdit>(&dlg, "colors");
    EXPECT_EQ(pColors->text(), "256");
    EXPECT_FALSE(Button(&dlg, "&Include System Colors")->isChecked());
    EXPECT_FALSE(Button(&dlg, "&Dither")->isChecked());
    dlg.show();
    for (const char* bad : {"7", "257"}) {
        SetText(pColors, bad);
        ClickOk(&dlg);
        EXPECT_TRUE(dlg.isVisible()) << bad;
        ASSERT_FALSE(m_prompt.m_shown.empty());
        EXPECT_EQ(m_prompt.m_shown.back().text, "Please enter a number between 8 and 256.");
    }
    SetText(pColors, "16");
    Button(&dlg, "&Dither")->click();
    ClickOk(&dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    COpValues v;
    dlg.GetValues(v);
    ExpectSameAsWords(2120, v, {"16", "--dither"}, *m_pImage);
}

TEST_F(EnhancerDialogs, ScaleLinksItsFieldsAsTheyAreTyped) {
    CScaleDlg dlg(nullptr, 640, 480, 24);
    dlg.show();
    EXPECT_EQ(Child<QLabel>(&dlg, "3030")->text(), "640");
    auto* pW = dlg.Field(CScaleFields::Width);
    auto* pH = dlg.Field(CScaleFields::Height);
    auto* pWP = dlg.Field(CScaleFields::WidthPercent);
    auto* pHP = dlg.Field(CScaleFields::HeightPercent);
    EXPECT_EQ(pHP->text(), "100");
    SetText(pW, "320");
    EXPECT_EQ(pH->text(), "240");
    EXPECT_EQ(pWP->text(), "50");
    EXPECT_EQ(pHP->text(), "50");
    SetText(pHP, "25");
    EXPECT_EQ(pH->text(), "120");
    EXPECT_EQ(pW->text(), "160");
    EXPECT_EQ(pWP->text(), "25");
    Button(&dlg, "&Arbitrary")->click();
    SetText(pW, "100");
    EXPECT_EQ(pH->text(), "120");
    EXPECT_EQ(pWP->text(), "16"); // 15.6 rounded
    // Refused values keep the dialog open with the message.
    SetText(pW, "10000");
    ClickOk(&dlg);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(m_prompt.m_shown.back().text, "Please enter a number between 1 and 9999.");
    SetText(pW, "100");
    Button(&dlg, "H&igh")->click();
    ClickOk(&dlg);
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    COpValues v;
    dlg.GetValues(v);
    EXPECT_EQ(v.Int("W"), 100);
    EXPECT_EQ(v.Int("H"), 120);
    ExpectSameAsWords(2038, v, {"100", "120", "--quality", "high"}, *Picture(64, 48));
}

TEST_F(EnhancerDialogs, ScalePercentAboveSixThousandIsRefused) {
    CScaleDlg dlg(nullptr, 1, 1, 24);
    dlg.show();
    SetText(dlg.Field(CScaleFields::WidthPercent), "6001");
    EXPECT_EQ(dlg.Field(CScaleFields::Width)->text(), "60");
    EXPECT_EQ(dlg.Field(CScaleFields::HeightPercent)->text(), "6000");
    ClickOk(&dlg);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(m_prompt.m_shown.back().text, "Please enter a number between 1 and 6000.");
}

TEST_F(EnhancerDialogs, ScaleOffersOnlyLowBelowNineBits) {
    CScaleDlg dlg(nullptr, 10, 10, 8);
    EXPECT_TRUE(Button(&dlg, "&Low")->isChecked());
    EXPECT_FALSE(Button(&dlg, "&Medium")->isEnabled());
    EXPECT_FALSE(Button(&dlg, "H&igh")->isEnabled());
}

TEST_F(EnhancerDialogs, RotateProposesNinetyCounterClockwise) {
    CRotateDlg dlg(nullptr);
    dlg.show();
    auto* pAngle = Child<QLineEdit>(&dlg, "angle");
    EXPECT_EQ(pAngle->text(), "90");
    EXPECT_TRUE(Button(&dlg, "C&ounter Clockwise")->isChecked());
    for (const char* bad : {"360.5", "-1", "x"}) {
        SetText(pAngle, bad);
        ClickOk(&dlg);
        EXPECT_TRUE(dlg.isVisible()) << bad;
        EXPECT_EQ(m_prompt.m_shown.back().text, "Please enter a number between 0 and 360.");
    }
    SetText(pAngle, "30.5");
    Button(&dlg, "&Clockwise")->click();
    ClickOk(&dlg);
    COpValues v;
    dlg.GetValues(v);
    ExpectSameAsWords(2037, v, {"30.5", "--clockwise"}, *m_pImage);
}

TEST_F(EnhancerDialogs, CropMarginsKeepOnePixelAndGiveTheCorners) {
    CCropMarginsDlg dlg(nullptr, 37, 23);
    dlg.show();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(dlg.Field(i)->text(), "0");
    SetText(dlg.Field(0), "-1");
    ClickOk(&dlg);
    EXPECT_EQ(m_prompt.m_shown.back().text, "Please enter a number between 0 and 36.");
    SetText(dlg.Field(0), "10");
    SetText(dlg.Field(2), "27"); // 10 + 27 = 37 leaves nothing
    ClickOk(&dlg);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(m_prompt.m_shown.back().text, "Please enter a number between 0 and 26.");
    SetText(dlg.Field(2), "26");
    SetText(dlg.Field(1), "3");
    SetText(dlg.Field(3), "4");
    ClickOk(&dlg);
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    COpValues v;
    dlg.GetValues(v);
    EXPECT_EQ(v.Int("RIGHT"), 10); // one column kept
    ExpectSameAsWords(2058, v, {"10", "3", "10", "18"}, *m_pImage);
    EXPECT_EQ(RunOp(2058, *m_pImage, v)->GetWidth(), 1);
    EXPECT_EQ(RunOp(2058, *m_pImage, v)->GetHeight(), 16);
}

TEST_F(EnhancerDialogs, HistogramBarsFollowTheCounts) {
    CHistogramDlg dlg(nullptr, *m_pImage);
    CTRGBHist hist(m_pImage.get(), true);
    hist.Compute();
    const uint32_t* pGrey = hist.GetHistogram(3);
    const uint32_t nLargest = *std::max_element(pGrey, pGrey + 256);
    const int h = CHistogramDlg::kGraphHeight - CHistogramDlg::kGraphMargin;
    ASSERT_EQ(dlg.Bars().size(), 256u);
    for (int i = 0; i < 256; ++i) EXPECT_EQ(dlg.Bars()[i].m_nHeight, int(uint64_t(h) * pGrey[i] / nLargest));
    dlg.findChild<QCheckBox*>()->click(); // accumulated: the last bar is full height
    EXPECT_EQ(dlg.Bars()[255].m_nHeight, h);
    const CHistStatistics s = hist.GetStatistics(pGrey, hist.GetCumulative(3));
    EXPECT_EQ(Child<QLineEdit>(&dlg, "min")->text(), QString::number(s.m_nMin));
    EXPECT_EQ(Child<QLineEdit>(&dlg, "max")->text(), QString::number(s.m_nMax));
}

TEST_F(EnhancerDialogs, RegisteredDialogsCancelAndOk) {
    RegisterEnhancerDialogs();
    for (unsigned id : {2027u, 2085u, 2028u, 2029u, 2030u, 2196u, 2120u, 2038u, 2037u, 2058u, 2173u, 2197u,
                        2201u, 2176u, 2177u, 2178u, 2179u, 2180u})
        EXPECT_TRUE(COperationDialogs::Has(id)) << id;
    auto answer = [](QDialogButtonBox::StandardButton b) {
        QTimer::singleShot(0, [b] {
            auto* pDlg = qobject_cast<QDialog*>(QApplication::activeModalWidget());
            ASSERT_TRUE(pDlg);
            pDlg->findChild<QDialogButtonBox*>()->button(b)->click();
        });
    };
    COpValues values;
    COperationDialogRequest request{nullptr, *m_pImage, values, "test"};
    answer(QDialogButtonBox::Cancel);
    EXPECT_FALSE(COperationDialogs::Run(2029, request));
    EXPECT_FALSE(values.Has("LEVELS"));
    answer(QDialogButtonBox::Ok);
    EXPECT_TRUE(COperationDialogs::Run(2029, request));
    ExpectSameAsWords(2029, values, {"8"}, *m_pImage);
    answer(QDialogButtonBox::Close);
    EXPECT_FALSE(COperationDialogs::Run(2173, request)); // only shows information
}

} // namespace

#include "view/dialogs/CArithmeticDlg.h"

#include <QComboBox>

namespace {

class ArithmeticDlg : public ::testing::Test {
protected:
    std::unique_ptr<CDib> m_pA = Picture(37, 23);
    std::unique_ptr<CDib> m_pB = Picture(23, 37);
    std::unique_ptr<CDib> m_pC = Picture(37, 23);
    CScriptedPrompt m_prompt;
    CUserPromptScope m_scope{&m_prompt};
    std::vector<COpenPicture> Pictures() {
        // C differs from A: flipped bytes.
        for (int y = 0; y < m_pC->GetHeight(); ++y)
            for (int i = 0; i < 37 * 3; ++i) m_pC->GetRow(y)[i] ^= 0x5a;
        return {{"a.bmp", m_pA.get()}, {"b.bmp", m_pB.get()}, {"c.bmp", m_pC.get()}};
    }
};

TEST_F(ArithmeticDlg, BlendDefaultsRangeAndResult) {
    CArithmeticDlg dlg(nullptr, 2180, Pictures(), 0);
    dlg.show();
    EXPECT_EQ(dlg.Image1()->currentText(), "a.bmp");
    // Image2 proposed is b.bmp, of another size: the message instead of a preview.
    EXPECT_EQ(dlg.Image2()->currentText(), "b.bmp");
    ASSERT_FALSE(m_prompt.m_shown.empty());
    EXPECT_EQ(m_prompt.m_shown.back().text, "Both Image1 and Image2 images must be the same size.");
    EXPECT_FALSE(dlg.TargetPreview());
    ClickOk(&dlg);
    EXPECT_TRUE(dlg.isVisible());
    dlg.Image2()->setCurrentIndex(2);
    EXPECT_TRUE(dlg.TargetPreview());
    EXPECT_EQ(dlg.ScaleField()->text(), "50");
    EXPECT_FALSE(dlg.findChild<QCheckBox*>("112")->isVisible());
    SetText(dlg.ScaleField(), "101");
    ClickOk(&dlg);
    EXPECT_EQ(m_prompt.m_shown.back().text, "Please enter a number between 0 and 100.");
    SetText(dlg.ScaleField(), "30");
    ClickOk(&dlg);
    ASSERT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.Image1Title(), "a.bmp");
    COpValues v;
    dlg.GetValues(v);
    EXPECT_EQ(v.Text("IN2"), "c.bmp");
    // The same pixels as the command line's blend of the two pictures.
    auto load = [this](const std::string&) { return std::make_unique<CDib>(*m_pC); };
    auto a = std::make_unique<CDib>(*m_pA);
    COpContext ca{a, v, load};
    COperationTable::Run(*COperationTable::FindById(2180), ca);
    const COpValues w = COpValues::Parse(COperationTable::FindById(2180)->m_args, {"c.bmp", "30"});
    auto b = std::make_unique<CDib>(*m_pA);
    COpContext cb{b, w, load};
    COperationTable::Run(*COperationTable::FindById(2180), cb);
    for (int y = 0; y < 23; ++y) ASSERT_EQ(std::memcmp(a->GetRow(y), b->GetRow(y), 37 * 3), 0);
}

TEST_F(ArithmeticDlg, AddHasScaleAndWrap) {
    CArithmeticDlg dlg(nullptr, 2176, Pictures(), 2);
    dlg.show();
    EXPECT_EQ(dlg.Image1()->currentText(), "c.bmp");
    dlg.Image2()->setCurrentIndex(0);
    EXPECT_EQ(dlg.ScaleField()->text(), "1");
    EXPECT_TRUE(dlg.findChild<QCheckBox*>("112")->isVisible());
    SetText(dlg.ScaleField(), "3");
    ClickOk(&dlg);
    EXPECT_EQ(m_prompt.m_shown.back().text, "Please enter a number between 1 and 2.");
    SetText(dlg.ScaleField(), "2");
    dlg.findChild<QCheckBox*>("112")->click();
    ClickOk(&dlg);
    COpValues v;
    dlg.GetValues(v);
    EXPECT_EQ(v.Int("--scale"), 2);
    EXPECT_TRUE(v.Has("--wrap"));
    EXPECT_EQ(v.Text("IN2"), "a.bmp");
}

TEST_F(ArithmeticDlg, DifferenceShowsNoScale) {
    CArithmeticDlg dlg(nullptr, 2178, Pictures(), 0);
    dlg.show();
    EXPECT_FALSE(dlg.ScaleField()->isVisible());
    EXPECT_EQ(dlg.findChild<QLabel*>("3275")->text(), "Target = Absolute(Image1 - Image2)");
}

} // namespace
