#include "view/CImageEnhancerView.h"

#include "framework/CAppException.h"
#include "framework/CDC.h"
#include "framework/CException.h"
#include "framework/CommandIds.h"
#include "framework/ReportException.h"
#include "framework/StringTable.h"
#include "framework/UserPrompt.h"
#include "framework/qt/CDocTemplate.h"
#include "framework/qt/CMDIChildWnd.h"
#include "framework/qt/CMDIFrameWnd.h"
#include "framework/qt/CQtDC.h"
#include "framework/qt/CWinApp.h"
#include "imaging/CCrop.h"
#include "imaging/CDib.h"
#include "imaging/qt/QtDib.h"
#include "print/ui/CImagePrintDlg.h"
#include "print/ui/PrintRun.h"
#include "storage/formats/ImpExpTables.h"
#include "storage/formats/ImportExport.h"
#include "view/CImageEnhancerDoc.h"
#include "view/CImageInfoDlg.h"
#include "view/COperationDialogs.h"
#include "view/CZoomCursor.h"

#include <QApplication>
#include <QClipboard>
#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <QImage>
#include <QKeyEvent>
#include <QMdiArea>
#include <QMenu>
#include <QMenuBar>
#include <QMimeData>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QProcess>
#include <QScrollArea>
#include <QScrollBar>
#include <QStandardPaths>
#include <QUrl>
#include <QtEndian>
#include <cstring>
#include <unordered_set>

IMPLEMENT_DYNAMIC(CImageEnhancerView, CBaseView)

