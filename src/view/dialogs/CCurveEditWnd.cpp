#include "view/dialogs/CCurveEditWnd.h"

#include <QMouseEvent>
#include <QPainter>

CCurveEditWnd::CCurveEditWnd(QWidget* pParent) : QWidget(pParent) {
    setObjectName("3281");
    setFixedSize(kSize, kSize);
    setMouseTracking(true);
}

void CCurveEditWnd::Handle(unsigned nEvents) {
    if (nEvents & CToneCurve::evRepaint) update();
    if (nEvents & CToneCurve::evCapture) setCursor(Qt::SizeAllCursor);
    if (nEvents & CToneCurve::evReleaseCapt) unsetCursor();
    if (nEvents & CToneCurve::evChanged) emit curveChanged();
}

void CCurveEditWnd::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint pt = ToLogical(e->position().toPoint());
    Handle(m_curve.Press(pt.x(), pt.y(), e->modifiers() & Qt::ControlModifier));
}

void CCurveEditWnd::mouseMoveEvent(QMouseEvent* e) {
    const QPoint pt = ToLogical(e->position().toPoint());
    if (m_curve.IsCaptured()) Handle(m_curve.Drag(pt.x(), pt.y()));
    emit pointerMoved(std::clamp(pt.x(), 0, 255), std::clamp(pt.y(), 0, 255));
}

void CCurveEditWnd::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint pt = ToLogical(e->position().toPoint());
    Handle(m_curve.Release(pt.x(), pt.y()));
}

void CCurveEditWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::white);
    QPen grid(QColor(192, 192, 192));
    grid.setStyle(Qt::DotLine);
    p.setPen(grid);
    for (int i = 1; i < 8; ++i) {
        const int v = CToneCurve::kIdentityGrid[i].x;
        p.drawLine(ToClient(v, 0), ToClient(v, 255));
        p.drawLine(ToClient(0, v), ToClient(255, v));
    }
    // The curve: flat up to the first sample, the samples, flat after the last.
    const std::vector<CPoint>& line = m_curve.GetPolyline();
    p.setPen(Qt::black);
    if (!line.empty()) {
        QPolygon poly;
        poly << ToClient(0, line.front().y);
        for (const CPoint& pt : line) poly << ToClient(pt.x, pt.y);
        poly << ToClient(255, line.back().y);
        p.drawPolyline(poly);
    }
    for (const CPoint& pt : m_curve.GetPoints()) {
        const QPoint c = ToClient(pt.x, pt.y);
        p.fillRect(c.x() - 2, c.y() - 2, 4, 4, Qt::black);
    }
}
