#include "imaging/FilterCore.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace {

// A 24-bit picture with rows deliberately apart in memory.
struct Pic {
    int w, h;
    std::vector<uint8_t> data;
    std::vector<uint8_t*> rows;
    Pic(int w_, int h_) : w(w_), h(h_), data(size_t(w_ * 3 + 5) * h_ + 1) {
        for (int y = 0; y < h; ++y) rows.push_back(data.data() + size_t(h - 1 - y) * (w * 3 + 5));
    }
    CRows24 Rows() { return {rows.data(), w, h}; }
    uint8_t* Px(int x, int y) { return rows[y] + 3 * x; }
    void Random(std::mt19937& rng) {
        for (auto& v : data) v = static_cast<uint8_t>(rng());
    }
    bool SamePixels(Pic& o) {
        for (int y = 0; y < h; ++y)
            if (!std::equal(rows[y], rows[y] + 3 * w, o.rows[y])) return false;
        return true;
    }
};

int Key(const uint8_t* p) {
    return p[0] + p[1] + p[2];
}

void ExpectBorderFromSource(Pic& src, Pic& dst, int nCols = 1, int nRows = 1) {
    for (int y = 0; y < src.h; ++y)
        for (int x = 0; x < src.w; ++x) {
            if (y >= nRows && y < src.h - nRows && x >= nCols && x < src.w - nCols) continue;
            for (int c = 0; c < 3; ++c) ASSERT_EQ(dst.Px(x, y)[c], src.Px(x, y)[c]) << x << "," << y;
        }
}

const KernelType* const kAllKernels[] = {
    &g_kernelBlurSlight,     &g_kernelBlurMore,     &g_kernelBlurHeavy,     &g_kernelSharpenSlight,
    &g_kernelSharpenMore,    &g_kernelSharpenHeavy, &g_kernelEmboss,        &g_kernelEdgeThin,
    &g_kernelEdgeHorizontal, &g_kernelEdgeVertical, &g_kernelEdgeHighlight, &g_kernelEdgeThick};

} // namespace

TEST(Convolve, EveryKernelMatchesReference) {
    std::mt19937 rng(1);
    for (const KernelType* k : kAllKernels) {
        for (auto [w, h] : {std::pair{37, 23}, std::pair{3, 3}, std::pair{4, 200}}) {
            Pic src(w, h), dst(w, h);
            src.Random(rng);
            Convolve24(src.Rows(), dst.Rows(), *k);
            ExpectBorderFromSource(src, dst);
            for (int y = 1; y < h - 1; ++y)
                for (int x = 1; x < w - 1; ++x)
                    for (int c = 0; c < 3; ++c) {
                        int s = 0;
                        for (int i = 0; i < 9; ++i) s += (*k)[i] * src.Px(x + i % 3 - 1, y + i / 3 - 1)[c];
                        int v = s / (*k)[kKernelDivisor] + (*k)[kKernelOffset];
                        v = std::clamp(v, 0, 255);
                        if ((*k)[kKernelInvert]) v = 255 - v;
                        ASSERT_EQ(dst.Px(x, y)[c], v) << x << "," << y;
                    }
        }
    }
}

TEST(Convolve, GenericKernelAndSmallPictures) {
    std::mt19937 rng(2);
    // A kernel the program does not have goes the general way, and a
    // divisor of 0 is taken as 1 rather than dividing by zero.
    KernelType k = g_kernelBlurSlight;
    k[4] = 3;
    k[kKernelDivisor] = -7;
    k[kKernelOffset] = 200;
    Pic src(9, 6), dst(9, 6);
    src.Random(rng);
    Convolve24(src.Rows(), dst.Rows(), k);
    for (int y = 1; y < 5; ++y)
        for (int x = 1; x < 8; ++x)
            for (int c = 0; c < 3; ++c) {
                int s = 0;
                for (int i = 0; i < 9; ++i) s += k[i] * src.Px(x + i % 3 - 1, y + i / 3 - 1)[c];
                ASSERT_EQ(dst.Px(x, y)[c], std::clamp(s / -7 + 200, 0, 255));
            }
    k[kKernelDivisor] = 0;
    Convolve24(src.Rows(), dst.Rows(), k);

    for (auto [w, h] : {std::pair{2, 9}, std::pair{9, 2}, std::pair{1, 1}}) {
        Pic s(w, h), d(w, h);
        s.Random(rng);
        Convolve24(s.Rows(), d.Rows(), g_kernelSharpenHeavy);
        EXPECT_TRUE(s.SamePixels(d));
        RankFilter24(s.Rows(), d.Rows(), kRankMedian);
        EXPECT_TRUE(s.SamePixels(d));
    }
}

