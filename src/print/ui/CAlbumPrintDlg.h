#pragma once
// Print Album: a sheet of thumbnails (rows × columns) or a text listing, of
// every photo or of the selection, with index numbers, titles or descriptions.

#include "print/CAlbumPrintSettings.h"
#include "print/ui/CPrintDlg.h"

#include <vector>

class IAlbumPrintSource;
class QRadioButton;

class CAlbumPrintDlg : public CPrintDlg {
public:
    // The source is not owned and must outlive the dialog; selection: the
    // selected photos in selection order.
    CAlbumPrintDlg(CAlbumPrintSettings& settings, IProfileStore* pStore, QPrinter& printer,
                   IAlbumPrintSource& source, std::vector<int> selection, int nContactPreviewSource,
                   QWidget* pParent = nullptr);
    QRadioButton* GetThumbnailsButton() const { return m_pThumbnails; }
    QRadioButton* GetTextButton() const { return m_pText; }
    QRadioButton* GetSelectedButton() const { return m_pSelected; }
    QRadioButton* GetAllButton() const { return m_pAll; }
    QLineEdit* GetRowsEdit() const { return m_pRows; }
    QLineEdit* GetColumnsEdit() const { return m_pColumns; }
    QCheckBox* GetIndexBox() const { return m_pIndex; }
    QCheckBox* GetTitlesBox() const { return m_pTitles; }
    QCheckBox* GetDescriptionsBox() const { return m_pDescriptions; }
    const CAlbumPrintSettings& GetWorkSettings() const { return m_work; }

protected:
    CPrintSettings& Work() override { return m_work; }
    std::unique_ptr<CPrintJob> MakeJob() override;
    bool CommitFields() override;
    void FillFields() override;

private:
    // Rows or columns entered: 1..12, or refused.
    bool EnterGrid(QLineEdit* pEdit, int& nValue);
    void UpdateMode();

    CAlbumPrintSettings& m_albumSettings;
    CAlbumPrintSettings m_work;
    IAlbumPrintSource& m_source;
    std::vector<int> m_selection;
    int m_nContactPreviewSource;
    QRadioButton* m_pThumbnails;
    QRadioButton* m_pText;
    QRadioButton* m_pSelected;
    QRadioButton* m_pAll;
    QLineEdit* m_pRows;
    QLineEdit* m_pColumns;
    QCheckBox* m_pIndex;
    QCheckBox* m_pTitles;
    QCheckBox* m_pDescriptions;
};
