// The Jet SQL texts the program sends, run against a real file.

#include "adodb/Command.h"
#include "AdodbFixture.h"

using namespace adodb;

namespace {
QStringList names(std::initializer_list<const char*> list) {
    QStringList out;
    for (const char* n : list)
        out << QString::fromUtf8(n);
    return out;
}
} // namespace

TEST_F(AdodbTest, SchemaUpgradeStatementsAndTheUserTable) {
    CreateResidents();
    Exec(QStringLiteral("ALTER   TABLE   基本情况表   ADD   COLUMN   拥有土地 char(20)"));
    Exec(QStringLiteral("ALTER   TABLE   基本情况表   ADD   COLUMN   楼房住户 char(20)"));
    RecordsetPtr rs =
        Query(QStringLiteral("SELECT * FROM 基本情况表"), adOpenStatic, adLockOptimistic);
    FieldsPtr fields = rs->GetFields();
    EXPECT_EQ(fields->GetCount(), 15);
    EXPECT_EQ(fields->GetItem(Variant(14))->GetName(), QStringLiteral("楼房住户"));
    EXPECT_EQ(fields->GetItem(Variant(14))->GetDefinedSize(), 20);
    EXPECT_EQ(fields->GetItem(Variant(5))->GetName(), QStringLiteral("注销"));

    for (const char* sql :
         {"CREATE TABLE 用户密码", "alter table 用户密码 add COLUMN 用户名 char(10)",
          "alter table 用户密码 add COLUMN 密码 char(10)",
          "alter table 用户密码 add COLUMN 权限 int",
          "alter table 用户密码 add COLUMN 备注 char(20)",
          "ALTER   TABLE   用户密码   ADD   COLUMN   登录日期 datetime",
          "insert into  用户密码(用户名,密码,权限) values('管理员','580347',99)"})
        Exec(QString::fromUtf8(sql));
    RecordsetPtr users = Query(QStringLiteral("SELECT * FROM 用户密码"));
    ASSERT_EQ(users->GetFields()->GetCount(), 5) << "no placeholder column is left";
    EXPECT_EQ(users->GetRecordCount(), 1);
    EXPECT_EQ(users->GetCollect(Variant("用户名")).Str(), QStringLiteral("管理员       "))
        << "char(10) comes back padded";
    EXPECT_EQ(users->GetCollect(Variant("权限")).vt(), VT_I4);
    EXPECT_EQ(users->GetCollect(Variant("登录日期")).vt(), VT_NULL);

    // The tables schema with the restrictions start-up uses.
    RecordsetPtr tables = m_conn->OpenSchema(
        adSchemaTables,
        Variant(std::vector<Variant>{Variant(), Variant(), Variant(), Variant("TABLE")}));
    QStringList found;
    for (; !tables->GetEOF(); tables->MoveNext()) {
        EXPECT_EQ(tables->GetCollect(Variant("TABLE_TYPE")).Str(), QStringLiteral("TABLE"));
        found << tables->GetCollect(Variant("TABLE_NAME")).Str();
    }
    EXPECT_EQ(found, names({"基本情况表", "用户密码"}));
}

TEST_F(AdodbTest, UnitQueriesAndTheirPrefixes) {
    CreateResidents();
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE (工作单位 LIKE '一组%') "),
                     QStringLiteral("姓名")),
              names({"张三", "李四", "赵六"}));
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE (工作单位 LIKE '一组甲%') "),
                     QStringLiteral("姓名")),
              names({"张三"}));
    EXPECT_EQ(Column(QStringLiteral("Select * from 基本情况表"), QStringLiteral("姓名")).size(), 5);
}

TEST_F(AdodbTest, FuzzyQueryDateRangeAndMarker) {
    CreateResidents();
    EXPECT_EQ(Column(QStringLiteral("Select * From 基本情况表 Where TRUE  AND 出生日期>=#1980-1-1# "
                                    "AND 出生日期<=#2010-12-31#"),
                     QStringLiteral("姓名")),
              names({"张三", "李四"}));
    // Marking through the recordset, then the result query.
    RecordsetPtr rs = Query(QStringLiteral("Select * From 基本情况表 Where TRUE "));
    rs->MoveLast();
    rs->PutCollect(Variant("显示"), Variant("是"));
    rs->MovePrevious();
    rs->MovePrevious();
    rs->PutCollect(Variant("显示"), Variant("是"));
    rs->MovePrevious(); // each move stores the pending change
    EXPECT_EQ(
        Column(QStringLiteral("Select * From 基本情况表 Where 显示='是'"), QStringLiteral("姓名")),
        names({"王五", "阿丽"}));
    EXPECT_EQ(
        Column(QStringLiteral("Select * From 基本情况表 Where TRUE  AND 出生日期>=#1970-1-1# AND "
                              "出生日期<=#2010-12-31# and (显示='是')"),
               QStringLiteral("姓名")),
        names({"王五"}));
    EXPECT_TRUE(Column(QStringLiteral("Select * From 基本情况表 Where TRUE  AND "
                                      "死亡日期>=#1900-1-1# AND 死亡日期<=#2999-12-31#"),
                       QStringLiteral("姓名"))
                    .isEmpty())
        << "a null date never meets a range";
}

