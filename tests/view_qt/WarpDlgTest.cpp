// The warping dialog: the mesh editor's constraints, grid sizes, mesh files
// and the values it gives the operation.

#include "framework/UserPrompt.h"
#include "imaging/C2DPointArray.h"
#include "imaging/CDib.h"
#include "imaging/ops/COperationTable.h"
#include "view/dialogs/CMeshEditWnd.h"
#include "view/dialogs/CWarpDlg.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstring>
#include <filesystem>

namespace {

std::unique_ptr<CDib> Picture(int w, int h) {
    auto p = std::make_unique<CDib>(24, w, h, nullptr);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            uint8_t* px = p->GetRow(y) + 3 * x;
            px[0] = uint8_t(x * 3);
            px[1] = uint8_t(y * 5);
            px[2] = uint8_t((x ^ y) * 2);
        }
    return p;
}

class WarpDlg : public ::testing::Test {
protected:
    void SetUp() override {
        m_pDlg = std::make_unique<CWarpDlg>(nullptr, *m_pImage, "");
        m_pDlg->show();
        m_pEditor = m_pDlg->Editor();
    }
    QPoint At(int i, int j) {
        const CPoint& p = m_pEditor->Mesh().Point(i, j);
        return QPoint(p.x, p.y);
    }
    template <class T> T* Child(const char* id) { return m_pDlg->findChild<T*>(id); }
    std::string TempPath(const char* name) {
        return (std::filesystem::temp_directory_path() / name).string();
    }

    std::unique_ptr<CDib> m_pImage = Picture(560, 300);
    CScriptedPrompt m_prompt;
    CUserPromptScope m_scope{&m_prompt};
    std::unique_ptr<CWarpDlg> m_pDlg;
    CMeshEditWnd* m_pEditor = nullptr;
};

TEST_F(WarpDlg, StartsWithTheMediumGridOverTheCopy) {
    EXPECT_TRUE(Child<QRadioButton>("3297")->isChecked());
    EXPECT_TRUE(Child<QCheckBox>("3301")->isChecked());
    EXPECT_FALSE(Child<QCheckBox>("3110")->isChecked());
    EXPECT_EQ(m_pEditor->Mesh().GetCols(), 5);
    EXPECT_EQ(m_pEditor->Mesh().GetRows(), 6);
    EXPECT_EQ(m_pDlg->Copy()->GetWidth(), CWarpDlg::kCopyWidth); // 560 x 300 fits by width
    EXPECT_EQ(m_pEditor->width(), m_pDlg->Copy()->GetWidth());
    Child<QRadioButton>("3296")->click();
    EXPECT_EQ(m_pEditor->Mesh().GetCols(), 7);
    EXPECT_EQ(m_pEditor->Mesh().GetRows(), 9);
}

TEST_F(WarpDlg, DraggedPointsKeepSixPixelsFromTheirNeighbours) {
    const QPoint start = At(1, 1);
    QTest::mousePress(m_pEditor, Qt::LeftButton, Qt::NoModifier, start + QPoint(3, 2)); // within 6 pixels
    EXPECT_EQ(At(1, 1), start + QPoint(3, 2));
    QTest::mouseMove(m_pEditor,
                     QPoint(1, 1)); // up and left, toward the border (a null point means the centre)
    QTest::mouseRelease(m_pEditor, Qt::LeftButton, Qt::NoModifier, QPoint(1, 1));
    EXPECT_EQ(At(1, 1), QPoint(6, 6));
    // A press far from every point picks none and moves nothing.
    const std::vector<CPoint> before = m_pEditor->Mesh().GetPoints();
    QTest::mousePress(m_pEditor, Qt::LeftButton, Qt::NoModifier, At(2, 2) + QPoint(7, 0));
    QTest::mouseMove(m_pEditor, QPoint(100, 100));
    QTest::mouseRelease(m_pEditor, Qt::LeftButton);
    EXPECT_EQ(m_pEditor->Mesh().GetPoints().size(), before.size());
    for (size_t k = 0; k < before.size(); ++k) EXPECT_EQ(m_pEditor->Mesh().GetPoints()[k].x, before[k].x);
    // Reset brings the regular grid back.
    Child<QPushButton>("3299")->click();
    EXPECT_EQ(At(1, 1), start);
}

TEST_F(WarpDlg, PreviewShowsTheWarpedCopy) {
    QTest::mousePress(m_pEditor, Qt::LeftButton, Qt::NoModifier, At(2, 3));
    QTest::mouseMove(m_pEditor, At(2, 3) + QPoint(20, 10));
    QTest::mouseRelease(m_pEditor, Qt::LeftButton, Qt::NoModifier, At(2, 3));
    Child<QPushButton>("3300")->click();
    ASSERT_TRUE(m_pDlg->PreviewImage());
    const CDib* a = m_pDlg->PreviewImage();
    bool bDiffers = false;
    for (int y = 0; y < a->GetHeight() && !bDiffers; ++y)
        bDiffers = std::memcmp(const_cast<CDib*>(a)->GetRow(y), const_cast<CDib*>(m_pDlg->Copy())->GetRow(y),
                               size_t(a->GetWidth()) * 3) != 0;
    EXPECT_TRUE(bDiffers);
}

TEST_F(WarpDlg, OkWithoutMovingKeepsThePicture) {
    m_pDlg->findChild<QDialogButtonBox*>()->button(QDialogButtonBox::Ok)->click();
    ASSERT_EQ(m_pDlg->result(), QDialog::Accepted);
    COpValues v;
    m_pDlg->GetValues(v);
    EXPECT_FALSE(v.Has("--high-quality"));
    auto p = std::make_unique<CDib>(*m_pImage);
    COpContext ctx{p, v, {}};
    COperationTable::Run(*COperationTable::FindById(2201), ctx);
    ASSERT_EQ(p->GetWidth(), m_pImage->GetWidth());
    for (int y = 0; y < p->GetHeight(); ++y)
        ASSERT_EQ(std::memcmp(p->GetRow(y), m_pImage->GetRow(y), size_t(p->GetWidth()) * 3), 0) << y;
}

TEST_F(WarpDlg, MeshFilesKeepTheGridSizeAndRefuseAnotherCopySize) {
    Child<QRadioButton>("3296")->click(); // Small
    const std::string path = TempPath("zozi-warp-test.wms");
    ASSERT_TRUE(m_pDlg->SaveMeshFile(path));
    Child<QRadioButton>("3298")->click(); // Large
    ASSERT_TRUE(m_pDlg->LoadMeshFile(path));
    EXPECT_TRUE(Child<QRadioButton>("3296")->isChecked());
    EXPECT_EQ(m_pEditor->Mesh().GetCols(), 7);

    // A mesh made over a copy of another size.
    auto pOther = Picture(100, 100);
    CWarpDlg other(nullptr, *pOther, "");
    const std::string otherPath = TempPath("zozi-warp-other.wms");
    ASSERT_TRUE(other.SaveMeshFile(otherPath));
    EXPECT_FALSE(m_pDlg->LoadMeshFile(otherPath));
    ASSERT_FALSE(m_prompt.m_shown.empty());
    EXPECT_EQ(m_prompt.m_shown.back().text, "Mesh was created for different image size!");
    EXPECT_TRUE(Child<QRadioButton>("3296")->isChecked()); // nothing changed
    std::filesystem::remove(path);
    std::filesystem::remove(otherPath);
}

} // namespace
