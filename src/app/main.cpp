// VRIN: the resident archive of a community's registration office.

#include "app/shell/VRINApp.h"
#include "platform/MessageService.h"
#include "widgets/Fonts.h"
#include "widgets/QtFileDialogService.h"
#include "widgets/QtMessageService.h"
#include "widgets/QtShellService.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QTranslator>

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QApplication::setApplicationName(AppTitle());
    // Qt's own texts (the file and print dialogs' buttons and labels) in Chinese.
    QTranslator qtTexts;
    if (qtTexts.load(QStringLiteral("qtbase_zh_CN"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
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
