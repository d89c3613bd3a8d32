#include "album/ui/CTnView.h"

#include "album/AlbumPhotos.h"
#include "album/AlbumViewRules.h"
#include "album/ui/CAlbumDoc.h"
#include "album/ui/CAlbumInfoDlg.h"
#include "album/ui/CPhotoListBox.h"
#include "album/ui/CTextDlg.h"
#include "framework/CDC.h"
#include "framework/CException.h"
#include "framework/CommandIds.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CMDIFrameWnd.h"
#include "framework/qt/CQtDC.h"
#include "framework/qt/CWinApp.h"
#include "imaging/CDib.h"
#include "print/CAlbumModelPrintSource.h"
#include "print/ui/CAlbumPrintDlg.h"
#include "print/ui/PrintRun.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QResizeEvent>
#include <QTimer>
#include <algorithm>
#include <cstdio>
#include <numeric>

IMPLEMENT_DYNAMIC(CTnView, CBaseView)

bool CTnView::s_bDragBetween = false;

namespace {

// "Reading file %d out of %d : %s".
std::string ReadingText(int i, int n, const std::string& path) {
    const std::string format = LoadResString(1042);
    const std::string shortPath = ShortenPathForDisplay(path);
    char buf[512];
    std::snprintf(buf, sizeof buf, format.c_str(), i, n, shortPath.c_str());
    return buf;
}

// A frame nWidth pixels wide just inside the rectangle.
void FrameWide(QPainter& p, const QRect& r, int nWidth, const QColor& c) {
    for (int i = 0; i < nWidth; ++i) {
        const QRect f = r.adjusted(i, i, -i, -i);
        if (f.width() <= 0 || f.height() <= 0) return;
        p.fillRect(QRect(f.left(), f.top(), f.width(), 1), c);
        p.fillRect(QRect(f.left(), f.bottom(), f.width(), 1), c);
        p.fillRect(QRect(f.left(), f.top(), 1, f.height()), c);
        p.fillRect(QRect(f.right(), f.top(), 1, f.height()), c);
    }
}

QRect ToQRect(const CRect& r, const QPoint& at) {
    return QRect(r.left + at.x(), r.top + at.y(), r.Width(), r.Height());
}

// Runs an event handler's work; what escapes goes to the last-chance handler.
template <class F> void Guarded(F&& f) {
    try {
        f();
    } catch (...) {
        ProcessWndProcException(std::current_exception(), WM_COMMAND, false);
    }
}

} // namespace

CTnView::CTnView() {
    setAttribute(Qt::WA_OpaquePaintEvent, false);
    m_pListBox = new CPhotoListBox(this);
    m_pListBox->setGeometry(rect());
    setFocusProxy(m_pListBox);
    ComputeLayout();
    RegisterCommands();
}

CTnView::~CTnView() = default;

CAlbumDoc* CTnView::GetDocument() const {
    return dynamic_cast<CAlbumDoc*>(CView::GetDocument());
}

QSize CTnView::sizeHint() const {
    // Room for a few columns and rows of cells.
    const CSize s = m_pLayout->m_item;
    return QSize(s.cx * 5, s.cy * 3 + 20);
}

void CTnView::resizeEvent(QResizeEvent* e) {
    CBaseView::resizeEvent(e);
    m_pListBox->setGeometry(rect());
}

void CTnView::ComputeLayout() {
    const int nScale = GetDocument() ? GetDocument()->GetScale() : 1;
    const CSize thumb = CTnLayout(nScale, 1, 0).m_thumb;
    const int nPoints = CTnLayout::TitleFontPoints(thumb.cx);
    m_titleFont = QFont("Helvetica");
    m_titleFont.setStyleHint(QFont::SansSerif);
    m_titleFont.setWeight(QFont::Normal);
    m_titleFont.setPixelSize(-CTnLayout::TitleFontHeight(nPoints, std::max(1, logicalDpiY())));
    const QFontMetrics fm(m_titleFont);
    m_pLayout = std::make_unique<CTnLayout>(nScale, 1, fm.height() + fm.leading());
    if (m_pListBox) m_pListBox->SetItemSize(QSize(m_pLayout->m_item.cx, m_pLayout->m_item.cy));
}

