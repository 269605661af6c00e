#include "AppFixture.h"

#include "app/users/Rights.h"
#include "app/settings/SettingsFiles.h"
#include "platform/Gbk.h"
#include "platform/InstanceLock.h"
#include "platform/OleDateTime.h"
#include "records/ResidentCatalogue.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMainWindow>

#include <sqlite3.h>

namespace {
const QString kNetworkFailureTail = QStringLiteral(
    "\r连接网络上的数据库失败!"
    "\r\r请检查网上邻居是否可访问服务器！\r\n请将作为服务器的安装目录共享名设为“VRIN” \r\n"
    "要使用本地数据，请不要输入IP地址！");
const QString kToday = COleDateTime::GetCurrentTime().Format(QStringLiteral("%Y-%m-%d"));
} // namespace

TEST_F(AppTest, ASecondCopyIsRefusedBeforeAnyDatabaseIsTouched) {
    InstanceLock running;
    ASSERT_TRUE(running.TryLock());
    CVRINApp app;
    m_boxes.Expect(QStringLiteral("应用程序已经在运行!"));
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(m_boxes.Boxes()[0].caption, QStringLiteral("VRIN"));
    EXPECT_FALSE(app.m_pConnection);
    EXPECT_FALSE(m_appDir.Exists(kDatabaseFileName));
    app.ExitInstance();
    running.Release();
    InstanceLock next;
    EXPECT_TRUE(next.TryLock()) << "the lock is free once the first copy ends";
}

TEST_F(AppTest, AFirstLocalStartCreatesTheAdministratorAndLogsIn) {
    const QString db = MakeDatabase();
    CVRINApp app;
    m_dialogs.Then([](QDialog& d) {
        auto* server = qobject_cast<QLineEdit*>(Control(d, 1002));
        EXPECT_FALSE(server->isEnabled()) << "local mode: no server";
        LoginAs(QStringLiteral("管理员"), QStringLiteral("580347"))(d);
    });
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.m_bNetwork, 0);
    EXPECT_EQ(app.m_strDataDir, m_appDir.Folder());
    EXPECT_EQ(app.m_strAppDir, m_appDir.Folder());
    EXPECT_EQ(app.m_strCurrentUser, QStringLiteral("管理员"));
    EXPECT_EQ(g_nUserRight, 99);
    EXPECT_TRUE(app.m_adoConnection.IsOpen());
    ASSERT_TRUE(app.GetMainWnd());
    EXPECT_EQ(app.GetMainWnd()->windowTitle(), QStringLiteral("VRIN"));
    EXPECT_TRUE(app.GetMainWnd()->isMaximized());
    EXPECT_EQ(Users(db), QStringList{QStringLiteral("管理员|580347|99|在线|") + kToday});
    EXPECT_EQ(m_appDir.Read(kCurrentUserFile), ToGbk(QStringLiteral("管理员")));
    EXPECT_EQ(ResidentColumnNames(db).size(), 43);
    app.ExitInstance();
    EXPECT_FALSE(app.m_adoConnection.IsOpen());
}

TEST_F(AppTest, CancellingTheLoginEndsTheProgram) {
    MakeDatabase();
    CVRINApp app;
    m_dialogs.Then([](QDialog& d) { Click(Control(d, IDCANCEL)); });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_FALSE(app.GetMainWnd());
    EXPECT_EQ(g_nUserRight, 0);
}

TEST_F(AppTest, TheServerFileSendsStartUpToTheShare) {
    MakeDatabase(ShareFolder(QStringLiteral("192.168.1.5")));
    WriteAppFile(kServerAddressFile, "192.168.1.5   \r\nignored second line\r\n");
    CVRINApp app;
    m_dialogs.Then([](QDialog& d) {
        auto* server = qobject_cast<QLineEdit*>(Control(d, 1002));
        EXPECT_TRUE(server->isEnabled());
        EXPECT_EQ(server->text(), QStringLiteral("192.168.1.5"));
        LoginAs(QStringLiteral("管理员"), QStringLiteral("580347"))(d);
    });
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.m_bNetwork, 1);
    EXPECT_EQ(app.m_strDataDir, QStringLiteral("\\\\192.168.1.5\\VRIN\\"));
    EXPECT_FALSE(m_appDir.Exists(kDatabaseFileName));
    EXPECT_EQ(m_appDir.Read(kCurrentUserFile), ToGbk(QStringLiteral("管理员")))
        << "always the local folder";
    app.ExitInstance();
}

TEST_F(AppTest, BlankServerFilesMeanTheLocalDatabase) {
    for (const QByteArray& content :
         {QByteArray(), QByteArray("   "), QByteArray("\r\n192.168.1.5")}) {
        MakeDatabase();
        WriteAppFile(kServerAddressFile, content);
        CVRINApp app;
        m_dialogs.Then(LoginAs(QStringLiteral("管理员"), QStringLiteral("580347")));
        ASSERT_TRUE(app.InitInstance()) << content.toStdString();
        EXPECT_EQ(app.m_bNetwork, 0);
        EXPECT_EQ(app.m_strDataDir, m_appDir.Folder());
        app.ExitInstance();
        QFile::remove(m_appDir.Path(kDatabaseFileName));
    }
}

