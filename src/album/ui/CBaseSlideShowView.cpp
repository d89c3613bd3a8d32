#include "album/ui/CBaseSlideShowView.h"

#include "album/AlbumPhotos.h"
#include "album/ui/CAlbumDoc.h"
#include "framework/CException.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CQtDC.h"
#include "imaging/CDib.h"
#include "view/core/CShowLayout.h"

#include <QMainWindow>
#include <QMdiArea>
#include <QMenuBar>
#include <QPaintEvent>
#include <QPainter>
#include <QPointer>
#include <QScreen>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>

IMPLEMENT_DYNAMIC(CBaseSlideShowView, CBaseView)

CBaseSlideShowView* CBaseSlideShowView::s_pFullScreenOwner = nullptr;

// What full screen hid, to be shown again.
struct CBaseSlideShowView::CSavedFrame {
    QPointer<QMainWindow> pMain;
    Qt::WindowStates mainState;
    Qt::WindowStates frameState;
    std::vector<QPointer<QWidget>> hidden;
};
std::unique_ptr<CBaseSlideShowView::CSavedFrame> CBaseSlideShowView::s_pSaved;

namespace {
inline QRect ToQRect(const CRect& r) {
    return QRect(r.left, r.top, r.Width(), r.Height());
}
} // namespace

CBaseSlideShowView::CBaseSlideShowView() {
    setAttribute(Qt::WA_OpaquePaintEvent);
    // Arial, 32 pixels, variable pitch, Swiss family.
    m_titleFont = QFont("Arial");
    m_titleFont.setPixelSize(32);
    m_titleFont.setStyleHint(QFont::SansSerif);
    const QFontMetrics fm(m_titleFont);
    m_nBandHeight = CShowLayout::GetBandHeight(fm.leading() > 0 ? fm.leading() : 0, fm.height());
    m_state.SetRandom([] { return static_cast<unsigned>(std::rand()); });
}

CBaseSlideShowView::~CBaseSlideShowView() {
    if (IsFullScreen()) SetFullScreen(false);
}

CAlbumDoc* CBaseSlideShowView::GetDocument() const {
    return dynamic_cast<CAlbumDoc*>(CView::GetDocument());
}

void CBaseSlideShowView::OnInitialUpdate() {
    CAlbumDoc* pDoc = GetDocument();
    if (!pDoc) AfxThrowResourceException();
    m_nCurrentIndex = pDoc->GetCurrentPhoto();
    if (m_nCurrentIndex >= pDoc->GetPhotoCount()) m_nCurrentIndex = -1;
    m_state.SetCount(pDoc->GetPhotoCount());
}

void CBaseSlideShowView::SetCurrentIndex(int nIndex) {
    CBaseView::SetCurrentIndex(nIndex);
}

int CBaseSlideShowView::LoadCurrentImage() {
    CAlbumDoc* pDoc = GetDocument();
    const int i = GetCurrentIndex();
    if (!pDoc || i < 0 || i >= pDoc->GetPhotoCount()) return 0;
    if (m_pDib && m_nLoaded == i) return 1;
    m_pDib.reset();
    m_nLoaded = -1;
    try {
        m_pDib = LoadPhotoImage(pDoc->GetAlbum().GetPath(i));
    } catch (const CException&) {
        return 0;
    } catch (const std::bad_alloc&) {
        return 0;
    }
    if (!m_pDib) return 0;
    m_nLoaded = i;
    return 1;
}

void CBaseSlideShowView::ReleaseImage(int nIndex) {
    if (nIndex == m_nLoaded) {
        m_pDib.reset();
        m_nLoaded = -1;
    }
}

QRect CBaseSlideShowView::ImageRect(QRect* pTitle) const {
    const int w = m_pDib ? m_pDib->GetWidth() : 0, h = m_pDib ? m_pDib->GetHeight() : 0;
    const CSlideLayout l = CShowLayout::GetLayout(CRect(0, 0, width(), height()), w, h,
                                                  m_state.m_showProps.m_bTitles != 0, m_nBandHeight);
    if (pTitle) *pTitle = ToQRect(l.m_rcTitle);
    return ToQRect(l.m_rcImage);
}

void CBaseSlideShowView::EnsureBackBuffer() {
    if (m_back.size() != size() && width() > 0 && height() > 0) {
        m_back = QImage(size(), QImage::Format_RGB32);
        m_back.fill(Qt::black);
        RenderStill();
    }
}

void CBaseSlideShowView::RenderStill() {
    if (m_back.isNull()) return;
    QPainter p(&m_back);
    p.fillRect(m_back.rect(), Qt::black);
    if (!LoadCurrentImage()) {
        DrawFailure(p);
        return;
    }
    QRect rcTitle;
    const QRect rcImage = ImageRect(&rcTitle);
    CQtDC dc(&p);
    try {
        m_pDib->Draw(dc, rcImage.left(), rcImage.top());
    } catch (const CException&) {
    }
    DrawTitle(p, rcTitle);
}

