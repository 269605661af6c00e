#include "widgets/XTreeCtrl.h"

#include "platform/Trace.h"

#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>

CXTreeCtrl::CXTreeCtrl(QWidget* parent) : QTreeWidget(parent) {
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    QAbstractItemView::setDragEnabled(false); // the drag is our own
    setMouseTracking(true);
    setVerticalScrollMode(QAbstractItemView::ScrollPerItem);
    m_hoverTimer.setSingleShot(true);
    m_hoverTimer.setInterval(kHoverMs);
    connect(&m_hoverTimer, &QTimer::timeout, this, [this] { OnTimer(kHoverTimer); });
    m_scrollTimer.setInterval(kScrollMs);
    connect(&m_scrollTimer, &QTimer::timeout, this, [this] { OnTimer(kScrollTimer); });
    m_cursor = [] { return QCursor::pos(); };
    connect(this, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* current) {
        Trace(QStringLiteral("selected item changed\n"));
        emit xtreeSelChanged(SelectionFlags(current));
    });
}

CXTreeCtrl::~CXTreeCtrl() {
    delete m_pDragPicture;
}

void CXTreeCtrl::SetFolderImages(const QPixmap& strip) {
    m_folderIcon = QIcon();
    if (strip.isNull())
        return;
    m_folderIcon.addPixmap(strip.copy(0, 0, 16, strip.height()), QIcon::Normal);
    m_folderIcon.addPixmap(strip.copy(16, 0, 16, strip.height()), QIcon::Selected);
}

bool CXTreeCtrl::TimerRunning(int id) const {
    return id == kHoverTimer ? m_hoverTimer.isActive() : m_scrollTimer.isActive();
}

unsigned CXTreeCtrl::SelectionFlags(const QTreeWidgetItem* item) {
    if (!item)
        return 0;
    unsigned flags = HasSelection;
    const QTreeWidgetItem* parent = item->parent();
    const QTreeWidget* tree = item->treeWidget();
    auto* self = const_cast<QTreeWidgetItem*>(item); // Qt's lookups take non-const items
    const int index = parent ? parent->indexOfChild(self)
                             : (tree ? tree->indexOfTopLevelItem(self) : 0);
    const int count = parent ? parent->childCount() : (tree ? tree->topLevelItemCount() : 1);
    if (index + 1 < count)
        flags |= HasNextSibling;
    if (index > 0)
        flags |= HasPreviousSibling;
    if (parent)
        flags |= HasParent;
    return flags;
}

QTreeWidgetItem* CXTreeCtrl::CopyBranch(const QTreeWidgetItem* branch, QTreeWidgetItem* newParent) {
    QTreeWidgetItem* copy = branch->clone(); // text, images, data, state, and every child
    if (newParent)
        newParent->addChild(copy);
    else
        addTopLevelItem(copy);
    return copy;
}

void CXTreeCtrl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton) {
        m_pressed.start();
        m_pressPoint = event->position().toPoint();
        m_bDragRefused = false;
    }
    QTreeWidget::mousePressEvent(event);
}

void CXTreeCtrl::mouseMoveEvent(QMouseEvent* event) {
    const QPoint at = event->position().toPoint();
    m_hoverTimer.start();
    m_lastPoint = at;
    if (!m_bDragging && m_bDragEnabled && !m_bDragRefused &&
        (event->buttons() & Qt::LeftButton) && m_pressed.isValid() &&
        (at - m_pressPoint).manhattanLength() >= QApplication::startDragDistance()) {
        QTreeWidgetItem* item = itemAt(m_pressPoint);
        if (item && m_pressed.elapsed() >= kMinimumPressMs)
            beginDrag(item, at);
        else
            m_bDragRefused = true; // too soon after the press: no drag for it
    }
    if (!m_bDragging) {
        QTreeWidget::mouseMoveEvent(event);
        return;
    }
    moveDragPicture(at);
    if (QTreeWidgetItem* over = itemAt(at))
        setDropTarget(over);
    if (at.x() < viewport()->rect().left() + kRootEdge)
        setDropTarget(nullptr);
}

void CXTreeCtrl::beginDrag(QTreeWidgetItem* item, const QPoint& at) {
    m_pDragItem = item;
    m_pDropTarget = nullptr;
    // A translucent picture of the item, drawn over the window.
    const QRect rect = visualItemRect(item);
    QPixmap shot = viewport()->grab(rect);
    QPixmap picture(shot.size());
    picture.fill(Qt::transparent);
    {
        QPainter painter(&picture);
        painter.setOpacity(0.6);
        painter.drawPixmap(0, 0, shot);
    }
    delete m_pDragPicture;
    m_pDragPicture = new QLabel(window());
    m_pDragPicture->setAttribute(Qt::WA_TransparentForMouseEvents);
    m_pDragPicture->setPixmap(picture);
    m_pDragPicture->setAccessibleName(item->text(0));
    m_pDragPicture->resize(picture.size());
    m_bDragging = true;
    moveDragPicture(at);
    m_pDragPicture->show();
    m_pDragPicture->raise();
    m_nScrollTicks = 0;
    m_scrollTimer.start();
    emit xtreeNotify(DragBegin);
}

