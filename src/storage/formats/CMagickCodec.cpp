#include "storage/formats/CMagickCodec.h"

#include "framework/Trace.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/PixelLimit.h"

#include <magick/api.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unistd.h>

namespace {

struct ImageDeleter {
    void operator()(Image* p) const { DestroyImageList(p); }
};
struct InfoDeleter {
    void operator()(ImageInfo* p) const { DestroyImageInfo(p); }
};
using MagickImagePtr = std::unique_ptr<Image, ImageDeleter>;
using MagickInfoPtr = std::unique_ptr<ImageInfo, InfoDeleter>;

// Holds an ExceptionInfo for the length of one call.
class CExceptionScope {
public:
    CExceptionScope() { GetExceptionInfo(&m_ex); }
    ~CExceptionScope() { DestroyExceptionInfo(&m_ex); }
    ExceptionInfo* operator&() { return &m_ex; }
    ExceptionInfo& Get() { return m_ex; }

private:
    ExceptionInfo m_ex;
};

// A failure's GraphicsMagick exception as one of the codec layer's codes.
int ErrorFromException(const ExceptionInfo& ex, int nDefault) {
    ZTRACE("CMagickCodec(): %s (%s)\n", ex.reason ? ex.reason : "-", ex.description ? ex.description : "-");
    switch (ex.severity) {
    case ResourceLimitError:
    case ResourceLimitFatalError:
        return IMPEXP_ERR_NO_MEMORY;
    case DelegateError:
    case DelegateFatalError:
    case MissingDelegateError:
        if (ex.reason && (std::strstr(ex.reason, "PostScript") || std::strstr(ex.reason, "gs")))
            return IMPEXP_ERR_NO_POSTSCRIPT;
        return IMPEXP_ERR_IMAGE_TYPE;
    case CorruptImageError:
    case CorruptImageFatalError:
        return IMPEXP_ERR_FILE_DAMAGED;
    case CoderError:
    case CoderFatalError:
        return IMPEXP_ERR_IMAGE_TYPE;
    default:
        return nDefault;
    }
}

MagickInfoPtr MakeInfo(const std::string& magick) {
    MagickInfoPtr info(CloneImageInfo(nullptr));
    if (info && !magick.empty()) {
        std::strncpy(info->magick, magick.c_str(), MaxTextExtent - 1);
        std::snprintf(info->filename, MaxTextExtent, "%s:", magick.c_str());
    }
    return info;
}

int BitsForColours(unsigned long colours) {
    return colours <= 2 ? 1 : colours <= 16 ? 4 : 8;
}

// GraphicsMagick's own pixel bound: when decoding, the pixel limit and no
// more than the memory allows (a Q16 pixel takes 8 bytes in the cache). Set
// on every call, as the limit may change while the program runs. A ping goes
// without it (the memory and side limits still hold) so that the size of a
// refused picture is known and named.
void LimitPixels(bool bDecoding) {
    const uint64_t mem = std::min(GetRasterMemoryLimit(), uint64_t{4} << 30) / 8;
    const uint64_t sides = uint64_t{CRaster::kMaxSide} * CRaster::kMaxSide;
    SetMagickResourceLimit(PixelsResource,
                           static_cast<magick_int64_t>(bDecoding ? std::min(mem, GetMaxPixels()) : sides));
}

bool IsPostScriptCoder(const std::string& magick) {
    return magick == "EPS" || magick == "PS" || magick == "EPT" || magick == "EPSI";
}

} // namespace

void CMagickCodec::Initialize() {
    static std::once_flag once;
    std::call_once(once, [] {
        InitializeMagick(nullptr);
        uint64_t mem = GetRasterMemoryLimit();
        uint64_t cap = uint64_t{4} << 30;
        mem = std::min(mem, cap);
        // The pixel cache stays in memory: a hostile size cannot fill the disk.
        SetMagickResourceLimit(DiskResource, 0);
        SetMagickResourceLimit(MemoryResource, static_cast<magick_int64_t>(mem));
        SetMagickResourceLimit(MapResource, static_cast<magick_int64_t>(mem));
        SetMagickResourceLimit(WidthResource, CRaster::kMaxSide);
        SetMagickResourceLimit(HeightResource, CRaster::kMaxSide);
        // Ghostscript runs only in CPostScriptCodec's sandbox: GraphicsMagick's
        // own PostScript and PDF readers (reached for instance through
        // PostScript embedded in a WordPerfect graphic) are switched off; its
        // writers stay.
        for (const char* name :
             {"PS", "EPS", "EPSF", "EPSI", "EPI", "EPT", "EPT2", "EPT3", "PDF", "AI", "PS2", "PS3"}) {
            CExceptionScope ex;
            if (const MagickInfo* mi = GetMagickInfo(name, &ex))
                const_cast<MagickInfo*>(mi)->decoder = nullptr;
        }
    });
}