namespace {

constexpr COLORREF kLightGray = RGB(192, 192, 192);
constexpr uint32_t IDS_COLORS_USED = 1044;
constexpr int kMaxZoom = 16;
const char* const kBmpMime = "image/bmp";

// Hourglass for as long as the object lives.
class CWaitCursor {
public:
    CWaitCursor() { GetUserPrompt().BeginWaitCursor(); }
    ~CWaitCursor() { GetUserPrompt().EndWaitCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

constexpr uint32_t IDS_COPROCESSOR_WARNING = 1339;
constexpr uint32_t IDS_KEEP_CLIPBOARD = 1396;

// The clipboard's picture, made only when another program asks for it.
class CDelayedPictureMime : public QMimeData {
public:
    // The document lets go of the clipboard's copy before its picture goes
    // (KeepClipboardPicture), so the pointer is good while this is offered.
    explicit CDelayedPictureMime(CImageEnhancerDoc* pDoc) : m_pDoc(pDoc) {}
    bool IsOf(const CImageEnhancerDoc* pDoc) const { return pDoc && pDoc == m_pDoc; }
    // Every form made now, as a plain copy that outlives the window.
    QMimeData* Render() const {
        auto* p = new QMimeData;
        for (const QString& f : formats()) {
            const QVariant v = retrieveData(f, QMetaType());
            if (f == kBmpMime)
                p->setData(f, v.toByteArray());
            else if (v.canConvert<QImage>())
                p->setImageData(v);
        }
        return p;
    }
    QStringList formats() const override { return {kBmpMime, "application/x-qt-image"}; }
    bool hasFormat(const QString& mime) const override { return formats().contains(mime); }

protected:
    QVariant retrieveData(const QString& mime, QMetaType type) const override {
        CDib* pDib = Picture();
        if (!pDib) return {};
        CWaitCursor wait;
        if (mime == kBmpMime) {
            // A BMP file: the file header in front of the packed picture.
            std::vector<uint8_t> packed = pDib->CreatePackedDib();
            QByteArray bytes(14, '\0');
            bytes[0] = 'B';
            bytes[1] = 'M';
            qToLittleEndian<uint32_t>(static_cast<uint32_t>(14 + packed.size()), bytes.data() + 2);
            const uint32_t header = packed.size() >= 4 ? qFromLittleEndian<uint32_t>(packed.data()) : 40;
            const int nColors = pDib->GetBitCount() <= 8 ? pDib->GetNumColors() : 0;
            qToLittleEndian<uint32_t>(static_cast<uint32_t>(14 + header + 4 * nColors), bytes.data() + 10);
            bytes.append(reinterpret_cast<const char*>(packed.data()), static_cast<qsizetype>(packed.size()));
            return bytes;
        }
        if (mime == "application/x-qt-image" || type.id() == QMetaType::QImage)
            return CreateImageFromDib(*pDib);
        return {};
    }

private:
    CDib* Picture() const;
    CImageEnhancerDoc* m_pDoc;
};

CDib* CDelayedPictureMime::Picture() const {
    return m_pDoc ? m_pDoc->GetDib() : nullptr;
}

} // namespace

CImageEnhancerView::CImageEnhancerView() {
    setAutoFillBackground(false);
    setMouseTracking(true);
    setFocusPolicy(Qt::StrongFocus);
    RegisterCommands();
}

std::function<bool()> CImageEnhancerView::s_hasMathCoprocessor = [] { return true; };

CImageEnhancerView::~CImageEnhancerView() {
    // The undo record of this window goes with it.
    if (CUndo::s_pUndoOwner == this) CUndo(nullptr, nullptr);
}

CImageEnhancerDoc* CImageEnhancerView::GetDocument() const {
    return dynamic_cast<CImageEnhancerDoc*>(CView::GetDocument());
}

CDib* CImageEnhancerView::GetUndoDib() {
    return GetDocument() ? GetDocument()->GetDib() : nullptr;
}

void CImageEnhancerView::SetUndoDib(CDib* pDib) {
    if (GetDocument()) GetDocument()->SetDibPointer(pDib);
}

// ---- zoom and layout -------------------------------------------------------

int CImageEnhancerView::NextZoomIn(int nZoom) {
    if (nZoom == -2) return 1;
    return std::min(nZoom + 1, kMaxZoom);
}

int CImageEnhancerView::NextZoomOut(int nZoom) {
    if (nZoom == 1) return -2;
    return std::max(nZoom - 1, -kMaxZoom);
}

QSize CImageEnhancerView::ZoomedSize() const {
    CImageEnhancerDoc* pDoc = GetDocument();
    int w = 200, h = 150;
    if (pDoc && pDoc->GetDib()) {
        w = pDoc->GetDib()->GetWidth();
        h = pDoc->GetDib()->GetHeight();
    }
    if (m_nZoom >= 1) return QSize(w * m_nZoom, h * m_nZoom);
    return QSize(std::max(1, w / -m_nZoom), std::max(1, h / -m_nZoom));
}

QSize CImageEnhancerView::sizeHint() const {
    return ZoomedSize();
}

QScrollArea* CImageEnhancerView::ScrollArea() const {
    for (QWidget* p = parentWidget(); p; p = p->parentWidget())
        if (auto* s = qobject_cast<QScrollArea*>(p)) return s;
    return nullptr;
}

void CImageEnhancerView::LayoutView() {
    QScrollArea* pScroll = ScrollArea();
    if (m_bFitToWindow) {
        // The client area is the picture's: no scroll bars.
        setMinimumSize(1, 1);
        if (pScroll) {
            pScroll->setWidgetResizable(true);
            pScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
            pScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
        }
    } else {
        const QSize size = ZoomedSize();
        if (pScroll) {
            pScroll->setWidgetResizable(false);
            pScroll->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            pScroll->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
            if (m_nZoom >= 1) {
                pScroll->horizontalScrollBar()->setSingleStep(m_nZoom);
                pScroll->verticalScrollBar()->setSingleStep(m_nZoom);
                pScroll->horizontalScrollBar()->setPageStep(10 * m_nZoom);
                pScroll->verticalScrollBar()->setPageStep(10 * m_nZoom);
            }
        }
        setMinimumSize(size);
        resize(size);
    }
    if (CImageEnhancerDoc* pDoc = GetDocument(); pDoc && pDoc->GetDib())
        m_sizeLaidOut = QSize(pDoc->GetDib()->GetWidth(), pDoc->GetDib()->GetHeight());
}

void CImageEnhancerView::SetZoom(int nZoom, const QPoint* pPoint) {
    if (nZoom == 0 || nZoom == -1) nZoom = 1;
    nZoom = std::clamp(nZoom, -kMaxZoom, kMaxZoom);
    CWaitCursor wait;
    QScrollArea* pScroll = ScrollArea();
    // The picture point under the given client point (the centre by default).
    QPoint client = pPoint ? *pPoint : QPoint(width() / 2, height() / 2);
    QPoint viewportPos;
    if (pScroll) {
        QWidget* vp = pScroll->viewport();
        viewportPos = pPoint ? mapTo(vp, *pPoint) : QPoint(vp->width() / 2, vp->height() / 2);
        if (!pPoint) client = mapFrom(vp, viewportPos);
    }
    auto toImage = [](int v, int z) { return z >= 1 ? double(v) / z : double(v) * -z; };
    auto fromImage = [](double v, int z) { return z >= 1 ? v * z : v / -z; };
    const double ix = toImage(client.x(), m_nZoom), iy = toImage(client.y(), m_nZoom);
    const bool bWasFit = m_bFitToWindow;
    if (nZoom == m_nZoom && !bWasFit) return;
    m_nZoom = nZoom;
    m_bFitToWindow = false;
    LayoutView();
    if (pScroll) {
        // The point goes to the centre of the window, as near as the range allows.
        const QWidget* vp = pScroll->viewport();
        pScroll->horizontalScrollBar()->setValue(int(fromImage(ix, m_nZoom)) - vp->width() / 2);
        pScroll->verticalScrollBar()->setValue(int(fromImage(iy, m_nZoom)) - vp->height() / 2);
    }
    if (CMDIChildWnd* pFrame = GetParentFrame()) pFrame->OnUpdateFrameTitle();
    UpdateToolCursor();
    update();
}

void CImageEnhancerView::ZoomIn(const QPoint* pPoint) {
    SetZoom(NextZoomIn(m_nZoom), pPoint);
}

void CImageEnhancerView::ZoomOut(const QPoint* pPoint) {
    SetZoom(NextZoomOut(m_nZoom), pPoint);
}

void CImageEnhancerView::SetFitToWindow(bool bFit) {
    m_nZoom = 1;
    m_bFitToWindow = bFit;
    if (GetDocument()) GetDocument()->UpdateAllViews(nullptr, kHintZoom);
}

std::string CImageEnhancerView::FrameTitle(const std::string& docTitle) const {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return docTitle;
    std::string name;
    const std::string& path = pDoc->GetPathName();
    if (!path.empty())
        name = path.substr(path.find_last_of('/') == std::string::npos ? 0 : path.find_last_of('/') + 1);
    else
        name = docTitle.substr(0, docTitle.find(' '));
    CDib* pDib = pDoc->GetDib();
    char buf[512];
    if (m_bFitToWindow)
        std::snprintf(buf, sizeof buf, "%s (Fitted - %d BPP)", name.c_str(), pDib->GetBitCount());
    else if (m_nZoom >= 2)
        std::snprintf(buf, sizeof buf, "%s (Zoomed by %d - %d BPP)", name.c_str(), m_nZoom,
                      pDib->GetBitCount());
    else if (m_nZoom <= -2)
        std::snprintf(buf, sizeof buf, "%s (Zoomed by 1/%d - %d BPP)", name.c_str(), -m_nZoom,
                      pDib->GetBitCount());
    else
        std::snprintf(buf, sizeof buf, "%s (%d x %d x %d BPP)", name.c_str(), pDib->GetWidth(),
                      pDib->GetHeight(), pDib->GetBitCount());
    return buf;
}

void CImageEnhancerView::UpdateFrameTitle(const std::string&) {
    if (CMDIChildWnd* pFrame = GetParentFrame()) pFrame->OnUpdateFrameTitle();
}

void CImageEnhancerView::OnInitialUpdate() {
    OnUpdate(nullptr, kHintZoom, nullptr);
}

void CImageEnhancerView::OnUpdate(CView*, long lHint, CObject*) {
    CImageEnhancerDoc* pDoc = GetDocument();
    const QSize imageSize =
        pDoc && pDoc->GetDib() ? QSize(pDoc->GetDib()->GetWidth(), pDoc->GetDib()->GetHeight()) : QSize();
    const bool bLayout = lHint == kHintZoom || imageSize != m_sizeLaidOut || lHint == 0;
    if (bLayout) LayoutView();
    UpdateFrameTitle({});
    if (bLayout && lHint != 0) {
        // The frame fits the picture, inside the main window's client area.
        CMDIChildWnd* pFrame = GetParentFrame();
        QScrollArea* pScroll = ScrollArea();
        if (pFrame && pScroll && !pFrame->isMaximized() && !pFrame->isMinimized() && !m_bFitToWindow &&
            pFrame->mdiArea()) {
            const QSize extra = pFrame->size() - pScroll->viewport()->size();
            const QSize avail = pFrame->mdiArea()->viewport()->size();
            const QSize want = (ZoomedSize() + extra).boundedTo(avail);
            if (want.isValid()) pFrame->resize(want);
        }
    }
    if (lHint == kHintImage || lHint == 0) UpdatePictureIcon();
    if (m_pPalette) OnPaletteChanged(this);
    update();
}

void CImageEnhancerView::UpdatePictureIcon() {
    // A minimised picture window shows its picture as its icon.
    CImageEnhancerDoc* pDoc = GetDocument();
    CMDIChildWnd* pFrame = GetParentFrame();
    if (!pDoc || !pDoc->GetDib() || !pFrame) return;
    CDib* pDib = pDoc->GetDib();
    const int n = 64;
    QSize fit = QSize(pDib->GetWidth(), pDib->GetHeight()).scaled(n, n, Qt::KeepAspectRatio);
    QImage icon(std::max(1, fit.width()), std::max(1, fit.height()), QImage::Format_RGB32);
    QPainter painter(&icon);
    CQtDC dc(&painter);
    dc.SetStretchBltMode(HALFTONE);
    pDib->StretchDraw(dc, CRect(0, 0, icon.width(), icon.height()),
                      CRect(0, 0, pDib->GetWidth(), pDib->GetHeight()));
    painter.end();
    pFrame->SetPictureIcon(icon);
}

// ---- painting ----------------------------------------------------------------

void CImageEnhancerView::MapPaintRect(const CRect& rcClip, int nZoom, int nWidth, int nHeight,
                                      CRect& rcSource, CRect& rcDest) {
    if (nZoom >= 1) {
        // Whole picture pixels under the clip; the last partial one covered.
        rcSource = CRect(rcClip.left / nZoom, rcClip.top / nZoom, (rcClip.right + nZoom - 1) / nZoom,
                         (rcClip.bottom + nZoom - 1) / nZoom);
    } else {
        const int n = -nZoom;
        rcSource = CRect(rcClip.left * n, rcClip.top * n, rcClip.right * n, rcClip.bottom * n);
    }
    rcSource.left = std::clamp(rcSource.left, 0, nWidth);
    rcSource.top = std::clamp(rcSource.top, 0, nHeight);
    rcSource.right = std::clamp(rcSource.right, 0, nWidth);
    rcSource.bottom = std::clamp(rcSource.bottom, 0, nHeight);
    if (nZoom >= 1)
        rcDest = CRect(rcSource.left * nZoom, rcSource.top * nZoom, rcSource.right * nZoom,
                       rcSource.bottom * nZoom);
    else {
        const int n = -nZoom;
        rcDest = CRect(rcSource.left / n, rcSource.top / n, rcSource.right / n, rcSource.bottom / n);
    }
}

void CImageEnhancerView::OnDraw(CDC* pDC) {
    const CRect rcClip = GetClipBox();
    pDC->FillRect(rcClip, kLightGray);
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return;
    CDib* pDib = pDoc->GetDib();
    const CRect rcPic(0, 0, pDib->GetWidth(), pDib->GetHeight());
    if (m_bFitToWindow) {
        pDib->StretchDraw(*pDC, CRect(0, 0, width(), height()), rcPic);
        return;
    }
    if (m_nZoom == 1) {
        CRect rcDraw;
        if (rcDraw.IntersectRect(rcPic, rcClip)) pDib->Draw(*pDC, rcDraw.left, rcDraw.top, rcDraw);
        return;
    }
    CRect rcSource, rcDest;
    MapPaintRect(rcClip, m_nZoom, pDib->GetWidth(), pDib->GetHeight(), rcSource, rcDest);
    if (rcSource.Width() <= 0 || rcSource.Height() <= 0 || rcDest.Width() <= 0 || rcDest.Height() <= 0)
        return;
    pDib->StretchDraw(*pDC, rcDest, rcSource);
}

// ---- commands ----------------------------------------------------------------

CEnhancerViewState CImageEnhancerView::GetViewState() const {
    CEnhancerViewState st;
    st.m_nZoom = m_nZoom;
    st.m_bFitToWindow = m_bFitToWindow;
    st.m_tool = m_tool;
    auto* self = const_cast<CImageEnhancerView*>(this);
    st.m_bCanUndo = CUndo::CanUndo(self);
    st.m_bCanRedo = CUndo::CanRedo(self);
    st.m_bClipboardHasPicture = ClipboardHasPicture();
    return st;
}

void CImageEnhancerView::SetToolKind(EEnhancerTool tool) {
    m_tool = tool;
    UpdateToolCursor();
}

void CImageEnhancerView::UpdateToolCursor() {
    if (m_tool == EEnhancerTool::Zoom)
        setCursor(CZoomCursor::ForZoom(m_nZoom));
    else
        setCursor(Qt::ArrowCursor);
}

void CImageEnhancerView::RegisterCommands() {
    for (const COperation& op : COperationTable::All()) {
        const unsigned nID = op.m_nCommandId;
        // Commands this window cannot run stay absent (disabled): the crop
        // tool, and a dialog nobody has registered.
        const bool bViewOnly = false;
        OnCommand(
            nID, [this, &op] { RunCommand(op); },
            [this, &op, bViewOnly](CCmdUI& ui) {
                CImageEnhancerDoc* pDoc = GetDocument();
                const CDib* pDib = pDoc ? pDoc->GetDib() : nullptr;
                const CEnhancerViewState st = GetViewState();
                bool bOn = !bViewOnly && COperationTable::IsEnabled(op, pDib, st);
                if (op.m_bDialog || op.m_nCommandId == 2173)
                    bOn = bOn && COperationDialogs::Has(op.m_nCommandId);
                ui.Enable(bOn);
                ui.SetCheck(COperationTable::IsChecked(op, pDib, st) ? 1 : 0);
            });
    }
    // The picture alone on the whole screen, in a frame of its own.
    OnCommand(ID_VIEW_FULLSCREEN, [this] { SwitchToView("CImageEnhancerFullScreenView"); });
}

void CImageEnhancerView::RunCommand(const COperation& op) {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc) return;
    {
        CCmdUI ui(op.m_nCommandId);
        OnCmdMsg(op.m_nCommandId, &ui);
        if (!ui.m_bEnabled) return;
    }
    try {
        if (op.m_nZoom != 0) {
            SetZoom(op.m_nZoom);
            return;
        }
        switch (op.m_nCommandId) {
        case ID_EDIT_UNDO:
            OnEditUndo();
            return;
        case ID_EDIT_REDO:
            OnEditRedo();
            return;
        case ID_EDIT_COPY:
            OnEditCopy();
            return;
        case ID_EDIT_PASTE:
            OnEditPaste();
            return;
        case 2184:
            OnDuplicate();
            return;
        case 2060:
            m_bFitToWindow = false;
            m_nZoom = 1;
            pDoc->UpdateAllViews(nullptr, kHintZoom);
            return;
        case 2059:
            SetFitToWindow(!m_bFitToWindow);
            return;
        case 2039:
            OnImageInformation();
            return;
        case 2119:
            OnCountColors();
            return;
        case 2192:
            OnWallpaper(false);
            return;
        case 2193:
            OnWallpaper(true);
            return;
        case ID_ZOOM_TOOL:
            if (m_tool == EEnhancerTool::Zoom) {
                SetToolKind(EEnhancerTool::Default);
                SetZoom(1);
            } else {
                SetToolKind(EEnhancerTool::Zoom);
            }
            return;
        case ID_CROP_TOOL:
            if (m_tool == EEnhancerTool::Crop) {
                if (m_bCropConfirmed) {
                    m_bCropConfirmed = false;
                    DoCrop(m_rcCrop.left(), m_rcCrop.top(), m_rcCrop.right(), m_rcCrop.bottom());
                }
                SetToolKind(EEnhancerTool::Default);
                update();
            } else {
                StartCropTool();
            }
            return;
        case 2173: {
            // The histogram shows and changes nothing.
            COpValues values;
            COperationDialogRequest request{this, *pDoc->GetDib(), values, pDoc->GetTitle()};
            COperationDialogs::Run(op.m_nCommandId, request);
            return;
        }
        default:
            break;
        }
        // The warning for the floating-point heavy commands on a machine without a coprocessor.
        if ((op.m_nCommandId == 2085 || op.m_nCommandId == 2201) && s_hasMathCoprocessor &&
            !s_hasMathCoprocessor() &&
            GetUserPrompt().MessageBox(LoadResString(IDS_COPROCESSOR_WARNING), MB_YESNO | MB_ICONQUESTION) !=
                IDYES)
            return;
        if (op.m_call) RunPointOperation(op);
    } catch (...) {
        ReportException(std::current_exception());
    }
}

void CImageEnhancerView::RunPointOperation(const COperation& op) {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return;
    COpValues values;
    if (!op.m_bDialog) {
        RunOperationWith(op, values);
        return;
    }
    COperationDialogRequest request{this, *pDoc->GetDib(), values, pDoc->GetTitle()};
    // The two-picture commands choose among the open pictures.
    std::vector<CImageEnhancerDoc*> open;
    if (const CDocTemplate* pTemplate = pDoc->GetDocTemplate())
        for (CDocument* pOther : pTemplate->GetDocuments())
            if (auto* pPicture = dynamic_cast<CImageEnhancerDoc*>(pOther); pPicture && pPicture->GetDib()) {
                open.push_back(pPicture);
                request.m_openPictures.push_back({pPicture->GetTitle(), pPicture->GetDib()});
            }
    if (!COperationDialogs::Run(op.m_nCommandId, request)) return;
    if (request.m_strImage1.empty()) {
        RunOperationWith(op, values);
        return;
    }
    // The result of Image1 and Image2 goes into a new window; Image2 is read
    // from the open picture of that title.
    auto find = [&open](const std::string& title) -> const CDib* {
        for (CImageEnhancerDoc* pPicture : open)
            if (pPicture->GetTitle() == title) return pPicture->GetDib();
        return nullptr;
    };
    const CDib* pImage1 = find(request.m_strImage1);
    if (!pImage1) return;
    std::unique_ptr<CDib> image = std::make_unique<CDib>(*pImage1);
    COpContext ctx{image, values, [&find](const std::string& title) {
                       const CDib* pImage2 = find(title);
                       if (!pImage2) ThrowAppException(FormatResString1(IDS_FILE_READ_ERROR, title));
                       return std::make_unique<CDib>(*pImage2);
                   }};
    {
        CWaitCursor wait;
        COperationTable::Run(op, ctx);
    }
    OpenInNewWindow(std::move(image));
}

void CImageEnhancerView::RunOperationWith(const COperation& op, const COpValues& values) {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib() || !op.m_call) return;
    auto load = [](const std::string& path) {
        std::unique_ptr<CDib> p = ImportFile(path);
        if (!p) ThrowAppException(FormatResString1(IDS_FILE_READ_ERROR, path));
        return p;
    };
    if (op.m_result == EOpResult::NewWindow) {
        // The current picture stays; the result opens in a window of its own.
        std::unique_ptr<CDib> image = std::make_unique<CDib>(*pDoc->GetDib());
        COpContext ctx{image, values, load};
        {
            CWaitCursor wait;
            COperationTable::Run(op, ctx);
        }
        OpenInNewWindow(std::move(image));
        return;
    }
    CUndo undo(this, pDoc->GetDib());
    CWaitCursor wait;
    // The call works on a working copy so that a failure leaves the picture
    // as it was; a new image replaces it only once the call succeeded.
    std::unique_ptr<CDib> image = std::make_unique<CDib>(*pDoc->GetDib());
    COpContext ctx{image, values, load};
    COperationTable::Run(op, ctx);
    pDoc->SetDib(std::move(image));
    pDoc->UpdateAllViews(nullptr, kHintImage);
}

