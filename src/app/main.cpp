// zozi: the windowed program.

#include "app/CMainFrame.h"
#include "app/CZelApp.h"
#include "framework/StringTable.h"
#include "framework/qt/CLastChanceApplication.h"

#include <QApplication>
#include <QIcon>
#include <string>
#include <vector>

int main(int argc, char** argv) {
    CLastChanceApplication qapp(argc, argv);
    QApplication::setApplicationName(QString::fromStdString(LoadResString(IDS_APP_TITLE)));
    QApplication::setOrganizationName(QString::fromStdString(LoadResString(IDS_COMPANY)));
    QApplication::setWindowIcon(CMainFrame::AppIcon());
    std::vector<std::string> args;
    for (int i = 1; i < argc; ++i) args.emplace_back(argv[i]);

    CZelApp app;
    if (!app.InitApplication()) return 1;
    if (!app.InitInstance(args)) {
        app.ExitInstance();
        return 0;
    }
    return app.Run();
}
