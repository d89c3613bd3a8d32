#pragma once
// The application object of the windowed program: its templates, main frame,
// recent files, settings store, idle processing and message pre-filter.

#include "framework/CCmdTarget.h"
#include "framework/CRecentFileList.h"

#include <QObject>
#include <memory>
#include <string>
#include <vector>

class QEvent;
class CDocTemplate;
class CDocument;
class CMDIFrameWnd;
class IProfileStore;

class CWinApp : public CCmdTarget {
public:
    CWinApp();
    ~CWinApp() override;

    virtual bool InitApplication() { return true; }
    virtual bool InitInstance() { return true; }
    virtual int ExitInstance() { return 0; }
    // More idle time wanted?
    virtual bool OnIdle(long lCount);
    // A keyboard or mouse event before it reaches its window; true eats it.
    virtual bool PreTranslateMessage(QEvent* pEvent);
    virtual CDocument* OpenDocumentFile(const std::string& path);

    // The message loop with idle processing; returns the exit code.
    int Run();

    void AddDocTemplate(CDocTemplate* pTemplate); // owned
    const std::vector<std::unique_ptr<CDocTemplate>>& GetTemplates() const { return m_templates; }
    bool SaveAllModified();
    void CloseAllDocuments();

    void AddToRecentFileList(const std::string& path);
    void OpenRecentFile(size_t index);

    CMDIFrameWnd* m_pMainWnd = nullptr;
    IProfileStore* m_pStore = nullptr;
    CRecentFileList m_recentFiles;

protected:
    std::vector<std::unique_ptr<CDocTemplate>> m_templates;

private:
    class CEventHook;
    std::unique_ptr<CEventHook> m_pHook;
};

CWinApp* AfxGetApp();