void CBaseSlideShowView::DrawTitle(QPainter& p, const QRect& rcTitle) {
    if (!m_state.m_showProps.m_bTitles || rcTitle.isEmpty()) return;
    CAlbumDoc* pDoc = GetDocument();
    const int i = GetCurrentIndex();
    if (!pDoc || i < 0 || i >= pDoc->GetPhotoCount()) return;
    const QString text = QString::fromStdString(CShowLayout::GetTitleText(
        pDoc->GetAlbum().GetPhotoTitle(i), i, m_state.m_showProps.m_bTitlesIndex != 0));
    p.save();
    p.setFont(m_titleFont);
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextExpandTabs;
    p.setPen(Qt::black);
    p.drawText(rcTitle.translated(CShowLayout::kShadowOffset, CShowLayout::kShadowOffset), flags, text);
    p.setPen(QColor(255, 255, 255));
    p.drawText(rcTitle, flags, text);
    p.restore();
}

void CBaseSlideShowView::DrawFailure(QPainter& p) {
    p.save();
    p.fillRect(QRect(0, 0, width(), height()), Qt::black);
    p.setFont(m_titleFont);
    p.setPen(QColor(255, 0, 0));
    const QRect r = ToQRect(CShowLayout::GetFailureRect(CRect(0, 0, width(), height())));
    const int i = GetDocument() && GetDocument()->GetPhotoCount() > 0 ? GetCurrentIndex() : -1;
    p.drawText(r, Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap,
               QString::fromStdString(CShowLayout::GetFailureText(i)));
    p.restore();
}

void CBaseSlideShowView::OnDraw(CDC*) {}

void CBaseSlideShowView::paintEvent(QPaintEvent* pEvent) {
    EnsureBackBuffer();
    QPainter p(this);
    if (m_back.isNull())
        p.fillRect(pEvent->rect(), Qt::black);
    else
        p.drawImage(pEvent->rect(), m_back, pEvent->rect());
}

void CBaseSlideShowView::resizeEvent(QResizeEvent* pEvent) {
    CBaseView::resizeEvent(pEvent);
    m_back = QImage();
}

void CBaseSlideShowView::SetFullScreen(bool bOn) {
    if (!bOn) {
        // Also from the destructor, when the frame is already going.
        if (!IsFullScreen()) return;
        s_pFullScreenOwner = nullptr;
        std::unique_ptr<CSavedFrame> pSaved = std::move(s_pSaved);
        if (CMDIChildWnd* pFrame = GetParentFrame()) {
            pFrame->setWindowFlag(Qt::FramelessWindowHint, false);
            if (pSaved) pFrame->setWindowState(pSaved->frameState & ~Qt::WindowFullScreen);
            pFrame->show();
        }
        if (pSaved) {
            for (const QPointer<QWidget>& w : pSaved->hidden)
                if (w) w->show();
            if (pSaved->pMain) pSaved->pMain->setWindowState(pSaved->mainState);
        }
        return;
    }
    CMDIChildWnd* pFrame = GetParentFrame();
    if (!pFrame || IsFullScreen()) return;
    if (s_pFullScreenOwner) s_pFullScreenOwner->SetFullScreen(false);
    auto* pMain = qobject_cast<QMainWindow*>(pFrame->window());
    s_pSaved = std::make_unique<CSavedFrame>();
    s_pSaved->frameState = pFrame->windowState();
    if (pMain) {
        s_pSaved->pMain = pMain;
        s_pSaved->mainState = pMain->windowState();
        std::vector<QWidget*> bars;
        if (pMain->menuWidget()) bars.push_back(pMain->menuWidget());
        for (QToolBar* t : pMain->findChildren<QToolBar*>()) bars.push_back(t);
        if (QStatusBar* s = pMain->findChild<QStatusBar*>()) bars.push_back(s);
        for (QWidget* w : bars)
            if (w->isVisible()) {
                w->hide();
                s_pSaved->hidden.emplace_back(w);
            }
        pMain->showFullScreen();
        // Also where no window manager resizes it.
        if (QScreen* pScreen = pMain->screen()) pMain->setGeometry(pScreen->geometry());
    }
    pFrame->setWindowFlag(Qt::FramelessWindowHint, true);
    pFrame->showMaximized();
    s_pFullScreenOwner = this;
    // The main window reaches its full-screen size only later: maximise the
    // frame again then, over the whole area.
    QTimer::singleShot(50, this, [this] {
        if (CMDIChildWnd* f = IsFullScreen() ? GetParentFrame() : nullptr) {
            f->showNormal();
            f->showMaximized();
        }
    });
}
