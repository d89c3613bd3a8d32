#include "view/CZoomCursor.h"

#include <QBitmap>
#include <QPainter>
#include <QPixmap>

namespace {
constexpr int kSize = 32;
constexpr int kLensCentre = 12;
constexpr int kLensRadius = 9;

QCursor Draw(CZoomCursor::EKind kind) {
    QPixmap pixmap(kSize, kSize);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    const QPointF centre(kLensCentre, kLensCentre);
    // A white rim under the black strokes keeps the cursor visible on dark pictures.
    for (const auto& [colour, extra] :
         {std::pair{QColor(Qt::white), 2.0}, std::pair{QColor(Qt::black), 0.0}}) {
        painter.setPen(QPen(colour, 2 + extra, Qt::SolidLine, Qt::RoundCap));
        painter.setBrush(Qt::NoBrush);
        painter.drawEllipse(centre, kLensRadius, kLensRadius);
        painter.setPen(QPen(colour, 4 + extra, Qt::SolidLine, Qt::RoundCap));
        painter.drawLine(QPointF(kLensCentre + 7, kLensCentre + 7), QPointF(kSize - 4, kSize - 4));
        painter.setPen(QPen(colour, 2 + extra, Qt::SolidLine, Qt::FlatCap));
        if (kind != CZoomCursor::Actual)
            painter.drawLine(QPointF(kLensCentre - 5, kLensCentre), QPointF(kLensCentre + 5, kLensCentre));
        if (kind == CZoomCursor::Magnified)
            painter.drawLine(QPointF(kLensCentre, kLensCentre - 5), QPointF(kLensCentre, kLensCentre + 5));
    }
    painter.setPen(Qt::NoPen);
    painter.setBrush(QColor(255, 255, 255, 90)); // the glass
    painter.drawEllipse(centre, kLensRadius - 1.5, kLensRadius - 1.5);
    painter.end();
    return QCursor(pixmap, kLensCentre, kLensCentre);
}
} // namespace

CZoomCursor::EKind CZoomCursor::KindFor(int nZoom) {
    if (nZoom > 1) return Magnified;
    if (nZoom < -1) return Reduced;
    return Actual;
}

const QCursor& CZoomCursor::Get(EKind kind) {
    static const QCursor s_cursors[] = {Draw(Magnified), Draw(Actual), Draw(Reduced)};
    return s_cursors[kind];
}
