#include "view/dialogs/CHueSaturationDlg.h"

#include "imaging/ops/OpArgs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QScrollBar>

namespace {
// The words under a scroll bar's ends.
QWidget* EndLabels(const QString& strLeft, const QString& strRight) {
    auto* pRow = new QWidget;
    auto* pLayout = new QHBoxLayout(pRow);
    pLayout->setContentsMargins(0, 0, 0, 0);
    pLayout->addWidget(new QLabel(strLeft));
    pLayout->addStretch();
    pLayout->addWidget(new QLabel(strRight));
    return pRow;
}
} // namespace

CHueSaturationDlg::CHueSaturationDlg(QWidget* pParent, const CDib& image)
    : CPreviewDlg(pParent, image, 2085, tr("Hue/Saturation/Lightness")) {
    m_pHue = AddScrollBar(tr("&Hue:"), -128, 127, 0, 8);
    m_pSaturation = AddScrollBar(tr("&Saturation:"), -255, 255, 0, 8);
    AddRow(EndLabels(tr("Gray"), tr("Pure")));
    m_pLightness = AddScrollBar(tr("&Lightness:"), -255, 255, 0, 8);
    AddRow(EndLabels(tr("Darker"), tr("Lighter")));
    m_pHue->setObjectName("hue");
    m_pSaturation->setObjectName("saturation");
    m_pLightness->setObjectName("lightness");
    Preview();
}

void CHueSaturationDlg::GetValues(COpValues& values) const {
    values.Set("H", m_pHue->value());
    values.Set("S", m_pSaturation->value());
    values.Set("L", m_pLightness->value());
}
