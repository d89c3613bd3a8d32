#pragma once
// Loading and saving pictures for zozi-tool: the one place that knows file
// formats. Every format goes through the import and export layer.

#include "imaging/CDib.h"
#include "storage/formats/ImportExport.h"

#include <memory>
#include <string>

struct CPictureInfo {
    int nFormat = -1; // format code of the import table (6 = Windows BMP)
    std::string name; // its display name
    int nWidth = 0, nHeight = 0, nBitCount = 0;
};

// The picture in the file; an error (message 1077 with the file name) when it
// cannot be read.
std::unique_ptr<CDib> LoadPicture(const std::string& path);
CPictureInfo GetPictureInfo(const std::string& path);
// Writes the picture in the format of nSaveType, or by the extension when it
// is negative; nothing is left behind on failure.
void SavePicture(CDib& image, const std::string& path, int nSaveType = -1);
// Writes a photo file with the options; errors as SavePicture's.
void SavePhotoFile(const CDib& image, const std::string& path, const CPhotoExportOptions& options);
