#include "widgets/TrackLookButton.h"

#include "platform/Trace.h"
#include "widgets/Resources.h"

#include <QMouseEvent>
#include <QPainter>

CTrackLookButton::CTrackLookButton(QWidget* parent) : QPushButton(parent) {
    setMouseTracking(true);
    setAttribute(Qt::WA_Hover);
    m_bDisabled = !isEnabled();
}

void CTrackLookButton::releaseBitmaps() {
    m_bmpNormal = m_bmpHot = m_bmpDisabled = m_bmpSpare = QPixmap();
}

bool CTrackLookButton::LoadBitmaps(int normal, int hot, int disabled) {
    releaseBitmaps();
    m_bmpNormal = LoadBitmapResource(normal);
    if (hot)
        m_bmpHot = LoadBitmapResource(hot);
    if (m_bmpNormal.isNull() || (hot && m_bmpHot.isNull())) {
        Trace(QStringLiteral("Failed to Load First bitmap of CButton\n"));
        return false;
    }
    if (disabled) {
        m_bmpDisabled = LoadBitmapResource(disabled);
        if (m_bmpDisabled.isNull()) {
            Trace(QStringLiteral("Failed to Load bitmap of CButton\n"));
            return false;
        }
    }
    update();
    return true;
}

void CTrackLookButton::SetAlignment(int alignment) {
    m_nAlignment = std::clamp(alignment, 0, 3);
    update();
}

QSize CTrackLookButton::sizeHint() const {
    QSize text = fontMetrics().size(Qt::TextSingleLine, this->text());
    QSize bitmap = m_bmpNormal.isNull() ? QSize() : m_bmpNormal.deviceIndependentSize().toSize();
    if (m_nAlignment <= 1)
        return QSize(text.width() + bitmap.width() + 5 + 14,
                     std::max(text.height(), bitmap.height()) + 8);
    return QSize(std::max(text.width(), bitmap.width()) + 14,
                 text.height() + bitmap.height() + 5 + 8);
}

void CTrackLookButton::enter(bool leftHeld) {
    m_bTracking = true;
    m_bButtonDown = leftHeld;
    m_nBorder = leftHeld ? Sunken : Raised;
    m_bHot = true;
    update();
}

void CTrackLookButton::leave() {
    m_nBorder = Flat;
    m_bButtonDown = false;
    m_bHot = false;
    m_bTracking = false;
    update();
}

void CTrackLookButton::enterEvent(QEnterEvent* event) {
    if (!m_bTracking)
        enter(event->buttons() & Qt::LeftButton);
    QPushButton::enterEvent(event);
}

void CTrackLookButton::leaveEvent(QEvent* event) {
    if (m_bTracking && m_nBorder != Flat)
        leave();
    QPushButton::leaveEvent(event);
}

void CTrackLookButton::mouseMoveEvent(QMouseEvent* event) {
    const bool inside = rect().contains(event->position().toPoint());
    if (m_bTracking && m_nBorder != Flat) {
        if (!inside)
            leave();
    } else if (inside) {
        enter(event->buttons() & Qt::LeftButton);
    }
}

void CTrackLookButton::mousePressEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QPushButton::mousePressEvent(event);
        return;
    }
    m_bButtonDown = true;
    m_bHot = false;
    if (!hasFocus()) {
        setFocus(Qt::MouseFocusReason);
        return;
    }
    m_nBorder = Sunken;
    setDown(true);
    update();
}

void CTrackLookButton::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() != Qt::LeftButton) {
        QPushButton::mouseReleaseEvent(event);
        return;
    }
    m_bButtonDown = false;
    m_bHot = true;
    setDown(false);
    if (m_bFocused) {
        m_nBorder = Raised;
        update();
    } else {
        setFocus(Qt::MouseFocusReason);
    }
    if (isEnabled())
        emit clicked(false);
}

void CTrackLookButton::mouseDoubleClickEvent(QMouseEvent* event) {
    m_bButtonDown = true;
    if (!hasFocus()) {
        setFocus(Qt::MouseFocusReason);
        return;
    }
    m_nBorder = Sunken;
    update();
    QPushButton::mouseDoubleClickEvent(event);
    m_nBorder = Flat;
}

