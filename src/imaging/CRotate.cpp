#include "imaging/CRotate.h"

#include "framework/CException.h"
#include "imaging/CDib.h"
#include "imaging/DibHelpers.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

IMPLEMENT_DYNAMIC(CRotate, CObject)

namespace {

constexpr float kDegToRad = 0.017453f;
constexpr int kTile = 32; // pixels per side of the blocks the 90° turns copy

inline void Copy3(uint8_t* d, const uint8_t* s) {
    d[0] = s[0];
    d[1] = s[1];
    d[2] = s[2];
}

// Four-byte moves of three-byte pixels: the fourth byte is overwritten by the
// next pixel written. Never used where the fourth byte would lie outside a row.
inline void Copy4(uint8_t* d, const uint8_t* s) {
    std::memcpy(d, s, 4);
}

// Destination row d (w pixels) = source row s reversed. Written left to
// right; the first pixel (source's last, whose fourth byte may lie past the
// row) and the last pixel (whose fourth byte would) are copied byte by byte.
inline void MirrorRow(uint8_t* d, const uint8_t* s, int w) {
    const uint8_t* p = s + 3 * (w - 1);
    Copy3(d, p);
    for (int x = 1; x < w - 1; ++x) Copy4(d + 3 * x, p - 3 * x);
    if (w > 1) Copy3(d + 3 * (w - 1), s);
}

} // namespace

CRotate::CRotate(CDib* pSource) : m_pSource(pSource) {
    if (!pSource || pSource->GetBitCount() != 24) AfxThrowNotSupportedException();
}

CRotate::~CRotate() {
    delete m_pSpare;
}

CDib* CRotate::Mirror() {
    CDib& src = *m_pSource;
    const int w = src.GetWidth(), h = src.GetHeight();
    auto dst = NewDib24(w, h, &src);
    for (int y = 0; y < h; ++y) MirrorRow(dst->GetRow(y), src.GetRow(y), w);
    return dst.release();
}

CDib* CRotate::Flip() {
    CDib& src = *m_pSource;
    const int w = src.GetWidth(), h = src.GetHeight();
    auto dst = NewDib24(w, h, &src);
    const size_t nBytes = static_cast<size_t>(src.GetStride());
    for (int y = 0; y < h; ++y) std::memcpy(dst->GetRow(y), src.GetRow(h - 1 - y), nBytes);
    return dst.release();
}

CDib* CRotate::Rotate180() {
    return Turn180(*m_pSource);
}
CDib* CRotate::Transpose() {
    return Turn(*m_pSource, turnTranspose);
}
CDib* CRotate::Rotate90CW() {
    return Turn(*m_pSource, turnCW);
}
CDib* CRotate::Rotate90CCW() {
    return Turn(*m_pSource, turnCCW);
}

CDib* CRotate::Turn180(CDib& src) {
    const int w = src.GetWidth(), h = src.GetHeight();
    auto dst = NewDib24(w, h, &src);
    for (int y = 0; y < h; ++y) MirrorRow(dst->GetRow(h - 1 - y), src.GetRow(y), w);
    return dst.release();
}

// Destination row r, column c of a W × H source (destination H × W):
// transpose: source (x = r, y = c); clockwise: (r, H − 1 − c);
// counter-clockwise: (W − 1 − r, c). Copied in square tiles so that both
// images are walked through the cache a block at a time.
CDib* CRotate::Turn(CDib& src, ETurn nTurn) {
    const int w = src.GetWidth(), h = src.GetHeight();
    auto dst = NewDib24(h, w, &src);
    uint8_t* const sTop = DibTopRow(src);
    const ptrdiff_t sStep = DibRowStep(src);
    uint8_t* const dTop = DibTopRow(*dst);
    const ptrdiff_t dStep = DibRowStep(*dst);
    // Source row for each destination column, and the step between them.
    const ptrdiff_t cStep = nTurn == turnCW ? -sStep : sStep;
    const uint8_t* const sCol0 = nTurn == turnCW ? sTop + (h - 1) * sStep : sTop;
    for (int r0 = 0; r0 < w; r0 += kTile) {
        const int r1 = std::min(r0 + kTile, w);
        for (int c0 = 0; c0 < h; c0 += kTile) {
            const int c1 = std::min(c0 + kTile, h);
            for (int r = r0; r < r1; ++r) {
                const int x = nTurn == turnCCW ? w - 1 - r : r;
                uint8_t* d = dTop + r * dStep + 3 * c0;
                const uint8_t* s = sCol0 + c0 * cStep + 3 * x;
                // Four-byte moves unless the fourth byte lies past the
                // source row or past the destination row (its last pixel).
                const int cFast = 3 * x + 4 <= src.GetStride() ? std::min(c1, h - 1) : c0;
                int c = c0;
                for (; c < cFast; ++c, d += 3, s += cStep) Copy4(d, s);
                for (; c < c1; ++c, d += 3, s += cStep) Copy3(d, s);
            }
        }
    }
    return dst.release();
}

