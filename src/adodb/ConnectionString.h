#pragma once
// Connection strings: key=value pairs split at ";". Keys are trimmed and compared without
// regard to case; a bare key without "=" is ignored. Values are trimmed and may be quoted.

#include <QList>
#include <QPair>
#include <QString>

namespace adodb {

class ConnectionString {
public:
    explicit ConnectionString(const QString& text);

    bool Has(const QString& key) const;
    QString Value(const QString& key) const; // "" when absent
    const QString& Text() const { return m_text; }

private:
    QString m_text;
    QList<QPair<QString, QString>> m_pairs; // keys in lower case
};

// A value as it is written into a connection string so that it reads back unchanged: as it
// stands when that is safe, else in double quotes (a quote inside doubled). A path with ";"
// then stays one value.
QString QuoteConnectionValue(const QString& value);

// "Provider=Microsoft.Jet.OLEDB.4.0; Data Source=" and the database file's path.
QString JetConnectionString(const QString& path);

} // namespace adodb
