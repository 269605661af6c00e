#include "AdoTestFixture.h"

#include "platform/FormatText.h"

using namespace adodb;

namespace {
// Lets a test move the recordset's own stamp back in time.
class StampedRecordSet : public CAdoRecordSet {
public:
    void AgeStamp(int seconds) {
        m_dtOpened = COleDateTime::FromDouble(m_dtOpened.m_dt - seconds / 86400.0);
    }
    const COleDateTime& Stamp() const { return m_dtOpened; }
};

QString name(CAdoRecordSet& rs) {
    QString n;
    rs.GetValueString(QStringLiteral("姓名"), n);
    return n;
}
} // namespace

TEST_F(AdoTest, AStaleRecordsetRequeriesOnlyWhenAnotherOpenedLater) {
    StampedRecordSet first, second;
    ASSERT_TRUE(first.OpenIfNeeded(QStringLiteral("基本情况表"), &m_conn));
    ASSERT_TRUE(second.OpenIfNeeded(QStringLiteral("基本情况表"), &m_conn));
    ASSERT_TRUE(first.Find(QStringLiteral("编号=1")));
    ASSERT_TRUE(first.Delete(1));
    // Within the same second the second recordset counts as fresh and keeps its rows.
    ASSERT_TRUE(second.OpenIfNeeded(QString(), nullptr));
    EXPECT_EQ(second.GetRecordCount(), 3);
    // Opened a second or more before the deletion, it requeries.
    second.AgeStamp(2);
    ASSERT_TRUE(second.OpenIfNeeded(QString(), nullptr));
    EXPECT_EQ(second.GetRecordCount(), 2);
    EXPECT_EQ(second.Stamp(), m_conn.m_dtLastOpen);
}

TEST_F(AdoTest, SavingStampsOnlyTheRecordsetThatSaved) {
    StampedRecordSet saver, other;
    saver.OpenIfNeeded(QStringLiteral("基本情况表"), &m_conn);
    other.OpenIfNeeded(QStringLiteral("基本情况表"), &m_conn);
    saver.AgeStamp(5);
    other.AgeStamp(5);
    m_conn.m_dtLastOpen = other.Stamp();
    COleDateTime connectionStamp = m_conn.m_dtLastOpen;
    saver.PutCollect(QStringLiteral("姓名"), Variant("张叁"));
    ASSERT_TRUE(saver.Update());
    EXPECT_GT(saver.Stamp(), other.Stamp());
    EXPECT_EQ(m_conn.m_dtLastOpen, connectionStamp);
    other.MoveLast();
    ASSERT_TRUE(other.OpenIfNeeded(QString(), nullptr));
    EXPECT_EQ(name(other), QStringLiteral("张三"))
        << "no requery because of the save; moved to the first row";
}

TEST_F(AdoTest, OpenIfNeededMovesToTheFirstRowOnlyWhenThereIsOne) {
    CAdoRecordSet rs;
    ASSERT_TRUE(rs.OpenIfNeeded(QStringLiteral("基本情况表"), &m_conn));
    EXPECT_EQ(rs.GetRecordset()->GetCursorLocation(), adUseClient);
    rs.MoveLast();
    ASSERT_TRUE(rs.OpenIfNeeded(QStringLiteral("基本情况表"), &m_conn));
    EXPECT_EQ(name(rs), QStringLiteral("张三"));
    ScopedTraceCapture trace;
    CAdoRecordSet empty;
    empty.SetAdoConnection(&m_conn);
    ASSERT_TRUE(empty.Open(QStringLiteral("SELECT * FROM 基本情况表 WHERE 姓名='无人'")));
    EXPECT_TRUE(empty.OpenIfNeeded(QString(), nullptr));
    EXPECT_TRUE(empty.IsEOF());
    EXPECT_TRUE(trace.Lines().isEmpty());
}

