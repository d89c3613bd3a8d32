#pragma once
// The picture document: one CDib, loaded from a photo file or any picture
// the import layer reads, saved through the export layer in any save type.

#include "view/CBaseDoc.h"

#include <functional>
#include <memory>
#include <string>

class CDib;

class CImageEnhancerDoc : public CBaseDoc {
    DECLARE_DYNAMIC(CImageEnhancerDoc)
public:
    CImageEnhancerDoc();
    ~CImageEnhancerDoc() override;

    bool OnOpenDocument(const std::string& path) override;
    bool OnSaveDocument(const std::string& path) override;
    void DeleteContents() override;

    virtual CDib* GetDib() const { return m_pDib.get(); }
    // Only replaces the pointer (the undo buffer owns the old image).
    virtual void SetDibPointer(CDib* pDib);
    // Installs a new image: a modification.
    void SetDib(std::unique_ptr<CDib> pDib);

    // One more change; Undo takes one away and the flag follows the count.
    void MarkModified();
    void UndoModified();
    int GetModifyCount() const { return m_nModifyCount; }
    int GetFileFormat() const { return m_nFileFormat; }
    int GetSaveFormat() const { return m_nSaveFormat; }
    void SetSaveFormat(int nSaveType) { m_nSaveFormat = nSaveType; }

    // Save: under the path when it can be opened for reading and writing,
    // else as Save As. Save As asks for a name and a save type.
    bool OnFileSave();
    bool OnFileSaveAs();

    // How pictures are read: through the import layer by default. Throws the
    // exception of the failure. The format code goes to *pFormat.
    static std::function<std::unique_ptr<CDib>(const std::string&, int* pFormat)> s_loadPicture;
    // Asks for a file name and save type (empty: cancelled). Tests replace it.
    static std::function<std::string(const std::string& proposal, int nBits, int& nSaveType)> s_askExportName;

private:
    void UpdateSaveFormat();
    // After a photo file is written: its thumbnails and the open albums follow.
    void PhotoFileChanged(const std::string& path);

    std::unique_ptr<CDib> m_pDib;
    int m_nModifyCount = 0;
    int m_nFileFormat = 0;
    int m_nSaveFormat = 666;
};
