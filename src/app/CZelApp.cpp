#include "app/CZelApp.h"

#include "album/AlbumPathChanges.h"
#include "album/AlbumScales.h"
#include "album/CAlbumResponseFile.h"
#include "album/ui/CAlbumDoc.h"
#include "album/ui/CAlbumWizard.h"
#include "album/ui/CFullScreenView.h"
#include "album/ui/CSlideShowView.h"
#include "album/ui/CTnView.h"
#include "app/CHelpWnd.h"
#include "app/CMainFrame.h"
#include "app/CModalOptionsPropSheet.h"
#include "app/CSplashWnd.h"
#include "app/CZelDocTemplate.h"
#include "app/CZelMDIChildFrame.h"
#include "app/core/COptions.h"
#include "framework/CAppException.h"
#include "framework/CFile.h"
#include "framework/CIniProfileStore.h"
#include "framework/CommandIds.h"
#include "framework/DisplayCaps.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/SystemInfo.h"
#include "framework/Trace.h"
#include "framework/qt/CDocument.h"
#include "framework/qt/CQtSettingsStore.h"
#include "imaging/CDib.h"
#include "imaging/CUndo.h"
#include "imaging/DitherTables.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"
#include "storage/formats/PixelLimit.h"
#include "storage/photo/QlnPhotoFile.h"
#include "view/CImageEnhancerDoc.h"
#include "view/CImageEnhancerFullScreenView.h"
#include "view/CImageEnhancerView.h"
#include "view/dialogs/EnhancerDialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QGuiApplication>
#include <QInputDialog>
#include <QLocalServer>
#include <QLocalSocket>
#include <QMdiArea>
#include <QMessageBox>
#include <QScreen>
#include <chrono>

bool CZelApp::s_bLowMemoryWarningPending = true;

CZelApp* GetZelApp() {
    return dynamic_cast<CZelApp*>(AfxGetApp());
}

namespace {

// The legacy file, found without regard to the case of its name.
std::string FindLegacyFile(const std::string& dir) {
    QDir d(QString::fromStdString(dir));
    for (const QString& name : d.entryList(QDir::Files))
        if (name.compare("ZELK.INI", Qt::CaseInsensitive) == 0) return d.filePath(name).toStdString();
    return {};
}

CScreenMetrics ScreenMetrics() {
    CScreenMetrics m;
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        m.cxScreen = s->geometry().width();
        m.cyScreen = s->geometry().height();
    }
    return m;
}

std::string UserName() {
    QByteArray u = qgetenv("USER");
    return u.isEmpty() ? std::string("user") : u.toStdString();
}

} // namespace

CZelApp::CZelApp(CZelAppConfig config)
    : m_config(std::move(config)), m_pContext(std::make_unique<QObject>()) {
    m_prompt.m_statusSink = [this](const std::string& text) {
        if (auto* f = dynamic_cast<CMainFrame*>(m_pMainWnd)) f->SetMessageText(text);
    };
    // In screen-saver mode the host hears of a message box before it shows.
    m_prompt.m_beforeMessageBox = [this] {
        if (m_bScreenSaver) ZTRACE("DoMessageBox(): telling the screen-saver host (message 0x069A)\n");
    };
    m_prompt.m_helpSink = [this](uint32_t nContext) { ShowHelp(CHelpWnd::SectionFor(nContext)); };
    SetUserPrompt(&m_prompt);
    RegisterCommands();
    WireProgramParts();
}

void CZelApp::WireProgramParts() {
    m_hooks.prepareDitherTables = [] { PrepareDisplayTables(); };
    m_hooks.createUndoManager = [] {
        CUndo::SetPreferenceSource([] {
            CZelApp* app = GetZelApp();
            return app && app->m_settings.m_nUndoBuffer != 0;
        });
    };
    m_hooks.initUndoBuffer = [](int nBuffer) {
        if (!CUndo::InitUndo(nBuffer != 0)) AfxThrowResourceException();
    };
    m_hooks.releaseUndoBuffer = [] { CUndo::ShutdownUndo(); };
    CImageEnhancerFullScreenView::s_enterFullScreen = [](CMDIChildWnd* pFrame) {
        if (auto* p = dynamic_cast<CZelMDIChildFrame*>(pFrame)) p->SetFullScreen(true);
    };
    m_hooks.initPhotoLayer = [] { QLNI_Initialize(nullptr); };
    m_hooks.closePhotoLayer = [] { QLNI_Terminate(); };
    m_hooks.applyAlbumPathChanges = [](const std::vector<std::string>& oldPaths,
                                       const std::vector<std::string>& newPaths) {
        ApplyAlbumPathChanges(oldPaths, newPaths);
    };
    m_hooks.runResponseFile = [](const std::string& path) {
        CAlbumResponseFile response;
        response.Read(path);
        BuildAlbumFromResponseFile(response);
    };
    m_hooks.runAlbumWizard = [this] {
        CAlbumWizardHost host = MakeAlbumWizardHost();
        CAlbumWizard(host, m_pMainWnd).Run();
    };
}

