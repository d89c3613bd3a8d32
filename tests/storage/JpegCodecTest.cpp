#include "framework/CFile.h"
#include "storage/formats/CJpegCodec.h"
#include "storage/formats/CRaster.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/photo/CJpegDecoder.h"
#include "storage/photo/CJpegEncoder.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <vector>

#include <jpeglib.h>

namespace {

// A memory file that fails like a full disk once it holds nLimit bytes.
class CFullMemFile : public CMemFile {
public:
    explicit CFullMemFile(size_t nLimit) : m_nLimit(nLimit) {}
    void Write(const void* pBuf, uint32_t nCount) override {
        if (Data().size() + nCount > m_nLimit) AfxThrowFileException(CFileException::diskFull, 28, "full");
        CMemFile::Write(pBuf, nCount);
    }

private:
    size_t m_nLimit;
};

// Rows of 3-byte pixels: row y is grey level 8 * y, so the row order shows.
std::vector<uint8_t> Stripes(uint32_t w, uint32_t h, uint32_t stride) {
    std::vector<uint8_t> bits(size_t{stride} * h, 0);
    for (uint32_t y = 0; y < h; ++y)
        for (uint32_t x = 0; x < w * 3; ++x) bits[size_t{y} * stride + x] = static_cast<uint8_t>(8 * y);
    return bits;
}

std::vector<uint8_t> Encode(const std::vector<uint8_t>& bits, uint32_t w, uint32_t h, uint32_t stride,
                            bool bLastRowFirst) {
    CMemFile f;
    EXPECT_EQ(CJpegEncoder::Compress(f, bits.data(), w, h, stride, bLastRowFirst, 95), CJpegEncoder::kOk);
    return f.Data();
}

TEST(JpegCodecTest, RowOrderRoundTrip) {
    const uint32_t w = 10, h = 24, stride = 32;
    const auto bits = Stripes(w, h, stride);
    for (bool bLastFirst : {false, true}) {
        const auto stream = Encode(bits, w, h, stride, bLastFirst);
        CJpegDecoder decoder(stream.data(), stream.size());
        uint32_t dw = 0, dh = 0;
        ASSERT_TRUE(decoder.ReadHeader(dw, dh));
        EXPECT_EQ(dw, w);
        EXPECT_EQ(dh, h);
        std::vector<uint8_t> out(size_t{stride} * h, 0xAA);
        ASSERT_EQ(decoder.Decode(out.data(), stride, false), 0);
        // Decoded in stream order: the first stream row is the buffer's first or last.
        const int first = out[5 * 3], last = out[size_t{h - 1} * stride + 5 * 3];
        if (bLastFirst)
            EXPECT_GT(first, last);
        else
            EXPECT_LT(first, last);
        EXPECT_EQ(out[stride - 1], 0) << "row padding cleared";
    }
}

TEST(JpegCodecTest, EncoderFailures) {
    const auto bits = Stripes(64, 64, 192);
    CMemFile f;
    EXPECT_EQ(CJpegEncoder::Compress(f, nullptr, 64, 64, 192, false, 75), CJpegEncoder::kNullBuffer);
    EXPECT_EQ(CJpegEncoder::Compress(f, bits.data(), 0, 64, 192, false, 75), CJpegEncoder::kEncoderError);
    EXPECT_EQ(CJpegEncoder::Compress(f, bits.data(), 70000, 1, 192, false, 75), CJpegEncoder::kEncoderError);

    // A failed write reaches the caller as the file exception, after the encoder is released.
    CFullMemFile full(100);
    try {
        CJpegEncoder::Compress(full, bits.data(), 64, 64, 192, false, 75);
        ADD_FAILURE() << "no exception";
    } catch (const CFileException& e) {
        EXPECT_EQ(e.m_cause, CFileException::diskFull);
    }
}

TEST(JpegCodecTest, DecoderFailuresAreResults) {
    const uint32_t w = 40, h = 32, stride = 120;
    const auto stream = Encode(Stripes(w, h, stride), w, h, stride, false);
    std::vector<uint8_t> out(size_t{stride} * h);

    // Not a JPEG stream at all, or none.
    const std::vector<uint8_t> junk = {1, 2, 3, 4, 5};
    uint32_t dw, dh;
    EXPECT_FALSE(CJpegDecoder(junk.data(), junk.size()).ReadHeader(dw, dh));
    EXPECT_FALSE(CJpegDecoder(nullptr, 0).ReadHeader(dw, dh));
    EXPECT_FALSE(CJpegDecoder(stream.data(), 20).ReadHeader(dw, dh));

    // A stream cut in the middle of the scan still decodes (the rest is filled in).
    {
        CJpegDecoder decoder(stream.data(), stream.size() - 20);
        ASSERT_TRUE(decoder.ReadHeader(dw, dh));
        EXPECT_EQ(decoder.Decode(out.data(), stride, false), 0);
    }
    // Rows too narrow for the picture.
    {
        CJpegDecoder decoder(stream.data(), stream.size());
        ASSERT_TRUE(decoder.ReadHeader(dw, dh));
        EXPECT_LT(decoder.Decode(out.data(), 100, false), 0);
    }
    // Garbage in the entropy-coded data after a sound header.
    {
        auto bad = stream;
        size_t sos = 2;
        while (sos + 1 < bad.size() && !(bad[sos] == 0xFF && bad[sos + 1] == 0xDA)) ++sos;
        for (size_t i = sos + 20; i < bad.size() - 2; ++i) bad[i] = static_cast<uint8_t>(i * 37);
        CJpegDecoder decoder(bad.data(), bad.size());
        ASSERT_TRUE(decoder.ReadHeader(dw, dh));
        decoder.Decode(out.data(), stride, false); // a result, whichever
    }
    // Decoding without a header read.
    EXPECT_LT(CJpegDecoder(stream.data(), stream.size()).Decode(out.data(), stride, false), 0);
}

} // namespace

