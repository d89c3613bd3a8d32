#include "ImagingTestUtil.h"

#include "framework/CAppException.h"
#include "framework/CException.h"
#include "framework/ReportException.h"
#include "imaging/ImageMemory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <memory>

namespace {

void Put16(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    v[at] = static_cast<uint8_t>(x);
    v[at + 1] = static_cast<uint8_t>(x >> 8);
}
void Put32(std::vector<uint8_t>& v, size_t at, uint32_t x) {
    for (int i = 0; i < 4; ++i) v[at + i] = static_cast<uint8_t>(x >> (8 * i));
}

// A .BMP file image: file header, info header, table, then data.
std::vector<uint8_t> MakeBmp(int w, int h, int bits, uint32_t compression, const std::vector<uint8_t>& table,
                             const std::vector<uint8_t>& data, uint32_t clrUsed = 0) {
    std::vector<uint8_t> f(54 + table.size());
    f[0] = 'B';
    f[1] = 'M';
    Put32(f, 2, static_cast<uint32_t>(f.size() + data.size()));
    Put32(f, 10, static_cast<uint32_t>(f.size()));
    Put32(f, 14, 40);
    Put32(f, 18, static_cast<uint32_t>(w));
    Put32(f, 22, static_cast<uint32_t>(h));
    Put16(f, 26, 1);
    Put16(f, 28, static_cast<uint32_t>(bits));
    Put32(f, 30, compression);
    Put32(f, 34, compression ? static_cast<uint32_t>(data.size()) : 0);
    Put32(f, 46, clrUsed);
    std::memcpy(f.data() + 54, table.data(), table.size());
    f.insert(f.end(), data.begin(), data.end());
    return f;
}

std::vector<uint8_t> GrayTable(int n) {
    std::vector<uint8_t> t;
    for (int i = 0; i < n; ++i) t.insert(t.end(), {uint8_t(i), uint8_t(i), uint8_t(i), 0});
    return t;
}

bool ThrowsInternalError(CDib& d, int y) {
    try {
        d.GetRow(y);
    } catch (const CAppException& e) {
        return GetExceptionMessage(e) == "Internal application error.";
    }
    return false;
}

} // namespace

TEST(Dib, StrideAndRowAddressing) {
    EXPECT_EQ(CDib(24, 1, 1, nullptr).GetStride(), 4);
    EXPECT_EQ(CDib(8, 3, 1, nullptr).GetStride(), 4);
    EXPECT_EQ(CDib(1, 33, 1, nullptr).GetStride(), 8);
    EXPECT_EQ(CDib(4, 9, 1, nullptr).GetStride(), 8);

    CDib d(8, 5, 3, nullptr);
    EXPECT_EQ(d.GetRow(0), d.GetBits() + 2 * d.GetStride()); // top row is the last in memory
    EXPECT_EQ(d.GetRow(2), d.GetBits());
    EXPECT_TRUE(ThrowsInternalError(d, 3));
    EXPECT_TRUE(ThrowsInternalError(d, -1));
    EXPECT_EQ(d.GetInfo()->biXPelsPerMeter, 2756);
    EXPECT_EQ(d.GetInfoSize(), 40 + 4 * 256);
    EXPECT_THROW(CDib(8, -1, 3, nullptr), CUserException);
    EXPECT_THROW(CDib(7, 1, 3, nullptr), CUserException);
}

TEST(Dib, GrayCheckAndGreyConstructor) {
    CDib g(4, 4, 8, 256, nullptr);
    EXPECT_TRUE(g.IsGray());
    EXPECT_EQ(g.GetColorTable()[200].rgbGreen, 200);

    auto table = GrayTable(256);
    CDib a(8, 2, 2, reinterpret_cast<const RGBQUAD*>(table.data()));
    a.CheckGray();
    EXPECT_TRUE(a.IsGray());
    EXPECT_EQ(a.GetGrayLevels(), 256);
    table[4 * 17 + 2] = 99; // one entry with a different red
    CDib b(8, 2, 2, reinterpret_cast<const RGBQUAD*>(table.data()));
    b.CheckGray();
    EXPECT_FALSE(b.IsGray());
}