CRotate::CShearPlan CRotate::PlanRotation(int nWidth, int nHeight, float fAngle, bool bClockwise) {
    if (!std::isfinite(fAngle)) AfxThrowNotSupportedException();
    CShearPlan p;
    float a = bClockwise ? 360.0f - fAngle : fAngle;
    if (a > 270.0f)
        p.nCoarse = 1, a -= 270.0f;
    else if (a > 180.0f)
        p.nCoarse = 2, a -= 180.0f;
    else if (a > 90.0f)
        p.nCoarse = 3, a -= 90.0f;
    const bool bSwap = p.nCoarse == 1 || p.nCoarse == 3;
    const int w = bSwap ? nHeight : nWidth, h = bSwap ? nWidth : nHeight;
    p.fAngle = a;
    p.fTheta = a * kDegToRad;
    p.fSin = std::sin(p.fTheta);
    p.fTan = std::tan(p.fTheta / 2.0f);
    const float fCos = std::cos(p.fTheta);
    p.nWidth = w;
    p.nHeight = h;
    p.nW1 = std::max(1, static_cast<int>(static_cast<float>(h) * p.fTan + static_cast<float>(w) + 1.0f));
    p.nH2 =
        std::max(1, static_cast<int>(fCos * static_cast<float>(h) + static_cast<float>(w) * p.fSin + 1.0f));
    p.nW3 =
        std::max(1, static_cast<int>(fCos * static_cast<float>(w) + static_cast<float>(h) * p.fSin + 1.0f));
    p.nOffset = static_cast<int>(static_cast<float>(w - 1) * p.fSin);
    return p;
}

void CRotate::ShearLine(const uint8_t* pIn, ptrdiff_t nInStep, int n, uint8_t* pOut, ptrdiff_t nOutStep,
                        int m, float d) {
    int pos = 0;
    auto black = [&](int nTo) {
        for (uint8_t* o = pOut + pos * nOutStep; pos < nTo; ++pos, o += nOutStep) o[0] = o[1] = o[2] = 0;
    };
    if (!(std::fabs(d) < 1e8f)) return black(m);
    const int k = static_cast<int>(d);
    int in = k < 0 ? -k : 0;
    if (k > 0) black(std::min(k, m));
    if (pos >= m || in >= n) return black(m);
    int e = static_cast<int>(std::min<int64_t>(int64_t(n) + k, m));
    const float f = std::fabs(d - static_cast<float>(k));
    const float g = std::fabs(1.0f - f);
    uint8_t* o = pOut + pos * nOutStep;
    const uint8_t* s = pIn + in * nInStep;
    if (f == 0.0f) {
        for (; pos < e; ++pos, o += nOutStep, s += nInStep) Copy3(o, s);
        return black(m);
    }
    float a, b;
    if (d > 0.0f)
        a = f, b = g;
    else
        a = g, b = f;
    // Every product v × a and v × b of the line, once: the sums below are
    // then the same single-precision values as computing them per pixel.
    float ta[256], tb[256];
    for (int v = 0; v < 256; ++v) {
        ta[v] = static_cast<float>(v) * a;
        tb[v] = static_cast<float>(v) * b;
    }
    if (d > 0.0f) {
        // Leading pixel: the first input pixel × g (here b).
        for (int c = 0; c < 3; ++c) o[c] = static_cast<uint8_t>(static_cast<int>(tb[s[c]]));
        ++pos;
        o += nOutStep;
    } else if (m > e) {
        --e;
    }
    // Up to the last input pixel that has a next one; past the end of the
    // line the next pixel is black, as outside the image.
    const int eFull = std::min(e, pos + (n - 1 - in));
    for (; pos < eFull; ++pos, ++in, o += nOutStep, s += nInStep) {
        const uint8_t* t = s + nInStep;
        o[0] = static_cast<uint8_t>(static_cast<int>(ta[s[0]] + tb[t[0]]));
        o[1] = static_cast<uint8_t>(static_cast<int>(ta[s[1]] + tb[t[1]]));
        o[2] = static_cast<uint8_t>(static_cast<int>(ta[s[2]] + tb[t[2]]));
    }
    for (; pos < e; ++pos, ++in, o += nOutStep, s += nInStep)
        for (int c = 0; c < 3; ++c) o[c] = static_cast<uint8_t>(static_cast<int>(ta[s[c]] + tb[0]));
    if (pos < m && in < n) {
        for (int c = 0; c < 3; ++c) o[c] = static_cast<uint8_t>(static_cast<int>(ta[s[c]]));
        ++pos;
    }
    black(m);
}