TEST_F(AdoTest, FindReachesEveryRowFromWhereverTheRecordsetStands) {
    CAdoRecordSet rs;
    OpenResidents(rs);
    while (!rs.IsEOF())
        rs.MoveNext();
    const QString key = FormatText(QStringLiteral("%s=%d"), rs.GetFieldName(0), 1);
    ASSERT_TRUE(rs.Find(key));
    EXPECT_EQ(name(rs), QStringLiteral("张三"));
    rs.MoveLast();
    ASSERT_TRUE(rs.Find(QStringLiteral("编号=2")));
    EXPECT_EQ(name(rs), QStringLiteral("李四"));
    rs.MoveLast();
    ASSERT_TRUE(rs.Find(QString())) << "repeats the last criteria";
    EXPECT_EQ(name(rs), QStringLiteral("李四"));
    EXPECT_FALSE(rs.Find(QStringLiteral("编号=99")));
    EXPECT_TRUE(rs.IsEOF());
    CAdoRecordSet fresh;
    OpenResidents(fresh);
    EXPECT_FALSE(fresh.Find(QString())) << "nothing to repeat";
    EXPECT_FALSE(fresh.Find(QStringLiteral("编号=")));
    EXPECT_TRUE(fresh.m_strLastError.startsWith(QStringLiteral("Warning: Find 方法发生异常.")));
}

TEST_F(AdoTest, ARefusedUpdateLeavesNoPendingEdit) {
    CAdoRecordSet rs;
    OpenResidents(rs);
    EXPECT_FALSE(rs.PutCollect(QStringLiteral("姓名"), Variant("一个太长太长太长的名字")));
    EXPECT_EQ(rs.GetEditMode(), adEditNone);
    ASSERT_TRUE(rs.AddNew());
    ASSERT_TRUE(rs.PutCollect(QStringLiteral("姓名"), Variant("钱七")));
    // Another process took the file for itself: saving fails and the edit is cancelled.
    CAdoConnection locker;
    ASSERT_TRUE(locker.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") +
                            m_path + QStringLiteral("; Busy Timeout=10")));
    ASSERT_EQ(locker.BeginTrans(), 1);
    locker.Execute(QStringLiteral("DELETE * FROM 基本情况表 WHERE 编号=3"), adCmdText);
    CAdoConnection impatient;
    ASSERT_TRUE(impatient.Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") +
                               m_path + QStringLiteral("; Busy Timeout=10")));
    CAdoRecordSet blocked;
    blocked.SetAdoConnection(&impatient);
    ASSERT_TRUE(blocked.Open(QStringLiteral("SELECT * FROM 基本情况表")));
    blocked.AddNew();
    blocked.PutCollect(QStringLiteral("姓名"), Variant("钱七"));
    EXPECT_FALSE(blocked.Update());
    EXPECT_TRUE(blocked.m_strLastError.startsWith(QStringLiteral("Warning: Update 方法发生异常.")));
    EXPECT_TRUE(blocked.m_strLastError.contains(QStringLiteral("锁定")));
    EXPECT_EQ(blocked.GetEditMode(), adEditNone);
    EXPECT_EQ(blocked.GetRecordCount(), 3);
    locker.RollbackTrans();
    rs.CancelUpdate();
}

TEST_F(AdoTest, WalkingEndsWhenTheProviderFails) {
    CAdoRecordSet mine;
    OpenResidents(mine);
    CAdoConnection otherConnection;
    otherConnection.OpenJetDatabase(m_path);
    otherConnection.Execute(QStringLiteral("UPDATE 基本情况表 SET 工作单位='三组'"), adCmdText);
    // Every row's change now conflicts when the move stores it.
    int steps = 0;
    ScopedTraceCapture trace;
    while (!mine.IsEOF() && steps < 10) {
        mine.PutCollect(QStringLiteral("工作单位"), Variant("四组"));
        mine.MoveNext();
        ++steps;
    }
    EXPECT_EQ(steps, 1);
    EXPECT_TRUE(mine.m_strLastError.startsWith(QStringLiteral("Warning: MoveNext 方法发生异常.")));
    EXPECT_EQ(mine.GetRecordCount(), 3) << "the count does not loop either";
    mine.CancelUpdate();
    EXPECT_TRUE(mine.MoveFirst());
    EXPECT_FALSE(mine.IsEOF()) << "a successful move ends the failed state";
    mine.Close();
    CAdoRecordSet check;
    OpenResidents(check, QStringLiteral("SELECT * FROM 基本情况表 WHERE 工作单位='三组'"));
    EXPECT_EQ(check.GetRecordCount(), 3) << "the other user's change is kept";
}

