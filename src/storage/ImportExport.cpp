#include "storage/ImportExport.h"

#include "framework/CAppException.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "imaging/ImageMemory.h"
#include "storage/ImpExpTables.h"
#include "storage/PictureFiles.h"
#include "storage/PixelLimit.h"
#include "storage/QlnPhotoFile.h"

#include <cerrno>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

bool IsPhotoFile(const std::string& path) {
    CFile f;
    if (!f.Open(path, CFile::modeRead | CFile::shareDenyNone)) return false;
    char magic[6] = {};
    return f.Read(magic, 6) == 6 && std::memcmp(magic, "QLN94A", 6) == 0;
}

// Holds a record's pixels from the photo-file layer until they are copied.
struct PhotoRecord {
    ImageRecType rec{};
    PhotoRecord() { rec.Hdr.dwStructSize = kImageHdrSize; }
    ~PhotoRecord() { QLNI_FreeTagData(rec.pPixels); }
};

int ReadPhotoHeader(const std::string& path, ImageHdrType& hdr) {
    hdr = {};
    hdr.dwStructSize = kImageHdrSize;
    long result = 0;
    try {
        result = GetTag(path, QLNI_TAG_IMAGE_HDR, &hdr, nullptr);
        QLNI_CloseFile();
    } catch (const CMemoryException&) {
        return IMPEXP_ERR_NO_MEMORY;
    } catch (const CException&) {
        return IMPEXP_ERR_FILE_DAMAGED;
    }
    return result > 0 ? IMPEXP_SUCCESS : IMPEXP_ERR_FILE_DAMAGED;
}

int ImportPhoto(const std::string& path, std::unique_ptr<CDib>& out) {
    ImageHdrType hdr;
    int rc = ReadPhotoHeader(path, hdr);
    if (rc != IMPEXP_SUCCESS) return rc;
    if (!CheckPixelLimit(hdr.dwWidth, hdr.dwHeight)) return IMPEXP_ERR_TOO_MANY_PIXELS;
    if (EstimateImageMemory(static_cast<int>(hdr.dwWidth), static_cast<int>(hdr.dwHeight),
                            static_cast<int>(hdr.BitsPerPixel)) >= GetRasterMemoryLimit())
        return IMPEXP_ERR_MEMORY_LOW;
    PhotoRecord photo;
    long result = 0;
    try {
        result = GetTag(path, QLNI_TAG_IMAGE, &photo.rec, nullptr);
        QLNI_CloseFile();
    } catch (const CMemoryException&) {
        return IMPEXP_ERR_NO_MEMORY;
    } catch (const CException&) {
        return IMPEXP_ERR_FILE_DAMAGED;
    }
    if (result <= 0 || !photo.rec.pPixels) return IMPEXP_ERR_FILE_DAMAGED;
    const ImageHdrType& h = photo.rec.Hdr;
    const int nBits = static_cast<int>(h.BitsPerPixel);
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i)
        table[i] = {photo.rec.Palette[i][0], photo.rec.Palette[i][1], photo.rec.Palette[i][2], 0};
    auto dib = std::make_unique<CDib>(nBits, static_cast<int>(h.dwWidth), static_cast<int>(h.dwHeight),
                                      nBits <= 8 ? table : nullptr);
    std::memcpy(dib->GetBits(), photo.rec.pPixels, dib->GetImageSize());
    dib->GetInfo()->biXPelsPerMeter =
        h.dwXpelsPerMeter <= kMaxResolution ? static_cast<int32_t>(h.dwXpelsPerMeter) : 0;
    dib->GetInfo()->biYPelsPerMeter =
        h.dwYpelsPerMeter <= kMaxResolution ? static_cast<int32_t>(h.dwYpelsPerMeter) : 0;
    dib->CheckGray();
    out = std::move(dib);
    return IMPEXP_SUCCESS;
}