void CTrackLookButton::focusInEvent(QFocusEvent* event) {
    m_nBorder = m_bButtonDown ? Sunken : Raised;
    m_bFocused = true;
    m_bHot = true;
    update();
    QPushButton::focusInEvent(event);
}

void CTrackLookButton::focusOutEvent(QFocusEvent* event) {
    m_nBorder = Flat;
    m_bFocused = false;
    m_bHot = false;
    update();
    QPushButton::focusOutEvent(event);
}

void CTrackLookButton::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) {
        m_bDisabled = !isEnabled();
        update();
    }
    QPushButton::changeEvent(event);
}

void CTrackLookButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    QRect item = rect();
    const QPalette& pal = palette();
    const QColor shadow = pal.color(QPalette::Dark);
    const QColor highlight = pal.color(QPalette::Light);

    // Border.
    QColor topLeft = shadow, bottomRight = shadow;
    if (m_nBorder == Sunken)
        bottomRight = highlight;
    else if (m_nBorder == Raised)
        topLeft = highlight, bottomRight = shadow;
    p.setPen(topLeft);
    p.drawLine(item.topLeft(), item.topRight());
    p.drawLine(item.topLeft(), item.bottomLeft());
    p.setPen(bottomRight);
    p.drawLine(item.bottomLeft(), item.bottomRight());
    p.drawLine(item.topRight(), item.bottomRight());

    QRect r = item.adjusted(5, 2, -5, -2);
    QColor textColour = pal.color(QPalette::WindowText);
    const QPixmap* bitmap = &m_bmpNormal;
    if (m_bFocused) {
        textColour = QColor(0, 0, 255);
        if (!m_bmpHot.isNull())
            bitmap = &m_bmpHot;
    }
    if (m_bHot && !m_bmpHot.isNull())
        bitmap = &m_bmpHot;
    if (m_bDisabled) {
        bitmap = &m_bmpDisabled;
    } else if (m_bButtonDown) {
        r.translate(1, 1);
    }

    int textFlags = Qt::TextSingleLine;
    const QString label = text();
    const QSize textSize = fontMetrics().size(Qt::TextSingleLine, label);
    switch (m_nAlignment) {
    case 0:
    case 1:
        textFlags |= Qt::AlignVCenter | Qt::AlignLeft;
        break;
    case 2:
        textFlags |= Qt::AlignBottom | Qt::AlignHCenter;
        break;
    default:
        textFlags |= Qt::AlignTop | Qt::AlignHCenter;
        break;
    }
    QRect textRect = r;
    if (!bitmap->isNull()) {
        const QSize b = bitmap->deviceIndependentSize().toSize();
        QRect place;
        switch (m_nAlignment) {
        case 0: // right of the text
            place = QRect(r.left() + textSize.width() + 5, r.top(), b.width(), r.height());
            break;
        case 1: // left, the text moved right
            place = QRect(r.left(), r.top(), b.width(), r.height());
            textRect.setLeft(r.left() + b.width() + 5);
            break;
        case 2: // centred horizontally, above the text
            place = QRect(r.left(), r.top(), r.width(), b.height());
            break;
        default: // below the text
            place = QRect(r.left(), r.top() + textSize.height() + 5, r.width(), b.height());
            break;
        }
        // Centred in its place; when larger, its centre part.
        QRect target(QPoint(0, 0), b);
        target.moveCenter(place.center());
        if (m_nAlignment <= 1)
            target.moveLeft(place.left());
        QRect visible = target.intersected(place);
        QRect source(visible.topLeft() - target.topLeft(), visible.size());
        p.drawPixmap(visible, *bitmap,
                     QRectF(source.topLeft() * bitmap->devicePixelRatio(),
                            source.size() * bitmap->devicePixelRatio()));
    }
    if (m_bDisabled) {
        p.setPen(highlight);
        p.drawText(textRect.translated(1, 1), textFlags, label);
        p.setPen(shadow);
        p.drawText(textRect, textFlags, label);
    } else {
        p.setPen(textColour);
        p.drawText(textRect, textFlags, label);
    }
}
