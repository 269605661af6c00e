#include "adodb/JetSql.h"

#include "adodb/ComError.h"
#include "platform/OleDateTime.h"

#include <QHash>
#include <QSet>

namespace adodb {

namespace {

ComError syntaxError(const QString& what) {
    return ComError(DB_E_ERRORSINCOMMAND, QStringLiteral("SQL 语句语法错误：%1").arg(what),
                    JetSource(), QStringLiteral("42000"), -3500);
}

bool isWordStart(QChar c) {
    return c.isLetter() || c == QLatin1Char('_') || c.unicode() >= 0x80;
}
bool isWordChar(QChar c) {
    return isWordStart(c) || c.isDigit() || c == QLatin1Char('$');
}

QString quoteSql(const QString& value) {
    QString v = value;
    v.replace(QLatin1Char('\''), QStringLiteral("''"));
    return QLatin1Char('\'') + v + QLatin1Char('\'');
}

SqlToken makeToken(SqlToken::Type type, const QString& text) {
    SqlToken t;
    t.type = type;
    t.text = text;
    t.value = text;
    return t;
}

// A token whose value differs from its text (a string's or a name's unquoted value; an
// empty string literal has the empty value).
SqlToken makeToken(SqlToken::Type type, const QString& text, const QString& value) {
    SqlToken t;
    t.type = type;
    t.text = text;
    t.value = value;
    return t;
}

// A quoted run starting at i (the opening quote); returns the unescaped value and moves i
// past the closing quote.
QString readQuoted(const QString& sql, int& i, QChar quote) {
    QString value;
    ++i;
    while (true) {
        if (i >= sql.size())
            throw syntaxError(QStringLiteral("字符串没有结束的引号"));
        QChar c = sql.at(i);
        if (c == quote) {
            if (i + 1 < sql.size() && sql.at(i + 1) == quote) {
                value += quote;
                i += 2;
                continue;
            }
            ++i;
            return value;
        }
        value += c;
        ++i;
    }
}

bool isWord(const SqlToken& t, const char* word) {
    return t.type == SqlToken::Word &&
           t.value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}
bool isSymbol(const SqlToken& t, const char* symbol) {
    return t.type == SqlToken::Symbol && t.text == QLatin1String(symbol);
}

// Positions of the tokens that are not blanks, with their parenthesis depth.
struct Significant {
    std::vector<int> index;
    std::vector<int> depth;
};

Significant significant(const std::vector<SqlToken>& tokens) {
    Significant s;
    int depth = 0;
    for (int i = 0; i < static_cast<int>(tokens.size()); ++i) {
        const SqlToken& t = tokens[i];
        if (t.type == SqlToken::Space)
            continue;
        if (isSymbol(t, ")"))
            --depth;
        s.index.push_back(i);
        s.depth.push_back(depth);
        if (isSymbol(t, "("))
            ++depth;
    }
    return s;
}

QString nameOf(const SqlToken& t) {
    return t.type == SqlToken::QuotedName ? t.value : t.text;
}

const QSet<QString>& clauseKeywords() {
    static const QSet<QString> words = {
        QStringLiteral("WHERE"),  QStringLiteral("ORDER"), QStringLiteral("GROUP"),
        QStringLiteral("HAVING"), QStringLiteral("UNION"), QStringLiteral("INNER"),
        QStringLiteral("LEFT"),   QStringLiteral("RIGHT"), QStringLiteral("JOIN"),
        QStringLiteral("ON"),     QStringLiteral("AS"),    QStringLiteral("LIMIT"),
        QStringLiteral("OUTER"),  QStringLiteral("CROSS"), QStringLiteral("FULL")};
    return words;
}

class Translator {
public:
    Translator(const QString& sql, LiteralConverter* converter)
        : m_tokens(TokenizeJetSql(sql)), m_converter(converter) {}

