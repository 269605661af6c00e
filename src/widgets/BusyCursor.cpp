#include "widgets/BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace {
int s_shown = 0;
}

BusyCursor::BusyCursor() {
    ++s_shown;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
}

int BusyCursor::TimesShown() {
    return s_shown;
}

NormalCursor::NormalCursor() : m_bSet(QApplication::overrideCursor() != nullptr) {
    if (m_bSet)
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

NormalCursor::~NormalCursor() {
    if (m_bSet)
        QApplication::restoreOverrideCursor();
}
