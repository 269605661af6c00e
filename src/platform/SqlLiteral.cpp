#include "platform/SqlLiteral.h"

QString SqlEscape(const QString& value) {
    QString out = value;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}