    JetStatement run() {
        mapLiteralsAndFunctions();
        Significant s = significant(m_tokens);
        if (s.index.empty())
            throw syntaxError(QStringLiteral("语句是空的"));
        const SqlToken& first = m_tokens[s.index[0]];
        if (isWord(first, "SELECT"))
            select(s);
        else if (isWord(first, "DELETE"))
            deleteStatement(s);
        else if (isWord(first, "INSERT"))
            insert(s);
        else if (isWord(first, "UPDATE"))
            update(s);
        else if (isWord(first, "CREATE"))
            create(s);
        else if (isWord(first, "ALTER"))
            alter(s);
        else if (!isWord(first, "DROP") && !isTransaction(first))
            refuse(first.text);
        checkDefinition(s);
        collateOrderBy();
        m_result.sql = serialize();
        for (int i = 0; i < static_cast<int>(m_tokens.size()); ++i)
            if (isSymbol(m_tokens[i], "?"))
                m_result.parameterColumns.push_back(m_parameterColumns.value(i));
        return m_result;
    }

private:
    const SqlToken& sig(const Significant& s, int k) const { return m_tokens[s.index[k]]; }

    static bool isTransaction(const SqlToken& t) {
        return isWord(t, "BEGIN") || isWord(t, "COMMIT") || isWord(t, "ROLLBACK");
    }

    // Only the statements a Jet program sends reach the engine; nothing that opens other
    // files or changes the engine's settings.
    [[noreturn]] static void refuse(const QString& what) {
        throw syntaxError(QStringLiteral("不支持“%1”语句：只能执行 SELECT、INSERT、UPDATE、"
                                         "DELETE、CREATE/ALTER/DROP TABLE、CREATE/DROP INDEX "
                                         "和事务语句。")
                              .arg(what));
    }

    // CREATE and DROP take a table or an index, ALTER a table.
    void checkDefinition(const Significant& s) {
        const SqlToken& first = sig(s, 0);
        if (!isWord(first, "CREATE") && !isWord(first, "DROP") && !isWord(first, "ALTER"))
            return;
        int k = 1;
        if (isWord(first, "CREATE") && k < count(s) && isWord(sig(s, k), "UNIQUE"))
            ++k;
        bool table = k < count(s) && isWord(sig(s, k), "TABLE");
        bool index = k < count(s) && isWord(sig(s, k), "INDEX") && !isWord(first, "ALTER");
        if (!table && !index)
            refuse(first.text + (k < count(s) ? QLatin1Char(' ') + sig(s, k).text : QString()));
    }
    // A "," between the items of a parenthesised top-level list, or its closing ")".
    bool isListSeparator(const Significant& s, int k) const {
        return (s.depth[k] == 1 && isSymbol(sig(s, k), ",")) ||
               (s.depth[k] == 0 && isSymbol(sig(s, k), ")"));
    }
    int count(const Significant& s) const { return static_cast<int>(s.index.size()); }

    // A LIKE pattern with Jet's bracketed literals ("[%]", "[_]", "[[]") becomes the
    // engine's form: the character after an escape mark, and an ESCAPE clause.
    void mapLikePatterns() {
        for (int i = 0; i < static_cast<int>(m_tokens.size()); ++i) {
            if (!isWord(m_tokens[i], "LIKE"))
                continue;
            const int k = nextSignificant(i);
            if (k < 0 || m_tokens[k].type != SqlToken::String)
                continue;
            const QString& pattern = m_tokens[k].value;
            if (!pattern.contains(QLatin1Char('[')))
                continue;
            QString out;
            bool escaped = false;
            for (int j = 0; j < pattern.size(); ++j) {
                QChar c = pattern.at(j);
                if (c == QLatin1Char('[') && j + 2 < pattern.size() &&
                    pattern.at(j + 2) == QLatin1Char(']')) {
                    c = pattern.at(j + 1);
                    j += 2;
                    if (c == QLatin1Char('%') || c == QLatin1Char('_') || c == QLatin1Char('\\')) {
                        out += QLatin1Char('\\');
                        escaped = true;
                    }
                    out += c;
                } else {
                    if (c == QLatin1Char('\\')) {
                        out += QLatin1Char('\\');
                        escaped = true;
                    }
                    out += c;
                }
            }
            m_tokens[k].text = quoteSql(out) + (escaped ? QStringLiteral(" ESCAPE '\\'") : QString());
        }
    }

