#pragma once
// Message boxes shown by Qt: the style's icon and buttons, the caption, the text with its
// Windows line breaks.

#include "platform/MessageService.h"

class QtMessageService : public MessageService {
public:
    int Show(QObject* owner, const QString& text, const QString& caption, unsigned style) override;
};

// Installs the Qt service for the running program.
void InstallQtMessageService();
