#include "storage/formats/CImageCodecs.h"

#include "framework/TextCase.h"

#include "storage/formats/CBmpCodec.h"
#include "storage/formats/CGemImgCodec.h"
#include "storage/formats/CJpegCodec.h"
#include "storage/formats/CMacPaintCodec.h"
#include "storage/formats/CMagickCodec.h"
#include "storage/formats/CMspCodec.h"
#include "storage/formats/CPcxCodec.h"
#include "storage/formats/CPngCodec.h"
#include "storage/formats/CPostScriptCodec.h"
#include "storage/formats/CSunRasterCodec.h"
#include "storage/formats/CTargaCodec.h"
#include "storage/formats/CTiffCodec.h"
#include "storage/formats/CWmfCodec.h"
#include "storage/formats/CWpgCodec.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/PixelLimit.h"

#include <magick/api.h>

#include <cctype>
#include <cstring>

namespace {

using InfoFn = int (*)(const uint8_t*, size_t, int&, int&, int&);
using ReadFn = int (*)(const uint8_t*, size_t, CRaster&);
// The bit count a file declares (GraphicsMagick gives some pictures more);
// 0 lets the colours decide: 1 bit for two, 8 bits for up to 256.
using DeclaredFn = int (*)(const uint8_t*, size_t);

int OneBit(const uint8_t*, size_t) {
    return 1;
}
int ByColours(const uint8_t*, size_t) {
    return 0;
}
int SunBits(const uint8_t* p, size_t n) {
    return n >= 16 ? p[15] : 24;
}

// How each readable format code is decoded: an own reader, or a
// GraphicsMagick coder (with the least bit count its pictures come out at).
struct ReadEntry {
    int nFormat;
    InfoFn info;
    ReadFn read;
    const char* magick;
    int nMinBits;
    DeclaredFn declared = nullptr;
};

constexpr ReadEntry kReaders[] = {
    {1, CPcxCodec::Info, CPcxCodec::Read, "PCX", 1},
    {2, nullptr, nullptr, "GIF", 8},
    {3, CTiffCodec::Info, CTiffCodec::Read, "TIFF", 1, CTiffCodec::DeclaredBits},
    {4, CTargaCodec::Info, CTargaCodec::Read, nullptr, 1},
    {6, CBmpCodec::Info, CBmpCodec::Read, "BMP", 1},
    {10, CJpegCodec::Info, CJpegCodec::Read, nullptr, 1},
    {11, CJpegCodec::Info, CJpegCodec::Read, nullptr, 1},
    {14, CBmpCodec::Info, CBmpCodec::Read, "BMP", 1},
    {15, CWmfCodec::Info, CWmfCodec::Read, nullptr, 1},
    {16, CPostScriptCodec::Info, CPostScriptCodec::Read, nullptr, 1},
    {25, CTiffCodec::Info, CTiffCodec::Read, "TIFF", 1, OneBit},
    {27, CTiffCodec::Info, CTiffCodec::Read, "TIFF", 1, OneBit},
    {28, CTiffCodec::Info, CTiffCodec::Read, "TIFF", 1, OneBit},
    {29, CTiffCodec::Info, CTiffCodec::Read, "TIFF", 1, OneBit},
    {50, nullptr, nullptr, "CALS", 1, OneBit},
    {51, nullptr, nullptr, "MAC", 1, OneBit},
    {52, CGemImgCodec::Info, CGemImgCodec::Read, nullptr, 1},
    {53, CMspCodec::Info, CMspCodec::Read, nullptr, 1},
    {54, nullptr, nullptr, "WPG", 1, ByColours},
    {55, nullptr, nullptr, "SUN", 1, SunBits},
    {56, nullptr, nullptr, "PICT", 1, ByColours},
    {57, nullptr, nullptr, "PCD", 1},
    {kFormatPng, CPngCodec::Info, CPngCodec::Read, "PNG", 1},
};

const ReadEntry* FindReader(int nFormat) {
    for (const ReadEntry& e : kReaders)
        if (e.nFormat == nFormat) return &e;
    return nullptr;
}

bool StartsWith(const uint8_t* p, size_t n, const char* s) {
    size_t k = std::strlen(s);
    return n >= k && std::memcmp(p, s, k) == 0;
}

// Binary EPS (DOS header C5 D0 D3 C6): 63 with a TIFF preview, 64 with a metafile one.
int SniffBinaryEps(const uint8_t* p, size_t n) {
    if (n < 30 || p[0] != 0xC5 || p[1] != 0xD0 || p[2] != 0xD3 || p[3] != 0xC6) return 0;
    auto u32 = [&](size_t at) {
        return p[at] | (p[at + 1] << 8) | (p[at + 2] << 16) | (uint32_t(p[at + 3]) << 24);
    };
    if (u32(20) && u32(24)) return 63;
    if (u32(12) && u32(16)) return 64;
    return 16;
}

// The TIFF preview of a binary EPS file.
bool EpsTiffPreview(const uint8_t* p, size_t n, size_t& start, size_t& size) {
    if (SniffBinaryEps(p, n) != 63) return false;
    auto u32 = [&](size_t at) {
        return p[at] | (p[at + 1] << 8) | (p[at + 2] << 16) | (uint32_t(p[at + 3]) << 24);
    };
    start = u32(20);
    size = u32(24);
    return start <= n && size <= n - start;
}

void ReduceToDeclared(CRaster& out, int nDeclared) {
    if (nDeclared == 1 || nDeclared == 4 || nDeclared == 8) {
        out.ReduceExact(nDeclared);
    } else if (nDeclared == 0 && out.GetBitCount() > 8) {
        if (!out.ReduceExact(1)) out.ReduceExact(8);
    }
}

// QuickDraw pictures: after the 512-byte header (or none), size, frame and
// the version opcode (0x0011 0x02FF for version 2, 0x1101 for version 1).
bool SniffPict(const uint8_t* p, size_t n) {
    for (size_t at : {size_t{522}, size_t{10}}) {
        if (n < at + 4) continue;
        if (p[at] == 0x00 && p[at + 1] == 0x11 && p[at + 2] == 0x02 && p[at + 3] == 0xFF) return true;
        if (p[at] == 0x11 && p[at + 1] == 0x01) return true;
    }
    return false;
}

} // namespace