    void mapLiteralsAndFunctions() {
        mapLikePatterns();
        for (int i = 0; i < static_cast<int>(m_tokens.size()); ++i) {
            SqlToken& t = m_tokens[i];
            if (t.type == SqlToken::Date) {
                COleDateTime date;
                if (!date.ParseDateTime(t.value))
                    throw syntaxError(QStringLiteral("日期 #%1# 无法识别").arg(t.value));
                QString text = date.Format(QStringLiteral("%Y-%m-%d %H:%M:%S"));
                t = makeToken(SqlToken::String, quoteSql(text), text);
            } else if (t.type == SqlToken::Word) {
                int next = nextSignificant(i);
                bool call = next >= 0 && isSymbol(m_tokens[next], "(");
                bool qualified = prevSignificantIs(i, ".");
                if (qualified)
                    continue;
                if (!call && isWord(t, "TRUE"))
                    t = makeToken(SqlToken::Number, QStringLiteral("-1"));
                else if (!call && isWord(t, "FALSE"))
                    t = makeToken(SqlToken::Number, QStringLiteral("0"));
                else if (call)
                    mapFunction(i, next);
            } else if (isSymbol(t, "&")) {
                t = makeToken(SqlToken::Symbol, QStringLiteral("||"));
            }
        }
    }

    void mapFunction(int i, int open) {
        static const QList<QPair<const char*, const char*>> renames = {
            {"UCASE", "upper"}, {"LCASE", "lower"}, {"LEN", "length"}, {"MID", "substr"},
            {"NZ", "ifnull"},   {"IIF", "iif"},     {"INSTR", "instr"}};
        for (const auto& r : renames)
            if (isWord(m_tokens[i], r.first)) {
                m_tokens[i].text = QLatin1String(r.second);
                return;
            }
        int close = nextSignificant(open);
        if (close < 0 || !isSymbol(m_tokens[close], ")"))
            return;
        QString replacement;
        if (isWord(m_tokens[i], "NOW"))
            replacement = QStringLiteral("datetime('now','localtime')");
        else if (isWord(m_tokens[i], "DATE"))
            replacement = QStringLiteral("(date('now','localtime')||' 00:00:00')");
        else
            return;
        m_tokens[i].text = replacement;
        for (int k = i + 1; k <= close; ++k)
            m_tokens[k].text.clear();
    }

    int nextSignificant(int i) const {
        for (int k = i + 1; k < static_cast<int>(m_tokens.size()); ++k)
            if (m_tokens[k].type != SqlToken::Space)
                return k;
        return -1;
    }
    bool prevSignificantIs(int i, const char* symbol) const {
        for (int k = i - 1; k >= 0; --k)
            if (m_tokens[k].type != SqlToken::Space)
                return isSymbol(m_tokens[k], symbol);
        return false;
    }

