#include "view/dialogs/DialogFields.h"

#include "framework/UserPrompt.h"
#include "view/core/DialogRules.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLineEdit>

bool CheckIntegerField(QLineEdit* pEdit, int nMin, int nMax, int& nValue) {
    std::string strError;
    if (ValidateIntegerField(pEdit->text().toStdString(), nMin, nMax, nValue, strError)) return true;
    GetUserPrompt().MessageBox(strError, MB_OK | MB_ICONEXCLAMATION);
    pEdit->setFocus();
    pEdit->selectAll();
    return false;
}

QDialogButtonBox* MakeOkCancel(QDialog* pDlg) {
    auto* pButtons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel);
    QObject::connect(pButtons, &QDialogButtonBox::accepted, pDlg, &QDialog::accept);
    QObject::connect(pButtons, &QDialogButtonBox::rejected, pDlg, &QDialog::reject);
    return pButtons;
}
