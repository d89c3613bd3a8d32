#pragma once
// The base of the slide show and full-screen views: the photo centred on
// black, the title under it in a shadowed font, the view's own copy of the
// album's show settings, and the frame put into full screen and back.

#include "view/CBaseView.h"
#include "view/core/CSlideShowState.h"

#include <QFont>
#include <QImage>
#include <memory>

class CAlbumDoc;
class CDib;
class QPainter;

class CBaseSlideShowView : public CBaseView {
    DECLARE_DYNAMIC(CBaseSlideShowView)
public:
    CBaseSlideShowView();
    ~CBaseSlideShowView() override;

    CAlbumDoc* GetDocument() const;
    bool IsShowView() const override { return true; }

    void OnInitialUpdate() override;
    void OnDraw(CDC* pDC) override;
    // The current photo's pixels from the album; false when there is none
    // or it cannot be read.
    int LoadCurrentImage() override;
    void ReleaseImage(int nIndex) override;
    void SetCurrentIndex(int nIndex) override;

    CSlideShowState& GetState() { return m_state; }
    const CShowProps& GetShowProps() const { return m_state.m_showProps; }
    const QFont& GetTitleFont() const { return m_titleFont; }
    int GetBandHeight() const { return m_nBandHeight; }
    CDib* GetCurrentDib() const { return m_pDib.get(); }
    // What the window shows (the back buffer every paint copies).
    const QImage& GetBackBuffer() const { return m_back; }

    // Puts this view's frame (and the main window) into full screen or back.
    void SetFullScreen(bool bOn);
    bool IsFullScreen() const { return s_pFullScreenOwner == this; }

protected:
    void paintEvent(QPaintEvent* pEvent) override;
    void resizeEvent(QResizeEvent* pEvent) override;
    // The whole still picture into the back buffer: black, photo, title.
    virtual void RenderStill();
    void EnsureBackBuffer();
    void DrawTitle(QPainter& p, const QRect& rcTitle);
    // The red text of a slide that cannot be shown.
    void DrawFailure(QPainter& p);
    QRect ImageRect(QRect* pTitle = nullptr) const;

    CSlideShowState m_state; // also the view's own CShowProps
    std::unique_ptr<CDib> m_pDib;
    int m_nLoaded = -1; // the photo m_pDib holds
    QImage m_back;
    QFont m_titleFont;
    int m_nBandHeight = 0;

private:
    static CBaseSlideShowView* s_pFullScreenOwner;
    struct CSavedFrame;
    static std::unique_ptr<CSavedFrame> s_pSaved;
};