int CImageCodecs::Sniff(const uint8_t* p, size_t n, const std::string& ext) {
    if (n < 4) return 0;
    if (int f = CBmpCodec::Sniff(p, n)) return f;
    if (int f = CJpegCodec::Sniff(p, n)) return f;
    if (CPngCodec::Sniff(p, n)) return kFormatPng;
    if (StartsWith(p, n, "GIF87a") || StartsWith(p, n, "GIF89a")) return 2;
    if (int f = CTiffCodec::Sniff(p, n)) return f;
    if (CPcxCodec::Sniff(p, n)) return 1;
    if (CSunRasterCodec::Sniff(p, n)) return 55;
    if (CWpgCodec::Sniff(p, n)) return 54;
    if (CMspCodec::Sniff(p, n)) return 53;
    if (CWmfCodec::Sniff(p, n)) return 15;
    if (int f = SniffBinaryEps(p, n)) return f;
    if (StartsWith(p, n, "%!PS")) return 16;
    if (StartsWith(p, n, "srcdocid:") || StartsWith(p, n, "rorient:") || StartsWith(p, n, "rpelcnt:"))
        return 50;
    if (n >= 0x800 + 7 && std::memcmp(p + 0x800, "PCD_IPI", 7) == 0) return 57;
    const std::string e = ToUpperAscii(ext);
    // Formats without a signature of their own: by extension, then by structure.
    if (e == "TGA" && CTargaCodec::Sniff(p, n)) return 4;
    if (e == "IMG" && CGemImgCodec::Sniff(p, n)) return 52;
    if (e == "PCT" || e == "PICT" || SniffPict(p, n)) return 56;
    if (e == "MAC" && CMacPaintCodec::Sniff(p, n)) return 51;
    if (CMacPaintCodec::Sniff(p, n)) return 51;
    if (CGemImgCodec::Sniff(p, n)) return 52;
    if (CTargaCodec::Sniff(p, n)) return 4;
    return 0;
}

