#include "framework/UserPrompt.h"

#include "framework/Trace.h"

#include <cstdio>

void IUserPrompt::ShowHelp(uint32_t nContext) {
    ZTRACE("ShowHelp(): help context 0x%X requested\n", nContext);
}

int SafeDefaultAnswer(unsigned nType) {
    switch (nType & MB_TYPEMASK) {
    case MB_OKCANCEL:
    case MB_YESNOCANCEL:
    case MB_RETRYCANCEL:
        return IDCANCEL;
    case MB_ABORTRETRYIGNORE:
        return IDIGNORE;
    case MB_YESNO:
        return IDNO;
    default:
        return IDOK;
    }
}

namespace {
const char* AnswerName(int n) {
    switch (n) {
    case IDOK:
        return "OK";
    case IDCANCEL:
        return "Cancel";
    case IDABORT:
        return "Abort";
    case IDRETRY:
        return "Retry";
    case IDIGNORE:
        return "Ignore";
    case IDYES:
        return "Yes";
    case IDNO:
        return "No";
    default:
        return "?";
    }
}
} // namespace

int CStdErrPrompt::MessageBox(const std::string& text, unsigned nType, uint32_t) {
    int nAnswer = SafeDefaultAnswer(nType);
    for (auto& [type, result] : m_forced)
        if (type == (nType & MB_TYPEMASK)) nAnswer = result;
    std::fprintf(stderr, "%s\n", text.c_str());
    if ((nType & MB_TYPEMASK) != MB_OK) std::fprintf(stderr, "-> %s\n", AnswerName(nAnswer));
    return nAnswer;
}

int CStdErrPrompt::AskButtons(const std::string& text, const std::vector<std::string>& buttons, unsigned,
                              int nDefault) {
    int n = m_nForcedButton >= 0 ? m_nForcedButton : nDefault;
    std::fprintf(stderr, "%s\n", text.c_str());
    if (n >= 0 && static_cast<size_t>(n) < buttons.size())
        std::fprintf(stderr, "-> %s\n", buttons[n].c_str());
    return n;
}

void CStdErrPrompt::ForceAnswer(unsigned nType, int nResult) {
    m_forced.emplace_back(nType & MB_TYPEMASK, nResult);
}

int CScriptedPrompt::MessageBox(const std::string& text, unsigned nType, uint32_t) {
    m_shown.push_back({text, nType});
    if (m_answers.empty()) return SafeDefaultAnswer(nType);
    int n = m_answers.front();
    m_answers.pop_front();
    return n;
}

int CScriptedPrompt::AskButtons(const std::string& text, const std::vector<std::string>& buttons,
                                unsigned nIcon, int nDefault) {
    m_shown.push_back({text, nIcon});
    m_buttonSets.push_back(buttons);
    if (m_answers.empty()) return nDefault;
    int n = m_answers.front();
    m_answers.pop_front();
    return n;
}

namespace {
CStdErrPrompt g_stdErr;
IUserPrompt* g_pPrompt = &g_stdErr;
} // namespace

IUserPrompt& GetUserPrompt() {
    return *g_pPrompt;
}

void SetUserPrompt(IUserPrompt* pPrompt) {
    g_pPrompt = pPrompt ? pPrompt : &g_stdErr;
}