TEST_F(AppTest, AnUnreachableServerOffersTheNetworkDialogAndRetries) {
    MakeDatabase(ShareFolder(QStringLiteral("server2")));
    WriteAppFile(kServerAddressFile, "server1");
    CVRINApp app;
    m_boxes.Expect(QStringLiteral("\\\\server1\\VRIN\\") + kNetworkFailureTail);
    m_dialogs
        .Then([](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("网络设置"));
            EXPECT_EQ(d.parentWidget(), nullptr);
            auto* edit = qobject_cast<QLineEdit*>(Control(d, 1133));
            EXPECT_EQ(edit->text(), QStringLiteral("server1"));
            TypeInto(edit, QStringLiteral("server2"));
            Click(Control(d, IDOK));
        })
        .Then(LoginAs(QStringLiteral("管理员"), QStringLiteral("580347")));
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.m_strDataDir, QStringLiteral("\\\\server2\\VRIN\\"));
    EXPECT_EQ(m_appDir.Read(kServerAddressFile), QByteArray("server2"));
    app.ExitInstance();
}

TEST_F(AppTest, EmptyingTheAddressUsesTheLocalDatabaseButKeepsNetworkMode) {
    MakeDatabase();
    WriteAppFile(kServerAddressFile, "server1");
    CVRINApp app;
    m_boxes.Expect(QStringLiteral("\\\\server1\\VRIN\\") + kNetworkFailureTail);
    m_dialogs
        .Then([](QDialog& d) {
            TypeInto(Control(d, 1133), QString());
            Click(Control(d, IDOK));
        })
        .Then([](QDialog& d) {
            auto* server = qobject_cast<QLineEdit*>(Control(d, 1002));
            EXPECT_EQ(server->text(), QString());
            EXPECT_FALSE(server->isEnabled());
            LoginAs(QStringLiteral("管理员"), QStringLiteral("580347"))(d);
        });
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.m_bNetwork, 1);
    EXPECT_EQ(app.m_strDataDir, m_appDir.Folder());
    EXPECT_EQ(m_appDir.Read(kServerAddressFile), QByteArray());
    app.ExitInstance();
}

TEST_F(AppTest, CancellingTheNetworkDialogEndsTheProgram) {
    WriteAppFile(kServerAddressFile, "server1");
    CVRINApp app;
    m_boxes.Answer(IDOK);
    m_dialogs.Then([](QDialog& d) { Click(Control(d, IDCANCEL)); });
    EXPECT_FALSE(app.InitInstance());
    EXPECT_EQ(m_appDir.Read(kServerAddressFile), QByteArray("server1"));
}

TEST_F(AppTest, ChangingTheServerInTheLoginReconnectsAndAsksAgain) {
    MakeDatabase(ShareFolder(QStringLiteral("serverA")));
    const QString b = MakeDatabase(ShareFolder(QStringLiteral("serverB")));
    ExecOn(b, QStringLiteral("CREATE TABLE 用户密码 (用户名 char(10), 密码 char(10), 权限 int, "
                             "备注 char(20), 登录日期 datetime)"));
    ExecOn(b, QStringLiteral("INSERT INTO 用户密码 (用户名,密码,权限) VALUES ('乙站',  'b', 6)"));
    WriteAppFile(kServerAddressFile, "serverA");
    CVRINApp app;
    m_dialogs
        .Then([](QDialog& d) {
            TypeInto(Control(d, 1002), QStringLiteral("serverB"));
            LoginAs(QStringLiteral("管理员"), QStringLiteral("580347"))(d);
        })
        .Then([](QDialog& d) {
            auto* users = qobject_cast<QComboBox*>(Control(d, 1000));
            ASSERT_EQ(users->count(), 1);
            EXPECT_EQ(users->itemText(0), QStringLiteral("乙站"));
            EXPECT_EQ(qobject_cast<QLineEdit*>(Control(d, 1002))->text(),
                      QStringLiteral("serverB"));
            LoginAs(QStringLiteral("乙站"), QStringLiteral("b"))(d);
        });
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.m_strDataDir, QStringLiteral("\\\\serverB\\VRIN\\"));
    EXPECT_EQ(app.m_strCurrentUser, QStringLiteral("乙站"));
    EXPECT_EQ(g_nUserRight, 6);
    EXPECT_EQ(m_appDir.Read(kServerAddressFile), QByteArray("serverA"))
        << "the change lasts only for this run";
    app.ExitInstance();
}

TEST_F(AppTest, EmptyingTheServerInTheLoginSwitchesToTheLocalDatabase) {
    MakeDatabase(ShareFolder(QStringLiteral("serverA")));
    const QString local = MakeDatabase();
    WriteAppFile(kServerAddressFile, "serverA");
    CVRINApp app;
    m_dialogs
        .Then([](QDialog& d) {
            TypeInto(Control(d, 1002), QString());
            LoginAs(QStringLiteral("管理员"), QStringLiteral("580347"))(d);
        })
        .Then(LoginAs(QStringLiteral("管理员"), QStringLiteral("580347")));
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.m_bNetwork, 0);
    EXPECT_EQ(app.m_strDataDir, m_appDir.Folder());
    EXPECT_EQ(Users(local).size(), 1);
    app.ExitInstance();
}

