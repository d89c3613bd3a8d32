#include "view/dialogs/CCropMarginsDlg.h"

#include "imaging/ops/OpArgs.h"
#include "view/dialogs/DialogFields.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

CCropMarginsDlg::CCropMarginsDlg(QWidget* pParent, int nWidth, int nHeight)
    : QDialog(pParent), m_nWidth(nWidth), m_nHeight(nHeight) {
    setWindowTitle(tr("Crop"));
    auto* pLayout = new QFormLayout(this);
    pLayout->addRow(tr("Image size:"), new QLabel(QStringLiteral("%1 x %2").arg(nWidth).arg(nHeight)));
    static const char* s_labels[] = {"&Left margin:", "&Top margin:", "&Right margin:", "&Bottom margin:"};
    static const char* s_names[] = {"left", "top", "right", "bottom"};
    for (int i = 0; i < 4; ++i) {
        m_pEdits[i] = new QLineEdit("0");
        m_pEdits[i]->setObjectName(s_names[i]);
        pLayout->addRow(tr(s_labels[i]), m_pEdits[i]);
    }
    pLayout->addRow(MakeOkCancel(this));
}

void CCropMarginsDlg::accept() {
    // Each margin within what the opposite one leaves: one pixel stays each way.
    int v[4];
    const int sizes[4] = {m_nWidth, m_nHeight, m_nWidth, m_nHeight};
    for (int i = 0; i < 4; ++i) {
        int nOpposite = 0;
        if (i >= 2) nOpposite = v[i - 2];
        if (!CheckIntegerField(m_pEdits[i], 0, CropMarginLimit(sizes[i], nOpposite), v[i])) return;
    }
    m_margins = {v[0], v[1], v[2], v[3]};
    if (!CropMarginsValid(m_nWidth, m_nHeight, m_margins)) return;
    QDialog::accept();
}

void CCropMarginsDlg::GetValues(COpValues& values) const {
    values.Set("LEFT", m_margins.m_nLeft);
    values.Set("TOP", m_margins.m_nTop);
    values.Set("RIGHT", m_nWidth - 1 - m_margins.m_nRight);
    values.Set("BOTTOM", m_nHeight - 1 - m_margins.m_nBottom);
}
