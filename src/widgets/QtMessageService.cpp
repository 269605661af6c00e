#include "widgets/QtMessageService.h"

#include "widgets/BusyCursor.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QWidget>

int QtMessageService::Show(QObject* owner, const QString& text, const QString& caption,
                           unsigned style) {
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    switch (style & MB_ICONMASK) {
    case MB_ICONSTOP:
        icon = QMessageBox::Critical;
        break;
    case MB_ICONQUESTION:
        icon = QMessageBox::Question;
        break;
    case MB_ICONEXCLAMATION:
        icon = QMessageBox::Warning;
        break;
    case MB_ICONINFORMATION:
        icon = QMessageBox::Information;
        break;
    default:
        break;
    }
    QString shown = text;
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(icon, caption, shown, QMessageBox::NoButton, qobject_cast<QWidget*>(owner));
    struct Choice {
        QMessageBox::StandardButton button;
        const char* label;
        int id;
    };
    QList<Choice> choices;
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        choices = {{QMessageBox::Ok, "确定", IDOK}, {QMessageBox::Cancel, "取消", IDCANCEL}};
        break;
    case MB_ABORTRETRYIGNORE:
        choices = {{QMessageBox::Abort, "中止", IDABORT},
                   {QMessageBox::Retry, "重试", IDRETRY},
                   {QMessageBox::Ignore, "忽略", IDIGNORE}};
        break;
    case MB_YESNOCANCEL:
        choices = {{QMessageBox::Yes, "是", IDYES},
                   {QMessageBox::No, "否", IDNO},
                   {QMessageBox::Cancel, "取消", IDCANCEL}};
        break;
    case MB_YESNO:
        choices = {{QMessageBox::Yes, "是", IDYES}, {QMessageBox::No, "否", IDNO}};
        break;
    case MB_RETRYCANCEL:
        choices = {{QMessageBox::Retry, "重试", IDRETRY}, {QMessageBox::Cancel, "取消", IDCANCEL}};
        break;
    default:
        choices = {{QMessageBox::Ok, "确定", IDOK}};
        break;
    }
    QMessageBox::StandardButtons buttons;
    for (const Choice& c : choices)
        buttons |= c.button;
    box.setStandardButtons(buttons);
    for (const Choice& c : choices)
        box.button(c.button)->setText(QString::fromUtf8(c.label));
    int defaultIndex = static_cast<int>((style & MB_DEFMASK) >> 8);
    if (defaultIndex < choices.size())
        box.setDefaultButton(choices[defaultIndex].button);
    const NormalCursor asking;
    int result = box.exec();
    for (const Choice& c : choices)
        if (c.button == result)
            return c.id;
    return (style & MB_TYPEMASK) == MB_OK ? IDOK : IDCANCEL;
}

void InstallQtMessageService() {
    static QtMessageService service;
    SetMessageService(&service);
}
