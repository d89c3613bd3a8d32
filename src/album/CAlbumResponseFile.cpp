#include "album/CAlbumResponseFile.h"

#include "album/AlbumFile.h"
#include "album/AlbumPhotos.h"
#include "album/AlbumScales.h"
#include "album/CAlbum.h"
#include "framework/CArchive.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/Trace.h"
#include "imaging/CDib.h"
#include "storage/photo/QlnPhotoFile.h"

#include <cstdlib>

IMPLEMENT_SERIAL(CAlbumResponseFile, CObject, 0)

namespace {

// Response files are short lists; anything larger is not one.
constexpr uint64_t kMaxResponseFile = 64ull << 20;

std::vector<std::string> SplitBlanks(const std::string& line) {
    std::vector<std::string> fields;
    size_t i = 0;
    while (i < line.size()) {
        while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
        const size_t start = i;
        while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
        if (i > start) fields.push_back(line.substr(start, i - start));
    }
    return fields;
}

} // namespace

void CAlbumResponseFile::Read(const std::string& path) {
    CFile file(path, CFile::modeRead | CFile::shareDenyNone | CFile::typeBinary);
    const uint64_t length = file.GetLength();
    if (length > kMaxResponseFile) AfxThrowFileException(CFileException::invalidFile, -1, path);
    std::string text(static_cast<size_t>(length), '\0');
    if (length) file.ReadExact(text.data(), static_cast<uint32_t>(length));
    Parse(text);
}

void CAlbumResponseFile::Parse(const std::string& text) {
    *this = CAlbumResponseFile();
    size_t pos = 0;
    int nLine = 0;
    while (pos < text.size()) {
        size_t end = text.find('\n', pos);
        if (end == std::string::npos) end = text.size();
        std::string line = text.substr(pos, end - pos);
        pos = end + 1;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > kMaxLine) line.resize(kMaxLine);
        switch (nLine++) {
        case 0:
            m_strAlbumPath = line;
            break;
        case 1:
            m_wScale = static_cast<uint16_t>(std::atoi(line.c_str()));
            break;
        case 2:
            m_strTitle = line;
            break;
        case 3:
            m_strDescription = line;
            break;
        default: {
            // The arrays stay parallel: a missing field is an empty entry (no title).
            std::vector<std::string> fields = SplitBlanks(line);
            if (fields.empty()) break;
            m_photoPaths.push_back(fields[0]);
            m_photoTitles.push_back(fields.size() > 1 ? fields[1] : std::string());
            m_photoExtra.push_back(fields.size() > 2 ? fields[2] : std::string());
            break;
        }
        }
    }
}

void BuildAlbumFromResponseFile(const CAlbumResponseFile& response) {
    const std::string& albumPath = response.m_strAlbumPath;
    if (albumPath.empty()) AfxThrowFileException(CFileException::badPath, -1, albumPath);
    CAlbum album;
    album.m_nScale = response.m_wScale < kAlbumScaleCount ? response.m_wScale : 1;
    album.m_strTitle = response.m_strTitle;
    album.m_strDescription = response.m_strDescription;
    album.m_strFilePath = albumPath;
    // The album file first: when it cannot be created no photo file changes.
    CAtomicFile albumFile(albumPath);
    for (size_t i = 0; i < response.m_photoPaths.size(); ++i) {
        const std::string& path = response.m_photoPaths[i];
        try {
            std::unique_ptr<CDib> picture = LoadPhotoImage(path);
            std::string photoPath = path;
            if (!QLNI_IsValidFile(path)) {
                const std::string companion = QLNI_GetCompanionName(path);
                if (!QLNI_IsValidFile(companion)) QLNI_CreateCompanionFile(path, true);
                QLNI_GetHolderName(photoPath, path);
                if (photoPath.empty()) ThrowPhotoFileError(companion);
            }
            CreateThumbnail(photoPath, *picture, album.m_nScale, albumPath);
            album.AppendElem(photoPath);
            if (i < response.m_photoTitles.size() && !response.m_photoTitles[i].empty())
                SetPhotoText(photoPath, QLNI_TAG_TEXT1, response.m_photoTitles[i], true);
            if (QLNI_CommitFile(photoPath, 1, 1) != 1) ThrowPhotoFileError(photoPath);
        } catch (const CException&) {
            ZTRACE("BuildAlbumFromResponseFile(): %s skipped\n", path.c_str());
        }
    }
    WriteAlbumFileBeside(albumFile, [&](CArchive& ar) { album.Store(ar); });
    QLNI_CloseFile();
}
