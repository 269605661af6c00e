#include "AdodbFixture.h"

#include <sqlite3.h>

#include <chrono>
#include <mutex>
#include <signal.h>
#include <thread>
#include <sys/wait.h>
#include <unistd.h>

using namespace adodb;

TEST_F(AdodbTest, AWriteConflictIsRefusedAndKeepsTheOtherChange) {
    CreateResidents();
    ConnectionPtr other = Connect();
    RecordsetPtr mine = Query(QStringLiteral("SELECT * FROM 基本情况表"));
    RecordsetPtr theirs = Recordset::Create();
    theirs->Open(QStringLiteral("SELECT * FROM 基本情况表"), other, adOpenDynamic, adLockOptimistic,
                 adCmdText);

    theirs->PutCollect(Variant("姓名"), Variant("张叁"));
    theirs->Update();

    mine->PutCollect(Variant("姓名"), Variant("张三丰"));
    QString description;
    EXPECT_EQ(ErrorOf([&] { mine->Update(); }, &description), DB_E_CONCURRENCYVIOLATION);
    EXPECT_EQ(description,
              QStringLiteral("无法定位要更新的行：自上次读取以来，某些值可能已被其他用户更改。"));
    EXPECT_EQ(mine->GetEditMode(), adEditInProgress) << "the edit waits to be cancelled";
    mine->CancelUpdate();
    // A change of another column of the same row does not conflict and keeps theirs.
    mine->PutCollect(Variant("年龄"), Variant(50));
    mine->Update();
    EXPECT_EQ(
        Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE 编号=1"), QStringLiteral("姓名")),
        QStringList({"张叁"}));
    EXPECT_EQ(
        Column(QStringLiteral("SELECT * FROM 基本情况表 WHERE 编号=1"), QStringLiteral("年龄")),
        QStringList({"50"}));

    // A row deleted by the other connection cannot be updated either.
    theirs->MoveNext();
    theirs->Delete(adAffectCurrent);
    mine->MoveNext();
    mine->PutCollect(Variant("年龄"), Variant(1));
    EXPECT_EQ(ErrorOf([&] { mine->MoveNext(); }), DB_E_CONCURRENCYVIOLATION)
        << "the move stores the change first";
}

TEST_F(AdodbTest, AKilledLongTransactionLeavesOnlyCommittedRows) {
    CreateResidents();
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        ConnectionPtr c = Connect();
        c->BeginTrans();
        for (int i = 0;; ++i) {
            c->Execute(QStringLiteral("INSERT INTO 基本情况表 (姓名) VALUES ('未提交%1')").arg(i),
                       nullptr, adCmdText);
            if (i == 2000) {
                char byte = 1;
                if (write(ready[1], &byte, 1) != 1)
                    _exit(2);
            }
        }
    }
    close(ready[1]);
    char byte = 0;
    ASSERT_EQ(read(ready[0], &byte, 1), 1);
    kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(ready[0]);

    ConnectionPtr after = Connect();
    RecordsetPtr rs = Recordset::Create();
    rs->Open(QStringLiteral("SELECT * FROM 基本情况表"), after, adOpenStatic, adLockOptimistic,
             adCmdText);
    EXPECT_EQ(rs->GetRecordCount(), 5);
    rs->AddNew();
    rs->PutCollect(Variant("姓名"), Variant("后来者"));
    EXPECT_EQ(rs->Update(), S_OK) << "the file is writable again";
}

namespace {

// Another workstation's hold on the file, through the engine itself: a write transaction
// (BEGIN IMMEDIATE) or an exclusive one, released after a while or at the end.
class Holder {
public:
    Holder(const QString& path, const char* begin) {
        sqlite3_open_v2(path.toUtf8().constData(), &m_db, SQLITE_OPEN_READWRITE, nullptr);
        EXPECT_EQ(sqlite3_exec(m_db, begin, nullptr, nullptr, nullptr), SQLITE_OK);
    }
    ~Holder() {
        Release();
        if (m_thread.joinable())
            m_thread.join();
        sqlite3_close(m_db);
    }
    void ReleaseAfter(int milliseconds) {
        m_thread = std::thread([this, milliseconds] {
            std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
            Release();
        });
    }
    void Release() {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_released)
            sqlite3_exec(m_db, "COMMIT", nullptr, nullptr, nullptr);
        m_released = true;
    }

private:
    sqlite3* m_db = nullptr;
    std::thread m_thread;
    std::mutex m_mutex;
    bool m_released = false;
};

int RowsNamed(const ConnectionPtr& c, const QString& name) {
    RecordsetPtr rs = c->Execute(
        QStringLiteral("SELECT count(*) AS n FROM 基本情况表 WHERE 姓名='%1'").arg(name), nullptr,
        adCmdText);
    return static_cast<int>(rs->GetCollect(Variant("n")).ToDouble());
}

} // namespace

