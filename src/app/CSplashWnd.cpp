#include "app/CSplashWnd.h"

#include "framework/StringTable.h"
#include "framework/qt/CQtDC.h"
#include "imaging/CDib.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QScreen>
#include <algorithm>
#include <cmath>
#include <memory>

CSplashWnd::CSplashWnd(bool bFirstKind, uint32_t dwDeadline)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_bFirstKind(bFirstKind), m_dwDeadline(dwDeadline) {
    setObjectName("OrlenSplash");
    if (bFirstKind) {
        try {
            // The picture is read as a device-independent bitmap and drawn as the program draws any.
            CDib dib("company.bmp");
            QImage img(dib.GetWidth(), dib.GetHeight(), QImage::Format_RGB32);
            QPainter painter(&img);
            CQtDC dc(&painter);
            dib.Draw(dc, 0, 0);
            painter.end();
            m_picture = img;
        } catch (...) {
        }
    }
    if (m_picture.isNull()) m_picture = DrawOwnSplash();
    setFixedSize(m_picture.size());
}

void CSplashWnd::Show() {
    if (QScreen* s = QGuiApplication::primaryScreen()) {
        QRect r = s->geometry();
        move(r.center() - QPoint(width() / 2, height() / 2));
    }
    show();
    raise();
    repaint();
    m_bShowing = true;
}

void CSplashWnd::MarkVisible() {
    m_bShowing = true;
}

void CSplashWnd::Close() {
    m_bShowing = false;
    hide();
}

void CSplashWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_picture);
}

CSplashWnd::Layout CSplashWnd::LayoutOwnSplash(const QFont& base, double dDpi) {
    Layout L;
    if (dDpi <= 0) dDpi = 96;
    // Fonts in pixels, so that measuring and drawing agree on any device.
    const double basePt = base.pointSizeF() > 0 ? base.pointSizeF() : base.pixelSize() * 72.0 / dDpi;
    auto font = [&](double factor, bool bBold) {
        QFont f(base);
        f.setPixelSize(std::max(1, static_cast<int>(std::lround(basePt * factor * dDpi / 72.0))));
        f.setBold(bBold);
        return f;
    };
    L.titleFont = font(2.6, true);
    L.subFont = font(1.1, false);
    L.smallFont = font(0.85, false);
    L.strTitle = QString::fromStdString(LoadResString(IDS_APP_TITLE));
    L.strSubtitle = "Albums, slide shows and the picture enhancer";
    L.strVersion = QString("%1 \xC2\xB7 version %2")
                       .arg(QString::fromStdString(LoadResString(IDS_COMPANY)), ZOZI_VERSION);

    // The picture side grows with the desktop's font; the text column is as
    // wide as its longest line needs.
    L.dScale = std::max(1.0, basePt * dDpi / 72.0 / 13.0);
    const int m = static_cast<int>(std::lround(16 * L.dScale));
    const int artW = static_cast<int>(std::lround(250 * L.dScale));
    const QFontMetrics fmT(L.titleFont), fmS(L.subFont), fmV(L.smallFont);
    const int titleW = fmT.horizontalAdvance(L.strTitle) + 2;
    const int versionW = fmV.horizontalAdvance(L.strVersion) + 2;
    const int colW = std::max({titleW, versionW, static_cast<int>(std::lround(220 * L.dScale))});
    const int subH = fmS.boundingRect(QRect(0, 0, colW, 100000), Qt::TextWordWrap, L.strSubtitle).height();
    const int blockH = fmT.height() + m / 2 + subH;
    const int W = artW + colW + m;
    const int H = std::max(static_cast<int>(std::lround(300 * L.dScale)), m + blockH + m + fmV.height() + m);
    const int top = std::max(m, (H - m - fmV.height() - blockH) / 2);
    L.size = QSize(W, H);
    L.title = QRect(artW, top, colW, fmT.height());
    L.subtitle = QRect(artW, top + fmT.height() + m / 2, colW, subH);
    L.version = QRect(artW, H - m - fmV.height(), colW, fmV.height());
    return L;
}

QImage CSplashWnd::DrawOwnSplash() {
    double dDpi = 96;
    if (QScreen* s = QGuiApplication::primaryScreen()) dDpi = s->logicalDotsPerInchY();
    return DrawOwnSplash(LayoutOwnSplash(QGuiApplication::font(), dDpi));
}

QImage CSplashWnd::DrawOwnSplash(const Layout& L) {
    const int w = L.size.width(), h = L.size.height();
    const double sc = L.dScale;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    p.setRenderHint(QPainter::TextAntialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(18, 38, 78));
    sky.setColorAt(1, QColor(70, 120, 170));
    p.fillRect(img.rect(), sky);
    QRadialGradient sun(w - 100 * sc, 90 * sc, 70 * sc);
    sun.setColorAt(0, QColor(255, 230, 160, 230));
    sun.setColorAt(1, QColor(255, 230, 160, 0));
    p.fillRect(img.rect(), sun);

    // A fan of three photographs, drawn at the layout's scale and centred vertically.
    p.save();
    p.translate(0, (h - 300 * sc) / 2);
    p.scale(sc, sc);
    const QColor tints[] = {QColor(214, 120, 80), QColor(90, 160, 110), QColor(230, 190, 80)};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(130, 165);
        p.rotate(-18 + i * 16);
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(0, 0, 0, 70));
        p.drawRect(-52, -68, 110, 140);
        p.setBrush(QColor(250, 248, 240));
        p.drawRect(-56, -72, 110, 140);
        QLinearGradient pic(0, -62, 0, 40);
        pic.setColorAt(0, tints[i].lighter(150));
        pic.setColorAt(1, tints[i]);
        p.setBrush(pic);
        p.drawRect(-48, -64, 94, 100);
        p.setBrush(QColor(255, 255, 255, 120));
        p.drawEllipse(QPointF(20, -40), 10, 10);
        p.setBrush(tints[i].darker(160));
        p.drawPolygon(QPolygonF(
            {QPointF(-48, 36), QPointF(-10, -10), QPointF(20, 20), QPointF(46, -4), QPointF(46, 36)}));
        p.restore();
    }
    p.restore();

    p.setPen(QColor(255, 255, 255));
    p.setFont(L.titleFont);
    p.drawText(L.title, Qt::AlignLeft | Qt::AlignVCenter, L.strTitle);
    p.setFont(L.subFont);
    p.setPen(QColor(220, 230, 245));
    p.drawText(L.subtitle, Qt::AlignLeft | Qt::TextWordWrap, L.strSubtitle);
    p.setPen(QColor(200, 210, 230));
    p.setFont(L.smallFont);
    p.drawText(L.version, Qt::AlignLeft | Qt::AlignVCenter, L.strVersion);
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return img;
}
