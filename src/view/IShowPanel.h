#pragma once
// What a slide show asks of the floating panel and of the window that owns it.

#include <functional>

class CCmdUI;
class QWidget;

class IShowPanel {
public:
    virtual ~IShowPanel() = default;
    virtual QWidget* PanelWidget() = 0;
    // The buttons take the enable and check states the update rule gives.
    virtual void UpdateButtons(const std::function<void(CCmdUI&)>& update) = 0;
};

class IShowPanelHost {
public:
    virtual ~IShowPanelHost() = default;
    // The panel, created on the first request when bCreate.
    virtual IShowPanel* GetSlideShowPanel(bool bCreate) = 0;
};
