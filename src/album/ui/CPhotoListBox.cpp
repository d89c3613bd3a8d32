#include "album/ui/CPhotoListBox.h"

#include "album/ui/CTnView.h"
#include "framework/ReportException.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <algorithm>

int CPhotoListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_nCount;
}

QVariant CPhotoListModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || role != Qt::UserRole) return {};
    return index.row();
}

void CPhotoListModel::SetCount(int nCount) {
    beginResetModel();
    m_nCount = nCount;
    endResetModel();
}

CPhotoListBox::CPhotoListBox(CTnView* pView)
    : QListView(pView), m_pView(pView), m_pModel(new CPhotoListModel(this)) {
    setObjectName("photoListBox");
    setModel(m_pModel);
    setItemDelegate(new CPhotoItemDelegate(pView));
    setViewMode(QListView::ListMode);
    setFlow(QListView::TopToBottom);
    setWrapping(true);
    setResizeMode(QListView::Adjust);
    setUniformItemSizes(true);
    setMovement(QListView::Static);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setSelectionRectVisible(false);
    setDragEnabled(false);
    setSpacing(0);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setFrameShape(QFrame::NoFrame);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setProperty(kWhoAreYou, true);
    // Where there are no cells the list shows the button face.
    QPalette pal = palette();
    pal.setColor(QPalette::Base, pal.color(QPalette::Button));
    setPalette(pal);
}

CPhotoListBox::~CPhotoListBox() = default;

CPhotoListBox* CPhotoListBox::FromGlobalPoint(const QPoint& global) {
    for (QWidget* w = QApplication::widgetAt(global); w; w = w->parentWidget())
        if (auto* lb = qobject_cast<CPhotoListBox*>(w); lb && lb->AnswersWhoAreYou(kWhoAreYou)) return lb;
    return nullptr;
}

void CPhotoListBox::SetItemSize(QSize size) {
    m_itemSize = size;
    setGridSize(size);
    horizontalScrollBar()->setSingleStep(size.width());
    doItemsLayout();
}

int CPhotoListBox::GetTopIndex() const {
    const QModelIndex i = indexAt(QPoint(1, 1));
    return i.isValid() ? i.row() : 0;
}

int CPhotoListBox::DropPositionAt(const QPoint& pos) const {
    const QModelIndex i = indexAt(pos);
    return i.isValid() ? i.row() : m_pModel->rowCount();
}

std::vector<int> CPhotoListBox::SelectedIndexes() const {
    std::vector<int> rows;
    for (const QModelIndex& i : selectionModel()->selectedIndexes()) rows.push_back(i.row());
    std::sort(rows.begin(), rows.end());
    return rows;
}

void CPhotoListBox::SelectOnly(int nIndex) {
    const QModelIndex i = m_pModel->index(nIndex, 0);
    selectionModel()->setCurrentIndex(i, QItemSelectionModel::ClearAndSelect);
}

void CPhotoListBox::mousePressEvent(QMouseEvent* e) {
    const QModelIndex i = indexAt(e->position().toPoint());
    const bool bPlain = !(e->modifiers() & (Qt::ShiftModifier | Qt::ControlModifier));
    if (e->button() == Qt::LeftButton && bPlain && i.isValid() && selectionModel()->isSelected(i)) {
        // A possible drag: it starts when the pointer leaves the item's neighbourhood.
        m_bPending = true;
        m_bDragging = false;
        m_nPressed = i.row();
        QRect r = visualRect(i);
        r.adjust(-std::min(10, r.width() / 2), -std::min(10, r.height() / 2), std::min(10, r.width() / 2),
                 std::min(10, r.height() / 2));
        m_rcThreshold = r;
        m_lastPos = m_pressPos = e->position().toPoint();
        if (!m_pView->IsDragBetweenAlbums()) m_nTimer = startTimer(kScrollTimerId);
        setFocus();
        return;
    }
    QListView::mousePressEvent(e);
}

void CPhotoListBox::mouseMoveEvent(QMouseEvent* e) {
    if (!m_bPending) {
        QListView::mouseMoveEvent(e);
        return;
    }
    m_lastPos = e->position().toPoint();
    if (!m_bDragging && !m_rcThreshold.contains(m_lastPos)) {
        m_bDragging = true;
        viewport()->setCursor(Qt::DragMoveCursor);
    }
}

