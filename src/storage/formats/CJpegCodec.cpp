#include "storage/formats/CJpegCodec.h"

#include "storage/CByteReader.h"
#include "storage/formats/ImpExpTables.h"

#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace {

// One row of CMYK inks to blue, green, red: each colour is what its ink and
// the black leave of full intensity.
void CmykToBgr(const uint8_t* pInks, uint8_t* pOut, JDIMENSION nWidth, bool bInverted) {
    for (JDIMENSION x = 0; x < nWidth; ++x, pInks += 4, pOut += 3) {
        unsigned c = pInks[0], m = pInks[1], y = pInks[2], k = pInks[3];
        if (!bInverted) c = 255 - c, m = 255 - m, y = 255 - y, k = 255 - k;
        pOut[0] = static_cast<uint8_t>((y * k + 127) / 255);
        pOut[1] = static_cast<uint8_t>((m * k + 127) / 255);
        pOut[2] = static_cast<uint8_t>((c * k + 127) / 255);
    }
}

struct ErrorManager {
    jpeg_error_mgr pub;
    std::jmp_buf jump;
    int nCode = IMPEXP_ERR_FILE_DAMAGED;
};

[[noreturn]] void OnError(j_common_ptr cinfo) {
    auto* err = reinterpret_cast<ErrorManager*>(cinfo->err);
    if (cinfo->err->msg_code == JERR_OUT_OF_MEMORY) err->nCode = IMPEXP_ERR_NO_MEMORY;
    std::longjmp(err->jump, 1);
}

void OnMessage(j_common_ptr, int) {}

// libjpeg's memory use bounded like every other decoder's.
void LimitMemory(j_common_ptr cinfo) {
    uint64_t limit = GetRasterMemoryLimit();
    cinfo->mem->max_memory_to_use = static_cast<long>(limit > 0x7FFFFFFF ? 0x7FFFFFFF : limit);
}

} // namespace

int CJpegCodec::Sniff(const uint8_t* p, size_t n) {
    if (n < 4 || p[0] != 0xFF || p[1] != 0xD8 || p[2] != 0xFF) return 0;
    CByteReader r(p, n);
    r.Skip(2);
    bool bExif = false;
    while (r.Remaining() >= 4) {
        if (r.U8() != 0xFF) break;
        int marker = r.U8();
        if (marker == 0xFF) {
            r.Seek(r.Position() - 1);
            continue;
        }
        if (marker == 0xDA || marker == 0xD9) break;
        size_t len = r.U16BE();
        if (len < 2 || r.Remaining() < len - 2) break;
        if (marker == 0xE0 && len >= 7 && std::memcmp(r.Here(), "JFIF", 5) == 0) return 10;
        if (marker == 0xE1 && len >= 8 && std::memcmp(r.Here(), "Exif\0", 6) == 0) bExif = true;
        r.Skip(len - 2);
    }
    return bExif ? 11 : 10;
}

int CJpegCodec::Info(const uint8_t* p, size_t n, int& nWidth, int& nHeight, int& nBits) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        return IMPEXP_ERR_FILE_FORMAT;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, p, static_cast<unsigned long>(n));
    jpeg_read_header(&cinfo, TRUE);
    nWidth = static_cast<int>(cinfo.image_width);
    nHeight = static_cast<int>(cinfo.image_height);
    nBits = cinfo.num_components == 1 ? 8 : 24;
    jpeg_destroy_decompress(&cinfo);
    return IMPEXP_SUCCESS;
}

int CJpegCodec::Read(const uint8_t* p, size_t n, CRaster& out) {
    jpeg_decompress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    volatile bool bStarted = false;
    if (setjmp(err.jump)) {
        jpeg_destroy_decompress(&cinfo);
        // A picture that decoded partly keeps what it has, as a damaged file.
        return bStarted                            ? IMPEXP_ERR_FILE_DAMAGED
               : err.nCode == IMPEXP_ERR_NO_MEMORY ? err.nCode
                                                   : IMPEXP_ERR_FILE_FORMAT;
    }
    jpeg_create_decompress(&cinfo);
    LimitMemory(reinterpret_cast<j_common_ptr>(&cinfo));
    jpeg_mem_src(&cinfo, p, static_cast<unsigned long>(n));
    jpeg_read_header(&cinfo, TRUE);
    const bool bGray = cinfo.num_components == 1;
    // CMYK and YCCK (libjpeg turns YCCK into CMYK) become colour pictures.
    const bool bCmyk = cinfo.jpeg_color_space == JCS_CMYK || cinfo.jpeg_color_space == JCS_YCCK;
    if (!bGray && !bCmyk && cinfo.jpeg_color_space != JCS_YCbCr && cinfo.jpeg_color_space != JCS_RGB) {
        jpeg_destroy_decompress(&cinfo);
        return IMPEXP_ERR_IMAGE_TYPE;
    }
    // Adobe's files store the inks inverted (0 = full ink).
    const bool bInverted = bCmyk && cinfo.saw_Adobe_marker;
    int rc = out.Create(static_cast<int>(cinfo.image_width), static_cast<int>(cinfo.image_height),
                        bGray ? 8 : 24, false);
    if (rc != IMPEXP_SUCCESS) {
        jpeg_destroy_decompress(&cinfo);
        return rc;
    }
    if (bGray) out.SetGrayPalette();
    if (cinfo.saw_JFIF_marker && cinfo.X_density > 0 && cinfo.Y_density > 0) {
        if (cinfo.density_unit == 1) {
            out.m_nXRes = static_cast<int>(cinfo.X_density / 0.0254 + 0.5);
            out.m_nYRes = static_cast<int>(cinfo.Y_density / 0.0254 + 0.5);
        } else if (cinfo.density_unit == 2) {
            out.m_nXRes = cinfo.X_density * 100;
            out.m_nYRes = cinfo.Y_density * 100;
        }
    }
#ifdef JCS_EXTENSIONS
    if (!bGray) cinfo.out_color_space = JCS_EXT_BGR;
#else
    if (!bGray) cinfo.out_color_space = JCS_RGB;
#endif
    if (bCmyk) cinfo.out_color_space = JCS_CMYK;
    std::vector<uint8_t> cmyk(bCmyk ? size_t{cinfo.image_width} * 4 : 0);
    jpeg_start_decompress(&cinfo);
    bStarted = true;
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = out.Row(static_cast<int>(cinfo.output_scanline));
        if (bCmyk) {
            JSAMPROW inks = cmyk.data();
            jpeg_read_scanlines(&cinfo, &inks, 1);
            CmykToBgr(cmyk.data(), row, cinfo.output_width, bInverted);
            continue;
        }
        jpeg_read_scanlines(&cinfo, &row, 1);
#ifndef JCS_EXTENSIONS
        if (!bGray)
            for (JDIMENSION x = 0; x < cinfo.output_width; ++x) std::swap(row[3 * x], row[3 * x + 2]);
#endif
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return IMPEXP_SUCCESS;
}