void CTnView::OnInitialUpdate() {
    CBaseView::OnInitialUpdate();
    CAlbumDoc* pDoc = GetDocument();
    if (!pDoc) return;
    ComputeLayout();
    int nCurrent = pDoc->GetCurrentPhoto();
    if (nCurrent < 0 && pDoc->GetPhotoCount() > 0) nCurrent = 0;
    FillList(nCurrent);
    UpdateFrameTitle(pDoc->GetTitle());
}

void CTnView::FillList(int nSelect) {
    CAlbumDoc* pDoc = GetDocument();
    const int n = pDoc ? pDoc->GetPhotoCount() : 0;
    m_pListBox->setUpdatesEnabled(false);
    m_pListBox->Model()->SetCount(n);
    nSelect = n == 0 ? -1 : std::clamp(nSelect, 0, n - 1);
    if (nSelect >= 0) {
        m_pListBox->SelectOnly(nSelect);
        m_pListBox->scrollTo(m_pListBox->Model()->index(nSelect, 0));
    }
    m_pListBox->setUpdatesEnabled(true);
    SetCurrentIndex(nSelect);
    m_pListBox->viewport()->update();
}

void CTnView::OnUpdate(CView*, long, CObject*) {
    if (!GetDocument()) return;
    FillList(GetDocument()->GetCurrentPhoto());
    UpdateFrameTitle(GetDocument()->GetTitle());
}

void CTnView::OnDraw(CDC* pDC) {
    // Only what the list leaves uncovered: the button-face background.
    const QColor c = palette().color(QPalette::Button);
    pDC->FillRect(GetClipBox(), RGB(c.red(), c.green(), c.blue()));
}

std::string CTnView::FrameTitle(const std::string& docTitle) const {
    CAlbumDoc* pDoc = GetDocument();
    return AlbumFrameTitle(docTitle, pDoc ? pDoc->GetScale() : 1);
}

void CTnView::UpdateFrameTitle(const std::string&) {
    if (CMDIChildWnd* f = GetParentFrame()) f->OnUpdateFrameTitle();
}

void CTnView::SetCurrentIndex(int nIndex) {
    CBaseView::SetCurrentIndex(nIndex);
}

void CTnView::OnSelectionChanged(int nCaret) {
    SetCurrentIndex(nCaret);
}

void CTnView::DrawItem(QPainter& p, const QRect& rcItem, int nIndex, bool bSelected, bool bFocus) {
    CAlbumDoc* pDoc = GetDocument();
    if (!pDoc || nIndex < 0 || nIndex >= pDoc->GetPhotoCount()) return;
    const CTnCacheEntry* pEntry = nullptr;
    try {
        pEntry = pDoc->GetThumbnail(nIndex);
    } catch (const CException&) {
        // Reported and removed once painting is over.
        if (std::find(m_pendingRemovals.begin(), m_pendingRemovals.end(), nIndex) ==
            m_pendingRemovals.end()) {
            m_pendingRemovals.push_back(nIndex);
            QTimer::singleShot(0, this, [this, nIndex] {
                std::erase(m_pendingRemovals, nIndex);
                Guarded([&] { RemoveUnreadable(nIndex); });
            });
        }
        return;
    }
    if (!pEntry || !pEntry->m_pDib) return;
    const CTnLayout& l = *m_pLayout;
    const QPoint at = rcItem.topLeft();
    const QPalette& pal = palette();
    p.fillRect(rcItem, pal.color(QPalette::Button));
    // The picture frame, filled with the button face, and the thumbnail.
    const QRect rcFrame = ToQRect(l.m_rcFrame, at);
    p.fillRect(rcFrame, pal.color(QPalette::Button));
    FrameWide(p, rcFrame, l.m_b, pal.color(QPalette::Dark));
    CDib* pDib = pEntry->m_pDib.get();
    const QRect rcThumb = ToQRect(l.ThumbRect(pDib->GetWidth(), pDib->GetHeight()), at);
    FrameWide(p, rcThumb, l.m_b, pal.color(QPalette::Shadow));
    {
        CQtDC dc(&p);
        const QRect in = rcThumb.adjusted(l.m_b, l.m_b, -l.m_b, -l.m_b);
        pDib->StretchDraw(dc, CRect(in.left(), in.top(), in.left() + in.width(), in.top() + in.height()),
                          CRect(0, 0, pDib->GetWidth(), pDib->GetHeight()));
    }
    // The title: " n. title" on the highlight colour when selected.
    const QRect rcTitle = ToQRect(l.m_rcTitle, at);
    FrameWide(p, rcTitle, l.m_b, pal.color(QPalette::Dark));
    const QRect rcText = rcTitle.adjusted(l.m_b, l.m_b, -l.m_b, -l.m_b);
    p.fillRect(rcText, pal.color(bSelected ? QPalette::Highlight : QPalette::Base));
    p.setFont(m_titleFont);
    p.setPen(pal.color(bSelected ? QPalette::HighlightedText : QPalette::Text));
    const QString text = QString(" %1. %2").arg(nIndex + 1).arg(QString::fromStdString(pEntry->m_strTitle));
    p.drawText(rcText, Qt::AlignLeft | Qt::AlignTop | Qt::TextExpandTabs | Qt::TextSingleLine, text);
    if (bFocus && m_pListBox->hasFocus()) {
        QPen pen(pal.color(QPalette::Text), 1, Qt::DotLine);
        p.setPen(pen);
        p.setBrush(Qt::NoBrush);
        p.drawRect(rcText.adjusted(0, 0, -1, -1));
    }
}

