#pragma once
// A document: the data one or more views show. It owns its data; views ask it.

#include "framework/CCmdTarget.h"

#include <string>
#include <vector>

class CView;
class CDocTemplate;
class CMDIChildWnd;

class CDocument : public CCmdTarget {
    DECLARE_DYNAMIC(CDocument)
public:
    ~CDocument() override;

    const std::string& GetTitle() const { return m_strTitle; }
    virtual void SetTitle(const std::string& title);
    const std::string& GetPathName() const { return m_strPathName; }
    // Sets the path (made absolute by the caller), the title from its file
    // name, and records it in the recent-file list.
    virtual void SetPathName(const std::string& path, bool bAddToMRU = true);
    bool IsModified() const { return m_bModified; }
    void SetModifiedFlag(bool bModified = true) { m_bModified = bModified; }
    CDocTemplate* GetDocTemplate() const { return m_pDocTemplate; }

    const std::vector<CView*>& GetViews() const { return m_views; }
    void AddView(CView* pView);
    void RemoveView(CView* pView);
    void UpdateAllViews(CView* pSender, long lHint = 0, CObject* pHint = nullptr);

    virtual bool OnNewDocument();
    virtual bool OnOpenDocument(const std::string& path);
    virtual bool OnSaveDocument(const std::string& path);
    virtual void OnCloseDocument(); // closes every frame of the document, then deletes it
    virtual void DeleteContents() {}
    // Asks "Save changes to %1?" when modified; false when the user cancels.
    virtual bool SaveModified();
    // A frame is about to close: only the last frame of a document asks to save.
    virtual bool CanCloseFrame(CMDIChildWnd* pFrame);
    // Saves to the known path, or asks for one.
    virtual bool DoFileSave();
    // Saves under a new name (empty: ask the user); false when cancelled or failed.
    virtual bool DoSave(const std::string& path, bool bReplace = true);

protected:
    friend class CDocTemplate;
    std::string m_strTitle;
    std::string m_strPathName;
    bool m_bModified = false;
    CDocTemplate* m_pDocTemplate = nullptr;
    std::vector<CView*> m_views;
    bool m_bClosing = false;
};
