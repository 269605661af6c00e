#pragma once
// A message-box service for tests: records every box, answers from a queue, and reports
// a failure for a box nobody expected, a text that differs from the expected one, or an
// answer left over when it goes away.

#include "platform/MessageService.h"

#include <QObject>
#include <QPointer>
#include <QString>

#include <deque>
#include <functional>
#include <optional>
#include <vector>

class ScriptedResponder : public MessageService {
public:
    struct Box {
        QString text;
        QString caption;
        unsigned style = 0;
        QObject* owner = nullptr;
    };
    using FailureHandler = std::function<void(const QString&)>;

    // Installs itself as the service while it lives.
    explicit ScriptedResponder(FailureHandler onFailure);
    ~ScriptedResponder() override;
    ScriptedResponder(const ScriptedResponder&) = delete;
    ScriptedResponder& operator=(const ScriptedResponder&) = delete;

    // Queues the answer for the next box, whatever its text.
    ScriptedResponder& Answer(int button);
    // Queues the answer for the next box, which must have exactly this text.
    ScriptedResponder& Expect(const QString& text, int button = IDOK);
    // Runs while the next box is up (tests use it to look at the screen behind the box).
    ScriptedResponder& OnNextBox(std::function<void(const Box&)> action);

    int Show(QObject* owner, const QString& text, const QString& caption, unsigned style) override;

    const std::vector<Box>& Boxes() const { return m_boxes; }
    QStringList Texts() const;
    int Pending() const { return static_cast<int>(m_queue.size()); }
    void Clear();

private:
    struct Entry {
        std::optional<QString> text;
        int button = IDOK;
        std::function<void(const Box&)> action;
    };

    FailureHandler m_onFailure;
    std::deque<Entry> m_queue;
    std::function<void(const Box&)> m_nextAction;
    std::vector<Box> m_boxes;
    MessageService* m_previous;
};
