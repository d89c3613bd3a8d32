#include "framework/qt/CWinApp.h"

#include "framework/qt/CDocTemplate.h"
#include "framework/qt/CDocument.h"
#include "framework/qt/CMDIFrameWnd.h"

#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QEvent>
#include <QFileInfo>
#include <QTimer>

namespace {
CWinApp* g_pApp = nullptr;
}

CWinApp* AfxGetApp() {
    return g_pApp;
}

// Idle processing runs when the event loop is about to wait; the message
// pre-filter is an application-wide event filter.
class CWinApp::CEventHook : public QObject {
public:
    explicit CEventHook(CWinApp* pApp) : m_pApp(pApp) {
        m_wake.setSingleShot(true);
        m_wake.setInterval(100);
    }

    void Attach() {
        qApp->installEventFilter(this);
        if (auto* d = QAbstractEventDispatcher::instance()) {
            QObject::connect(d, &QAbstractEventDispatcher::aboutToBlock, this, [this] { Idle(); });
            QObject::connect(d, &QAbstractEventDispatcher::awake, this, [this] { m_bAwake = true; });
        }
    }

    bool eventFilter(QObject* pWatched, QEvent* pEvent) override {
        switch (pEvent->type()) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress:
            if (pWatched->isWidgetType() && m_pApp->PreTranslateMessage(pEvent)) return true;
            break;
        default:
            break;
        }
        return QObject::eventFilter(pWatched, pEvent);
    }

private:
    void Idle() {
        if (m_bInIdle) return;
        m_bInIdle = true;
        if (m_bAwake) m_nCount = 0;
        m_bAwake = false;
        // While more idle time is wanted, wake the loop again shortly.
        if (m_pApp->OnIdle(m_nCount++)) m_wake.start();
        m_bInIdle = false;
    }

    CWinApp* m_pApp;
    QTimer m_wake;
    long m_nCount = 0;
    bool m_bAwake = true;
    bool m_bInIdle = false;
};

CWinApp::CWinApp() : m_pHook(std::make_unique<CEventHook>(this)) {
    g_pApp = this;
}

CWinApp::~CWinApp() {
    if (g_pApp == this) g_pApp = nullptr;
}

bool CWinApp::OnIdle(long) {
    return false;
}

bool CWinApp::PreTranslateMessage(QEvent*) {
    return false;
}

int CWinApp::Run() {
    m_pHook->Attach();
    int code = QApplication::exec();
    int nExit = ExitInstance();
    return nExit ? nExit : code;
}

void CWinApp::AddDocTemplate(CDocTemplate* pTemplate) {
    m_templates.emplace_back(pTemplate);
}

CDocument* CWinApp::OpenDocumentFile(const std::string& path) {
    if (m_templates.empty()) return nullptr;
    return m_templates.front()->OpenDocumentFile(path);
}

bool CWinApp::SaveAllModified() {
    for (auto& t : m_templates)
        if (!t->SaveAllModified()) return false;
    return true;
}

void CWinApp::CloseAllDocuments() {
    for (auto& t : m_templates) t->CloseAllDocuments();
}

void CWinApp::AddToRecentFileList(const std::string& path) {
    m_recentFiles.Add(QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString());
    if (m_pMainWnd) m_pMainWnd->RebuildRecentFileMenu();
}

void CWinApp::OpenRecentFile(size_t index) {
    if (index >= m_recentFiles.Files().size()) return;
    std::string path = m_recentFiles.Files()[index];
    if (!OpenDocumentFile(path)) {
        m_recentFiles.Remove(index);
        if (m_pMainWnd) m_pMainWnd->RebuildRecentFileMenu();
    }
}