bool CImageCodecs::CanRead(int nFormat) {
    return nFormat == 63 || FindReader(nFormat) != nullptr;
}

int CImageCodecs::GetInfo(const uint8_t* p, size_t n, const std::string& ext, CImageFileInfo& info) {
    info.nFormat = Sniff(p, n, ext);
    if (info.nFormat == 0) return IMPEXP_ERR_FILE_FORMAT;
    if (info.nFormat == 63) {
        size_t start, size;
        if (!EpsTiffPreview(p, n, start, size)) return IMPEXP_ERR_FILE_DAMAGED;
        CMagickInfo mi;
        int rc = CMagickCodec::Ping(p + start, size, "TIFF", mi);
        info.nWidth = mi.nWidth, info.nHeight = mi.nHeight, info.nBits = mi.nBits;
        return rc;
    }
    const ReadEntry* e = FindReader(info.nFormat);
    if (!e) return IMPEXP_ERR_IMAGE_TYPE;
    if (e->info) {
        int rc = e->info(p, n, info.nWidth, info.nHeight, info.nBits);
        if (rc != IMPEXP_ERR_IMAGE_TYPE || !e->magick) return rc;
    }
    CMagickInfo mi;
    int rc = CMagickCodec::Ping(p, n, e->magick, mi);
    info.nWidth = mi.nWidth, info.nHeight = mi.nHeight;
    info.nBits = std::max(mi.nBits, e->nMinBits);
    int nDeclared = e->declared ? e->declared(p, n) : -1;
    if (nDeclared == 1 || nDeclared == 4 || nDeclared == 8) info.nBits = std::min(info.nBits, nDeclared);
    return rc;
}

int CImageCodecs::Read(const uint8_t* p, size_t n, int nFormat, CRaster& out) {
    if (nFormat == 63) {
        size_t start, size;
        if (!EpsTiffPreview(p, n, start, size)) return IMPEXP_ERR_FILE_DAMAGED;
        return CMagickCodec::Read(p + start, size, "TIFF", out);
    }
    const ReadEntry* e = FindReader(nFormat);
    if (!e) return IMPEXP_ERR_IMAGE_TYPE;
    // The declared size against the pixel limit before any decoding, also
    // for variants that go on to GraphicsMagick.
    if (e->info) {
        int w = 0, h = 0, bits = 0;
        if (e->info(p, n, w, h, bits) == IMPEXP_SUCCESS && !CheckPixelLimit(w, h))
            return IMPEXP_ERR_TOO_MANY_PIXELS;
    }
    if (e->read) {
        int rc = e->read(p, n, out);
        // Variants the own reader leaves out (compressed bitmaps) go to GraphicsMagick.
        if (rc == IMPEXP_ERR_IMAGE_TYPE && e->magick)
            return CMagickCodec::Read(p, n, e->magick, out, e->nMinBits);
        return rc;
    }
    int rc = CMagickCodec::Read(p, n, e->magick, out, e->nMinBits);
    if (rc == IMPEXP_SUCCESS && e->declared) ReduceToDeclared(out, e->declared(p, n));
    return rc;
}

