#include "imaging/CColorDiffusionDither4.h"

#include "imaging/CDib.h"
#include "imaging/FixedPalettes.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CColorDiffusionDither4, CDither)

CColorDiffusionDither4::CColorDiffusionDither4(CDib* pSource, CDib* pDest)
    : CDither(pSource, pDest), m_nWidth(pSource ? pSource->GetWidth() : 0), m_nLast(m_nWidth - 1),
      m_current(static_cast<size_t>(m_nWidth) * 3 + 3, 0), m_next(static_cast<size_t>(m_nWidth) * 3 + 3, 0) {}

void CColorDiffusionDither4::Dither() {
    RequireDepths(m_pSource && m_pSource->GetBitCount() >= 4,
                  m_pDest && (m_pDest->GetBitCount() == 4 || m_pDest->GetBitCount() == 8));
    RunRows(false);
}

void CColorDiffusionDither4::DitherRow(const uint8_t* pSource, uint8_t* pDest) {
    const RGBQUAD* pal = GetSixteenColorPalette();
    int nWidth = m_nWidth;
    int32_t* cur = m_current.data();
    int32_t* next = m_next.data();
    for (int i = 0; i < 3 * nWidth; ++i) {
        cur[i] = pSource[i] + next[i];
        next[i] = 0;
    }
    bool bPacked = m_pDest->GetBitCount() == 4;
    for (int x = 0; x < nWidth; ++x) {
        int32_t* a = cur + 3 * x;
        int B = std::clamp(a[0], 0, 255), G = std::clamp(a[1], 0, 255), R = std::clamp(a[2], 0, 255);
        int nCode = 0;
        if (G - B + R > 128) nCode |= 1;
        if (R - G + B > 128) nCode |= 2;
        if (G - R + B > 128) nCode |= 4;
        int nThreshold = 384, nBright = 8;
        if (nCode == 0) {
            nThreshold = 128;
            nBright = 7;
        } else if (nCode == 7) {
            nCode = 8;
            nThreshold = 638;
            nBright = 7;
        }
        if (R + G + B > nThreshold) nCode |= nBright;
        if (!bPacked)
            pDest[x] = static_cast<uint8_t>(nCode);
        else if (x & 1)
            pDest[x >> 1] = static_cast<uint8_t>((pDest[x >> 1] & 0xF0) | nCode);
        else
            pDest[x >> 1] = static_cast<uint8_t>(nCode << 4);
        if (x == 0 || x >= nWidth - 1) continue;
        const RGBQUAD& q = pal[nCode];
        int e[3] = {B - q.rgbBlue, G - q.rgbGreen, R - q.rgbRed};
        int32_t* n = next + 3 * x;
        for (int c = 0; c < 3; ++c) {
            int32_t qq = e[c] / 4, r = qq / 4;
            a[3 + c] += 2 * qq - r;
            n[c - 3] += qq - r;
            n[c] += qq + r;
            n[c + 3] += r;
        }
    }
}