CAlbumWizardHost CZelApp::MakeAlbumWizardHost() {
    CAlbumWizardHost host;
    host.openAlbums = [this] {
        std::vector<CAlbumDoc*> albums;
        if (CDocTemplate* t = FindTemplate(RUNTIME_CLASS(CTnView)))
            for (CDocument* d : t->GetDocuments())
                if (auto* a = dynamic_cast<CAlbumDoc*>(d)) albums.push_back(a);
        return albums;
    };
    host.newAlbum = [this](int nScale) -> CAlbumDoc* {
        CDocTemplate* t = FindTemplate(RUNTIME_CLASS(CTnView));
        if (!t) return nullptr;
        // The new album takes its scale from the setting, which is put back afterwards.
        const int nSaved = m_settings.m_nThumbnailSize;
        const int nSavedAlbum = GetAlbumSettings().m_nThumbnailSize;
        m_settings.m_nThumbnailSize = GetAlbumSettings().m_nThumbnailSize = nScale;
        CDocument* d = nullptr;
        try {
            d = t->OpenDocumentFile("", true);
        } catch (...) {
            m_settings.m_nThumbnailSize = nSaved;
            GetAlbumSettings().m_nThumbnailSize = nSavedAlbum;
            throw;
        }
        m_settings.m_nThumbnailSize = nSaved;
        GetAlbumSettings().m_nThumbnailSize = nSavedAlbum;
        return dynamic_cast<CAlbumDoc*>(d);
    };
    host.openAlbum = [this]() -> CAlbumDoc* {
        const QString name =
            QFileDialog::getOpenFileName(m_pMainWnd, "Open", QString::fromStdString(m_strCurrentAlbumDir),
                                         "QLN Album Files (*.alb *.ALB)");
        if (name.isEmpty()) return nullptr;
        m_strCurrentAlbumDir = QFileInfo(name).absolutePath().toStdString() + "/";
        return dynamic_cast<CAlbumDoc*>(OpenDocumentFile(name.toStdString()));
    };
    host.getShowWizard = [this] { return m_settings.m_bShowAlbWizard != 0; };
    host.setShowWizard = [this](bool bOn) { m_settings.m_bShowAlbWizard = bOn ? 1 : 0; };
    host.m_nThumbnailSize = m_settings.m_nThumbnailSize;
    host.m_strImagesDir = m_settings.m_strImagesDir;
    host.m_strProgramDir = QCoreApplication::applicationDirPath().toStdString();
    host.m_strDownloadDir = m_settings.m_strDownloadDir;
    host.m_bDeleteWhenThrough = m_settings.m_bDeleteWhenThrough != 0;
    return host;
}