void CImageEnhancerView::OnEditUndo() {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !CUndo::CanUndo(this)) return;
    CUndo::SwapUndo(this);
    pDoc->UndoModified();
    pDoc->UpdateAllViews(nullptr, kHintImage);
}

void CImageEnhancerView::OnEditRedo() {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !CUndo::CanRedo(this)) return;
    CUndo::SwapUndo(this);
    pDoc->MarkModified();
    pDoc->UpdateAllViews(nullptr, kHintImage);
}

bool CImageEnhancerView::ClipboardHasPicture() {
    const QMimeData* pData = QApplication::clipboard()->mimeData();
    return pData && (pData->hasFormat(kBmpMime) || pData->hasImage());
}

void CImageEnhancerView::OnEditCopy() {
    if (!GetDocument() || !GetDocument()->GetDib()) return;
    // Nothing is made now: the picture is produced when someone pastes it.
    QApplication::clipboard()->setMimeData(new CDelayedPictureMime(GetDocument()));
}

void CImageEnhancerView::KeepClipboardPicture(const CImageEnhancerDoc* pDoc) {
    if (!QApplication::instance()) return;
    QClipboard* pClip = QApplication::clipboard();
    if (auto* pMime = dynamic_cast<const CDelayedPictureMime*>(pClip->mimeData()); pMime && pMime->IsOf(pDoc))
        pClip->setMimeData(pMime->Render());
}

