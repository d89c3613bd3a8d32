#pragma once
// Print Image: layout (fit, 4 × 6, poster, custom page), position, printed
// size, percent of the natural size and poster pages, over the common part.

#include "print/CImagePrintForm.h"
#include "print/CImagePrintSettings.h"
#include "print/ui/CPrintDlg.h"

#include <optional>

class CDib;
class QRadioButton;

class CImagePrintDlg : public CPrintDlg {
public:
    enum EField { kLeft, kTop, kWidth, kHeight, kPercent, kAcross, kDown, kFieldCount };
    // The picture is not owned and must outlive the dialog.
    CImagePrintDlg(CImagePrintSettings& settings, IProfileStore* pStore, QPrinter& printer, CDib* pDib,
                   QWidget* pParent = nullptr);
    QLineEdit* GetField(EField f) const { return m_pFields[f]; }
    QRadioButton* GetLayoutButton(int nLayout) const { return m_pLayout[nLayout]; }
    QRadioButton* GetPositionButton(bool bCenter) const { return m_pPosition[bCenter ? 0 : 1]; }
    const CImagePrintSettings& GetWorkSettings() const { return m_work; }

protected:
    CPrintSettings& Work() override { return m_work; }
    std::unique_ptr<CPrintJob> MakeJob() override;
    bool CommitFields() override;
    void FillFields() override;

private:
    // An entry in a field: taken into the form, or refused.
    bool Enter(EField f);
    void Apply();

    CImagePrintSettings& m_imageSettings;
    CImagePrintSettings m_work;
    CDib* m_pDib;
    std::optional<CImagePrintForm> m_form;
    QLineEdit* m_pFields[kFieldCount] = {};
    QRadioButton* m_pLayout[4] = {};
    QRadioButton* m_pPosition[2] = {};
    bool m_bFilling = false;
};
