#include "widgets/LayoutDialog.h"

#include <QResizeEvent>
#include <QSizeGrip>

CLayoutDialog::CLayoutDialog(QWidget* parent) : CDialog(parent) {
    setSizeGripEnabled(false); // our own grip, shown per SetShowGrip
}

bool CLayoutDialog::SetLayout(const int* entries, int count) {
    if (!entries || count < 1)
        return false;
    m_pEntries = entries;
    m_nCount = count;
    return true;
}

QRect CLayoutDialog::Apply(const QRect& r, int mode, int percent, int dx, int dy) {
    const int x = dx * percent / 100, y = dy * percent / 100; // truncated toward zero
    switch (mode) {
    case MoveRight:
        return r.translated(x, 0);
    case MoveDown:
        return r.translated(0, y);
    case MoveRightDown:
        return r.translated(x, y);
    case GrowWidth:
        return r.adjusted(0, 0, x, 0);
    case GrowHeight:
        return r.adjusted(0, 0, 0, y);
    case GrowBoth:
        return r.adjusted(0, 0, x, y);
    case GrowWidthMoveDown:
        return QRect(r.left(), r.top() + y, r.width() + x, r.height());
    default:
        return r;
    }
}

bool CLayoutDialog::OnInitDialog() {
    CDialog::OnInitDialog();
    // The window manager keeps the dialog at least as large as it opened.
    m_nMinWidth = width();
    m_nMinHeight = height();
    setMinimumSize(size());
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    m_nLastWidth = width();
    m_nLastHeight = height();
    m_pGrip = new QSizeGrip(this);
    m_pGrip->resize(m_pGrip->sizeHint());
    m_pGrip->setAccessibleName(QStringLiteral("调整大小"));
    placeGrip();
    m_pGrip->setVisible(m_nShowGrip != 0);
    m_bOpened = true;
    return true;
}

void CLayoutDialog::placeGrip() {
    if (m_pGrip)
        m_pGrip->move(width() - m_pGrip->width(), height() - m_pGrip->height());
}

void CLayoutDialog::resizeEvent(QResizeEvent* event) {
    CDialog::resizeEvent(event);
    if (!m_bOpened)
        return;
    const bool minimised = isMinimized();
    const int dx = minimised ? 0 : event->size().width() - m_nLastWidth;
    const int dy = minimised ? 0 : event->size().height() - m_nLastHeight;
    for (int k = 0; k < m_nCount; ++k) {
        const int id = m_pEntries[3 * k], mode = m_pEntries[3 * k + 1],
                  percent = m_pEntries[3 * k + 2];
        if (percent < 0 || percent > 100)
            continue;
        QWidget* control = GetDlgItem(id);
        if (!control)
            continue;
        control->setGeometry(Apply(control->geometry(), mode, percent, dx, dy));
        control->update();
    }
    placeGrip();
    if (!minimised) {
        m_nLastWidth = event->size().width();
        m_nLastHeight = event->size().height();
    }
}
