#include "AppFixture.h"

#include "adodb/SqliteProvider.h"
#include "records/ResidentCatalogue.h"

namespace {
QStringList currentLayout() {
    QStringList names;
    for (const ResidentColumn& c : ResidentColumns())
        names << c.name;
    return names;
}
} // namespace

TEST_F(AppTest, EarlierLayoutsAreUpgradedOnceAndThenPassUnchanged) {
    for (int layout : {36, 38}) {
        const QString db = MakeDatabase(QString(), layout);
        for (int start = 0; start < 2; ++start) {
            CVRINApp app;
            m_dialogs.Then(LoginAs(QStringLiteral("管理员"), QStringLiteral("580347")));
            ASSERT_TRUE(app.InitInstance()) << layout;
            app.ExitInstance();
            EXPECT_EQ(ResidentColumnNames(db), currentLayout()) << layout;
            EXPECT_EQ(Users(db).size(), 1);
        }
        QFile::remove(db);
    }
}

TEST_F(AppTest, ATableWithSomeOfTheNewColumnsIsCompleted) {
    const QString db = MakeDatabase(QString(), 38);
    ExecOn(db, QStringLiteral("ALTER TABLE 基本情况表 ADD COLUMN 节育措施 char(20)"));
    ExecOn(db, QStringLiteral("ALTER TABLE 基本情况表 ADD COLUMN 血型 char(20)"));
    CVRINApp app;
    ConnectApp(app);
    EXPECT_EQ(ResidentColumnNames(db), currentLayout());
}

TEST_F(AppTest, ACurrentDatabasePassesWithoutAnyChange) {
    const QString db = MakeDatabase();
    {
        CVRINApp app;
        ConnectApp(app); // creates the user table
    }
    const QByteArray before = m_appDir.Read(kDatabaseFileName);
    CVRINApp app;
    ConnectApp(app);
    EXPECT_EQ(m_appDir.Read(kDatabaseFileName), before);
}

TEST_F(AppTest, OldLayoutsItCannotRepairAreRefusedBeforeAnyLogin) {
    struct Case {
        const char* table;
        const char* message;
    };
    const Case cases[] = {
        {"CREATE TABLE 基本情况表 (编号 COUNTER, 姓名 TEXT(20), 曾用名 TEXT(20), 单位 TEXT(50), "
         "性别 TEXT(2), 注销 TEXT(20))",
         "需要将单位字段改为工作单位,工作单位改为服务场所,简历改为备注2!"},
        {"CREATE TABLE 基本情况表 (编号 COUNTER, 姓名 TEXT(20), 曾用名 TEXT(20), 工作单位 "
         "TEXT(50), 性别 TEXT(2), 注销 TEXT(10))",
         "需要将注销字段的长度改为20!"},
    };
    for (const Case& c : cases) {
        QFile::remove(m_appDir.Path(kDatabaseFileName));
        adodb::CreateDatabaseFile(m_appDir.Path(kDatabaseFileName));
        ExecOn(m_appDir.Path(kDatabaseFileName), QString::fromUtf8(c.table));
        const QByteArray before = m_appDir.Read(kDatabaseFileName);
        CVRINApp app;
        m_boxes.Expect(QString::fromUtf8(c.message));
        EXPECT_FALSE(app.InitInstance());
        EXPECT_EQ(m_boxes.Boxes().back().caption, QStringLiteral("VRIN"));
        EXPECT_EQ(m_appDir.Read(kDatabaseFileName), before) << "nothing added, no user table";
        app.ExitInstance();
    }
}