void CTnView::RemoveUnreadable(int nIndex) {
    CAlbumDoc* pDoc = GetDocument();
    if (!pDoc || nIndex < 0 || nIndex >= pDoc->GetPhotoCount()) return;
    const std::string path = pDoc->GetAlbum().GetPath(nIndex);
    GetUserPrompt().MessageBox(FormatResString1(IDS_BAD_THUMBNAIL, path), MB_OK | MB_ICONEXCLAMATION);
    try {
        pDoc->RemoveElem(nIndex);
    } catch (const CException&) {
        // The photo file cannot even be told: the entry goes all the same.
        if (nIndex < pDoc->GetPhotoCount() && pDoc->GetAlbum().GetPath(nIndex) == path)
            pDoc->DropMissingElem(nIndex);
    }
    int nCurrent = pDoc->GetCurrentPhoto();
    if (nCurrent > nIndex) --nCurrent;
    pDoc->SetCurrentPhoto(std::min(nCurrent, pDoc->GetPhotoCount() - 1));
    pDoc->UpdateAllViews(nullptr, 1);
}

void CTnView::OpenCurrentPhoto() {
    Guarded([&] {
        CAlbumDoc* pDoc = GetDocument();
        if (!pDoc || GetCurrentIndex() < 0) return;
        const std::string path = pDoc->GetPictureToOpen(GetCurrentIndex());
        if (!path.empty() && AfxGetApp()) AfxGetApp()->OpenDocumentFile(path);
    });
}

void CTnView::DeleteSelection() {
    CAlbumDoc* pDoc = GetDocument();
    const std::vector<int> sel = m_pListBox->SelectedIndexes();
    if (!pDoc || sel.empty()) return;
    const int nTop = m_pListBox->GetTopIndex();
    struct CRefill {
        CTnView* v;
        int nLowest, nTop;
        ~CRefill() {
            const int n = v->GetDocument()->GetPhotoCount();
            v->GetDocument()->SetCurrentPhoto(SelectionAfterDelete(nLowest, nTop, n));
            v->GetDocument()->UpdateAllViews(nullptr, 1);
        }
    } refill{this, sel.front(), nTop};
    // Highest first, so the lower indexes stay valid.
    for (auto it = sel.rbegin(); it != sel.rend(); ++it) pDoc->RemoveElem(*it);
}

void CTnView::DropWithin(const std::vector<int>& selection, int nDrop) {
    Guarded([&] {
        CAlbumDoc* pDoc = GetDocument();
        if (!pDoc || selection.empty()) return;
        std::vector<int> order(static_cast<size_t>(pDoc->GetPhotoCount()));
        std::iota(order.begin(), order.end(), 0);
        bool bChanged = false;
        for (auto [from, to] : DropMoves(selection, nDrop)) {
            std::vector<int> before = order;
            ApplyMove(order, from, to);
            if (order == before) continue;
            pDoc->MoveElem(from, to);
            bChanged = true;
        }
        if (!bChanged) return;
        // The moved photos stay selected where they landed; the caret on the first.
        int nFirst = -1;
        std::vector<int> landed;
        for (size_t i = 0; i < order.size(); ++i)
            if (std::find(selection.begin(), selection.end(), order[i]) != selection.end()) {
                landed.push_back(static_cast<int>(i));
                if (nFirst < 0) nFirst = static_cast<int>(i);
            }
        pDoc->SetCurrentPhoto(nFirst);
        pDoc->UpdateAllViews(nullptr, 3);
        QItemSelection s;
        for (int i : landed) s.select(m_pListBox->Model()->index(i, 0), m_pListBox->Model()->index(i, 0));
        m_pListBox->selectionModel()->select(s, QItemSelectionModel::ClearAndSelect);
    });
}

