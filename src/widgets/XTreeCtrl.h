#pragma once
// A tree whose branches the user moves by dragging them onto another item: a translucent
// picture of the item follows the mouse, the view scrolls near its top and bottom edges
// and opens the item hovered over. Drags, moves and selection changes are told to the
// owner with the codes of the unit tree.

#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QTreeWidget>

#include <functional>

class QLabel;

class CXTreeCtrl : public QTreeWidget {
    Q_OBJECT
public:
    // The event codes of xtreeNotify.
    enum Notify { LabelEditBegin = 0, LabelEditEnd = 1, DragBegin = 2, BranchMoved = 3 };
    // Selection flags of xtreeSelChanged.
    enum SelectionFlag : unsigned {
        HasSelection = 0x01,
        HasNextSibling = 0x04,
        HasPreviousSibling = 0x08 | 0x20,
        HasParent = 0x10,
    };
    static constexpr int kHoverTimer = 1, kScrollTimer = 2;
    static constexpr int kHoverMs = 300, kScrollMs = 40;
    static constexpr int kMinimumPressMs = 200; // a drag needs more than 199 ms of pressing
    static constexpr int kRootEdge = 20;        // a drop this near the left edge: the root level
    static constexpr QPoint kHotSpot{8, 8};

    explicit CXTreeCtrl(QWidget* parent = nullptr);
    ~CXTreeCtrl() override;

    void SetDragEnabled(bool on) { m_bDragEnabled = on; }
    // The image list: a strip of 16-pixel images, the closed folder then the open one. Items
    // given FolderIcon() show the first, and the second while selected.
    void SetFolderImages(const QPixmap& strip);
    const QIcon& FolderIcon() const { return m_folderIcon; }
    bool IsDragging() const { return m_bDragging; }
    QTreeWidgetItem* DragItem() const { return m_pDragItem; }
    QTreeWidgetItem* DropTarget() const { return m_pDropTarget; }
    int ScrollTicks() const { return m_nScrollTicks; }
    bool TimerRunning(int id) const;

    // One step of timer 1 (hover) or 2 (scroll), as the timers run them.
    void OnTimer(int id);
    // Where the mouse is, in global coordinates (tests set it).
    void SetCursorSource(std::function<QPoint()> source) { m_cursor = std::move(source); }

    static unsigned SelectionFlags(const QTreeWidgetItem* item);
    // A copy of the branch as the last child of newParent (null: the last top-level item).
    QTreeWidgetItem* CopyBranch(const QTreeWidgetItem* branch, QTreeWidgetItem* newParent);

signals:
    void xtreeNotify(int code);
    void xtreeSelChanged(unsigned flags);
    // Every end of a drag: with a move, without one, or when the tree lost the mouse.
    void dragFinished();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    void drawRow(QPainter* painter, const QStyleOptionViewItem& option,
                 const QModelIndex& index) const override;

private:
    void beginDrag(QTreeWidgetItem* item, const QPoint& at);
    void moveDragPicture(const QPoint& at);
    void endDrag(); // the picture, the highlight and the timer gone; no move
    void drop();
    void setDropTarget(QTreeWidgetItem* item);
    bool isInBranch(const QTreeWidgetItem* item, const QTreeWidgetItem* branch) const;
    void hoverStep();
    void scrollStep();
    int visibleCount() const;

    int m_nScrollTicks = 0;
    QTimer m_scrollTimer;
    QTimer m_hoverTimer;
    QPoint m_lastPoint;
    QElapsedTimer m_pressed;
    QPoint m_pressPoint;
    bool m_bDragEnabled = true;
    bool m_bDragRefused = false; // this press began too early to drag
    bool m_bDragging = false;
    QLabel* m_pDragPicture = nullptr;
    QTreeWidgetItem* m_pDragItem = nullptr;
    QTreeWidgetItem* m_pDropTarget = nullptr;
    std::function<QPoint()> m_cursor;
    QIcon m_folderIcon;
};
