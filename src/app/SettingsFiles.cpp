#include "app/SettingsFiles.h"

#include <cstdlib>

QString NetworkDataFolder(const QString& address) {
    return QStringLiteral("\\\\") + address + QStringLiteral("\\VRIN\\");
}

QString TrimTrailingBlanks(const QString& text) {
    int end = text.size();
    while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
        --end;
    return text.left(end);
}

int TextToInt(const QString& text) {
    return std::atoi(text.toLatin1().constData());
}
