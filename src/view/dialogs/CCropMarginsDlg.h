#pragma once
// The margins cut from each side of the picture, in pixels.

#include "view/core/DialogRules.h"

#include <QDialog>

class COpValues;
class QLineEdit;

class CCropMarginsDlg : public QDialog {
    Q_OBJECT
public:
    CCropMarginsDlg(QWidget* pParent, int nWidth, int nHeight);
    // The inclusive corners of the part kept.
    void GetValues(COpValues& values) const;
    void accept() override;

    QLineEdit* Field(int nSide) const { return m_pEdits[nSide]; } // left, top, right, bottom

private:
    int m_nWidth, m_nHeight;
    QLineEdit* m_pEdits[4];
    CCropMargins m_margins;
};
