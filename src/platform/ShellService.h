#pragma once
// Opening a document with the desktop's associated program. The program asks through one
// service, so that tests can see what was asked.

#include <QString>

class ShellService {
public:
    virtual ~ShellService() = default;
    // Asks the desktop to open the file; FALSE when it could not (the program goes on).
    virtual bool OpenDocument(const QString& path) = 0;
};

ShellService& CurrentShellService();
// Installs a service (not owned) and returns the previous one (null for the default, which
// does nothing but trace the request).
ShellService* SetShellService(ShellService* service);

inline bool ShellOpen(const QString& path) {
    return CurrentShellService().OpenDocument(path);
}
