#include "widgets/QtShellService.h"

#include "platform/Paths.h"
#include "platform/Trace.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

bool QtShellService::OpenDocument(const QString& path) {
    const QString local = LocalPath(path);
    if (!QFileInfo::exists(local)) {
        Trace(QStringLiteral("document to open not found: ") + local);
        return false;
    }
    return QDesktopServices::openUrl(QUrl::fromLocalFile(local));
}

void InstallQtShellService() {
    static QtShellService service;
    SetShellService(&service);
}
