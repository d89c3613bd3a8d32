#include "storage/formats/CBmpCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/ImpExpTables.h"

#include <cstring>

namespace {

struct BmpHeader {
    bool bOs2 = false;
    int64_t nWidth = 0;
    int64_t nHeight = 0; // negative: top-down
    int nBits = 0;
    uint32_t nCompression = 0;
    uint32_t nBitsOffset = 0;
    uint32_t nColours = 0;
    int nXRes = 0;
    int nYRes = 0;
    size_t nTablePos = 0;
};

int ParseHeader(const uint8_t* p, size_t n, BmpHeader& h) {
    CByteReader r(p, n);
    if (r.U8() != 'B' || r.U8() != 'M') return IMPEXP_ERR_FILE_FORMAT;
    r.Skip(8);
    h.nBitsOffset = r.U32();
    uint32_t nInfo = r.U32();
    if (r.Failed()) return IMPEXP_ERR_FILE_FORMAT;
    if (nInfo == 12) {
        h.bOs2 = true;
        h.nWidth = r.U16();
        h.nHeight = r.U16();
        r.U16();
        h.nBits = r.U16();
    } else if (nInfo >= 40 && nInfo <= 4096) {
        h.nWidth = static_cast<int32_t>(r.U32());
        h.nHeight = static_cast<int32_t>(r.U32());
        r.U16();
        h.nBits = r.U16();
        h.nCompression = r.U32();
        r.U32();
        h.nXRes = static_cast<int32_t>(r.U32());
        h.nYRes = static_cast<int32_t>(r.U32());
        h.nColours = r.U32();
    } else {
        return IMPEXP_ERR_FILE_FORMAT;
    }
    if (r.Failed()) return IMPEXP_ERR_FILE_FORMAT;
    h.nTablePos = 14 + nInfo;
    if (h.nWidth <= 0 || h.nHeight == 0 || h.nWidth > CRaster::kMaxSide || h.nHeight > CRaster::kMaxSide ||
        h.nHeight < -CRaster::kMaxSide)
        return IMPEXP_ERR_INV_RANGE;
    if (!CRaster::IsValidBitCount(h.nBits)) return IMPEXP_ERR_INV_BITS;
    if (h.nCompression != 0 && !(h.nCompression == 3 && (h.nBits == 16 || h.nBits == 32)))
        return IMPEXP_ERR_IMAGE_TYPE;
    return IMPEXP_SUCCESS;
}

} // namespace

int CBmpCodec::Sniff(const uint8_t* p, size_t n) {
    BmpHeader h;
    if (n < 26 || ParseHeader(p, n, h) == IMPEXP_ERR_FILE_FORMAT) return 0;
    return h.bOs2 ? 14 : 6;
}

int CBmpCodec::Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits) {
    BmpHeader h;
    int rc = ParseHeader(p, n, h);
    if (rc != IMPEXP_SUCCESS) return rc;
    nWidth = static_cast<int>(h.nWidth);
    nHeight = static_cast<int>(h.nHeight < 0 ? -h.nHeight : h.nHeight);
    nBits = h.nBits;
    return IMPEXP_SUCCESS;
}