void CZelApp::RegisterCommands() {
    OnCommand(ID_FILE_NEW, [this] { OnFileNew(); });
    OnCommand(ID_FILE_OPEN, [this] { OnFileOpen(); });
    OnCommand(ID_FILE_CLOSE_ALL, [this] {
        for (const auto& t : m_templates)
            for (CDocument* d : std::vector<CDocument*>(t->GetDocuments()))
                if (d->SaveModified()) d->OnCloseDocument();
    });
    OnCommand(ID_APP_ABOUT, [this] {
        QMessageBox::about(m_pMainWnd, QString::fromStdString("About " + LoadResString(IDS_APP_TITLE)),
                           QString("<h3>%1</h3><p>Version %2</p><p>%3</p>")
                               .arg(QString::fromStdString(LoadResString(IDS_APP_TITLE)), ZOZI_VERSION,
                                    QString::fromStdString(LoadResString(IDS_COMPANY))));
    });
    // Help requests open the user guide.
    OnCommand(ID_HELP_CONTENTS, [this] { ShowHelp(); });
    OnCommand(ID_HELP_USING, [this] { ShowHelp(CHelpWnd::SectionFor(ID_HELP_USING)); });
    OnCommand(ID_HELP_ORDER_FORMS, [] { GetUserPrompt().ShowHelp(0x107E4); });
    OnCommand(ID_HELP_NEW_PRODUCTS, [] { GetUserPrompt().ShowHelp(0x107E5); });
    OnCommand(ID_HELP_TECH_SUPPORT, [] { GetUserPrompt().ShowHelp(0x107E6); });
}

void CZelApp::OnFileNew() {
    // Only the picture and album kinds of document can be made empty.
    std::vector<CDocTemplate*> kinds;
    for (const auto& t : m_templates)
        if (t->GetViewClass() == RUNTIME_CLASS(CImageEnhancerView) ||
            t->GetViewClass()->m_lpszClassName == std::string("CTnView"))
            kinds.push_back(t.get());
    if (kinds.empty()) {
        GetUserPrompt().MessageBox(LoadResString(IDS_NEW_DOC_FAILED), MB_OK | MB_ICONSTOP);
        return;
    }
    CDocTemplate* pChosen = kinds.front();
    if (kinds.size() > 1) {
        QStringList names;
        for (CDocTemplate* t : kinds)
            names << QString::fromStdString(t->GetDocString(CDocTemplate::fileNewName));
        bool bOk = false;
        QString pick = QInputDialog::getItem(m_pMainWnd, "New", "New", names, 0, false, &bOk);
        if (!bOk) return;
        pChosen = kinds[static_cast<size_t>(names.indexOf(pick))];
    }
    if (!pChosen->OpenDocumentFile("", true))
        GetUserPrompt().MessageBox(LoadResString(IDS_NEW_DOC_FAILED), MB_OK | MB_ICONSTOP);
}

QStringList CZelApp::OpenFileFilters() {
    // Each filter keeps the string table's name; the patterns follow in both
    // cases, as file names on this platform keep theirs, and are hidden in the
    // list (QFileDialog::HideNameFilterDetails strips the last parentheses).
    QStringList filters;
    for (const OpenDialogFilter& f : OpenDialogFilters()) {
        QStringList patterns;
        for (const std::string& p : f.patterns) {
            const QString upper = QString::fromStdString(p);
            if (!patterns.contains(upper)) patterns << upper;
            if (!patterns.contains(upper.toLower())) patterns << upper.toLower();
        }
        filters << QString::fromStdString(f.name) + " (" + patterns.join(' ') + ")";
    }
    return filters;
}

void CZelApp::OnFileOpen() {
    QString name = QFileDialog::getOpenFileName(
        m_pMainWnd, "Open", QString::fromStdString(m_strCurrentAlbumDir), OpenFileFilters().join(";;"),
        nullptr, QFileDialog::HideNameFilterDetails);
    if (name.isEmpty()) return;
    m_strCurrentAlbumDir = QFileInfo(name).absolutePath().toStdString() + "/";
    OpenDocumentFile(name.toStdString());
}

CHelpWnd* CZelApp::ShowHelp(const QString& section) {
    if (!m_pHelp) {
        const std::string path = CHelpWnd::FindUserGuide();
        auto* pHelp = new CHelpWnd;
        pHelp->setAttribute(Qt::WA_DeleteOnClose);
        if (path.empty() || !pHelp->Load(path)) {
            delete pHelp;
            ReportException(CFileException(CFileException::fileNotFound, -1, "user-guide.md"));
            return nullptr;
        }
        m_pHelp = pHelp;
    }
    m_pHelp->ShowSection(section);
    if (m_config.bShowWindows) {
        m_pHelp->show();
        m_pHelp->raise();
        m_pHelp->activateWindow();
    }
    return m_pHelp;
}

CHelpWnd* CZelApp::GetHelpWnd() const {
    return m_pHelp;
}

CZelApp::~CZelApp() {
    delete m_pHelp;
    delete m_pSplash;
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
    SetUserPrompt(nullptr);
}

