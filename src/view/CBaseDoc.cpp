#include "view/CBaseDoc.h"

#include "album/AlbumViewRules.h"
#include "framework/CFile.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CDocTemplate.h"

#include <QApplication>
#include <QFileDialog>
#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>
#include <cstdio>

IMPLEMENT_DYNAMIC(CBaseDoc, CDocument)

namespace {

constexpr uint32_t kHelpSaveAs = 0x27005;

// The save dialog: on OK the typed name is checked; an unacceptable one is
// reported and the dialog shows again with the name selected.
std::string AskSaveNameWithDialog(const std::string& proposal, const std::string& filter) {
    QFileDialog dlg(QApplication::activeWindow(), QString(), QString(), QString::fromStdString(filter));
    dlg.setAcceptMode(QFileDialog::AcceptSave);
    dlg.setOption(QFileDialog::DontUseNativeDialog);
    // A typed name without an extension gets the proposal's.
    if (const size_t dot = proposal.find_last_of('.'); dot != std::string::npos)
        dlg.setDefaultSuffix(QString::fromStdString(proposal.substr(dot + 1)));
    dlg.selectFile(QString::fromStdString(proposal));
    // The dialog's help button opens the save topic.
    if (auto* grid = qobject_cast<QGridLayout*>(dlg.layout())) {
        auto* help = new QPushButton("&Help", &dlg);
        help->setObjectName("help");
        grid->addWidget(help, grid->rowCount(), grid->columnCount() - 1);
        QObject::connect(help, &QPushButton::clicked, &dlg, [] { GetUserPrompt().ShowHelp(kHelpSaveAs); });
    }
    for (;;) {
        if (dlg.exec() != QDialog::Accepted || dlg.selectedFiles().isEmpty()) return {};
        const std::string name = dlg.selectedFiles().front().toStdString();
        if (IsAcceptableFileName(name)) return name;
        QApplication::beep();
        GetUserPrompt().MessageBox(FormatResString1(1023, name), MB_OK | MB_ICONEXCLAMATION);
        dlg.selectFile(QString::fromStdString(name.substr(name.find_last_of('/') + 1)));
        if (auto* edit = dlg.findChild<QLineEdit*>()) edit->selectAll();
    }
}

} // namespace

std::function<std::string(const std::string&, const std::string&)> CBaseDoc::s_askSaveName =
    AskSaveNameWithDialog;

bool CBaseDoc::DoSave(const std::string& path, bool bReplace) {
    std::string target = path;
    if (target.empty()) {
        const CDocTemplate* pTemplate = GetDocTemplate();
        const std::string ext = pTemplate ? pTemplate->GetDocString(CDocTemplate::filterExt) : std::string();
        std::string filter = pTemplate ? pTemplate->GetDocString(CDocTemplate::filterName) : std::string();
        if (!filter.empty() && !ext.empty()) filter = filter.substr(0, filter.find(" (")) + " (*" + ext + ")";
        m_bAskingName = true;
        std::string title = m_strTitle.empty() ? LoadResString(IDS_UNTITLED) : m_strTitle;
        target = s_askSaveName ? s_askSaveName(ProposeSaveName(title, ext), filter) : std::string();
        m_bAskingName = false;
        if (target.empty()) return false;
        if (!IsAcceptableFileName(target)) return false;
    }
    const bool bNewName = target != m_strPathName;
    const bool bExisted = CFile::Exists(target);
    m_bSaving = true;
    bool bOk = false;
    try {
        bOk = OnSaveDocument(target);
    } catch (...) {
        ReportException(std::current_exception());
    }
    m_bSaving = false;
    if (!bOk) {
        // A failed save under a new name leaves no half-written file; a file
        // that was there before is the user's and stays.
        if (bNewName && !bExisted && CFile::Exists(target)) std::remove(target.c_str());
        return false;
    }
    if (bReplace) SetPathName(target);
    return true;
}
