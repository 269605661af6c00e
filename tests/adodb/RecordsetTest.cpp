#include "AdodbFixture.h"

using namespace adodb;

TEST_F(AdodbTest, MovesBetweenBeforeTheFirstAndAfterTheLastRow) {
    CreateResidents();
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM 基本情况表"));
    EXPECT_FALSE(rs->GetBOF());
    EXPECT_EQ(rs->GetAbsolutePosition(), 1);
    EXPECT_EQ(rs->GetRecordCount(), 5);
    EXPECT_EQ(rs->MovePrevious(), S_OK);
    EXPECT_TRUE(rs->GetBOF());
    EXPECT_EQ(rs->GetAbsolutePosition(), adPosBOF);
    EXPECT_EQ(ErrorOf([&] { rs->MovePrevious(); }), E_FAIL);
    EXPECT_EQ(ErrorOf([&] { rs->GetCollect(Variant("姓名")); }), E_FAIL) << "no current row";
    rs->MoveNext();
    EXPECT_EQ(rs->GetCollect(Variant("姓名")), Variant("张三"));
    rs->MoveLast();
    EXPECT_EQ(rs->GetCollect(Variant(1)), Variant("阿丽"));
    rs->MoveNext();
    EXPECT_TRUE(rs->GetEOF());
    EXPECT_EQ(rs->GetAbsolutePosition(), adPosEOF);
    EXPECT_EQ(ErrorOf([&] { rs->MoveNext(); }), E_FAIL);
    rs->MovePrevious();
    EXPECT_EQ(rs->GetCollect(Variant("姓名")), Variant("阿丽"));
    rs->PutAbsolutePosition(2);
    EXPECT_EQ(rs->GetCollect(Variant("姓名")), Variant("李四"));
    EXPECT_EQ(ErrorOf([&] { rs->GetCollect(Variant("没有")); }), E_FAIL);
    EXPECT_EQ(ErrorOf([&] { rs->GetCollect(Variant(99)); }), E_FAIL);

    RecordsetPtr empty = Query(QStringLiteral("SELECT * FROM 基本情况表 WHERE 姓名='无人'"));
    EXPECT_TRUE(empty->GetBOF() && empty->GetEOF());
    EXPECT_EQ(empty->MoveFirst(), S_OK);
    EXPECT_EQ(empty->GetRecordCount(), 0);
}

TEST_F(AdodbTest, AddNewKnowsItsKeyRightAfterUpdate) {
    CreateResidents();
    RecordsetPtr rs =
        Query(QStringLiteral("SELECT * FROM 基本情况表 WHERE (工作单位 LIKE '二组%') "));
    rs->AddNew();
    EXPECT_EQ(rs->GetEditMode(), adEditAdd);
    EXPECT_TRUE(rs->GetCollect(Variant(0)).IsNull());
    rs->PutCollect(Variant("工作单位"), Variant("二组"));
    rs->PutCollect(Variant("姓名"), Variant("钱七"));
    rs->Update();
    EXPECT_EQ(rs->GetEditMode(), adEditNone);
    EXPECT_EQ(rs->GetCollect(Variant(0)), Variant(6));
    EXPECT_EQ(rs->GetRecordCount(), 3);
    EXPECT_EQ(rs->GetAbsolutePosition(), 3);
    EXPECT_EQ(
        Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE 编号=6"), QStringLiteral("姓名")),
        QStringList({"钱七"}));

    // A cancelled new row leaves no trace and the former row is current again.
    rs->MoveFirst();
    rs->AddNew();
    rs->PutCollect(Variant("姓名"), Variant("不存"));
    rs->CancelUpdate();
    EXPECT_EQ(rs->GetRecordCount(), 3);
    EXPECT_EQ(rs->GetCollect(Variant("姓名")), Variant("王五"));
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表"), QStringLiteral("姓名")).size(), 6);
}

TEST_F(AdodbTest, PendingChangesAreStoredByAMoveAndCancelledByClose) {
    CreateResidents();
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM 基本情况表"));
    rs->PutCollect(Variant("年龄"), Variant("45"));
    EXPECT_EQ(rs->GetEditMode(), adEditInProgress);
    EXPECT_EQ(rs->GetCollect(Variant("年龄")), Variant(45)) << "the pending value reads back";
    EXPECT_EQ(rs->GetFields()->GetItem(Variant("年龄"))->GetOriginalValue(), Variant(44));
    rs->MoveNext();
    EXPECT_EQ(rs->GetEditMode(), adEditNone);
    rs->PutCollect(Variant("年龄"), Variant(99));
    rs->Close();
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表"), QStringLiteral("年龄")),
              QStringList({"45", "32", "49", "12", "55"}));

    // An AddNew row pending when the recordset closes is not added either.
    RecordsetPtr adding = Query(QStringLiteral("SELECT * FROM 基本情况表"));
    adding->AddNew();
    adding->PutCollect(Variant("姓名"), Variant("过客"));
    adding->Close();
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表"), QStringLiteral("姓名")).size(), 5);
}

