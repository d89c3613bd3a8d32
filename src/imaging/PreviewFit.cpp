#include "imaging/PreviewFit.h"

#include <cstdint>

CRect ShrinkPreviewControl(const CRect& rcControl, int nFrameWidth) {
    CRect rc = rcControl;
    rc.InflateRect(-2 * nFrameWidth, -2 * nFrameWidth);
    return rc;
}

CRect FitPreviewRect(const CRect& rcControl, int nWidth, int nHeight) {
    const int64_t cw = rcControl.Width(), ch = rcControl.Height();
    if (nWidth <= 0 || nHeight <= 0 || cw <= 0 || ch <= 0) return {};
    int64_t w, h;
    // image width / height <= control width / height, without rounding.
    if (int64_t(nWidth) * ch <= cw * nHeight) {
        h = ch;
        w = ch * nWidth / nHeight;
    } else {
        w = cw;
        h = cw * nHeight / nWidth;
    }
    const int x = rcControl.left + static_cast<int>((cw - w) / 2);
    const int y = rcControl.top + static_cast<int>((ch - h) / 2);
    return CRect(x, y, x + static_cast<int>(w), y + static_cast<int>(h));
}