void CTnView::DropFromAlbum(CTnView& source, const std::vector<int>& selection, int nPos) {
    Guarded([&] {
        CAlbumDoc* pDoc = GetDocument();
        CAlbumDoc* pSource = source.GetDocument();
        if (!pDoc || !pSource || pDoc == pSource || selection.empty()) return;
        if (pDoc->GetPhotoCount() == 0) ComputeLayout();
        const int n = static_cast<int>(selection.size());
        GetUserPrompt().BeginWaitCursor();
        struct CEnd {
            CAlbumDoc* d;
            ~CEnd() {
                GetUserPrompt().SetStatusText("");
                GetUserPrompt().EndWaitCursor();
                d->UpdateAllViews(nullptr, 2);
            }
        } end{pDoc};
        // Last to first at the same position, so they keep their order.
        for (int k = n - 1; k >= 0; --k) {
            const int i = selection[static_cast<size_t>(k)];
            GetUserPrompt().SetStatusText(ReadingText(n - k, n, pSource->GetAlbum().GetPath(i)));
            pDoc->CopyElemFrom(*pSource, i, nPos);
        }
        pDoc->SetCurrentPhoto(std::clamp(nPos, 0, pDoc->GetPhotoCount() - 1));
    });
}

void CTnView::SetScale(int nScale) {
    CAlbumDoc* pDoc = GetDocument();
    if (!pDoc) return;
    pDoc->SetThumbnailSize(nScale);
    ComputeLayout();
    pDoc->UpdateAllViews(nullptr, 0);
}

void CTnView::OnAddImages() {
    CAlbumDoc* pDoc = GetDocument();
    if (!pDoc) return;
    const QStringList names = QFileDialog::getOpenFileNames(
        this, QString::fromStdString(LoadResString(1199)), QString(),
        "Pictures (*.qln *.QLN *.bmp *.BMP *.jpg *.JPG *.jpeg *.png *.PNG *.tif *.TIF *.tiff *.gif *.GIF "
        "*.pcx *.PCX *.tga *.TGA);;All Files (*)");
    if (names.isEmpty()) return;
    std::vector<std::string> paths;
    for (const QString& n : names) paths.push_back(n.toStdString());
    pDoc->AddImages(paths);
}

void CTnView::OnText() {
    CAlbumDoc* pDoc = GetDocument();
    if (!pDoc || pDoc->GetPhotoCount() == 0) return;
    CTextDlg dlg(pDoc->GetAlbum(), std::max(0, GetCurrentIndex()), this);
    dlg.exec();
    if (dlg.Changed()) {
        pDoc->ReleaseThumbnails();
        pDoc->SetModifiedFlag();
        pDoc->UpdateAllViews(nullptr, 0);
    }
}

void CTnView::OnAlbumInformation() {
    CAlbumDoc* pDoc = GetDocument();
    if (!pDoc) return;
    CAlbumInfoDlg dlg(pDoc->GetAlbum(), pDoc->GetPathName(), this);
    if (dlg.exec() == QDialog::Accepted && dlg.Changed()) pDoc->SetModifiedFlag();
}