void CRotate::ShearColumns(const uint8_t* pInTop, ptrdiff_t nInStep, int n, uint8_t* pOutTop,
                           ptrdiff_t nOutStep, int m, int nCols, float fOffset, float fSin) {
    // Each output pixel of a column sheared by d is
    //   truncate(v(j) × a + v(j + 1) × b),  j = pos − k − (d > 0 ? 1 : 0),
    // with v the input pixel, black outside the column: this one formula
    // gives ShearLine's leading, blended, trailing and black pixels alike.
    constexpr int kBlock = 8; // columns per block: their tables (2 KB each) stay in the first-level cache
    std::vector<uint8_t> black(static_cast<size_t>(nCols) * 3 + 4, 0);
    // Input rows −1 … n, the outer two black.
    std::vector<const uint8_t*> rows(static_cast<size_t>(n) + 2);
    rows[0] = rows[n + 1] = black.data();
    for (int j = 0; j < n; ++j) rows[j + 1] = pInTop + j * nInStep;
    const int64_t jMin = -1, jMax = n;
    auto rowAt = [&](int64_t j) { return rows[std::clamp(j, jMin, jMax) + 1]; };

    struct Column {
        int64_t kk;
        bool bBlack;
        float ta[256], tb[256];
    };
    std::vector<Column> cols(kBlock);
    for (int x0 = 0; x0 < nCols; x0 += kBlock) {
        const int nb = std::min(kBlock, nCols - x0);
        for (int i = 0; i < nb; ++i) {
            Column& c = cols[i];
            const float d = fOffset - static_cast<float>(x0 + i) * fSin;
            c.bBlack = !(std::fabs(d) < 1e8f);
            const int k = c.bBlack ? 0 : static_cast<int>(d);
            const float f = std::fabs(d - static_cast<float>(k)), g = std::fabs(1.0f - f);
            const float a = d > 0.0f ? f : g, b = d > 0.0f ? g : f;
            c.kk = int64_t(k) + (d > 0.0f ? 1 : 0);
            for (int v = 0; v < 256; ++v) {
                c.ta[v] = static_cast<float>(v) * a;
                c.tb[v] = static_cast<float>(v) * b;
            }
        }
        // Rows where every column of the block reads two pixels inside the
        // input: no black columns, pos − kk ≥ 0 and pos − kk + 1 ≤ n − 1.
        int64_t kkMin = INT64_MAX, kkMax = INT64_MIN;
        bool bAnyBlack = false;
        for (int i = 0; i < nb; ++i) {
            kkMin = std::min(kkMin, cols[i].kk);
            kkMax = std::max(kkMax, cols[i].kk);
            bAnyBlack = bAnyBlack || cols[i].bBlack;
        }
        const int64_t posLo = bAnyBlack ? 1 : kkMax, posHi = bAnyBlack ? 0 : kkMin + n - 2;
        for (int pos = 0; pos < m; ++pos) {
            uint8_t* o = pOutTop + pos * nOutStep + 3 * x0;
            if (pos >= posLo && pos <= posHi) {
                for (int i = 0; i < nb; ++i, o += 3) {
                    const Column& c = cols[i];
                    const uint8_t* v0 = pInTop + (pos - c.kk) * nInStep + 3 * (x0 + i);
                    const uint8_t* v1 = v0 + nInStep;
                    o[0] = static_cast<uint8_t>(static_cast<int>(c.ta[v0[0]] + c.tb[v1[0]]));
                    o[1] = static_cast<uint8_t>(static_cast<int>(c.ta[v0[1]] + c.tb[v1[1]]));
                    o[2] = static_cast<uint8_t>(static_cast<int>(c.ta[v0[2]] + c.tb[v1[2]]));
                }
                continue;
            }
            for (int i = 0; i < nb; ++i, o += 3) {
                const Column& c = cols[i];
                if (c.bBlack) {
                    o[0] = o[1] = o[2] = 0;
                    continue;
                }
                const int64_t j = pos - c.kk;
                const size_t x = 3 * size_t(x0 + i);
                const uint8_t* v0 = rowAt(j) + x;
                const uint8_t* v1 = rowAt(j + 1) + x;
                o[0] = static_cast<uint8_t>(static_cast<int>(c.ta[v0[0]] + c.tb[v1[0]]));
                o[1] = static_cast<uint8_t>(static_cast<int>(c.ta[v0[1]] + c.tb[v1[1]]));
                o[2] = static_cast<uint8_t>(static_cast<int>(c.ta[v0[2]] + c.tb[v1[2]]));
            }
        }
    }
}

