#include "framework/qt/CMDIChildWnd.h"

#include "framework/qt/CDocument.h"
#include "framework/qt/CView.h"

#include <QApplication>
#include <QCloseEvent>
#include <QIcon>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QStyle>

IMPLEMENT_DYNAMIC(CMDIChildWnd, CCmdTarget)

CMDIChildWnd::CMDIChildWnd() {
    setAttribute(Qt::WA_DeleteOnClose);
}

CMDIChildWnd::~CMDIChildWnd() = default;

void CMDIChildWnd::SetView(CView* pView, QWidget* pHolder) {
    m_pView = pView;
    setWidget(pHolder ? pHolder : pView);
    OnUpdateFrameTitle();
}

CDocument* CMDIChildWnd::GetActiveDocument() const {
    return m_pView ? m_pView->GetDocument() : nullptr;
}

void CMDIChildWnd::OnUpdateFrameTitle() {
    CDocument* pDoc = GetActiveDocument();
    if (!pDoc) return;
    // A document shown in several frames numbers them: "name:1", "name:2".
    const auto& views = pDoc->GetViews();
    std::string title = m_pView ? m_pView->FrameTitle(pDoc->GetTitle()) : pDoc->GetTitle();
    if (views.size() > 1) {
        for (size_t i = 0; i < views.size(); ++i)
            if (views[i] == m_pView) {
                title += ':';
                title += std::to_string(i + 1);
            }
    }
    setWindowTitle(QString::fromStdString(title));
}

void CMDIChildWnd::DestroyFrame() {
    m_bDestroying = true;
    close();
}

void CMDIChildWnd::closeEvent(QCloseEvent* pEvent) {
    CDocument* pDoc = GetActiveDocument();
    if (!m_bDestroying && pDoc && !pDoc->CanCloseFrame(this)) {
        pEvent->ignore();
        return;
    }
    QMdiSubWindow::closeEvent(pEvent);
    if (!pEvent->isAccepted()) return;
    if (pDoc && m_pView) {
        pDoc->RemoveView(m_pView);
        // The last view gone: the document goes too (unless it is closing itself).
        if (pDoc->GetViews().empty() && !m_bDestroying)
            pDoc->OnCloseDocument();
        else
            for (CView* v : pDoc->GetViews())
                if (CMDIChildWnd* f = v->GetParentFrame()) f->OnUpdateFrameTitle();
    }
}

void CMDIChildWnd::SetPictureIcon(const QImage& picture) {
    const int n = QApplication::style()->pixelMetric(QStyle::PM_SmallIconSize) * 2;
    QPixmap icon(n, n);
    icon.fill(Qt::transparent);
    if (!picture.isNull()) {
        QImage scaled = picture.scaled(n - 2, n - 2, Qt::KeepAspectRatio, Qt::SmoothTransformation);
        QPainter p(&icon);
        QRect r((n - scaled.width()) / 2, (n - scaled.height()) / 2, scaled.width(), scaled.height());
        p.drawImage(r, scaled);
        p.setPen(Qt::black);
        p.drawRect(r.adjusted(-1, -1, 0, 0));
    }
    setWindowIcon(QIcon(icon));
}
