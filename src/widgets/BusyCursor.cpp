#include "widgets/BusyCursor.h"

#include <QApplication>
#include <QCursor>

namespace {
int s_depth = 0;
int s_shown = 0;
}

BusyCursor::BusyCursor() {
    ++s_depth;
    ++s_shown;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor() {
    QApplication::restoreOverrideCursor();
    --s_depth;
}

int BusyCursor::TimesShown() {
    return s_shown;
}

bool BusyCursor::Busy() {
    return s_depth > 0;
}

NormalCursor::NormalCursor() : m_bSet(QApplication::overrideCursor() != nullptr) {
    if (m_bSet)
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

NormalCursor::~NormalCursor() {
    if (m_bSet)
        QApplication::restoreOverrideCursor();
}
