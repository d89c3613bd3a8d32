#include "app/core/CCommandLine.h"

#include "framework/StringTable.h"

namespace {

bool IsSwitchChar(char c) {
    return c == '/' || c == '-';
}

CCommandLine Error(CCommandLine r, uint32_t nId) {
    r.m_nKind = CCommandLine::kError;
    r.m_nErrorId = nId;
    r.m_strMessage = FormatResString1(nId, r.m_strLine);
    return r;
}

int DigitAt(const std::string& s, size_t i) {
    return i < s.size() && s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1;
}

} // namespace

std::string CCommandLine::Join(const std::vector<std::string>& args) {
    std::string line;
    for (size_t i = 0; i < args.size(); ++i) {
        if (i) line += ' ';
        line += args[i];
    }
    return line;
}

CCommandLine CCommandLine::Parse(const std::string& line,
                                 const std::function<bool(const std::string&)>& fileExists) {
    CCommandLine r;
    r.m_strLine = line;
    if (line.empty()) return r;

    // An absolute path on this platform begins with '/', as switches do: a
    // line that names an existing file is a document, not a switch.
    if (!IsSwitchChar(line[0]) || (line[0] == '/' && fileExists(line))) {
        r.m_nKind = kOpenDocument;
        r.m_strPath = line;
        return r;
    }

    const char sw = line.size() > 1 ? line[1] : '\0';
    switch (sw) {
    case 'S':
    case 's':
        // The album path starts at the tenth character; a shorter line holds none.
        if (line.size() < 10) {
            r.m_nKind = kError;
            r.m_nErrorId = kSilent;
            return r;
        }
        r.m_nKind = kScreenSaver;
        r.m_strPath = line.substr(9);
        r.m_nTitlesIndex = DigitAt(line, 3);
        r.m_nRandomOrder = DigitAt(line, 5);
        r.m_nTitles = DigitAt(line, 7);
        return r;
    case 'A':
    case 'a': {
        r.m_nKind = kAutoAlbum;
        size_t pos = 2;
        while (pos < line.size()) {
            size_t b = line.find_first_not_of(' ', pos);
            if (b == std::string::npos) break;
            size_t e = line.find(' ', b);
            if (e == std::string::npos) e = line.size();
            r.m_responseFiles.push_back(line.substr(b, e - b));
            pos = e;
        }
        return r;
    }
    case 'E':
    case 'e':
        r.m_nKind = kEdit;
        return r;
    case 'F':
    case 'f':
        // Exactly one blank, then a path that does not start with a blank.
        if (line.size() > 3 && line[2] == ' ' && line[3] != ' ') {
            r.m_nKind = kShowAlbum;
            r.m_strPath = line.substr(3);
            return r;
        }
        return Error(r, IDS_CMDLINE_ALBUM_NOT_FOUND);
    default:
        return Error(r, IDS_INVALID_COMMAND_LINE);
    }
}
