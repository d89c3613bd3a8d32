#pragma once
// A page of the album wizard: a dialog page with the string id of its
// caption. The sheet asks the page before it moves on.

#include <QWidget>
#include <cstdint>

class CWizardPropertySheet;

class CBaseWizardPropertyPage : public QWidget {
public:
    CBaseWizardPropertyPage(uint32_t nDialog, uint32_t nTitle, QWidget* parent = nullptr);

    uint32_t GetDialogId() const { return m_nDialog; }
    uint32_t GetTitleId() const { return m_nTitle; }
    // Called each time the page is shown.
    virtual void OnSetActive() {}
    // False keeps the sheet on this page.
    virtual bool OnWizardNext() { return true; }

    void SetSheet(CWizardPropertySheet* pSheet) { m_pSheet = pSheet; }
    CWizardPropertySheet* GetSheet() const { return m_pSheet; }

private:
    uint32_t m_nDialog;
    uint32_t m_nTitle;
    CWizardPropertySheet* m_pSheet = nullptr;
};
