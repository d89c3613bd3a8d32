#pragma once
// The tone curve's editing window: the grid, the curve and its control
// points, edited with the mouse (press picks or adds a point, Ctrl+press
// deletes one, drag moves it, release ends the edit).

#include "imaging/CToneCurve.h"

#include <QWidget>

class CCurveEditWnd : public QWidget {
    Q_OBJECT
public:
    static constexpr int kSize = 256; // one pixel per level

    explicit CCurveEditWnd(QWidget* pParent = nullptr);

    CToneCurve& Curve() { return m_curve; }
    const CToneCurve& Curve() const { return m_curve; }
    // Window pixels and curve levels (y upwards).
    static QPoint ToClient(int x, int y) { return QPoint(x, kSize - 1 - y); }
    static QPoint ToLogical(const QPoint& pt) { return QPoint(pt.x(), kSize - 1 - pt.y()); }

signals:
    void curveChanged();
    void pointerMoved(int x, int y);

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;

private:
    void Handle(unsigned nEvents);

    CToneCurve m_curve;
};
