#include "app/CShowPanel.h"

#include "app/core/CZelSettings.h"
#include "framework/CCmdTarget.h"
#include "framework/qt/CMDIFrameWnd.h"

#include <QMouseEvent>
#include <QPainter>
#include <QPalette>

namespace {
const char* TipOf(unsigned nID) {
    switch (nID) {
    case 2110:
        return "Exit";
    case 2103:
        return "Play";
    case 2104:
        return "Stop";
    case 2101:
        return "Go to First";
    case 2099:
        return "Go to Previous";
    case 2100:
        return "Go to Next";
    case 2102:
        return "Go to Last";
    case 2106:
        return "Show Titles";
    case 2108:
        return "Repeat";
    case 2113:
        return "Shuffle";
    case 2111:
        return "Show Cursor";
    case 2107:
        return "Show Panel";
    case 2130:
        return "Quit";
    case 2112:
        return "Key Map";
    default:
        return "";
    }
}
} // namespace

CShowPanel::CShowPanel(CMDIFrameWnd* pOwner, CZelSettings* pSettings)
    : QWidget(pOwner, Qt::Tool | Qt::FramelessWindowHint | Qt::WindowDoesNotAcceptFocus), m_pOwner(pOwner),
      m_pSettings(pSettings) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    setFixedSize(PanelSize());
    setMouseTracking(true);
    if (m_pSettings) move(m_pSettings->m_nPanelLeft, m_pSettings->m_nPanelTop);
}

QSize CShowPanel::PanelSize() {
    const int rows = (std::size(kButtons) + kButtonsPerRow - 1) / kButtonsPerRow;
    // Adjacent buttons share their edge pixel.
    return QSize((kButtonSize - 1) * kButtonsPerRow + 2 * kBorder + 1,
                 rows * (kButtonSize - 1) + kStrip + 2 * kBorder + 1);
}

QRect CShowPanel::ButtonRect(int index) const {
    int row = index / kButtonsPerRow, col = index % kButtonsPerRow;
    return QRect(kBorder + col * (kButtonSize - 1), kBorder + kStrip + row * (kButtonSize - 1), kButtonSize,
                 kButtonSize);
}

int CShowPanel::HitTest(QPoint pt) const {
    int x = pt.x() - kBorder, y = pt.y() - kBorder - kStrip;
    if (x < 0 || y < 0) return -1;
    int col = x / (kButtonSize - 1), row = y / (kButtonSize - 1);
    if (col >= kButtonsPerRow) return -1;
    int index = row * kButtonsPerRow + col;
    return index < static_cast<int>(std::size(kButtons)) ? index : -1;
}

void CShowPanel::UpdateButtons(const std::function<void(CCmdUI&)>& update) {
    bool bChanged = false;
    for (size_t i = 0; i < std::size(kButtons); ++i) {
        CCmdUI ui(kButtons[i]);
        update(ui);
        const bool bChecked = ui.m_nCheck != 0;
        bChanged |= m_enabled[i] != ui.m_bEnabled || m_checked[i] != bChecked;
        m_enabled[i] = ui.m_bEnabled;
        m_checked[i] = bChecked;
    }
    if (bChanged) QWidget::update();
}

void CShowPanel::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QPalette& pal = palette();
    p.fillRect(rect(), pal.color(QPalette::Button));
    p.fillRect(QRect(kBorder, kBorder, width() - 2 * kBorder, kStrip), pal.color(QPalette::Highlight));
    for (int i = 0; i < static_cast<int>(std::size(kButtons)); ++i) {
        QRect r = ButtonRect(i);
        bool bDown = i == m_nPressed || m_checked[i];
        p.setPen(pal.color(bDown ? QPalette::Dark : QPalette::Light));
        p.drawLine(r.topLeft(), r.topRight());
        p.drawLine(r.topLeft(), r.bottomLeft());
        p.setPen(pal.color(bDown ? QPalette::Light : QPalette::Dark));
        p.drawLine(r.bottomLeft(), r.bottomRight());
        p.drawLine(r.topRight(), r.bottomRight());
        p.setOpacity(m_enabled[i] ? 1.0 : 0.35);
        DrawGlyph(p, r.adjusted(5, 5, -5, -5).translated(bDown ? 1 : 0, bDown ? 1 : 0), kButtons[i]);
        p.setOpacity(1.0);
    }
    p.setPen(pal.color(QPalette::WindowText));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void CShowPanel::DrawGlyph(QPainter& p, const QRect& r, unsigned nID) const {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(Qt::NoPen);
    p.setBrush(palette().color(QPalette::ButtonText));
    auto tri = [&](bool bRight, QRect b) {
        QPolygon t;
        if (bRight)
            t << b.topLeft() << QPoint(b.right(), b.center().y()) << b.bottomLeft();
        else
            t << b.topRight() << QPoint(b.left(), b.center().y()) << b.bottomRight();
        p.drawPolygon(t);
    };
    switch (nID) {
    case 2103:
        tri(true, r);
        break;
    case 2104:
        p.drawRect(r);
        break;
    case 2099:
        tri(false, r);
        break;
    case 2100:
        tri(true, r);
        break;
    case 2101:
        p.drawRect(QRect(r.left(), r.top(), 2, r.height()));
        tri(false, r.adjusted(3, 0, 0, 0));
        break;
    case 2102:
        p.drawRect(QRect(r.right() - 1, r.top(), 2, r.height()));
        tri(true, r.adjusted(0, 0, -3, 0));
        break;
    default:
        p.setPen(palette().color(QPalette::ButtonText));
        p.setFont(QFont("Sans", 7, QFont::Bold));
        p.drawText(r.adjusted(-4, -4, 4, 4), Qt::AlignCenter, QString(TipOf(nID)).left(1));
    }
    p.restore();
}

void CShowPanel::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    if (e->position().y() < kBorder + kStrip) {
        m_bDragging = true;
        m_ptGrab = e->position().toPoint();
        grabMouse();
        return;
    }
    m_nPressed = HitTest(e->position().toPoint());
    if (m_nPressed >= 0 && !m_enabled[m_nPressed]) m_nPressed = -1;
    update();
}

void CShowPanel::mouseMoveEvent(QMouseEvent* e) {
    if (m_bDragging) {
        move(e->globalPosition().toPoint() - m_ptGrab);
        return;
    }
    int i = HitTest(e->position().toPoint());
    setToolTip(i >= 0 ? TipOf(kButtons[i]) : QString());
}

void CShowPanel::mouseReleaseEvent(QMouseEvent* e) {
    if (m_bDragging) {
        m_bDragging = false;
        releaseMouse();
        return;
    }
    int i = HitTest(e->position().toPoint());
    bool bClick = i >= 0 && i == m_nPressed;
    m_nPressed = -1;
    update();
    if (bClick && m_pOwner) m_pOwner->RouteCommand(kButtons[i]);
}

void CShowPanel::moveEvent(QMoveEvent*) {
    if (m_pSettings) {
        m_pSettings->m_nPanelLeft = x();
        m_pSettings->m_nPanelTop = y();
    }
}
