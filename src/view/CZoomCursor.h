#pragma once
// The zoom tool's cursors: a magnifier with a plus while the picture is
// magnified, a plain one at actual size and one with a minus when reduced.
// Drawn once, the hot spot at the centre of the lens.

#include <QCursor>

class CZoomCursor {
public:
    enum EKind { Magnified, Actual, Reduced };

    // The cursor for a zoom (n >= 2 magnified, 1 actual, -n reduced).
    static EKind KindFor(int nZoom);
    static const QCursor& Get(EKind kind);
    static const QCursor& ForZoom(int nZoom) { return Get(KindFor(nZoom)); }
};
