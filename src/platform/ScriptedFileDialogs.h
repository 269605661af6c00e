#pragma once
// A file-dialog service for tests: records every request, answers from a queue (a path, or
// empty for Cancel), and reports a dialog nobody expected or an answer left over.

#include "platform/FileDialogService.h"

#include <deque>
#include <functional>
#include <vector>

class ScriptedFileDialogs : public FileDialogService {
public:
    using FailureHandler = std::function<void(const QString&)>;

    // Installs itself as the service while it lives.
    explicit ScriptedFileDialogs(FailureHandler onFailure);
    ~ScriptedFileDialogs() override;
    ScriptedFileDialogs(const ScriptedFileDialogs&) = delete;
    ScriptedFileDialogs& operator=(const ScriptedFileDialogs&) = delete;

    // Queues the path the next dialog gives (empty: the operator cancels).
    ScriptedFileDialogs& Answer(const QString& path);

    QString Ask(QObject* owner, const FileDialogRequest& request) override;
    const std::vector<FileDialogRequest>& Requests() const { return m_requests; }

private:
    FailureHandler m_onFailure;
    std::deque<QString> m_answers;
    std::vector<FileDialogRequest> m_requests;
    FileDialogService* m_previous;
};