// CMYK and YCCK files (as prepress programs write them) import as colour.
namespace {

std::vector<uint8_t> EncodeInks(J_COLOR_SPACE stored, bool bAdobe, const uint8_t inks[4], int w, int h) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr err;
    cinfo.err = jpeg_std_error(&err);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(w);
    cinfo.image_height = static_cast<JDIMENSION>(h);
    cinfo.input_components = 4;
    cinfo.in_color_space = JCS_CMYK;
    jpeg_set_defaults(&cinfo);
    jpeg_set_colorspace(&cinfo, stored);
    cinfo.write_Adobe_marker = bAdobe ? TRUE : FALSE;
    jpeg_set_quality(&cinfo, 100, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<uint8_t> row(static_cast<size_t>(w) * 4);
    for (int x = 0; x < w; ++x) std::copy(inks, inks + 4, row.begin() + 4 * x);
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW p = row.data();
        jpeg_write_scanlines(&cinfo, &p, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    std::vector<uint8_t> bytes(buffer, buffer + size);
    std::free(buffer);
    return bytes;
}

} // namespace

TEST(JpegCodec, CmykAndYcckImportAsColour) {
    struct Case {
        J_COLOR_SPACE stored;
        bool bAdobe;
        uint8_t inks[4]; // as stored: Adobe's files hold 255 − ink
    };
    // Red: no cyan, full magenta and yellow, no black.
    const Case cases[] = {
        {JCS_CMYK, false, {0, 255, 255, 0}},
        {JCS_CMYK, true, {255, 0, 0, 255}},
        {JCS_YCCK, true, {255, 0, 0, 255}},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> file = EncodeInks(c.stored, c.bAdobe, c.inks, 16, 8);
        CRaster raster;
        ASSERT_EQ(CJpegCodec::Read(file.data(), file.size(), raster), IMPEXP_SUCCESS) << c.stored;
        ASSERT_EQ(raster.GetBitCount(), 24);
        const uint8_t* p = raster.Row(3) + 3 * 5;
        EXPECT_LE(p[0], 3) << c.stored << " " << c.bAdobe;   // blue
        EXPECT_LE(p[1], 3) << c.stored << " " << c.bAdobe;   // green
        EXPECT_GE(p[2], 252) << c.stored << " " << c.bAdobe; // red
    }
    // Half black over no colour ink: a middle grey.
    const uint8_t grey[4] = {255, 255, 255, 128};
    const std::vector<uint8_t> file = EncodeInks(JCS_CMYK, true, grey, 8, 8);
    CRaster raster;
    ASSERT_EQ(CJpegCodec::Read(file.data(), file.size(), raster), IMPEXP_SUCCESS);
    for (int i = 0; i < 3; ++i) EXPECT_NEAR(raster.Row(0)[i], 128, 3);
}
