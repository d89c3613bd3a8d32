#include "storage/formats/CWpgCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/ImpExpTables.h"

namespace {

void RecordHeader(CByteWriter& w, unsigned type, uint32_t length) {
    w.U8(type);
    if (length < 0xFF) {
        w.U8(length);
    } else if (length < 0x8000) {
        w.U8(0xFF);
        w.U16(length);
    } else {
        w.U8(0xFF);
        w.U16(0x8000 | (length >> 16));
        w.U16(length & 0xFFFF);
    }
}

// The bitmap coding: 0x80|n then a byte repeated n times, n (1 … 127) then n literal bytes.
void EncodeRow(const uint8_t* p, size_t n, std::vector<uint8_t>& out) {
    size_t i = 0;
    while (i < n) {
        size_t run = 1;
        while (i + run < n && run < 127 && p[i + run] == p[i]) ++run;
        if (run >= 3) {
            out.push_back(static_cast<uint8_t>(0x80 | run));
            out.push_back(p[i]);
            i += run;
            continue;
        }
        size_t lit = 0;
        while (i + lit < n && lit < 127) {
            if (i + lit + 2 < n && p[i + lit] == p[i + lit + 1] && p[i + lit] == p[i + lit + 2]) break;
            ++lit;
        }
        out.push_back(static_cast<uint8_t>(lit));
        out.insert(out.end(), p + i, p + i + lit);
        i += lit;
    }
}

} // namespace

bool CWpgCodec::Sniff(const uint8_t* p, size_t n) {
    return n >= 16 && p[0] == 0xFF && p[1] == 'W' && p[2] == 'P' && p[3] == 'C' && p[9] == 0x16;
}

int CWpgCodec::Write(const CRaster& in, std::vector<uint8_t>& out) {
    const int nBits = in.GetBitCount();
    if (nBits != 1 && nBits != 4 && nBits != 8) return IMPEXP_ERR_INV_BITS;
    const int w = in.GetWidth();
    const int h = in.GetHeight();
    if (w > 0x7FFF || h > 0x7FFF) return IMPEXP_ERR_INV_RANGE;
    // The bitmap's data first, so that its record length is known.
    std::vector<uint8_t> data;
    const size_t nRow = (static_cast<size_t>(w) * nBits + 7) / 8;
    for (int y = 0; y < h; ++y) EncodeRow(in.Row(y), nRow, data);
    if (data.size() > 0x7FFFFFF0u) return IMPEXP_ERR_INV_RANGE;

    out.clear();
    CByteWriter wr(out);
    // File header: signature, data offset, product type 1, file type 0x16, version 1.0.
    wr.U8(0xFF), wr.U8('W'), wr.U8('P'), wr.U8('C');
    wr.U32(16);
    wr.U8(1), wr.U8(0x16), wr.U8(1), wr.U8(0);
    wr.U16(0), wr.U16(0);
    // Start of graphics data: version, flags, size in 1/1200 inch at 75 dpi.
    RecordHeader(wr, 0x0F, 6);
    wr.U8(1), wr.U8(0);
    wr.U16(static_cast<unsigned>(std::min<int64_t>(int64_t{w} * 16, 0xFFFF)));
    wr.U16(static_cast<unsigned>(std::min<int64_t>(int64_t{h} * 16, 0xFFFF)));
    // Colour map.
    const unsigned nColours = 1u << nBits;
    RecordHeader(wr, 0x0E, 4 + 3 * nColours);
    wr.U16(0), wr.U16(nColours);
    for (unsigned i = 0; i < nColours; ++i)
        wr.U8(in.m_palette[i].red), wr.U8(in.m_palette[i].green), wr.U8(in.m_palette[i].blue);
    // Bitmap (type 1): width, height, depth, resolution, then the coded rows.
    RecordHeader(wr, 0x0B, static_cast<uint32_t>(10 + data.size()));
    wr.U16(w), wr.U16(h), wr.U16(nBits), wr.U16(75), wr.U16(75);
    wr.Bytes(data.data(), data.size());
    RecordHeader(wr, 0x10, 0);
    return IMPEXP_SUCCESS;
}
