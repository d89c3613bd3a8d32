#pragma once
// The picture window: the picture at a zoom factor (16x … 1/16x) or fitted to
// the window, the commands of the enhancer's menus, undo and redo, the
// clipboard, and the zoom tool on the mouse.

#include "imaging/CUndo.h"
#include "imaging/ops/COperationTable.h"
#include "view/CBaseView.h"

#include <QPoint>
#include <QSize>
#include <functional>

class QScrollArea;
class CImageEnhancerDoc;
class CDib;
class CMDIFrameWnd;

class CImageEnhancerView : public CBaseView, public IUndoOwner {
    DECLARE_DYNAMIC(CImageEnhancerView)
public:
    // View hints: the pixels or size changed; the zoom or fit mode changed.
    enum : long { kHintImage = 5, kHintZoom = 6 };

    CImageEnhancerView();
    ~CImageEnhancerView() override;

    CImageEnhancerDoc* GetDocument() const;
    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, long lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    QSize sizeHint() const override;
    QWidget* CreateHolder() override;
    bool IsEnhancerView() const override { return true; }
    std::string FrameTitle(const std::string& docTitle) const override;
    void UpdateFrameTitle(const std::string& docTitle) override;

    // Zoom: n ≥ 2 magnified, 1 actual size, −n reduced to 1/n.
    int GetZoom() const { return m_nZoom; }
    bool IsFitToWindow() const { return m_bFitToWindow; }
    // Keeps the client point (the centre when null) near the centre.
    void SetZoom(int nZoom, const QPoint* pPoint = nullptr);
    void ZoomIn(const QPoint* pPoint = nullptr);
    void ZoomOut(const QPoint* pPoint = nullptr);
    void SetFitToWindow(bool bFit);
    // The next zoom step in and out (0 and −1 skipped, ±16 the limits).
    static int NextZoomIn(int nZoom);
    static int NextZoomOut(int nZoom);
    // The image rectangle a view rectangle shows and where it is drawn.
    static void MapPaintRect(const CRect& rcClip, int nZoom, int nWidth, int nHeight, CRect& rcSource,
                             CRect& rcDest);

    // Crops to the inclusive rectangle (image coordinates), with undo.
    void DoCrop(int nLeft, int nTop, int nRight, int nBottom, bool bRepaint = true);
    // The crop tool's rectangle (image coordinates, inclusive right and bottom).
    QRect GetCropRect() const { return m_rcCrop; }

    EEnhancerTool GetToolKind() const { return m_tool; }
    void SetToolKind(EEnhancerTool tool);
    // The zoom tool shows the cursor of the present zoom; other tools the arrow.
    void UpdateToolCursor();
    CEnhancerViewState GetViewState() const;

    // Runs a command of the operation table on the document's image: its
    // dialog, the undo capture, the call, the modified count and the repaint.
    void RunPointOperation(const COperation& op);
    // Runs the operation with the values given (no dialog).
    void RunOperationWith(const COperation& op, const COpValues& values);

    void OnEditUndo();
    void OnEditRedo();
    void OnEditCopy();
    void OnEditPaste();
    CImageEnhancerDoc* OnDuplicate();
    void OnCountColors();
    void OnImageInformation();
    void OnWallpaper(bool bTile);
    static int CountColors(CDib& dib);
    // Where the wallpaper picture is written, and telling the desktop about
    // it (false when no desktop interface answered).
    static std::string WallpaperPath();
    static bool TellDesktopWallpaper(const std::string& path, bool bTile);
    static bool ClipboardHasPicture();
    // The program closes: while the clipboard holds this program's picture,
    // ask whether to leave it for the other programs (rendered now) or not.
    static void OfferClipboardOnExit();
    // The document's picture is about to go: a delayed copy of it on the
    // clipboard is made now so that the clipboard keeps it.
    static void KeepClipboardPicture(const CImageEnhancerDoc* pDoc);
    // Whether the machine has a floating-point unit: every machine this
    // program runs on has one, the seam stays for the warning's tests.
    static std::function<bool()> s_hasMathCoprocessor;

    // Printing the picture.
    std::unique_ptr<CPrintDlg> CreatePrintDialog() override;
    std::string PreviewSetupTitle() const override { return "Image Print Preview Setup"; }
    bool CanPrint() const override;

    // IUndoOwner
    CDib* GetUndoDib() override;
    void SetUndoDib(CDib* pDib) override;

protected:
    void mousePressEvent(QMouseEvent* pEvent) override;
    void mouseMoveEvent(QMouseEvent* pEvent) override;
    void mouseReleaseEvent(QMouseEvent* pEvent) override;
    void mouseDoubleClickEvent(QMouseEvent* pEvent) override;
    void keyPressEvent(QKeyEvent* pEvent) override;
    void paintEvent(QPaintEvent* pEvent) override;

private:
    void RegisterCommands();
    void RunCommand(const COperation& op);
    void LayoutView();
    QScrollArea* ScrollArea() const;
    QSize ZoomedSize() const;
    void UpdatePictureIcon();
    // A new untitled window of this template holding the picture.
    CImageEnhancerDoc* OpenInNewWindow(std::unique_ptr<CDib> pDib);

    int m_nZoom = 1;
    bool m_bFitToWindow = false;
    EEnhancerTool m_tool = EEnhancerTool::Default;
    QSize m_sizeLaidOut;
    // The crop tool: its rectangle, the drag under way and whether the
    // rectangle was confirmed by a double-click.
    void StartCropTool();
    QPoint ToImage(const QPoint& client) const;
    QRect m_rcCrop;
    QRect m_rcDragStart;
    QPoint m_ptDragStart;
    int m_nDrag = 0; // 0 none, 1 new rectangle, 2 moving it
    bool m_bCropConfirmed = false;
};

// The enhancer's menus (menu 1020) on the main frame, next to the Window menu.
void AddEnhancerMenus(CMDIFrameWnd* pFrame);
