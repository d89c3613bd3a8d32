#include "storage/formats/CTargaCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/ImpExpTables.h"

#include <cstring>

namespace {

struct TgaHeader {
    int nIdLength = 0;
    int nMapType = 0;
    int nImageType = 0;
    int nMapFirst = 0;
    int nMapLength = 0;
    int nMapBits = 0;
    int nWidth = 0;
    int nHeight = 0;
    int nPixelBits = 0;
    int nDescriptor = 0;
};

int ParseHeader(const uint8_t* p, size_t n, TgaHeader& h) {
    CByteReader r(p, n);
    h.nIdLength = r.U8();
    h.nMapType = r.U8();
    h.nImageType = r.U8();
    h.nMapFirst = r.U16();
    h.nMapLength = r.U16();
    h.nMapBits = r.U8();
    r.U16(), r.U16();
    h.nWidth = r.U16();
    h.nHeight = r.U16();
    h.nPixelBits = r.U8();
    h.nDescriptor = r.U8();
    if (r.Failed()) return IMPEXP_ERR_FILE_FORMAT;
    if (h.nMapType > 1) return IMPEXP_ERR_FILE_FORMAT;
    int base = h.nImageType & 7;
    if (h.nImageType & ~0x0B || base == 0) return IMPEXP_ERR_FILE_FORMAT;
    if (h.nMapType == 1 && h.nMapBits != 15 && h.nMapBits != 16 && h.nMapBits != 24 && h.nMapBits != 32)
        return IMPEXP_ERR_FILE_FORMAT;
    if (base == 1 && (h.nMapType != 1 || h.nPixelBits != 8)) return IMPEXP_ERR_IMAGE_TYPE;
    if (base == 2 && h.nPixelBits != 15 && h.nPixelBits != 16 && h.nPixelBits != 24 && h.nPixelBits != 32)
        return IMPEXP_ERR_INV_BITS;
    if (base == 3 && h.nPixelBits != 8) return IMPEXP_ERR_INV_BITS;
    if (h.nWidth == 0 || h.nHeight == 0) return IMPEXP_ERR_INV_RANGE;
    return IMPEXP_SUCCESS;
}

int OutBits(const TgaHeader& h) {
    if ((h.nImageType & 7) != 2) return 8;
    return h.nPixelBits == 15 ? 16 : h.nPixelBits;
}

} // namespace

bool CTargaCodec::Sniff(const uint8_t* p, size_t n) {
    TgaHeader h;
    return n >= 18 && ParseHeader(p, n, h) == IMPEXP_SUCCESS;
}

int CTargaCodec::Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits) {
    TgaHeader h;
    int rc = ParseHeader(p, n, h);
    if (rc != IMPEXP_SUCCESS) return rc;
    nWidth = h.nWidth, nHeight = h.nHeight, nBits = OutBits(h);
    return IMPEXP_SUCCESS;
}

