#include "storage/photo/CJpegDecoder.h"

#include "framework/Trace.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jerror.h>
#include <jpeglib.h>

namespace {
constexpr int kRowBatch = 16;
const JOCTET kFakeEoi[2] = {0xFF, JPEG_EOI};
} // namespace

// libjpeg state that lives across a longjmp: plain data only.
struct CJpegDecoder::CState {
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr err;
    jpeg_source_mgr src;
    jmp_buf jump;
    const uint8_t* pData;
    size_t nSize;
    bool bCreated;
    bool bHeaderRead;
};

namespace {

CJpegDecoder::CState* StateOf(j_common_ptr cinfo) {
    // cinfo is the first member of the state.
    return reinterpret_cast<CJpegDecoder::CState*>(cinfo);
}

void ErrorExit(j_common_ptr cinfo) {
    char msg[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, msg);
    ZTRACE("ReadImagePixels(): %s\n", msg);
    std::longjmp(StateOf(cinfo)->jump, 1);
}

void OutputMessage(j_common_ptr cinfo) {
    char msg[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, msg);
    ZTRACE("ReadImagePixels(): %s\n", msg);
}

void InitSource(j_decompress_ptr) {}

// The whole stream is in memory from the start: running out means the stream
// is cut short, and a fake end-of-image marker ends it.
boolean FillInputBuffer(j_decompress_ptr cinfo) {
    WARNMS(cinfo, JWRN_JPEG_EOF);
    cinfo->src->next_input_byte = kFakeEoi;
    cinfo->src->bytes_in_buffer = 2;
    return TRUE;
}

void SkipInputData(j_decompress_ptr cinfo, long nBytes) {
    if (nBytes <= 0) return;
    if (static_cast<size_t>(nBytes) > cinfo->src->bytes_in_buffer) {
        FillInputBuffer(cinfo);
        return;
    }
    cinfo->src->next_input_byte += nBytes;
    cinfo->src->bytes_in_buffer -= static_cast<size_t>(nBytes);
}

void TermSource(j_decompress_ptr) {}

} // namespace

CJpegDecoder::CJpegDecoder(const uint8_t* pData, size_t nSize) : m_pState(std::make_unique<CState>()) {
    m_pState->pData = pData;
    m_pState->nSize = nSize;
}

CJpegDecoder::~CJpegDecoder() {
    if (m_pState->bCreated) jpeg_destroy_decompress(&m_pState->cinfo);
}

bool CJpegDecoder::ReadHeader(uint32_t& nWidth, uint32_t& nHeight) {
    CState* s = m_pState.get();
    if (s->bCreated || !s->pData) return false;
    s->cinfo.err = jpeg_std_error(&s->err);
    s->err.error_exit = ErrorExit;
    s->err.output_message = OutputMessage;
    if (setjmp(s->jump)) return false;
    jpeg_create_decompress(&s->cinfo);
    s->bCreated = true;
    s->src.init_source = InitSource;
    s->src.fill_input_buffer = FillInputBuffer;
    s->src.skip_input_data = SkipInputData;
    s->src.resync_to_restart = jpeg_resync_to_restart;
    s->src.term_source = TermSource;
    s->src.next_input_byte = s->pData;
    s->src.bytes_in_buffer = s->nSize;
    s->cinfo.src = &s->src;
    jpeg_read_header(&s->cinfo, TRUE);
    s->bHeaderRead = true;
    nWidth = s->cinfo.image_width;
    nHeight = s->cinfo.image_height;
    return true;
}

int CJpegDecoder::Decode(uint8_t* pBits, uint32_t nStride, bool bLastRowFirst) {
    CState* s = m_pState.get();
    if (!s->bHeaderRead || !pBits) return -1;
    if (setjmp(s->jump)) return -4;
    s->cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&s->cinfo);
    if (s->cinfo.output_components != 3 || s->cinfo.output_width != s->cinfo.image_width ||
        s->cinfo.output_height != s->cinfo.image_height || size_t{s->cinfo.output_width} * 3 > nStride)
        return -2;
    const uint32_t nHeight = s->cinfo.output_height;
    const size_t nPad = nStride - size_t{s->cinfo.output_width} * 3;
    JSAMPROW rows[kRowBatch];
    while (s->cinfo.output_scanline < nHeight) {
        const uint32_t y = s->cinfo.output_scanline;
        const uint32_t n = std::min<uint32_t>(kRowBatch, nHeight - y);
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t row = bLastRowFirst ? nHeight - 1 - (y + i) : y + i;
            rows[i] = pBits + size_t{row} * nStride;
            if (nPad) std::memset(rows[i] + nStride - nPad, 0, nPad);
        }
        jpeg_read_scanlines(&s->cinfo, rows, n);
    }
    jpeg_finish_decompress(&s->cinfo);
    return 0;
}
