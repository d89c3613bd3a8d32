#include "view/dialogs/CBrightnessContrastDlg.h"

#include "imaging/CDib.h"
#include "imaging/PointTables.h"
#include "imaging/ops/OpArgs.h"

#include <QButtonGroup>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QScrollBar>

#include <algorithm>

CBrightnessContrastDlg::CBrightnessContrastDlg(QWidget* pParent, const CDib& image)
    : CPreviewDlg(pParent, image, 2027, tr("Brightness/Contrast/Gamma")) {
    m_pBrightness = AddScrollBar(tr("&Brightness:"), 0, 100, std::clamp(image.m_nBrightness, 0, 100), 3);
    m_pContrast = AddScrollBar(tr("&Contrast:"), 0, 90, std::clamp(image.m_nContrast, 0, 90), 3);
    m_pGamma = AddScrollBar(tr("&Gamma:"), 0, kGammaStepCount - 1,
                            std::clamp(image.m_nGammaStep, 0, kGammaStepCount - 1), 3,
                            [](int n) { return QString::asprintf("%4.2lf", GetGammaValue(n)); });
    m_pBrightness->setObjectName("brightness");
    m_pContrast->setObjectName("contrast");
    m_pGamma->setObjectName("gamma");
    auto* pBox = new QGroupBox(tr("Channel"));
    auto* pLayout = new QHBoxLayout(pBox);
    auto* pGroup = new QButtonGroup(this);
    const char* names[] = {"&Red", "&Green", "&Blue", "&All Channels"};
    for (int i = 0; i < 4; ++i) {
        m_pChannels[i] = new QRadioButton(tr(names[i]));
        pGroup->addButton(m_pChannels[i], i);
        pLayout->addWidget(m_pChannels[i]);
    }
    m_pChannels[3]->setChecked(true);
    connect(pGroup, &QButtonGroup::idClicked, this, [this](int) { Changed(); });
    AddRow(pBox);
    Preview();
}

void CBrightnessContrastDlg::GetValues(COpValues& values) const {
    values.Set("B", m_pBrightness->value());
    values.Set("C", m_pContrast->value());
    values.Set("GAMMASTEP", m_pGamma->value());
    int nChannel = 3;
    for (int i = 0; i < 4; ++i)
        if (m_pChannels[i]->isChecked()) nChannel = i;
    static const char* s_words[] = {"red", "green", "blue", "all"};
    values.Set("--channel", nChannel, s_words[nChannel]);
}
