#include "view/ToolBarSets.h"

#include "framework/CommandIds.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>

namespace {

constexpr int kSize = 24;
const QColor kInk(50, 60, 80);
const QColor kBlue(40, 90, 160);
const QColor kPaper(252, 250, 242);
const QColor kPhoto(214, 120, 80);
const QColor kGreen(60, 122, 80);

// A small landscape picture: sky, a hill and a sun.
void Photo(QPainter& p, QRectF r) {
    p.setPen(QPen(kInk, 1));
    p.setBrush(QColor(170, 205, 240));
    p.drawRect(r);
    p.setPen(Qt::NoPen);
    p.setBrush(kGreen);
    QPolygonF hill;
    hill << QPointF(r.left() + 0.5, r.bottom())
         << QPointF(r.left() + r.width() * 0.4, r.top() + r.height() * 0.45)
         << QPointF(r.left() + r.width() * 0.7, r.top() + r.height() * 0.7)
         << QPointF(r.right(), r.top() + r.height() * 0.5) << QPointF(r.right(), r.bottom());
    p.drawPolygon(hill);
    p.setBrush(QColor(255, 200, 40));
    p.drawEllipse(QPointF(r.right() - r.width() * 0.25, r.top() + r.height() * 0.28), r.width() * 0.1,
                  r.width() * 0.1);
}

void Arrow(QPainter& p, QPointF c, double r, double from, double span, bool bHeadAtEnd = true) {
    p.setBrush(Qt::NoBrush);
    p.setPen(QPen(kBlue, 2.2, Qt::SolidLine, Qt::RoundCap));
    QRectF box(c.x() - r, c.y() - r, 2 * r, 2 * r);
    p.drawArc(box, static_cast<int>(from * 16), static_cast<int>(span * 16));
    const double a = (bHeadAtEnd ? from + span : from) * M_PI / 180;
    QPointF tip(c.x() + r * std::cos(a), c.y() - r * std::sin(a));
    const double dir = (span > 0) == bHeadAtEnd ? 1 : -1;
    QPointF tangent(-std::sin(a) * dir, -std::cos(a) * dir);
    QPointF normal(tangent.y(), -tangent.x());
    p.setPen(Qt::NoPen);
    p.setBrush(kBlue);
    p.drawPolygon(QPolygonF({tip + tangent * 4, tip - normal * 3.5, tip + normal * 3.5}));
}

void Page(QPainter& p, QRectF r) {
    QPainterPath path;
    path.moveTo(r.topLeft());
    path.lineTo(r.right() - 5, r.top());
    path.lineTo(r.right(), r.top() + 5);
    path.lineTo(r.bottomRight());
    path.lineTo(r.bottomLeft());
    path.closeSubpath();
    p.setPen(QPen(kInk, 1));
    p.setBrush(kPaper);
    p.drawPath(path);
    p.drawLine(QPointF(r.right() - 5, r.top()), QPointF(r.right() - 5, r.top() + 5));
    p.drawLine(QPointF(r.right() - 5, r.top() + 5), QPointF(r.right(), r.top() + 5));
}

void Draw(QPainter& p, unsigned nID) {
    switch (nID) {
    case ID_FILE_NEW:
        Page(p, QRectF(5.5, 2.5, 13, 19));
        p.setPen(QPen(QColor(230, 170, 20), 1.6));
        p.drawLine(QPointF(16, 14), QPointF(16, 22));
        p.drawLine(QPointF(12, 18), QPointF(20, 18));
        break;
    case ID_FILE_OPEN:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(230, 190, 90));
        p.drawRect(QRectF(2.5, 6.5, 17, 13));
        p.setBrush(QColor(250, 215, 120));
        p.drawPolygon(
            QPolygonF({QPointF(5.5, 10.5), QPointF(22.5, 10.5), QPointF(19.5, 19.5), QPointF(2.5, 19.5)}));
        break;
    case ID_FILE_SAVE:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(3.5, 3.5, 17, 17), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(6.5, 3.5, 11, 7));
        p.setBrush(QColor(200, 200, 205));
        p.drawRect(QRectF(7.5, 14.5, 9, 6));
        break;
    case ID_FILE_PRINT:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(7.5, 2.5, 9, 8));
        p.setBrush(QColor(150, 155, 165));
        p.drawRoundedRect(QRectF(2.5, 9.5, 19, 9), 1.5, 1.5);
        p.setBrush(kPaper);
        p.drawRect(QRectF(6.5, 15.5, 11, 6));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(80, 200, 90));
        p.drawEllipse(QPointF(18.5, 12.5), 1, 1);
        break;
    case ID_TN_TEXT: // a caption written under a picture
        Photo(p, QRectF(3.5, 2.5, 17, 11));
        p.setPen(QPen(kInk, 1.4));
        p.drawLine(QPointF(4, 17), QPointF(20, 17));
        p.drawLine(QPointF(4, 20.5), QPointF(14, 20.5));
        break;
    case ID_TN_ADD_IMAGES:
        Photo(p, QRectF(2.5, 4.5, 15, 11));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(40, 150, 60));
        p.drawEllipse(QPointF(17.5, 17.5), 5.5, 5.5);
        p.setPen(QPen(Qt::white, 2));
        p.drawLine(QPointF(17.5, 14.5), QPointF(17.5, 20.5));
        p.drawLine(QPointF(14.5, 17.5), QPointF(20.5, 17.5));
        break;
    case ID_VIEW_ALBUM: // a page of thumbnails
        p.setPen(QPen(kInk, 1));
        p.setBrush(kBlue);
        p.drawRoundedRect(QRectF(2.5, 2.5, 19, 19), 2, 2);
        for (int r = 0; r < 2; ++r)
            for (int c = 0; c < 2; ++c) Photo(p, QRectF(4.5 + c * 8, 4.5 + r * 8, 7, 7));
        break;
    case ID_SHOW_CURRENT: // a screen with a play mark
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(30, 30, 40));
        p.drawRect(QRectF(2.5, 4.5, 19, 14));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(255, 200, 40));
        p.drawPolygon(QPolygonF({QPointF(9, 7.5), QPointF(16, 11.5), QPointF(9, 15.5)}));
        p.setBrush(kInk);
        p.drawRect(QRectF(10, 18.5, 4, 3));
        break;
    case ID_VIEW_FULLSCREEN:
        Photo(p, QRectF(5.5, 6.5, 13, 11));
        p.setPen(QPen(kBlue, 1.8));
        for (QPointF c : {QPointF(2, 2), QPointF(22, 2), QPointF(2, 22), QPointF(22, 22)}) {
            const double sx = c.x() < 12 ? 1 : -1, sy = c.y() < 12 ? 1 : -1;
            p.drawLine(c, c + QPointF(5 * sx, 0));
            p.drawLine(c, c + QPointF(0, 5 * sy));
        }
        break;
    case ID_VIEW_ENHANCER: // a picture with a brush
        Photo(p, QRectF(2.5, 2.5, 15, 13));
        p.setPen(QPen(QColor(120, 70, 30), 2.4, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(21, 9), QPointF(14, 17));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 60));
        p.drawEllipse(QPointF(13, 19), 3, 2.6);
        break;
    case ID_ALBUM_WIZARD: {
        p.setBrush(kBlue);
        p.setPen(Qt::NoPen);
        p.drawRoundedRect(QRectF(3, 4, 15, 17), 2, 2);
        p.setBrush(kPaper);
        p.drawRect(QRectF(6, 7, 9, 7));
        p.setBrush(QColor(255, 200, 40));
        QPolygonF star;
        for (int i = 0; i < 10; ++i) {
            const double r = i % 2 ? 2.5 : 6.0, a = -M_PI / 2 + i * M_PI / 5;
            star << QPointF(18 + r * std::cos(a), 7 + r * std::sin(a));
        }
        p.drawPolygon(star);
        break;
    }
    case ID_HELP_CONTENTS:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(60, 120, 200));
        p.drawEllipse(QRectF(2.5, 2.5, 19, 19));
        p.setPen(Qt::white);
        p.setFont(QFont("Sans", 12, QFont::Bold));
        p.drawText(QRectF(2.5, 2.5, 19, 19), Qt::AlignCenter, "?");
        break;
    case ID_EDIT_UNDO:
        Arrow(p, QPointF(12, 13), 7, 0, 180);
        break;
    case ID_EDIT_REDO:
        Arrow(p, QPointF(12, 13), 7, 180, -180);
        break;
    case ID_EDIT_COPY:
        Page(p, QRectF(3.5, 2.5, 11, 14));
        Page(p, QRectF(9.5, 7.5, 11, 14));
        break;
    case ID_EDIT_PASTE:
        p.setPen(QPen(kInk, 1));
        p.setBrush(QColor(180, 130, 70));
        p.drawRoundedRect(QRectF(3.5, 4.5, 14, 17), 1.5, 1.5);
        p.setBrush(QColor(190, 190, 200));
        p.drawRect(QRectF(7.5, 2.5, 6, 4));
        Page(p, QRectF(10.5, 9.5, 10, 12));
        break;
    case ID_ROTATE_CCW:
        Photo(p, QRectF(7.5, 9.5, 12, 10));
        Arrow(p, QPointF(9, 10), 6, 0, 150);
        break;
    case ID_ROTATE_CW:
        Photo(p, QRectF(4.5, 9.5, 12, 10));
        Arrow(p, QPointF(15, 10), 6, 180, -150);
        break;
    case ID_SCALE_IMAGE:
        Photo(p, QRectF(2.5, 10.5, 10, 10));
        p.setPen(QPen(kInk, 1, Qt::DashLine));
        p.setBrush(Qt::NoBrush);
        p.drawRect(QRectF(2.5, 3.5, 18, 17));
        p.setPen(QPen(kBlue, 1.8));
        p.drawLine(QPointF(13, 10), QPointF(19, 5));
        p.drawLine(QPointF(19, 5), QPointF(15, 5));
        p.drawLine(QPointF(19, 5), QPointF(19, 9));
        break;
    case ID_ZOOM_TOOL:
        p.setPen(QPen(kInk, 1.6));
        p.setBrush(QColor(220, 235, 250));
        p.drawEllipse(QPointF(10, 10), 6.5, 6.5);
        p.setPen(QPen(QColor(120, 70, 30), 3.2, Qt::SolidLine, Qt::RoundCap));
        p.drawLine(QPointF(15, 15), QPointF(21, 21));
        p.setPen(QPen(kInk, 1.4));
        p.drawLine(QPointF(7, 10), QPointF(13, 10));
        p.drawLine(QPointF(10, 7), QPointF(10, 13));
        break;
    case ID_CROP_TOOL:
        p.setPen(QPen(kInk, 2.2));
        p.drawLine(QPointF(6, 2), QPointF(6, 18));
        p.drawLine(QPointF(6, 18), QPointF(22, 18));
        p.drawLine(QPointF(2, 6), QPointF(18, 6));
        p.drawLine(QPointF(18, 6), QPointF(18, 22));
        break;
    default:
        p.setPen(QPen(kInk, 1));
        p.setBrush(kPaper);
        p.drawRect(QRectF(4.5, 4.5, 15, 15));
        break;
    }
}

} // namespace