uint32_t CZelApp::Now() const {
    if (m_config.clock) return m_config.clock();
    using namespace std::chrono;
    return static_cast<uint32_t>(duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count());
}

bool CZelApp::InitApplication() {
    // The display record comes from the screen (or ZOZI_DISPLAY_DEPTH); the
    // dithering tables are prepared for it.
    GetDisplayCaps();
    if (m_hooks.prepareDitherTables) m_hooks.prepareDitherTables();
    if (m_hooks.createUndoManager) m_hooks.createUndoManager();
    if (m_hooks.initPhotoLayer) m_hooks.initPhotoLayer();

    m_pSettingsStore = m_config.strStorePath.empty()
                           ? std::make_unique<CQtSettingsStore>()
                           : std::make_unique<CQtSettingsStore>(m_config.strStorePath);
    m_pStore = m_pSettingsStore.get();

    std::string legacyDir = m_config.strLegacyDir;
    if (legacyDir.empty())
        legacyDir =
            QFileInfo(QString::fromStdString(m_pSettingsStore->FileName())).absolutePath().toStdString();
    std::string legacy = FindLegacyFile(legacyDir);
    if (!legacy.empty()) {
        CIniProfileStore ini(true);
        if (ini.LoadFile(legacy) && m_prefs.ImportLegacySettings(ini, *m_pSettingsStore))
            m_pSettingsStore->Sync();
    }
    return true;
}

bool CZelApp::EnforceSingleInstance() {
    const QString name = QString::fromStdString(
        m_config.strInstanceKey.empty() ? "_OrlenWndMDIFrame-" + UserName() : m_config.strInstanceKey);
    {
        QLocalSocket probe;
        probe.connectToServer(name);
        if (probe.waitForConnected(300)) {
            // Another instance runs: it comes to the front; this command line is not passed on.
            probe.write("activate\n");
            probe.flush();
            probe.waitForBytesWritten(300);
            probe.disconnectFromServer();
            return false;
        }
    }
    QLocalServer::removeServer(name); // a server left behind by a crashed instance
    m_pServer = std::make_unique<QLocalServer>();
    m_pServer->setSocketOptions(QLocalServer::UserAccessOption);
    if (!m_pServer->listen(name)) ZTRACE("InitInstance(): single-instance server not available\n");
    QObject::connect(m_pServer.get(), &QLocalServer::newConnection, m_pContext.get(), [this] {
        while (QLocalSocket* s = m_pServer->nextPendingConnection()) {
            QObject::connect(s, &QLocalSocket::disconnected, s, &QObject::deleteLater);
            if (m_pMainWnd) {
                if (m_pMainWnd->isMinimized()) m_pMainWnd->showNormal();
                m_pMainWnd->raise();
                m_pMainWnd->activateWindow();
            }
        }
    });
    return true;
}

void CZelApp::RegisterTemplates() {
    // In their fixed order; the album templates join as their classes exist.
    auto frame = [] { return new CZelMDIChildFrame; };
    AddDocTemplate(new CZelDocTemplate(
        1020, [] { return new CImageEnhancerDoc; }, frame, [] { return new CImageEnhancerView; },
        RUNTIME_CLASS(CImageEnhancerView)));
    AddDocTemplate(new CZelDocTemplate(
        1020, [] { return new CImageEnhancerDoc; }, frame, [] { return new CImageEnhancerFullScreenView; },
        RUNTIME_CLASS(CImageEnhancerFullScreenView)));
    AddDocTemplate(new CZelDocTemplate(
        1019, [] { return new CAlbumDoc; }, frame, [] { return new CTnView; }, RUNTIME_CLASS(CTnView)));
    AddDocTemplate(new CZelDocTemplate(
        1021, [] { return new CAlbumDoc; }, frame, [] { return new CSlideShowView; },
        RUNTIME_CLASS(CSlideShowView)));
    AddDocTemplate(new CZelDocTemplate(
        1022, [] { return new CAlbumDoc; }, frame, [] { return new CFullScreenView; },
        RUNTIME_CLASS(CFullScreenView)));
}

