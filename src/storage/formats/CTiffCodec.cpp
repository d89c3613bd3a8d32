#include "storage/formats/CTiffCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/CRaster.h"
#include "storage/formats/ImpExpTables.h"

#include <tiffio.h>

#include <algorithm>
#include <cstring>
#include <memory>

namespace {

// A growing byte vector behind libtiff's client I/O.
struct MemStream {
    std::vector<uint8_t>* pOut;
    toff_t pos = 0;
};

tsize_t MemRead(thandle_t, tdata_t, tsize_t) {
    return 0;
}
tsize_t MemWrite(thandle_t h, tdata_t buf, tsize_t size) {
    auto* s = static_cast<MemStream*>(h);
    size_t end = static_cast<size_t>(s->pos) + static_cast<size_t>(size);
    if (end > s->pOut->size()) s->pOut->resize(end);
    std::memcpy(s->pOut->data() + s->pos, buf, static_cast<size_t>(size));
    s->pos = end;
    return size;
}
toff_t MemSeek(thandle_t h, toff_t off, int whence) {
    auto* s = static_cast<MemStream*>(h);
    toff_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s->pos : s->pOut->size();
    s->pos = base + off;
    return s->pos;
}
int MemClose(thandle_t) {
    return 0;
}
toff_t MemSize(thandle_t h) {
    return static_cast<MemStream*>(h)->pOut->size();
}
int MemMap(thandle_t, tdata_t*, toff_t*) {
    return 0;
}
void MemUnmap(thandle_t, tdata_t, toff_t) {}

// Reading from a buffer in memory.
struct MemInput {
    const uint8_t* p;
    size_t n;
    toff_t pos = 0;
};
tsize_t InRead(thandle_t h, tdata_t buf, tsize_t size) {
    auto* s = static_cast<MemInput*>(h);
    if (s->pos >= s->n) return 0;
    size_t take = std::min<size_t>(static_cast<size_t>(size), s->n - static_cast<size_t>(s->pos));
    std::memcpy(buf, s->p + s->pos, take);
    s->pos += take;
    return static_cast<tsize_t>(take);
}
tsize_t InWrite(thandle_t, tdata_t, tsize_t) {
    return 0;
}
toff_t InSeek(thandle_t h, toff_t off, int whence) {
    auto* s = static_cast<MemInput*>(h);
    toff_t base = whence == SEEK_SET ? 0 : whence == SEEK_CUR ? s->pos : s->n;
    s->pos = base + off;
    return s->pos;
}
toff_t InSize(thandle_t h) {
    return static_cast<MemInput*>(h)->n;
}

// Opens the buffer for reading, with libtiff's own allocations bounded.
TIFF* OpenInput(MemInput& in) {
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    TIFFOpenOptions* opts = TIFFOpenOptionsAlloc();
    if (!opts) return nullptr;
    uint64_t limit = GetRasterMemoryLimit();
    TIFFOpenOptionsSetMaxSingleMemAlloc(opts, static_cast<tmsize_t>(std::min<uint64_t>(limit, 1ull << 31)));
    TIFF* tif = TIFFClientOpenExt("memory", "rm", &in, InRead, InWrite, InSeek, MemClose, InSize, MemMap,
                                  MemUnmap, opts);
    TIFFOpenOptionsFree(opts);
    return tif;
}

struct TiffCloser {
    void operator()(TIFF* t) const { TIFFClose(t); }
};

} // namespace

