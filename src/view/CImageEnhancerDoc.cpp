#include "view/CImageEnhancerDoc.h"

#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"

IMPLEMENT_DYNAMIC(CImageEnhancerDoc, CDocument)

std::function<std::unique_ptr<CDib>(const std::string&)> CImageEnhancerDoc::s_loadPicture =
    [](const std::string& path) { return std::make_unique<CDib>(path); };

CImageEnhancerDoc::CImageEnhancerDoc() = default;
CImageEnhancerDoc::~CImageEnhancerDoc() = default;

bool CImageEnhancerDoc::OnOpenDocument(const std::string& path) {
    DeleteContents();
    try {
        GetUserPrompt().BeginWaitCursor();
        m_pDib = s_loadPicture(path);
        GetUserPrompt().EndWaitCursor();
    } catch (...) {
        GetUserPrompt().EndWaitCursor();
        // The picture could not be read: the message names the file.
        GetUserPrompt().MessageBox(FormatResString1(IDS_BAD_IMAGE, path), MB_OK | MB_ICONSTOP);
        return false;
    }
    SetModifiedFlag(false);
    return m_pDib != nullptr;
}

void CImageEnhancerDoc::DeleteContents() {
    m_pDib.reset();
}

void CImageEnhancerDoc::SetDib(std::unique_ptr<CDib> pDib) {
    m_pDib = std::move(pDib);
    UpdateAllViews(nullptr);
}
