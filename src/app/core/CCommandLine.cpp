#include "app/core/CCommandLine.h"

#include "framework/StringTable.h"

#include <algorithm>

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

// An absolute path rather than a switch: the first word begins with '/' and
// holds another '/', and the line is not a switch form.
bool LooksLikePath(const std::string& line) {
    if (line.size() < 2 || line[0] != '/') return false;
    const size_t nFirstWord = std::min(line.find(' '), line.size());
    if (line.find('/', 1) >= nFirstWord) return false;
    return !CCommandLine::IsSwitchForm(line);
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

bool CCommandLine::IsSwitchForm(const std::string& line) {
    if (line.size() < 2 || !IsSwitchChar(line[0])) return false;
    switch (line[1]) {
    case 'A':
    case 'a':
    case 'F':
    case 'f':
        // Followed by a path (a malformed F form is still switch F and reports 1081).
        return true;
    case 'E':
    case 'e':
    case 'S':
    case 's':
        // The letter alone or followed by a blank: "/etc/..." and "/srv/..." are paths.
        return line.size() == 2 || line[2] == ' ';
    default:
        return false;
    }
}

CCommandLine CCommandLine::Parse(const std::vector<std::string>& args,
                                 const std::function<bool(const std::string&)>& fileExists) {
    const std::string line = Join(args);
    if (args.size() > 1 && !fileExists(line)) {
        bool bAllFiles = true;
        for (const std::string& a : args) bAllFiles = bAllFiles && !a.empty() && fileExists(a);
        if (bAllFiles) {
            CCommandLine r;
            r.m_strLine = line;
            r.m_nKind = kOpenDocuments;
            r.m_documents = args;
            return r;
        }
    }
    return Parse(line, fileExists);
}

CCommandLine CCommandLine::Parse(const std::string& line,
                                 const std::function<bool(const std::string&)>& fileExists) {
    CCommandLine r;
    r.m_strLine = line;
    if (line.empty()) return r;

    // An absolute path on this platform begins with '/', as switches do: a
    // line that names an existing file is a document, not a switch; so is one
    // whose first word holds a second '/' and is not a switch form (a missing
    // file is then reported by the open).
    if (!IsSwitchChar(line[0]) || (line[0] == '/' && fileExists(line)) || LooksLikePath(line)) {
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
