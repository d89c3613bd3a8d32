#pragma once
// The album window's view: the photo list over the whole client area, with
// selection, the current photo, deleting, reordering by dragging, dragging
// to other albums, the thumbnail size commands and the album's dialogs.

#include "album/CTnLayout.h"
#include "view/CBaseView.h"

#include <QFont>
#include <memory>
#include <vector>

class CAlbumDoc;
class CPhotoListBox;
class QPainter;

class CTnView : public CBaseView {
    DECLARE_DYNAMIC(CTnView)
public:
    CTnView();
    ~CTnView() override;

    CAlbumDoc* GetDocument() const;
    CPhotoListBox* GetListBox() const { return m_pListBox; }
    const CTnLayout& GetLayout() const { return *m_pLayout; }
    const QFont& GetTitleFont() const { return m_titleFont; }

    void OnInitialUpdate() override;
    void OnUpdate(CView* pSender, long lHint, CObject* pHint) override;
    void OnDraw(CDC* pDC) override;
    QSize sizeHint() const override;
    std::string FrameTitle(const std::string& docTitle) const override;
    void UpdateFrameTitle(const std::string& docTitle) override;
    void SetCurrentIndex(int nIndex) override;
    // Printing the album (all photos or the selection).
    std::unique_ptr<CPrintDlg> CreatePrintDialog() override;
    std::string PreviewSetupTitle() const override { return "Album Print Preview Setup"; }
    bool CanPrint() const override;

    // The drag mode between albums (F2) is one for all album windows.
    static bool IsDragBetweenAlbums() { return s_bDragBetween; }
    static void SetDragBetweenAlbums(bool bOn) { s_bDragBetween = bOn; }

    // Called by the list.
    void DrawItem(QPainter& painter, const QRect& rcItem, int nIndex, bool bSelected, bool bFocus);
    void OnSelectionChanged(int nCaret);
    void OpenCurrentPhoto();
    void DeleteSelection();
    void DropWithin(const std::vector<int>& selection, int nDrop);
    void DropFromAlbum(CTnView& source, const std::vector<int>& selection, int nPos);
    void SetScale(int nScale);
    // A photo whose thumbnail cannot be read: 1198 and out of the album.
    void RemoveUnreadable(int nIndex);

    // Commands.
    void OnAddImages();
    void OnText();
    void OnAlbumInformation();

protected:
    void resizeEvent(QResizeEvent* e) override;

private:
    void ComputeLayout();
    void FillList(int nSelect);
    void RegisterCommands();

    CPhotoListBox* m_pListBox = nullptr;
    std::unique_ptr<CTnLayout> m_pLayout;
    QFont m_titleFont;
    bool m_bRemoving = false;
    std::vector<int> m_pendingRemovals;
    static bool s_bDragBetween;
};

// Adds the album window's menu to the main frame.
class CMDIFrameWnd;
void AddAlbumMenu(CMDIFrameWnd* pFrame);