const std::vector<unsigned>& ToolBarButtons(int nSet) {
    static const std::vector<unsigned> kAlbum = {ID_FILE_NEW,
                                                 ID_FILE_OPEN,
                                                 ID_FILE_SAVE,
                                                 0,
                                                 ID_FILE_PRINT,
                                                 0,
                                                 ID_TN_TEXT,
                                                 0,
                                                 ID_TN_ADD_IMAGES,
                                                 0,
                                                 ID_VIEW_ALBUM,
                                                 ID_SHOW_CURRENT,
                                                 ID_VIEW_FULLSCREEN,
                                                 ID_VIEW_ENHANCER,
                                                 0,
                                                 ID_ALBUM_WIZARD,
                                                 ID_HELP_CONTENTS};
    static const std::vector<unsigned> kEnhancer = {ID_FILE_NEW,
                                                    ID_FILE_OPEN,
                                                    ID_FILE_SAVE,
                                                    0,
                                                    ID_FILE_PRINT,
                                                    0,
                                                    ID_EDIT_UNDO,
                                                    ID_EDIT_REDO,
                                                    0,
                                                    ID_EDIT_COPY,
                                                    ID_EDIT_PASTE,
                                                    0,
                                                    ID_ROTATE_CCW,
                                                    ID_ROTATE_CW,
                                                    ID_SCALE_IMAGE,
                                                    0,
                                                    ID_VIEW_FULLSCREEN,
                                                    0,
                                                    ID_ZOOM_TOOL,
                                                    ID_CROP_TOOL,
                                                    0,
                                                    ID_ALBUM_WIZARD,
                                                    ID_HELP_CONTENTS};
    static const std::vector<unsigned> kNone;
    return nSet == kToolBarSetAlbum ? kAlbum : nSet == kToolBarSetEnhancer ? kEnhancer : kNone;
}