// The picture as the codec layer takes it: a description of the CDib's own
// pixels, not a copy.
int RasterFromDib(const CDib& dib, CRaster& r) {
    r.Attach(dib.GetWidth(), dib.GetHeight(), dib.GetBitCount(), const_cast<uint8_t*>(dib.GetBits()));
    for (int i = 0; i < dib.GetNumColors() && i < static_cast<int>(r.m_palette.size()); ++i) {
        const RGBQUAD& c = dib.GetColorTable()[i];
        r.m_palette[i] = {c.rgbBlue, c.rgbGreen, c.rgbRed, 0};
    }
    r.m_nXRes = dib.GetInfo()->biXPelsPerMeter;
    r.m_nYRes = dib.GetInfo()->biYPelsPerMeter;
    return IMPEXP_SUCCESS;
}

// A CDib that takes over the raster's pixel block (both from the image memory functions).
std::unique_ptr<CDib> DibFromRaster(CRaster& raster) {
    const int nBits = raster.GetBitCount();
    const size_t nEntries = nBits <= 8 ? size_t{1} << nBits : 0;
    auto* pHeader = static_cast<uint8_t*>(AllocImageMemory(40 + 4 * nEntries));
    BITMAPINFOHEADER h;
    h.biWidth = raster.GetWidth();
    h.biHeight = raster.GetHeight();
    h.biBitCount = static_cast<uint16_t>(nBits);
    h.biXPelsPerMeter = raster.m_nXRes;
    h.biYPelsPerMeter = raster.m_nYRes;
    std::memcpy(pHeader, &h, sizeof h);
    for (size_t i = 0; i < nEntries; ++i) {
        const CRasterColor& c = raster.m_palette[i];
        uint8_t* e = pHeader + 40 + 4 * i;
        e[0] = c.blue, e[1] = c.green, e[2] = c.red, e[3] = 0;
    }
    uint8_t* pBits = raster.ReleaseBits();
    try {
        return std::make_unique<CDib>(pHeader, pBits);
    } catch (...) {
        FreeImageMemory(pHeader);
        FreeImageMemory(pBits);
        throw;
    }
}

// A photo file written on a temporary name beside path and renamed over it.
int ExportPhoto(const CDib& dib, const std::string& path) {
    CRaster source;
    int rc = RasterFromDib(dib, source);
    if (rc != IMPEXP_SUCCESS) return rc;
    // Photo files hold 8, 16 or 24 bits.
    CRaster converted;
    const int nBits = source.GetBitCount() < 8 ? 8 : source.GetBitCount() == 32 ? 24 : source.GetBitCount();
    rc = source.ConvertTo(nBits, converted);
    if (rc != IMPEXP_SUCCESS) return rc;
    CRaster& raster = converted;
    ImageRecType rec{};
    rec.Hdr.dwStructSize = kImageHdrSize;
    InitImageHeader(&rec.Hdr, static_cast<uint32_t>(raster.GetWidth()),
                    static_cast<uint32_t>(raster.GetHeight()), static_cast<uint32_t>(raster.GetBitCount()));
    if (raster.GetBitCount() != 24) rec.Hdr.DataCompression = 0;
    if (raster.m_nXRes > 0) rec.Hdr.dwXpelsPerMeter = static_cast<uint32_t>(raster.m_nXRes);
    if (raster.m_nYRes > 0 && raster.m_nYRes <= kMaxYpelsPerMeter)
        rec.Hdr.dwYpelsPerMeter = static_cast<uint32_t>(raster.m_nYRes);
    for (size_t i = 0; i < raster.m_palette.size() && i < 256; ++i) {
        rec.Palette[i][0] = raster.m_palette[i].blue;
        rec.Palette[i][1] = raster.m_palette[i].green;
        rec.Palette[i][2] = raster.m_palette[i].red;
    }
    rec.pPixels = raster.GetBits();
    std::string temp = path + ".zoziXXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return errno == ENOENT ? IMPEXP_ERR_INV_FILENAME : IMPEXP_ERR_FILE_WRITE;
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0) ::fchmod(fd, st.st_mode & 07777);
    ::close(fd);
    try {
        long result = QLNI_CreateFile(temp, &rec, nullptr, nullptr, true);
        QLNI_CloseFile();
        if (result <= 0) {
            ::unlink(temp.c_str());
            return IMPEXP_ERR_FILE_WRITE;
        }
        CFile::Rename(temp, path);
    } catch (const CException& e) {
        try {
            QLNI_CloseFile();
        } catch (...) {
        }
        ::unlink(temp.c_str());
        if (const auto* fe = dynamic_cast<const CFileException*>(&e);
            fe && fe->m_cause == CFileException::diskFull)
            return IMPEXP_ERR_DISK_FULL;
        return dynamic_cast<const CMemoryException*>(&e) ? IMPEXP_ERR_NO_MEMORY : IMPEXP_ERR_FILE_WRITE;
    }
    return IMPEXP_SUCCESS;
}

} // namespace

