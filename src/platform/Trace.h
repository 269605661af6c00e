#pragma once
// The trace: diagnostic lines nobody but a developer reads. They go to stderr when the
// environment variable VRIN_TRACE is set; tests capture them.

#include <QString>
#include <QStringList>

#include <functional>

using TraceSink = std::function<void(const QString&)>;

void Trace(const QString& text);

// Installs a sink and returns the one it replaces (an empty sink restores the default).
TraceSink SetTraceSink(TraceSink sink);

// Collects every trace line while it lives.
class ScopedTraceCapture {
public:
    ScopedTraceCapture();
    ~ScopedTraceCapture();
    ScopedTraceCapture(const ScopedTraceCapture&) = delete;
    ScopedTraceCapture& operator=(const ScopedTraceCapture&) = delete;

    const QStringList& Lines() const { return m_lines; }
    void Clear() { m_lines.clear(); }

private:
    QStringList m_lines;
    TraceSink m_previous;
};
