#include "view/dialogs/CAdaptiveColorsDlg.h"

#include "imaging/ops/OpArgs.h"
#include "view/dialogs/DialogFields.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>

CAdaptiveColorsDlg::CAdaptiveColorsDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(tr("Convert To Optimized Indexed-256 Colors"));
    auto* pLayout = new QFormLayout(this);
    m_pColors = new QLineEdit("256");
    m_pColors->setObjectName("colors");
    pLayout->addRow(tr("&Number Of Colors:"), m_pColors);
    m_pSystem = new QCheckBox(tr("&Include System Colors"));
    m_pDither = new QCheckBox(tr("&Dither"));
    pLayout->addRow(m_pSystem);
    pLayout->addRow(m_pDither);
    pLayout->addRow(MakeOkCancel(this));
}

void CAdaptiveColorsDlg::accept() {
    if (!CheckIntegerField(m_pColors, 8, 256, m_nColors)) return;
    QDialog::accept();
}

void CAdaptiveColorsDlg::GetValues(COpValues& values) const {
    values.Set("COLORS", m_nColors);
    if (m_pSystem->isChecked()) values.Set("--system-colors", 1);
    if (m_pDither->isChecked()) values.Set("--dither", 1);
}
