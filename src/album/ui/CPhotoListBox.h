#pragma once
// The album window's photo list: an owner-drawn, multi-column list with
// extended selection over the whole view. It answers other photo lists'
// "who are you" question, and runs the drags within and between albums.

#include <QAbstractListModel>
#include <QListView>
#include <QStyledItemDelegate>
#include <vector>

class CTnView;

// The items are the element indexes; their data is the index.
class CPhotoListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    void SetCount(int nCount);

private:
    int m_nCount = 0;
};

class CPhotoListBox : public QListView {
    Q_OBJECT
public:
    // The private type that stands for the message "QLNPHOTOLISTBOX_WHOAREYOU".
    static constexpr const char* kWhoAreYou = "application/x-qln-photolistbox-whoareyou";
    static constexpr int kControlId = 59648;
    static constexpr int kScrollTimerId = 100;

    explicit CPhotoListBox(CTnView* pView);
    ~CPhotoListBox() override;

    CTnView* GetView() const { return m_pView; }
    CPhotoListModel* Model() const { return m_pModel; }
    // Our photo lists answer the question; anything else is not one of them.
    bool AnswersWhoAreYou(const QString& type) const { return type == kWhoAreYou; }
    // The photo list under a screen point, or null.
    static CPhotoListBox* FromGlobalPoint(const QPoint& global);

    void SetItemSize(QSize size);
    int GetTopIndex() const;
    // The drop position for a point of the viewport: the item under it, or
    // the count past the last item.
    int DropPositionAt(const QPoint& pos) const;
    std::vector<int> SelectedIndexes() const;
    // The selected photos in the order they were selected (those whose order
    // is not known, after the list changed, last and ascending).
    std::vector<int> SelectedInOrder() const;
    void SelectOnly(int nIndex);
    bool IsDragging() const { return m_bDragging; }

protected:
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void timerEvent(QTimerEvent* e) override;
    void selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    void EndDrag();

    CTnView* m_pView;
    CPhotoListModel* m_pModel;
    QSize m_itemSize;
    bool m_bPending = false;  // button down on a selected item
    bool m_bDragging = false; // the threshold was passed
    int m_nPressed = -1;
    QRect m_rcThreshold;
    QPoint m_lastPos;
    QPoint m_pressPos;
    int m_nTimer = 0;
    std::vector<int> m_selectionOrder; // rows as they were selected
};

class CPhotoItemDelegate : public QStyledItemDelegate {
public:
    explicit CPhotoItemDelegate(CTnView* pView) : m_pView(pView) {}
    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;
    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override;

private:
    CTnView* m_pView;
};