bool CMagickCodec::HasPostScript() {
    static const bool bHas = [] {
        const char* path = std::getenv("PATH");
        if (!path) return false;
        std::string dirs(path);
        size_t start = 0;
        while (start <= dirs.size()) {
            size_t end = dirs.find(':', start);
            if (end == std::string::npos) end = dirs.size();
            std::string exe = dirs.substr(start, end - start) + "/gs";
            if (access(exe.c_str(), X_OK) == 0) return true;
            start = end + 1;
        }
        return false;
    }();
    return bHas;
}

int CMagickCodec::Ping(const uint8_t* pData, size_t nSize, const std::string& magick, CMagickInfo& info) {
    Initialize();
    LimitPixels(false);
    if (IsPostScriptCoder(magick) && !HasPostScript()) return IMPEXP_ERR_NO_POSTSCRIPT;
    MagickInfoPtr ii = MakeInfo(magick);
    if (!ii) return IMPEXP_ERR_NO_MEMORY;
    ii->subimage = 0;
    ii->subrange = 1;
    CExceptionScope ex;
    MagickImagePtr img(PingBlob(ii.get(), pData, nSize, &ex));
    if (!img) return ErrorFromException(ex.Get(), IMPEXP_ERR_FILE_FORMAT);
    info.nWidth = static_cast<int>(img->columns);
    info.nHeight = static_cast<int>(img->rows);
    if (img->storage_class == PseudoClass && img->colors > 0 && img->colors <= 256)
        info.nBits = BitsForColours(img->colors);
    else
        info.nBits = 24;
    return IMPEXP_SUCCESS;
}

int CMagickCodec::Read(const uint8_t* pData, size_t nSize, const std::string& magick, CRaster& out,
                       int nMinBits) {
    Initialize();
    if (IsPostScriptCoder(magick) && !HasPostScript()) return IMPEXP_ERR_NO_POSTSCRIPT;
    // The declared size first: a picture over the pixel limit is refused
    // before GraphicsMagick decodes (or renders) it.
    if (!IsPostScriptCoder(magick)) {
        CMagickInfo declared;
        if (Ping(pData, nSize, magick, declared) == IMPEXP_SUCCESS &&
            !CheckPixelLimit(declared.nWidth, declared.nHeight))
            return IMPEXP_ERR_TOO_MANY_PIXELS;
    }
    MagickInfoPtr ii = MakeInfo(magick);
    if (!ii) return IMPEXP_ERR_NO_MEMORY;
    ii->subimage = 0;
    ii->subrange = 1;
    CExceptionScope ex;
    LimitPixels(true);
    MagickImagePtr img(BlobToImage(ii.get(), pData, nSize, &ex));
    if (!img) return ErrorFromException(ex.Get(), IMPEXP_ERR_FILE_FORMAT);
    if (img->columns == 0 || img->rows == 0 || img->columns > CRaster::kMaxSide ||
        img->rows > CRaster::kMaxSide)
        return IMPEXP_ERR_INV_RANGE;
    const int w = static_cast<int>(img->columns);
    const int h = static_cast<int>(img->rows);
    const bool mapped =
        img->storage_class == PseudoClass && img->colormap && img->colors > 0 && img->colors <= 256;
    int nBits = mapped ? std::max(BitsForColours(img->colors), nMinBits) : 24;
    if (nBits == 4 && nMinBits > 4) nBits = 8;
    int rc = out.Create(w, h, nBits, nBits < 8);
    if (rc != IMPEXP_SUCCESS) return rc;
    if (img->x_resolution > 0 && img->units == PixelsPerInchResolution) {
        out.m_nXRes = static_cast<int>(img->x_resolution / 0.0254 + 0.5);
        out.m_nYRes = static_cast<int>(img->y_resolution / 0.0254 + 0.5);
    } else if (img->x_resolution > 0 && img->units == PixelsPerCentimeterResolution) {
        out.m_nXRes = static_cast<int>(img->x_resolution * 100 + 0.5);
        out.m_nYRes = static_cast<int>(img->y_resolution * 100 + 0.5);
    }
    if (mapped) {
        for (unsigned long i = 0; i < img->colors; ++i) {
            const PixelPacket& c = img->colormap[i];
            out.m_palette[i] = {ScaleQuantumToChar(c.blue), ScaleQuantumToChar(c.green),
                                ScaleQuantumToChar(c.red), 0};
        }
        for (int y = 0; y < h; ++y) {
            const PixelPacket* p = AcquireImagePixels(img.get(), 0, y, w, 1, &ex);
            const IndexPacket* idx = AccessImmutableIndexes(img.get());
            if (!p || !idx) return ErrorFromException(ex.Get(), IMPEXP_ERR_FILE_DAMAGED);
            uint8_t* d = out.Row(y);
            const unsigned long nColours = img->colors;
            if (nBits == 8) {
                for (int x = 0; x < w; ++x) d[x] = static_cast<uint8_t>(idx[x] < nColours ? idx[x] : 0);
            } else if (nBits == 4) {
                for (int x = 0; x < w; ++x) {
                    int v = idx[x] < nColours ? idx[x] & 0x0F : 0;
                    d[x >> 1] |= static_cast<uint8_t>((x & 1) ? v : v << 4);
                }
            } else {
                for (int x = 0; x < w; ++x)
                    if (idx[x] == 1) d[x >> 3] |= static_cast<uint8_t>(0x80 >> (x & 7));
            }
        }
        return IMPEXP_SUCCESS;
    }
    for (int y = 0; y < h; ++y) {
        if (!DispatchImage(img.get(), 0, y, w, 1, "BGR", CharPixel, out.Row(y), &ex))
            return ErrorFromException(ex.Get(), IMPEXP_ERR_FILE_DAMAGED);
    }
    return IMPEXP_SUCCESS;
}

