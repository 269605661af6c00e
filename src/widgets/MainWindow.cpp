#include "widgets/MainWindow.h"

#include <QPointer>
#include <QWidget>

namespace {
QPointer<QWidget>& mainWindow() {
    static QPointer<QWidget> window;
    return window;
}
} // namespace

QWidget* AfxGetMainWnd() {
    return mainWindow();
}

void SetMainWnd(QWidget* window) {
    mainWindow() = window;
}