    void select(const Significant& s) {
        m_result.kind = JetStatement::Select;
        int n = count(s);
        int k = 1;
        bool distinct = false;
        if (k < n && (isWord(sig(s, k), "DISTINCT"))) {
            distinct = true;
            ++k;
        } else if (k < n && (isWord(sig(s, k), "DISTINCTROW") || isWord(sig(s, k), "ALL"))) {
            m_tokens[s.index[k]].text.clear();
            ++k;
        }
        int insertAt = s.index[k - 1] + 1; // after SELECT (and a dropped ALL/DISTINCTROW)
        QString limit;
        if (k + 1 < n && isWord(sig(s, k), "TOP") && sig(s, k + 1).type == SqlToken::Number) {
            if (k + 2 < n && isWord(sig(s, k + 2), "PERCENT"))
                throw syntaxError(QStringLiteral("不支持 TOP ... PERCENT"));
            limit = sig(s, k + 1).text;
            m_tokens[s.index[k]].text.clear();
            m_tokens[s.index[k + 1]].text.clear();
            insertAt = s.index[k + 1] + 1;
            k += 2;
        }
        bool aggregate = false;
        int from = -1;
        for (int j = k; j < n; ++j) {
            if (s.depth[j] != 0)
                continue;
            const SqlToken& t = sig(s, j);
            if (from < 0 && isWord(t, "FROM")) {
                from = j;
                break;
            }
            if (j + 1 < n && isSymbol(sig(s, j + 1), "(")) {
                static const char* const aggregates[] = {"COUNT", "SUM",  "AVG",   "MIN", "MAX",
                                                         "FIRST", "LAST", "STDEV", "VAR"};
                for (const char* a : aggregates)
                    if (isWord(t, a))
                        aggregate = true;
            }
        }
        bool single = from >= 0 && from + 1 < n && !distinct && !aggregate &&
                      (sig(s, from + 1).type == SqlToken::Word ||
                       sig(s, from + 1).type == SqlToken::QuotedName);
        if (single) {
            m_result.table = nameOf(sig(s, from + 1));
            int j = from + 2;
            if (j < n && isWord(sig(s, j), "AS"))
                j += 2;
            else if (j < n && sig(s, j).type == SqlToken::Word &&
                     !clauseKeywords().contains(sig(s, j).value.toUpper()))
                ++j;
            if (j < n && !(isWord(sig(s, j), "WHERE") || isWord(sig(s, j), "ORDER")))
                single = false;
            for (; single && j < n; ++j) {
                if (s.depth[j] != 0)
                    continue;
                const SqlToken& t = sig(s, j);
                if (isWord(t, "GROUP") || isWord(t, "HAVING") || isWord(t, "UNION") ||
                    isWord(t, "JOIN"))
                    single = false;
                else if (isSymbol(t, ",") && !orderByBefore(s, j))
                    single = false;
            }
        }
        m_result.singleTable = single;
        if (single)
            m_insertions.push_back(
                {insertAt, QStringLiteral(" _ROWID_ AS %1,").arg(HiddenRowIdColumn())});
        if (!limit.isEmpty())
            m_suffix = QStringLiteral(" LIMIT ") + limit;
    }

    // Whether the token at position j follows a top-level ORDER BY (commas there are fine).
    bool orderByBefore(const Significant& s, int j) const {
        for (int k = j - 1; k > 0; --k)
            if (s.depth[k] == 0 && isWord(sig(s, k), "BY") && isWord(sig(s, k - 1), "ORDER"))
                return true;
        return false;
    }

    void deleteStatement(const Significant& s) {
        m_result.kind = JetStatement::Delete;
        int n = count(s);
        int k = 1;
        if (k < n && isSymbol(sig(s, k), "*")) {
            m_tokens[s.index[k]].text.clear();
            ++k;
        } else if (k + 2 < n && isSymbol(sig(s, k + 1), ".") && isSymbol(sig(s, k + 2), "*")) {
            for (int j = k; j <= k + 2; ++j)
                m_tokens[s.index[j]].text.clear();
            k += 3;
        }
        if (k + 1 < n && isWord(sig(s, k), "FROM"))
            m_result.table = nameOf(sig(s, k + 1));
    }

    void insert(const Significant& s) {
        m_result.kind = JetStatement::Insert;
        int n = count(s);
        if (n < 3 || !isWord(sig(s, 1), "INTO"))
            return;
        m_result.table = nameOf(sig(s, 2));
        if (n < 4 || !isSymbol(sig(s, 3), "("))
            return;
        QStringList columns;
        int k = 4;
        for (; k < n && !isSymbol(sig(s, k), ")"); ++k)
            if (!isSymbol(sig(s, k), ","))
                columns << nameOf(sig(s, k));
        ++k;
        if (k + 1 >= n || !isWord(sig(s, k), "VALUES") || !isSymbol(sig(s, k + 1), "("))
            return;
        k += 2;
        int column = 0;
        while (k < n && column < columns.size()) {
            int start = k;
            while (k < n && !isListSeparator(s, k))
                ++k;
            convertValue(s, start, k, columns[column++]);
            if (k < n && isSymbol(sig(s, k), ")"))
                break;
            ++k;
        }
    }

