#include "view/dialogs/CMeshEditWnd.h"

#include <QMouseEvent>
#include <QPainter>

CMeshEditWnd::CMeshEditWnd(const QImage& copy, QWidget* pParent)
    : QWidget(pParent), m_copy(copy), m_mesh(copy.width(), copy.height()) {
    setObjectName("3302");
    setFixedSize(copy.size());
}

void CMeshEditWnd::SetShowPoints(bool bShow) {
    m_bShowPoints = bShow;
    update();
}

void CMeshEditWnd::mousePressEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    const QPoint p = e->position().toPoint();
    m_mesh.Press(CPoint(p.x(), p.y()));
    update();
}

void CMeshEditWnd::mouseMoveEvent(QMouseEvent* e) {
    if (m_mesh.GetSelected() < 0) return;
    const QPoint p = e->position().toPoint();
    if (m_mesh.Drag(CPoint(p.x(), p.y()))) update();
}

void CMeshEditWnd::mouseReleaseEvent(QMouseEvent* e) {
    if (e->button() != Qt::LeftButton) return;
    m_mesh.Release();
    update();
}

void CMeshEditWnd::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.drawImage(0, 0, m_copy);
    const int w = m_mesh.GetMeshWidth(), h = m_mesh.GetMeshHeight();
    auto at = [this](int i, int j) {
        const CPoint& pt = m_mesh.Point(i, j);
        return QPoint(pt.x, pt.y);
    };
    p.setPen(QPen(Qt::white, 1));
    p.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
    for (int j = 0; j < h; ++j)
        for (int i = 0; i + 1 < w; ++i) p.drawLine(at(i, j), at(i + 1, j));
    for (int i = 0; i < w; ++i)
        for (int j = 0; j + 1 < h; ++j) p.drawLine(at(i, j), at(i, j + 1));
    p.setCompositionMode(QPainter::CompositionMode_SourceOver);
    if (!m_bShowPoints) return;
    p.setPen(Qt::black);
    p.setBrush(Qt::white);
    for (int j = 1; j + 1 < h; ++j)
        for (int i = 1; i + 1 < w; ++i) {
            const CRect rc = CWarpMesh::MarkerRect(m_mesh.Point(i, j));
            p.drawEllipse(QRect(rc.left, rc.top, rc.Width(), rc.Height()));
        }
}
