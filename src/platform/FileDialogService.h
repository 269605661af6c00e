#pragma once
// Open and save file dialogs, as the program asks for files. The program shows them
// through one service: Qt's in the running program, a scripted one in tests.

#include <QString>

class QObject;

struct FileDialogRequest {
    bool save = false;        // a save dialog, else an open dialog
    QString caption;          // empty: the platform's own
    QString initialPath;      // folder and suggested file name
    QString filter;           // Qt form: "布局文件 (*.opn)"
    QString defaultSuffix;    // without the dot, added when the name has none
    bool confirmOverwrite = true;
};

class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // The chosen file's path, or an empty text when the operator cancelled.
    virtual QString Ask(QObject* owner, const FileDialogRequest& request) = 0;
};

// The service in use; before any is installed, every dialog is cancelled.
FileDialogService& CurrentFileDialogService();
// Installs a service (not owned) and returns the previous one (null for the default).
FileDialogService* SetFileDialogService(FileDialogService* service);

QString AskFile(QObject* owner, const FileDialogRequest& request);
