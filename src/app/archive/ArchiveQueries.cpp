#include "app/archive/ArchiveQueries.h"

#include "platform/FormatText.h"
#include "platform/SqlLiteral.h"
#include "records/ResidentCatalogue.h"

#include <QDate>

QString BaseQuery() {
    return QStringLiteral("Select * From 基本情况表 Where TRUE ");
}

QString DateConditions(const DateRange& r) {
    return QStringLiteral(" AND ") + r.column +
           FormatText(QStringLiteral(">=#%d-%d-%d#"), r.yearFrom, r.monthFrom, r.dayFrom) +
           QStringLiteral(" AND ") + r.column +
           FormatText(QStringLiteral("<=#%d-%d-%d#"), r.yearTo, r.monthTo, r.dayTo);
}

QString DateRangeProblem(const DateRange& r) {
    const ResidentColumn* column = FindResidentColumn(r.column.trimmed());
    if (!column || column->kind != ColumnKind::Date)
        return FormatText(QStringLiteral("“%s”不是日期字段，请从列表中选择一个日期字段。"), r.column);
    if (!QDate(r.yearFrom, r.monthFrom, r.dayFrom).isValid() || r.yearFrom < 100 || r.yearFrom > 9999)
        return FormatText(QStringLiteral("起始日期 %d-%d-%d 不是有效的日期。"), r.yearFrom, r.monthFrom,
                          r.dayFrom);
    if (!QDate(r.yearTo, r.monthTo, r.dayTo).isValid() || r.yearTo < 100 || r.yearTo > 9999)
        return FormatText(QStringLiteral("截止日期 %d-%d-%d 不是有效的日期。"), r.yearTo, r.monthTo,
                          r.dayTo);
    return QString();
}

FuzzyTerms ParseFuzzyText(const QString& input) {
    QString text = input;
    text.replace(QChar(0xFF0C), QLatin1Char(','));
    text.replace(QChar(0xFF1B), QLatin1Char(';'));
    text.replace(QStringLiteral(",,"), QStringLiteral(";"));
    while (text.startsWith(QLatin1Char(',')))
        text.remove(0, 1);
    FuzzyTerms terms;
    terms.first = text;
    qsizetype at = text.indexOf(QLatin1Char(';'));
    if (at >= 0) {
        terms.mode = 2;
    } else if ((at = text.indexOf(QLatin1Char(','))) >= 0) {
        terms.mode = 1;
    }
    if (terms.mode != 0) {
        terms.first = text.left(at);
        terms.second = text.mid(at + 1);
    }
    return terms;
}

bool RowMatches(const QStringList& cells, const FuzzyTerms& terms) {
    return RowMatches(static_cast<int>(cells.size()), [&](int k) { return cells[k]; }, terms);
}

bool RowMatches(int count, const std::function<QString(int)>& cellAt, const FuzzyTerms& terms) {
    bool found1 = false, found2 = false;
    for (int k = 0; k < count; ++k) {
        const QString cell = cellAt(k);
        if (cell.isEmpty())
            continue;
        if (terms.mode == 0) {
            if (cell.contains(terms.first))
                return true;
            continue;
        }
        found1 = found1 || cell.contains(terms.first);
        found2 = found2 || cell.contains(terms.second);
        if (terms.mode == 1 ? (found1 && found2) : (found1 || found2))
            return true;
    }
    return false;
}

QString ExactQuery(const std::function<QString(const QString&)>& value, int familySize) {
    struct Clause {
        const char* column;
        bool prefix;
    };
    static const Clause clauses[] = {
        {"工作单位", true}, {"姓名", true},     {"曾用名", true},     {"户主", false},
        {"性别", false},     {"出生地", true},   {"民族", false},       {"籍贯", true},
        {"其它住址", false}, {"身份证号", true}, {"政治面貌", false},   {nullptr, false},
        {"文化程度", false}, {"婚姻状况", false}, {"职业", false},      {"何地迁来本县", false},
        {"何地迁来本址", false}, {"服务处所", true}, {"备注2", false},  {"备注", false},
        {"注销", false},     {"户口簿编号", false}, {"户口性质", false}, {"手机", false},
        {"股民", false},     {"配偶姓名", true}, {"配偶电话", false},   {"拥有土地", false},
        {"楼房住户", false},
    };
    QString q = BaseQuery();
    for (const Clause& c : clauses) {
        if (!c.column) { // 12: the family size, when one is given
            if (familySize != 0)
                q += QStringLiteral(" AND 家庭人口=") + QString::number(familySize);
            continue;
        }
        const QString name = QString::fromUtf8(c.column);
        const QString v = value(name);
        if (v.isEmpty())
            continue;
        // Clauses from 何地迁来本址 on are written without a leading blank, as they always were.
        const bool tight = &c >= &clauses[16];
        q += (tight ? QStringLiteral("AND ") : QStringLiteral(" AND ")) + name +
             (c.prefix ? QStringLiteral(" LIKE '") + SqlEscape(v) + QStringLiteral("%'")
                       : QStringLiteral("='") + SqlEscape(v) + QLatin1Char('\''));
    }
    return q;
}

std::vector<bool> DuplicateNameRows(const QStringList& names) {
    const qsizetype n = names.size();
    std::vector<bool> keep(static_cast<size_t>(n), false);
    for (qsizetype i = 0; i < n; ++i) {
        if (names[i].isEmpty())
            continue;
        const bool before = i > 0 && names[i - 1] == names[i];
        const bool after = i + 1 < n && names[i + 1] == names[i];
        keep[static_cast<size_t>(i)] = before || after;
    }
    if (n == 1 && !names[0].isEmpty())
        keep[0] = true; // a list of one keeps its resident, as the Part's walk does
    return keep;
}

QString AgeText(const QString& birthDate, int year) {
    const QDate date = QDate::fromString(birthDate.left(10), QStringLiteral("yyyy-MM-dd"));
    // The zero date is the empty date the form shows: no birth date, no age.
    if (!date.isValid() || date == QDate(1899, 12, 30))
        return QString();
    return QString::number(year - date.year());
}
