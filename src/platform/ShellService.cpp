#include "platform/ShellService.h"

#include "platform/Trace.h"

namespace {

class TracingShell : public ShellService {
public:
    bool OpenDocument(const QString& path) override {
        Trace(QStringLiteral("open document: ") + path);
        return false;
    }
};

ShellService*& installed() {
    static ShellService* service = nullptr;
    return service;
}

} // namespace

ShellService& CurrentShellService() {
    static TracingShell fallback;
    return installed() ? *installed() : fallback;
}

ShellService* SetShellService(ShellService* service) {
    ShellService* previous = installed();
    installed() = service;
    return previous;
}
