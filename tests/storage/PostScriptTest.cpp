// PostScript through the sandboxed interpreter: pictures read back, and
// hostile files (an endless loop, a gigantic page, file access, a page that
// enlarges itself) end in a refusal without a hang, a huge file or a write.

#include "StorageTestUtil.h"

#include "storage/formats/CImageCodecs.h"
#include "storage/formats/CMagickCodec.h"
#include "storage/formats/CPostScriptCodec.h"
#include "storage/formats/ImpExpTables.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

namespace {

class PostScript : public ::testing::Test {
protected:
    void SetUp() override {
        if (!CMagickCodec::HasPostScript()) GTEST_SKIP() << "Ghostscript not installed";
        // The interpreter's private folders are made under our own temporary folder.
        m_oldTmp = std::getenv("TMPDIR") ? std::getenv("TMPDIR") : "";
        ::setenv("TMPDIR", m_tmp.Path().c_str(), 1);
        CPostScriptCodec::SetTimeLimit(3);
    }
    void TearDown() override {
        CPostScriptCodec::SetTimeLimit(0);
        if (m_oldTmp.empty())
            ::unsetenv("TMPDIR");
        else
            ::setenv("TMPDIR", m_oldTmp.c_str(), 1);
    }
    static int Read(const std::string& text, CRaster& out) {
        std::vector<uint8_t> bytes(text.begin(), text.end());
        EXPECT_EQ(CImageCodecs::Sniff(bytes.data(), bytes.size(), "EPS"), 16);
        return CImageCodecs::Read(bytes.data(), bytes.size(), 16, out);
    }
    size_t Leftovers() const {
        size_t n = 0;
        for (const auto& e : std::filesystem::directory_iterator(m_tmp.Path()))
            n += e.path().filename().string().rfind("zozi-gs-", 0) == 0;
        return n;
    }

    CScratchDir m_tmp;
    std::string m_oldTmp;
};

TEST_F(PostScript, PicturesReadBackAtTheirSize) {
    CRaster src;
    ASSERT_EQ(src.Create(40, 30, 24), IMPEXP_SUCCESS);
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 40; ++x) {
            uint8_t* p = src.Row(y) + 3 * x;
            // Colours of the 8-bit colour cube the EPS save type writes with.
            p[0] = static_cast<uint8_t>(x % 6 * 51), p[1] = static_cast<uint8_t>(y % 6 * 51);
            p[2] = x < 20 ? 204 : 51;
        }
    std::vector<uint8_t> bytes;
    ASSERT_EQ(CImageCodecs::Write(src, 56, bytes), IMPEXP_SUCCESS);
    CImageFileInfo info;
    ASSERT_EQ(CImageCodecs::GetInfo(bytes.data(), bytes.size(), "EPS", info), IMPEXP_SUCCESS);
    EXPECT_EQ(info.nWidth, 40);
    EXPECT_EQ(info.nHeight, 30);
    CRaster back;
    ASSERT_EQ(CImageCodecs::Read(bytes.data(), bytes.size(), 16, back), IMPEXP_SUCCESS);
    ASSERT_EQ(back.GetWidth(), 40);
    ASSERT_EQ(back.GetHeight(), 30);
    // The interpreter's colour conversion moves a few values; a shifted or
    // scaled page would move them all.
    long total = 0;
    for (int y = 0; y < 30; ++y)
        for (int x = 0; x < 120; ++x) total += std::abs(src.Row(y)[x] - back.Row(y)[x]);
    EXPECT_LE(total / (30 * 120), 1);
    EXPECT_EQ(back.Row(0)[0], src.Row(0)[0]);
    EXPECT_EQ(back.Row(29)[3 * 39 + 1], src.Row(29)[3 * 39 + 1]);
    EXPECT_EQ(Leftovers(), 0u);
}

TEST_F(PostScript, EndlessLoopIsStoppedAtTheTimeLimit) {
    CRaster out;
    EXPECT_EQ(Read("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n{} loop\n", out),
              IMPEXP_ERR_NO_POSTSCRIPT);
    EXPECT_TRUE(out.IsEmpty());
    EXPECT_EQ(Leftovers(), 0u);
}

TEST_F(PostScript, GiganticPageIsRefusedWithItsSizeBeforeRunning) {
    CRaster out;
    EXPECT_EQ(Read("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 200000 200000\nshowpage\n", out),
              IMPEXP_ERR_TOO_MANY_PIXELS);
    EXPECT_NE(ErrorText(IMPEXP_ERR_TOO_MANY_PIXELS).find("200000 x 200000"), std::string::npos);
    EXPECT_EQ(Leftovers(), 0u);
    // A page that asks for more than its bounding box keeps the box.
    ASSERT_EQ(Read("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 12 10\n"
                   "<< /PageSize [200000 200000] >> setpagedevice 0 0 moveto 12 10 lineto stroke showpage\n",
                   out) == IMPEXP_SUCCESS,
              true);
    EXPECT_EQ(out.GetWidth(), 12);
    EXPECT_EQ(out.GetHeight(), 10);
}

TEST_F(PostScript, FilesOutsideInputAndOutputAreOutOfReach) {
    const std::string victim = m_tmp / "victim.txt";
    WriteAll(victim, {'m', 'i', 'n', 'e'});
    const std::string made = m_tmp / "made.txt";
    CRaster out;
    const int rc = Read("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n"
                        "(" +
                            victim +
                            ") (w) file dup (forged) writestring closefile\n"
                            "(" +
                            made +
                            ") (w) file closefile\n"
                            "(" +
                            victim + ") deletefile\nshowpage\n",
                        out);
    EXPECT_EQ(rc, IMPEXP_ERR_NO_POSTSCRIPT);
    EXPECT_EQ(ReadAll(victim), (std::vector<uint8_t>{'m', 'i', 'n', 'e'}));
    EXPECT_FALSE(std::filesystem::exists(made));
    EXPECT_EQ(Leftovers(), 0u);
    // Reading is refused as well: the file cannot copy another file into its picture.
    EXPECT_EQ(Read("%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n(" + victim +
                       ") (r) file 100 string readstring pop pop showpage\n",
                   out),
              IMPEXP_ERR_NO_POSTSCRIPT);
}

TEST_F(PostScript, GraphicsMagickNeverRunsTheInterpreterItself) {
    // Its PostScript readers are off, so a hostile file reached through it
    // (embedded in another format) fails at once instead of running unbounded.
    const std::string loop = "%!PS-Adobe-3.0 EPSF-3.0\n%%BoundingBox: 0 0 10 10\n{} loop\n";
    std::vector<uint8_t> bytes(loop.begin(), loop.end());
    for (const char* coder : {"PS", "EPS", "PDF"}) {
        CRaster out;
        EXPECT_NE(CMagickCodec::Read(bytes.data(), bytes.size(), coder, out), IMPEXP_SUCCESS) << coder;
    }
    // Writing EPS still goes through it.
    CRaster src;
    ASSERT_EQ(src.Create(4, 4, 24), IMPEXP_SUCCESS);
    std::vector<uint8_t> eps;
    EXPECT_EQ(CImageCodecs::Write(src, 56, eps), IMPEXP_SUCCESS);
}

} // namespace
