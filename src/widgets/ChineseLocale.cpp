#include "widgets/ChineseLocale.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

void InstallChineseLocale() {
    const QLocale chinese(QLocale::Chinese, QLocale::SimplifiedChineseScript, QLocale::China);
    QLocale::setDefault(chinese);
    // Qt's own texts (the file and print dialogs' buttons and labels).
    static QTranslator qtTexts;
    if (qtTexts.isEmpty() &&
        qtTexts.load(chinese, QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QCoreApplication::installTranslator(&qtTexts);
}