TEST_F(AppTest, LocalDatabaseProblemsEndStartUpWithTheEnginesWords) {
    struct Case {
        bool present;
        QByteArray bytes;
        const char* says;
    };
    QByteArray access(100, '\0');
    access.replace(4, 15, "Standard Jet DB");
    const Case cases[] = {{false, {}, "找不到文件"},
                          {true, {}, "是空的"},
                          {true, "not sqlite", "不是可识别的数据库格式"},
                          {true, access, "Access"}};
    for (const Case& c : cases) {
        QFile::remove(m_appDir.Path(kDatabaseFileName));
        if (c.present)
            WriteAppFile(kDatabaseFileName, c.bytes);
        CVRINApp app;
        m_boxes.Answer(IDOK);
        EXPECT_FALSE(app.InitInstance());
        ASSERT_EQ(m_boxes.Boxes().size(), 1u);
        EXPECT_TRUE(
            m_boxes.Boxes()[0].text.startsWith(QStringLiteral("连接数据库失败!\r\n错误信息:")));
        EXPECT_TRUE(m_boxes.Boxes()[0].text.contains(QString::fromUtf8(c.says)))
            << m_boxes.Boxes()[0].text.toStdString();
        if (c.present) {
            EXPECT_EQ(m_appDir.Read(kDatabaseFileName), c.bytes) << "the file is left as it was";
        }
        m_boxes.Clear();
        app.ExitInstance();
    }
}

TEST_F(AppTest, ALockedDatabaseIsReportedAfterItsTimeout) {
    const QString db = MakeDatabase();
    qputenv("VRIN_BUSY_TIMEOUT", "50");
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(db.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    CVRINApp app;
    m_boxes.Answer(IDOK);
    EXPECT_FALSE(app.InitInstance());
    EXPECT_TRUE(m_boxes.Boxes()[0].text.contains(QStringLiteral("锁定")));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    qunsetenv("VRIN_BUSY_TIMEOUT");
    app.ExitInstance();
}

TEST_F(AppTest, TableExistsAndFieldTexts) {
    CVRINApp app;
    ConnectApp(app);
    EXPECT_TRUE(app.TableExists(QStringLiteral("用户密码")));
    EXPECT_TRUE(app.TableExists(QStringLiteral("基本情况表")));
    EXPECT_FALSE(app.TableExists(QStringLiteral("用户")));
    EXPECT_FALSE(app.TableExists(QStringLiteral("sqlite_master")));
    app.m_pConnection->Execute(
        QStringLiteral("CREATE TABLE t (a BIT, b INT, c DATETIME, d TEXT(5))"), nullptr,
        adodb::adCmdText);
    app.m_pConnection->Execute(QStringLiteral("INSERT INTO t VALUES (TRUE, 5, #2002-12-1#, NULL)"),
                               nullptr, adodb::adCmdText);
    app.m_pConnection->Execute(QStringLiteral("INSERT INTO t VALUES (FALSE, NULL, NULL, 'x')"),
                               nullptr, adodb::adCmdText);
    adodb::RecordsetPtr rs =
        app.m_pConnection->Execute(QStringLiteral("SELECT * FROM t"), nullptr, adodb::adCmdText);
    EXPECT_EQ(app.GetFieldText(rs, QStringLiteral("a")), QStringLiteral("是"));
    EXPECT_EQ(app.GetFieldText(rs, QStringLiteral("b")), QStringLiteral("5"));
    EXPECT_EQ(app.GetFieldText(rs, QStringLiteral("c")), QStringLiteral("2002-12-01"));
    EXPECT_EQ(app.GetFieldText(rs, QStringLiteral("d")), QString());
    rs->MoveNext();
    EXPECT_EQ(app.GetFieldText(rs, QStringLiteral("a")), QStringLiteral("否"));
    EXPECT_EQ(app.GetFieldText(rs, QStringLiteral("b")), QString());
    EXPECT_THROW(app.GetFieldText(rs, QStringLiteral("nope")), adodb::ComError);
}

// A ";" in the server's address stays part of the path: start-up finds the database there.
TEST_F(AppTest, ASemicolonInTheAddressStaysInThePath) {
    MakeDatabase(ShareFolder(QStringLiteral("srv;x")));
    WriteAppFile(kServerAddressFile, "srv;x");
    CVRINApp app;
    m_dialogs.Then(LoginAs(QStringLiteral("管理员"), QStringLiteral("580347")));
    ASSERT_TRUE(app.InitInstance());
    EXPECT_EQ(app.m_strDataDir, QStringLiteral("\\\\srv;x\\VRIN\\"));
    EXPECT_TRUE(app.m_adoConnection.IsOpen());
    app.ExitInstance();
}
