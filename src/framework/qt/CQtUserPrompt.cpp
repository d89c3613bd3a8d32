#include "framework/qt/CQtUserPrompt.h"

#include "framework/StringTable.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

namespace {

QMessageBox::Icon IconOf(unsigned nType) {
    switch (nType & MB_ICONMASK) {
    case MB_ICONSTOP:
        return QMessageBox::Critical;
    case MB_ICONQUESTION:
        return QMessageBox::Question;
    case MB_ICONEXCLAMATION:
        return QMessageBox::Warning;
    case MB_ICONINFORMATION:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

struct Button {
    QMessageBox::StandardButton qt;
    int result;
};

std::vector<Button> ButtonsOf(unsigned nType) {
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return {{QMessageBox::Ok, IDOK}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_ABORTRETRYIGNORE:
        return {
            {QMessageBox::Abort, IDABORT}, {QMessageBox::Retry, IDRETRY}, {QMessageBox::Ignore, IDIGNORE}};
    case MB_YESNOCANCEL:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}, {QMessageBox::Cancel, IDCANCEL}};
    case MB_YESNO:
        return {{QMessageBox::Yes, IDYES}, {QMessageBox::No, IDNO}};
    case MB_RETRYCANCEL:
        return {{QMessageBox::Retry, IDRETRY}, {QMessageBox::Cancel, IDCANCEL}};
    default:
        return {{QMessageBox::Ok, IDOK}};
    }
}

} // namespace

int CQtUserPrompt::MessageBox(const std::string& text, unsigned nType, uint32_t) {
    if (m_beforeMessageBox) m_beforeMessageBox();
    QMessageBox box(IconOf(nType), QString::fromStdString(LoadResString(IDS_APP_TITLE)),
                    QString::fromStdString(text), QMessageBox::NoButton, m_pParent);
    std::vector<Button> buttons = ButtonsOf(nType);
    for (const Button& b : buttons) box.addButton(b.qt);
    size_t nDefault = (nType & 0x0F00) >> 8;
    if (nDefault < buttons.size()) box.setDefaultButton(buttons[nDefault].qt);
    if (m_nWaitDepth) QApplication::setOverrideCursor(Qt::ArrowCursor);
    auto pressed = static_cast<QMessageBox::StandardButton>(box.exec());
    if (m_nWaitDepth) QApplication::restoreOverrideCursor();
    for (const Button& b : buttons)
        if (b.qt == pressed) return b.result;
    return SafeDefaultAnswer(nType); // closed by the window manager
}

int CQtUserPrompt::AskButtons(const std::string& text, const std::vector<std::string>& buttons,
                              unsigned nIcon, int nDefault) {
    if (m_beforeMessageBox) m_beforeMessageBox();
    QMessageBox box(IconOf(nIcon), QString::fromStdString(LoadResString(IDS_APP_TITLE)),
                    QString::fromStdString(text), QMessageBox::NoButton, m_pParent);
    std::vector<QPushButton*> added;
    for (const auto& b : buttons)
        added.push_back(box.addButton(QString::fromStdString(b), QMessageBox::ActionRole));
    if (nDefault >= 0 && static_cast<size_t>(nDefault) < added.size()) box.setDefaultButton(added[nDefault]);
    box.exec();
    for (size_t i = 0; i < added.size(); ++i)
        if (box.clickedButton() == added[i]) return static_cast<int>(i);
    return nDefault;
}

void CQtUserPrompt::SetStatusText(const std::string& text) {
    if (m_statusSink) m_statusSink(text);
}

void CQtUserPrompt::BeginWaitCursor() {
    if (m_nWaitDepth++ == 0) QApplication::setOverrideCursor(Qt::WaitCursor);
}

void CQtUserPrompt::EndWaitCursor() {
    if (m_nWaitDepth > 0 && --m_nWaitDepth == 0) QApplication::restoreOverrideCursor();
}

bool CQtUserPrompt::Progress(uint64_t, uint64_t) {
    // Keep the window painted during long work on the user-interface thread.
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return true;
}

void CQtUserPrompt::ShowHelp(uint32_t nContext) {
    IUserPrompt::ShowHelp(nContext);
    if (m_helpSink) m_helpSink(nContext);
}
