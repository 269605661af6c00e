// Input that is wrong or made to hurt: criteria and patterns that would take for ever or
// nest too deep, statements no Jet program sends, database files with absurd declarations.

#include "AdodbFixture.h"

#include "adodb/Criteria.h"

#include <functional>

using namespace adodb;

namespace {

// The plain recursive definition of LIKE, to compare with on small inputs.
bool ReferenceLike(const QString& t, int ti, const QString& p, int pi) {
    if (pi == p.size())
        return ti == t.size();
    QChar c = p.at(pi);
    if (c == QLatin1Char('%') || c == QLatin1Char('*'))
        return ReferenceLike(t, ti, p, pi + 1) ||
               (ti < t.size() && ReferenceLike(t, ti + 1, p, pi));
    if (ti == t.size())
        return false;
    bool one = c == QLatin1Char('_') || c == QLatin1Char('?') ||
               t.at(ti).toCaseFolded() == c.toCaseFolded();
    return one && ReferenceLike(t, ti + 1, p, pi + 1);
}

} // namespace

TEST(LikeMatching, AgreesWithTheDefinition) {
    const QStringList texts = {"",      "a",       "ab",      "abc",   "aXbXc", "张三丰",
                               "一组甲院", "ABCabc", "a%b",   "aaab",  "abab"};
    const QStringList patterns = {"",   "%",     "_",   "a%",    "%c",  "a_c",  "%b%",
                                  "A%C", "张%", "%组_院", "a*b?c", "%a%b", "%%", "a%%b",
                                  "_%_", "%ab%ab%", "abc_"};
    for (const QString& t : texts)
        for (const QString& p : patterns)
            EXPECT_EQ(LikeMatches(t, p), ReferenceLike(t, 0, p, 0))
                << t.toStdString() << " LIKE " << p.toStdString();
}

// Patterns that made the old matcher backtrack for minutes run in a moment.
TEST(LikeMatching, ManyWildcardsOnLongTextsDoNotBacktrack) {
    EXPECT_FALSE(LikeMatches(QString(40, QLatin1Char('a')), QStringLiteral("%a%a%a%a%a%a%a%a%b")));
    QString resume = QString(100, QChar(0x7B80));
    EXPECT_FALSE(LikeMatches(resume, QStringLiteral("%简%简%简%简%简%简%x")));
    EXPECT_TRUE(LikeMatches(resume + QLatin1Char('x'), QStringLiteral("%简%简%简%简%简%简%x")));
}

TEST_F(AdodbTest, DeepCriteriaAreRefusedAndLongChainsWork) {
    CreateResidents();
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM 基本情况表"));
    const QString clause = QStringLiteral("姓名='张三'");
    struct Case {
        QString criteria;
        bool refused;
    };
    const Case cases[] = {
        {QString(20000, QLatin1Char('(')) + clause + QString(20000, QLatin1Char(')')), true},
        {QStringLiteral("NOT ").repeated(20000) + clause, true},
        {QString(kMaxCriteriaDepth, QLatin1Char('(')) + clause +
             QString(kMaxCriteriaDepth, QLatin1Char(')')),
         false},
        {QStringList(40000, clause).join(QStringLiteral(" AND ")), false},
        {QStringList(40000, clause).join(QStringLiteral(" OR ")), false},
    };
    for (const Case& c : cases) {
        QString why;
        HRESULT hr = ErrorOf([&] { rs->PutFilter(c.criteria); }, &why);
        if (c.refused) {
            EXPECT_EQ(hr, DB_E_ERRORSINCOMMAND);
            EXPECT_TRUE(why.contains(QStringLiteral("嵌套"))) << why.left(80).toStdString();
        } else {
            EXPECT_EQ(hr, 0) << why.left(80).toStdString();
            EXPECT_EQ(rs->GetRecordCount(), 1);
            EXPECT_EQ(ErrorOf([&] { rs->Find(c.criteria, 0, adSearchForward, Variant()); }), 0);
        }
    }
}

TEST_F(AdodbTest, OnlyTheStatementsOfAJetProgramRun) {
    CreateResidents();
    const QString copy = m_dir.Path(QStringLiteral("copy.db"));
    const QStringList refused = {
        QStringLiteral("VACUUM INTO '%1'").arg(copy),
        QStringLiteral("VACUUM"),
        QStringLiteral("ATTACH DATABASE '%1' AS other").arg(copy),
        QStringLiteral("DETACH DATABASE other"),
        QStringLiteral("PRAGMA journal_mode=WAL"),
        QStringLiteral("PRAGMA writable_schema=ON"),
        QStringLiteral("CREATE TRIGGER t AFTER INSERT ON 基本情况表 BEGIN DELETE FROM 基本情况表; "
                       "END"),
        QStringLiteral("CREATE VIEW v AS SELECT * FROM 基本情况表"),
        QStringLiteral("SELECT load_extension('x')"),
        QStringLiteral("REINDEX"),
    };
    for (const QString& sql : refused) {
        QString why;
        EXPECT_NE(ErrorOf([&] { Exec(sql); }, &why), 0) << sql.toStdString();
        EXPECT_FALSE(why.isEmpty());
    }
    EXPECT_FALSE(QFileInfo::exists(copy)) << "no copy of the database anywhere";

    const QStringList allowed = {
        QStringLiteral("CREATE TABLE 临时 (编号 COUNTER, 名称 TEXT(10))"),
        QStringLiteral("CREATE UNIQUE INDEX 名称索引 ON 临时 (名称)"),
        QStringLiteral("ALTER TABLE 临时 ADD COLUMN 备注 TEXT(20)"),
        QStringLiteral("INSERT INTO 临时 (名称) VALUES ('甲')"),
        QStringLiteral("UPDATE 临时 SET 备注='乙'"),
        QStringLiteral("DELETE * FROM 临时"),
        QStringLiteral("DROP INDEX 名称索引"),
        QStringLiteral("DROP TABLE 临时"),
        QStringLiteral("BEGIN TRANSACTION"),
        QStringLiteral("ROLLBACK"),
    };
    for (const QString& sql : allowed) {
        QString why;
        EXPECT_EQ(ErrorOf([&] { Exec(sql); }, &why), 0)
            << sql.toStdString() << ": " << why.toStdString();
    }
}

// A column declared absurdly wide (a damaged or hostile file) is read as long text: no
// padding to its declared size, and the other columns as usual.
TEST_F(AdodbTest, AnAbsurdTextSizeIsReadAsLongText) {
    Exec(QStringLiteral("CREATE TABLE 表 (编号 COUNTER, 宽 CHAR(2000000000), 更宽 "
                        "VARCHAR(99999999999999999999), 窄 CHAR(4))"));
    Exec(QStringLiteral("INSERT INTO 表 (宽, 更宽, 窄) VALUES ('x', 'y', 'z')"));
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM 表"));
    FieldsPtr fields = rs->GetFields();
    EXPECT_EQ(fields->GetItem(Variant("宽"))->GetType(), adLongVarWChar);
    EXPECT_EQ(fields->GetItem(Variant("更宽"))->GetType(), adLongVarWChar);
    EXPECT_EQ(rs->GetCollect(Variant("宽")).ToString(), QStringLiteral("x"));
    EXPECT_EQ(rs->GetCollect(Variant("更宽")).ToString(), QStringLiteral("y"));
    EXPECT_EQ(rs->GetCollect(Variant("窄")).ToString(), QStringLiteral("z   "));
}
