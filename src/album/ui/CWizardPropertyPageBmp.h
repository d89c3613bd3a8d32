#pragma once
// A wizard page with a picture on the left and three or four texts on the
// right (the introduction and finish pages).

#include "album/ui/CBaseWizardPropertyPage.h"

#include <vector>

class QLabel;

class CWizardPropertyPageBmp : public CBaseWizardPropertyPage {
public:
    CWizardPropertyPageBmp(uint32_t nDialog, uint32_t nTitle, uint32_t nBitmap,
                           const std::vector<uint32_t>& texts, QWidget* parent = nullptr);
    // The text controls 3206, 3207, 3208 and the fourth, as shown.
    const std::vector<QLabel*>& TextLabels() const { return m_texts; }

private:
    std::vector<QLabel*> m_texts;
};
