#include "print/MarginsTestPage.h"

#include "framework/CDC.h"
#include "framework/StringTable.h"
#include "print/PrintUnits.h"

void DrawMarginsTestPage(CDC& dc, const CRect& rcMargins) {
    const int dpiX = dc.GetDeviceCaps(LOGPIXELSX), dpiY = dc.GetDeviceCaps(LOGPIXELSY);
    CRect rc(PrintToDevice(rcMargins.left, dpiX), PrintToDevice(rcMargins.top, dpiY),
             dc.GetDeviceCaps(HORZRES) - PrintToDevice(rcMargins.right, dpiX),
             dc.GetDeviceCaps(VERTRES) - PrintToDevice(rcMargins.bottom, dpiY));
    dc.SetHollowBrush();
    dc.Rectangle(rc);
    const std::string text = LoadResString(1385) + LoadResString(1386) + LoadResString(1387);
    CRect inner = rc;
    inner.InflateRect(-rc.Width() / 10, -rc.Height() / 10);
    CRect measure = inner;
    dc.DrawText(text, measure, DT_WORDBREAK | DT_NOCLIP | DT_CALCRECT);
    // Centred vertically in the inner rectangle.
    inner.top += (inner.Height() - measure.Height()) / 2;
    dc.DrawText(text, inner, DT_WORDBREAK | DT_NOCLIP);
}
