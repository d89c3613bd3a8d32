#include "tool/ToolPictures.h"

#include "framework/CAppException.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/StringTable.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"
#include "storage/formats/PictureFiles.h"

#include <algorithm>
#include <cctype>

namespace {

// Save types of Windows BMP files with 1, 4, 8 and 24 bits.
constexpr int kSaveTypeBmpFirst = 34;

std::string LowerExtension(const std::string& path) {
    std::string ext = PathExtension(path);
    std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
    return ext;
}

// The save type a file name asks for: ".qln" a photo file, ".bmp" a Windows
// bitmap of the picture's own depth (0 when CDib writes it itself), others the
// save type of that extension for the picture's depth.
int SaveTypeForPath(const CDib& image, const std::string& path) {
    const std::string ext = LowerExtension(path);
    if (ext == "qln") return kSaveTypePhoto;
    if (ext == "bmp") {
        switch (image.GetBitCount()) {
        case 1:
            return kSaveTypeBmpFirst;
        case 4:
            return kSaveTypeBmpFirst + 1;
        case 8:
            return kSaveTypeBmpFirst + 2;
        case 24:
            return kSaveTypeBmpFirst + 3;
        default:
            return 0;
        }
    }
    int nSaveType = SaveTypeFromExtension(ext, image.GetBitCount());
    if (nSaveType == 0) AfxThrowNotSupportedException();
    return nSaveType;
}

} // namespace

std::unique_ptr<CDib> LoadPicture(const std::string& path) {
    if (!CFile::Exists(path)) AfxThrowFileException(CFileException::fileNotFound, -1, path);
    std::unique_ptr<CDib> image;
    int rc = ImportPicture(path, image);
    if (rc == IMPEXP_ERR_MEMORY_LOW) AfxThrowMemoryException();
    if (rc != IMPEXP_SUCCESS) ThrowAppException(FormatImpExpError(IDS_FILE_READ_ERROR, path, rc));
    return image;
}

CPictureInfo GetPictureInfo(const std::string& path) {
    if (!CFile::Exists(path)) AfxThrowFileException(CFileException::fileNotFound, -1, path);
    CImageFileInfo file;
    int rc = GetImportInfo(path, file);
    if (rc != IMPEXP_SUCCESS) ThrowAppException(FormatImpExpError(IDS_FILE_READ_ERROR, path, rc));
    CPictureInfo info;
    info.nFormat = file.nFormat;
    info.name = FormatName(file.nFormat);
    info.nWidth = file.nWidth;
    info.nHeight = file.nHeight;
    info.nBitCount = file.nBits;
    return info;
}

void SavePicture(CDib& image, const std::string& path, int nSaveType) {
    if (nSaveType < 0) nSaveType = SaveTypeForPath(image, path);
    if (nSaveType == 0) {
        // 16- and 32-bit bitmaps keep their depth: CDib writes them.
        image.SaveBMP(path);
        return;
    }
    int rc = ExportPicture(image, nSaveType, path);
    if (rc == kBadSaveTypeResult) AfxThrowNotSupportedException();
    if (rc != IMPEXP_SUCCESS) ThrowAppException(FormatImpExpError(IDS_FILE_SAVE_ERROR, path, rc));
}

void SavePhotoFile(const CDib& image, const std::string& path, const CPhotoExportOptions& options) {
    const int rc = ExportPhotoFile(image, path, options);
    if (rc != IMPEXP_SUCCESS) ThrowAppException(FormatImpExpError(IDS_FILE_SAVE_ERROR, path, rc));
}
