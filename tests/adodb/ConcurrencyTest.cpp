#include "AdodbFixture.h"

#include <signal.h>
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
    EXPECT_EQ(
        description,
        QStringLiteral("Row cannot be located for updating. Some values may have been changed "
                       "since it was last read."));
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