    void update(const Significant& s) {
        m_result.kind = JetStatement::Update;
        int n = count(s);
        if (n < 3)
            return;
        m_result.table = nameOf(sig(s, 1));
        if (!isWord(sig(s, 2), "SET"))
            return;
        int k = 3;
        while (k + 2 < n) {
            QString column = nameOf(sig(s, k));
            if (!isSymbol(sig(s, k + 1), "="))
                return;
            int start = k + 2;
            k = start;
            while (k < n &&
                   !(s.depth[k] == 0 && (isSymbol(sig(s, k), ",") || isWord(sig(s, k), "WHERE"))))
                ++k;
            convertValue(s, start, k, column);
            if (k >= n || isWord(sig(s, k), "WHERE"))
                return;
            ++k;
        }
    }

    // A value made of one literal (or a signed number) is converted for its column.
    void convertValue(const Significant& s, int start, int end, const QString& column) {
        if (end - start == 1 && isSymbol(sig(s, start), "?"))
            m_parameterColumns.insert(s.index[start], column);
        if (!m_converter || end <= start)
            return;
        SqlToken literal;
        if (end - start == 1) {
            literal = sig(s, start);
        } else if (end - start == 2 &&
                   (isSymbol(sig(s, start), "-") || isSymbol(sig(s, start), "+")) &&
                   sig(s, start + 1).type == SqlToken::Number) {
            literal = makeToken(SqlToken::Number, sig(s, start).text + sig(s, start + 1).text);
        } else {
            return;
        }
        bool isNull = literal.type == SqlToken::Word && isWord(literal, "NULL");
        if (literal.type != SqlToken::String && literal.type != SqlToken::Number && !isNull)
            return;
        QString text = m_converter->ConvertLiteral(m_result.table, column, literal);
        m_tokens[s.index[start]].text = text;
        for (int j = start + 1; j < end; ++j)
            m_tokens[s.index[j]].text.clear();
    }

    void create(const Significant& s) {
        int n = count(s);
        if (n < 3 || !isWord(sig(s, 1), "TABLE"))
            return;
        m_result.table = nameOf(sig(s, 2));
        if (n == 3) {
            m_result.kind = JetStatement::CreateEmptyTable;
            return;
        }
        m_result.kind = JetStatement::CreateTable;
        if (!isSymbol(sig(s, 3), "("))
            return;
        int k = 4;
        while (k < n) {
            int start = k;
            while (k < n && !isListSeparator(s, k))
                ++k;
            translateColumnDefinition(s, start, k);
            if (k >= n || isSymbol(sig(s, k), ")"))
                break;
            ++k;
        }
    }

    void alter(const Significant& s) {
        int n = count(s);
        if (n < 5 || !isWord(sig(s, 1), "TABLE") || !isWord(sig(s, 3), "ADD"))
            return;
        m_result.table = nameOf(sig(s, 2));
        int k = 4;
        if (isWord(sig(s, k), "COLUMN"))
            ++k;
        else if (isWord(sig(s, k), "CONSTRAINT") || isWord(sig(s, k), "PRIMARY"))
            return;
        if (k >= n)
            return;
        m_result.kind = JetStatement::AlterAddColumn;
        m_result.column = nameOf(sig(s, k));
        translateColumnDefinition(s, k, n);
    }

