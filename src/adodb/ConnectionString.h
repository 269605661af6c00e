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

} // namespace adodb