QIcon ToolBarIcon(unsigned nID) {
    QIcon icon;
    for (int scale : {1, 2}) {
        QPixmap pm(kSize * scale, kSize * scale);
        pm.fill(Qt::transparent);
        QPainter p(&pm);
        p.setRenderHint(QPainter::Antialiasing);
        p.scale(scale, scale);
        Draw(p, nID);
        p.end();
        icon.addPixmap(pm);
    }
    return icon;
}

std::string ToolBarTip(unsigned nID) {
    switch (nID) {
    case ID_FILE_NEW:
        return "Create a new document";
    case ID_FILE_OPEN:
        return "Open an existing document";
    case ID_FILE_SAVE:
        return "Save the active document";
    case ID_FILE_PRINT:
        return "Print the active document";
    case ID_TN_TEXT:
        return "Edit the caption and description of the photos";
    case ID_TN_ADD_IMAGES:
        return "Add pictures to the album";
    case ID_VIEW_ALBUM:
        return "Show the album's thumbnails";
    case ID_SHOW_CURRENT:
        return "Play a slide show from the current photo";
    case ID_VIEW_FULLSCREEN:
        return "Show the photo on the whole screen";
    case ID_VIEW_ENHANCER:
        return "Open the photo in the image enhancer";
    case ID_ALBUM_WIZARD:
        return "Make or open an album with the album wizard";
    case ID_HELP_CONTENTS:
        return "Show the help contents";
    case ID_EDIT_UNDO:
        return "Undo the last change";
    case ID_EDIT_REDO:
        return "Redo the change undone";
    case ID_EDIT_COPY:
        return "Copy the picture to the clipboard";
    case ID_EDIT_PASTE:
        return "Paste a picture from the clipboard";
    case ID_ROTATE_CCW:
        return "Rotate 90 degrees counter-clockwise";
    case ID_ROTATE_CW:
        return "Rotate 90 degrees clockwise";
    case ID_SCALE_IMAGE:
        return "Scale the picture";
    case ID_ZOOM_TOOL:
        return "Zoom";
    case ID_CROP_TOOL:
        return "Crop";
    default:
        return {};
    }
}
