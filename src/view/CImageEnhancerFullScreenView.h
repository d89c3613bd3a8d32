#pragma once
// The picture on the whole screen: fitted to it with its proportions, on
// black; a key or a left click closes it.

#include "view/CImageEnhancerView.h"

#include <QPointer>
#include <functional>

class CImageEnhancerFullScreenView : public CImageEnhancerView {
    DECLARE_DYNAMIC(CImageEnhancerFullScreenView)
public:
    CImageEnhancerFullScreenView();

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, long lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    QWidget* CreateHolder() override { return this; }
    bool IsShowView() const override { return true; }
    // The largest rectangle of the picture's proportions inside the client, centred.
    static CRect FitRect(int nWidth, int nHeight, int nClientWidth, int nClientHeight);

    // Puts a frame's view on the whole screen; the program sets it.
    static std::function<void(CMDIChildWnd*)> s_enterFullScreen;

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;

private:
    void Close();
    QPointer<CMDIChildWnd> m_pFrame;
};
