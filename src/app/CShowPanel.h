#pragma once
// The floating slide-show control panel: fourteen buttons in one row under a
// drag strip. It never takes the activation, and its position is kept in
// the settings whenever it moves.

#include "view/IShowPanel.h"

#include <QWidget>
#include <vector>

struct CZelSettings;
class CMDIFrameWnd;

class CShowPanel : public QWidget, public IShowPanel {
public:
    static constexpr unsigned kButtons[14] = {2110, 2103, 2104, 2101, 2099, 2100, 2102,
                                              2106, 2108, 2113, 2111, 2107, 2130, 2112};
    static constexpr int kButtonsPerRow = 14;
    static constexpr int kButtonSize = 24; // square buttons
    static constexpr int kStrip = 8;       // the drag strip above the buttons
    static constexpr int kBorder = 1;

    CShowPanel(CMDIFrameWnd* pOwner, CZelSettings* pSettings);

    // The button under a point of the window (row * per row + column), or -1.
    int HitTest(QPoint pt) const;
    static QSize PanelSize();
    QWidget* PanelWidget() override { return this; }
    void UpdateButtons(const std::function<void(CCmdUI&)>& update) override;
    bool IsButtonEnabled(int index) const { return m_enabled[index]; }
    bool IsButtonChecked(int index) const { return m_checked[index]; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent*) override;
    void mouseMoveEvent(QMouseEvent*) override;
    void mouseReleaseEvent(QMouseEvent*) override;
    void moveEvent(QMoveEvent*) override;

private:
    QRect ButtonRect(int index) const;
    void DrawGlyph(QPainter& p, const QRect& r, unsigned nID) const;

    CMDIFrameWnd* m_pOwner;
    CZelSettings* m_pSettings;
    bool m_bDragging = false;
    QPoint m_ptGrab;
    int m_nPressed = -1;
    bool m_enabled[std::size(kButtons)] = {true, true, true, true, true, true, true,
                                           true, true, true, true, true, true, true};
    bool m_checked[std::size(kButtons)] = {};
};