TEST(Convolve, KnownValues) {
    // Slight blur of one white pixel on black: 4 x 255 / 8 at the pixel, 255 / 8 on the diagonals.
    Pic src(5, 5), dst(5, 5);
    std::fill(src.data.begin(), src.data.end(), 0);
    std::fill(src.Px(2, 2), src.Px(2, 2) + 3, 255);
    Convolve24(src.Rows(), dst.Rows(), g_kernelBlurSlight);
    EXPECT_EQ(dst.Px(2, 2)[0], 127);
    EXPECT_EQ(dst.Px(1, 1)[1], 31);
    EXPECT_EQ(dst.Px(3, 3)[2], 31);
    EXPECT_EQ(dst.Px(2, 1)[0], 0);

    // Uniform picture: heavy blur unchanged, emboss 128, thin edges white.
    std::fill(src.data.begin(), src.data.end(), 77);
    Convolve24(src.Rows(), dst.Rows(), g_kernelBlurHeavy);
    EXPECT_TRUE(src.SamePixels(dst));
    Convolve24(src.Rows(), dst.Rows(), g_kernelEmboss);
    EXPECT_EQ(dst.Px(2, 2)[0], 128);
    EXPECT_EQ(dst.Px(1, 3)[2], 128);
    EXPECT_EQ(dst.Px(0, 3)[2], 77);
    Convolve24(src.Rows(), dst.Rows(), g_kernelEdgeThin);
    EXPECT_EQ(dst.Px(3, 1)[1], 255);

    // Thick and highlight edges give the same picture.
    std::mt19937 rng(3);
    Pic a(11, 7), b(11, 7);
    src = Pic(11, 7);
    src.Random(rng);
    Convolve24(src.Rows(), a.Rows(), g_kernelEdgeThick);
    Convolve24(src.Rows(), b.Rows(), g_kernelEdgeHighlight);
    EXPECT_TRUE(a.SamePixels(b));
}

TEST(RankFilter, MatchesReference) {
    std::mt19937 rng(4);
    for (int nMode : {kRankMinimum, kRankMaximum, kRankMedian}) {
        for (int nRange : {256, 3}) { // few values: many equal keys
            Pic src(41, 17), dst(41, 17);
            for (auto& v : src.data) v = static_cast<uint8_t>(rng() % nRange);
            RankFilter24(src.Rows(), dst.Rows(), nMode);
            ExpectBorderFromSource(src, dst);
            for (int y = 1; y < 16; ++y)
                for (int x = 1; x < 40; ++x) {
                    const uint8_t* cand[9];
                    int keys[9];
                    for (int i = 0; i < 9; ++i) {
                        cand[i] = src.Px(x + i % 3 - 1, y + i / 3 - 1);
                        keys[i] = Key(cand[i]);
                    }
                    const uint8_t* got = dst.Px(x, y);
                    if (nMode == kRankMedian) {
                        int sorted[9];
                        std::copy(keys, keys + 9, sorted);
                        std::sort(sorted, sorted + 9);
                        bool bFound = false;
                        for (int i = 0; i < 9; ++i)
                            bFound |= keys[i] == sorted[4] && std::equal(got, got + 3, cand[i]);
                        ASSERT_TRUE(bFound) << x << "," << y;
                    } else {
                        int best = nMode == kRankMinimum ? 766 : -1, iBest = -1;
                        for (int i = 0; i < 9; ++i)
                            if (nMode == kRankMinimum ? keys[i] < best : keys[i] > best)
                                best = keys[i], iBest = i;
                        ASSERT_TRUE(std::equal(got, got + 3, cand[iBest])) << x << "," << y;
                    }
                }
        }
    }
}

