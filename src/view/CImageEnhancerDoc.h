#pragma once
// The picture document: one CDib, loaded from a photo file or any picture
// the import layer reads.

#include "framework/qt/CDocument.h"

#include <functional>
#include <memory>
#include <string>

class CDib;

class CImageEnhancerDoc : public CDocument {
    DECLARE_DYNAMIC(CImageEnhancerDoc)
public:
    CImageEnhancerDoc();
    ~CImageEnhancerDoc() override;

    bool OnOpenDocument(const std::string& path) override;
    void DeleteContents() override;

    CDib* GetDib() const { return m_pDib.get(); }
    void SetDib(std::unique_ptr<CDib> pDib);

    // How pictures are read; the program sets the import layer here. The
    // default reads BMP files. Throws the exception of the failure.
    static std::function<std::unique_ptr<CDib>(const std::string&)> s_loadPicture;

private:
    std::unique_ptr<CDib> m_pDib;
};