// An added row is reported stored exactly when it is: held past the busy timeout the add
// fails and stores nothing; held for less, it waits, stores one row and knows its key.
TEST_F(AdodbTest, AnAddedRowIsStoredOnceAndReportedSo) {
    CreateResidents();
    ConnectionPtr mine = Connect(QStringLiteral("; Busy Timeout=150"));
    RecordsetPtr rs = Recordset::Create();
    rs->Open(QStringLiteral("SELECT * FROM 基本情况表"), mine, adOpenDynamic, adLockOptimistic,
             adCmdText);
    {
        Holder other(m_path, "BEGIN IMMEDIATE");
        rs->AddNew();
        rs->PutCollect(Variant("姓名"), Variant("新来的"));
        EXPECT_NE(ErrorOf([&] { rs->Update(); }), 0) << "held past the timeout: a failure";
        rs->CancelUpdate();
    }
    EXPECT_EQ(RowsNamed(m_conn, QStringLiteral("新来的")), 0) << "and nothing stored";

    ConnectionPtr patient = Connect(QStringLiteral("; Busy Timeout=5000"));
    RecordsetPtr added = Recordset::Create();
    added->Open(QStringLiteral("SELECT * FROM 基本情况表"), patient, adOpenDynamic,
                adLockOptimistic, adCmdText);
    Holder other(m_path, "BEGIN EXCLUSIVE");
    other.ReleaseAfter(300);
    added->AddNew();
    added->PutCollect(Variant("姓名"), Variant("新来的"));
    EXPECT_EQ(ErrorOf([&] { added->Update(); }), 0) << "released in time: a success";
    EXPECT_EQ(added->GetCollect(Variant("编号")).ToDouble(), 6) << "the key is known";
    other.Release();
    EXPECT_EQ(RowsNamed(m_conn, QStringLiteral("新来的")), 1) << "stored exactly once";
}

// A commit that cannot get the file (a reader in the middle of a statement) rolls back
// and lets go of the file, so that other connections can write at once.
TEST_F(AdodbTest, AFailedCommitRollsBackAndReleasesTheFile) {
    CreateResidents();
    ConnectionPtr writer = Connect(QStringLiteral("; Busy Timeout=100"));
    writer->BeginTrans();
    for (int i = 0; i < 500; ++i)
        writer->Execute(QStringLiteral("INSERT INTO 基本情况表 (姓名) VALUES ('批量%1')").arg(i),
                        nullptr, adCmdText);

    sqlite3* reader = nullptr;
    sqlite3_open_v2(m_path.toUtf8().constData(), &reader, SQLITE_OPEN_READWRITE, nullptr);
    sqlite3_stmt* reading = nullptr;
    sqlite3_prepare_v2(reader, "SELECT * FROM 基本情况表", -1, &reading, nullptr);
    ASSERT_EQ(sqlite3_step(reading), SQLITE_ROW) << "the reader holds the file mid-statement";

    QString why;
    EXPECT_NE(ErrorOf([&] { writer->CommitTrans(); }, &why), 0);
    EXPECT_TRUE(why.contains(QStringLiteral("事务已回滚"))) << why.toStdString();
    sqlite3_finalize(reading);
    sqlite3_close(reader);

    ConnectionPtr other = Connect(QStringLiteral("; Busy Timeout=100"));
    EXPECT_EQ(ErrorOf([&] {
                  other->Execute(QStringLiteral("INSERT INTO 基本情况表 (姓名) VALUES ('后来者')"),
                                 nullptr, adCmdText);
              }),
              0)
        << "the file is free";
    EXPECT_EQ(RowsNamed(m_conn, QStringLiteral("批量0")), 0) << "the batch is not stored";
    EXPECT_EQ(ErrorOf([&] { writer->BeginTrans(); }), 0) << "the writer can start again";
    writer->RollbackTrans();
}

// Reading the columns of a table or the list of tables while another workstation holds
// the file is an error, not an empty answer, and nothing wrong is kept for later.
TEST_F(AdodbTest, ABusySchemaReadIsAnErrorAndNotKept) {
    Exec(QStringLiteral("CREATE TABLE 表 (编号 COUNTER, 日期 DATETIME)"));
    ConnectionPtr mine = Connect(QStringLiteral("; Busy Timeout=100"));
    const QString insert = QStringLiteral("INSERT INTO 表 (日期) VALUES ('2002年12月1日')");
    {
        Holder other(m_path, "BEGIN EXCLUSIVE");
        QString why;
        EXPECT_NE(ErrorOf([&] { mine->Execute(insert, nullptr, adCmdText); }, &why), 0);
        EXPECT_TRUE(why.contains(QStringLiteral("锁定"))) << why.toStdString();
        EXPECT_NE(ErrorOf([&] { mine->OpenSchema(adSchemaTables, Variant()); }), 0);
    }
    mine->Execute(insert, nullptr, adCmdText);
    EXPECT_EQ(Column(QStringLiteral("SELECT * FROM 表"), QStringLiteral("日期")),
              QStringList{QStringLiteral("2002-12-01")})
        << "the date was converted with the table's real columns";
    RecordsetPtr tables = mine->OpenSchema(adSchemaTables, Variant());
    EXPECT_EQ(tables->GetRecordCount(), 2) << "表 and the engine's sequence table";
}
