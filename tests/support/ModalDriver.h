#pragma once
// Drives the modal dialogs a test causes: each dialog that comes up gets the next queued
// action (which fills its controls and presses its buttons); a dialog nobody expected fails
// the test and is closed, so that no test hangs.

#include <QDialog>
#include <QTimer>

#include <deque>
#include <functional>

class ModalDriver : public QObject {
public:
    using Action = std::function<void(QDialog& dialog)>;

    ModalDriver();
    ~ModalDriver() override;

    ModalDriver& Then(Action action);
    int Handled() const { return m_handled; }
    int Pending() const { return static_cast<int>(m_actions.size()); }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void tick();

    QTimer m_timer;
    std::deque<Action> m_actions;
    int m_handled = 0;
};

// Small helpers for the actions.
void TypeInto(QWidget* control, const QString& text); // replaces the control's text
void Click(QWidget* button);
QWidget* Control(const QWidget& dialog, int id); // fails the test when missing