TEST_F(AdodbTest, ExactQueryClausesAsComposed) {
    CreateResidents();
    QString q = QStringLiteral("Select * From 基本情况表 Where TRUE ");
    EXPECT_EQ(Column(q + QStringLiteral(" AND 姓名 LIKE '张%' AND 性别='男' AND 家庭人口=3"),
                     QStringLiteral("姓名")),
              names({"张三"}));
    EXPECT_EQ(Column(q + QStringLiteral("AND 注销='未注销'AND 户口簿编号='H002'"),
                     QStringLiteral("姓名")),
              names({"王五"}))
        << "clauses that begin without a blank";
    EXPECT_EQ(Column(q + QStringLiteral(" AND 年龄>=18 AND 年龄<=50"), QStringLiteral("姓名")),
              names({"张三", "李四", "王五"}));
    EXPECT_EQ(Column(q + QStringLiteral(" AND 身份证号 LIKE '11010519800503001x%'"),
                     QStringLiteral("姓名")),
              names({"张三"}))
        << "an x matches the stored X";
    EXPECT_EQ(
        Column(q + QStringLiteral(" AND 身份证号='11010519800503001x'"), QStringLiteral("姓名")),
        names({"张三"}));
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 where 户口簿编号='H001'"),
                     QStringLiteral("姓名")),
              names({"张三", "李四"}));
    EXPECT_EQ(ErrorOf([&] { Query(q + QStringLiteral(" AND 姓名 LIKE 'O'Neil%'")); }),
              DB_E_ERRORSINCOMMAND)
        << "an unescaped apostrophe breaks the text";
}

TEST_F(AdodbTest, NameOrderIsPinyinAndSortClausesWork) {
    CreateResidents();
    const QStringList pinyin = names({"阿丽", "李四", "王五", "张三", "赵六"});
    EXPECT_EQ(Column(QStringLiteral("Select * From 基本情况表 Where TRUE order by 姓名"),
                     QStringLiteral("姓名")),
              pinyin);
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE TRUE  ORDER BY 姓名 ASC"),
                     QStringLiteral("姓名")),
              pinyin);
    QStringList reversed = pinyin;
    std::reverse(reversed.begin(), reversed.end());
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 order by 姓名 DESC "),
                     QStringLiteral("姓名")),
              reversed);
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 ORDER BY 年龄 ASC"),
                     QStringLiteral("年龄")),
              QStringList({"12", "32", "44", "49", "55"}));
}

TEST_F(AdodbTest, DeleteAllEmptiesTheTable) {
    CreateResidents();
    long affected = 0;
    m_conn->Execute(QStringLiteral("DELETE * FROM 基本情况表"), &affected, adCmdText);
    EXPECT_EQ(affected, 5);
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM 基本情况表"));
    EXPECT_TRUE(rs->GetBOF() && rs->GetEOF());
}

TEST_F(AdodbTest, ExecuteGivesAnOpenRecordsetForQueriesOnly) {
    CreateResidents();
    RecordsetPtr rows =
        m_conn->Execute(QStringLiteral("SELECT COUNT(*) AS n FROM 基本情况表"), nullptr, adCmdText);
    EXPECT_EQ(rows->GetState(), adStateOpen);
    EXPECT_EQ(rows->GetCollect(Variant("n")), Variant(5));
    EXPECT_EQ(ErrorOf([&] { rows->PutCollect(Variant("n"), Variant(1)); }), E_FAIL) << "read-only";
    RecordsetPtr none = m_conn->Execute(
        QStringLiteral("UPDATE 基本情况表 SET 年龄=0 WHERE 姓名='张三'"), nullptr, adCmdText);
    ASSERT_TRUE(none);
    EXPECT_EQ(none->GetState(), adStateClosed);
    EXPECT_EQ(m_conn->Execute(QStringLiteral("基本情况表"), nullptr, adCmdTable)->GetRecordCount(),
              5);
}