int CJpegCodec::IjgQuality(int nQFactor) {
    int q = 100 - nQFactor / 2;
    return q < 1 ? 1 : q > 100 ? 100 : q;
}

int CJpegCodec::Write(const CRaster& in, Header header, Sampling sampling, int nQuality,
                      std::vector<uint8_t>& out) {
    if (in.IsEmpty()) return IMPEXP_ERR_NO_BITMAP;
    if (in.GetWidth() > 65500 || in.GetHeight() > 65500) return IMPEXP_ERR_INV_RANGE;
    const bool bGray = in.GetBitCount() == 8 && in.HasGrayPalette() && in.m_palette[255].red == 255 &&
                       in.m_palette[128].red == 128;
    jpeg_compress_struct cinfo;
    ErrorManager err;
    cinfo.err = jpeg_std_error(&err.pub);
    err.pub.error_exit = OnError;
    err.pub.emit_message = OnMessage;
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    std::vector<uint8_t> row(static_cast<size_t>(in.GetWidth()) * 3);
    if (setjmp(err.jump)) {
        jpeg_destroy_compress(&cinfo);
        std::free(buffer);
        return err.nCode == IMPEXP_ERR_NO_MEMORY ? err.nCode : IMPEXP_ERR_FILE_WRITE;
    }
    jpeg_create_compress(&cinfo);
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(in.GetWidth());
    cinfo.image_height = static_cast<JDIMENSION>(in.GetHeight());
    cinfo.input_components = bGray ? 1 : 3;
#ifdef JCS_EXTENSIONS
    cinfo.in_color_space = bGray ? JCS_GRAYSCALE : JCS_EXT_BGR;
#else
    cinfo.in_color_space = bGray ? JCS_GRAYSCALE : JCS_RGB;
#endif
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, nQuality, TRUE);
    if (!bGray && sampling != Sampling::Default) {
        cinfo.comp_info[0].h_samp_factor = sampling == Sampling::H4V1 ? 4 : 2;
        cinfo.comp_info[0].v_samp_factor = 1;
    }
    if (in.m_nXRes > 0 && in.m_nYRes > 0 && in.m_nXRes <= 65535 && in.m_nYRes <= 65535) {
        cinfo.density_unit = 2;
        cinfo.X_density = static_cast<UINT16>((in.m_nXRes + 50) / 100);
        cinfo.Y_density = static_cast<UINT16>((in.m_nYRes + 50) / 100);
    }
    if (header == Header::Tiff) cinfo.write_JFIF_header = FALSE;
    jpeg_start_compress(&cinfo, TRUE);
    if (header == Header::Tiff) {
        // "Exif\0\0", then a little-endian TIFF header with one empty IFD.
        static const uint8_t kExif[] = {'E', 'x', 'i', 'f', 0, 0, 'I', 'I', 42, 0,
                                        8,   0,   0,   0,   0, 0, 0,   0,   0,  0};
        jpeg_write_marker(&cinfo, JPEG_APP0 + 1, kExif, sizeof(kExif));
    }
    while (cinfo.next_scanline < cinfo.image_height) {
        const int y = static_cast<int>(cinfo.next_scanline);
        JSAMPROW p;
        if (bGray) {
            p = const_cast<JSAMPROW>(in.Row(y));
        } else {
            in.GetRowBGR(y, row.data());
#ifndef JCS_EXTENSIONS
            for (size_t x = 0; x < row.size(); x += 3) std::swap(row[x], row[x + 2]);
#endif
            p = row.data();
        }
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    try {
        out.assign(buffer, buffer + size);
    } catch (const std::bad_alloc&) {
        std::free(buffer);
        return IMPEXP_ERR_NO_MEMORY;
    }
    std::free(buffer);
    return IMPEXP_SUCCESS;
}
