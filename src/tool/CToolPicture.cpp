#include "tool/CToolPicture.h"

#include "framework/CException.h"
#include "framework/CFile.h"
#include "imaging/CDib.h"
#include "storage/QlnPhotoFile.h"
#include "tool/ToolPictures.h"

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <sys/stat.h>
#include <unistd.h>

namespace {

std::string LowerExtension(const std::string& path) {
    const size_t slash = path.find_last_of('/');
    const size_t dot = path.find_last_of('.');
    if (dot == std::string::npos || (slash != std::string::npos && dot < slash)) return {};
    std::string ext = path.substr(dot);
    for (char& c : ext) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return ext;
}

uint8_t IndexAt(const uint8_t* row, uint32_t x, uint32_t bits) {
    if (bits == 8) return row[x];
    if (bits == 4) return (row[x / 2] >> (x % 2 ? 0 : 4)) & 0x0F;
    return (row[x / 8] >> (7 - x % 8)) & 1;
}

// 1- and 4-bit pixels as 8-bit indices of the same colours.
std::unique_ptr<CToolPicture> ExpandTo8(const CToolPicture& src) {
    auto dst = std::make_unique<CToolPicture>(src.Width(), src.Height(), 8);
    std::copy(src.ColorTable().begin(), src.ColorTable().end(), dst->ColorTable().begin());
    for (uint32_t y = 0; y < src.Height(); ++y)
        for (uint32_t x = 0; x < src.Width(); ++x) dst->Row(y)[x] = IndexAt(src.Row(y), x, src.BitCount());
    return dst;
}

} // namespace

CToolPicture::CToolPicture(uint32_t nWidth, uint32_t nHeight, uint32_t nBitCount)
    : m_nWidth(nWidth), m_nHeight(nHeight), m_nBitCount(nBitCount) {
    const size_t size = ImageSize();
    if (size > 0xFFFFFFFFu) AfxThrowNotSupportedException();
    // Pixel memory comes from the photo layer's allocator, so records can take it as it is.
    m_pBits = std::shared_ptr<uint8_t>(
        static_cast<uint8_t*>(QLNI_DefaultAllocMemory(static_cast<uint32_t>(size), false)),
        QLNI_DefaultFreeMemory);
    std::memset(m_pBits.get(), 0, size);
    if (nBitCount <= 8) m_colorTable.assign(4u << nBitCount, 0);
}

CToolPicture::CToolPicture(uint32_t nWidth, uint32_t nHeight, uint32_t nBitCount, uint8_t* pBits,
                           void (*pfnFree)(void*))
    : m_nWidth(nWidth), m_nHeight(nHeight), m_nBitCount(nBitCount), m_pBits(pBits, pfnFree) {
    if (nBitCount <= 8) m_colorTable.assign(4u << nBitCount, 0);
}

CToolPicture::CToolPicture(uint32_t nWidth, uint32_t nHeight, uint32_t nBitCount,
                           std::shared_ptr<uint8_t> pBits)
    : m_nWidth(nWidth), m_nHeight(nHeight), m_nBitCount(nBitCount), m_pBits(std::move(pBits)) {
    if (nBitCount <= 8) m_colorTable.assign(4u << nBitCount, 0);
}

std::unique_ptr<CToolPicture> LoadToolPicture(const std::string& path) {
    if (!CFile::Exists(path)) AfxThrowFileException(CFileException::fileNotFound, -1, path);
    if (QLNI_IsValidFile(path)) {
        ImageRecType rec{};
        rec.Hdr.dwStructSize = kImageHdrSize;
        long result = 0;
        try {
            result = GetTag(path, QLNI_TAG_IMAGE, &rec, nullptr);
            QLNI_CloseFile();
        } catch (...) {
            QLNI_FreeTagData(rec.pPixels);
            throw;
        }
        if (result <= 0) {
            QLNI_FreeTagData(rec.pPixels);
            AfxThrowNotSupportedException();
        }
        return PictureFromRecord(rec);
    }
    // Any other picture through the import layer; its pixels are shared, not copied.
    std::shared_ptr<CDib> dib(LoadPicture(path).release());
    const uint32_t bits = static_cast<uint32_t>(dib->GetBitCount());
    std::shared_ptr<uint8_t> pBits(dib, dib->GetBits());
    auto picture = std::make_unique<CToolPicture>(dib->GetWidth(), dib->GetHeight(), bits, std::move(pBits));
    if (bits <= 8)
        std::memcpy(picture->ColorTable().data(), dib->GetColorTable(), picture->ColorTable().size());
    if (bits < 8) picture = ExpandTo8(*picture);
    return picture;
}

void SaveToolPicture(const CToolPicture& picture, const std::string& path) {
    const std::string ext = LowerExtension(path);
    if (ext != ".qln") {
        // BMP and every other format through the export layer.
        CDib image(static_cast<int>(picture.BitCount()), static_cast<int>(picture.Width()),
                   static_cast<int>(picture.Height()),
                   picture.BitCount() <= 8 ? reinterpret_cast<const RGBQUAD*>(picture.ColorTable().data())
                                           : nullptr);
        std::memcpy(image.GetBits(), picture.Bits(), picture.ImageSize());
        SavePicture(image, path);
        return;
    }
    ImageRecType rec{};
    rec.Hdr.dwStructSize = kImageHdrSize;
    FillImageRecord(picture, rec);
    if (picture.BitCount() != 24) rec.Hdr.DataCompression = 0;
    BuildPhotoFileBeside(path, [&](const std::string& temp) {
        if (QLNI_CreateFile(temp, &rec, nullptr, nullptr, true) <= 0) AfxThrowNotSupportedException();
    });
}

void BuildPhotoFileBeside(const std::string& path, const std::function<void(const std::string&)>& build) {
    std::string temp = path + ".zoziXXXXXX";
    const int fd = ::mkstemp(temp.data());
    if (fd < 0) AfxThrowOsFileException(errno, path);
    // The permissions of the file replaced, or those of a new file.
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0)
        ::fchmod(fd, st.st_mode & 07777);
    else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        ::fchmod(fd, 0666 & ~mask);
    }
    ::close(fd);
    try {
        build(temp);
        QLNI_CloseFile();
        CFile written(temp, CFile::modeRead);
        written.Sync(); // on the disk before it replaces anything
        written.Close();
        CFile::Rename(temp, path);
    } catch (...) {
        try {
            QLNI_CloseFile();
        } catch (...) {
        }
        ::unlink(temp.c_str());
        throw;
    }
}

void FillImageRecord(const CToolPicture& picture, ImageRecType& rec) {
    InitImageHeader(&rec.Hdr, picture.Width(), picture.Height(), picture.BitCount());
    std::memset(rec.Palette, 0, sizeof rec.Palette);
    if (picture.BitCount() <= 8)
        std::memcpy(rec.Palette, picture.ColorTable().data(),
                    std::min<size_t>(picture.ColorTable().size(), 1024));
    rec.pPixels = const_cast<uint8_t*>(picture.Bits());
}

std::unique_ptr<CToolPicture> PictureFromRecord(ImageRecType& rec) {
    auto picture = std::make_unique<CToolPicture>(rec.Hdr.dwWidth, rec.Hdr.dwHeight, rec.Hdr.BitsPerPixel,
                                                  static_cast<uint8_t*>(rec.pPixels), QLNI_FreeTagData);
    rec.pPixels = nullptr;
    if (picture->BitCount() <= 8)
        std::memcpy(picture->ColorTable().data(), rec.Palette, picture->ColorTable().size());
    return picture;
}
