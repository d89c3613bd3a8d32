#include "imaging/CColorModel.h"

#include "framework/CException.h"
#include "imaging/CDib.h"

#include <algorithm>

IMPLEMENT_DYNAMIC(CColorModel, CObject)

namespace {

constexpr double kByteScale = 0.003921569; // 1 / 255

uint8_t ToByte(double v) {
    double x = v * 255.0;
    if (x <= 0) return 0;
    if (x >= 255) return 255;
    return static_cast<uint8_t>(x);
}

} // namespace

void CColorModel::RGBToHLS(uint8_t rb, uint8_t gb, uint8_t bb, uint8_t& h, uint8_t& l, uint8_t& s) {
    double r = rb * kByteScale, g = gb * kByteScale, b = bb * kByteScale;
    double mx = std::max({r, g, b}), mn = std::min({r, g, b});
    double L = (mx + mn) / 2;
    l = ToByte(L);
    if (mx == mn) {
        s = 0;
        h = 0;
        return;
    }
    double d = mx - mn;
    double S = L <= 0.5 ? d / (mx + mn) : d / (2 - mx - mn);
    double r2 = (mx - r) / d, g2 = (mx - g) / d, b2 = (mx - b) / d;
    double H;
    if (r == mx)
        H = g == mn ? 5 + b2 : 1 - g2;
    else if (g == mx)
        H = b == mn ? 1 + r2 : 3 - b2;
    else
        H = r == mn ? 3 + g2 : 5 - r2;
    H /= 6;
    h = ToByte(H);
    s = ToByte(S);
}

void CColorModel::HLSToRGB(uint8_t hb, uint8_t lb, uint8_t sb, uint8_t& r, uint8_t& g, uint8_t& b) {
    double H = hb * kByteScale, L = lb * kByteScale, S = sb * kByteScale;
    if (sb == 0) {
        r = g = b = ToByte(L);
        return;
    }
    double v = L <= 0.5 ? L * (1 + S) : L + S - L * S;
    if (v <= 0) {
        r = g = b = 0;
        return;
    }
    double m = 2 * L - v, sv = (v - m) / v;
    double h6 = H * 6;
    if (h6 >= 6) h6 = 0; // hue byte 255 is hue 0
    int nSextant = static_cast<int>(h6);
    double f = h6 - nSextant, vsf = v * sv * f, mid1 = m + vsf, mid2 = v - vsf;
    double R, G, B;
    switch (nSextant) {
    case 0:
        R = v, G = mid1, B = m;
        break;
    case 1:
        R = mid2, G = v, B = m;
        break;
    case 2:
        R = m, G = v, B = mid1;
        break;
    case 3:
        R = m, G = mid2, B = v;
        break;
    case 4:
        R = mid1, G = m, B = v;
        break;
    default:
        R = v, G = m, B = mid2;
        break;
    }
    r = ToByte(R);
    g = ToByte(G);
    b = ToByte(B);
}

void CColorModel::HLSToRGBRow(uint8_t* p, int nPixels) {
    for (int x = 0; x < nPixels; ++x, p += 3) {
        uint8_t r, g, b;
        HLSToRGB(p[2], p[0], p[1], r, g, b);
        p[0] = b;
        p[1] = g;
        p[2] = r;
    }
}

void CColorModel::Convert(bool bToHLS) {
    int nBits = m_pImage->GetBitCount();
    if (nBits != 4 && nBits != 8 && nBits != 24) AfxThrowNotSupportedException();
    auto one = [bToHLS](uint8_t& bl, uint8_t& gr, uint8_t& rd) {
        uint8_t a, b, c;
        if (bToHLS) {
            RGBToHLS(rd, gr, bl, a, b, c); // a = hue, b = lightness, c = saturation
            rd = a;
            gr = c;
            bl = b;
        } else {
            HLSToRGB(rd, bl, gr, a, b, c);
            rd = a;
            gr = b;
            bl = c;
        }
    };
    if (nBits <= 8) {
        RGBQUAD* q = m_pImage->GetColorTable();
        for (int i = 0; i < m_pImage->GetNumColors(); ++i) one(q[i].rgbBlue, q[i].rgbGreen, q[i].rgbRed);
        return;
    }
    int nWidth = m_pImage->GetWidth();
    for (int y = 0; y < m_pImage->GetHeight(); ++y) {
        uint8_t* p = m_pImage->GetRow(y);
        for (int x = 0; x < nWidth; ++x) one(p[3 * x], p[3 * x + 1], p[3 * x + 2]);
        m_pImage->PutRow(y, p);
    }
}

void CColorModel::ToHLS() {
    Convert(true);
}

void CColorModel::FromHLS() {
    Convert(false);
}

void CColorModel::Shift(int nHue, int nSaturation, int nLightness) {
    if (m_pImage->GetBitCount() != 24) return;
    uint8_t hue[256], sat[256], light[256];
    for (int i = 0; i < 256; ++i) {
        int h = i + nHue;
        if (h >= 256) h -= 255;
        if (h < 0) h += 255;
        hue[i] = static_cast<uint8_t>(std::clamp(h, 0, 255));
        sat[i] = static_cast<uint8_t>(std::clamp(i + nSaturation, 0, 255));
        light[i] = static_cast<uint8_t>(std::clamp(i + nLightness, 0, 255));
    }
    int nWidth = m_pImage->GetWidth();
    for (int y = 0; y < m_pImage->GetHeight(); ++y) {
        uint8_t* p = m_pImage->GetRow(y);
        for (int x = 0; x < nWidth; ++x, p += 3) {
            p[0] = light[p[0]];
            p[1] = sat[p[1]];
            p[2] = hue[p[2]];
        }
    }
}