void CImageEnhancerView::OfferClipboardOnExit() {
    QClipboard* pClip = QApplication::clipboard();
    const QMimeData* pData = pClip->mimeData();
    if (!pData || !pClip->ownsClipboard() || !(pData->hasFormat(kBmpMime) || pData->hasImage())) return;
    if (GetUserPrompt().MessageBox(LoadResString(IDS_KEEP_CLIPBOARD), MB_YESNO | MB_ICONQUESTION) != IDYES) {
        pClip->clear();
        return;
    }
    if (auto* pMime = dynamic_cast<const CDelayedPictureMime*>(pData)) pClip->setMimeData(pMime->Render());
}

void CImageEnhancerView::OnEditPaste() {
    CImageEnhancerDoc* pDoc = GetDocument();
    const QMimeData* pData = QApplication::clipboard()->mimeData();
    if (!pDoc || !pData) return;
    std::unique_ptr<CDib> pNew;
    {
        CWaitCursor wait;
        if (pData->hasFormat(kBmpMime)) {
            const QByteArray bytes = pData->data(kBmpMime);
            if (bytes.size() > 14 + 12 && bytes[0] == 'B' && bytes[1] == 'M') {
                try {
                    pNew = std::make_unique<CDib>(reinterpret_cast<const uint8_t*>(bytes.constData()) + 14,
                                                  static_cast<size_t>(bytes.size() - 14));
                } catch (const CException&) {
                    pNew.reset();
                }
            }
        }
        if (!pNew && pData->hasImage()) {
            const QImage image = qvariant_cast<QImage>(pData->imageData());
            if (!image.isNull()) pNew = CreateDibFromImage(image, false);
        }
    }
    if (!pNew) return;
    CUndo undo(this, pDoc->GetDib());
    pDoc->SetDib(std::move(pNew));
    pDoc->UpdateAllViews(nullptr, kHintImage);
}