int CImageCodecs::Write(const CRaster& source, int nSaveType, std::vector<uint8_t>& out) {
    const SaveTypeInfo* t = FindSaveType(nSaveType);
    if (!t || nSaveType == kSaveTypePhoto) return IMPEXP_ERR_INV_PARAMETER;
    if (source.IsEmpty()) return IMPEXP_ERR_NO_BITMAP;
    // The bit count the save type writes; 0 keeps the picture's own.
    int nBits = t->nBits;
    if (t->family == SaveFamily::Jpeg) nBits = source.GetBitCount() == 8 && source.HasGrayPalette() ? 8 : 24;
    if (t->family == SaveFamily::Png)
        nBits = source.GetBitCount() == 16 || source.GetBitCount() == 32 ? 24 : source.GetBitCount();
    if (t->family == SaveFamily::Tiff && nBits == 16) nBits = 24; // no 5-5-5 TIFF: written as 24 bits
    if (t->family == SaveFamily::Pict && nBits == 4) nBits = 8;   // written as 8 bits
    CRaster converted;
    const CRaster* pIn = &source;
    if (nBits && nBits != source.GetBitCount()) {
        int rc = source.ConvertTo(nBits, converted);
        if (rc != IMPEXP_SUCCESS) return rc;
        pIn = &converted;
    }
    const CRaster& in = *pIn;
    switch (t->family) {
    case SaveFamily::Targa:
        return CTargaCodec::Write(in, out);
    case SaveFamily::Tiff:
        return CTiffCodec::Write(
            in, t->nOption ? CTiffCodec::Compression::PackBits : CTiffCodec::Compression::None, out);
    case SaveFamily::Compress1Bit:
        switch (t->nOption) {
        case 1:
            return CTiffCodec::Write(in, CTiffCodec::Compression::CcittRle, out);
        case 10:
            return CTiffCodec::Write(in, CTiffCodec::Compression::Group3_1D, out);
        case 11:
            return CTiffCodec::Write(in, CTiffCodec::Compression::Group3_2D, out);
        case 12:
            return CTiffCodec::Write(in, CTiffCodec::Compression::Group4, out);
        default:
            return IMPEXP_ERR_IMAGE_TYPE; // the library's own 1-bit compression
        }
    case SaveFamily::Cals:
        return CMagickCodec::Write(in, "CALS", out);
    case SaveFamily::MacPaint:
        return CMacPaintCodec::Write(in, out);
    case SaveFamily::GemImg:
        return CGemImgCodec::Write(in, out);
    case SaveFamily::MsPaint:
        return CMspCodec::Write(in, out);
    case SaveFamily::WordPerfect:
        return CWpgCodec::Write(in, out);
    case SaveFamily::SunRaster:
        return CSunRasterCodec::Write(in, out);
    case SaveFamily::Pict:
        return CMagickCodec::Write(in, "PICT", out);
    case SaveFamily::BmpWindows:
        return CBmpCodec::Write(in, false, out);
    case SaveFamily::BmpOs2:
        return CBmpCodec::Write(in, true, out);
    case SaveFamily::Pcx:
        return CPcxCodec::Write(in, out);
    case SaveFamily::Gif:
        return CMagickCodec::Write(in, "GIF", out);
    case SaveFamily::LeadCmp:
        return IMPEXP_ERR_IMAGE_TYPE;
    case SaveFamily::Jpeg: {
        using H = CJpegCodec::Header;
        using S = CJpegCodec::Sampling;
        const int q = CJpegCodec::IjgQuality(t->nQuality);
        switch (t->nOption) {
        case 1:
            return CJpegCodec::Write(in, H::Jfif, S::Default, q, out);
        case 2:
            return CJpegCodec::Write(in, H::Tiff, S::Default, q, out);
        case 3:
            return CJpegCodec::Write(in, H::Jfif, S::H4V1, q, out);
        case 4:
            return CJpegCodec::Write(in, H::Tiff, S::H4V1, q, out);
        case 5:
            return CJpegCodec::Write(in, H::Jfif, S::H2V1, q, out);
        case 6:
            return CJpegCodec::Write(in, H::Tiff, S::H2V1, q, out);
        default:
            return IMPEXP_ERR_IMAGE_TYPE;
        }
    }
    case SaveFamily::Wmf:
        return CWmfCodec::Write(in, out);
    case SaveFamily::Eps:
        return CMagickCodec::Write(in, "EPS", out);
    case SaveFamily::Png:
        // GraphicsMagick's encoder: libpng's simplified writer compresses far slower.
        return CMagickCodec::Write(in, "PNG", out);
    default:
        return IMPEXP_ERR_INV_PARAMETER;
    }
}
