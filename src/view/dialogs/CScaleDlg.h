#pragma once
// The new size of the picture in pixels or percent, with the two directions
// linked ("&Fixed") or not ("&Arbitrary"), and the scaling quality.

#include "view/core/CScaleFields.h"

#include <QDialog>

class COpValues;
class QLineEdit;
class QRadioButton;

class CScaleDlg : public QDialog {
    Q_OBJECT
public:
    CScaleDlg(QWidget* pParent, int nWidth, int nHeight, int nBitCount);
    void GetValues(COpValues& values) const;
    void accept() override;

    QLineEdit* Field(CScaleFields::EField field) const { return m_pEdits[field]; }

private:
    CScaleFields m_fields;
    QLineEdit* m_pEdits[CScaleFields::FieldCount];
    QRadioButton* m_pQuality[3]; // low, medium, high
    int m_nNewWidth = 0, m_nNewHeight = 0;
};
