// The tone-curve dialog: the predefined list, the editing window driven by
// the mouse, curve files and the values it gives the operation.

#include "framework/UserPrompt.h"
#include "imaging/ApplyToneCurve.h"
#include "imaging/CDib.h"
#include "imaging/CTonalAdjustCurve.h"
#include "imaging/ops/COperationTable.h"
#include "view/CBaseDoc.h"
#include "view/dialogs/CCurveEditWnd.h"
#include "view/dialogs/CToneCurveDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

std::unique_ptr<CDib> Picture() {
    auto p = std::make_unique<CDib>(24, 30, 20, nullptr);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 30; ++x) {
            uint8_t* px = p->GetRow(y) + 3 * x;
            px[0] = uint8_t(x * 8);
            px[1] = uint8_t(y * 12);
            px[2] = uint8_t(x * y);
        }
    return p;
}

class ToneCurveDlg : public ::testing::Test {
protected:
    void SetUp() override {
        m_pDlg = std::make_unique<CToneCurveDlg>(nullptr, *m_pImage, "");
        m_pDlg->show();
        m_pWnd = m_pDlg->EditWindow();
    }
    CToneCurve& Curve() { return m_pWnd->Curve(); }
    void Press(int x, int y, Qt::KeyboardModifiers m = Qt::NoModifier) {
        QTest::mousePress(m_pWnd, Qt::LeftButton, m, CCurveEditWnd::ToClient(x, y));
    }
    void Move(int x, int y) { QTest::mouseMove(m_pWnd, CCurveEditWnd::ToClient(x, y)); }
    void Release(int x, int y) {
        QTest::mouseRelease(m_pWnd, Qt::LeftButton, Qt::NoModifier, CCurveEditWnd::ToClient(x, y));
    }
    void SelectOriginal() {
        for (int i = 0; i < m_pDlg->List()->count(); ++i)
            if (m_pDlg->List()->item(i)->text() == "Original Curve") m_pDlg->List()->setCurrentRow(i);
    }

    std::unique_ptr<CDib> m_pImage = Picture();
    CScriptedPrompt m_prompt;
    CUserPromptScope m_scope{&m_prompt};
    std::unique_ptr<CToneCurveDlg> m_pDlg;
    CCurveEditWnd* m_pWnd = nullptr;
};

TEST_F(ToneCurveDlg, ListsTheShippedCurvesSortedWithOriginalChosen) {
    QListWidget* pList = m_pDlg->List();
    ASSERT_EQ(pList->count(), 9);
    for (int i = 1; i < pList->count(); ++i)
        EXPECT_LT(pList->item(i - 1)->text().toLower(), pList->item(i)->text().toLower());
    EXPECT_EQ(pList->currentItem()->text(), "Original Curve");
    EXPECT_TRUE(m_pDlg->findChild<QRadioButton*>("3289")->isChecked());
    EXPECT_EQ(m_pDlg->ChannelMask(), 7);
    // Choosing another entry gives its curve to the window.
    pList->setCurrentRow(pList->currentRow() == 0 ? 1 : 0);
    EXPECT_NE(std::memcmp(m_pDlg->Lut(), CToneCurve().GetLut(), 256), 0);
    EXPECT_TRUE(m_prompt.m_shown.empty());
}

TEST_F(ToneCurveDlg, MouseAddsDragsAndDeletesPoints) {
    SelectOriginal();
    const std::vector<CPoint> start = Curve().GetPoints();
    ASSERT_EQ(start.size(), 2u);
    Press(128, 200);
    Move(130, 180);
    Release(130, 180);
    ASSERT_EQ(Curve().GetPoints().size(), 3u);
    EXPECT_EQ(Curve().GetPoints()[1].x, 130);
    EXPECT_EQ(Curve().GetPoints()[1].y, 180);
    // The table is the curve model's for those points.
    CToneCurve expected;
    expected.SetCurve({start[0], {130, 180}, start[1]}, Curve().GetSamples(), Curve().GetParamMode());
    EXPECT_EQ(std::memcmp(m_pDlg->Lut(), expected.GetLut(), 256), 0);
    // A drag toward the last point stops 12 units before it.
    Press(131, 180);
    Move(254, 250);
    Release(254, 250);
    EXPECT_EQ(Curve().GetPoints()[1].x, 255 - 12);
    // Ctrl+press on the end point keeps it; on the middle point deletes it.
    Press(0, 0, Qt::ControlModifier);
    Release(0, 0);
    EXPECT_EQ(Curve().GetPoints().size(), 3u);
    Press(243, 250, Qt::ControlModifier);
    Release(243, 250);
    EXPECT_EQ(Curve().GetPoints().size(), 2u);
}