TEST(Dib, GetRowRGBEveryDepth) {
    RGBQUAD t[256] = {};
    t[1] = RGBQUAD{10, 20, 30, 0};
    t[5] = RGBQUAD{1, 2, 3, 0};
    t[0] = RGBQUAD{7, 7, 7, 0};
    CDib b1(1, 9, 1, t); // 1-bit ignores the table: 0 black, 1 white
    b1.GetRow(0)[0] = 0x80;
    b1.GetRow(0)[1] = 0x80;
    uint8_t out[27];
    b1.GetRowRGB(0, out);
    EXPECT_EQ(out[0], 255);
    EXPECT_EQ(out[3], 0);
    EXPECT_EQ(out[24], 255);

    CDib b4(4, 3, 1, t);
    b4.GetRow(0)[0] = 0x15;
    b4.GetRow(0)[1] = 0x00;
    b4.GetRowRGB(0, out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 9), (std::vector<uint8_t>{10, 20, 30, 1, 2, 3, 7, 7, 7}));

    CDib b8(8, 1, 1, t);
    b8.GetRow(0)[0] = 5;
    b8.GetRowRGB(0, out);
    EXPECT_EQ(out[2], 3);

    CDib b16(16, 1, 1, nullptr);
    uint16_t v = (31 << 10) | (1 << 5) | 2; // red 31, green 1, blue 2
    b16.GetRow(0)[0] = v & 0xFF;
    b16.GetRow(0)[1] = v >> 8;
    b16.GetRowRGB(0, out);
    EXPECT_EQ(out[0], 16);
    EXPECT_EQ(out[1], 8);
    EXPECT_EQ(out[2], 248);

    CDib b32(32, 2, 1, nullptr);
    uint8_t px[8] = {1, 2, 3, 4, 5, 6, 7, 8};
    std::memcpy(b32.GetRow(0), px, 8);
    b32.GetRowRGB(0, out);
    EXPECT_EQ(std::vector<uint8_t>(out, out + 6), (std::vector<uint8_t>{1, 2, 3, 5, 6, 7}));

    CDib b24(24, 2, 2, nullptr);
    EXPECT_EQ(b24.GetRowRGB(1, nullptr), b24.GetRow(1)); // no copy
}

