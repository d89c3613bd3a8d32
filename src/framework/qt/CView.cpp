#include "framework/qt/CView.h"

#include "framework/ReportException.h"
#include "framework/qt/CDocument.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CQtDC.h"

#include <QPaintEvent>
#include <QPainter>

IMPLEMENT_DYNAMIC(CView, CCmdTarget)

CView::CView(QWidget* pParent) : QWidget(pParent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setFocusPolicy(Qt::StrongFocus);
}

CView::~CView() {
    if (m_pDocument) m_pDocument->RemoveView(this);
}

CMDIChildWnd* CView::GetParentFrame() const {
    for (QWidget* w = parentWidget(); w; w = w->parentWidget())
        if (auto* f = dynamic_cast<CMDIChildWnd*>(w)) return f;
    return nullptr;
}

void CView::OnUpdate(CView*, long, CObject*) {
    update();
}

void CView::OnActivateView(bool, CView*, CView*) {}

void CView::paintEvent(QPaintEvent* pEvent) {
    const QRect r = pEvent->rect();
    m_rcClip = CRect(r.left(), r.top(), r.right() + 1, r.bottom() + 1);
    QPainter painter(this);
    CQtDC dc(&painter);
    try {
        OnDraw(&dc);
    } catch (...) {
        // The last-chance rule for painting: nothing is reported, and the
        // paint event is over, so it is not retried in a loop.
        ProcessWndProcException(std::current_exception(), WM_PAINT, false);
    }
}