CImageEnhancerDoc* CImageEnhancerView::OpenInNewWindow(std::unique_ptr<CDib> pDib) {
    CImageEnhancerDoc* pDoc = GetDocument();
    CDocTemplate* pTemplate = pDoc ? pDoc->GetDocTemplate() : nullptr;
    if (!pTemplate) AfxThrowResourceException();
    auto* pNew = dynamic_cast<CImageEnhancerDoc*>(pTemplate->OpenDocumentFile("", true));
    if (!pNew) AfxThrowResourceException();
    pNew->SetDib(std::move(pDib));
    pNew->UpdateAllViews(nullptr, kHintImage);
    return pNew;
}

CImageEnhancerDoc* CImageEnhancerView::OnDuplicate() {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return nullptr;
    return OpenInNewWindow(std::make_unique<CDib>(*pDoc->GetDib()));
}

int CImageEnhancerView::CountColors(CDib& dib) {
    std::unordered_set<uint32_t> colors;
    colors.reserve(67579);
    std::vector<uint8_t> row(static_cast<size_t>(dib.GetWidth()) * 3);
    for (int y = 0; y < dib.GetHeight(); ++y) {
        const uint8_t* p = dib.GetRowRGB(y, row.data());
        // The row holds blue, green, red per pixel.
        for (int x = 0; x < dib.GetWidth(); ++x, p += 3)
            colors.insert(uint32_t(p[2]) << 16 | uint32_t(p[1]) << 8 | p[0]);
    }
    return static_cast<int>(colors.size());
}

