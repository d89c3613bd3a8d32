#pragma once
// An album response file: album path, scale, title, description, then one
// photo per line (path, title, a third field that is read and not used).

#include "framework/CObject.h"

#include <cstdint>
#include <string>
#include <vector>

class CAlbumResponseFile : public CObject {
    DECLARE_SERIAL(CAlbumResponseFile)
public:
    static constexpr size_t kMaxLine = 1023;

    // Reads the file; file exceptions when it cannot be opened.
    void Read(const std::string& path);
    // The same from text (lines end with LF or CR LF; longer lines are cut at 1,023 characters).
    void Parse(const std::string& text);

    std::string m_strAlbumPath;
    uint16_t m_wScale = 0;
    std::string m_strTitle;
    std::string m_strDescription;
    std::vector<std::string> m_photoPaths;
    std::vector<std::string> m_photoTitles;
    std::vector<std::string> m_photoExtra;
};

// Builds and writes the album the response file describes (the photo files
// get their thumbnails, backward paths and titles). Photos that fail are skipped.
void BuildAlbumFromResponseFile(const CAlbumResponseFile& response);
