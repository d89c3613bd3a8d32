#pragma once
// The warp mesh drawn over the small copy of the picture; the inner points
// are picked and dragged with the mouse. Window pixels are the copy's pixels.

#include "imaging/CWarpMesh.h"

#include <QImage>
#include <QWidget>

class CMeshEditWnd : public QWidget {
    Q_OBJECT
public:
    CMeshEditWnd(const QImage& copy, QWidget* pParent = nullptr);

    CWarpMesh& Mesh() { return m_mesh; }
    const CWarpMesh& Mesh() const { return m_mesh; }
    void SetShowPoints(bool bShow);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    QImage m_copy;
    CWarpMesh m_mesh;
    bool m_bShowPoints = true;
};