TEST_F(AdoTest, OpenFailureKeepsTheProviderListInTheLastError) {
    ScopedTraceCapture trace;
    CAdoRecordSet rs;
    EXPECT_FALSE(rs.Open(QStringLiteral("SELECT * FROM 基本情况表"))) << "no connection attached";
    rs.SetAdoConnection(&m_conn);
    EXPECT_FALSE(rs.Open(QStringLiteral("SELECT * FROM 基本情况表 WHERE")));
    EXPECT_TRUE(rs.m_strLastError.startsWith(QStringLiteral("Description: SQL 语句语法错误")));
    EXPECT_TRUE(rs.m_strLastError.endsWith(QStringLiteral("\r\n\r\n")));
    ASSERT_EQ(trace.Lines().size(), 1);
    EXPECT_TRUE(
        trace.Lines()[0].startsWith(QStringLiteral("Warning: 打开记录集发生异常. 错误信息: ")));
    EXPECT_TRUE(rs.Open(QStringLiteral("SELECT * FROM 基本情况表")));
    EXPECT_TRUE(rs.Close());
    EXPECT_TRUE(rs.Open(QString())) << "reopens the same source";
    CAdoRecordSet never;
    EXPECT_TRUE(never.Close());
}

TEST_F(AdoTest, ReadsAfterCloseAskTheOperatorToReconnect) {
    TestResponder responder;
    CAdoRecordSet rs;
    OpenResidents(rs);
    rs.Close();
    responder.Expect(QStringLiteral("数据库可能已经断开,\r\n请重新连接、然后重试."))
        .Expect(QStringLiteral("数据库可能已经断开,\r\n请重新连接、然后重试."))
        .Expect(QStringLiteral("数据库可能已经断开1,\r\n请重新连接、然后重试."));
    QString value = QStringLiteral("unchanged");
    EXPECT_FALSE(rs.GetValueString(QStringLiteral("姓名"), value));
    EXPECT_FALSE(rs.GetValueString(QStringLiteral("性别"), value));
    EXPECT_EQ(value, QStringLiteral("unchanged"));
    EXPECT_EQ(rs.GetDisplayValue(QStringLiteral("姓名")), QString());
    for (const auto& box : responder.Boxes()) {
        EXPECT_EQ(box.caption, QStringLiteral("提示"));
        EXPECT_EQ(box.style, 0x40u);
        EXPECT_EQ(box.owner, nullptr);
    }
}

TEST_F(AdoTest, ReadsAtTheEndGiveNothingWithoutAMessage) {
    CAdoRecordSet rs;
    OpenResidents(rs);
    rs.MoveLast();
    rs.MoveNext();
    QString value = QStringLiteral("unchanged");
    EXPECT_FALSE(rs.GetValueString(QStringLiteral("姓名"), value));
    EXPECT_EQ(value, QStringLiteral("unchanged"));
    EXPECT_EQ(rs.GetDisplayValue(QStringLiteral("姓名")), QString());
    long n = 7;
    EXPECT_FALSE(rs.GetValue(QStringLiteral("家庭人口"), n));
    EXPECT_EQ(n, 0);
}

