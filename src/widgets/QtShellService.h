#pragma once
// Documents opened with the desktop's associated program.

#include "platform/ShellService.h"

class QtShellService : public ShellService {
public:
    // FALSE when the file is missing or the desktop has no program for it.
    bool OpenDocument(const QString& path) override;
};

// Installs the desktop's shell for the running program.
void InstallQtShellService();
