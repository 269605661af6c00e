#include "widgets/ScrollingForm.h"

#include <QDialog>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QStyle>
#include <QVBoxLayout>

namespace {

// Gives a control a new parent at the same place less an offset, keeping it shown or hidden.
void moveInto(QWidget* control, QWidget* parent, int dy) {
    const bool hidden = control->isHidden();
    const QRect place = control->geometry().translated(0, -dy);
    control->setParent(parent);
    control->setGeometry(place);
    control->setVisible(!hidden);
}

} // namespace

ScrollingForm::ScrollingForm(QDialog* dialog, int buttonsTop)
    : m_dialog(dialog), m_designed(dialog->size()), m_area(new QScrollArea(dialog)), m_page(new QWidget(dialog)),
      m_row(new QWidget(dialog)) {
    // Every control stays within the dialog's window while it moves: the order Tab takes
    // through them stays as it was.
    m_page->setObjectName(QStringLiteral("formPage"));
    m_row->setObjectName(QStringLiteral("buttonRow"));
    m_area->setObjectName(QStringLiteral("formArea"));
    const QList<QWidget*> controls = dialog->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QWidget* control : controls) {
        if (control == m_area || control == m_page || control == m_row || control->isWindow())
            continue;
        if (control->geometry().top() < buttonsTop)
            moveInto(control, m_page, 0);
        else
            moveInto(control, m_row, buttonsTop);
    }
    m_page->setFixedSize(m_designed.width(), buttonsTop);
    m_row->setFixedHeight(m_designed.height() - buttonsTop);
    m_area->setFrameShape(QFrame::NoFrame);
    m_area->setWidget(m_page);
    m_area->setFocusPolicy(Qt::NoFocus);
    auto* layout = new QVBoxLayout(dialog);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_area, 1);
    layout->addWidget(m_row);
    dialog->resize(m_designed);
}

void ScrollingForm::FitHeight(int availableHeight) {
    const int room = availableHeight - kWindowFrame;
    if (room >= m_designed.height()) {
        m_dialog->resize(m_designed);
        return;
    }
    const int bar = m_area->style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_area);
    m_dialog->resize(m_designed.width() + bar, std::max(room, m_row->height() + 4 * bar));
}

void ScrollingForm::FitScreen() {
    if (const QScreen* screen = m_dialog->screen())
        FitHeight(screen->availableGeometry().height());
}
