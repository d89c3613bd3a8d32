#include "album/AlbumPhotos.h"

#include "album/AlbumScales.h"
#include "framework/CException.h"
#include "framework/Trace.h"
#include "imaging/CDib.h"
#include "imaging/CInterpolateScale.h"
#include "imaging/CResampleScale.h"
#include "imaging/ColorConvert.h"
#include "imaging/DibHelpers.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"
#include "storage/photo/QlnPhotoFile.h"

#include <algorithm>
#include <cctype>
#include <cstring>

namespace {

constexpr size_t kDisplayPathMax = 64;

// The picture as 24 bits (palette images through their colour table).
std::unique_ptr<CDib> ToTrueColor(CDib& picture) {
    auto dest = std::make_unique<CDib>(24, picture.GetWidth(), picture.GetHeight(), nullptr);
    ConvertToTrueColor(picture, *dest);
    CopyResolution(picture, *dest);
    return dest;
}

} // namespace

void ThrowPhotoFileError(const std::string& photoPath) {
    AfxThrowFileException(CFileException::generic, -1, photoPath);
}

std::unique_ptr<CDib> LoadPhotoImage(const std::string& path) {
    std::string picturePath = path;
    // A companion photo file holds no picture: read the one it stands for.
    if (QLNI_IsValidFile(path) && QLNI_IsImageInFile(path) == 0) {
        std::string source;
        QLNI_GetSourceName(path, source);
        QLNI_CloseFile();
        if (!source.empty()) picturePath = source;
    }
    std::unique_ptr<CDib> dib;
    const int rc = ImportPicture(picturePath, dib);
    QLNI_CloseFile();
    if (rc == IMPEXP_ERR_NO_MEMORY || rc == IMPEXP_ERR_MEMORY_LOW) AfxThrowMemoryException();
    if (rc != IMPEXP_SUCCESS || !dib) {
        ZTRACE("LoadPhotoImage(): %s not loaded (%d)\n", picturePath.c_str(), rc);
        AfxThrowFileException(CFileException::invalidFile, -1, picturePath);
    }
    return dib;
}

std::unique_ptr<CDib> MakeThumbnailDib(CDib& picture, int nScale, int nStretchMethod) {
    const CSize size = GetThumbnailSize(nScale, picture.GetWidth(), picture.GetHeight());
    // Nearest sampling works on 8 and 24 bits; bilinear always gives 24 bits.
    std::unique_ptr<CDib> promoted;
    CDib* pSource = &picture;
    const int nBits = picture.GetBitCount();
    if (nBits < 8 || (nStretchMethod == 1 && nBits <= 8) || (nBits != 8 && nBits != 24)) {
        promoted = ToTrueColor(picture);
        pSource = promoted.get();
    }
    auto thumb = std::make_unique<CDib>(pSource->GetBitCount(), size.cx, size.cy,
                                        pSource->GetBitCount() <= 8 ? pSource->GetColorTable() : nullptr);
    if (nStretchMethod == 1) {
        CInterpolateScale(pSource, thumb.get()).Scale();
    } else {
        CResampleScale(pSource, thumb.get()).Scale();
    }
    return thumb;
}

void CreateThumbnail(const std::string& photoPath, CDib& picture, int nScale, const std::string& albumPath) {
    std::unique_ptr<CDib> thumb = MakeThumbnailDib(picture, nScale, GetAlbumSettings().m_nTnStretchMethod);
    TnImageRecType tn{};
    tn.Hdr.dwStructSize = kImageHdrSize;
    const int nBits = thumb->GetBitCount();
    InitImageHeader(&tn.Hdr, static_cast<uint32_t>(thumb->GetWidth()),
                    static_cast<uint32_t>(thumb->GetHeight()), static_cast<uint32_t>(nBits));
    // The photo layer compresses only 24-bit pixels: 8-bit thumbnails go raw.
    if (nBits != 24) tn.Hdr.DataCompression = 0;
    if (nBits <= 8) {
        const RGBQUAD* pTable = thumb->GetColorTable();
        for (int i = 0; i < thumb->GetNumColors() && i < 256; ++i) {
            tn.Palette[i][0] = pTable[i].rgbBlue;
            tn.Palette[i][1] = pTable[i].rgbGreen;
            tn.Palette[i][2] = pTable[i].rgbRed;
        }
    }
    tn.pPixels = thumb->GetBits();
    tn.wScale = static_cast<uint16_t>(nScale);
    if (SetTag(photoPath, QLNI_TAG_THUMBNAIL, true, &tn, albumPath.empty() ? nullptr : albumPath.c_str()) <=
        0)
        ThrowPhotoFileError(photoPath);
}

std::string ShortenPathForDisplay(const std::string& path) {
    std::string s = path;
    if (s.size() > kDisplayPathMax) {
        // Keep the end, which names the file: "..." and the last 61 characters.
        s = "..." + s.substr(s.size() - (kDisplayPathMax - 3));
    }
    for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

std::string GetPhotoText(const std::string& photoPath, unsigned nTag) {
    char* pText = nullptr;
    std::string text;
    if (GetTag(photoPath, nTag, &pText, nullptr) > 0 && pText) text = pText;
    QLNI_FreeTagData(pText);
    return text;
}

void SetPhotoText(const std::string& photoPath, unsigned nTag, const std::string& text, bool bKeep) {
    if (bKeep && !GetPhotoText(photoPath, nTag).empty()) return;
    if (SetTag(photoPath, nTag, true, text.c_str(), nullptr) <= 0) ThrowPhotoFileError(photoPath);
}

std::string FileNameOfPath(const std::string& path) {
    const size_t slash = path.find_last_of("/\\");
    return slash == std::string::npos ? path : path.substr(slash + 1);
}