void CImageEnhancerView::OnCountColors() {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return;
    int n = 0;
    {
        CWaitCursor wait;
        n = CountColors(*pDoc->GetDib());
    }
    char buf[128];
    std::snprintf(buf, sizeof buf, LoadResString(IDS_COLORS_USED).c_str(), n);
    GetUserPrompt().MessageBox(buf, MB_OK | MB_ICONINFORMATION);
}

void CImageEnhancerView::OnImageInformation() {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return;
    CImageInfoDlg dlg(QApplication::activeWindow(), CImageInformation::Of(*pDoc));
    dlg.exec();
}

std::string CImageEnhancerView::WallpaperPath() {
    QString dir = QStandardPaths::writableLocation(QStandardPaths::AppDataLocation);
    QDir().mkpath(dir);
    return (dir + "/ZELKWP__.BMP").toStdString();
}

void CImageEnhancerView::OnWallpaper(bool bTile) {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return;
    const std::string path = WallpaperPath();
    {
        CWaitCursor wait;
        // A picture the desktop cannot show as it is goes as its display copy.
        std::unique_ptr<CDib> pDisplay =
            pDoc->GetDib()->NeedsDisplayDither() ? pDoc->GetDib()->CreateDisplayDib() : nullptr;
        (pDisplay ? *pDisplay : *pDoc->GetDib()).SaveBMP(path);
    }
    if (!TellDesktopWallpaper(path, bTile))
        GetUserPrompt().MessageBox("No desktop could be told to show the wallpaper. The picture is in:\n" +
                                       path,
                                   MB_OK | MB_ICONINFORMATION);
}

bool CImageEnhancerView::TellDesktopWallpaper(const std::string& path, bool bTile) {
    const QString file = QString::fromStdString(path);
    const QString uri = QUrl::fromLocalFile(file).toString();
    const QString desktop = qEnvironmentVariable("XDG_CURRENT_DESKTOP").toLower();
    auto run = [](const QString& program, const QStringList& args) {
        if (QStandardPaths::findExecutable(program).isEmpty()) return false;
        QProcess p;
        p.start(program, args);
        return p.waitForFinished(5000) && p.exitStatus() == QProcess::NormalExit && p.exitCode() == 0;
    };
    const QString option = bTile ? "wallpaper" : "centered";
    if (desktop.contains("kde")) {
        const QString script = QString("for (const d of desktops()) { d.wallpaperPlugin = 'org.kde.image';"
                                       " d.currentConfigGroup = ['Wallpaper','org.kde.image','General'];"
                                       " d.writeConfig('Image', '%1'); d.writeConfig('FillMode', %2); }")
                                   .arg(uri)
                                   .arg(bTile ? 3 : 6);
        for (const char* q : {"qdbus6", "qdbus", "qdbus-qt5"})
            if (run(q, {"org.kde.plasmashell", "/PlasmaShell", "org.kde.PlasmaShell.evaluateScript", script}))
                return true;
    }
    if (desktop.contains("xfce")) {
        // Every monitor's last-image property of the running session.
        QProcess list;
        if (!QStandardPaths::findExecutable("xfconf-query").isEmpty()) {
            list.start("xfconf-query", {"-c", "xfce4-desktop", "-l"});
            list.waitForFinished(5000);
            bool bAny = false;
            for (const QString& prop : QString::fromUtf8(list.readAllStandardOutput()).split('\n'))
                if (prop.endsWith("/last-image")) {
                    bAny |= run("xfconf-query", {"-c", "xfce4-desktop", "-p", prop, "-s", file});
                    QString style = prop;
                    style.replace("/last-image", "/image-style");
                    run("xfconf-query", {"-c", "xfce4-desktop", "-p", style, "-s", bTile ? "2" : "1"});
                }
            if (bAny) return true;
        }
    }
    struct Schema {
        const char* name;
        const char* desktop;
    };
    for (const Schema& s :
         {Schema{"org.cinnamon.desktop.background", "cinnamon"}, Schema{"org.mate.background", "mate"},
          Schema{"org.gnome.desktop.background", ""}}) {
        if (*s.desktop && !desktop.contains(s.desktop)) continue;
        const bool bMate = std::string(s.name) == "org.mate.background";
        bool bOk =
            run("gsettings", {"set", s.name, bMate ? "picture-filename" : "picture-uri", bMate ? file : uri});
        if (!bOk) continue;
        if (!bMate) run("gsettings", {"set", s.name, "picture-uri-dark", uri});
        run("gsettings", {"set", s.name, "picture-options", option});
        return true;
    }
    return false;
}

// ---- the crop tool ---------------------------------------------------------------

