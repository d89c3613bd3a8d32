#include "print/ui/CNotesDlg.h"

#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "print/CPrintTextStyle.h"
#include "print/ui/PrintRun.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QLineEdit>
#include <QVBoxLayout>

CNotesDlg::CNotesDlg(CPrintTextStyle& style, const std::string& title, QWidget* pParent)
    : QDialog(pParent), m_style(style), m_title(title) {
    setWindowTitle(QString::fromStdString(title));
    SetPrintDialogHelp(this, 1324);
    auto* layout = new QVBoxLayout(this);
    m_pEdit = new QLineEdit(QString::fromStdString(style.m_strText), this);
    m_pEdit->setMaxLength(255);
    m_pEdit->setMinimumWidth(320);
    m_pInclude = new QCheckBox("&Include in Printout", this);
    m_pInclude->setChecked(style.m_bShow != 0);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(m_pEdit);
    layout->addWidget(m_pInclude);
    layout->addWidget(buttons);
}

void CNotesDlg::accept() {
    const std::string text = m_pEdit->text().toStdString();
    // Text that would not print: offer to go back and include it.
    if (!text.empty() && !m_pInclude->isChecked() &&
        GetUserPrompt().MessageBox(FormatResString1(1394, m_title), MB_YESNO | MB_ICONQUESTION) == IDYES) {
        m_pInclude->setFocus();
        return;
    }
    m_style.m_strText = text;
    m_style.m_bShow = m_pInclude->isChecked() ? 1 : 0;
    QDialog::accept();
}