bool CZelApp::OpenSlideShow(const std::string& path) {
    CDocTemplate* pTemplate = FindTemplate(RUNTIME_CLASS(CSlideShowView));
    if (!pTemplate) return false;
    const std::string abs = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    try {
        return pTemplate->OpenDocumentFile(abs, true) != nullptr;
    } catch (const CException&) {
        return false;
    }
}

CDocTemplate* CZelApp::FindTemplate(const CRuntimeClass* pViewClass) const {
    for (const auto& t : m_templates)
        if (t->GetViewClass() == pViewClass) return t.get();
    return nullptr;
}

bool CZelApp::InitInstance(const std::string& commandLine) {
    return StartWith(CCommandLine::Parse(commandLine, [](const std::string& p) { return CFile::Exists(p); }));
}

bool CZelApp::InitInstance(const std::vector<std::string>& args) {
    return StartWith(CCommandLine::Parse(args, [](const std::string& p) { return CFile::Exists(p); }));
}

bool CZelApp::StartWith(const CCommandLine& cmdLine) {
    m_cmdLine = cmdLine;
    const std::string& commandLine = m_cmdLine.m_strLine;
    // A path that begins with "/s" is no screen-saver start.
    m_bScreenSaver = commandLine.size() >= 2 && (commandLine[0] == '/' || commandLine[0] == '-') &&
                     (commandLine[1] == 'S' || commandLine[1] == 's') &&
                     m_cmdLine.m_nKind != CCommandLine::kOpenDocument &&
                     m_cmdLine.m_nKind != CCommandLine::kOpenDocuments;
    if (!EnforceSingleInstance()) return false;

    m_nStartError = 0;
    bool bReport = false;
    try {
        m_recentFiles.ReadList(*m_pStore);
        RegisterTemplates();
        RegisterEnhancerDialogs();
        auto* pFrame = new CMainFrame(m_bScreenSaver);
        m_pMainWnd = pFrame;
        pFrame->setAcceptDrops(true);
        AddAlbumMenu(pFrame);
        AddSlideShowMenu(pFrame);
        AddEnhancerMenus(pFrame);

        m_prefs.ReadPreferences(*m_pStore, m_settings, ScreenMetrics());
        pFrame->ShowBars(m_settings.m_bShowToolBar != 0, m_settings.m_bShowStatusBar != 0);
        m_strCurrentAlbumDir = m_settings.m_strAlbumsDir;
        GetAlbumSettings().m_nThumbnailSize = m_settings.m_nThumbnailSize;
        GetAlbumSettings().m_nTnStretchMethod = m_settings.m_nTnStretchMethod;
        GetAlbumSettings().m_strImagesDir = m_settings.m_strImagesDir;
        SetMaxMegapixels(m_settings.m_nMaxMegapixels);
        if (m_hooks.initUndoBuffer) m_hooks.initUndoBuffer(m_settings.m_nUndoBuffer);
        CDisplayCaps& caps = GetDisplayCaps();
        caps.bIdentityPalette = m_settings.m_bIdentityPalette != 0;
        caps.bWindowsStretch = m_settings.m_bUseWindowsStretch != 0;

        if (!m_bScreenSaver) pFrame->ApplyPlacement(m_settings.m_placement);
        if (!DispatchCommandLine()) {
            bReport = true;
        } else {
            if (m_config.bShowWindows) {
                pFrame->show();
                if (!m_bScreenSaver) pFrame->repaint();
            }
            if (m_cmdLine.m_nKind == CCommandLine::kEmpty) ShowSplash(CFile::Exists("company.bmp"));
            if (m_settings.m_nModifyAlbumCount > 0) {
                GetUserPrompt().BeginWaitCursor();
                GetUserPrompt().SetStatusText(LoadResString(IDS_MODIFYING_ALBUM_PATHS));
                m_settings.m_nModifyAlbumCount = 0;
                if (m_hooks.applyAlbumPathChanges)
                    m_hooks.applyAlbumPathChanges(m_settings.m_oldAlbumPaths, m_settings.m_newAlbumPaths);
                GetUserPrompt().SetStatusText("");
                GetUserPrompt().EndWaitCursor();
            }
            if (m_bMemoryHelpPending) GetUserPrompt().ShowHelp(kHelpMemory);
            return true;
        }
    } catch (...) {
        ZTRACE("InitInstance(): start failed\n");
        if (m_nStartError == 0) m_nStartError = IDS_MEMORY_LOW_START;
        bReport = true;
    }
    if (bReport) ReportStartError();
    return false;
}

