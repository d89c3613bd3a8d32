#include "view/dialogs/CPosterizeDlg.h"

#include "imaging/ops/OpArgs.h"

#include <QCheckBox>
#include <QScrollBar>

CPosterizeDlg::CPosterizeDlg(QWidget* pParent, const CDib& image)
    : CPreviewDlg(pParent, image, 2029, tr("Posterize")) {
    m_pLevels = AddScrollBar(tr("Levels:"), 2, 256, 8, 8);
    m_pLevels->setObjectName("levels");
    const char* names[] = {"&Red", "&Green", "&Blue"};
    for (int i = 0; i < 3; ++i) {
        m_pChannels[i] = new QCheckBox(tr(names[i]));
        m_pChannels[i]->setChecked(true);
        connect(m_pChannels[i], &QCheckBox::toggled, this, [this] { Changed(); });
        AddRow(m_pChannels[i]);
    }
    Preview();
}

void CPosterizeDlg::GetValues(COpValues& values) const {
    values.Set("LEVELS", m_pLevels->value());
    int nMask = 0;
    for (int i = 0; i < 3; ++i)
        if (m_pChannels[i]->isChecked()) nMask |= 1 << i;
    values.Set("--channels", nMask);
}