    // name type[(size)] rest: the type becomes its SQLite form.
    void translateColumnDefinition(const Significant& s, int start, int end) {
        if (end - start < 2 || isWord(sig(s, start), "CONSTRAINT") ||
            isWord(sig(s, start), "PRIMARY"))
            return;
        int typeAt = start + 1;
        if (sig(s, typeAt).type != SqlToken::Word)
            return;
        int after = typeAt + 1;
        QString size;
        if (after < end && isSymbol(sig(s, after), "(")) {
            int close = after + 1;
            while (close < end && !isSymbol(sig(s, close), ")"))
                ++close;
            for (int j = after + 1; j < close; ++j)
                size += sig(s, j).text;
            for (int j = after; j <= close && j < end; ++j)
                m_tokens[s.index[j]].text.clear();
            after = close + 1;
        }
        bool autoNumber = false;
        QString type = TranslateColumnType(sig(s, typeAt).value, size, &autoNumber);
        m_tokens[s.index[typeAt]].text = type;
        if (autoNumber) {
            for (int j = after; j + 1 < end; ++j)
                if (isWord(sig(s, j), "PRIMARY") && isWord(sig(s, j + 1), "KEY")) {
                    m_tokens[s.index[j]].text.clear();
                    m_tokens[s.index[j + 1]].text.clear();
                }
        }
    }

    void collateOrderBy() {
        Significant s = significant(m_tokens);
        int n = count(s);
        int k = -1;
        for (int j = 0; j + 1 < n; ++j)
            if (s.depth[j] == 0 && isWord(sig(s, j), "ORDER") && isWord(sig(s, j + 1), "BY"))
                k = j + 2;
        if (k < 0)
            return;
        while (k < n) {
            int start = k;
            while (k < n &&
                   !(s.depth[k] == 0 && (isSymbol(sig(s, k), ",") || isWord(sig(s, k), "LIMIT"))))
                ++k;
            int last = k - 1;
            bool hasCollate = false;
            for (int j = start; j <= last; ++j)
                hasCollate = hasCollate || isWord(sig(s, j), "COLLATE");
            bool ordinal = last == start && sig(s, start).type == SqlToken::Number;
            if (last >= start && !hasCollate && !ordinal) {
                int before = last;
                if (isWord(sig(s, last), "ASC") || isWord(sig(s, last), "DESC"))
                    before = last - 1;
                if (before >= start)
                    m_insertions.push_back(
                        {s.index[before] + 1, QStringLiteral(" COLLATE PINYIN")});
            }
            if (k >= n || isWord(sig(s, k), "LIMIT"))
                break;
            ++k;
        }
    }

    QString serialize() const {
        QString out;
        for (int i = 0; i <= static_cast<int>(m_tokens.size()); ++i) {
            for (const auto& ins : m_insertions)
                if (ins.first == i)
                    out += ins.second;
            if (i < static_cast<int>(m_tokens.size())) {
                out += m_tokens[i].text;
                // "3AND": Jet reads a number and a word, the engine one bad token.
                if (m_tokens[i].type == SqlToken::Number && i + 1 < static_cast<int>(m_tokens.size()) &&
                    m_tokens[i + 1].type == SqlToken::Word && !m_tokens[i].text.isEmpty())
                    out += QLatin1Char(' ');
            }
        }
        return out + m_suffix;
    }

