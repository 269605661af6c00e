#include "platform/MessageService.h"

#include <cstdio>

namespace {

class ConsoleMessageService : public MessageService {
public:
    int Show(QObject*, const QString& text, const QString& caption, unsigned style) override {
        QByteArray line = (caption + QStringLiteral(": ") + text).toUtf8();
        std::fprintf(stderr, "%s\n", line.constData());
        return FirstButtonOf(style);
    }
};

MessageService*& installed() {
    static MessageService* service = nullptr;
    return service;
}

} // namespace

int FirstButtonOf(unsigned style) {
    switch (style & MB_TYPEMASK) {
    case MB_OKCANCEL:
        return IDOK;
    case MB_ABORTRETRYIGNORE:
        return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
        return IDYES;
    case MB_RETRYCANCEL:
        return IDRETRY;
    default:
        return IDOK;
    }
}

MessageService& CurrentMessageService() {
    static ConsoleMessageService console;
    return installed() ? *installed() : console;
}

MessageService* SetMessageService(MessageService* service) {
    MessageService* previous = installed();
    installed() = service;
    return previous;
}

QString AppTitle() {
    return QStringLiteral("VRIN");
}

int MessageBox(QObject* owner, const QString& text, const QString& caption, unsigned style) {
    return CurrentMessageService().Show(owner, text, caption.isEmpty() ? AppTitle() : caption,
                                        style);
}

int AfxMessageBox(const QString& text, unsigned style) {
    return CurrentMessageService().Show(nullptr, text, AppTitle(), style);
}