TEST_F(AdodbTest, LiteralsWrittenBySqlAreConvertedForTheirColumns) {
    CreateResidents();
    Exec(QStringLiteral(
        "UPDATE 基本情况表 SET 出生日期='1980-1-5', 家庭人口='4' WHERE 姓名='张三'"));
    Exec(QStringLiteral("INSERT INTO 基本情况表 (姓名,出生日期) VALUES ('新人','2002年12月1日')"));
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE 出生日期=#1980-01-05#"),
                     QStringLiteral("家庭人口")),
              QStringList({"4"}));
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE 出生日期=#2002-12-1#"),
                     QStringLiteral("姓名")),
              names({"新人"}));
    EXPECT_EQ(ErrorOf([&] { Exec(QStringLiteral("UPDATE 基本情况表 SET 家庭人口='很多'")); }),
              DB_E_ERRORSOCCURRED);
}

TEST_F(AdodbTest, CommandParametersAreConvertedForTheirColumnsAndRunAgain) {
    CreateResidents();
    using adodb::Variant;
    adodb::CommandPtr update = adodb::Command::Create();
    update->PutRefActiveConnection(m_conn);
    update->PutCommandText(QStringLiteral("UPDATE 基本情况表 SET 出生日期=?, 家庭人口=? WHERE 姓名=?"));
    long affected = 0;
    update->Execute(&affected, {Variant(QStringLiteral("1980年1月5日")), Variant(QStringLiteral("9")),
                                Variant(QStringLiteral("张三"))});
    EXPECT_EQ(affected, 1);
    // The same text again with other values; a quote in a value is only a value.
    update->Execute(&affected, {Variant(QStringLiteral("1990-2-3")), Variant(7), Variant(QStringLiteral("x' OR '1'='1"))});
    EXPECT_EQ(affected, 0);
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE 出生日期=#1980-01-05#"), QStringLiteral("家庭人口")),
              QStringList({"9"}));

    adodb::CommandPtr insert = adodb::Command::Create();
    insert->PutRefActiveConnection(m_conn);
    insert->PutCommandText(QStringLiteral("INSERT INTO 基本情况表 (姓名,出生日期) VALUES (?,?)"));
    insert->Execute(nullptr, {Variant(QStringLiteral("新人")), Variant(QStringLiteral("2002年12月1日"))});
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE 出生日期=#2002-12-1#"), QStringLiteral("姓名")),
              QStringList({"新人"}));

    adodb::CommandPtr select = adodb::Command::Create();
    select->PutRefActiveConnection(m_conn);
    select->PutCommandText(QStringLiteral("SELECT 姓名 FROM 基本情况表 WHERE 家庭人口=?"));
    adodb::RecordsetPtr rs = select->Execute(nullptr, {Variant(9)});
    ASSERT_EQ(rs->GetRecordCount(), 1);
    EXPECT_EQ(rs->GetFields()->GetItem(Variant(0))->GetValue().ToString(), QStringLiteral("张三"));

    // What does not convert, a wrong count and a statement that takes none are errors.
    EXPECT_EQ(ErrorOf([&] { update->Execute(nullptr, {Variant(QStringLiteral("很久以前")), Variant(1), Variant(QStringLiteral("张三"))}); }),
              adodb::DB_E_ERRORSOCCURRED);
    EXPECT_EQ(ErrorOf([&] { update->Execute(nullptr, {Variant(1)}); }), adodb::DB_E_ERRORSINCOMMAND);
    adodb::CommandPtr create = adodb::Command::Create();
    create->PutRefActiveConnection(m_conn);
    create->PutCommandText(QStringLiteral("CREATE TABLE t (a TEXT(10) DEFAULT ?)"));
    EXPECT_EQ(ErrorOf([&] { create->Execute(nullptr, {Variant(1)}); }), adodb::DB_E_ERRORSINCOMMAND);

    // A changed table is read afresh: the new column converts its values.
    Exec(QStringLiteral("ALTER TABLE 基本情况表 ADD COLUMN 登记日期 DATETIME"));
    adodb::CommandPtr later = adodb::Command::Create();
    later->PutRefActiveConnection(m_conn);
    later->PutCommandText(QStringLiteral("UPDATE 基本情况表 SET 登记日期=? WHERE 姓名=?"));
    later->Execute(&affected, {Variant(QStringLiteral("2020年3月4日")), Variant(QStringLiteral("新人"))});
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE 登记日期=#2020-03-04#"), QStringLiteral("姓名")),
              QStringList({"新人"}));
}
