#pragma once
// A view: a window that shows (part of) a document and draws through a CDC.

#include "framework/CCmdTarget.h"
#include "framework/CRect.h"

#include <QWidget>
#include <string>

class CDC;
class CDocument;
class CMDIChildWnd;

class CView : public QWidget, public CCmdTarget {
    DECLARE_DYNAMIC(CView)
public:
    explicit CView(QWidget* pParent = nullptr);
    ~CView() override;

    CDocument* GetDocument() const { return m_pDocument; }
    CMDIChildWnd* GetParentFrame() const;

    virtual void OnInitialUpdate() { OnUpdate(nullptr, 0, nullptr); }
    virtual void OnUpdate(CView* pSender, long lHint, CObject* pHint);
    virtual void OnDraw(CDC* pDC) = 0;
    // The widget the frame holds: the view itself, or a scroll area around it.
    virtual QWidget* CreateHolder() { return this; }
    // The title its frame shows for the document's title.
    virtual std::string FrameTitle(const std::string& docTitle) const { return docTitle; }
    // The part of the view being painted.
    CRect GetClipBox() const { return m_rcClip; }

    // The frame of this view became active (bActivate) or another one did.
    virtual void OnActivateView(bool bActivate, CView* pActivateView, CView* pDeactiveView);

protected:
    void paintEvent(QPaintEvent* pEvent) override;

private:
    friend class CDocument;
    CDocument* m_pDocument = nullptr;
    CRect m_rcClip;
};