bool CZelApp::DispatchCommandLine() {
    if (m_bScreenSaver) {
        // Errors of the screen-saver start are silent.
        if (m_cmdLine.m_nKind != CCommandLine::kScreenSaver || !CFile::Exists(m_cmdLine.m_strPath)) {
            m_nStartError = CCommandLine::kSilent;
            return false;
        }
        // A full-screen show that repeats, without cursor and panel.
        CSlideShowView::s_screenSaver = {true, m_cmdLine.m_nTitlesIndex, m_cmdLine.m_nRandomOrder,
                                         m_cmdLine.m_nTitles};
        if (OpenSlideShow(m_cmdLine.m_strPath)) return true;
        CSlideShowView::s_screenSaver = {};
        m_nStartError = CCommandLine::kSilent;
        return false;
    }
    switch (m_cmdLine.m_nKind) {
    case CCommandLine::kEmpty:
    case CCommandLine::kEdit:
        return true;
    case CCommandLine::kOpenDocument:
        OpenDocumentFile(m_cmdLine.m_strPath);
        return true;
    case CCommandLine::kOpenDocuments:
        for (const std::string& path : m_cmdLine.m_documents) OpenDocumentFile(path);
        return true;
    case CCommandLine::kShowAlbum:
        if (!CFile::Exists(m_cmdLine.m_strPath)) {
            m_nStartError = IDS_CMDLINE_ALBUM_NOT_FOUND;
            return false;
        }
        OpenSlideShow(m_cmdLine.m_strPath);
        return true;
    case CCommandLine::kAutoAlbum:
        // Each response file is read and executed; then the program ends.
        try {
            for (const auto& path : m_cmdLine.m_responseFiles) {
                CFile f(path, CFile::modeRead | CFile::shareDenyWrite);
                f.Close();
                if (m_hooks.runResponseFile) m_hooks.runResponseFile(path);
            }
        } catch (const CException& e) {
            ReportException(e);
        }
        m_nStartError = CCommandLine::kSilent;
        return false;
    case CCommandLine::kScreenSaver:
    case CCommandLine::kError:
        m_nStartError = m_cmdLine.m_nErrorId;
        return false;
    }
    return true;
}

void CZelApp::ReportStartError() {
    if (m_nStartError != 0 && m_nStartError != CCommandLine::kSilent) {
        std::string text = LoadResString(static_cast<uint32_t>(m_nStartError));
        if (text.find("%1") != std::string::npos) text = FormatMessageText(text, m_cmdLine.m_strLine);
        GetUserPrompt().MessageBox(text, MB_OK | MB_ICONSTOP);
    }
    delete m_pMainWnd;
    m_pMainWnd = nullptr;
}

int CZelApp::ExitInstance() {
    CImageEnhancerView::OfferClipboardOnExit();
    if (m_hooks.releaseUndoBuffer) m_hooks.releaseUndoBuffer();
    if (m_hooks.closePhotoLayer) m_hooks.closePhotoLayer();
    return 0;
}

void CZelApp::WritePreferences() {
    if (m_bScreenSaver || !m_pStore) return;
    auto* pFrame = dynamic_cast<CMainFrame*>(m_pMainWnd);
    if (!pFrame) return;
    m_prefs.WritePreferences(*m_pStore, m_settings, pFrame->GetWindowState());
    m_recentFiles.WriteList(*m_pStore);
    m_pSettingsStore->Sync();
}

void CZelApp::ShowSplash(bool bFirstKind) {
    delete m_pSplash;
    m_pSplash = new CSplashWnd(bFirstKind, Now() + CSplashWnd::kLifetime);
    if (m_config.bShowWindows)
        m_pSplash->Show();
    else
        m_pSplash->MarkVisible();
}

void CZelApp::OnSplashClosed(bool bFirstKind) {
    if (bFirstKind) {
        // The first splash asks for the second.
        if (auto* f = dynamic_cast<CMainFrame*>(m_pMainWnd)) f->OnFirstSplashClosed();
        return;
    }
    if (m_pMainWnd) m_pMainWnd->activateWindow();
    if (m_settings.m_bShowAlbWizard && m_pMainWnd) m_pMainWnd->RouteCommand(ID_ALBUM_WIZARD);
}