void CTnView::RegisterCommands() {
    for (int s = 0; s < 4; ++s)
        OnCommand(
            ID_TN_SIZE_TINY + static_cast<unsigned>(s), [this, s] { SetScale(s); },
            [this, s](CCmdUI& ui) { ui.SetCheck(GetDocument() && GetDocument()->GetScale() == s); });
    OnCommand(
        ID_TN_DRAG_BETWEEN, [] { s_bDragBetween = !s_bDragBetween; },
        [](CCmdUI& ui) { ui.SetCheck(s_bDragBetween); });
    OnCommand(
        ID_TN_DELETE, [this] { DeleteSelection(); },
        [this](CCmdUI& ui) { ui.Enable(!m_pListBox->SelectedIndexes().empty()); });
    OnCommand(ID_TN_INFORMATION, [this] { OnAlbumInformation(); });
    OnCommand(ID_TN_ADD_IMAGES, [this] { OnAddImages(); });
    OnCommand(
        ID_TN_TEXT, [this] { OnText(); },
        [this](CCmdUI& ui) { ui.Enable(GetDocument() && GetDocument()->GetPhotoCount() > 0); });
}

void AddAlbumMenu(CMDIFrameWnd* pFrame) {
    QMenuBar* bar = pFrame->menuBar();
    QAction* before = nullptr;
    for (QAction* a : bar->actions())
        if (a->text() == "&Window") before = a;
    auto* menu = new QMenu("&Album", pFrame);
    pFrame->AddCommand(menu, ID_TN_SIZE_TINY, "&Tiny ")->setCheckable(true);
    pFrame->AddCommand(menu, ID_TN_SIZE_SMALL, "&Small")->setCheckable(true);
    pFrame->AddCommand(menu, ID_TN_SIZE_MEDIUM, "&Medium")->setCheckable(true);
    pFrame->AddCommand(menu, ID_TN_SIZE_LARGE, "&Large")->setCheckable(true);
    menu->addSeparator();
    pFrame->AddCommand(menu, ID_TN_DRAG_BETWEEN, "Drag && Drop Between Albums\tF2")->setCheckable(true);
    menu->addSeparator();
    pFrame->AddCommand(menu, ID_TN_ADD_IMAGES, "Add &Images...");
    pFrame->AddCommand(menu, ID_TN_DELETE, "&Delete");
    pFrame->AddCommand(menu, ID_TN_TEXT, "&Text...");
    pFrame->AddCommand(menu, ID_TN_INFORMATION, "Album &Information...");
    pFrame->AddCommand(menu, CAlbumDoc::kCmdShowSetup, "Slide Show Setup...");
    menu->addSeparator();
    pFrame->AddCommand(menu, ID_VIEW_ALBUM, "&Album");
    pFrame->AddCommand(menu, ID_SHOW_FIRST, "Starting with the &First Slide");
    pFrame->AddCommand(menu, ID_SHOW_CURRENT, "Starting with the &Current Slide\tF3");
    pFrame->AddCommand(menu, ID_VIEW_FULLSCREEN, "&Full Screen\tF4");
    pFrame->AddCommand(menu, ID_VIEW_ENHANCER, "&Enhancer");
    bar->insertMenu(before, menu);
    QObject::connect(menu, &QMenu::aboutToShow, pFrame, [pFrame] { pFrame->UpdateCommandUI(); });
}

namespace {

// The album dialog with the source of its photos, which it outlives.
class CTnPrintDlg : public CAlbumPrintDlg {
public:
    CTnPrintDlg(std::unique_ptr<CAlbumModelPrintSource> pSource, std::vector<int> selection,
                IProfileStore* pStore, QWidget* pParent)
        : CAlbumPrintDlg(GetAlbumPrintSettings(), pStore, GetRunPrinter(), *pSource, std::move(selection),
                         pStore ? CAlbumPrintSettings::ReadContactPreviewSource(*pStore) : 0, pParent),
          m_pSource(std::move(pSource)) {}

private:
    std::unique_ptr<CAlbumModelPrintSource> m_pSource;
};

} // namespace

bool CTnView::CanPrint() const {
    CAlbumDoc* pDoc = GetDocument();
    return pDoc && pDoc->GetAlbum().GetCount() > 0;
}

std::unique_ptr<CPrintDlg> CTnView::CreatePrintDialog() {
    if (!CanPrint()) return nullptr;
    auto pSource = std::make_unique<CAlbumModelPrintSource>(GetDocument()->GetAlbum());
    std::vector<int> selection = m_pListBox ? m_pListBox->SelectedInOrder() : std::vector<int>{};
    return std::make_unique<CTnPrintDlg>(std::move(pSource), std::move(selection),
                                         AfxGetApp() ? AfxGetApp()->m_pStore : nullptr, this);
}