TEST_F(ToneCurveDlg, OkGivesTheSamePixelsAsTheTable) {
    Press(100, 160);
    Release(100, 160);
    m_pDlg->findChild<QRadioButton*>("3286")->click(); // red only
    m_pDlg->findChild<QCheckBox*>("3285")->click();    // smoothing toggled
    m_pDlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(m_pDlg->result(), QDialog::Accepted);
    COpValues v;
    m_pDlg->GetValues(v);
    auto viaOp = std::make_unique<CDib>(*m_pImage);
    COpContext ctx{viaOp, v, {}};
    COperationTable::Run(*COperationTable::FindById(2197), ctx);
    CDib direct(*m_pImage);
    ApplyToneCurve(direct, m_pDlg->Lut(), 1);
    for (int y = 0; y < direct.GetHeight(); ++y)
        ASSERT_EQ(std::memcmp(viaOp->GetRow(y), direct.GetRow(y), 90), 0) << y;
}

TEST_F(ToneCurveDlg, SavedCurveLoadsBackWithItsSmoothing) {
    Press(60, 90);
    Release(60, 90);
    m_pDlg->findChild<QCheckBox*>("3285")->setChecked(false);
    const std::vector<CPoint> points = Curve().GetPoints();
    const std::string path = (std::filesystem::temp_directory_path() / "zozi-curve-test.tac").string();
    ASSERT_TRUE(m_pDlg->SaveCurveFile(path));
    SelectOriginal();
    m_pDlg->findChild<QCheckBox*>("3285")->setChecked(true);
    ASSERT_TRUE(m_pDlg->LoadCurveFile(path));
    EXPECT_EQ(Curve().GetPoints().size(), points.size());
    EXPECT_EQ(Curve().GetPoints()[1].x, points[1].x);
    EXPECT_FALSE(m_pDlg->findChild<QCheckBox*>("3285")->isChecked());
    EXPECT_FALSE(m_pDlg->LoadCurveFile(path + ".missing")); // changes nothing
    std::filesystem::remove(path);
}

TEST_F(ToneCurveDlg, SaveButtonStoresTheCurveUnderTheChosenName) {
    const std::filesystem::path dir = std::filesystem::temp_directory_path();
    const std::string path = (dir / "zozi-saved-curve.tac").string();
    std::string proposal, folder;
    auto old = CBaseDoc::s_askSaveName;
    CBaseDoc::s_askSaveName = [&](const std::string& p, const std::string&) {
        proposal = p;
        return path;
    };
    m_pDlg->m_onFolderChosen = [&](const std::string& f) { folder = f; };
    for (QPushButton* b : m_pDlg->findChildren<QPushButton*>())
        if (b->text() == "&Save...") b->click();
    CBaseDoc::s_askSaveName = old;
    EXPECT_EQ(std::filesystem::path(proposal).filename(), "Curve.tac");
    EXPECT_EQ(std::filesystem::path(folder), std::filesystem::path(path).parent_path());
    CTonalAdjustCurve saved;
    ASSERT_TRUE(saved.Load(path));
    EXPECT_EQ(saved.m_strName, "zozi-saved-curve");
    EXPECT_EQ(saved.m_nParamMode, 0);
    EXPECT_EQ(saved.m_points.size(), Curve().GetPoints().size());
    std::filesystem::remove(path);
}

TEST(ToneCurveDlgFolder, MissingFolderIsReported) {
    CScriptedPrompt prompt;
    CUserPromptScope scope(&prompt);
    auto pImage = Picture();
    CToneCurveDlg dlg(nullptr, *pImage, "/nonexistent/zozi-effects");
    ASSERT_EQ(prompt.m_shown.size(), 1u);
    EXPECT_EQ(prompt.m_shown[0].text, "Tonal Adjustment directory does not exist!");
    EXPECT_EQ(dlg.List()->count(), 0);
}

} // namespace
