#include "print/ui/CPageRangeDlg.h"

#include "framework/UserPrompt.h"
#include "print/PrintUnits.h"
#include "print/ui/PrintRun.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <algorithm>

CPageRangeDlg::CPageRangeDlg(unsigned nFrom, unsigned nTo, unsigned nMax, QWidget* pParent)
    : QDialog(pParent), m_nMax(std::max(nMax, 1u)) {
    m_nFrom = std::clamp(nFrom, 1u, m_nMax);
    m_nTo = std::clamp(nTo, m_nFrom, m_nMax);
    setWindowTitle("Page Range");
    SetPrintDialogHelp(this, 1382);
    auto* grid = new QGridLayout(this);
    m_pAll = new QRadioButton("&All", this);
    m_pPages = new QRadioButton("&Pages", this);
    m_pFrom = new QLineEdit(QString::number(m_nFrom), this);
    m_pTo = new QLineEdit(QString::number(m_nTo), this);
    grid->addWidget(m_pAll, 0, 0, 1, 4);
    grid->addWidget(m_pPages, 1, 0);
    grid->addWidget(new QLabel("&From:", this), 1, 1);
    grid->addWidget(m_pFrom, 1, 2);
    grid->addWidget(new QLabel("&To:", this), 1, 3);
    grid->addWidget(m_pTo, 1, 4);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    grid->addWidget(buttons, 2, 0, 1, 5);
    (m_nFrom == 1 && m_nTo == m_nMax ? m_pAll : m_pPages)->setChecked(true);
    connect(m_pAll, &QRadioButton::toggled, this, [this] { UpdateEnable(); });
    UpdateEnable();
}

void CPageRangeDlg::UpdateEnable() {
    m_pFrom->setEnabled(m_pPages->isChecked());
    m_pTo->setEnabled(m_pPages->isChecked());
}

void CPageRangeDlg::accept() {
    if (m_pAll->isChecked()) {
        m_nFrom = 1;
        m_nTo = m_nMax;
        QDialog::accept();
        return;
    }
    std::string strError;
    int nFrom = 0, nTo = 0;
    if (!ValidateInteger(m_pFrom->text().toStdString(), 1, static_cast<int>(m_nMax), nFrom, strError)) {
        GetUserPrompt().MessageBox(strError, MB_OK | MB_ICONEXCLAMATION);
        m_pFrom->setFocus();
        m_pFrom->selectAll();
        return;
    }
    if (!ValidateInteger(m_pTo->text().toStdString(), nFrom, static_cast<int>(m_nMax), nTo, strError)) {
        GetUserPrompt().MessageBox(strError, MB_OK | MB_ICONEXCLAMATION);
        m_pTo->setFocus();
        m_pTo->selectAll();
        return;
    }
    m_nFrom = static_cast<unsigned>(nFrom);
    m_nTo = static_cast<unsigned>(nTo);
    QDialog::accept();
}