TEST(Gaussian, Weights) {
    int32_t w[101];
    EXPECT_EQ(MakeGaussianWeights(1, w), 2214);
    EXPECT_EQ(w[0], 607);
    EXPECT_EQ(w[1], 1000);
    EXPECT_EQ(w[2], 607);
    MakeGaussianWeights(5, w);
    for (int k = 1; k <= 5; ++k) EXPECT_EQ(w[5 + k], int(std::ceil(1000 * std::exp(-k * k / 50.0))));
    EXPECT_EQ(MakeGaussianWeights(0, w), 1000);
}

TEST(Gaussian, MatchesReference) {
    std::mt19937 rng(5);
    for (int r : {1, 2, 5, 10, 50}) {
        for (auto [w, h] : {std::pair{61, 45}, std::pair{5, 4}, std::pair{2 * r + 3, 2 * r + 2}}) {
            Pic src(w, h), dst(w, h), ref(w, h), rtmp(w, h);
            src.Random(rng);
            GaussianBlur24(src.Rows(), dst.Rows(), r);
            std::vector<int64_t> wt(2 * r + 1);
            int64_t S = 0;
            for (int k = -r; k <= r; ++k)
                S += wt[k + r] = int64_t(std::ceil(1000 * std::exp(-double(k * k) / (2.0 * r * r))));
            for (int y = 0; y < h; ++y)
                for (int j = 0; j < 3 * w; ++j) {
                    if (y < r || y >= h - r) {
                        rtmp.rows[y][j] = src.rows[y][j];
                        continue;
                    }
                    int64_t s = 0;
                    for (int k = 0; k <= 2 * r; ++k) s += wt[k] * src.rows[y - r + k][j];
                    rtmp.rows[y][j] = uint8_t(s / S);
                }
            for (int y = 0; y < h; ++y)
                for (int x = 0; x < w; ++x)
                    for (int c = 0; c < 3; ++c) {
                        if (x >= r && x <= w - r - 2) {
                            int64_t s = 0;
                            for (int k = -r; k <= r; ++k) s += wt[k + r] * rtmp.Px(x + k, y)[c];
                            ref.Px(x, y)[c] = uint8_t(s / S);
                        } else {
                            ref.Px(x, y)[c] = rtmp.Px(x, y)[c];
                        }
                    }
            ASSERT_TRUE(ref.SamePixels(dst)) << r << " " << w << "x" << h;
        }
    }
}

TEST(Gaussian, UniformStaysAndBordersCopied) {
    Pic src(30, 20), dst(30, 20);
    std::fill(src.data.begin(), src.data.end(), 200);
    GaussianBlur24(src.Rows(), dst.Rows(), 3);
    EXPECT_TRUE(src.SamePixels(dst));
    std::mt19937 rng(6);
    src.Random(rng);
    GaussianBlur24(src.Rows(), dst.Rows(), 3);
    // Rows 0..2 and the last 3 pass the vertical pass unchanged, pixels 0..2
    // and w - 4..w - 1 the horizontal one (pixel 3 is computed): the corners
    // keep the source.
    for (int y : {0, 1, 2, 17, 18, 19}) {
        EXPECT_TRUE(std::equal(dst.rows[y], dst.rows[y] + 9, src.rows[y]));
        EXPECT_TRUE(std::equal(dst.Px(26, y), dst.Px(30, y), src.Px(26, y)));
        EXPECT_FALSE(std::equal(dst.Px(3, y), dst.Px(4, y), src.Px(3, y)));
    }
    // Radius 0 copies (the weights alone would multiply by 1000).
    GaussianBlur24(src.Rows(), dst.Rows(), 0);
    EXPECT_TRUE(src.SamePixels(dst));
}