int CMagickCodec::Write(const CRaster& in, const std::string& magick, std::vector<uint8_t>& out,
                        int nCompression) {
    Initialize();
    if (in.IsEmpty()) return IMPEXP_ERR_NO_BITMAP;
    if (in.GetBitCount() != 1 && in.GetBitCount() != 4 && in.GetBitCount() != 8 && in.GetBitCount() != 24)
        return IMPEXP_ERR_INV_BITS;
    MagickInfoPtr ii = MakeInfo(magick);
    if (!ii) return IMPEXP_ERR_NO_MEMORY;
    if (nCompression) ii->compression = static_cast<CompressionType>(nCompression);
    CExceptionScope ex;
    MagickImagePtr img(AllocateImage(ii.get()));
    if (!img) return IMPEXP_ERR_NO_MEMORY;
    const int w = in.GetWidth();
    const int h = in.GetHeight();
    img->columns = w;
    img->rows = h;
    img->depth = 8;
    if (nCompression) img->compression = static_cast<CompressionType>(nCompression);
    // PostScript is laid out at 72 points per inch: one point per pixel keeps the size on reading.
    if (in.m_nXRes > 0 && in.m_nYRes > 0 && !IsPostScriptCoder(magick)) {
        img->units = PixelsPerInchResolution;
        img->x_resolution = in.m_nXRes * 0.0254;
        img->y_resolution = in.m_nYRes * 0.0254;
    }
    const int nBits = in.GetBitCount();
    if (nBits <= 8) {
        const unsigned long nColours = 1ul << nBits;
        if (!AllocateImageColormap(img.get(), nColours)) return IMPEXP_ERR_NO_MEMORY;
        for (unsigned long i = 0; i < nColours; ++i) {
            const CRasterColor& c = in.m_palette[i];
            img->colormap[i].red = ScaleCharToQuantum(c.red);
            img->colormap[i].green = ScaleCharToQuantum(c.green);
            img->colormap[i].blue = ScaleCharToQuantum(c.blue);
            img->colormap[i].opacity = OpaqueOpacity;
        }
        if (in.HasGrayPalette()) img->is_grayscale = 1;
        if (nBits == 1 && in.HasGrayPalette() && in.m_palette[0].red + in.m_palette[1].red == 255)
            img->is_monochrome = 1, ii->monochrome = 1;
        for (int y = 0; y < h; ++y) {
            PixelPacket* q = SetImagePixels(img.get(), 0, y, w, 1);
            IndexPacket* idx = AccessMutableIndexes(img.get());
            if (!q || !idx) return ErrorFromException(img->exception, IMPEXP_ERR_NO_MEMORY);
            const uint8_t* s = in.Row(y);
            for (int x = 0; x < w; ++x) {
                int v = nBits == 8   ? s[x]
                        : nBits == 4 ? ((x & 1) ? s[x >> 1] & 0x0F : s[x >> 1] >> 4)
                                     : (s[x >> 3] >> (7 - (x & 7))) & 1;
                idx[x] = static_cast<IndexPacket>(v);
                q[x] = img->colormap[v];
            }
            if (!SyncImagePixels(img.get())) return ErrorFromException(img->exception, IMPEXP_ERR_NO_MEMORY);
        }
    } else {
        for (int y = 0; y < h; ++y) {
            PixelPacket* q = SetImagePixels(img.get(), 0, y, w, 1);
            if (!q) return ErrorFromException(img->exception, IMPEXP_ERR_NO_MEMORY);
            const uint8_t* s = in.Row(y);
            for (int x = 0; x < w; ++x, s += 3) {
                q[x].blue = ScaleCharToQuantum(s[0]);
                q[x].green = ScaleCharToQuantum(s[1]);
                q[x].red = ScaleCharToQuantum(s[2]);
                q[x].opacity = OpaqueOpacity;
            }
            if (!SyncImagePixels(img.get())) return ErrorFromException(img->exception, IMPEXP_ERR_NO_MEMORY);
        }
    }
    std::strncpy(img->magick, magick.c_str(), MaxTextExtent - 1);
    size_t nLength = 0;
    void* blob = ImageToBlob(ii.get(), img.get(), &nLength, &ex);
    if (!blob || nLength == 0) {
        if (blob) MagickFree(blob);
        return ErrorFromException(ex.Get(), IMPEXP_ERR_FILE_WRITE);
    }
    try {
        out.assign(static_cast<uint8_t*>(blob), static_cast<uint8_t*>(blob) + nLength);
    } catch (const std::bad_alloc&) {
        MagickFree(blob);
        return IMPEXP_ERR_NO_MEMORY;
    }
    MagickFree(blob);
    return IMPEXP_SUCCESS;
}
