#include "adodb/JetSql.h"
#include "adodb/ComError.h"

#include "TestSupport.h"

using namespace adodb;

TEST(JetSql, TranslatesTheFormsTheProgramWrites) {
    struct Case {
        const char* jet;
        const char* sqlite;
    };
    const Case cases[] = {
        {"Select * From 基本情况表 Where TRUE  AND 出生日期>=#1980-1-1# AND 出生日期<=#2010-12-31#",
         "Select _ROWID_ AS __vrin_rowid, * From 基本情况表 Where -1  AND 出生日期>='1980-01-01 "
         "00:00:00' AND "
         "出生日期<='2010-12-31 00:00:00'"},
        {"SELECT * FROM t WHERE d = #12/1/2002 15:45#",
         "SELECT _ROWID_ AS __vrin_rowid, * FROM t WHERE d = '2002-12-01 15:45:00'"},
        {"DELETE * FROM 基本情况表", "DELETE  FROM 基本情况表"},
        {"Select * From 基本情况表 Where TRUE order by 姓名",
         "Select _ROWID_ AS __vrin_rowid, * From 基本情况表 Where -1 order by 姓名 COLLATE PINYIN"},
        {"SELECT * FROM 基本情况表 ORDER BY 姓名 ASC",
         "SELECT _ROWID_ AS __vrin_rowid, * FROM 基本情况表 ORDER BY 姓名 COLLATE PINYIN ASC"},
        {"SELECT * FROM T order by 姓名 DESC , 2",
         "SELECT _ROWID_ AS __vrin_rowid, * FROM T order by 姓名 COLLATE PINYIN DESC , 2"},
        {"SELECT * FROM t WHERE a='#TRUE# it''s' AND b=\"x\"\"y\"",
         "SELECT _ROWID_ AS __vrin_rowid, * FROM t WHERE a='#TRUE# it''s' AND b='x\"y'"},
        {"INSERT INTO t (a,b) VALUES ('','x')", "INSERT INTO t (a,b) VALUES ('','x')"},
        {"SELECT * FROM t WHERE a LIKE 'O''Neil[%][_][[]x\\%'",
         "SELECT _ROWID_ AS __vrin_rowid, * FROM t WHERE a LIKE 'O''Neil\\%\\_[x\\\\%' ESCAPE '\\'"},
        {"SELECT * FROM t WHERE n=3AND b='x'",
         "SELECT _ROWID_ AS __vrin_rowid, * FROM t WHERE n=3 AND b='x'"},
        {"SELECT [姓名], a & b FROM [基本情况表]",
         "SELECT _ROWID_ AS __vrin_rowid, \"姓名\", a || b FROM \"基本情况表\""},
        {"SELECT TOP 5 * FROM t", "SELECT   _ROWID_ AS __vrin_rowid, * FROM t LIMIT 5"},
        {"SELECT COUNT(*) FROM t", "SELECT COUNT(*) FROM t"},
        {"SELECT DISTINCT 户口簿编号 FROM t", "SELECT DISTINCT 户口簿编号 FROM t"},
        {"SELECT * FROM a, b WHERE a.x=b.x", "SELECT * FROM a, b WHERE a.x=b.x"},
        {"SELECT * FROM a INNER JOIN b ON a.x=b.x", "SELECT * FROM a INNER JOIN b ON a.x=b.x"},
        {"ALTER   TABLE   基本情况表   ADD   COLUMN   拥有土地 char(20)",
         "ALTER   TABLE   基本情况表   ADD   COLUMN   拥有土地 char(20) COLLATE NOCASE"},
        {"alter table 用户密码 add COLUMN 权限 int", "alter table 用户密码 add COLUMN 权限 int"},
        {"CREATE TABLE t (id COUNTER PRIMARY KEY, n TEXT(10) NOT NULL, m MEMO, p DECIMAL(10,2))",
         "CREATE TABLE t (id INTEGER PRIMARY KEY AUTOINCREMENT  , n TEXT(10) COLLATE NOCASE NOT "
         "NULL, m LONGTEXT COLLATE NOCASE, p DECIMAL(10,2))"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(TranslateJetSql(QString::fromUtf8(c.jet)).sql, QString::fromUtf8(c.sqlite))
            << c.jet;
}

TEST(JetSql, NamesTheStatementAndItsTable) {
    JetStatement s =
        TranslateJetSql(QStringLiteral("SELECT * FROM 基本情况表 WHERE (工作单位 LIKE '一组%') "));
    EXPECT_EQ(s.kind, JetStatement::Select);
    EXPECT_TRUE(s.singleTable);
    EXPECT_EQ(s.table, QStringLiteral("基本情况表"));
    EXPECT_FALSE(TranslateJetSql(QStringLiteral("SELECT COUNT(*) FROM t")).singleTable);
    EXPECT_EQ(TranslateJetSql(QStringLiteral("CREATE TABLE 用户密码")).kind,
              JetStatement::CreateEmptyTable);
    JetStatement alter =
        TranslateJetSql(QStringLiteral("ALTER TABLE 用户密码 ADD COLUMN 登录日期 datetime"));
    EXPECT_EQ(alter.kind, JetStatement::AlterAddColumn);
    EXPECT_EQ(alter.column, QStringLiteral("登录日期"));
    EXPECT_EQ(TranslateJetSql(QStringLiteral("insert into  用户密码(用户名) values('x')")).table,
              QStringLiteral("用户密码"));
}

TEST(JetSql, UnterminatedLiteralsAndBadDatesAreSyntaxErrors) {
    for (const char* bad : {"SELECT * FROM t WHERE a='x", "SELECT * FROM t WHERE d=#2002-1-1",
                            "SELECT * FROM t WHERE d=#not a date#", "SELECT * FROM [t", "   "}) {
        try {
            TranslateJetSql(QString::fromUtf8(bad));
            ADD_FAILURE() << "accepted: " << bad;
        } catch (const ComError& e) {
            EXPECT_EQ(e.Error(), DB_E_ERRORSINCOMMAND) << bad;
            EXPECT_FALSE(e.Description().isEmpty());
        }
    }
}
