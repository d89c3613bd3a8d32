#pragma once
// The album wizard's frame: its pages one at a time, with Back, Next,
// Finish, Cancel and Help; the caption is the shown page's title.

#include <QDialog>
#include <vector>

class CBaseWizardPropertyPage;
class QPushButton;
class QStackedWidget;

class CWizardPropertySheet : public QDialog {
public:
    explicit CWizardPropertySheet(QWidget* parent = nullptr);

    // The sheet shows the pages; it does not own them.
    void AddPage(CBaseWizardPropertyPage* pPage);
    int GetActiveIndex() const { return m_nActive; }
    CBaseWizardPropertyPage* GetActivePage() const;
    // A page has the Back button changed (the floppy page after copying).
    void SetBackEnabled(bool bEnabled);

    QPushButton* BackButton() const { return m_pBack; }
    QPushButton* NextButton() const { return m_pNext; }
    QPushButton* FinishButton() const { return m_pFinish; }
    QPushButton* CancelButton() const { return m_pCancel; }
    QPushButton* HelpButton() const { return m_pHelp; }

    // Shows the first page and runs modally; Accepted when finished.
    int exec() override;

private:
    void SetActive(int nIndex);
    void OnBack();
    void OnNext();
    void UpdateButtons();

    std::vector<CBaseWizardPropertyPage*> m_pages;
    int m_nActive = -1;
    bool m_bBackAllowed = true;
    QStackedWidget* m_pStack;
    QPushButton* m_pBack;
    QPushButton* m_pNext;
    QPushButton* m_pFinish;
    QPushButton* m_pCancel;
    QPushButton* m_pHelp;
};
