#pragma once
// Message boxes with the Win32 style flags and return codes. The program shows them
// through one service: Qt's in the running program, a scripted responder in tests.

#include <QString>

class QObject;

enum MessageBoxStyle : unsigned {
    MB_OK = 0x0,
    MB_OKCANCEL = 0x1,
    MB_ABORTRETRYIGNORE = 0x2,
    MB_YESNOCANCEL = 0x3,
    MB_YESNO = 0x4,
    MB_RETRYCANCEL = 0x5,
    MB_TYPEMASK = 0xF,
    MB_ICONHAND = 0x10,
    MB_ICONSTOP = 0x10,
    MB_ICONERROR = 0x10,
    MB_ICONQUESTION = 0x20,
    MB_ICONEXCLAMATION = 0x30,
    MB_ICONWARNING = 0x30,
    MB_ICONASTERISK = 0x40,
    MB_ICONINFORMATION = 0x40,
    MB_ICONMASK = 0xF0,
    MB_DEFBUTTON1 = 0x0,
    MB_DEFBUTTON2 = 0x100,
    MB_DEFBUTTON3 = 0x200,
    MB_DEFMASK = 0xF00,
};

enum DialogResult : int {
    IDOK = 1,
    IDCANCEL = 2,
    IDABORT = 3,
    IDRETRY = 4,
    IDIGNORE = 5,
    IDYES = 6,
    IDNO = 7,
};

class MessageService {
public:
    virtual ~MessageService() = default;
    // Shows one box and returns the button pressed. owner is the window the box belongs
    // to, or null.
    virtual int Show(QObject* owner, const QString& text, const QString& caption,
                     unsigned style) = 0;
};

// The service in use; before any is installed, boxes go to stderr and get their first button.
MessageService& CurrentMessageService();
// Installs a service (not owned) and returns the previous one (null for the default).
MessageService* SetMessageService(MessageService* service);

// The application title, the caption of boxes that have none of their own.
QString AppTitle();

int MessageBox(QObject* owner, const QString& text, const QString& caption, unsigned style);
int AfxMessageBox(const QString& text, unsigned style = MB_OK);

// The answer a box of this style gets when nobody can be asked: its first button.
int FirstButtonOf(unsigned style);
