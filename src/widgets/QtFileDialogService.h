#pragma once
// File dialogs shown by Qt.

#include "platform/FileDialogService.h"

class QtFileDialogService : public FileDialogService {
public:
    QString Ask(QObject* owner, const FileDialogRequest& request) override;
};

// Installs the Qt service for the running program.
void InstallQtFileDialogService();
