#include "platform/SqlLiteral.h"

QString SqlEscape(const QString& value) {
    QString out = value;
    out.replace(QLatin1Char('\''), QStringLiteral("''"));
    return out;
}

QString SqlLikeEscape(const QString& value) {
    QString out;
    out.reserve(value.size());
    for (QChar c : value) {
        if (c == QLatin1Char('[') || c == QLatin1Char('%') || c == QLatin1Char('_'))
            out += QLatin1Char('[') + QString(c) + QLatin1Char(']');
        else
            out += c;
    }
    return SqlEscape(out);
}