namespace {

struct TiffTags {
    int compression = 1;
    uint32_t t4Options = 0;
    int bitsPerSample = 1;
    int samples = 1;
};

bool ScanDirectory(const uint8_t* p, size_t n, TiffTags& tags) {
    if (n < 8) return false;
    bool le = p[0] == 'I' && p[1] == 'I' && p[2] == 42 && p[3] == 0;
    bool be = p[0] == 'M' && p[1] == 'M' && p[2] == 0 && p[3] == 42;
    if (!le && !be) return false;
    CByteReader r(p, n);
    r.Skip(4);
    uint32_t ifd = le ? r.U32() : r.U32BE();
    r.Seek(ifd);
    unsigned nEntries = le ? r.U16() : r.U16BE();
    for (unsigned i = 0; i < nEntries && !r.Failed(); ++i) {
        unsigned tag = le ? r.U16() : r.U16BE();
        unsigned type = le ? r.U16() : r.U16BE();
        r.Skip(4);
        uint32_t value = type == 3 ? (le ? r.U16() : r.U16BE()) : (le ? r.U32() : r.U32BE());
        if (type == 3) r.Skip(2);
        if (tag == 259) tags.compression = static_cast<int>(value);
        if (tag == 292) tags.t4Options = value;
        if (tag == 258 && (value == 1 || value == 4 || value == 8 || value == 16))
            tags.bitsPerSample = static_cast<int>(value);
        if (tag == 258 && type == 3 && value > 16) tags.bitsPerSample = 8; // offset to one value per sample
        if (tag == 277) tags.samples = static_cast<int>(value);
    }
    return true;
}

} // namespace

int CTiffCodec::DeclaredBits(const uint8_t* p, size_t n) {
    TiffTags tags;
    if (!ScanDirectory(p, n, tags)) return 24;
    return tags.samples == 1 ? tags.bitsPerSample : 24;
}

int CTiffCodec::Sniff(const uint8_t* p, size_t n) {
    TiffTags tags;
    if (!ScanDirectory(p, n, tags)) return 0;
    const int compression = tags.compression;
    const uint32_t t4Options = tags.t4Options;
    switch (compression) {
    case 2:
        return 25;
    case 3:
        return (t4Options & 1) ? 28 : 27;
    case 4:
        return 29;
    default:
        return 3;
    }
}

int CTiffCodec::Write(const CRaster& in, Compression compression, std::vector<uint8_t>& out) {
    const int nBits = in.GetBitCount();
    if (nBits != 1 && nBits != 8 && nBits != 24) return IMPEXP_ERR_INV_BITS;
    if (nBits != 1 && compression != Compression::None && compression != Compression::PackBits)
        return IMPEXP_ERR_INV_BITS;
    out.clear();
    MemStream stream{&out};
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
    TIFF* tif = TIFFClientOpen("memory", "w", &stream, MemRead, MemWrite, MemSeek, MemClose, MemSize, MemMap,
                               MemUnmap);
    if (!tif) return IMPEXP_ERR_FILE_WRITE;
    const int w = in.GetWidth();
    const int h = in.GetHeight();
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, static_cast<uint32_t>(w));
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, static_cast<uint32_t>(h));
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_ORIENTATION, ORIENTATION_TOPLEFT);
    uint16_t comp = COMPRESSION_NONE;
    switch (compression) {
    case Compression::None:
        break;
    case Compression::PackBits:
        comp = COMPRESSION_PACKBITS;
        break;
    case Compression::CcittRle:
        comp = COMPRESSION_CCITTRLE;
        break;
    case Compression::Group3_1D:
    case Compression::Group3_2D:
        comp = COMPRESSION_CCITTFAX3;
        break;
    case Compression::Group4:
        comp = COMPRESSION_CCITTFAX4;
        break;
    }
    TIFFSetField(tif, TIFFTAG_COMPRESSION, comp);
    if (compression == Compression::Group3_2D) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, GROUP3OPT_2DENCODING);
    if (compression == Compression::Group3_1D) TIFFSetField(tif, TIFFTAG_GROUP3OPTIONS, 0);
    if (in.m_nXRes > 0 && in.m_nYRes > 0) {
        TIFFSetField(tif, TIFFTAG_RESOLUTIONUNIT, RESUNIT_CENTIMETER);
        TIFFSetField(tif, TIFFTAG_XRESOLUTION, in.m_nXRes / 100.0f);
        TIFFSetField(tif, TIFFTAG_YRESOLUTION, in.m_nYRes / 100.0f);
    }
    std::vector<uint8_t> row;
    bool bInvert = false;
    if (nBits == 1) {
        // Black and white as the table says: 0 black when entry 0 is the darker one.
        const CRasterColor& c0 = in.m_palette[0];
        const CRasterColor& c1 = in.m_palette[1];
        bool zeroIsDark = (c0.red + c0.green + c0.blue) <= (c1.red + c1.green + c1.blue);
        bool ccitt = compression != Compression::None && compression != Compression::PackBits;
        // CCITT codings are read as min-is-white by most readers.
        uint16_t photometric = ccitt ? PHOTOMETRIC_MINISWHITE : PHOTOMETRIC_MINISBLACK;
        bInvert = ccitt ? zeroIsDark : !zeroIsDark;
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, photometric);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 1);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
    } else if (nBits == 8) {
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 1);
        bool gray = in.HasGrayPalette();
        for (int i = 0; gray && i < 256; ++i) gray = in.m_palette[i].red == i;
        if (gray) {
            TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_MINISBLACK);
        } else {
            std::vector<uint16_t> r(256), g(256), b(256);
            for (int i = 0; i < 256; ++i) {
                r[i] = static_cast<uint16_t>(in.m_palette[i].red * 257);
                g[i] = static_cast<uint16_t>(in.m_palette[i].green * 257);
                b[i] = static_cast<uint16_t>(in.m_palette[i].blue * 257);
            }
            TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_PALETTE);
            TIFFSetField(tif, TIFFTAG_COLORMAP, r.data(), g.data(), b.data());
        }
    } else {
        TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
        TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
        TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    }
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    const size_t nRow = static_cast<size_t>(TIFFScanlineSize(tif));
    row.resize(nRow + 4);
    bool ok = true;
    for (int y = 0; y < h && ok; ++y) {
        const uint8_t* s = in.Row(y);
        if (nBits == 24) {
            for (size_t x = 0; x < nRow; x += 3) row[x] = s[x + 2], row[x + 1] = s[x + 1], row[x + 2] = s[x];
        } else {
            std::memcpy(row.data(), s, nRow);
            if (bInvert)
                for (size_t x = 0; x < nRow; ++x) row[x] = static_cast<uint8_t>(~row[x]);
        }
        ok = TIFFWriteScanline(tif, row.data(), static_cast<uint32_t>(y), 0) == 1;
    }
    ok = ok && TIFFWriteDirectory(tif);
    TIFFClose(tif);
    return ok ? IMPEXP_SUCCESS : IMPEXP_ERR_FILE_WRITE;
}

