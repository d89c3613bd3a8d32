#include "album/ui/CWizardPropertyPageBmp.h"

#include "album/ui/WizardPictures.h"
#include "framework/StringTable.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPixmap>
#include <QVBoxLayout>

CWizardPropertyPageBmp::CWizardPropertyPageBmp(uint32_t nDialog, uint32_t nTitle, uint32_t nBitmap,
                                               const std::vector<uint32_t>& texts, QWidget* parent)
    : CBaseWizardPropertyPage(nDialog, nTitle, parent) {
    auto* picture = new QLabel(this);
    picture->setObjectName("picture");
    picture->setPixmap(QPixmap::fromImage(DrawWizardBitmap(nBitmap)));
    picture->setAlignment(Qt::AlignTop);
    auto* column = new QVBoxLayout;
    int nControl = 3206;
    for (uint32_t id : texts) {
        // A text without a string shows empty.
        auto* label = new QLabel(QString::fromStdString(LoadResString(id)), this);
        label->setObjectName(QString("text%1").arg(nControl++));
        label->setWordWrap(true);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        column->addWidget(label);
        m_texts.push_back(label);
    }
    column->addStretch(1);
    auto* layout = new QHBoxLayout(this);
    layout->addWidget(picture);
    layout->addSpacing(12);
    layout->addLayout(column, 1);
}
