#include "tool/ToolPictures.h"

#include "framework/CAppException.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/StringTable.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

namespace {

constexpr int kFormatWindowsBmp = 6;
// Save types of Windows BMP files with 1, 4, 8 and 24 bits.
constexpr int kSaveTypeBmpFirst = 34, kSaveTypeBmpLast = 37;

[[noreturn]] void ThrowReadError(const std::string& path) {
    ThrowAppException(LoadResString(IDS_FILE_READ_ERROR) + "\n" + path);
}

bool IsBmpFile(const std::string& path) {
    CFile f;
    if (!f.Open(path, CFile::modeRead | CFile::shareDenyNone)) return false;
    char sig[2] = {0, 0};
    return f.Read(sig, 2) == 2 && sig[0] == 'B' && sig[1] == 'M';
}

std::string LowerExtension(const std::string& path) {
    std::string ext = std::filesystem::path(path).extension().string();
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

} // namespace

std::unique_ptr<CDib> LoadPicture(const std::string& path) {
    if (!IsBmpFile(path)) {
        if (!CFile::Exists(path)) AfxThrowFileException(CFileException::fileNotFound, -1, path);
        ThrowReadError(path);
    }
    try {
        return std::make_unique<CDib>(path);
    } catch (const CUserException&) {
        ThrowReadError(path);
    }
}

CPictureInfo GetPictureInfo(const std::string& path) {
    std::unique_ptr<CDib> p = LoadPicture(path);
    CPictureInfo info;
    info.nFormat = kFormatWindowsBmp;
    info.name = "Windows BMP";
    info.nWidth = p->GetWidth();
    info.nHeight = p->GetHeight();
    info.nBitCount = p->GetBitCount();
    return info;
}

void SavePicture(CDib& image, const std::string& path, int nSaveType) {
    if (nSaveType < 0) {
        if (LowerExtension(path) != ".bmp") AfxThrowNotSupportedException();
    } else if (nSaveType < kSaveTypeBmpFirst || nSaveType > kSaveTypeBmpLast) {
        AfxThrowNotSupportedException();
    } else {
        static const int kBits[] = {1, 4, 8, 24};
        if (image.GetBitCount() != kBits[nSaveType - kSaveTypeBmpFirst]) AfxThrowNotSupportedException();
    }
    image.SaveBMP(path);
}