int CTiffCodec::Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits) {
    MemInput in{p, n};
    std::unique_ptr<TIFF, TiffCloser> tif(OpenInput(in));
    if (!tif) return IMPEXP_ERR_FILE_FORMAT;
    uint32_t w = 0, h = 0;
    uint16_t bps = 1, spp = 1;
    TIFFGetField(tif.get(), TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(tif.get(), TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(tif.get(), TIFFTAG_SAMPLESPERPIXEL, &spp);
    if (w == 0 || h == 0 || w > CRaster::kMaxSide || h > CRaster::kMaxSide) return IMPEXP_ERR_INV_RANGE;
    nWidth = static_cast<int>(w), nHeight = static_cast<int>(h);
    nBits = spp == 1 && bps <= 8 ? (bps == 1 ? 1 : bps <= 4 ? 4 : 8) : 24;
    return IMPEXP_SUCCESS;
}

int CTiffCodec::Read(const uint8_t* p, size_t n, CRaster& out) {
    MemInput in{p, n};
    std::unique_ptr<TIFF, TiffCloser> tif(OpenInput(in));
    if (!tif) return IMPEXP_ERR_FILE_FORMAT;
    TIFF* t = tif.get();
    uint32_t w = 0, h = 0;
    uint16_t bps = 1, spp = 1, photometric = 0, planar = PLANARCONFIG_CONTIG,
             orientation = ORIENTATION_TOPLEFT;
    TIFFGetField(t, TIFFTAG_IMAGEWIDTH, &w);
    TIFFGetField(t, TIFFTAG_IMAGELENGTH, &h);
    TIFFGetFieldDefaulted(t, TIFFTAG_BITSPERSAMPLE, &bps);
    TIFFGetFieldDefaulted(t, TIFFTAG_SAMPLESPERPIXEL, &spp);
    TIFFGetFieldDefaulted(t, TIFFTAG_PLANARCONFIG, &planar);
    TIFFGetFieldDefaulted(t, TIFFTAG_ORIENTATION, &orientation);
    if (!TIFFGetField(t, TIFFTAG_PHOTOMETRIC, &photometric)) return IMPEXP_ERR_IMAGE_TYPE;
    if (w == 0 || h == 0 || w > CRaster::kMaxSide || h > CRaster::kMaxSide) return IMPEXP_ERR_INV_RANGE;
    if (TIFFIsTiled(t) || planar != PLANARCONFIG_CONTIG || orientation != ORIENTATION_TOPLEFT)
        return IMPEXP_ERR_IMAGE_TYPE;
    const bool bGrey = photometric == PHOTOMETRIC_MINISBLACK || photometric == PHOTOMETRIC_MINISWHITE;
    const bool bMapped = photometric == PHOTOMETRIC_PALETTE;
    const bool bRgb = photometric == PHOTOMETRIC_RGB && bps == 8 && (spp == 3 || spp == 4);
    if (!((bGrey || bMapped) && spp == 1 && (bps == 1 || bps == 4 || bps == 8)) && !bRgb)
        return IMPEXP_ERR_IMAGE_TYPE;
    const int nBits = bRgb ? 24 : bps;
    const tmsize_t nLine = TIFFScanlineSize(t);
    const uint64_t need = (static_cast<uint64_t>(w) * bps * spp + 7) / 8;
    if (nLine <= 0 || static_cast<uint64_t>(nLine) < need) return IMPEXP_ERR_FILE_DAMAGED;
    int rc = out.Create(static_cast<int>(w), static_cast<int>(h), nBits, false);
    if (rc != IMPEXP_SUCCESS) return rc;
    const int nEntries = nBits <= 8 ? 1 << nBits : 0;
    if (bMapped) {
        uint16_t *r, *g, *b;
        if (!TIFFGetField(t, TIFFTAG_COLORMAP, &r, &g, &b)) return IMPEXP_ERR_FILE_DAMAGED;
        // Some writers store 8-bit map values: then no entry exceeds 255.
        bool b8 = true;
        for (int i = 0; i < nEntries; ++i) b8 = b8 && r[i] < 256 && g[i] < 256 && b[i] < 256;
        for (int i = 0; i < nEntries; ++i)
            out.m_palette[i] =
                b8 ? CRasterColor{static_cast<uint8_t>(b[i]), static_cast<uint8_t>(g[i]),
                                  static_cast<uint8_t>(r[i]), 0}
                   : CRasterColor{static_cast<uint8_t>(b[i] >> 8), static_cast<uint8_t>(g[i] >> 8),
                                  static_cast<uint8_t>(r[i] >> 8), 0};
    } else if (bGrey) {
        out.SetGrayPalette();
        if (photometric == PHOTOMETRIC_MINISWHITE) std::reverse(out.m_palette.begin(), out.m_palette.end());
    }
    float xres = 0, yres = 0;
    uint16_t unit = RESUNIT_INCH;
    if (TIFFGetField(t, TIFFTAG_XRESOLUTION, &xres) && TIFFGetField(t, TIFFTAG_YRESOLUTION, &yres)) {
        TIFFGetFieldDefaulted(t, TIFFTAG_RESOLUTIONUNIT, &unit);
        const double scale = unit == RESUNIT_CENTIMETER ? 100.0 : unit == RESUNIT_INCH ? 1 / 0.0254 : 0;
        if (xres > 0 && yres > 0 && xres < 1e6 && yres < 1e6) {
            out.m_nXRes = static_cast<int>(xres * scale + 0.5);
            out.m_nYRes = static_cast<int>(yres * scale + 0.5);
        }
    }
    std::vector<uint8_t> line(static_cast<size_t>(nLine));
    const size_t nRow = (static_cast<size_t>(w) * nBits + 7) / 8;
    for (uint32_t y = 0; y < h; ++y) {
        uint8_t* d = out.Row(static_cast<int>(y));
        if (nBits <= 8) {
            if (TIFFReadScanline(t, d, y, 0) != 1) return IMPEXP_ERR_FILE_DAMAGED;
            continue;
        }
        if (TIFFReadScanline(t, line.data(), y, 0) != 1) return IMPEXP_ERR_FILE_DAMAGED;
        const uint8_t* s = line.data();
        for (size_t x = 0; x < nRow; x += 3, s += spp) d[x] = s[2], d[x + 1] = s[1], d[x + 2] = s[0];
    }
    return IMPEXP_SUCCESS;
}
