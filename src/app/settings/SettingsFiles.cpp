#include "app/settings/SettingsFiles.h"

#include <algorithm>
#include <climits>
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
    // atoi's reading, with values beyond the range of int saturated.
    long long value = std::strtoll(text.toLatin1().constData(), nullptr, 10);
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}
