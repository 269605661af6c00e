#include "ModalDriver.h"

#include "widgets/ControlIds.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPointer>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QTest>

#include <memory>

#include <gtest/gtest.h>

ModalDriver::ModalDriver() {
    connect(&m_timer, &QTimer::timeout, this, &ModalDriver::tick);
    m_timer.start(1);
}

ModalDriver::~ModalDriver() {
    m_timer.stop();
    if (!m_actions.empty())
        ADD_FAILURE() << m_actions.size() << " dialog(s) expected but never shown";
}

ModalDriver& ModalDriver::Then(Action action) {
    m_actions.push_back(std::move(action));
    return *this;
}

bool ModalDriver::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::Hide) {
        watched->setProperty("vrinDriven", false);
        watched->removeEventFilter(this);
    }
    return false;
}

void ModalDriver::tick() {
    auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!dialog || !dialog->isVisible() || dialog->property("vrinDriven").toBool())
        return;
    dialog->setProperty("vrinDriven", true);
    dialog->installEventFilter(this); // shown again later, it is a new dialog to drive
    if (m_actions.empty()) {
        ADD_FAILURE() << "dialog nobody expected: " << dialog->windowTitle().toStdString();
        dialog->done(QDialog::Rejected);
        return;
    }
    auto action = std::make_shared<Action>(std::move(m_actions.front()));
    m_actions.pop_front();
    ++m_handled;
    // The action runs outside this timer's slot, so that a dialog it opens in turn finds the
    // timer free to drive it.
    QPointer<QDialog> driven(dialog);
    QTimer::singleShot(0, dialog, [driven, action] {
        if (!driven)
            return;
        (*action)(*driven);
        // An action ends its dialog; one left showing would wait for ever.
        if (driven && driven->isVisible() && QApplication::activeModalWidget() == driven) {
            ADD_FAILURE() << "dialog still showing after its action: "
                          << driven->windowTitle().toStdString();
            driven->reject(); // as Esc would
            if (driven && driven->isVisible())
                driven->done(QDialog::Rejected);
        }
    });
}

namespace {
// Key presses for every character, also those no key of a US keyboard gives.
void typeCharacters(QWidget* target, const QString& text) {
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &press);
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(target, &release);
    }
}
} // namespace

void TypeInto(QWidget* control, const QString& text) {
    ASSERT_TRUE(control);
    if (auto* combo = qobject_cast<QComboBox*>(control); combo && combo->isEditable()) {
        combo->lineEdit()->clear();
        typeCharacters(combo->lineEdit(), text);
    } else if (auto* edit = qobject_cast<QLineEdit*>(control)) {
        edit->clear();
        typeCharacters(edit, text);
    } else if (auto* plain = qobject_cast<QPlainTextEdit*>(control)) {
        plain->clear();
        typeCharacters(plain, text);
    } else {
        ADD_FAILURE() << "cannot type into " << control->metaObject()->className();
    }
}

void Click(QWidget* button) {
    ASSERT_TRUE(button);
    QPoint at = button->rect().center();
    // A check box or radio button reacts over its indicator and label, not over its whole width.
    if (qobject_cast<QCheckBox*>(button) || qobject_cast<QRadioButton*>(button)) {
        QStyleOptionButton option;
        option.initFrom(button);
        const bool check = qobject_cast<QCheckBox*>(button) != nullptr;
        at = button->style()
                 ->subElementRect(check ? QStyle::SE_CheckBoxIndicator
                                        : QStyle::SE_RadioButtonIndicator,
                                  &option, button)
                 .center();
    }
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, at);
}

QWidget* Control(const QWidget& dialog, int id) {
    QWidget* w = FindControl(&dialog, id);
    EXPECT_TRUE(w) << "no control " << id << " in " << dialog.windowTitle().toStdString();
    return w;
}
