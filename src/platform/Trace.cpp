#include "platform/Trace.h"

#include <cstdio>
#include <cstdlib>

namespace {
TraceSink& currentSink() {
    static TraceSink sink;
    return sink;
}
} // namespace

void Trace(const QString& text) {
    if (currentSink()) {
        currentSink()(text);
        return;
    }
    static const bool enabled = std::getenv("VRIN_TRACE") != nullptr;
    if (enabled) {
        QByteArray utf8 = text.toUtf8();
        std::fwrite(utf8.constData(), 1, static_cast<size_t>(utf8.size()), stderr);
        if (!text.endsWith(QLatin1Char('\n')))
            std::fputc('\n', stderr);
    }
}

TraceSink SetTraceSink(TraceSink sink) {
    TraceSink previous = std::move(currentSink());
    currentSink() = std::move(sink);
    return previous;
}

ScopedTraceCapture::ScopedTraceCapture()
    : m_previous(SetTraceSink([this](const QString& line) { m_lines << line; })) {}

ScopedTraceCapture::~ScopedTraceCapture() {
    SetTraceSink(std::move(m_previous));
}
