#pragma once
// Helpers of the album tests: a scratch folder, photo files and pictures to
// add, and the backward paths a photo file records.

#include "framework/CArchive.h"
#include "framework/UserPrompt.h"
#include "imaging/CDib.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"
#include "storage/photo/QlnStringList.h"

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

class CAlbumScratch {
public:
    CAlbumScratch() {
        std::string pattern = (std::filesystem::temp_directory_path() / "zozi-album-XXXXXX").string();
        m_path = ::mkdtemp(pattern.data());
    }
    ~CAlbumScratch() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    std::string operator/(const std::string& name) const { return (m_path / name).string(); }
    const std::filesystem::path& Path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

inline std::vector<uint8_t> ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// A picture with a gradient, of the given depth (8: a grey palette).
inline std::unique_ptr<CDib> MakePicture(int w, int h, int nBits = 24) {
    std::unique_ptr<CDib> dib;
    if (nBits == 8)
        dib = std::make_unique<CDib>(w, h, 8, 256, nullptr);
    else
        dib = std::make_unique<CDib>(nBits, w, h, nullptr);
    for (int y = 0; y < h; ++y) {
        uint8_t* row = dib->GetRow(y);
        for (int x = 0; x < dib->GetStride(); ++x) row[x] = static_cast<uint8_t>((x * 3 + y * 5) & 0xFF);
    }
    return dib;
}

// A photo file with a main image (save type 666 of the export layer).
inline void MakePhotoFile(const std::string& path, int w = 40, int h = 30, int nBits = 24) {
    if (ExportPicture(*MakePicture(w, h, nBits), 666, path) != 1) throw std::runtime_error("photo " + path);
}

// The backward paths of a scale, as the photo file stores them (upper case).
inline std::set<std::string> BackwardPaths(const std::string& photo, uint16_t wScale) {
    std::set<std::string> paths;
    QLNI_GetTnUsageCount(photo, wScale); // opens the file in the cache
    CStringList list;
    LoadStringList(QLNI_GetCacheFile(), GetAlbumPathTagFromScale(wScale), list, false);
    QLNI_CloseFile();
    paths.insert(list.begin(), list.end());
    return paths;
}

inline std::string Upper(std::string s) {
    for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    return s;
}

inline bool HasThumbnail(const std::string& photo, uint16_t wScale) {
    int n = 0;
    uint16_t scales[QLNI_SCALE_COUNT];
    QLNI_GetThumbnailScales(photo, &n, scales);
    QLNI_CloseFile();
    for (int i = 0; i < n; ++i)
        if (scales[i] == wScale) return true;
    return false;
}
