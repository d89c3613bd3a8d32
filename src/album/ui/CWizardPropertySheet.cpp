#include "album/ui/CWizardPropertySheet.h"

#include "album/ui/CBaseWizardPropertyPage.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"

#include <QFrame>
#include <QHBoxLayout>
#include <QPushButton>
#include <QStackedWidget>
#include <QVBoxLayout>

CWizardPropertySheet::CWizardPropertySheet(QWidget* parent) : QDialog(parent) {
    setObjectName("albumWizardSheet");
    m_pStack = new QStackedWidget(this);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    m_pBack = new QPushButton("< &Back", this);
    m_pNext = new QPushButton("&Next >", this);
    m_pFinish = new QPushButton("&Finish", this);
    m_pCancel = new QPushButton("Cancel", this);
    m_pHelp = new QPushButton("&Help", this);
    for (QPushButton* b : {m_pBack, m_pNext, m_pFinish, m_pCancel, m_pHelp}) b->setAutoDefault(false);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(m_pBack);
    buttons->addWidget(m_pNext);
    buttons->addWidget(m_pFinish);
    buttons->addSpacing(12);
    buttons->addWidget(m_pCancel);
    buttons->addWidget(m_pHelp);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pStack, 1);
    layout->addWidget(line);
    layout->addLayout(buttons);

    connect(m_pBack, &QPushButton::clicked, this, [this] { OnBack(); });
    connect(m_pNext, &QPushButton::clicked, this, [this] { OnNext(); });
    connect(m_pFinish, &QPushButton::clicked, this, [this] {
        if (CBaseWizardPropertyPage* p = GetActivePage(); p && !p->OnWizardNext()) return;
        accept();
    });
    connect(m_pCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_pHelp, &QPushButton::clicked, this, [this] {
        if (CBaseWizardPropertyPage* p = GetActivePage()) GetUserPrompt().ShowHelp(p->GetDialogId());
    });
}

void CWizardPropertySheet::AddPage(CBaseWizardPropertyPage* pPage) {
    pPage->SetSheet(this);
    m_pages.push_back(pPage);
    m_pStack->addWidget(pPage);
}

CBaseWizardPropertyPage* CWizardPropertySheet::GetActivePage() const {
    return m_nActive >= 0 && m_nActive < static_cast<int>(m_pages.size())
               ? m_pages[static_cast<size_t>(m_nActive)]
               : nullptr;
}

int CWizardPropertySheet::exec() {
    if (!m_pages.empty()) SetActive(0);
    return QDialog::exec();
}

void CWizardPropertySheet::SetBackEnabled(bool bEnabled) {
    m_bBackAllowed = bEnabled;
    UpdateButtons();
}

void CWizardPropertySheet::SetActive(int nIndex) {
    m_nActive = nIndex;
    CBaseWizardPropertyPage* p = GetActivePage();
    m_pStack->setCurrentWidget(p);
    setWindowTitle(QString::fromStdString(LoadResString(p->GetTitleId())));
    p->OnSetActive();
    UpdateButtons();
}

void CWizardPropertySheet::OnBack() {
    if (m_nActive > 0 && m_bBackAllowed) SetActive(m_nActive - 1);
}

void CWizardPropertySheet::OnNext() {
    CBaseWizardPropertyPage* p = GetActivePage();
    if (!p || m_nActive + 1 >= static_cast<int>(m_pages.size())) return;
    if (!p->OnWizardNext()) return;
    SetActive(m_nActive + 1);
}

void CWizardPropertySheet::UpdateButtons() {
    const bool bLast = m_nActive + 1 == static_cast<int>(m_pages.size());
    m_pBack->setEnabled(m_nActive > 0 && m_bBackAllowed);
    m_pNext->setEnabled(!bLast);
    m_pFinish->setEnabled(bLast);
    (bLast ? m_pFinish : m_pNext)->setDefault(true);
    (bLast ? m_pNext : m_pFinish)->setDefault(false);
}
