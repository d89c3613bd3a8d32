#include "imaging/CPointProcess.h"

#include "framework/CException.h"
#include "imaging/CColorModel.h"
#include "imaging/CDib.h"
#include "imaging/LutApply.h"
#include "imaging/PointTables.h"

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
    CColorModel model(m_pImage);
    model.ToHLS();
    model.Shift(nHue, nSaturation, nLightness);
    model.FromHLS();
}
