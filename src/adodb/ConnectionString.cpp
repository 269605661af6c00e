#include "adodb/ConnectionString.h"

namespace adodb {

ConnectionString::ConnectionString(const QString& text) : m_text(text) {
    // key = value pairs; a value that starts with a quote or a brace runs to its closing
    // mark, so it may hold ";" ("DRIVER={...}", CREATE_DB="...").
    const int n = text.size();
    int i = 0;
    while (i < n) {
        int keyStart = i;
        while (i < n && text.at(i) != QLatin1Char('=') && text.at(i) != QLatin1Char(';'))
            ++i;
        if (i >= n || text.at(i) == QLatin1Char(';')) {
            ++i; // a bare key: ignored
            continue;
        }
        QString key = text.mid(keyStart, i - keyStart).trimmed().toLower();
        ++i; // '='
        while (i < n && text.at(i).isSpace())
            ++i;
        QString value;
        QChar open = i < n ? text.at(i) : QChar();
        QChar close = open == QLatin1Char('{') ? QLatin1Char('}') : open;
        if (open == QLatin1Char('{')) {
            int end = text.indexOf(close, i + 1);
            if (end < 0)
                end = n;
            value = text.mid(i, end - i + 1);
            i = end + 1;
            while (i < n && text.at(i) != QLatin1Char(';'))
                ++i;
        } else if (open == QLatin1Char('"') || open == QLatin1Char('\'')) {
            // A quote inside is written twice.
            ++i;
            while (i < n) {
                if (text.at(i) == close) {
                    if (i + 1 < n && text.at(i + 1) == close) {
                        value += close;
                        i += 2;
                        continue;
                    }
                    break;
                }
                value += text.at(i++);
            }
            ++i;
            while (i < n && text.at(i) != QLatin1Char(';'))
                ++i;
        } else {
            int end = text.indexOf(QLatin1Char(';'), i);
            if (end < 0)
                end = n;
            value = text.mid(i, end - i).trimmed();
            i = end;
        }
        ++i; // ';'
        if (!key.isEmpty())
            m_pairs.append({key, value});
    }
}

bool ConnectionString::Has(const QString& key) const {
    QString k = key.toLower();
    for (const auto& p : m_pairs)
        if (p.first == k)
            return true;
    return false;
}

QString ConnectionString::Value(const QString& key) const {
    QString k = key.toLower();
    for (const auto& p : m_pairs)
        if (p.first == k)
            return p.second;
    return QString();
}

QString QuoteConnectionValue(const QString& value) {
    const bool plain = !value.contains(QLatin1Char(';')) && !value.contains(QLatin1Char('"')) &&
                       !value.contains(QLatin1Char('\'')) && !value.startsWith(QLatin1Char('{')) &&
                       value.trimmed() == value;
    if (plain)
        return value;
    QString quoted = value;
    quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + quoted + QLatin1Char('"');
}

QString JetConnectionString(const QString& path) {
    return QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") +
           QuoteConnectionValue(path);
}

} // namespace adodb