TEST_F(AdodbTest, DeletedRowStaysCurrentUntilTheNextMove) {
    CreateResidents();
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM 基本情况表"));
    rs->MoveNext();
    rs->Delete(adAffectCurrent);
    EXPECT_EQ(rs->GetRecordCount(), 4);
    EXPECT_FALSE(rs->GetEOF());
    EXPECT_EQ(ErrorOf([&] { rs->GetCollect(Variant("姓名")); }), E_FAIL);
    rs->MoveNext();
    EXPECT_EQ(rs->GetCollect(Variant("姓名")), Variant("王五"));
    rs->MoveLast();
    rs->Delete(adAffectCurrent);
    rs->MovePrevious();
    EXPECT_EQ(rs->GetCollect(Variant("姓名")), Variant("赵六"));
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表"), QStringLiteral("姓名")),
              QStringList({"张三", "王五", "赵六"}));
}

TEST_F(AdodbTest, FilterAndFindTakeTheCriteriaForms) {
    CreateResidents();
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM 基本情况表"));
    struct Case {
        const char* filter;
        long count;
    };
    for (const Case& c :
         {Case{"编号=3", 1}, Case{"姓名='李四'", 1}, Case{"性别 = '女' AND 年龄 > 30", 2},
          Case{"性别='男' OR 年龄<=12", 3},
          Case{"(性别='女' OR 年龄<45) AND 户口簿编号<>'H001'", 2},
          Case{"工作单位 LIKE '一组%'", 3}, Case{"工作单位 LIKE '*乙院'", 1},
          Case{"出生日期 >= #1980-1-1#", 3}, Case{"出生日期 < '1975-01-02'", 2},
          Case{"身份证号='11010519800503001x'", 1}, Case{"家庭人口 = NULL", 1},
          Case{"死亡日期 IS NULL", 5}, Case{"[姓名]='王五'", 1}, Case{"姓名='O''Neil'", 0}}) {
        rs->PutFilter(QString::fromUtf8(c.filter));
        EXPECT_EQ(rs->GetRecordCount(), c.count) << c.filter;
        EXPECT_EQ(rs->GetAbsolutePosition(), c.count ? 1L : static_cast<long>(adPosBOF))
            << c.filter;
    }
    rs->PutFilter(QString());
    EXPECT_EQ(rs->GetRecordCount(), 5);
    for (const char* bad : {"姓名=", "没有=1", "姓名='x", "姓名 ~ 'x'", "年龄=abc", "(年龄=1"}) {
        QString description;
        EXPECT_EQ(ErrorOf([&] { rs->PutFilter(QString::fromUtf8(bad)); }, &description),
                  DB_E_ERRORSINCOMMAND)
            << bad;
        EXPECT_FALSE(description.isEmpty());
    }

    rs->MoveLast();
    rs->MoveNext();
    rs->Find(QStringLiteral("编号=1"), 0, adSearchForward, Variant());
    EXPECT_TRUE(rs->GetEOF()) << "from the end nothing follows";
    rs->Find(QStringLiteral("编号=1"), 0, adSearchForward,
             Variant(static_cast<int>(adBookmarkFirst)));
    EXPECT_EQ(rs->GetCollect(Variant("姓名")), Variant("张三"));
    rs->Find(QStringLiteral("性别='女'"), 1, adSearchForward, Variant());
    EXPECT_EQ(rs->GetCollect(Variant("姓名")), Variant("李四"));
    rs->Find(QStringLiteral("性别='男'"), 0, adSearchBackward,
             Variant(static_cast<int>(adBookmarkLast)));
    EXPECT_EQ(rs->GetCollect(Variant("姓名")), Variant("王五"));
    rs->Find(QStringLiteral("姓名='无人'"), 0, adSearchBackward, Variant());
    EXPECT_TRUE(rs->GetBOF());
}

TEST_F(AdodbTest, RequeryReadsTheRowsAgainAndKeepsTheFilter) {
    CreateResidents();
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM 基本情况表"));
    rs->PutFilter(QStringLiteral("性别='女'"));
    Exec(QStringLiteral("INSERT INTO 基本情况表 (姓名,性别) VALUES ('孙八','女')"));
    EXPECT_EQ(rs->GetRecordCount(), 3);
    rs->Requery(-1);
    EXPECT_EQ(rs->GetRecordCount(), 4);
    EXPECT_EQ(rs->GetFilter(), QStringLiteral("性别='女'"));
}

TEST_F(AdodbTest, NestedTransactionsCommitAndRollBack) {
    CreateResidents();
    EXPECT_EQ(m_conn->BeginTrans(), 1);
    Exec(QStringLiteral("UPDATE 基本情况表 SET 年龄=1"));
    EXPECT_EQ(m_conn->BeginTrans(), 2);
    Exec(QStringLiteral("UPDATE 基本情况表 SET 年龄=2"));
    m_conn->RollbackTrans();
    m_conn->CommitTrans();
    EXPECT_EQ(
        Column(QStringLiteral("SELECT DISTINCT 年龄 FROM 基本情况表"), QStringLiteral("年龄")),
        QStringList({"1"}));
    m_conn->BeginTrans();
    Exec(QStringLiteral("DELETE * FROM 基本情况表"));
    m_conn->RollbackTrans();
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 基本情况表"), QStringLiteral("姓名")).size(), 5);
    EXPECT_EQ(ErrorOf([&] { m_conn->CommitTrans(); }), E_FAIL);
}
