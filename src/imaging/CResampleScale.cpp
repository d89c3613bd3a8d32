#include "imaging/CResampleScale.h"

#include "framework/CException.h"
#include "imaging/CDib.h"

#include <cstring>

IMPLEMENT_DYNAMIC(CResampleScale, CScale)

void CResampleScale::Scale() {
    CDib& src = *m_pSource;
    CDib& dst = *m_pDest;
    const int nBits = src.GetBitCount();
    if (nBits != dst.GetBitCount() || (nBits != 24 && nBits != 8)) AfxThrowNotSupportedException();
    const int w = src.GetWidth(), h = src.GetHeight(), dw = dst.GetWidth(), dh = dst.GetHeight();
    if (w <= 0 || h <= 0 || dw <= 0 || dh <= 0) return;
    const int nBpp = nBits / 8;
    // Column table as byte offsets.
    std::vector<int> cols = IndexTable(dw, w);
    for (int& c : cols) c *= nBpp;
    const std::vector<int> rows = IndexTable(dh, h);
    const size_t nRowBytes = size_t(dw) * nBpp;
    int nFast = 0;
    while (nFast < dw - 1 && cols[nFast] + 4 <= src.GetStride()) ++nFast;
    int nPrev = -1;
    uint8_t* pPrev = nullptr;
    for (int y = 0; y < dh; ++y) {
        uint8_t* d = dst.GetRow(y);
        if (rows[y] == nPrev) { // the same source row again: copy the row just made
            std::memcpy(d, pPrev, nRowBytes);
            pPrev = d;
            continue;
        }
        const uint8_t* s = src.GetRow(rows[y]);
        if (nBpp == 3) {
            // Four-byte moves; the fourth byte is overwritten by the next
            // pixel. The last pixel, and pixels whose fourth byte would lie
            // past the source row's memory, are copied byte by byte.
            int x = 0;
            for (; x < nFast; ++x) std::memcpy(d + 3 * x, s + cols[x], 4);
            for (; x < dw; ++x) {
                const uint8_t* p = s + cols[x];
                uint8_t* q = d + 3 * x;
                q[0] = p[0];
                q[1] = p[1];
                q[2] = p[2];
            }
        } else {
            for (int x = 0; x < dw; ++x) d[x] = s[cols[x]];
        }
        nPrev = rows[y];
        pPrev = d;
    }
}
