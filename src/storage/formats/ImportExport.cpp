#include "storage/formats/ImportExport.h"

#include "framework/CAppException.h"
#include "framework/CException.h"
#include "framework/CFile.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "imaging/ImageMemory.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/PictureFiles.h"
#include "storage/formats/PixelLimit.h"
#include "storage/photo/CChunkJournal.h"
#include "storage/photo/QlnPhotoFile.h"

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <exception>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

bool IsPhotoFile(const std::string& path) {
    CFile f;
    if (!f.Open(path, CFile::modeRead | CFile::shareDenyNone)) return false;
    char magic[6] = {};
    return f.Read(magic, 6) == 6 && std::memcmp(magic, "QLN94A", 6) == 0;
}

// An exception of the caller's addition to a new photo file, carried past the
// export's own error mapping.
struct CAddToFileFailed {
    std::exception_ptr m_error;
};

// The bytes of one file into another, through CFile.
void CopyFileContents(const std::string& from, const std::string& to) {
    CFile in(from, CFile::modeRead | CFile::shareDenyNone);
    CFile out(to, CFile::modeWrite | CFile::modeCreate);
    std::vector<uint8_t> buf(1 << 20);
    while (const uint32_t n = in.Read(buf.data(), static_cast<uint32_t>(buf.size())))
        out.Write(buf.data(), n);
    out.Close();
}

// Holds a record's pixels from the photo-file layer until they are copied.
struct PhotoRecord {
    ImageRecType rec{};
    PhotoRecord() { rec.Hdr.dwStructSize = kImageHdrSize; }
    ~PhotoRecord() { QLNI_FreeTagData(rec.pPixels); }
};

// Not a chunk file: the codecs are asked next.
constexpr int kNotPhotoFile = 1000; // apart from every result code

// A photo file's main image through the photo-file cache, which opens the
// file once for the header and the pixels. Without out only the header.
int ImportPhoto(const std::string& path, std::unique_ptr<CDib>* pOut, CImageFileInfo* pInfo) {
    if (!QLNI_IsValidFile(path)) return kNotPhotoFile;
    PhotoRecord photo;
    try {
        ImageHdrType hdr{};
        hdr.dwStructSize = kImageHdrSize;
        if (GetTag(path, QLNI_TAG_IMAGE_HDR, &hdr, nullptr) <= 0) {
            QLNI_CloseFile();
            return IMPEXP_ERR_FILE_DAMAGED;
        }
        if (pInfo) {
            pInfo->nFormat = kFormatPhoto;
            pInfo->nWidth = static_cast<int>(hdr.dwWidth);
            pInfo->nHeight = static_cast<int>(hdr.dwHeight);
            pInfo->nBits = static_cast<int>(hdr.BitsPerPixel);
        }
        if (!pOut) {
            QLNI_CloseFile();
            return IMPEXP_SUCCESS;
        }
        if (!CheckPixelLimit(hdr.dwWidth, hdr.dwHeight)) {
            QLNI_CloseFile();
            return IMPEXP_ERR_TOO_MANY_PIXELS;
        }
        if (EstimateImageMemory(static_cast<int>(hdr.dwWidth), static_cast<int>(hdr.dwHeight),
                                static_cast<int>(hdr.BitsPerPixel)) >= GetRasterMemoryLimit()) {
            QLNI_CloseFile();
            return IMPEXP_ERR_MEMORY_LOW;
        }
        const long result = GetTag(path, QLNI_TAG_IMAGE, &photo.rec, nullptr);
        QLNI_CloseFile();
        if (result <= 0 || !photo.rec.pPixels) return IMPEXP_ERR_FILE_DAMAGED;
    } catch (const CMemoryException&) {
        return IMPEXP_ERR_NO_MEMORY;
    } catch (const CException&) {
        return IMPEXP_ERR_FILE_DAMAGED;
    }
    auto dib = DibFromPhotoRecord(photo.rec);
    *pOut = std::move(dib);
    return IMPEXP_SUCCESS;
}

} // namespace

std::unique_ptr<CDib> DibFromPhotoRecord(ImageRecType& rec) {
    PhotoRecord held; // releases the pixels however this ends
    held.rec.pPixels = rec.pPixels;
    rec.pPixels = nullptr;
    const ImageHdrType& h = rec.Hdr;
    const int nBits = static_cast<int>(h.BitsPerPixel);
    RGBQUAD table[256];
    for (int i = 0; i < 256; ++i) table[i] = {rec.Palette[i][0], rec.Palette[i][1], rec.Palette[i][2], 0};
    auto dib = std::make_unique<CDib>(nBits, static_cast<int>(h.dwWidth), static_cast<int>(h.dwHeight),
                                      nBits <= 8 ? table : nullptr);
    std::memcpy(dib->GetBits(), held.rec.pPixels, dib->GetImageSize());
    dib->GetInfo()->biXPelsPerMeter =
        h.dwXpelsPerMeter <= kMaxResolution ? static_cast<int32_t>(h.dwXpelsPerMeter) : 0;
    dib->GetInfo()->biYPelsPerMeter =
        h.dwYpelsPerMeter <= kMaxResolution ? static_cast<int32_t>(h.dwYpelsPerMeter) : 0;
    dib->CheckGray();
    return dib;
}

