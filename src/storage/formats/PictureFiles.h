#pragma once
// Foreign picture files on disk: format information, reading into a
// CRaster and writing one with a save type. Results are the codec layer's
// codes (ImpExpTables.h); nothing here reports to the user.

#include "storage/formats/CImageCodecs.h"
#include "storage/formats/CRaster.h"

#include <string>

// The extension of a path without the dot ("a/b.Tif" -> "Tif").
std::string PathExtension(const std::string& path);

// Format code, size and bits per pixel of a file.
int GetPictureFileInfo(const std::string& path, CImageFileInfo& info);
// Reads a picture. The memory need, stride × (height + 16) + 8192 bytes, must
// be below the memory available less the 2 MB reserve, else
// IMPEXP_ERR_MEMORY_LOW without decoding. 16- and 32-bit pictures come out at
// 24 bits; a resolution outside 0 … 5906 pixels per metre becomes 0.
int ReadPictureFile(const std::string& path, CRaster& out, CImageFileInfo* pInfo = nullptr);
// Writes with a save type (1 … 56, 57). A save type outside them returns 50
// without touching the file. The file is written beside its name and renamed
// over it only when complete.
int WritePictureFile(const CRaster& in, int nSaveType, const std::string& path);
