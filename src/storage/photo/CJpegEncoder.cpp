#include "storage/photo/CJpegEncoder.h"

#include "framework/CFile.h"
#include "framework/Trace.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <exception>
#include <memory>
#include <vector>

#include <jpeglib.h>

namespace {

constexpr size_t kOutputBlock = 1 << 16;
constexpr int kRowBatch = 16;

// libjpeg state that lives across a longjmp: plain data only.
struct EncoderState {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    jpeg_destination_mgr dest;
    jmp_buf jump;
    CFile* pFile;
    JOCTET* pBuffer;
    bool bWriteFailed;
    std::exception_ptr* pWriteError;
};

EncoderState* StateOf(j_common_ptr cinfo) {
    // cinfo is the first member of the state.
    return reinterpret_cast<EncoderState*>(cinfo);
}

void ErrorExit(j_common_ptr cinfo) {
    char msg[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, msg);
    ZTRACE("WriteImagePixels(): %s\n", msg);
    std::longjmp(StateOf(cinfo)->jump, 1);
}

void OutputMessage(j_common_ptr cinfo) {
    char msg[JMSG_LENGTH_MAX];
    (*cinfo->err->format_message)(cinfo, msg);
    ZTRACE("WriteImagePixels(): %s\n", msg);
}

// Writes to the file; a failure is kept and ends the encoding through the error exit.
void WriteOut(j_compress_ptr cinfo, size_t n) {
    EncoderState* s = StateOf(reinterpret_cast<j_common_ptr>(cinfo));
    try {
        s->pFile->Write(s->pBuffer, static_cast<uint32_t>(n));
    } catch (...) {
        *s->pWriteError = std::current_exception();
        s->bWriteFailed = true;
    }
    if (s->bWriteFailed) (*cinfo->err->error_exit)(reinterpret_cast<j_common_ptr>(cinfo));
}

void InitDestination(j_compress_ptr cinfo) {
    EncoderState* s = StateOf(reinterpret_cast<j_common_ptr>(cinfo));
    s->dest.next_output_byte = s->pBuffer;
    s->dest.free_in_buffer = kOutputBlock;
}

boolean EmptyOutputBuffer(j_compress_ptr cinfo) {
    EncoderState* s = StateOf(reinterpret_cast<j_common_ptr>(cinfo));
    WriteOut(cinfo, kOutputBlock);
    s->dest.next_output_byte = s->pBuffer;
    s->dest.free_in_buffer = kOutputBlock;
    return TRUE;
}

void TermDestination(j_compress_ptr cinfo) {
    EncoderState* s = StateOf(reinterpret_cast<j_common_ptr>(cinfo));
    const size_t n = kOutputBlock - s->dest.free_in_buffer;
    if (n) WriteOut(cinfo, n);
}

// Everything between setjmp and the return handles plain data only.
int RunCompress(EncoderState* s, const uint8_t* pBits, uint32_t nWidth, uint32_t nHeight, uint32_t nStride,
                bool bLastRowFirst, int nQuality) {
    s->cinfo.err = jpeg_std_error(&s->err);
    s->err.error_exit = ErrorExit;
    s->err.output_message = OutputMessage;
    if (setjmp(s->jump)) {
        jpeg_destroy_compress(&s->cinfo);
        return CJpegEncoder::kEncoderError;
    }
    jpeg_create_compress(&s->cinfo);
    s->dest.init_destination = InitDestination;
    s->dest.empty_output_buffer = EmptyOutputBuffer;
    s->dest.term_destination = TermDestination;
    s->cinfo.dest = &s->dest;

    s->cinfo.image_width = nWidth;
    s->cinfo.image_height = nHeight;
    s->cinfo.input_components = 3;
    s->cinfo.in_color_space = JCS_EXT_BGR; // the same stream as RGB input, without a conversion pass
    jpeg_set_defaults(&s->cinfo);
    jpeg_set_quality(&s->cinfo, 75, FALSE);
    if (nQuality != 0) jpeg_set_quality(&s->cinfo, nQuality, FALSE);
    jpeg_start_compress(&s->cinfo, TRUE);

    JSAMPROW rows[kRowBatch];
    while (s->cinfo.next_scanline < s->cinfo.image_height) {
        const uint32_t y = s->cinfo.next_scanline;
        const uint32_t n = std::min<uint32_t>(kRowBatch, nHeight - y);
        for (uint32_t i = 0; i < n; ++i) {
            const uint32_t row = bLastRowFirst ? nHeight - 1 - (y + i) : y + i;
            rows[i] = const_cast<JSAMPROW>(pBits + size_t{row} * nStride);
        }
        jpeg_write_scanlines(&s->cinfo, rows, n);
    }
    jpeg_finish_compress(&s->cinfo);
    jpeg_destroy_compress(&s->cinfo);
    return CJpegEncoder::kOk;
}

} // namespace

int CJpegEncoder::Compress(CFile& file, const uint8_t* pBits, uint32_t nWidth, uint32_t nHeight,
                           uint32_t nStride, bool bLastRowFirst, int nQuality) {
    if (!pBits) return kNullBuffer;
    std::vector<JOCTET> buffer(kOutputBlock);
    std::exception_ptr writeError;
    auto state = std::make_unique<EncoderState>();
    state->pFile = &file;
    state->pBuffer = buffer.data();
    state->bWriteFailed = false;
    state->pWriteError = &writeError;
    const int status = RunCompress(state.get(), pBits, nWidth, nHeight, nStride, bLastRowFirst, nQuality);
    if (writeError) std::rethrow_exception(writeError);
    return status;
}
