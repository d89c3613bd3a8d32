#include "album/ui/CAlbWizTnSizeDlg.h"

#include "album/AlbumScales.h"
#include "album/ui/WizardPictures.h"
#include "framework/DisplayCaps.h"

#include <QButtonGroup>
#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

CAlbWizTnSizeDlg::CAlbWizTnSizeDlg(uint32_t nTitle, int nInitialScale, QWidget* parent)
    : CBaseWizardPropertyPage(1289, nTitle, parent) {
    m_pGroup = new QButtonGroup(this);
    auto* radios = new QVBoxLayout;
    radios->addWidget(new QLabel("Choose the size of the album's thumbnails:", this));
    const char* names[] = {"&Tiny", "&Small", "&Medium", "&Large"};
    for (int i = 0; i < kAlbumScaleCount; ++i) {
        auto* r = new QRadioButton(names[i], this);
        r->setObjectName(QString("radio%1").arg(3172 + i));
        m_pGroup->addButton(r, i);
        radios->addWidget(r);
    }
    radios->addStretch(1);
    // The preview is a flat button that shows the sample at the chosen size.
    m_pPreview = new QPushButton(this);
    m_pPreview->setObjectName("preview3186");
    m_pPreview->setFlat(true);
    m_pPreview->setFocusPolicy(Qt::NoFocus);
    const CSize largest = GetThumbnailSize(kAlbumScaleCount - 1);
    m_pPreview->setMinimumSize(largest.cx + 16, largest.cy + 16);
    auto* layout = new QHBoxLayout(this);
    layout->addLayout(radios);
    layout->addWidget(m_pPreview, 1, Qt::AlignCenter);
    SetScale(nInitialScale);
    connect(m_pGroup, &QButtonGroup::idToggled, this, [this](int, bool bOn) {
        if (bOn) UpdatePreview();
    });
}

int CAlbWizTnSizeDlg::GetScale() const {
    return std::max(0, m_pGroup->checkedId());
}

void CAlbWizTnSizeDlg::SetScale(int nScale) {
    if (nScale < 0 || nScale >= kAlbumScaleCount) nScale = 1;
    m_pGroup->button(nScale)->setChecked(true);
    UpdatePreview();
}

void CAlbWizTnSizeDlg::UpdatePreview() {
    QImage sample = DrawSizeSample(GetScale());
    // A palette display shows the sample through a palette made for it.
    if (GetDisplayCaps().nBitsPixel <= 8)
        sample = sample.convertToFormat(QImage::Format_Indexed8, Qt::ThresholdDither | Qt::PreferDither);
    m_pPreview->setIcon(QPixmap::fromImage(sample));
    m_pPreview->setIconSize(sample.size());
}
