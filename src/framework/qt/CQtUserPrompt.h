#pragma once
// The user prompt of the windowed program: Qt message boxes with the
// program's title, the main window's status bar and the wait cursor.

#include "framework/UserPrompt.h"

#include <functional>

class QWidget;

class CQtUserPrompt : public IUserPrompt {
public:
    int MessageBox(const std::string& text, unsigned nType = MB_OK | MB_ICONSTOP,
                   uint32_t nHelpId = 0) override;
    int AskButtons(const std::string& text, const std::vector<std::string>& buttons, unsigned nIcon,
                   int nDefault) override;
    void SetStatusText(const std::string& text) override;
    void BeginWaitCursor() override;
    void EndWaitCursor() override;
    bool Progress(uint64_t nDone, uint64_t nTotal) override;
    // Traced, then handed to the help sink (the program's help window).
    void ShowHelp(uint32_t nContext) override;

    // Where status text goes (the main frame's message pane).
    std::function<void(const std::string&)> m_statusSink;
    // Called before a message box is shown (the screen-saver host is told first).
    std::function<void()> m_beforeMessageBox;
    // Where help requests go.
    std::function<void(uint32_t)> m_helpSink;
    QWidget* m_pParent = nullptr;

private:
    int m_nWaitDepth = 0;
};
