#include "platform/ScriptedFileDialogs.h"

ScriptedFileDialogs::ScriptedFileDialogs(FailureHandler onFailure)
    : m_onFailure(std::move(onFailure)), m_previous(SetFileDialogService(this)) {}

ScriptedFileDialogs::~ScriptedFileDialogs() {
    SetFileDialogService(m_previous);
    if (!m_answers.empty())
        m_onFailure(QStringLiteral("file dialogs expected but never shown: %1")
                        .arg(static_cast<int>(m_answers.size())));
}

ScriptedFileDialogs& ScriptedFileDialogs::Answer(const QString& path) {
    m_answers.push_back(path);
    return *this;
}

QString ScriptedFileDialogs::Ask(QObject*, const FileDialogRequest& request) {
    m_requests.push_back(request);
    if (m_answers.empty()) {
        m_onFailure(QStringLiteral("unexpected file dialog at %1").arg(request.initialPath));
        return QString();
    }
    QString path = m_answers.front();
    m_answers.pop_front();
    return path;
}
