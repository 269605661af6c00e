#include "widgets/QtFileDialogService.h"

#include "widgets/BusyCursor.h"

#include <QFileDialog>
#include <QWidget>

QString QtFileDialogService::Ask(QObject* owner, const FileDialogRequest& request) {
    QWidget* parent = qobject_cast<QWidget*>(owner);
    QFileDialog dialog(parent ? parent->window() : nullptr, request.caption);
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!request.confirmOverwrite)
        dialog.setOption(QFileDialog::DontConfirmOverwrite);
    if (!request.filter.isEmpty())
        dialog.setNameFilter(request.filter);
    if (!request.defaultSuffix.isEmpty())
        dialog.setDefaultSuffix(request.defaultSuffix);
    if (!request.initialPath.isEmpty())
        dialog.selectFile(request.initialPath);
    const NormalCursor asking;
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return QString();
    return dialog.selectedFiles().constFirst();
}

void InstallQtFileDialogService() {
    static QtFileDialogService service;
    SetFileDialogService(&service);
}
