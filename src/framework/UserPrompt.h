#pragma once
// How models talk to the user: message boxes, status-bar text, the wait
// cursor and progress. The program implements it with Qt, zozi-tool with
// standard error and safe default answers, tests with a scripted fake.

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

// Message box types: button set | icon | default button.
enum : unsigned {
    MB_OK = 0x0000,
    MB_OKCANCEL = 0x0001,
    MB_ABORTRETRYIGNORE = 0x0002,
    MB_YESNOCANCEL = 0x0003,
    MB_YESNO = 0x0004,
    MB_RETRYCANCEL = 0x0005,
    MB_TYPEMASK = 0x000F,
    MB_ICONSTOP = 0x0010,
    MB_ICONQUESTION = 0x0020,
    MB_ICONEXCLAMATION = 0x0030,
    MB_ICONINFORMATION = 0x0040,
    MB_ICONMASK = 0x00F0,
    MB_DEFBUTTON1 = 0x0000,
    MB_DEFBUTTON2 = 0x0100,
    MB_DEFBUTTON3 = 0x0200,
};

// Message box results.
enum : int { IDOK = 1, IDCANCEL = 2, IDABORT = 3, IDRETRY = 4, IDIGNORE = 5, IDYES = 6, IDNO = 7 };

class IUserPrompt {
public:
    virtual ~IUserPrompt() = default;
    // Shows the text with the program title as caption; returns the button pressed.
    virtual int MessageBox(const std::string& text, unsigned nType = MB_OK | MB_ICONSTOP,
                           uint32_t nHelpId = 0) = 0;
    // A question with buttons of its own texts; returns the index of the one pressed.
    virtual int AskButtons(const std::string& text, const std::vector<std::string>& buttons, unsigned nIcon,
                           int nDefault) = 0;
    virtual void SetStatusText(const std::string& text) = 0;
    virtual void BeginWaitCursor() = 0;
    virtual void EndWaitCursor() = 0;
    // Long work reports its progress; false means the user asked to stop.
    virtual bool Progress(uint64_t nDone, uint64_t nTotal) = 0;
    // A help request (there is no help file: it is traced).
    virtual void ShowHelp(uint32_t nContext);
};

// The safe answer for a button set: OK, Cancel, No or Ignore.
int SafeDefaultAnswer(unsigned nType);

// zozi-tool: messages and questions on standard error, answered with the
// safe default unless an answer is forced.
class CStdErrPrompt : public IUserPrompt {
public:
    int MessageBox(const std::string& text, unsigned nType = MB_OK | MB_ICONSTOP,
                   uint32_t nHelpId = 0) override;
    int AskButtons(const std::string& text, const std::vector<std::string>& buttons, unsigned nIcon,
                   int nDefault) override;
    void SetStatusText(const std::string&) override {}
    void BeginWaitCursor() override {}
    void EndWaitCursor() override {}
    bool Progress(uint64_t, uint64_t) override { return true; }

    // Answers every question of this button set with the given result.
    void ForceAnswer(unsigned nType, int nResult);
    // Answers every AskButtons question with this button index (-1: the default).
    void ForceButton(int nIndex) { m_nForcedButton = nIndex; }

private:
    std::vector<std::pair<unsigned, int>> m_forced;
    int m_nForcedButton = -1;
};

// Tests: records every message and answers from a queue (then the safe default).
class CScriptedPrompt : public IUserPrompt {
public:
    struct Shown {
        std::string text;
        unsigned nType;
    };
    int MessageBox(const std::string& text, unsigned nType = MB_OK | MB_ICONSTOP,
                   uint32_t nHelpId = 0) override;
    int AskButtons(const std::string& text, const std::vector<std::string>& buttons, unsigned nIcon,
                   int nDefault) override;
    void SetStatusText(const std::string& text) override { m_status.push_back(text); }
    void BeginWaitCursor() override { ++m_nWaitDepth; }
    void EndWaitCursor() override { --m_nWaitDepth; }
    bool Progress(uint64_t, uint64_t) override { return !m_bCancelProgress; }
    void ShowHelp(uint32_t nContext) override { m_help.push_back(nContext); }

    std::deque<int> m_answers;
    std::vector<Shown> m_shown;
    std::vector<std::vector<std::string>> m_buttonSets;
    std::vector<std::string> m_status;
    std::vector<uint32_t> m_help;
    int m_nWaitDepth = 0;
    bool m_bCancelProgress = false;
};

IUserPrompt& GetUserPrompt();
// Installs the prompt (not owned); nullptr restores the standard-error one.
void SetUserPrompt(IUserPrompt* pPrompt);

// Holds a prompt installed for a scope.
class CUserPromptScope {
public:
    explicit CUserPromptScope(IUserPrompt* p) : m_pOld(&GetUserPrompt()) { SetUserPrompt(p); }
    ~CUserPromptScope() { SetUserPrompt(m_pOld); }
    CUserPromptScope(const CUserPromptScope&) = delete;
    CUserPromptScope& operator=(const CUserPromptScope&) = delete;

private:
    IUserPrompt* m_pOld;
};