void CImageEnhancerView::DoCrop(int nLeft, int nTop, int nRight, int nBottom, bool bRepaint) {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return;
    CDib* pDib = pDoc->GetDib();
    nLeft = std::clamp(nLeft, 0, pDib->GetWidth() - 1);
    nTop = std::clamp(nTop, 0, pDib->GetHeight() - 1);
    nRight = std::clamp(nRight, nLeft, pDib->GetWidth() - 1);
    nBottom = std::clamp(nBottom, nTop, pDib->GetHeight() - 1);
    CUndo undo(this, pDib);
    CWaitCursor wait;
    CCrop crop(pDib, nLeft, nTop, nRight - nLeft + 1, nBottom - nTop + 1);
    std::unique_ptr<CDib> pNew(crop.Crop());
    if (!pNew) return;
    pDoc->SetDib(std::move(pNew));
    if (bRepaint) pDoc->UpdateAllViews(nullptr, kHintImage);
}

void CImageEnhancerView::StartCropTool() {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return;
    const int w = pDoc->GetDib()->GetWidth(), h = pDoc->GetDib()->GetHeight();
    // A quarter of the visible part's width and height, centred in it.
    QRect visible(0, 0, w, h);
    if (QScrollArea* pScroll = ScrollArea()) {
        const QRect vp(mapFrom(pScroll->viewport(), QPoint(0, 0)), pScroll->viewport()->size());
        visible = visible.intersected(vp);
    }
    const int cw = std::max(1, visible.width() / 4), ch = std::max(1, visible.height() / 4);
    m_rcCrop = QRect(visible.center().x() - cw / 2, visible.center().y() - ch / 2, cw, ch);
    m_bCropConfirmed = false;
    m_nDrag = 0;
    SetToolKind(EEnhancerTool::Crop);
    update();
}

QPoint CImageEnhancerView::ToImage(const QPoint& client) const {
    if (m_nZoom >= 1) return QPoint(client.x() / m_nZoom, client.y() / m_nZoom);
    return QPoint(client.x() * -m_nZoom, client.y() * -m_nZoom);
}

void CImageEnhancerView::paintEvent(QPaintEvent* pEvent) {
    CBaseView::paintEvent(pEvent);
    if (m_tool != EEnhancerTool::Crop || m_rcCrop.isNull()) return;
    // The crop rectangle and its corner handles over the picture (1:1 only).
    QPainter painter(this);
    painter.setPen(QPen(Qt::white, 1, Qt::DashLine));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(m_rcCrop);
    painter.setPen(Qt::black);
    painter.setBrush(Qt::white);
    for (const QPoint& c :
         {m_rcCrop.topLeft(), m_rcCrop.topRight(), m_rcCrop.bottomLeft(), m_rcCrop.bottomRight()})
        painter.drawRect(QRect(c - QPoint(3, 3), QSize(6, 6)));
}

// ---- mouse and keys ------------------------------------------------------------

void CImageEnhancerView::mousePressEvent(QMouseEvent* pEvent) {
    const QPoint pt = pEvent->position().toPoint();
    if (m_tool == EEnhancerTool::Zoom) {
        if (pEvent->button() == Qt::LeftButton) ZoomIn(&pt);
        if (pEvent->button() == Qt::RightButton) ZoomOut(&pt);
        return;
    }
    if (m_tool == EEnhancerTool::Crop && pEvent->button() == Qt::LeftButton) {
        // On the rectangle it moves; outside a new one is drawn.
        m_ptDragStart = ToImage(pt);
        m_rcDragStart = m_rcCrop;
        m_nDrag = m_rcCrop.adjusted(-3, -3, 3, 3).contains(m_ptDragStart) ? 2 : 1;
        if (m_nDrag == 1) m_rcCrop = QRect(m_ptDragStart, QSize(1, 1));
        update();
        return;
    }
    CBaseView::mousePressEvent(pEvent);
}

void CImageEnhancerView::mouseReleaseEvent(QMouseEvent* pEvent) {
    m_nDrag = 0;
    CBaseView::mouseReleaseEvent(pEvent);
}

void CImageEnhancerView::mouseDoubleClickEvent(QMouseEvent* pEvent) {
    if (m_tool == EEnhancerTool::Crop && pEvent->button() == Qt::LeftButton &&
        m_rcCrop.contains(ToImage(pEvent->position().toPoint()))) {
        m_nDrag = 0;
        m_bCropConfirmed = true;
        if (const COperation* op = COperationTable::FindById(ID_CROP_TOOL)) RunCommand(*op);
        return;
    }
    CBaseView::mouseDoubleClickEvent(pEvent);
}

void CImageEnhancerView::mouseMoveEvent(QMouseEvent* pEvent) {
    const QPoint pt = pEvent->position().toPoint();
    char buf[48];
    std::snprintf(buf, sizeof buf, "(%d,%d)", pt.x(), pt.y());
    GetUserPrompt().SetStatusText(buf);
    if (m_tool == EEnhancerTool::Crop && m_nDrag != 0 && GetDocument() && GetDocument()->GetDib()) {
        const QRect bounds(0, 0, GetDocument()->GetDib()->GetWidth(), GetDocument()->GetDib()->GetHeight());
        const QPoint ip = ToImage(pt);
        if (m_nDrag == 1) {
            m_rcCrop = QRect(m_ptDragStart, ip).normalized().intersected(bounds);
        } else {
            // Moved, kept inside the picture.
            QRect r = m_rcDragStart.translated(ip - m_ptDragStart);
            r.moveLeft(std::clamp(r.left(), 0, bounds.width() - r.width()));
            r.moveTop(std::clamp(r.top(), 0, bounds.height() - r.height()));
            m_rcCrop = r;
        }
        update();
    }
    CBaseView::mouseMoveEvent(pEvent);
}

void CImageEnhancerView::keyPressEvent(QKeyEvent* pEvent) {
    if (pEvent->key() == Qt::Key_Escape && m_tool == EEnhancerTool::Zoom) {
        if (const COperation* op = COperationTable::FindById(ID_ZOOM_TOOL)) RunCommand(*op);
        return;
    }
    CBaseView::keyPressEvent(pEvent);
}