int CBmpCodec::Read(const uint8_t* p, size_t n, CRaster& out) {
    BmpHeader h;
    int rc = ParseHeader(p, n, h);
    if (rc != IMPEXP_SUCCESS) return rc;
    const bool bTopDown = h.nHeight < 0;
    const int nHeight = static_cast<int>(bTopDown ? -h.nHeight : h.nHeight);
    const int nWidth = static_cast<int>(h.nWidth);
    // Bit fields: only the usual 5-5-5 and 8-8-8 masks are the layout a CDib knows.
    if (h.nCompression == 3) {
        CByteReader m(p, n);
        m.Seek(h.nTablePos == 26 ? 26 : 54);
        uint32_t red = m.U32(), green = m.U32(), blue = m.U32();
        if (m.Failed()) return IMPEXP_ERR_FILE_DAMAGED;
        bool ok = (h.nBits == 16 && red == 0x7C00 && green == 0x03E0 && blue == 0x001F) ||
                  (h.nBits == 32 && red == 0xFF0000 && green == 0xFF00 && blue == 0xFF);
        if (!ok) return IMPEXP_ERR_IMAGE_TYPE;
    }
    const int64_t stride = CRaster::StrideFor(nWidth, h.nBits);
    const uint64_t need = static_cast<uint64_t>(stride) * static_cast<uint64_t>(nHeight);
    if (h.nBitsOffset > n || n - h.nBitsOffset < need) return IMPEXP_ERR_FILE_DAMAGED;
    rc = out.Create(nWidth, nHeight, h.nBits, false);
    if (rc != IMPEXP_SUCCESS) return rc;
    if (h.nBits <= 8) {
        size_t nMax = size_t{1} << h.nBits;
        size_t nEntries = h.nColours && h.nColours < nMax ? h.nColours : nMax;
        CByteReader t(p, n);
        t.Seek(h.nTablePos);
        for (size_t i = 0; i < nEntries; ++i) {
            CRasterColor& c = out.m_palette[i];
            c.blue = t.U8(), c.green = t.U8(), c.red = t.U8();
            if (!h.bOs2) t.U8();
        }
        if (t.Failed()) return IMPEXP_ERR_FILE_DAMAGED;
    }
    if (h.nXRes > 0 && h.nXRes <= 5906 && h.nYRes > 0 && h.nYRes <= 5906) {
        out.m_nXRes = h.nXRes;
        out.m_nYRes = h.nYRes;
    }
    const uint8_t* src = p + h.nBitsOffset;
    if (!bTopDown) {
        std::memcpy(out.GetBits(), src, need);
    } else {
        for (int y = 0; y < nHeight; ++y)
            std::memcpy(out.Row(y), src + static_cast<size_t>(y) * stride, stride);
    }
    return IMPEXP_SUCCESS;
}

int CBmpCodec::Write(const CRaster& in, bool bOs2, std::vector<uint8_t>& out) {
    const int nBits = in.GetBitCount();
    if (nBits != 1 && nBits != 4 && nBits != 8 && nBits != 24) return IMPEXP_ERR_INV_BITS;
    if (bOs2 && (in.GetWidth() > 0xFFFF || in.GetHeight() > 0xFFFF)) return IMPEXP_ERR_INV_RANGE;
    const size_t nEntries = nBits <= 8 ? size_t{1} << nBits : 0;
    const size_t nInfo = bOs2 ? 12 : 40;
    const size_t nTable = nEntries * (bOs2 ? 3 : 4);
    const size_t nOffset = 14 + nInfo + nTable;
    const uint64_t nTotal = nOffset + in.GetImageSize();
    if (nTotal > 0xFFFFFFFFull) return IMPEXP_ERR_INV_RANGE;
    out.clear();
    out.reserve(nTotal);
    CByteWriter w(out);
    w.U8('B'), w.U8('M');
    w.U32(static_cast<uint32_t>(nTotal));
    w.U32(0);
    w.U32(static_cast<uint32_t>(nOffset));
    if (bOs2) {
        w.U32(12);
        w.U16(in.GetWidth());
        w.U16(in.GetHeight());
        w.U16(1);
        w.U16(nBits);
    } else {
        w.U32(40);
        w.U32(in.GetWidth());
        w.U32(in.GetHeight());
        w.U16(1);
        w.U16(nBits);
        w.U32(0);
        w.U32(0);
        w.U32(in.m_nXRes > 0 ? in.m_nXRes : 2756);
        w.U32(in.m_nYRes > 0 ? in.m_nYRes : 2756);
        w.U32(0);
        w.U32(0);
    }
    for (size_t i = 0; i < nEntries; ++i) {
        const CRasterColor c = i < in.m_palette.size() ? in.m_palette[i] : CRasterColor{};
        w.U8(c.blue), w.U8(c.green), w.U8(c.red);
        if (!bOs2) w.U8(0);
    }
    w.Bytes(in.GetBits(), in.GetImageSize());
    return IMPEXP_SUCCESS;
}
