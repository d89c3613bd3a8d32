#pragma once
// Helpers shared by the enhancer's argument dialogs.

class QDialog;
class QDialogButtonBox;
class QLineEdit;

// The field's integer within [nMin, nMax]; otherwise shows "Please enter a
// number between ..." and puts the focus on the field with its text selected.
bool CheckIntegerField(QLineEdit* pEdit, int nMin, int nMax, int& nValue);
// OK and Cancel for a dialog whose OK handler validates first.
QDialogButtonBox* MakeOkCancel(QDialog* pDlg);
