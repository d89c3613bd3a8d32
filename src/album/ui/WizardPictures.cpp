#include "album/ui/WizardPictures.h"

#include "album/AlbumScales.h"

#include <QLinearGradient>
#include <QPainter>
#include <QPolygonF>
#include <QRadialGradient>

namespace {

constexpr int kPageBmpWidth = 164, kPageBmpHeight = 312;
const QColor kTints[] = {QColor(214, 120, 80), QColor(90, 160, 110), QColor(230, 190, 80),
                         QColor(110, 140, 210)};

void FillSky(QPainter& p, const QRectF& r) {
    QLinearGradient sky(r.topLeft(), r.bottomLeft());
    sky.setColorAt(0, QColor(18, 38, 78));
    sky.setColorAt(1, QColor(70, 120, 170));
    p.fillRect(r, sky);
    QRadialGradient sun(r.right() - 0.25 * r.width(), r.top() + 0.2 * r.height(), 0.35 * r.width());
    sun.setColorAt(0, QColor(255, 230, 160, 230));
    sun.setColorAt(1, QColor(255, 230, 160, 0));
    p.fillRect(r, sun);
}

// One photograph with its white border in a 110 x 140 box centred on the origin.
void DrawPhoto(QPainter& p, const QColor& tint) {
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 70));
    p.drawRect(-52, -68, 110, 140);
    p.setBrush(QColor(250, 248, 240));
    p.drawRect(-56, -72, 110, 140);
    QLinearGradient pic(0, -62, 0, 40);
    pic.setColorAt(0, tint.lighter(150));
    pic.setColorAt(1, tint);
    p.setBrush(pic);
    p.drawRect(-48, -64, 94, 100);
    p.setBrush(QColor(255, 255, 255, 120));
    p.drawEllipse(QPointF(20, -40), 10, 10);
    p.setBrush(tint.darker(160));
    p.drawPolygon(
        QPolygonF({QPointF(-48, 36), QPointF(-10, -10), QPointF(20, 20), QPointF(46, -4), QPointF(46, 36)}));
}

// An open album: two pages, photos on each.
void DrawAlbum(QPainter& p, double cx, double cy) {
    p.save();
    p.translate(cx, cy);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(0, 0, 0, 80));
    p.drawRoundedRect(QRectF(-66, -44, 136, 96), 4, 4);
    p.setBrush(QColor(120, 40, 40));
    p.drawRoundedRect(QRectF(-70, -48, 140, 96), 4, 4);
    p.setBrush(QColor(250, 248, 240));
    p.drawRect(QRectF(-64, -42, 62, 84));
    p.drawRect(QRectF(2, -42, 62, 84));
    for (int i = 0; i < 4; ++i) {
        p.save();
        p.translate(-33 + (i / 2) * 66, -20 + (i % 2) * 42);
        p.scale(0.22, 0.22);
        DrawPhoto(p, kTints[i]);
        p.restore();
    }
    p.restore();
}

QImage PagePicture(bool bFinish) {
    QImage img(kPageBmpWidth, kPageBmpHeight, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    FillSky(p, img.rect());
    if (!bFinish) {
        // Loose photographs falling into the album.
        for (int i = 0; i < 3; ++i) {
            p.save();
            p.translate(50 + i * 32, 70 + i * 30);
            p.rotate(-18 + i * 16);
            p.scale(0.45, 0.45);
            DrawPhoto(p, kTints[i]);
            p.restore();
        }
        DrawAlbum(p, kPageBmpWidth / 2.0, 240);
    } else {
        DrawAlbum(p, kPageBmpWidth / 2.0, 130);
        // A tick: the album is ready.
        p.setPen(QPen(QColor(255, 230, 160), 10, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
        p.setBrush(Qt::NoBrush);
        p.drawPolyline(QPolygonF({QPointF(48, 235), QPointF(72, 262), QPointF(120, 205)}));
    }
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return img;
}

} // namespace

QImage DrawWizardBitmap(uint32_t nBitmap) {
    if (nBitmap == 1274) return PagePicture(false);
    if (nBitmap == 1254) return PagePicture(true);
    return {};
}

QImage DrawSizeSample(int nScale) {
    const CSize sz = GetThumbnailSize(nScale, 4, 3);
    const int w = std::max(8, sz.cx), h = std::max(6, sz.cy);
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    FillSky(p, img.rect());
    // A landscape: hills under the sky, each size with its own tint.
    const QColor tint = kTints[std::clamp(nScale, 0, 3)];
    p.setPen(Qt::NoPen);
    p.setBrush(tint.darker(140));
    p.drawPolygon(QPolygonF({QPointF(0, h), QPointF(0, 0.65 * h), QPointF(0.3 * w, 0.45 * h),
                             QPointF(0.55 * w, 0.62 * h), QPointF(0.8 * w, 0.5 * h), QPointF(w, 0.6 * h),
                             QPointF(w, h)}));
    p.setBrush(tint);
    p.drawPolygon(QPolygonF({QPointF(0, h), QPointF(0, 0.85 * h), QPointF(0.45 * w, 0.72 * h),
                             QPointF(w, 0.88 * h), QPointF(w, h)}));
    return img;
}
