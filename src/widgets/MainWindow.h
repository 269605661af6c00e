#pragma once
// The application's main window, which message boxes of helpers belong to; null while
// start-up has not created it yet.

class QWidget;

QWidget* AfxGetMainWnd();
void SetMainWnd(QWidget* window);
