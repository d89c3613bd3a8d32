#include "view/dialogs/CRotateDlg.h"

#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "imaging/ops/OpArgs.h"
#include "view/dialogs/DialogFields.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QRadioButton>

CRotateDlg::CRotateDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(tr("Arbitrary Rotate"));
    auto* pLayout = new QFormLayout(this);
    m_pAngle = new QLineEdit("90");
    m_pAngle->setObjectName("angle");
    pLayout->addRow(tr("&Angle:"), m_pAngle);
    m_pClockwise = new QRadioButton(tr("&Clockwise"));
    m_pCounter = new QRadioButton(tr("C&ounter Clockwise"));
    m_pCounter->setChecked(true);
    auto* pDir = new QHBoxLayout;
    pDir->addWidget(m_pCounter);
    pDir->addWidget(m_pClockwise);
    pLayout->addRow(pDir);
    pLayout->addRow(MakeOkCancel(this));
}

void CRotateDlg::accept() {
    bool bOk = false;
    const QString text = m_pAngle->text().trimmed();
    const double d = text.size() <= 32 ? text.toDouble(&bOk) : 0.0;
    if (!bOk || !(d >= 0 && d <= 360)) {
        GetUserPrompt().MessageBox(FormatResString2(1317, "0", "360"), MB_OK | MB_ICONEXCLAMATION);
        m_pAngle->setFocus();
        m_pAngle->selectAll();
        return;
    }
    m_dAngle = d;
    QDialog::accept();
}

void CRotateDlg::GetValues(COpValues& values) const {
    values.SetNumber("ANGLE", m_dAngle);
    if (m_pClockwise->isChecked()) values.Set("--clockwise", 1);
}
