#pragma once
// A thin bar between two panes. While it is dragged it shows a tracking line, kept within
// its range; on release it moves itself there and tells its owner how far it moved
// (SPN_MOVED with the delta), so that the owner can resize the panes.

#include <QFrame>
#include <QPointer>

constexpr unsigned SPN_MOVED = 0x0401;

struct SplitterNotify {
    QWidget* hwndFrom = nullptr;
    int idFrom = 0;
    unsigned code = SPN_MOVED;
    int delta = 0;
};

class CSplitterControl : public QFrame {
    Q_OBJECT
public:
    enum Orientation { Vertical = 1, Horizontal = 2 };

    explicit CSplitterControl(QWidget* parent = nullptr);

    // A bar narrower than tall is vertical, 5 pixels wide from the rectangle's left; else a
    // horizontal bar 5 pixels high ending at the rectangle's bottom.
    bool Create(unsigned style, const QRect& rect, QWidget* parent, int id);
    void SetRange(int minimum, int maximum);
    int GetMinimum() const { return m_nMin; }
    int GetMaximum() const { return m_nMax; }
    int GetOrientation() const { return m_nType; }
    bool IsDragging() const { return m_bDragging; }
    // The tracking position in the parent's coordinates (x for a vertical bar, y else).
    int TrackingPosition() const;

signals:
    void Notify(const SplitterNotify& notify);

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void showTrackingLine();
    void hideTrackingLine();
    int centre() const;

    int m_nMin = 0, m_nMax = 0;
    bool m_bDragging = false;
    int m_nType = Vertical;
    int m_nX = 0, m_nY = 0; // tracking point, screen coordinates
    int m_nSavePos = 0;     // where the drag started
    QPointer<QWidget> m_line;
};

// Moves one edge of a window in its parent: side 1 moves the right edge by +delta, side 2
// the left edge by -delta.
void SplitterChangeWidth(QWidget* window, int delta, int side);
