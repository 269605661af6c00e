#include "grid/AdoHeaderCtrl.h"

#include "grid/GridCommands.h"

#include <QContextMenuEvent>
#include <QMenu>
#include <QPainter>

CAdoHeaderCtrl::CAdoHeaderCtrl(QWidget* parent) : QHeaderView(Qt::Horizontal, parent) {
    setSectionsMovable(true);
    setSectionsClickable(true);
    setHighlightSections(false);
    setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    setStretchLastSection(false);
}

void CAdoHeaderCtrl::SetSortImage(int index, bool ascending) {
    m_nSortColumn = index;
    m_bSortAscending = ascending;
    viewport()->update();
}

QString CAdoHeaderCtrl::GetItemText(int index) const {
    if (!model() || index < 0 || index >= count())
        return QString();
    return model()->headerData(index, Qt::Horizontal).toString();
}

CAdoHeaderCtrl::SortMark CAdoHeaderCtrl::SortMarkLines(const QRect& r, bool ascending) {
    // In the terms of a Windows rectangle: right and bottom lie one past the last pixel.
    const int right = r.left() + r.width(), bottom = r.top() + r.height();
    const int o = r.height() / 4;
    const int top = r.top();
    SortMark m;
    if (ascending) {
        m.light = {QLine(right - 2 * o, top + o, right - o, bottom - o - 1),
                   QLine(right - o, bottom - o - 1, right - 3 * o - 2, bottom - o - 1)};
        m.dark = {QLine(right - 3 * o - 1, bottom - o - 1, right - 2 * o, top + o - 1)};
    } else {
        m.light = {QLine(right - o - 1, top + o, right - 2 * o - 1, bottom - o)};
        m.dark = {QLine(right - 2 * o - 2, bottom - o, right - 3 * o - 1, top + o),
                  QLine(right - 3 * o - 1, top + o, right - o - 1, top + o)};
    }
    return m;
}

void CAdoHeaderCtrl::paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const {
    if (logicalIndex != m_nSortColumn) {
        QHeaderView::paintSection(painter, rect, logicalIndex);
        return;
    }
    painter->save();
    painter->setClipRect(rect);
    painter->fillRect(rect, palette().button());
    const int o = rect.height() / 4;
    QRect text = rect.adjusted(o, 0, -3 * o - o, 0);
    if (text.left() < text.right()) {
        QVariant align = model()->headerData(logicalIndex, Qt::Horizontal, Qt::TextAlignmentRole);
        int flags = (align.isValid() ? align.toInt() : int(Qt::AlignLeft)) | Qt::AlignVCenter |
                    Qt::TextSingleLine;
        painter->setPen(palette().buttonText().color());
        painter->drawText(text, flags,
                          fontMetrics().elidedText(GetItemText(logicalIndex), Qt::ElideRight,
                                                   text.width()));
    }
    SortMark mark = SortMarkLines(rect, m_bSortAscending);
    painter->setPen(QPen(palette().light().color(), 1));
    for (const QLine& l : mark.light)
        painter->drawLine(l);
    painter->setPen(QPen(palette().dark().color(), 1));
    for (const QLine& l : mark.dark)
        painter->drawLine(l);
    painter->setPen(QPen(palette().mid().color(), 1));
    painter->drawLine(rect.topRight(), rect.bottomRight());
    painter->drawLine(rect.bottomLeft(), rect.bottomRight());
    painter->restore();
}

void CAdoHeaderCtrl::contextMenuEvent(QContextMenuEvent* event) {
    const int index = logicalIndexAt(event->pos());
    if (index < 0) {
        QHeaderView::contextMenuEvent(event);
        return;
    }
    m_nMenuColumn = index;
    if (index == 0) { // the row-number heading has no menu
        event->accept();
        return;
    }
    QMenu menu(this);
    for (const MenuEntry& e : HeaderMenuEntries()) {
        if (e.id == 0) {
            menu.addSeparator();
            continue;
        }
        const int id = e.id;
        menu.addAction(e.text, this, [this, id] { emit menuCommand(id); });
    }
    menu.exec(event->globalPos());
    event->accept();
}
