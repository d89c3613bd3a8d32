#pragma once
// Extra margins added to the printer's own, each within one inch either way,
// with a test page that shows where they fall on paper.

#include "framework/CRect.h"

#include <QDialog>

class CMeasureUnit;
class QLineEdit;
class QPrinter;

class CExtraMarginsDlg : public QDialog {
public:
    CExtraMarginsDlg(const CRect& rcMargins, const CMeasureUnit& unit, QPrinter& printer,
                     QWidget* pParent = nullptr);
    const CRect& GetMargins() const { return m_rcMargins; }
    QLineEdit* GetEdit(int nSide) const { return m_pEdits[nSide]; } // left, top, right, bottom
    void accept() override;
    // "Te&st Printer": the fields checked, then the test page printed.
    bool TestPrinter();

private:
    bool ReadFields(CRect& rc);
    CRect m_rcMargins;
    const CMeasureUnit& m_unit;
    QPrinter& m_printer;
    QLineEdit* m_pEdits[4];
};
