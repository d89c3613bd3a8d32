#pragma once
// A child frame inside the main frame's MDI area, holding one view.

#include "framework/CCmdTarget.h"

#include <QMdiSubWindow>

class CDocument;
class CView;

class CMDIChildWnd : public QMdiSubWindow, public CCmdTarget {
    DECLARE_DYNAMIC(CMDIChildWnd)
public:
    CMDIChildWnd();
    ~CMDIChildWnd() override;

    // The view, and the widget that holds it (the view itself or a scroll area around it).
    void SetView(CView* pView, QWidget* pHolder = nullptr);
    CView* GetActiveView() const { return m_pView; }
    CDocument* GetActiveDocument() const;
    virtual void OnUpdateFrameTitle();
    // The icon of the minimised frame: a picture scaled into the icon cell, framed.
    void SetPictureIcon(const QImage& picture);
    // Closes the frame without asking the document.
    void DestroyFrame();

protected:
    void closeEvent(QCloseEvent* pEvent) override;

private:
    CView* m_pView = nullptr;
    bool m_bDestroying = false;
};
