#pragma once
// A document template: what a kind of document is called, which document,
// frame and view classes it creates, and the documents it has open.

#include "framework/CCmdTarget.h"

#include <functional>
#include <string>
#include <vector>

class CDocument;
class CMDIChildWnd;
class CView;

class CDocTemplate : public CCmdTarget {
    DECLARE_DYNAMIC(CDocTemplate)
public:
    enum DocStringIndex {
        windowTitle,
        docName,
        fileNewName,
        filterName,
        filterExt,
        regFileTypeId,
        regFileTypeName
    };
    using DocFactory = std::function<CDocument*()>;
    using FrameFactory = std::function<CMDIChildWnd*()>;
    using ViewFactory = std::function<CView*()>;

    CDocTemplate(unsigned nIDResource, DocFactory doc, FrameFactory frame, ViewFactory view,
                 const CRuntimeClass* pViewClass);
    ~CDocTemplate() override;

    unsigned GetResourceID() const { return m_nIDResource; }
    // A field of the template's string (fields separated by '\n').
    std::string GetDocString(DocStringIndex i) const;
    const CRuntimeClass* GetViewClass() const { return m_pViewClass; }

    // Opens the file in a new document with a frame (an empty path makes a new, untitled document).
    // Returns null when the document could not be loaded (the document reported why).
    virtual CDocument* OpenDocumentFile(const std::string& path, bool bMakeVisible = true);
    // A new frame with a view of this template on an existing document.
    CMDIChildWnd* CreateNewFrame(CDocument* pDoc);
    void InitialUpdateFrame(CMDIChildWnd* pFrame, CDocument* pDoc, bool bMakeVisible = true);
    // The open document of this template that has the path, or null.
    CDocument* FindOpenDocument(const std::string& path) const;

    const std::vector<CDocument*>& GetDocuments() const { return m_docs; }
    void AddDocument(CDocument* pDoc);
    void RemoveDocument(CDocument* pDoc);
    // Asks each document to save; false when the user cancelled.
    bool SaveAllModified();
    void CloseAllDocuments();

private:
    unsigned m_nIDResource;
    DocFactory m_docFactory;
    FrameFactory m_frameFactory;
    ViewFactory m_viewFactory;
    const CRuntimeClass* m_pViewClass;
    std::vector<CDocument*> m_docs;
    int m_nUntitledCount = 0;
};