CDib* CRotate::RotateArbitrary(float fAngle, bool bClockwise) {
    const CShearPlan p = PlanRotation(m_pSource->GetWidth(), m_pSource->GetHeight(), fAngle, bClockwise);
    delete m_pSpare;
    m_pSpare = nullptr;
    switch (p.nCoarse) {
    case 1:
        m_pSpare = Turn(*m_pSource, turnCW);
        break;
    case 2:
        m_pSpare = Turn180(*m_pSource);
        break;
    case 3:
        m_pSpare = Turn(*m_pSource, turnCCW);
        break;
    default:
        break;
    }
    CDib& src = m_pSpare ? *m_pSpare : *m_pSource;
    const int w = p.nWidth, h = p.nHeight;

    // Pass 1: rows of the source into A (W1 × H), shift y × t.
    auto imgA = NewDib24(p.nW1, h, m_pSource);
    {
        uint8_t* sTop = DibTopRow(src);
        const ptrdiff_t sStep = DibRowStep(src);
        uint8_t* aTop = DibTopRow(*imgA);
        const ptrdiff_t aStep = DibRowStep(*imgA);
        for (int y = 0; y < h; ++y)
            ShearLine(sTop + y * sStep, 3, w, aTop + y * aStep, 3, p.nW1, static_cast<float>(y) * p.fTan);
    }
    delete m_pSpare;
    m_pSpare = nullptr;

    // Pass 2: columns of A into B (W1 × H2), shift offset − x × sin, top to bottom.
    auto imgB = NewDib24(p.nW1, p.nH2, m_pSource);
    {
        uint8_t* aTop = DibTopRow(*imgA);
        const ptrdiff_t aStep = DibRowStep(*imgA);
        uint8_t* bTop = DibTopRow(*imgB);
        const ptrdiff_t bStep = DibRowStep(*imgB);
        ShearColumns(aTop, aStep, h, bTop, bStep, p.nH2, p.nW1, static_cast<float>(p.nOffset), p.fSin);
    }
    imgA.reset();

    // Pass 3: rows of B into C (W3 × H2), shift (y − offset) × t.
    auto imgC = NewDib24(p.nW3, p.nH2, m_pSource);
    {
        uint8_t* bTop = DibTopRow(*imgB);
        const ptrdiff_t bStep = DibRowStep(*imgB);
        uint8_t* cTop = DibTopRow(*imgC);
        const ptrdiff_t cStep = DibRowStep(*imgC);
        for (int y = 0; y < p.nH2; ++y)
            ShearLine(bTop + y * bStep, 3, p.nW1, cTop + y * cStep, 3, p.nW3,
                      static_cast<float>(y - p.nOffset) * p.fTan);
    }
    return imgC.release();
}