int GetImportInfo(const std::string& path, CImageFileInfo& info) {
    if (IsPhotoFile(path)) {
        ImageHdrType hdr;
        int rc = ReadPhotoHeader(path, hdr);
        if (rc != IMPEXP_SUCCESS) return rc;
        info.nFormat = kFormatPhoto;
        info.nWidth = static_cast<int>(hdr.dwWidth);
        info.nHeight = static_cast<int>(hdr.dwHeight);
        info.nBits = static_cast<int>(hdr.BitsPerPixel);
        return IMPEXP_SUCCESS;
    }
    return GetPictureFileInfo(path, info);
}

int ImportPicture(const std::string& path, std::unique_ptr<CDib>& out, CImageFileInfo* pInfo) {
    out.reset();
    if (IsPhotoFile(path)) {
        CImageFileInfo info;
        int rc = GetImportInfo(path, info);
        if (pInfo) *pInfo = info;
        return rc == IMPEXP_SUCCESS ? ImportPhoto(path, out) : rc;
    }
    CRaster raster;
    int rc = ReadPictureFile(path, raster, pInfo);
    if (rc != IMPEXP_SUCCESS) return rc;
    try {
        out = DibFromRaster(raster);
    } catch (const CMemoryException&) {
        return IMPEXP_ERR_MEMORY_LOW;
    }
    return IMPEXP_SUCCESS;
}

int ExportPicture(const CDib& dib, int nSaveType, const std::string& path) {
    if (!IsValidSaveType(nSaveType)) return kBadSaveTypeResult;
    if (!dib.GetBits() || !dib.GetInfo()) return IMPEXP_ERR_NO_BITMAP;
    if (nSaveType == kSaveTypePhoto) return ExportPhoto(dib, path);
    CRaster raster;
    int rc = RasterFromDib(dib, raster);
    if (rc != IMPEXP_SUCCESS) return rc;
    return WritePictureFile(raster, nSaveType, path);
}

std::unique_ptr<CDib> ImportFile(const std::string& path) {
    std::unique_ptr<CDib> dib;
    int rc = ImportPicture(path, dib);
    if (rc == IMPEXP_ERR_MEMORY_LOW) {
        ReportException(CMemoryException());
        return nullptr;
    }
    if (rc != IMPEXP_SUCCESS) {
        ReportException(CAppException(FormatImpExpError(IDS_FILE_READ_ERROR, path, rc)));
        return nullptr;
    }
    return dib;
}

int ExportFile(const CDib& dib, int nSaveType, const std::string& path) {
    int rc = ExportPicture(dib, nSaveType, path);
    if (rc == kBadSaveTypeResult) return rc;
    if (rc != IMPEXP_SUCCESS)
        ReportException(CAppException(FormatImpExpError(IDS_FILE_SAVE_ERROR, path, rc)));
    return 1;
}
