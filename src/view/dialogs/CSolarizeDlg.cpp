#include "view/dialogs/CSolarizeDlg.h"

#include "imaging/ops/OpArgs.h"

#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QScrollBar>

CSolarizeDlg::CSolarizeDlg(QWidget* pParent, const CDib& image)
    : CPreviewDlg(pParent, image, 2030, tr("Solarize")) {
    m_pThreshold = AddScrollBar(tr("&Threshold:"), 0, 255, 127, 8);
    m_pThreshold->setObjectName("threshold");
    auto* pBox = new QGroupBox(tr("Method"));
    auto* pLayout = new QHBoxLayout(pBox);
    m_pLighten = new QRadioButton(tr("&Lighten"));
    m_pDarken = new QRadioButton(tr("&Darken"));
    m_pLighten->setChecked(true);
    pLayout->addWidget(m_pLighten);
    pLayout->addWidget(m_pDarken);
    connect(m_pDarken, &QRadioButton::toggled, this, [this] { Changed(); });
    AddRow(pBox);
    Preview();
}

void CSolarizeDlg::GetValues(COpValues& values) const {
    values.Set("THRESHOLD", m_pThreshold->value());
    if (m_pDarken->isChecked()) values.Set("--darken", 1);
}