namespace {

// A file the codecs do not know that carries the photo-file signature is a
// damaged photo file.
int PhotoOrCodecError(const std::string& path, int rc) {
    return rc == IMPEXP_ERR_FILE_FORMAT && IsPhotoFile(path) ? IMPEXP_ERR_FILE_DAMAGED : rc;
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
    auto pHeader = CImageBlock<uint8_t>::Alloc(40 + 4 * nEntries);
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
    CImageBlock<uint8_t> pBits(raster.ReleaseBits());
    auto dib = std::make_unique<CDib>(pHeader.Get(), pBits.Get());
    // The image freed the header and holds the pixels.
    pHeader.Release();
    pBits.Release();
    return dib;
}

} // namespace

// A photo file written beside path and put in its place (WriteBeside).
int ExportPhotoFile(const CDib& dib, const std::string& path, const CPhotoExportOptions& options) {
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
    if (raster.GetBitCount() != 24 || options.m_bRaw) rec.Hdr.DataCompression = 0;
    if (options.m_nQuality > 0) rec.Hdr.CompressQFactor = static_cast<uint16_t>(options.m_nQuality);
    if (raster.m_nXRes > 0) rec.Hdr.dwXpelsPerMeter = static_cast<uint32_t>(raster.m_nXRes);
    if (raster.m_nYRes > 0 && raster.m_nYRes <= kMaxYpelsPerMeter)
        rec.Hdr.dwYpelsPerMeter = static_cast<uint32_t>(raster.m_nYRes);
    for (size_t i = 0; i < raster.m_palette.size() && i < 256; ++i) {
        rec.Palette[i][0] = raster.m_palette[i].blue;
        rec.Palette[i][1] = raster.m_palette[i].green;
        rec.Palette[i][2] = raster.m_palette[i].red;
    }
    rec.pPixels = raster.GetBits();
    try {
        WriteBeside(path, [&](const std::string& temp) {
            // The temporary file goes if the write fails, and with it any
            // rollback journal the chunk file left for it.
            struct CDropJournal {
                std::string m_strPath;
                ~CDropJournal() { std::remove(m_strPath.c_str()); }
            } dropJournal{CChunkJournal::PathFor(temp)};
            // Over a photo file only the main image is replaced: the file is
            // copied beside and opened with overwrite, which keeps a valid
            // chunk file with its thumbnails, album paths and texts.
            if (options.m_bKeepOtherChunks && IsPhotoFile(path)) CopyFileContents(path, temp);
            long result = 0;
            try {
                result = QLNI_CreateFile(temp, &rec, nullptr, nullptr, true);
                QLNI_CloseFile();
            } catch (...) {
                try {
                    QLNI_CloseFile();
                } catch (...) {
                }
                throw;
            }
            if (result <= 0) AfxThrowFileException(CFileException::generic, -1, path);
            if (options.m_addToFile) {
                try {
                    options.m_addToFile(temp);
                    QLNI_CloseFile();
                } catch (...) {
                    try {
                        QLNI_CloseFile();
                    } catch (...) {
                    }
                    throw CAddToFileFailed{std::current_exception()};
                }
            }
        });
    } catch (const CAddToFileFailed& e) {
        std::rethrow_exception(e.m_error);
    } catch (const CException& e) {
        if (const auto* fe = dynamic_cast<const CFileException*>(&e)) {
            if (fe->m_cause == CFileException::accessDenied) throw; // a read-only target: the file error
            if (fe->m_cause == CFileException::diskFull) return IMPEXP_ERR_DISK_FULL;
            if (fe->m_lOsError == ENOENT || fe->m_lOsError == ENOTDIR) return IMPEXP_ERR_INV_FILENAME;
        }
        return dynamic_cast<const CMemoryException*>(&e) ? IMPEXP_ERR_NO_MEMORY : IMPEXP_ERR_FILE_WRITE;
    }
    return IMPEXP_SUCCESS;
}

int GetImportInfo(const std::string& path, CImageFileInfo& info) {
    const int rc = ImportPhoto(path, nullptr, &info);
    if (rc != kNotPhotoFile) return rc;
    return PhotoOrCodecError(path, GetPictureFileInfo(path, info));
}

int ImportPicture(const std::string& path, std::unique_ptr<CDib>& out, CImageFileInfo* pInfo) {
    out.reset();
    int rc = ImportPhoto(path, &out, pInfo);
    if (rc != kNotPhotoFile) return rc;
    CRaster raster;
    rc = ReadPictureFile(path, raster, pInfo);
    if (rc != IMPEXP_SUCCESS) return PhotoOrCodecError(path, rc);
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
    if (nSaveType == kSaveTypePhoto) return ExportPhotoFile(dib, path, {});
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