void CPhotoListBox::mouseReleaseEvent(QMouseEvent* e) {
    if (!m_bPending) {
        QListView::mouseReleaseEvent(e);
        return;
    }
    const bool bDragged = m_bDragging;
    const int nPressed = m_nPressed;
    EndDrag();
    if (!bDragged) {
        // A plain click on a selected item: the list's own click, which selects it alone.
        (void)nPressed;
        QMouseEvent press(QEvent::MouseButtonPress, QPointF(m_pressPos), e->globalPosition(), Qt::LeftButton,
                          Qt::LeftButton, {});
        QListView::mousePressEvent(&press);
        QListView::mouseReleaseEvent(e);
        return;
    }
    const QPoint pos = e->position().toPoint();
    if (!m_pView->IsDragBetweenAlbums()) {
        if (viewport()->rect().contains(pos)) m_pView->DropWithin(SelectedIndexes(), DropPositionAt(pos));
        return;
    }
    const QPoint global = viewport()->mapToGlobal(pos);
    CPhotoListBox* pTarget = FromGlobalPoint(global);
    if (!pTarget || pTarget == this) return; // not one of our photo lists
    const int nPos = pTarget->DropPositionAt(pTarget->viewport()->mapFromGlobal(global));
    pTarget->GetView()->DropFromAlbum(*m_pView, SelectedIndexes(), nPos);
}

void CPhotoListBox::EndDrag() {
    if (m_nTimer) killTimer(m_nTimer);
    m_nTimer = 0;
    m_bPending = m_bDragging = false;
    m_nPressed = -1;
    viewport()->unsetCursor();
}

void CPhotoListBox::timerEvent(QTimerEvent* e) {
    if (e->timerId() != m_nTimer) {
        QListView::timerEvent(e);
        return;
    }
    if (!m_bDragging) return;
    // Past the left or right edge the list scrolls one column.
    QScrollBar* bar = horizontalScrollBar();
    if (m_lastPos.x() < 0)
        bar->setValue(bar->value() - m_itemSize.width());
    else if (m_lastPos.x() >= viewport()->width())
        bar->setValue(bar->value() + m_itemSize.width());
}

void CPhotoListBox::keyPressEvent(QKeyEvent* e) {
    switch (e->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        m_pView->OpenCurrentPhoto();
        return;
    case Qt::Key_Delete:
        try {
            m_pView->DeleteSelection();
        } catch (...) {
            ProcessWndProcException(std::current_exception(), WM_COMMAND, false);
        }
        return;
    default:
        QListView::keyPressEvent(e);
    }
}

std::vector<int> CPhotoListBox::SelectedInOrder() const {
    const std::vector<int> selected = SelectedIndexes();
    std::vector<int> order;
    for (int i : m_selectionOrder)
        if (std::binary_search(selected.begin(), selected.end(), i) &&
            std::find(order.begin(), order.end(), i) == order.end())
            order.push_back(i);
    for (int i : selected)
        if (std::find(order.begin(), order.end(), i) == order.end()) order.push_back(i);
    return order;
}

void CPhotoListBox::selectionChanged(const QItemSelection& selected, const QItemSelection& deselected) {
    QListView::selectionChanged(selected, deselected);
    for (const QModelIndex& i : deselected.indexes()) std::erase(m_selectionOrder, i.row());
    for (const QModelIndex& i : selected.indexes()) m_selectionOrder.push_back(i.row());
    m_pView->OnSelectionChanged(currentIndex().isValid() ? currentIndex().row() : -1);
}

void CPhotoListBox::currentChanged(const QModelIndex& current, const QModelIndex& previous) {
    QListView::currentChanged(current, previous);
    m_pView->OnSelectionChanged(current.isValid() ? current.row() : -1);
}

void CPhotoItemDelegate::paint(QPainter* painter, const QStyleOptionViewItem& option,
                               const QModelIndex& index) const {
    m_pView->DrawItem(*painter, option.rect, index.row(), option.state & QStyle::State_Selected,
                      option.state & QStyle::State_HasFocus);
}

QSize CPhotoItemDelegate::sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const {
    const CSize s = m_pView->GetLayout().m_item;
    return QSize(s.cx, s.cy);
}