    std::vector<SqlToken> m_tokens;
    LiteralConverter* m_converter;
    JetStatement m_result;
    std::vector<QPair<int, QString>> m_insertions; // text inserted before token index
    QString m_suffix;
    QHash<int, QString> m_parameterColumns; // token index of a "?" -> the column it writes
};

} // namespace

QString HiddenRowIdColumn() {
    return QStringLiteral("__vrin_rowid");
}

std::vector<SqlToken> TokenizeJetSql(const QString& sql) {
    std::vector<SqlToken> tokens;
    const int n = sql.size();
    int i = 0;
    while (i < n) {
        QChar c = sql.at(i);
        int start = i;
        if (c.isSpace()) {
            while (i < n && sql.at(i).isSpace())
                ++i;
            tokens.push_back(makeToken(SqlToken::Space, sql.mid(start, i - start)));
        } else if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString value = readQuoted(sql, i, c);
            tokens.push_back(makeToken(SqlToken::String, quoteSql(value), value));
        } else if (c == QLatin1Char('[') || c == QLatin1Char('`')) {
            QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('`');
            int end = sql.indexOf(close, i + 1);
            if (end < 0)
                throw syntaxError(QStringLiteral("名称没有结束的括号"));
            QString name = sql.mid(i + 1, end - i - 1);
            QString quoted = name;
            quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
            tokens.push_back(makeToken(SqlToken::QuotedName,
                                       QLatin1Char('"') + quoted + QLatin1Char('"'), name));
            i = end + 1;
        } else if (c == QLatin1Char('#')) {
            int end = sql.indexOf(QLatin1Char('#'), i + 1);
            if (end < 0)
                throw syntaxError(QStringLiteral("日期没有结束的 #"));
            tokens.push_back(
                makeToken(SqlToken::Date, sql.mid(i, end - i + 1), sql.mid(i + 1, end - i - 1)));
            i = end + 1;
        } else if (c.isDigit() || (c == QLatin1Char('.') && i + 1 < n && sql.at(i + 1).isDigit())) {
            while (i < n && (sql.at(i).isDigit() || sql.at(i) == QLatin1Char('.')))
                ++i;
            if (i < n && (sql.at(i) == QLatin1Char('e') || sql.at(i) == QLatin1Char('E'))) {
                int j = i + 1;
                if (j < n && (sql.at(j) == QLatin1Char('+') || sql.at(j) == QLatin1Char('-')))
                    ++j;
                if (j < n && sql.at(j).isDigit()) {
                    i = j;
                    while (i < n && sql.at(i).isDigit())
                        ++i;
                }
            }
            tokens.push_back(makeToken(SqlToken::Number, sql.mid(start, i - start)));
        } else if (isWordStart(c)) {
            while (i < n && isWordChar(sql.at(i)))
                ++i;
            tokens.push_back(makeToken(SqlToken::Word, sql.mid(start, i - start)));
        } else {
            static const char* const pairs[] = {"<=", ">=", "<>", "!=", "||", "=="};
            QString two = sql.mid(i, 2);
            bool matched = false;
            for (const char* p : pairs)
                if (two == QLatin1String(p)) {
                    tokens.push_back(makeToken(SqlToken::Symbol, two));
                    i += 2;
                    matched = true;
                    break;
                }
            if (!matched) {
                tokens.push_back(makeToken(SqlToken::Symbol, QString(c)));
                ++i;
            }
        }
    }
    return tokens;
}

QString TranslateColumnType(const QString& jetType, const QString& size, bool* autoNumber) {
    QString upper = jetType.toUpper();
    if (autoNumber)
        *autoNumber = false;
    QString sized = size.isEmpty() ? QString() : QStringLiteral("(%1)").arg(size);
    if (upper == QLatin1String("COUNTER") || upper == QLatin1String("AUTOINCREMENT") ||
        upper == QLatin1String("IDENTITY")) {
        if (autoNumber)
            *autoNumber = true;
        return QStringLiteral("INTEGER PRIMARY KEY AUTOINCREMENT");
    }
    static const QSet<QString> longText = {QStringLiteral("MEMO"), QStringLiteral("LONGTEXT"),
                                           QStringLiteral("NOTE"), QStringLiteral("LONGCHAR"),
                                           QStringLiteral("NTEXT")};
    if (longText.contains(upper))
        return QStringLiteral("LONGTEXT COLLATE NOCASE");
    if (upper == QLatin1String("STRING") || upper == QLatin1String("ALPHANUMERIC"))
        return QStringLiteral("VARCHAR") + sized + QStringLiteral(" COLLATE NOCASE");
    static const QSet<QString> text = {QStringLiteral("TEXT"),     QStringLiteral("CHAR"),
                                       QStringLiteral("VARCHAR"),  QStringLiteral("NCHAR"),
                                       QStringLiteral("NVARCHAR"), QStringLiteral("CHARACTER")};
    if (text.contains(upper))
        return jetType + sized + QStringLiteral(" COLLATE NOCASE");
    return jetType + sized;
}

JetStatement TranslateJetSql(const QString& sql, LiteralConverter* converter) {
    return Translator(sql, converter).run();
}

} // namespace adodb
