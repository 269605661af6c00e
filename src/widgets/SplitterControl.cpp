#include "widgets/SplitterControl.h"

#include "widgets/ControlIds.h"

#include <QMouseEvent>
#include <QPainter>

namespace {

// The tracking line: two 1-pixel lines either side of the tracking position, over the
// bar's extent, drawn above the owner's other children.
class TrackingLine : public QWidget {
public:
    TrackingLine(QWidget* parent, bool vertical) : QWidget(parent), m_vertical(vertical) {
        setAttribute(Qt::WA_TransparentForMouseEvents);
        setAttribute(Qt::WA_NoSystemBackground);
    }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.setPen(QColor(200, 200, 200));
        if (m_vertical) {
            p.drawLine(0, 0, 0, height() - 1);
            p.drawLine(2, 0, 2, height() - 1);
        } else {
            p.drawLine(0, 0, width() - 1, 0);
            p.drawLine(0, 2, width() - 1, 2);
        }
    }

private:
    bool m_vertical;
};

} // namespace

CSplitterControl::CSplitterControl(QWidget* parent) : QFrame(parent) {}

bool CSplitterControl::Create(unsigned, const QRect& rect, QWidget* parent, int id) {
    if (!parent)
        return false;
    setParent(parent);
    SetControlId(this, id);
    QRect bar = rect;
    if (rect.width() < rect.height()) {
        m_nType = Vertical;
        bar.setWidth(5);
        setCursor(Qt::SizeHorCursor);
    } else {
        m_nType = Horizontal;
        bar.setTop(rect.bottom() - 4);
        bar.setHeight(5);
        setCursor(Qt::SizeVerCursor);
    }
    setGeometry(bar);
    int c = m_nType == Vertical ? bar.left() + bar.width() / 2 : bar.top() + bar.height() / 2;
    SetRange(c, c);
    show();
    return true;
}

void CSplitterControl::SetRange(int minimum, int maximum) {
    m_nMin = minimum;
    m_nMax = maximum;
}

int CSplitterControl::centre() const {
    return m_nType == Vertical ? geometry().left() + width() / 2 : geometry().top() + height() / 2;
}

int CSplitterControl::TrackingPosition() const {
    QPoint local =
        parentWidget() ? parentWidget()->mapFromGlobal(QPoint(m_nX, m_nY)) : QPoint(m_nX, m_nY);
    return m_nType == Vertical ? local.x() : local.y();
}

void CSplitterControl::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    p.setPen(palette().color(QPalette::Light));
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(palette().color(QPalette::Dark));
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    p.setPen(QColor(200, 200, 200));
    p.setBrush(QColor(200, 220, 220));
    p.drawRect(r.adjusted(1, 1, -2, -2));
}

void CSplitterControl::showTrackingLine() {
    QWidget* owner = parentWidget();
    if (!owner)
        return;
    if (!m_line)
        m_line = new TrackingLine(owner, m_nType == Vertical);
    const int at = TrackingPosition();
    const QRect bar = geometry();
    if (m_nType == Vertical)
        m_line->setGeometry(at - 1, bar.top(), 3, bar.height());
    else
        m_line->setGeometry(bar.left(), at - 1, bar.width(), 3);
    m_line->raise();
    m_line->show();
}

void CSplitterControl::hideTrackingLine() {
    if (m_line)
        m_line->hide();
}

void CSplitterControl::mousePressEvent(QMouseEvent* event) {
    QFrame::mousePressEvent(event);
    if (event->button() != Qt::LeftButton || !parentWidget())
        return;
    m_bDragging = true;
    grabMouse();
    QPoint start = parentWidget()->mapToGlobal(geometry().center());
    if (m_nType == Vertical)
        start.setX(parentWidget()->mapToGlobal(QPoint(centre(), 0)).x());
    else
        start.setY(parentWidget()->mapToGlobal(QPoint(0, centre())).y());
    m_nX = start.x();
    m_nY = start.y();
    m_nSavePos = m_nType == Vertical ? m_nX : m_nY;
    showTrackingLine();
}

void CSplitterControl::mouseMoveEvent(QMouseEvent* event) {
    if (!m_bDragging || !parentWidget())
        return;
    hideTrackingLine();
    QPoint local = parentWidget()->mapFromGlobal(event->globalPosition().toPoint());
    local.setX(std::clamp(local.x(), m_nMin, m_nMax));
    local.setY(std::clamp(local.y(), m_nMin, m_nMax));
    QPoint screen = parentWidget()->mapToGlobal(local);
    m_nX = screen.x();
    m_nY = screen.y();
    showTrackingLine();
}

void CSplitterControl::mouseReleaseEvent(QMouseEvent* event) {
    if (m_bDragging) {
        hideTrackingLine();
        m_bDragging = false;
        if (parentWidget()) {
            const int at = TrackingPosition();
            QRect bar = geometry();
            if (m_nType == Vertical)
                bar.moveLeft(at - bar.width() / 2);
            else
                bar.moveTop(at - bar.height() / 2);
            setGeometry(bar);
            SplitterNotify notify;
            notify.hwndFrom = this;
            notify.idFrom = ControlId(this);
            notify.code = SPN_MOVED;
            notify.delta = (m_nType == Vertical ? m_nX : m_nY) - m_nSavePos;
            emit Notify(notify);
        }
    }
    QFrame::mouseReleaseEvent(event);
    releaseMouse();
}

void SplitterChangeWidth(QWidget* window, int delta, int side) {
    if (!window)
        return;
    QRect r = window->geometry();
    if (side == 1)
        r.setRight(r.right() + delta);
    else if (side == 2)
        r.setLeft(r.left() - delta);
    window->setGeometry(r);
    window->update();
}
