#pragma once
// The wizard page for the new album's thumbnail size, with a preview of a
// sample picture at the chosen size.

#include "album/ui/CBaseWizardPropertyPage.h"

class QButtonGroup;
class QPushButton;

class CAlbWizTnSizeDlg : public CBaseWizardPropertyPage {
public:
    CAlbWizTnSizeDlg(uint32_t nTitle, int nInitialScale, QWidget* parent = nullptr);
    int GetScale() const;
    void SetScale(int nScale);
    QPushButton* Preview() const { return m_pPreview; }

private:
    void UpdatePreview();

    QButtonGroup* m_pGroup;
    QPushButton* m_pPreview;
};
