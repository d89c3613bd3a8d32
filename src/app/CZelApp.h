#pragma once
// The application object: process and instance initialisation, the command
// line, the splash, idle work, and every setting's current value.

#include "album/ui/CAlbumWizardHost.h"
#include "app/core/CCommandLine.h"
#include "app/core/CPrefObject.h"
#include "app/core/CZelSettings.h"
#include "framework/qt/CQtUserPrompt.h"
#include "framework/qt/CWinApp.h"

#include <QObject>
#include <QPointer>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>

class QLocalServer;
class CDocument;
class CDocTemplate;
class CMainFrame;
class CSplashWnd;
class CHelpWnd;
class CQtSettingsStore;

// Steps of the start and the exit that belong to other parts of the program.
// Each is wired where that part exists; an empty one is skipped.
struct CZelAppHooks {
    std::function<void()> prepareDitherTables;
    std::function<void()> createUndoManager;
    std::function<void(int nBuffer)> initUndoBuffer;
    std::function<void()> releaseUndoBuffer;
    std::function<void()> initPhotoLayer;
    std::function<void()> closePhotoLayer;
    // The pending album moves, old and new paths in step.
    std::function<void(const std::vector<std::string>&, const std::vector<std::string>&)>
        applyAlbumPathChanges;
    // Reads and executes one album response file; throws on failure.
    std::function<void(const std::string&)> runResponseFile;
    std::function<void()> runAlbumWizard;
};

struct CZelAppConfig {
    std::string strStorePath;        // empty: the user's own settings store
    std::string strLegacyDir;        // where ZELK.INI is looked for; empty: beside the store
    std::string strInstanceKey;      // the single-instance server name; empty: per user
    std::function<uint32_t()> clock; // milliseconds; empty: the real clock
    bool bShowWindows = true;        // tests run without showing anything
};

class CZelApp : public CWinApp {
public:
    explicit CZelApp(CZelAppConfig config = {});
    ~CZelApp() override;

    bool InitApplication() override;
    // The whole start; false ends the program.
    bool InitInstance(const std::string& commandLine);
    // The same with the program's arguments (several files open each).
    bool InitInstance(const std::vector<std::string>& args);
    int ExitInstance() override;
    bool OnIdle(long lCount) override;
    bool PreTranslateMessage(QEvent* pEvent) override;
    CDocument* OpenDocumentFile(const std::string& path) override;

    // Shows the splash of the first kind (company.bmp) or of the second (the program's own).
    void ShowSplash(bool bFirstKind);
    CSplashWnd* GetSplash() const { return m_pSplash; }
    void OnSplashClosed(bool bFirstKind);
    // Writes the settings at the end of the run (never in screen-saver mode).
    void WritePreferences();
    void OnOptions();
    // The template whose view class is this one, or null.
    CDocTemplate* FindTemplate(const CRuntimeClass* pViewClass) const;
    uint32_t Now() const;
    // Opens (or brings up) the user guide at a section ("" for the top);
    // null when the guide cannot be found, which is reported.
    CHelpWnd* ShowHelp(const QString& section = {});
    CHelpWnd* GetHelpWnd() const;
    // What the album wizard uses of the application, from the current settings.
    CAlbumWizardHost MakeAlbumWizardHost();
    // The open dialog's filters in the form QFileDialog takes.
    static QStringList OpenFileFilters();

    CZelSettings m_settings;
    CPrefObject m_prefs;
    CZelAppHooks m_hooks;
    bool m_bScreenSaver = false;
    bool m_bMemoryHelpPending = false;
    std::string m_strCurrentAlbumDir;
    CCommandLine m_cmdLine;
    int64_t m_nStartError = 0; // the end-of-start report's message id (-1 silent)

    static bool s_bLowMemoryWarningPending;
    static constexpr uint64_t kLowMemory = 2621440; // 2.5 MiB

private:
    void RegisterCommands();
    // Connects the start and exit steps to the parts of the program that exist.
    void WireProgramParts();
    void OnFileNew();
    void OnFileOpen();
    bool StartWith(const CCommandLine& cmdLine);
    bool DispatchCommandLine();
    void ReportStartError();
    bool EnforceSingleInstance();
    void RegisterTemplates();
    // Opens the album with the slide-show template; false when it cannot.
    bool OpenSlideShow(const std::string& path);

    CZelAppConfig m_config;
    std::unique_ptr<CQtSettingsStore> m_pSettingsStore;
    CQtUserPrompt m_prompt;
    CSplashWnd* m_pSplash = nullptr;
    QPointer<CHelpWnd> m_pHelp;
    std::unique_ptr<QLocalServer> m_pServer;
    std::unique_ptr<QObject> m_pContext;
};

CZelApp* GetZelApp();
