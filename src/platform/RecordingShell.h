#pragma once
// A shell service for tests: records every document asked to be opened and answers with
// `answer`; installed while it lives.

#include "platform/ShellService.h"

#include <QStringList>

class RecordingShell : public ShellService {
public:
    RecordingShell() : m_previous(SetShellService(this)) {}
    ~RecordingShell() override { SetShellService(m_previous); }
    RecordingShell(const RecordingShell&) = delete;
    RecordingShell& operator=(const RecordingShell&) = delete;

    bool OpenDocument(const QString& path) override {
        opened << path;
        return answer;
    }

    QStringList opened;
    bool answer = true;

private:
    ShellService* m_previous;
};