TEST(Dib, SaveBmpLayoutAndRoundTripEveryDepth) {
    CTempDir dir;
    std::unique_ptr<CDib> d(MakeRandom24(5, 2, 1));
    d->SaveBMP(dir.File("a.bmp"));
    auto bytes = ReadAll(dir.File("a.bmp"));
    ASSERT_EQ(bytes.size(), 86u);
    EXPECT_EQ(bytes[0], 'B');
    EXPECT_EQ(bytes[10], 54);
    EXPECT_EQ(bytes[2], 86);
    EXPECT_EQ(std::memcmp(bytes.data() + 54, d->GetBits(), 32), 0);

    for (int bits : {1, 4, 8, 16, 24, 32}) {
        RGBQUAD t[256];
        for (int i = 0; i < 256; ++i) t[i] = RGBQUAD{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
        CDib src(bits, 13, 7, t);
        std::mt19937 rng(bits);
        for (int y = 0; y < 7; ++y) {
            uint8_t* r = src.GetRow(y);
            for (int i = 0; i < (13 * bits + 7) / 8; ++i) r[i] = static_cast<uint8_t>(rng());
        }
        char name[16];
        std::snprintf(name, sizeof name, "r%d.bmp", bits);
        std::string path = dir.File(name);
        src.SaveBMP(path);
        CDib back(path);
        ASSERT_EQ(back.GetBitCount(), bits);
        ASSERT_EQ(back.GetWidth(), 13);
        for (int y = 0; y < 7; ++y) {
            uint8_t a[39], b[39];
            src.GetRowRGB(y, a);
            back.GetRowRGB(y, b);
            EXPECT_EQ(std::memcmp(a, b, 39), 0) << bits << " bits, row " << y;
        }
    }
}

TEST(Dib, ResolutionClampOnRead) {
    CTempDir dir;
    auto f = MakeBmp(1, 1, 24, 0, {}, {1, 2, 3, 0});
    Put32(f, 38, 5907);
    Put32(f, 42, 5906);
    WriteAll(dir.File("r.bmp"), f);
    CDib d(dir.File("r.bmp"));
    EXPECT_EQ(d.GetInfo()->biXPelsPerMeter, 0);
    EXPECT_EQ(d.GetInfo()->biYPelsPerMeter, 5906);
}

TEST(Dib, ReadsShortColourTableAndRle) {
    CTempDir dir;
    // biClrUsed 2: the rest of the table stays black.
    auto f = MakeBmp(2, 1, 8, 0, {9, 9, 9, 0, 200, 100, 50, 0}, {1, 0, 0, 0}, 2);
    WriteAll(dir.File("c.bmp"), f);
    CDib c(dir.File("c.bmp"));
    EXPECT_EQ(c.GetColorTable()[1].rgbBlue, 200);
    EXPECT_EQ(c.GetColorTable()[2].rgbBlue, 0);

    // RLE8, 4 x 2: bottom row "run of 3 x 7, run of 1 x 9", top row "move 1, run 2 x 5".
    std::vector<uint8_t> rle8 = {3, 7, 1, 9, 0, 0, 0, 2, 1, 0, 2, 5, 0, 1};
    WriteAll(dir.File("r8.bmp"), MakeBmp(4, 2, 8, 1, GrayTable(256), rle8));
    CDib r8(dir.File("r8.bmp"));
    EXPECT_EQ(r8.GetInfo()->biCompression, 0u);
    EXPECT_EQ(std::vector<uint8_t>(r8.GetRow(1), r8.GetRow(1) + 4), (std::vector<uint8_t>{7, 7, 7, 9}));
    EXPECT_EQ(std::vector<uint8_t>(r8.GetRow(0), r8.GetRow(0) + 4), (std::vector<uint8_t>{0, 5, 5, 0}));

    // RLE4, 8 x 1: run of 3 alternating 1/2, run of 2 alternating 3/4, literal 5, 6, 7.
    std::vector<uint8_t> rle4 = {3, 0x12, 2, 0x34, 0, 3, 0x56, 0x70, 0, 1};
    WriteAll(dir.File("r4.bmp"), MakeBmp(8, 1, 4, 2, GrayTable(16), rle4));
    CDib r4(dir.File("r4.bmp"));
    EXPECT_EQ(r4.GetRow(0)[0], 0x12);
    EXPECT_EQ(r4.GetRow(0)[1], 0x13);
    EXPECT_EQ(r4.GetRow(0)[2], 0x45);
    EXPECT_EQ(r4.GetRow(0)[3], 0x67);

    // A run past the row end or a move past the image is refused.
    WriteAll(dir.File("bad1.bmp"), MakeBmp(4, 2, 8, 1, GrayTable(256), {5, 1, 0, 1}));
    EXPECT_THROW(CDib(dir.File("bad1.bmp")), CUserException);
    WriteAll(dir.File("bad2.bmp"), MakeBmp(4, 2, 8, 1, GrayTable(256), {0, 2, 0, 3, 1, 1}));
    EXPECT_THROW(CDib(dir.File("bad2.bmp")), CUserException);
    WriteAll(dir.File("bad3.bmp"), MakeBmp(4, 1, 8, 1, GrayTable(256), {0, 0, 2, 1}));
    EXPECT_THROW(CDib(dir.File("bad3.bmp")), CUserException);
}

TEST(Dib, RefusesMalformedFiles) {
    CTempDir dir;
    auto expectRefused = [&](const std::vector<uint8_t>& f, const char* what) {
        WriteAll(dir.File("x.bmp"), f);
        EXPECT_THROW(CDib(dir.File("x.bmp")), CUserException) << what;
    };
    auto good = MakeBmp(3, 2, 24, 0, {}, std::vector<uint8_t>(24, 1));
    WriteAll(dir.File("g.bmp"), good);
    EXPECT_NO_THROW(CDib(dir.File("g.bmp")));

    auto f = good;
    f[1] = 'X';
    expectRefused(f, "signature");
    expectRefused(std::vector<uint8_t>(good.begin(), good.begin() + 40), "short header");
    expectRefused(std::vector<uint8_t>(good.begin(), good.end() - 1), "rows cut short");
    f = good;
    Put32(f, 22, static_cast<uint32_t>(-2));
    expectRefused(f, "top-down");
    f = good;
    Put32(f, 18, 0x7FFFFFFF);
    Put32(f, 22, 0x7FFFFFFF);
    expectRefused(f, "huge size");
    f = good;
    Put32(f, 10, 1000);
    expectRefused(f, "offset past end");
    f = good;
    Put16(f, 28, 12);
    expectRefused(f, "bit count");
    auto t = MakeBmp(3, 2, 8, 0, GrayTable(10), {});
    expectRefused(t, "table cut short");
    EXPECT_THROW(CDib(dir.File("missing.bmp")), CUserException);
}

TEST(Dib, PackedDibRoundTripAndRefusals) {
    std::unique_ptr<CDib> d(MakeRandom24(7, 3, 5));
    auto packed = d->CreatePackedDib();
    EXPECT_EQ(packed.size(), 40u + 3 * 24);
    CDib back(packed.data(), packed.size());
    EXPECT_EQ(std::memcmp(back.GetBits(), d->GetBits(), 72), 0);

    auto p = packed;
    p[8] = 0xFD, p[9] = p[10] = p[11] = 0xFF; // height -3
    EXPECT_THROW(CDib(p.data(), p.size()), CUserException);
    for (uint8_t c : {1, 2}) {
        p = packed;
        p[16] = c;
        EXPECT_THROW(CDib(p.data(), p.size()), CUserException);
    }
    EXPECT_THROW(CDib(packed.data(), packed.size() - 1), CUserException);
    EXPECT_THROW(CDib(static_cast<const uint8_t*>(nullptr), 0), CMemoryException);

    CDib g(4, 4, 8, 256, nullptr);
    auto pg = g.CreatePackedDib();
    CDib gb(pg.data(), pg.size());
    EXPECT_TRUE(gb.IsGray());
}

TEST(Dib, CopyAndAdopt) {
    std::unique_ptr<CDib> d(MakeRandom24(3, 3, 2));
    d->m_nBrightness = 70;
    CDib c(*d);
    EXPECT_EQ(c.m_nBrightness, 70);
    EXPECT_EQ(std::memcmp(c.GetBits(), d->GetBits(), 36), 0);
    EXPECT_NE(c.GetBits(), d->GetBits());

    void* pHead = AllocImageMemory(40 + 8);
    BITMAPINFOHEADER h;
    h.biWidth = 2;
    h.biHeight = 1;
    h.biBitCount = 1;
    std::memcpy(pHead, &h, 40);
    uint8_t t[8] = {0, 0, 0, 0, 255, 255, 255, 0};
    std::memcpy(static_cast<uint8_t*>(pHead) + 40, t, 8);
    void* pBits = AllocImageMemory(4);
    CDib a(pHead, pBits);
    EXPECT_EQ(a.GetBits(), pBits);
    EXPECT_TRUE(a.IsGray());
    EXPECT_THROW(CDib(static_cast<void*>(nullptr), static_cast<void*>(nullptr)), CUserException);
}

TEST(Dib, ToneTables) {
    std::unique_ptr<CDib> d(MakeUniform24(2, 2, 10, 20, 30));
    d->ApplyTone(); // applied: nothing happens
    EXPECT_EQ(d->GetRow(0)[0], 30);
    for (int i = 0; i < 256; ++i) {
        d->m_gammaTable[i] = static_cast<uint8_t>(255 - i);
        d->m_contrastTable[i] = static_cast<uint8_t>(i / 2);
    }
    d->m_nChannelMask = 1; // red only
    d->m_bToneApplied = false;
    d->ApplyTone();
    EXPECT_EQ(d->m_toneTable[10], 255 - 5);
    EXPECT_EQ(d->GetRow(1)[2], 250); // red 10 -> 255 - 5
    EXPECT_EQ(d->GetRow(1)[1], 20);
    EXPECT_EQ(d->GetRow(1)[0], 30);
    EXPECT_TRUE(d->m_bToneApplied);
    EXPECT_EQ(d->m_nChannelMask, 7);

    RGBQUAD t[256] = {};
    t[3] = RGBQUAD{4, 5, 6, 0};
    CDib p(8, 1, 1, t);
    for (int i = 0; i < 256; ++i) p.m_gammaTable[i] = static_cast<uint8_t>(i + 1 > 255 ? 255 : i + 1);
    p.m_bToneApplied = false;
    p.ApplyTone();
    EXPECT_EQ(p.GetColorTable()[3].rgbRed, 7);
    EXPECT_EQ(p.GetColorTable()[3].rgbBlue, 5);
    p.ResetTone();
    EXPECT_EQ(p.m_nContrast, 45);
    EXPECT_EQ(p.m_gammaTable[9], 9);
}

TEST(Dib, ImageMemoryReserve) {
    {
        CFakeMemory mem(10'000'000);
        uint64_t nLimit = 10'000'000 - kImageMemoryReserve;
        EXPECT_THROW(AllocImageMemory(nLimit), CMemoryException);
        EXPECT_FALSE(IsMemoryAvailable(nLimit));
        EXPECT_TRUE(IsMemoryAvailable(nLimit - 1));
        void* p = AllocImageMemory(nLimit - 1);
        FreeImageMemory(p);
        FreeImageMemory(nullptr);
        EXPECT_THROW(CDib(24, 2000, 2000, nullptr), CMemoryException);
    }
    {
        CFakeMemory mem(1'000'000); // below the reserve: nothing at all
        EXPECT_THROW(AllocImageMemory(1), CMemoryException);
    }
    EXPECT_EQ(EstimateImageMemory(5, 2, 24), (2u + 16) * 16 + 8192);
}

TEST(Dib, FileBackedWriterLeavesNothingUncommitted) {
    CTempDir dir;
    {
        CDib w(dir.File("w.bmp"), 8, 4, 2, 256, nullptr);
        uint8_t row[4] = {1, 2, 3, 4};
        w.PutRow(1, row);
        EXPECT_EQ(w.GetRow(1)[2], 3);
    }
    EXPECT_FALSE(std::filesystem::exists(dir.File("w.bmp")));
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path), {}), 0);
}

TEST(Dib, FileBackedWriterRowByRow) {
    CTempDir dir;
    RGBQUAD t[16] = {};
    t[3] = RGBQUAD{1, 2, 3, 0};
    {
        CDib w(dir.File("w.bmp"), 4, 3, 2, 0, t, 5907, 100);
        uint8_t top[4] = {0x30, 0x30, 0, 0}, bottom[4] = {0x03, 0x00, 0, 0};
        w.PutRow(1, bottom); // rows in any order
        w.PutRow(0, top);
        w.CommitFile();
        EXPECT_THROW(w.GetRow(0), CAppException); // the file is gone from the object
    }
    auto bytes = ReadAll(dir.File("w.bmp"));
    ASSERT_EQ(bytes.size(), 14u + 40 + 64 + 8);
    EXPECT_EQ(bytes[14 + 24], 0); // resolution 5907 stored as 0
    EXPECT_EQ(bytes[14 + 28], 100);
    CDib r(dir.File("w.bmp"));
    EXPECT_EQ(r.GetRow(0)[0], 0x30);
    EXPECT_EQ(r.GetRow(1)[0], 0x03);
    EXPECT_EQ(r.GetColorTable()[3].rgbRed, 3);
}
