#include "view/dialogs/CNegativeDlg.h"

#include "imaging/ops/OpArgs.h"
#include "view/dialogs/DialogFields.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QVBoxLayout>

CNegativeDlg::CNegativeDlg(QWidget* pParent) : QDialog(pParent) {
    setWindowTitle(tr("Negative"));
    auto* pLayout = new QVBoxLayout(this);
    const char* names[] = {"&Red", "&Green", "&Blue"};
    for (int i = 0; i < 3; ++i) {
        m_pChannels[i] = new QCheckBox(tr(names[i]));
        m_pChannels[i]->setChecked(true);
        pLayout->addWidget(m_pChannels[i]);
    }
    pLayout->addWidget(MakeOkCancel(this));
}

void CNegativeDlg::GetValues(COpValues& values) const {
    int nMask = 0;
    for (int i = 0; i < 3; ++i)
        if (m_pChannels[i]->isChecked()) nMask |= 1 << i;
    values.Set("--channels", nMask);
}
