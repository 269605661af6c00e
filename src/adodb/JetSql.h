#pragma once
// Jet SQL as the program writes it, translated into SQLite's dialect. Translation works on
// tokens, so nothing inside a string literal is ever changed.

#include <QString>

#include <vector>

namespace adodb {

struct SqlToken {
    enum Type { Space, Word, QuotedName, String, Number, Date, Symbol };
    Type type = Space;
    QString text;  // as it goes into the translated SQL
    QString value; // String: the unquoted text; QuotedName: the name; Word: the word
};

// Splits Jet SQL into tokens: "..." and '...' become string literals, [..] and `..` names,
// #...# dates. Raises ComError 0x80040E14 for an unterminated literal.
std::vector<SqlToken> TokenizeJetSql(const QString& sql);

// Turns the literal of a value written into a column (INSERT ... VALUES, UPDATE ... SET)
// into the literal the engine stores, converting it the way a write into that column does.
class LiteralConverter {
public:
    virtual ~LiteralConverter() = default;
    // Returns the SQL text to use instead of the literal; raises ComError when the value
    // does not convert.
    virtual QString ConvertLiteral(const QString& table, const QString& column,
                                   const SqlToken& literal) = 0;
};

struct JetStatement {
    enum Kind {
        Select,
        Insert,
        Update,
        Delete,
        CreateTable,
        CreateEmptyTable, // "CREATE TABLE t" without a column list
        AlterAddColumn,
        Other
    };
    Kind kind = Other;
    QString sql;              // the SQLite text
    QString table;            // the table the statement works on
    QString column;           // AlterAddColumn: the column added
    bool singleTable = false; // Select over one table whose rows can be written back
    // One entry per "?" parameter, in order: the column its value is written into (INSERT
    // ... VALUES, UPDATE ... SET), empty where it is only compared or computed.
    std::vector<QString> parameterColumns;
};

// Name of the hidden first result column of a single-table Select: the row's id.
QString HiddenRowIdColumn();

// Raises ComError 0x80040E14 for what cannot be translated.
JetStatement TranslateJetSql(const QString& sql, LiteralConverter* converter = nullptr);

// The SQLite type for a Jet column type: text types keep their size and compare without
// regard to ASCII case; COUNTER becomes an auto-numbered key.
QString TranslateColumnType(const QString& jetType, const QString& size, bool* autoNumber);

} // namespace adodb
