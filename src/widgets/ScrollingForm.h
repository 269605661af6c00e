#pragma once
// A dialog of fixed control positions that may be taller than the screen: the controls above
// its button row go onto a page that scrolls, the button row stays at the bottom, in view.

#include <QSize>

class QDialog;
class QScrollArea;
class QWidget;

class ScrollingForm {
public:
    // Room the window system takes above and below a window (title bar, frame).
    static constexpr int kWindowFrame = 40;

    // Moves the dialog's controls: those starting above buttonsTop onto the page, the others
    // into the row below it.
    ScrollingForm(QDialog* dialog, int buttonsTop);

    // The dialog at its designed size when that fits the screen's available height, else as
    // tall as fits, the page scrolling.
    void FitHeight(int availableHeight);
    // The same for the screen the dialog is on.
    void FitScreen();

    QScrollArea* Area() const { return m_area; }
    QWidget* Page() const { return m_page; }
    QWidget* ButtonRow() const { return m_row; }

private:
    QDialog* m_dialog;
    QSize m_designed;
    QScrollArea* m_area;
    QWidget* m_page;
    QWidget* m_row;
};
