#pragma once
// Import (file -> CDib) and export (CDib + save type -> file) of pictures in
// every format: photo files (format code and save type 666) through the
// photo-file layer, the rest through the codec layer.

#include "imaging/CDib.h"
#include "storage/formats/CImageCodecs.h"
#include "storage/photo/QlnImage.h"

#include <functional>
#include <memory>
#include <string>

// Format code, size and bits per pixel; 666 for a photo file.
int GetImportInfo(const std::string& path, CImageFileInfo& info);
// Reads the picture. Results are the codec layer's codes; the memory refusal
// before loading is IMPEXP_ERR_MEMORY_LOW.
int ImportPicture(const std::string& path, std::unique_ptr<CDib>& out, CImageFileInfo* pInfo = nullptr);
// Writes the picture; 50 for a save type outside 1 … 56, 57 and 666, the
// file untouched. A failure leaves any existing file of that name as it was.
int ExportPicture(const CDib& dib, int nSaveType, const std::string& path);

// The picture of a record GetTag filled (main image or thumbnail); the
// record's pixels are released.
std::unique_ptr<CDib> DibFromPhotoRecord(ImageRecType& rec);

// How a photo file is written (save type 666 uses the defaults): the main
// image raw (compression 0) or, for 24 bits, JPEG with the Q factor (0: the
// default); an existing photo file's other chunks (thumbnails, album paths,
// texts) kept or dropped; addToFile runs on the complete new file before it
// replaces the old one. Its exceptions pass to the caller.
struct CPhotoExportOptions {
    bool m_bRaw = false;
    int m_nQuality = 0;
    bool m_bKeepOtherChunks = true;
    std::function<void(const std::string& newFile)> m_addToFile;
};
int ExportPhotoFile(const CDib& dib, const std::string& path, const CPhotoExportOptions& options);

// The program's entry points. Import reports a failure with 1077 and the
// reason, and the memory refusal with the memory texts, and returns null.
// Export reports a failure with 1071 and returns 1 (50 for a bad save type).
std::unique_ptr<CDib> ImportFile(const std::string& path);
int ExportFile(const CDib& dib, int nSaveType, const std::string& path);
