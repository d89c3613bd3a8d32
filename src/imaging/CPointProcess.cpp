#include "imaging/CPointProcess.h"

#include "framework/CException.h"
#include "imaging/CColorModel.h"
#include "imaging/CDib.h"
#include "imaging/LutApply.h"
#include "imaging/PointTables.h"

#include <vector>

IMPLEMENT_DYNAMIC(CPointProcess, CObject)

void CPointProcess::SetBrightnessContrast(int nBrightness, int nContrast) {
    MakeContrastTable(nBrightness, nContrast, m_pImage->m_contrastTable);
    m_nBrightness = nBrightness - 50;
    m_nContrast = nContrast;
}

void CPointProcess::SetGamma(double dGamma) {
    MakeGammaTable(dGamma, m_pImage->m_gammaTable);
}

void CPointProcess::ApplyLuts(const uint8_t* pRed, const uint8_t* pGreen, const uint8_t* pBlue) {
    if (m_pImage->GetBitCount() != 24) AfxThrowNotSupportedException();
    uint8_t identity[256];
    MakeIdentityTable(identity);
    const uint8_t* pR = pRed ? pRed : identity;
    const uint8_t* pG = pGreen ? pGreen : identity;
    const uint8_t* pB = pBlue ? pBlue : identity;
    if (pR == identity && pG == identity && pB == identity) return;
    const int w = m_pImage->GetWidth();
    for (int y = 0; y < m_pImage->GetHeight(); ++y) {
        uint8_t* pRow = m_pImage->GetRowRGB(y, nullptr);
        ApplyLutsBGR(pRow, pRow, size_t(w), pB, pG, pR);
        m_pImage->PutRow(y, pRow);
    }
}

void CPointProcess::ApplyBrightnessContrast(int nBrightness, int nContrast, int nGammaStep,
                                            int nChannelMask) {
    // Everything is checked before the image changes.
    const double dGamma = GetGammaValue(nGammaStep);
    if (nBrightness < 0 || nBrightness > 100 || nContrast < 0 || nContrast > 90 || nChannelMask < 0 ||
        nChannelMask > 7)
        AfxThrowNotSupportedException();
    m_pImage->m_nChannelMask = nChannelMask;
    m_pImage->m_bToneApplied = false;
    SetBrightnessContrast(nBrightness, nContrast);
    SetGamma(dGamma);
    m_pImage->ApplyTone();
}

void CPointProcess::ApplyHueSaturation(int nHue, int nSaturation, int nLightness) {
    if (m_pImage->GetBitCount() != 24 || nHue < -128 || nHue > 127 || nSaturation < -255 ||
        nSaturation > 255 || nLightness < -255 || nLightness > 255)
        AfxThrowNotSupportedException();
    // The same as ToHLS, Shift and FromHLS of the colour model, pixel by
    // pixel: the shift tables are taken from the model itself (a row holding
    // every byte value), and converted colours are remembered, because a
    // picture repeats its colours far more often than it has distinct ones.
    CDib ramp(24, 256, 1, nullptr);
    uint8_t* pRamp = ramp.GetRow(0);
    for (int i = 0; i < 256; ++i)
        pRamp[3 * i] = pRamp[3 * i + 1] = pRamp[3 * i + 2] = static_cast<uint8_t>(i);
    CColorModel(&ramp).Shift(nHue, nSaturation, nLightness);
    uint8_t light[256], sat[256], hue[256];
    for (int i = 0; i < 256; ++i)
        light[i] = pRamp[3 * i], sat[i] = pRamp[3 * i + 1], hue[i] = pRamp[3 * i + 2];

    constexpr int kCacheBits = 16;
    // Entry: colour in the low 24 bits, result in the next 24, bit 48 set when used.
    std::vector<uint64_t> cache(size_t(1) << kCacheBits, 0);
    const int w = m_pImage->GetWidth();
    for (int y = 0; y < m_pImage->GetHeight(); ++y) {
        uint8_t* p = m_pImage->GetRow(y);
        for (int x = 0; x < w; ++x, p += 3) {
            const uint32_t c = uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16;
            uint64_t& e = cache[(c * 2654435761u) >> (32 - kCacheBits)];
            if ((e >> 48) == 0 || uint32_t(e & 0xFFFFFF) != c) {
                uint8_t h, l, s, r, g, b;
                CColorModel::RGBToHLS(p[2], p[1], p[0], h, l, s);
                CColorModel::HLSToRGB(hue[h], light[l], sat[s], r, g, b);
                const uint32_t v = uint32_t(b) | uint32_t(g) << 8 | uint32_t(r) << 16;
                e = uint64_t(1) << 48 | uint64_t(v) << 24 | c;
            }
            const uint32_t v = uint32_t(e >> 24);
            p[0] = static_cast<uint8_t>(v);
            p[1] = static_cast<uint8_t>(v >> 8);
            p[2] = static_cast<uint8_t>(v >> 16);
        }
    }
}
