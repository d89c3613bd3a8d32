#pragma once
// Helpers shared by the enhancer's argument dialogs.

#include <memory>

class CDib;
class QDialog;
class QImage;
class QDialogButtonBox;
class QLineEdit;

// The field's integer within [nMin, nMax]; otherwise shows "Please enter a
// number between ..." and puts the focus on the field with its text selected.
bool CheckIntegerField(QLineEdit* pEdit, int nMin, int nMax, int& nValue);
// OK and Cancel for a dialog whose OK handler validates first.
QDialogButtonBox* MakeOkCancel(QDialog* pDlg);
// A nearest-neighbour copy of the picture fitted into nWidth x nHeight; null
// for a depth the scaler does not take.
std::unique_ptr<CDib> ReducedCopy(const CDib& image, int nWidth, int nHeight);
// The picture as drawn on the screen.
QImage DibToImage(CDib& image);