int CTargaCodec::Read(const uint8_t* p, size_t n, CRaster& out) {
    TgaHeader h;
    int rc = ParseHeader(p, n, h);
    if (rc != IMPEXP_SUCCESS) return rc;
    const int nBits = OutBits(h);
    const int base = h.nImageType & 7;
    const bool bRle = (h.nImageType & 8) != 0;
    CByteReader r(p, n);
    r.Seek(18 + static_cast<size_t>(h.nIdLength));
    std::vector<CRasterColor> map;
    if (h.nMapType == 1) {
        map.resize(static_cast<size_t>(h.nMapFirst) + h.nMapLength);
        for (int i = 0; i < h.nMapLength; ++i) {
            CRasterColor& c = map[static_cast<size_t>(h.nMapFirst) + i];
            if (h.nMapBits <= 16) {
                int v = r.U16();
                c.blue = static_cast<uint8_t>((v & 0x1F) << 3);
                c.green = static_cast<uint8_t>(((v >> 5) & 0x1F) << 3);
                c.red = static_cast<uint8_t>(((v >> 10) & 0x1F) << 3);
            } else {
                c.blue = r.U8(), c.green = r.U8(), c.red = r.U8();
                if (h.nMapBits == 32) r.U8();
            }
        }
        if (r.Failed()) return IMPEXP_ERR_FILE_DAMAGED;
    }
    const int nPixelBytes = (h.nPixelBits + 7) / 8;
    const uint64_t nRowBytes = static_cast<uint64_t>(h.nWidth) * nPixelBytes;
    // An uncompressed file must hold all its pixels; a compressed one at least one byte per 128 pixels.
    const uint64_t nMinData = bRle ? nRowBytes * h.nHeight / 128 / nPixelBytes : nRowBytes * h.nHeight;
    if (r.Remaining() < nMinData) return IMPEXP_ERR_FILE_DAMAGED;
    rc = out.Create(h.nWidth, h.nHeight, nBits, false);
    if (rc != IMPEXP_SUCCESS) return rc;
    if (base == 1) {
        for (size_t i = 0; i < 256 && i < map.size(); ++i) out.m_palette[i] = map[i];
    } else if (base == 3) {
        out.SetGrayPalette();
    }
    const bool bTopDown = (h.nDescriptor & 0x20) != 0;
    const bool bRightToLeft = (h.nDescriptor & 0x10) != 0;
    std::vector<uint8_t> row(nRowBytes);
    int nRun = 0;         // pixels left in the current packet
    bool bRepeat = false; // the packet repeats one pixel
    uint8_t pixel[4] = {};
    const int outBytes = nBits / 8;
    for (int line = 0; line < h.nHeight; ++line) {
        if (!bRle) {
            if (!r.Bytes(row.data(), row.size())) return IMPEXP_ERR_FILE_DAMAGED;
        } else {
            for (int x = 0; x < h.nWidth; ++x) {
                if (nRun == 0) {
                    int c = r.U8();
                    bRepeat = (c & 0x80) != 0;
                    nRun = (c & 0x7F) + 1;
                    if (bRepeat) r.Bytes(pixel, nPixelBytes);
                }
                if (r.Failed()) return IMPEXP_ERR_FILE_DAMAGED;
                if (!bRepeat && !r.Bytes(pixel, nPixelBytes)) return IMPEXP_ERR_FILE_DAMAGED;
                std::memcpy(&row[static_cast<size_t>(x) * nPixelBytes], pixel, nPixelBytes);
                --nRun;
            }
        }
        int y = bTopDown ? line : h.nHeight - 1 - line;
        uint8_t* d = out.Row(y);
        if (nPixelBytes == outBytes && !bRightToLeft && h.nPixelBits != 15) {
            std::memcpy(d, row.data(), row.size());
        } else {
            for (int x = 0; x < h.nWidth; ++x) {
                int sx = bRightToLeft ? h.nWidth - 1 - x : x;
                const uint8_t* s = &row[static_cast<size_t>(sx) * nPixelBytes];
                std::memcpy(d + static_cast<size_t>(x) * outBytes, s, outBytes);
                if (h.nPixelBits == 15 || h.nPixelBits == 16) d[2 * x + 1] &= 0x7F;
            }
        }
    }
    return IMPEXP_SUCCESS;
}

int CTargaCodec::Write(const CRaster& in, std::vector<uint8_t>& out) {
    const int nBits = in.GetBitCount();
    if (nBits != 8 && nBits != 16 && nBits != 24 && nBits != 32) return IMPEXP_ERR_INV_BITS;
    if (in.GetWidth() > 0xFFFF || in.GetHeight() > 0xFFFF) return IMPEXP_ERR_INV_RANGE;
    const size_t nRow = static_cast<size_t>(in.GetWidth()) * (nBits / 8);
    out.clear();
    out.reserve(18 + 768 + nRow * in.GetHeight());
    CByteWriter w(out);
    w.U8(0);
    w.U8(nBits == 8 ? 1 : 0);
    w.U8(nBits == 8 ? 1 : 2);
    w.U16(0);
    w.U16(nBits == 8 ? 256 : 0);
    w.U8(nBits == 8 ? 24 : 0);
    w.U16(0), w.U16(0);
    w.U16(in.GetWidth());
    w.U16(in.GetHeight());
    w.U8(nBits);
    w.U8(nBits == 32 ? 8 : nBits == 16 ? 1 : 0); // bottom-up, attribute bits
    if (nBits == 8)
        for (int i = 0; i < 256; ++i)
            w.U8(in.m_palette[i].blue), w.U8(in.m_palette[i].green), w.U8(in.m_palette[i].red);
    // Bottom row first, as in memory.
    for (int y = in.GetHeight() - 1; y >= 0; --y) {
        const uint8_t* s = in.Row(y);
        if (nBits == 32) {
            size_t at = out.size();
            w.Bytes(s, nRow);
            for (size_t i = at + 3; i < out.size(); i += 4) out[i] = 0xFF;
        } else {
            w.Bytes(s, nRow);
        }
    }
    return IMPEXP_SUCCESS;
}
