#include "storage/formats/CPngCodec.h"

#include "storage/formats/ImpExpTables.h"

#include <png.h>

#include <cstring>

namespace {

struct ImageGuard {
    png_image image;
    ImageGuard() {
        std::memset(&image, 0, sizeof image);
        image.version = PNG_IMAGE_VERSION;
    }
    ~ImageGuard() { png_image_free(&image); }
};

} // namespace

bool CPngCodec::Sniff(const uint8_t* p, size_t n) {
    return n >= 8 && png_sig_cmp(p, 0, 8) == 0;
}

int CPngCodec::Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits) {
    ImageGuard g;
    if (!png_image_begin_read_from_memory(&g.image, p, n)) return IMPEXP_ERR_FILE_FORMAT;
    if (g.image.width == 0 || g.image.height == 0 || g.image.width > CRaster::kMaxSide ||
        g.image.height > CRaster::kMaxSide)
        return IMPEXP_ERR_INV_RANGE;
    nWidth = static_cast<int>(g.image.width);
    nHeight = static_cast<int>(g.image.height);
    const bool bMapped = (g.image.format & PNG_FORMAT_FLAG_COLORMAP) != 0;
    const bool bGrey = (g.image.format & PNG_FORMAT_FLAG_COLOR) == 0;
    nBits = bMapped || bGrey ? 8 : 24;
    return IMPEXP_SUCCESS;
}

int CPngCodec::Read(const uint8_t* p, size_t n, CRaster& out) {
    ImageGuard g;
    if (!png_image_begin_read_from_memory(&g.image, p, n)) return IMPEXP_ERR_FILE_FORMAT;
    if (g.image.width == 0 || g.image.height == 0 || g.image.width > CRaster::kMaxSide ||
        g.image.height > CRaster::kMaxSide)
        return IMPEXP_ERR_INV_RANGE;
    const bool bMapped = (g.image.format & PNG_FORMAT_FLAG_COLORMAP) != 0 && g.image.colormap_entries <= 256;
    const bool bGrey = (g.image.format & PNG_FORMAT_FLAG_COLOR) == 0;
    const int nBits = bMapped || bGrey ? 8 : 24;
    int rc = out.Create(static_cast<int>(g.image.width), static_cast<int>(g.image.height), nBits, false);
    if (rc != IMPEXP_SUCCESS) return rc;
    // Bottom-up rows: a negative stride, the buffer starting with the bottom row.
    const png_int_32 stride = -static_cast<png_int_32>(out.GetStride());
    void* pFirst = out.GetBits();
    if (bMapped) {
        g.image.format = PNG_FORMAT_BGR_COLORMAP;
        uint8_t map[256 * 3] = {};
        if (!png_image_finish_read(&g.image, nullptr, pFirst, stride, map)) return IMPEXP_ERR_FILE_DAMAGED;
        for (unsigned i = 0; i < g.image.colormap_entries && i < 256; ++i)
            out.m_palette[i] = {map[3 * i], map[3 * i + 1], map[3 * i + 2], 0};
    } else {
        g.image.format = bGrey ? PNG_FORMAT_GRAY : PNG_FORMAT_BGR;
        if (bGrey) out.SetGrayPalette();
        if (!png_image_finish_read(&g.image, nullptr, pFirst, stride, nullptr))
            return IMPEXP_ERR_FILE_DAMAGED;
    }
    return IMPEXP_SUCCESS;
}

int CPngCodec::Write(const CRaster& source, std::vector<uint8_t>& out) {
    CRaster converted;
    const CRaster* pIn = &source;
    if (source.GetBitCount() != 8 && source.GetBitCount() != 24) {
        int rc = source.ConvertTo(source.GetBitCount() < 8 ? 8 : 24, converted);
        if (rc != IMPEXP_SUCCESS) return rc;
        pIn = &converted;
    }
    const CRaster& in = *pIn;
    ImageGuard g;
    g.image.width = static_cast<png_uint_32>(in.GetWidth());
    g.image.height = static_cast<png_uint_32>(in.GetHeight());
    uint8_t map[256 * 3];
    const void* pMap = nullptr;
    if (in.GetBitCount() == 8) {
        g.image.format = PNG_FORMAT_BGR_COLORMAP;
        g.image.colormap_entries = 256;
        for (int i = 0; i < 256; ++i)
            map[3 * i] = in.m_palette[i].blue, map[3 * i + 1] = in.m_palette[i].green,
                    map[3 * i + 2] = in.m_palette[i].red;
        pMap = map;
    } else {
        g.image.format = PNG_FORMAT_BGR;
    }
    const png_int_32 stride = -static_cast<png_int_32>(in.GetStride());
    png_alloc_size_t size = 0;
    if (!png_image_write_get_memory_size(g.image, size, 0, in.GetBits(), stride, pMap))
        return IMPEXP_ERR_FILE_WRITE;
    try {
        out.resize(size);
    } catch (const std::bad_alloc&) {
        return IMPEXP_ERR_NO_MEMORY;
    }
    if (!png_image_write_to_memory(&g.image, out.data(), &size, 0, in.GetBits(), stride, pMap))
        return IMPEXP_ERR_FILE_WRITE;
    out.resize(size);
    return IMPEXP_SUCCESS;
}
