#include "adodb/Criteria.h"

#include "adodb/ComError.h"
#include "adodb/ValueConversion.h"

#include <QList>
#include <QPair>

namespace adodb {

namespace {

enum class Op { Eq, Ne, Lt, Le, Gt, Ge, Like, IsNull, IsNotNull };

ComError criteriaError(const QString& text, const QString& why) {
    return ComError(DB_E_ERRORSINCOMMAND, QStringLiteral("条件“%1”无法识别：%2").arg(text, why),
                    RecordsetSource(), QStringLiteral("42000"), 0);
}

QChar foldAscii(QChar c) {
    char16_t u = c.unicode();
    return (u >= 'A' && u <= 'Z') ? QChar(u + 32) : c;
}

int compareText(const QString& a, const QString& b) {
    const int n = std::min(a.size(), b.size());
    for (int i = 0; i < n; ++i) {
        char16_t x = foldAscii(a.at(i)).unicode(), y = foldAscii(b.at(i)).unicode();
        if (x != y)
            return x < y ? -1 : 1;
    }
    return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}

bool isAnyRun(QChar c) {
    return c == QLatin1Char('%') || c == QLatin1Char('*');
}
bool isAnyOne(QChar c) {
    return c == QLatin1Char('_') || c == QLatin1Char('?');
}

} // namespace

// Greedy matching with one remembered wildcard: when a later part fails, the last run
// wildcard takes one more character. At most length × pattern steps, never backtracking
// through earlier wildcards.
bool LikeMatches(const QString& t, const QString& p) {
    int ti = 0, pi = 0;
    int star = -1, mark = 0;
    while (ti < t.size()) {
        if (pi < p.size() && isAnyRun(p.at(pi))) {
            star = pi++;
            mark = ti;
        } else if (pi < p.size() &&
                   (isAnyOne(p.at(pi)) || foldAscii(p.at(pi)) == foldAscii(t.at(ti)))) {
            ++ti;
            ++pi;
        } else if (star >= 0) {
            pi = star + 1;
            ti = ++mark;
        } else {
            return false;
        }
    }
    while (pi < p.size() && isAnyRun(p.at(pi)))
        ++pi;
    return pi == p.size();
}

struct Criteria::Node {
    enum Kind { And, Or, Not, Clause } kind = Clause;
    std::vector<std::unique_ptr<Node>> children; // And, Or: the operands; Not: one
    int column = -1;
    DataTypeEnum columnType = adVarWChar;
    Op op = Op::Eq;
    Variant literal;
    bool literalIsDate = false;

    // Recursion goes only as deep as the brackets and NOTs, which the parser limits.
    bool eval(const std::function<Variant(int)>& valueOf) const {
        switch (kind) {
        case And:
            for (const auto& c : children)
                if (!c->eval(valueOf))
                    return false;
            return true;
        case Or:
            for (const auto& c : children)
                if (c->eval(valueOf))
                    return true;
            return false;
        case Not:
            return !children.front()->eval(valueOf);
        case Clause:
            return clause(valueOf(column));
        }
        return false;
    }

    bool clause(const Variant& value) const {
        if (op == Op::IsNull)
            return value.IsNullOrEmpty();
        if (op == Op::IsNotNull)
            return !value.IsNullOrEmpty();
        if (value.IsNullOrEmpty() || literal.IsNull())
            return false;
        if (op == Op::Like)
            return LikeMatches(value.IsString() ? value.Str() : value.ToString(),
                               literal.ToString());
        int cmp = compare(value);
        switch (op) {
        case Op::Eq:
            return cmp == 0;
        case Op::Ne:
            return cmp != 0;
        case Op::Lt:
            return cmp < 0;
        case Op::Le:
            return cmp <= 0;
        case Op::Gt:
            return cmp > 0;
        case Op::Ge:
            return cmp >= 0;
        default:
            return false;
        }
    }

    int compare(const Variant& value) const {
        if (value.vt() == VT_DATE || value.IsNumber()) {
            double a = value.ToDouble();
            double b = 0;
            if (literal.IsString()) {
                if (value.vt() == VT_DATE) {
                    COleDateTime d;
                    if (!d.ParseDateTime(literal.Str()))
                        return compareText(value.ToString(), literal.Str());
                    b = d.m_dt;
                } else {
                    bool ok = false;
                    b = literal.Str().trimmed().toDouble(&ok);
                    if (!ok)
                        return compareText(value.ToString(), literal.Str());
                }
            } else {
                b = literal.ToDouble();
            }
            return a < b ? -1 : (a > b ? 1 : 0);
        }
        QString text = value.IsString() ? value.Str() : value.ToString();
        if (literal.IsString())
            return compareText(text, literal.Str());
        // A number or date given for a text field: compare as numbers when the text is one.
        bool ok = false;
        double a = text.trimmed().toDouble(&ok);
        if (ok && !literalIsDate) {
            double b = literal.ToDouble();
            return a < b ? -1 : (a > b ? 1 : 0);
        }
        return compareText(text, literal.ToString());
    }
};

namespace {

class Parser {
public:
    Parser(const QString& text, const std::vector<ColumnInfo>& columns,
           const std::function<int(const QString&)>& findColumn)
        : m_text(text), m_columns(columns), m_findColumn(findColumn) {}

