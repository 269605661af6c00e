#include "app/archive/QueryPicking.h"

QString PickIntoQuery(const QString& query, const QString& cell) {
    QString text;
    if (query.isEmpty()) {
        text = cell;
    } else {
        const qsizetype comma = query.indexOf(QLatin1Char(','));
        text = (comma >= 0 ? query.mid(comma + 1) : query) + QLatin1Char(',') + cell;
    }
    qsizetype begin = 0, end = text.size();
    while (begin < end && text.at(begin) == QLatin1Char(','))
        ++begin;
    while (end > begin && text.at(end - 1) == QLatin1Char(','))
        --end;
    return text.mid(begin, end - begin);
}
