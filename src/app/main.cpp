// VRIN: the resident archive of a community's registration office.

#include "app/shell/VRINApp.h"
#include "platform/MessageService.h"
#include "widgets/ChineseLocale.h"
#include "widgets/Fonts.h"
#include "widgets/QtFileDialogService.h"
#include "widgets/QtMessageService.h"
#include "widgets/QtShellService.h"

#include <QApplication>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(AppTitle());
    InstallChineseLocale();
    InstallFontSubstitutions();
    InstallQtMessageService();
    InstallQtFileDialogService();
    InstallQtShellService();
    CVRINApp app;
    if (!app.InitInstance())
        return app.ExitInstance();
    int result = application.exec();
    app.ExitInstance();
    return result;
}
