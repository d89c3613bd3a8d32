#pragma once
// The slide show (template 4): each photo revealed with its transition,
// advanced by hand, by the keys of its accelerator table, by the mouse or by
// the 100 ms timer; the floating panel while the view has the focus.

#include "album/ui/CBaseSlideShowView.h"

#include <QObject>
#include <functional>
#include <memory>
#include <vector>

class CDC;
class QEvent;
class QTimer;
class IShowPanel;

// How a screen-saver start asks for its show (set by the application).
struct CScreenSaverStart {
    bool m_bOn = false;
    int m_nTitlesIndex = -1; // digits of the command line; -1: not given
    int m_nRandomOrder = -1;
    int m_nTitles = -1;
};

class CSlideShowView : public CBaseSlideShowView {
    DECLARE_DYNAMIC(CSlideShowView)
public:
    CSlideShowView();
    ~CSlideShowView() override;

    void OnInitialUpdate() override;
    std::string FrameTitle(const std::string& docTitle) const override;

    // Makes i current; its slide appears with its transition shortly.
    void GoToPhoto(int i);
    int GetNextIndex() { return m_state.GetNextIndex(); }
    // A tick of the 100 ms timer (tests drive it directly).
    void OnTimerTick();
    // Reveals a pending new slide now (normally posted after GoToPhoto).
    void ShowNewSlide();
    bool IsPlaying() const { return m_state.m_bPlaying; }
    int GetElapsed() const { return m_state.m_nElapsed; }
    bool IsPanelVisible() const;
    QTimer* GetTimer() const { return m_pTimer; }

    static CScreenSaverStart s_screenSaver;
    // The "Photo Show Help" dialog; tests replace it.
    static std::function<void(QWidget* pParent)> s_runKeyMap;

protected:
    void RenderStill() override;
    bool event(QEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void focusInEvent(QFocusEvent* pEvent) override;
    void focusOutEvent(QFocusEvent* pEvent) override;

private:
    class CHeldInput;
    void RegisterCommands();
    void OnCommandMove(unsigned nCmd);
    void UpdatePanel();
    IShowPanel* Panel(bool bCreate) const;
    void ShowPanel(bool bShow);
    void ApplyCursor();
    void EndScreenSaver();
    void OnPointerAt(const QPoint& pt);
    static unsigned CommandOfKey(int nKey);

    QTimer* m_pTimer = nullptr;
    std::unique_ptr<CDC> m_pOffscreen; // reused between photos of one size
    bool m_bInTransition = false;
    bool m_bShowPosted = false;
    bool m_bFailed = false; // the slide shows the red text
    bool m_bHaveMousePos = false;
    QPoint m_ptFirstMouse;
};

// Adds the slide show's menu to the main frame.
class CMDIFrameWnd;
void AddSlideShowMenu(CMDIFrameWnd* pFrame);