    std::unique_ptr<Criteria::Node> parse() {
        auto node = orExpr();
        skipSpace();
        if (m_pos < m_text.size())
            throw criteriaError(m_text, QStringLiteral("多余的内容“%1”").arg(m_text.mid(m_pos)));
        return node;
    }

private:
    using NodePtr = std::unique_ptr<Criteria::Node>;

    void skipSpace() {
        while (m_pos < m_text.size() && m_text.at(m_pos).isSpace())
            ++m_pos;
    }

    bool keyword(const char* word) {
        skipSpace();
        QLatin1String w(word);
        if (m_text.mid(m_pos, w.size()).compare(w, Qt::CaseInsensitive) != 0)
            return false;
        int end = m_pos + w.size();
        if (end < m_text.size() &&
            (m_text.at(end).isLetterOrNumber() || m_text.at(end) == QLatin1Char('_')))
            return false;
        m_pos = end;
        return true;
    }

    // AND and OR chains are one node with many operands, so that their length does not
    // make the tree deep.
    NodePtr chain(Criteria::Node::Kind kind, NodePtr first, const char* word,
                  NodePtr (Parser::*operand)()) {
        if (!keyword(word))
            return first;
        auto n = std::make_unique<Criteria::Node>();
        n->kind = kind;
        n->children.push_back(std::move(first));
        do
            n->children.push_back((this->*operand)());
        while (keyword(word));
        return n;
    }

    NodePtr orExpr() { return chain(Criteria::Node::Or, andExpr(), "OR", &Parser::andExpr); }

    NodePtr andExpr() { return chain(Criteria::Node::And, unary(), "AND", &Parser::unary); }

    // Each bracket and NOT nests one level deeper; the depth is limited.
    struct Nesting {
        Parser& parser;
        explicit Nesting(Parser& p) : parser(p) {
            if (++parser.m_depth > kMaxCriteriaDepth)
                throw criteriaError(parser.m_text,
                                    QStringLiteral("括号或 NOT 嵌套超过 %1 层").arg(kMaxCriteriaDepth));
        }
        ~Nesting() { --parser.m_depth; }
    };

    NodePtr unary() {
        if (keyword("NOT")) {
            Nesting nesting(*this);
            auto n = std::make_unique<Criteria::Node>();
            n->kind = Criteria::Node::Not;
            n->children.push_back(unary());
            return n;
        }
        skipSpace();
        if (m_pos < m_text.size() && m_text.at(m_pos) == QLatin1Char('(')) {
            Nesting nesting(*this);
            ++m_pos;
            NodePtr inner = orExpr();
            skipSpace();
            if (m_pos >= m_text.size() || m_text.at(m_pos) != QLatin1Char(')'))
                throw criteriaError(m_text, QStringLiteral("缺少“)”"));
            ++m_pos;
            return inner;
        }
        return clause();
    }

    QString fieldName() {
        skipSpace();
        if (m_pos >= m_text.size())
            throw criteriaError(m_text, QStringLiteral("缺少字段名"));
        QChar c = m_text.at(m_pos);
        if (c == QLatin1Char('[') || c == QLatin1Char('`')) {
            QChar close = c == QLatin1Char('[') ? QLatin1Char(']') : QLatin1Char('`');
            int end = m_text.indexOf(close, m_pos + 1);
            if (end < 0)
                throw criteriaError(m_text, QStringLiteral("字段名缺少结束的括号"));
            QString name = m_text.mid(m_pos + 1, end - m_pos - 1);
            m_pos = end + 1;
            return name;
        }
        int start = m_pos;
        while (m_pos < m_text.size()) {
            QChar ch = m_text.at(m_pos);
            if (ch.isSpace() || QStringLiteral("=<>!()").contains(ch))
                break;
            ++m_pos;
        }
        if (m_pos == start)
            throw criteriaError(m_text, QStringLiteral("缺少字段名"));
        return m_text.mid(start, m_pos - start);
    }

