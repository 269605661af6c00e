#include "platform/ScriptedResponder.h"

#include <QStringList>

ScriptedResponder::ScriptedResponder(FailureHandler onFailure)
    : m_onFailure(std::move(onFailure)), m_previous(SetMessageService(this)) {}

ScriptedResponder::~ScriptedResponder() {
    SetMessageService(m_previous);
    if (!m_queue.empty()) {
        QStringList left;
        for (const Entry& e : m_queue)
            left << (e.text ? *e.text : QStringLiteral("(any text)"));
        m_onFailure(QStringLiteral("message boxes expected but never shown: ") +
                    left.join(QStringLiteral(" | ")));
    }
}

ScriptedResponder& ScriptedResponder::Answer(int button) {
    m_queue.push_back({std::nullopt, button, std::move(m_nextAction)});
    m_nextAction = nullptr;
    return *this;
}

ScriptedResponder& ScriptedResponder::Expect(const QString& text, int button) {
    m_queue.push_back({text, button, std::move(m_nextAction)});
    m_nextAction = nullptr;
    return *this;
}

ScriptedResponder& ScriptedResponder::OnNextBox(std::function<void(const Box&)> action) {
    m_nextAction = std::move(action);
    return *this;
}

int ScriptedResponder::Show(QObject* owner, const QString& text, const QString& caption,
                            unsigned style) {
    Box box{text, caption, style, owner};
    m_boxes.push_back(box);
    if (m_queue.empty()) {
        m_onFailure(QStringLiteral("unexpected message box [%1]: %2").arg(caption, text));
        return FirstButtonOf(style);
    }
    Entry entry = std::move(m_queue.front());
    m_queue.pop_front();
    if (entry.text && *entry.text != text)
        m_onFailure(QStringLiteral("message box text differs.\n expected: %1\n   actual: %2")
                        .arg(*entry.text, text));
    if (entry.action)
        entry.action(box);
    return entry.button;
}

QStringList ScriptedResponder::Texts() const {
    QStringList texts;
    for (const Box& b : m_boxes)
        texts << b.text;
    return texts;
}

void ScriptedResponder::Clear() {
    m_boxes.clear();
    m_queue.clear();
}