QWidget* CImageEnhancerView::CreateHolder() {
    auto* pScroll = new QScrollArea;
    pScroll->setWidget(this);
    pScroll->setAlignment(Qt::AlignCenter);
    QPalette pal = pScroll->palette();
    pal.setColor(QPalette::Window, QColor(192, 192, 192));
    pScroll->setPalette(pal);
    pScroll->setBackgroundRole(QPalette::Window);
    return pScroll;
}

// ---- menus ---------------------------------------------------------------------

void AddEnhancerMenus(CMDIFrameWnd* pFrame) {
    QMenuBar* bar = pFrame->menuBar();
    QAction* before = nullptr;
    for (QAction* a : bar->actions())
        if (a->text() == "&Window") before = a;
    auto item = [pFrame](QMenu* menu, unsigned nID) {
        const COperation* op = COperationTable::FindById(nID);
        if (!op || !op->m_pszMenuText) return;
        QAction* a = pFrame->AddCommand(menu, nID, op->m_pszMenuText);
        if (op->m_check != ECheckRule::None) a->setCheckable(true);
    };
    auto range = [&](QMenu* menu, std::initializer_list<unsigned> ids) {
        for (unsigned nID : ids) item(menu, nID);
    };
    std::vector<QMenu*> menus;
    auto top = [&](const char* title) {
        auto* m = new QMenu(title, pFrame);
        menus.push_back(m);
        bar->insertMenu(before, m);
        return m;
    };
    auto sub = [&](QMenu* parent, const char* title) {
        QMenu* m = parent->addMenu(title);
        menus.push_back(m);
        return m;
    };
    QMenu* edit = top("&Edit");
    range(edit, {ID_EDIT_UNDO, ID_EDIT_REDO});
    edit->addSeparator();
    range(edit, {ID_EDIT_COPY, ID_EDIT_PASTE});
    edit->addSeparator();
    range(edit, {2184});
    QMenu* image = top("&Image");
    range(image, {2060, 2127});
    range(sub(image, "Zoom &in"), {2080, 2062, 2063, 2064, 2065, 2066, 2067, 2069, 2068});
    range(sub(image, "Zoom &out"), {2071, 2072, 2073, 2074, 2075, 2076, 2077, 2078, 2079});
    range(image, {2059});
    image->addSeparator();
    range(image, {2039, 2119});
    image->addSeparator();
    range(sub(image, "Set as &Wallpaper"), {2192, 2193});
    QMenu* geometry = top("&Transform");
    range(geometry, {2038, 2058});
    range(sub(geometry, "&Rotate"), {2034, 2035, 2036, 2037});
    range(geometry, {2031, 2032, 2033});
    QMenu* colors = top("&Colors");
    range(colors, {2197, 2085, 2027});
    QMenu* hist = sub(colors, "&Histogram");
    range(hist, {2173, 2174});
    range(sub(colors, "&False Color"), {2123, 2124, 2125});
    range(colors, {2028, 2029, 2030});
    QMenu* depth = top("Change &Depth");
    range(depth, {2126, 2052, 2046, 2051, 2054, 2056, 2049, 2055, 2120, 2050});
    QMenu* effects = top("Effe&cts");
    range(effects, {2201, 2164});
    range(sub(effects, "&Edge"), {2186, 2187, 2188, 2189, 2190});
    QMenu* blur = sub(effects, "&Blur");
    range(blur, {2165, 2166, 2167, 2196});
    range(sub(effects, "&Sharpen"), {2168, 2169, 2170});
    range(sub(effects, "&Rank"), {2171, 2194, 2195});
    range(sub(effects, "&Arithmetic"), {2176, 2177, 2178, 2179, 2180});
    // Commands without a menu item still answer their keys and buttons.
    for (const COperation& op : COperationTable::All())
        if (!op.m_pszMenuText || !pFrame->CommandAction(op.m_nCommandId)) {
            QAction* a = pFrame->AddCommand(nullptr, op.m_nCommandId, "");
            pFrame->addAction(a);
        }
    // The main table's second keys.
    auto extraKey = [pFrame](unsigned nID, const QKeySequence& keys) {
        auto* a = new QAction(pFrame);
        a->setShortcut(keys);
        a->setShortcutContext(Qt::ApplicationShortcut);
        QObject::connect(a, &QAction::triggered, pFrame, [pFrame, nID] { pFrame->RouteCommand(nID); });
        pFrame->addAction(a);
    };
    extraKey(ID_EDIT_UNDO, QKeySequence(Qt::ALT | Qt::Key_Backspace));
    extraKey(ID_EDIT_COPY, QKeySequence(Qt::CTRL | Qt::Key_Insert));
    extraKey(ID_EDIT_PASTE, QKeySequence(Qt::SHIFT | Qt::Key_Insert));
    for (QMenu* m : menus)
        QObject::connect(m, &QMenu::aboutToShow, pFrame, [pFrame] { pFrame->UpdateCommandUI(); });
}

bool CImageEnhancerView::CanPrint() const {
    CImageEnhancerDoc* pDoc = GetDocument();
    return pDoc && pDoc->GetDib();
}

std::unique_ptr<CPrintDlg> CImageEnhancerView::CreatePrintDialog() {
    CImageEnhancerDoc* pDoc = GetDocument();
    if (!pDoc || !pDoc->GetDib()) return nullptr;
    return std::make_unique<CImagePrintDlg>(GetImagePrintSettings(),
                                            AfxGetApp() ? AfxGetApp()->m_pStore : nullptr, GetRunPrinter(),
                                            pDoc->GetDib(), this);
}
