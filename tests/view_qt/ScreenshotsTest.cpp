// Pictures of the tone-curve and warping dialogs for the user guide: runs
// only when ZOZI_SHOT_PICTURE names a picture and ZOZI_SHOT_DIR a folder.

#include "imaging/CDib.h"
#include "view/dialogs/CCurveEditWnd.h"
#include "view/dialogs/CMeshEditWnd.h"
#include "view/dialogs/CToneCurveDlg.h"
#include "view/dialogs/CWarpDlg.h"

#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

TEST(Screenshots, ToneCurveAndWarpDialogs) {
    const char* pszPicture = std::getenv("ZOZI_SHOT_PICTURE");
    const char* pszDir = std::getenv("ZOZI_SHOT_DIR");
    if (!pszPicture || !pszDir) GTEST_SKIP() << "no picture to show";
    CDib image{std::string(pszPicture)};
    const QString dir = QString::fromUtf8(pszDir);
    {
        CToneCurveDlg dlg(nullptr, image, "");
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        const auto items = dlg.List()->findItems("Lighten Midtone Area", Qt::MatchExactly);
        if (!items.isEmpty()) dlg.List()->setCurrentItem(items.front());
        CCurveEditWnd* pWnd = dlg.EditWindow();
        QTest::mousePress(pWnd, Qt::LeftButton, Qt::NoModifier, CCurveEditWnd::ToClient(200, 225));
        QTest::mouseRelease(pWnd, Qt::LeftButton, Qt::NoModifier, CCurveEditWnd::ToClient(200, 225));
        QTest::qWait(100);
        EXPECT_TRUE(dlg.grab().save(dir + "/tone-curve-dialog.png"));
    }
    {
        CWarpDlg dlg(nullptr, image, "");
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        CMeshEditWnd* pEditor = dlg.Editor();
        auto drag = [pEditor](int i, int j, QPoint by) {
            const CPoint& p = pEditor->Mesh().Point(i, j);
            const QPoint from(p.x, p.y);
            QTest::mousePress(pEditor, Qt::LeftButton, Qt::NoModifier, from);
            QTest::mouseMove(pEditor, from + by);
            QTest::mouseRelease(pEditor, Qt::LeftButton, Qt::NoModifier, from + by);
        };
        drag(2, 3, QPoint(18, -12));
        drag(3, 3, QPoint(14, -10));
        drag(3, 4, QPoint(10, 8));
        dlg.findChild<QPushButton*>("3300")->click();
        QTest::qWait(100);
        EXPECT_TRUE(dlg.grab().save(dir + "/warp-dialog.png"));
    }
}
