#include "storage/formats/CWmfCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/CBmpCodec.h"
#include "storage/formats/ImpExpTables.h"

namespace {

constexpr uint32_t kPlaceableKey = 0x9AC6CDD7;
constexpr unsigned kStretchDib = 0x0F43;
constexpr unsigned kDibStretchBlt = 0x0B41;
constexpr unsigned kDibBitBlt = 0x0940;
constexpr unsigned kSetDibToDev = 0x0D33;

// Position of the metafile header: after the 22-byte placeable header when there is one.
size_t HeaderStart(const uint8_t* p, size_t n) {
    CByteReader r(p, n);
    return r.U32() == kPlaceableKey ? 22 : 0;
}

bool ValidHeader(const uint8_t* p, size_t n) {
    CByteReader r(p, n);
    r.Seek(HeaderStart(p, n));
    unsigned type = r.U16(), size = r.U16(), version = r.U16();
    return !r.Failed() && (type == 1 || type == 2) && size == 9 && (version == 0x100 || version == 0x300);
}

// Finds the packed DIB of the first bitmap record and makes a .BMP image of it.
int FindBitmap(const uint8_t* p, size_t n, std::vector<uint8_t>& bmp) {
    if (!ValidHeader(p, n)) return IMPEXP_ERR_FILE_FORMAT;
    CByteReader r(p, n);
    r.Seek(HeaderStart(p, n) + 18);
    while (r.Remaining() >= 6) {
        size_t start = r.Position();
        uint64_t words = r.U32();
        unsigned function = r.U16();
        if (function == 0 || words < 3) break;
        if (words * 2 > r.Remaining() + 6) return IMPEXP_ERR_FILE_DAMAGED;
        size_t nParams = 0;
        switch (function) {
        case kStretchDib:
            nParams = 4 + 2 + 16;
            break;
        case kDibStretchBlt:
            nParams = 4 + 16;
            break;
        case kDibBitBlt:
            nParams = 4 + 12;
            break;
        case kSetDibToDev:
            nParams = 2 + 16;
            break;
        default:
            r.Seek(start + words * 2);
            continue;
        }
        size_t recordEnd = start + words * 2;
        size_t dibStart = start + 6 + nParams;
        if (dibStart + 40 > recordEnd) return IMPEXP_ERR_FILE_DAMAGED;
        const uint8_t* dib = p + dibStart;
        size_t dibSize = recordEnd - dibStart;
        CByteReader d(dib, dibSize);
        uint32_t infoSize = d.U32();
        d.Skip(10);
        unsigned bits = d.U16();
        uint32_t compression = d.U32();
        d.Skip(12);
        uint32_t used = d.U32();
        if (d.Failed() || infoSize < 12 || infoSize > dibSize) return IMPEXP_ERR_FILE_DAMAGED;
        uint64_t table = 0;
        if (bits <= 8) table = static_cast<uint64_t>(used && used < (1u << bits) ? used : (1u << bits)) * 4;
        if (compression == 3) table = 12;
        uint64_t offset = 14 + infoSize + table;
        uint64_t total = 14 + dibSize;
        if (offset > total) return IMPEXP_ERR_FILE_DAMAGED;
        bmp.clear();
        CByteWriter w(bmp);
        w.U8('B'), w.U8('M');
        w.U32(static_cast<uint32_t>(total));
        w.U32(0);
        w.U32(static_cast<uint32_t>(offset));
        w.Bytes(dib, dibSize);
        return IMPEXP_SUCCESS;
    }
    return IMPEXP_ERR_IMAGE_TYPE;
}

} // namespace

bool CWmfCodec::Sniff(const uint8_t* p, size_t n) {
    return n >= 18 && ValidHeader(p, n);
}

int CWmfCodec::Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits) {
    std::vector<uint8_t> bmp;
    int rc = FindBitmap(p, n, bmp);
    return rc == IMPEXP_SUCCESS ? CBmpCodec::Info(bmp.data(), bmp.size(), nWidth, nHeight, nBits) : rc;
}

int CWmfCodec::Read(const uint8_t* p, size_t n, CRaster& out) {
    std::vector<uint8_t> bmp;
    int rc = FindBitmap(p, n, bmp);
    return rc == IMPEXP_SUCCESS ? CBmpCodec::Read(bmp.data(), bmp.size(), out) : rc;
}

int CWmfCodec::Write(const CRaster& in, std::vector<uint8_t>& out) {
    const int w = in.GetWidth();
    const int h = in.GetHeight();
    if (w > 0x7FFF || h > 0x7FFF) return IMPEXP_ERR_INV_RANGE;
    std::vector<uint8_t> bmp;
    int rc = CBmpCodec::Write(in, false, bmp);
    if (rc != IMPEXP_SUCCESS) return rc;
    // The packed DIB is the .BMP file without its 14-byte file header, padded to whole words.
    const size_t nDib = bmp.size() - 14 + (bmp.size() & 1);
    const uint64_t nRecordWords = (6 + 22 + nDib) / 2;
    const uint64_t nTotalWords = 9 + 5 + 5 + nRecordWords + 3;
    if (nTotalWords > 0xFFFFFFFFull) return IMPEXP_ERR_INV_RANGE;
    out.clear();
    out.reserve(22 + nTotalWords * 2);
    CByteWriter wr(out);
    // Placeable header: key, handle, bounding box, units per inch (96), reserved, checksum.
    const uint16_t header[10] = {static_cast<uint16_t>(kPlaceableKey & 0xFFFF),
                                 static_cast<uint16_t>(kPlaceableKey >> 16),
                                 0,
                                 0,
                                 0,
                                 static_cast<uint16_t>(w),
                                 static_cast<uint16_t>(h),
                                 96,
                                 0,
                                 0};
    uint16_t sum = 0;
    for (uint16_t v : header) wr.U16(v), sum ^= v;
    wr.U16(sum);
    // Metafile header: in memory, 9 words, version 3.0, size in words, no objects.
    wr.U16(1), wr.U16(9), wr.U16(0x300);
    wr.U32(static_cast<uint32_t>(nTotalWords));
    wr.U16(0);
    wr.U32(static_cast<uint32_t>(nRecordWords));
    wr.U16(0);
    // SetWindowOrg (0, 0) and SetWindowExt (w, h): parameters in reverse order.
    wr.U32(5), wr.U16(0x020B), wr.U16(0), wr.U16(0);
    wr.U32(5), wr.U16(0x020C), wr.U16(h), wr.U16(w);
    // StretchDIB: raster operation SRCCOPY, colours as RGB, source and destination rectangles.
    wr.U32(static_cast<uint32_t>(nRecordWords)), wr.U16(kStretchDib);
    wr.U32(0x00CC0020);
    wr.U16(0);
    wr.U16(h), wr.U16(w), wr.U16(0), wr.U16(0);
    wr.U16(h), wr.U16(w), wr.U16(0), wr.U16(0);
    wr.Bytes(bmp.data() + 14, bmp.size() - 14);
    if (bmp.size() & 1) wr.U8(0);
    // End of file.
    wr.U32(3), wr.U16(0);
    return IMPEXP_SUCCESS;
}
