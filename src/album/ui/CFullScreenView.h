#pragma once
// One photo over the whole screen (template 5); a key or the left button closes it.

#include "album/ui/CBaseSlideShowView.h"

class CFullScreenView : public CBaseSlideShowView {
    DECLARE_DYNAMIC(CFullScreenView)
public:
    void OnInitialUpdate() override;

protected:
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    bool event(QEvent* pEvent) override;

private:
    void CloseFrame();
};
