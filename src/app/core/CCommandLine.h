#pragma once
// The command line: a document path, the switches A (album response files),
// E, F (an album to show) after '/' or '-', and the screen-saver form.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

struct CCommandLine {
    enum Kind {
        kEmpty,         // nothing to do: the splash follows
        kOpenDocument,  // m_strPath
        kOpenDocuments, // m_documents: several arguments, each a file
        kAutoAlbum,     // /A: m_responseFiles, then the program ends
        kEdit,          // /E: accepted, no action
        kShowAlbum,     // /F: m_strPath in a slide show
        kScreenSaver,   // /S: m_strPath as a full-screen show
        kError,         // m_nErrorId with m_strMessage; -1: end silently
    };
    static constexpr int64_t kSilent = -1;

    Kind m_nKind = kEmpty;
    std::string m_strLine; // the whole command line
    std::string m_strPath;
    std::vector<std::string> m_responseFiles;
    std::vector<std::string> m_documents; // kOpenDocuments
    int64_t m_nErrorId = 0;
    std::string m_strMessage; // the error's text with the command line for "%1"
    // Screen saver: the digits at positions 3, 5 and 7 (-1 when not a digit)
    // give the show's titles index, random order and titles.
    int m_nTitlesIndex = -1;
    int m_nRandomOrder = -1;
    int m_nTitles = -1;

    bool IsScreenSaver() const { return m_nKind == kScreenSaver; }

    // The program's arguments joined by single blanks.
    static std::string Join(const std::vector<std::string>& args);
    // Parses the line. fileExists tells whether a plain file exists at a path.
    static CCommandLine Parse(const std::string& line,
                              const std::function<bool(const std::string&)>& fileExists);
    // Parses the program's arguments joined by blanks; when the joined line
    // names no file but each of several arguments does, each is a document.
    static CCommandLine Parse(const std::vector<std::string>& args,
                              const std::function<bool(const std::string&)>& fileExists);
    // True when the line is one of the switch forms (A or F followed by a
    // path, S, E) rather than an absolute path that begins with '/'.
    static bool IsSwitchForm(const std::string& line);
};