bool CZelApp::OnIdle(long lCount) {
    if (m_pSplash) {
        if (m_pSplash->IsShowing() && Now() >= m_pSplash->Deadline()) {
            CSplashWnd* p = m_pSplash;
            m_pSplash = nullptr;
            bool bFirst = p->IsFirstKind();
            p->Close();
            p->deleteLater();
            OnSplashClosed(bFirst);
        }
        if (m_pSplash && m_pSplash->IsShowing()) return true;
    }
    if (s_bLowMemoryWarningPending && !m_bMemoryHelpPending && !m_bScreenSaver &&
        GetAvailableMemory() < kLowMemory) {
        s_bLowMemoryWarningPending = false;
        GetUserPrompt().MessageBox(LoadResString(IDS_NOT_ENOUGH_MEMORY) +
                                       LoadResString(IDS_NOT_ENOUGH_MEMORY_TSR),
                                   MB_OK | MB_ICONSTOP);
        GetUserPrompt().ShowHelp(kHelpMemory);
    }
    return CWinApp::OnIdle(lCount);
}

bool CZelApp::PreTranslateMessage(QEvent* pEvent) {
    // Keys and clicks close the splash while it is up.
    if (m_pSplash && m_pSplash->IsShowing()) {
        switch (pEvent->type()) {
        case QEvent::KeyPress:
        case QEvent::MouseButtonPress:
        case QEvent::NonClientAreaMouseButtonPress: {
            CSplashWnd* p = m_pSplash;
            m_pSplash = nullptr;
            bool bFirst = p->IsFirstKind();
            p->Close();
            p->deleteLater();
            OnSplashClosed(bFirst);
            return true;
        }
        default:
            break;
        }
    }
    return false;
}

CDocument* CZelApp::OpenDocumentFile(const std::string& path) {
    std::string abs = QFileInfo(QString::fromStdString(path)).absoluteFilePath().toStdString();
    // Albums go to the thumbnail view's template, everything else to the enhancer's.
    const bool bAlbum =
        QFileInfo(QString::fromStdString(abs)).suffix().compare("alb", Qt::CaseInsensitive) == 0;
    CDocTemplate* pTemplate =
        FindTemplate(bAlbum ? RUNTIME_CLASS(CTnView) : RUNTIME_CLASS(CImageEnhancerView));
    if (!pTemplate) return nullptr;
    if (CDocument* pOpen = pTemplate->FindOpenDocument(abs)) {
        if (!pOpen->GetViews().empty())
            if (CMDIChildWnd* f = pOpen->GetViews().front()->GetParentFrame(); f && m_pMainWnd) {
                m_pMainWnd->MDIArea()->setActiveSubWindow(f);
                m_pMainWnd->activateWindow();
            }
        return pOpen;
    }
    return pTemplate->OpenDocumentFile(abs, true);
}

void CZelApp::OnOptions() {
    CModalOptionsPropSheet sheet(COptions::FromSettings(m_settings), m_pMainWnd);
    if (sheet.exec() != QDialog::Accepted) return;
    bool bDocsOpen = false;
    for (const auto& t : m_templates) bDocsOpen |= !t->GetDocuments().empty();
    COptionsEffects fx = ApplyOptions(sheet.Values(), m_settings, bDocsOpen);
    if (fx.bReleaseUndo && m_hooks.releaseUndoBuffer) m_hooks.releaseUndoBuffer();
    if (fx.bInitUndo && m_hooks.initUndoBuffer) m_hooks.initUndoBuffer(m_settings.m_nUndoBuffer);
    if (fx.bShowReopenMessage)
        GetUserPrompt().MessageBox(LoadResString(IDS_REOPEN_WINDOWS), MB_OK | MB_ICONEXCLAMATION);
    GetDisplayCaps().bIdentityPalette = m_settings.m_bIdentityPalette != 0;
    GetAlbumSettings().m_nThumbnailSize = m_settings.m_nThumbnailSize;
    GetAlbumSettings().m_nTnStretchMethod = m_settings.m_nTnStretchMethod;
    GetAlbumSettings().m_strImagesDir = m_settings.m_strImagesDir;
}