TEST_F(AdoTest, ValuesInTheirTechnicalAndDisplayForms) {
    CAdoRecordSet rs;
    OpenResidents(rs);
    struct Case {
        const char* field;
        const char* technical;
        const char* display;
    };
    auto check = [&](std::initializer_list<Case> cases) {
        for (const Case& c : cases) {
            QString t;
            EXPECT_TRUE(rs.GetValueString(QString::fromUtf8(c.field), t));
            EXPECT_EQ(t, QString::fromUtf8(c.technical)) << c.field;
            EXPECT_EQ(rs.GetDisplayValue(QString::fromUtf8(c.field)), QString::fromUtf8(c.display))
                << c.field;
        }
    };
    check({{"编号", "1", "1"},
           {"出生日期", "2009-05-01 00:00:00", "2009年05月01日"},
           {"家庭人口", "3", "3"},
           {"身高", "0.00000000", ""},
           {"股民", "TRUE", "是"},
           {"照片", "", ""}});
    rs.MoveNext();
    check({{"出生日期", "2009-05-01 08:30:00", "2009年05月01日08时30分"},
           {"家庭人口", "", ""},
           {"身高", "1.75500000", "1.75"},
           {"股民", "FALSE", "否"}});
    long n = 5;
    EXPECT_TRUE(rs.GetValue(QStringLiteral("家庭人口"), n));
    EXPECT_EQ(n, 0) << "null reads as 0";
    EXPECT_EQ(rs.GetCollectValue(0), Variant(2));
    ScopedTraceCapture trace;
    EXPECT_EQ(rs.GetCollectValue(42), Variant(QString()));
    EXPECT_EQ(rs.GetDisplayValue(QStringLiteral("没有")), QString());
    EXPECT_TRUE(rs.m_strLastError.startsWith(QStringLiteral(":( 字段访问失败: ")));
    EXPECT_EQ(trace.Lines().size(), 2);
}

TEST_F(AdoTest, FieldKindsAndNames) {
    CAdoRecordSet rs;
    OpenResidents(rs);
    EXPECT_EQ(rs.GetFieldsCount(), 9);
    EXPECT_EQ(rs.GetFieldName(1), QStringLiteral("姓名"));
    EXPECT_EQ(rs.GetFieldName(9), QString());
    EXPECT_EQ(rs.GetFieldKind(QStringLiteral("编号")), 1);
    EXPECT_EQ(rs.GetFieldKind(QStringLiteral("身高")), 1);
    EXPECT_EQ(rs.GetFieldKind(QStringLiteral("股民")), 1);
    EXPECT_EQ(rs.GetFieldKind(QStringLiteral("出生日期")), 2);
    EXPECT_EQ(rs.GetFieldKind(QStringLiteral("姓名")), 3);
    EXPECT_EQ(rs.GetFieldKind(QStringLiteral("照片")), 0);
    ScopedTraceCapture trace;
    EXPECT_EQ(rs.GetFieldKind(QStringLiteral("没有")), 0);
    EXPECT_TRUE(
        rs.m_strLastError.startsWith(QStringLiteral("Warning: GetField发生异常. 错误信息: ")));
    EXPECT_FALSE(rs.GetField(QStringLiteral("没有")));
    EXPECT_TRUE(rs.GetField(QStringLiteral("照片")));
}

TEST_F(AdoTest, PutValueChecksTheTypeButStoresAnyway) {
    CAdoRecordSet rs;
    OpenResidents(rs);
    ScopedTraceCapture trace;
    EXPECT_TRUE(rs.PutValue(QStringLiteral("家庭人口"), 4));
    EXPECT_TRUE(rs.PutValue(QStringLiteral("身高"), 1.8));
    EXPECT_TRUE(rs.PutValue(QStringLiteral("出生日期"), COleDateTime(1980, 1, 5, 0, 0, 0)));
    EXPECT_TRUE(trace.Lines().isEmpty());
    EXPECT_TRUE(rs.PutValue(QStringLiteral("姓名"), 5)) << "the engine converts the number";
    ASSERT_EQ(trace.Lines().size(), 1);
    EXPECT_TRUE(trace.Lines()[0].startsWith(QStringLiteral(
        "Warning: 你要存贮的字段与变量的数据类型不符; 文件: AdoRecordSet.cpp; 行: ")));
    EXPECT_TRUE(rs.PutValue(QStringLiteral("工作单位"), QString())) << "empty text stores null";
    EXPECT_TRUE(rs.Update());
    CAdoRecordSet back;
    OpenResidents(back);
    EXPECT_EQ(name(back), QStringLiteral("5"));
    EXPECT_TRUE(back.GetCollectValue(4).IsNull());
    EXPECT_EQ(back.GetDisplayValue(QStringLiteral("工作单位")), QString());
    EXPECT_EQ(back.GetDisplayValue(QStringLiteral("出生日期")), QStringLiteral("1980年01月05日"));
    EXPECT_EQ(back.GetDisplayValue(QStringLiteral("身高")), QStringLiteral("1.80"));
}
