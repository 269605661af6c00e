#include "platform/FileDialogService.h"

namespace {

class NoFileDialogs : public FileDialogService {
public:
    QString Ask(QObject*, const FileDialogRequest&) override { return QString(); }
};

FileDialogService*& installed() {
    static FileDialogService* service = nullptr;
    return service;
}

} // namespace

FileDialogService& CurrentFileDialogService() {
    static NoFileDialogs none;
    return installed() ? *installed() : none;
}

FileDialogService* SetFileDialogService(FileDialogService* service) {
    FileDialogService* previous = installed();
    installed() = service;
    return previous;
}

QString AskFile(QObject* owner, const FileDialogRequest& request) {
    return CurrentFileDialogService().Ask(owner, request);
}
