#include "view/dialogs/CGaussianDlg.h"

#include "imaging/ops/OpArgs.h"

#include <QScrollBar>

CGaussianDlg::CGaussianDlg(QWidget* pParent, const CDib& image)
    : CPreviewDlg(pParent, image, 2196, tr("Gaussian Blur")) {
    m_pRadius = AddScrollBar(tr("Radius:"), 1, 10, 5, 3);
    m_pRadius->setObjectName("radius");
    Preview();
}

void CGaussianDlg::GetValues(COpValues& values) const {
    values.Set("RADIUS", m_pRadius->value());
}
