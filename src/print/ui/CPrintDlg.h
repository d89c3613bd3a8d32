#pragma once
// The common part of the Print Image and Print Album dialogs: the printer
// (a system printer or a PDF file), copies and collation, the header, footer,
// page range and extra margins, the live page miniature and the status bar.
// The dialog owns the job it shows; its own controls change the settings on
// OK only, while the header, footer and margins change them at once.

#include "print/CPrintInfo.h"
#include "print/PrintUnits.h"

#include <QDialog>
#include <QString>
#include <memory>
#include <string>

class CPrintJob;
class CPrintSettings;
class CPrintTextStyle;
class IProfileStore;
class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPrinter;
class QPushButton;
class QSpinBox;
class QVBoxLayout;

class CPrintDlg : public QDialog {
public:
    // settings: the run's settings object; store: where it is loaded from
    // when the dialog opens and saved to when it closes (none in tests).
    CPrintDlg(CPrintSettings& settings, IProfileStore* pStore, QPrinter& printer, QWidget* pParent);
    ~CPrintDlg() override;

    // Preview set-up: the title becomes the given text, OK becomes "Preview".
    void SetPreviewSetup(const std::string& title);
    CPrintJob* GetJob() const { return m_pJob.get(); }
    std::unique_ptr<CPrintJob> TakeJob();
    QPrinter& GetPrinter() const { return m_printer; }
    unsigned GetFromPage() const { return m_nFromPage; }
    unsigned GetToPage() const { return m_nToPage; }
    int GetPageCount() const { return m_nPageCount; }
    // The PDF file printed to; asked for on OK when the PDF device is chosen.
    void SetPdfFileName(const QString& name) { m_pdfFileName = name; }
    bool IsPdfChosen() const;
    void ChoosePdf();

    // For the sub-dialogs and tests.
    QPushButton* GetOkButton() const { return m_pOk; }
    QPushButton* GetCancelButton() const { return m_pCancel; }
    QPushButton* GetMiniature() const { return m_pMiniature; }
    QComboBox* GetPrinterBox() const { return m_pPrinterBox; }
    QSpinBox* GetCopies() const { return m_pCopies; }
    QCheckBox* GetCollate() const { return m_pCollate; }
    QLabel* GetPane(int i) const { return m_pPanes[i]; }
    int GetMiniaturePaints() const { return m_nMiniaturePaints; }
    void CountMiniaturePaint() { ++m_nMiniaturePaints; }
    void OnNotes(bool bFooter);
    void OnPageRange();
    void OnPageSize();
    void OnSetup();

    void accept() override;
    void done(int nResult) override;

protected:
    // The working copy of the settings the job and the controls use; it goes
    // to the run's settings on OK.
    virtual CPrintSettings& Work() = 0;
    // The job of the current settings (replaced when the kind changes).
    virtual std::unique_ptr<CPrintJob> MakeJob() = 0;
    // OK: the fields checked and stored in the settings; false keeps the dialog open.
    virtual bool CommitFields() = 0;
    // The fields shown again after the job was laid out anew.
    virtual void FillFields() {}
    // Lays out the controls: the derived dialog's own above the common ones.
    void Build(QWidget* pOwnControls);
    // A new job of the current settings, laid out, shown.
    void ReplaceJob();
    // The job laid out again on the printer; panes and miniature follow.
    void Relayout();
    // A refused entry: the message, the field's text selected.
    void Refuse(QLineEdit* pEdit, const std::string& strError);
    void MarkClose();

    CPrintSettings& m_settings;
    IProfileStore* m_pStore;
    QPrinter& m_printer;
    const CMeasureUnit& m_unit;
    std::unique_ptr<CPrintJob> m_pJob;

private:
    void UpdatePanes();
    void SelectPrinter(int nIndex);

    unsigned m_nFromPage = 0; // 0: not chosen yet
    unsigned m_nToPage = 0;
    int m_nPageCount = 1;
    int m_nMiniaturePaints = 0;
    bool m_bRefusing = false;
    QString m_pdfFileName;
    QComboBox* m_pPrinterBox = nullptr;
    QSpinBox* m_pCopies = nullptr;
    QCheckBox* m_pCollate = nullptr;
    QPushButton* m_pOk = nullptr;
    QPushButton* m_pCancel = nullptr;
    QPushButton* m_pMiniature = nullptr;
    QLabel* m_pPanes[3] = {};
};