void CXTreeCtrl::moveDragPicture(const QPoint& at) {
    if (m_pDragPicture)
        m_pDragPicture->move(viewport()->mapTo(window(), at) - kHotSpot);
}

void CXTreeCtrl::setDropTarget(QTreeWidgetItem* item) {
    if (m_pDropTarget == item)
        return;
    m_pDropTarget = item;
    viewport()->update();
}

void CXTreeCtrl::endDrag() {
    m_bDragging = false;
    delete m_pDragPicture;
    m_pDragPicture = nullptr;
    m_scrollTimer.stop();
    setDropTarget(nullptr);
}

void CXTreeCtrl::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (!m_bDragging)
        return;
    drop();
}

bool CXTreeCtrl::isInBranch(const QTreeWidgetItem* item, const QTreeWidgetItem* branch) const {
    for (const QTreeWidgetItem* i = item; i; i = i->parent())
        if (i == branch)
            return true;
    return false;
}

void CXTreeCtrl::drop() {
    QTreeWidgetItem* dragged = m_pDragItem;
    QTreeWidgetItem* target = m_pDropTarget;
    endDrag();
    m_pDragItem = nullptr;
    if (dragged == target || !dragged) {
        emit dragFinished();
        return;
    }
    if (target)
        target->setExpanded(true);
    if (!isInBranch(target, dragged)) {
        QTreeWidgetItem* copy = CopyBranch(dragged, target);
        delete dragged;
        setCurrentItem(copy);
        emit xtreeNotify(BranchMoved);
    } else {
        // Onto its own descendant: the branch stays, a copy goes under the descendant.
        QTreeWidgetItem* atRoot = CopyBranch(dragged, nullptr);
        QTreeWidgetItem* copy = CopyBranch(atRoot, target);
        delete atRoot;
        setCurrentItem(copy);
    }
    emit dragFinished();
}

void CXTreeCtrl::focusOutEvent(QFocusEvent* event) {
    QTreeWidget::focusOutEvent(event);
    if (m_bDragging && event->reason() != Qt::PopupFocusReason) {
        endDrag(); // the tree lost the mouse: no move
        m_pDragItem = nullptr;
        emit dragFinished();
    }
}

void CXTreeCtrl::hideEvent(QHideEvent* event) {
    QTreeWidget::hideEvent(event);
    if (m_bDragging) {
        endDrag();
        m_pDragItem = nullptr;
        emit dragFinished();
    }
}

void CXTreeCtrl::OnTimer(int id) {
    if (id == kHoverTimer)
        hoverStep();
    else if (id == kScrollTimer)
        scrollStep();
}

void CXTreeCtrl::hoverStep() {
    m_hoverTimer.stop();
    QTreeWidgetItem* item = itemAt(m_lastPoint);
    if (item && m_bDragging) {
        setCurrentItem(item);
        item->setExpanded(true);
    }
}

int CXTreeCtrl::visibleCount() const {
    QTreeWidgetItem* first = itemAt(0, 0);
    const int row = first ? std::max(1, visualItemRect(first).height()) : 1;
    return viewport()->height() / row;
}

void CXTreeCtrl::scrollStep() {
    ++m_nScrollTicks;
    const QPoint cursor = viewport()->mapFromGlobal(m_cursor());
    const QRect client = viewport()->rect();
    QTreeWidgetItem* first = itemAt(0, 0);
    QTreeWidgetItem* shown = nullptr;
    if (cursor.y() < client.top() + 10) {
        const int d = std::max(1, 6 - (client.top() + 10 - cursor.y()) / 20);
        if (m_nScrollTicks % d != 0)
            return;
        verticalScrollBar()->setValue(verticalScrollBar()->value() - 1);
        shown = first;
    } else if (cursor.y() > client.bottom() + 1 - 10) {
        const int d = std::max(1, 6 - (cursor.y() - (client.bottom() + 1 - 10)) / 20);
        if (m_nScrollTicks % d != 0)
            return;
        verticalScrollBar()->setValue(verticalScrollBar()->value() + 1);
        shown = first;
        for (int k = 0; shown && k < visibleCount() - 1; ++k)
            shown = itemBelow(shown);
    } else {
        return;
    }
    setDropTarget(shown);
}

void CXTreeCtrl::drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                         const QModelIndex& index) const {
    QTreeWidget::drawRow(painter, option, index);
    if (!m_pDropTarget || itemFromIndex(index) != m_pDropTarget)
        return;
    // The drop highlight: a frame, unlike the filled selection.
    painter->save();
    QPen pen(palette().color(QPalette::Highlight), 2, Qt::DashLine);
    painter->setPen(pen);
    painter->drawRect(option.rect.adjusted(1, 1, -2, -2));
    painter->restore();
}
