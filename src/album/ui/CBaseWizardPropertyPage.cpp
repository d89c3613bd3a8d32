#include "album/ui/CBaseWizardPropertyPage.h"

CBaseWizardPropertyPage::CBaseWizardPropertyPage(uint32_t nDialog, uint32_t nTitle, QWidget* parent)
    : QWidget(parent), m_nDialog(nDialog), m_nTitle(nTitle) {
    setObjectName(QString("page%1").arg(nDialog));
}