    Op op() {
        skipSpace();
        static const QList<QPair<const char*, Op>> ops = {
            {"<=", Op::Le}, {">=", Op::Ge}, {"<>", Op::Ne}, {"!=", Op::Ne},
            {"=", Op::Eq},  {"<", Op::Lt},  {">", Op::Gt}};
        for (const auto& o : ops) {
            QLatin1String s(o.first);
            if (m_text.mid(m_pos, s.size()) == s) {
                m_pos += s.size();
                return o.second;
            }
        }
        if (keyword("LIKE"))
            return Op::Like;
        if (keyword("IS")) {
            bool negated = keyword("NOT");
            if (!keyword("NULL"))
                throw criteriaError(m_text, QStringLiteral("IS 之后应为 NULL"));
            return negated ? Op::IsNotNull : Op::IsNull;
        }
        throw criteriaError(m_text, QStringLiteral("缺少比较运算符"));
    }

    Variant literal(bool& isDate) {
        skipSpace();
        isDate = false;
        if (m_pos >= m_text.size())
            throw criteriaError(m_text, QStringLiteral("缺少比较的值"));
        QChar c = m_text.at(m_pos);
        if (c == QLatin1Char('\'') || c == QLatin1Char('"')) {
            QString value;
            ++m_pos;
            while (true) {
                if (m_pos >= m_text.size())
                    throw criteriaError(m_text, QStringLiteral("字符串缺少结束的引号"));
                QChar ch = m_text.at(m_pos++);
                if (ch == c) {
                    if (m_pos < m_text.size() && m_text.at(m_pos) == c) {
                        value += c;
                        ++m_pos;
                        continue;
                    }
                    break;
                }
                value += ch;
            }
            return Variant(value);
        }
        if (c == QLatin1Char('#')) {
            int end = m_text.indexOf(QLatin1Char('#'), m_pos + 1);
            if (end < 0)
                throw criteriaError(m_text, QStringLiteral("日期缺少结束的 #"));
            COleDateTime date;
            if (!date.ParseDateTime(m_text.mid(m_pos + 1, end - m_pos - 1)))
                throw criteriaError(m_text, QStringLiteral("日期无法识别"));
            m_pos = end + 1;
            isDate = true;
            return Variant(date);
        }
        if (keyword("NULL"))
            return Variant::Null();
        if (keyword("TRUE"))
            return Variant(true);
        if (keyword("FALSE"))
            return Variant(false);
        int start = m_pos;
        if (m_pos < m_text.size() &&
            (m_text.at(m_pos) == QLatin1Char('-') || m_text.at(m_pos) == QLatin1Char('+')))
            ++m_pos;
        while (m_pos < m_text.size() &&
               (m_text.at(m_pos).isDigit() || m_text.at(m_pos) == QLatin1Char('.') ||
                m_text.at(m_pos) == QLatin1Char('e') || m_text.at(m_pos) == QLatin1Char('E')))
            ++m_pos;
        bool ok = false;
        QString number = m_text.mid(start, m_pos - start);
        double value = number.toDouble(&ok);
        if (!ok || number.isEmpty())
            throw criteriaError(m_text,
                                QStringLiteral("值“%1”应放在引号中")
                                    .arg(m_text.mid(start).section(QLatin1Char(' '), 0, 0)));
        bool integral = !number.contains(QLatin1Char('.')) &&
                        !number.contains(QLatin1Char('e'), Qt::CaseInsensitive);
        if (integral)
            return Variant(static_cast<long long>(number.toLongLong()));
        return Variant(value);
    }

    NodePtr clause() {
        QString name = fieldName();
        int column = m_findColumn(name);
        if (column < 0)
            throw criteriaError(m_text, QStringLiteral("没有字段“%1”").arg(name));
        auto node = std::make_unique<Criteria::Node>();
        node->column = column;
        node->columnType = m_columns[column].type;
        node->op = op();
        if (node->op != Op::IsNull && node->op != Op::IsNotNull) {
            node->literal = literal(node->literalIsDate);
            if (node->literal.IsNull()) {
                if (node->op == Op::Eq)
                    node->op = Op::IsNull;
                else if (node->op == Op::Ne)
                    node->op = Op::IsNotNull;
            }
        }
        return node;
    }

    const QString& m_text;
    const std::vector<ColumnInfo>& m_columns;
    const std::function<int(const QString&)>& m_findColumn;
    int m_pos = 0;
    int m_depth = 0;
};

} // namespace

Criteria::Criteria(const QString& text, const std::vector<ColumnInfo>& columns,
                   std::function<int(const QString&)> findColumn) {
    if (text.trimmed().isEmpty())
        throw criteriaError(text, QStringLiteral("条件是空的"));
    m_root = Parser(text, columns, findColumn).parse();
}

Criteria::~Criteria() = default;
Criteria::Criteria(Criteria&&) noexcept = default;
Criteria& Criteria::operator=(Criteria&&) noexcept = default;

bool Criteria::Matches(const std::function<Variant(int)>& valueOf) const {
    return m_root->eval(valueOf);
}

} // namespace adodb
