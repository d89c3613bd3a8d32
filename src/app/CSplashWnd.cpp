#include "app/CSplashWnd.h"

#include "framework/StringTable.h"
#include "framework/qt/CQtDC.h"
#include "imaging/CDib.h"

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRadialGradient>
#include <QScreen>
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

QImage CSplashWnd::DrawOwnSplash() {
    const int w = 480, h = 300;
    QImage img(w, h, QImage::Format_RGB32);
    QPainter p(&img);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, h);
    sky.setColorAt(0, QColor(18, 38, 78));
    sky.setColorAt(1, QColor(70, 120, 170));
    p.fillRect(img.rect(), sky);
    QRadialGradient sun(380, 90, 70);
    sun.setColorAt(0, QColor(255, 230, 160, 230));
    sun.setColorAt(1, QColor(255, 230, 160, 0));
    p.fillRect(img.rect(), sun);

    // A fan of three photographs.
    const QColor tints[] = {QColor(214, 120, 80), QColor(90, 160, 110), QColor(230, 190, 80)};
    for (int i = 0; i < 3; ++i) {
        p.save();
        p.translate(150, 165);
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

    p.setPen(QColor(255, 255, 255));
    QFont title("Serif", 30, QFont::Bold);
    p.setFont(title);
    p.drawText(QRect(240, 95, 230, 50), Qt::AlignLeft | Qt::AlignVCenter,
               QString::fromStdString(LoadResString(IDS_APP_TITLE)));
    QFont sub("Sans", 11);
    p.setFont(sub);
    p.setPen(QColor(220, 230, 245));
    p.drawText(QRect(242, 145, 230, 60), Qt::AlignLeft | Qt::TextWordWrap,
               "Albums, slide shows and the picture enhancer");
    p.setPen(QColor(200, 210, 230));
    p.setFont(QFont("Sans", 8));
    p.drawText(QRect(242, 260, 230, 20), Qt::AlignLeft,
               QString("%1 \xC2\xB7 version %2")
                   .arg(QString::fromStdString(LoadResString(IDS_COMPANY)), ZOZI_VERSION));
    p.setPen(QPen(QColor(255, 255, 255, 90), 1));
    p.setBrush(Qt::NoBrush);
    p.drawRect(img.rect().adjusted(0, 0, -1, -1));
    return img;
}
