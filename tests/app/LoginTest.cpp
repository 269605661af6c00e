#include "AppFixture.h"

#include <QTest>

#include "app/users/DlgLogin.h"
#include "app/users/Rights.h"
#include "app/settings/SettingsFiles.h"
#include "platform/Gbk.h"
#include "platform/OleDateTime.h"
#include "records/ResidentCatalogue.h"
#include "widgets/TrackLookButton.h"

#include <QComboBox>
#include <QLineEdit>

class LoginTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ConnectApp(m_app);
        m_db = m_appDir.Path(kDatabaseFileName);
    }
    void AddUser(const char* values) {
        ExecOn(m_db, QStringLiteral("INSERT INTO 用户密码 (用户名,密码,权限) VALUES (") +
                         QString::fromUtf8(values) + QLatin1Char(')'));
    }
    // Runs the dialog with one action and returns its result.
    int Run(ModalDriver::Action action, const QString& server = QString()) {
        CDlgLogin dialog;
        dialog.m_strServer = server;
        m_dialogs.Then(std::move(action));
        return dialog.DoModal();
    }

    CVRINApp m_app;
    QString m_db;
};

namespace {
QComboBox* users(QDialog& d) {
    return qobject_cast<QComboBox*>(Control(d, 1000));
}
QLineEdit* password(QDialog& d) {
    return qobject_cast<QLineEdit*>(Control(d, 1001));
}
} // namespace

TEST_F(LoginTest, EachRefusalNamesTheProblemAndPutsTheFocusOnTheField) {
    AddUser("'张会计','abc',6");
    m_boxes.Expect(QStringLiteral("用户名不能为空!"))
        .Expect(QStringLiteral("无此用户!"))
        .Expect(QStringLiteral("密码错误!"))
        .Expect(QStringLiteral("无此用户!"))
        .Expect(QStringLiteral("无此用户!"))
        .Expect(QStringLiteral("密码错误!"))
        .Expect(QStringLiteral("用户名不能超过10个字!"))
        .Expect(QStringLiteral("密码不能超过10个字!"));
    EXPECT_EQ(Run([&](QDialog& d) {
                  auto attempt = [&](const QString& user, const QString& pass, QWidget* focus) {
                      TypeInto(users(d), user);
                      TypeInto(password(d), pass);
                      Click(Control(d, IDOK));
                      EXPECT_TRUE(d.isVisible()) << user.toStdString();
                      EXPECT_EQ(d.focusWidget(), focus) << user.toStdString();
                  };
                  attempt(QStringLiteral("   "), QStringLiteral("abc"), users(d));
                  attempt(QStringLiteral("李四"), QStringLiteral("abc"), users(d));
                  attempt(QStringLiteral("张会计"), QStringLiteral("abd"), password(d));
                  attempt(QStringLiteral(" 张会计"), QStringLiteral("abc"),
                          users(d)); // leading blank
                  attempt(QStringLiteral("管理員"), QStringLiteral("580347"),
                          users(d)); // another character
                  attempt(QStringLiteral("张会计"), QStringLiteral("abc "),
                          password(d)); // trailing blank in the password
                  attempt(QStringLiteral("一二三四五六七八九十一"), QStringLiteral("x"), users(d));
                  attempt(QStringLiteral("张会计"), QStringLiteral("12345678901"), password(d));
                  Click(Control(d, IDCANCEL));
              }),
              IDCANCEL);
    for (const auto& box : m_boxes.Boxes())
        EXPECT_EQ(box.caption, QStringLiteral("提示"));
    EXPECT_EQ(g_nUserRight, 0);
    EXPECT_TRUE(m_app.m_strCurrentUser.isEmpty());
    EXPECT_FALSE(m_appDir.Exists(kCurrentUserFile));
}

TEST_F(LoginTest, ANameWithTrailingBlanksMatchesAndTheRowRecordsTheLogin) {
    AddUser("'张会计','abc',6");
    EXPECT_EQ(Run([](QDialog& d) {
                  TypeInto(users(d), QStringLiteral("张会计   "));
                  TypeInto(password(d), QStringLiteral("abc"));
                  Click(Control(d, IDOK));
              }),
              IDOK);
    EXPECT_EQ(m_app.m_strCurrentUser, QStringLiteral("张会计"));
    EXPECT_EQ(g_nUserRight, 6);
    EXPECT_TRUE(MayModify() && !IsAdministrator());
    const QString today = COleDateTime::GetCurrentTime().Format(QStringLiteral("%Y-%m-%d"));
    EXPECT_EQ(Users(m_db), QStringList({"管理员|580347|99||", "张会计|abc|6|在线|" + today}));
    EXPECT_EQ(m_appDir.Read(kCurrentUserFile), ToGbk(QStringLiteral("张会计")));
}

// After a wrong password the field is empty and has the focus: typing the right one and
// Enter logs in.
TEST_F(LoginTest, AWrongPasswordIsEmptiedForTheNextTry) {
    AddUser("'张会计','abc',6");
    m_boxes.Expect(QStringLiteral("密码错误!"));
    EXPECT_EQ(Run([&](QDialog& d) {
                  TypeInto(users(d), QStringLiteral("张会计"));
                  TypeInto(password(d), QStringLiteral("abd"));
                  QTest::keyClick(password(d), Qt::Key_Return);
                  EXPECT_EQ(password(d)->text(), QString());
                  EXPECT_EQ(d.focusWidget(), password(d));
                  QTest::keyClicks(d.focusWidget(), QStringLiteral("abc"));
                  QTest::keyClick(d.focusWidget(), Qt::Key_Return);
              }),
              IDOK);
    EXPECT_EQ(g_nUserRight, 6);
}

TEST_F(LoginTest, OnlyTheFirstRowOfANameIsExamined) {
    AddUser("'重名','first',2");
    AddUser("'重名','second',4");
    m_boxes.Expect(QStringLiteral("密码错误!"));
    Run([](QDialog& d) {
        TypeInto(users(d), QStringLiteral("重名"));
        TypeInto(password(d), QStringLiteral("second"));
        Click(Control(d, IDOK));
        TypeInto(password(d), QStringLiteral("first"));
        Click(Control(d, IDOK));
    });
    EXPECT_EQ(g_nUserRight, 2);
}

TEST_F(LoginTest, RightsValuesAndEmptyFields) {
    ExecOn(m_db, QStringLiteral("INSERT INTO 用户密码 (用户名,密码) VALUES ('访客', NULL)"));
    Run([](QDialog& d) {
        TypeInto(users(d), QStringLiteral("访客"));
        Click(Control(d, IDOK));
    });
    EXPECT_EQ(m_app.m_strCurrentUser, QStringLiteral("访客"))
        << "an empty stored password takes an empty field";
    EXPECT_EQ(g_nUserRight, 0) << "an empty rights value browses only";
    EXPECT_FALSE(MayModify());
    for (int right : {0, 2, 4, 6, 99})
        EXPECT_EQ(MayModify(right), right == 2 || right == 6 || right == 99) << right;
    EXPECT_TRUE(IsAdministrator(99));
    EXPECT_FALSE(IsAdministrator(7));
}

TEST_F(LoginTest, TheLastOperatorIsPreselected) {
    AddUser("'乙','b',4");
    AddUser("'丙','c',4");
    WriteAppFile(kCurrentUserFile, ToGbk(QStringLiteral("丙")));
    Run([](QDialog& d) {
        EXPECT_EQ(users(d)->count(), 3);
        EXPECT_EQ(users(d)->currentText(), QStringLiteral("丙"));
        EXPECT_EQ(users(d)->itemText(0), QStringLiteral("管理员")) << "table order, blanks removed";
        Click(Control(d, IDCANCEL));
    });
    WriteAppFile(kCurrentUserFile, ToGbk(QStringLiteral("早已删除")));
    Run([](QDialog& d) {
        EXPECT_EQ(users(d)->currentText(), QStringLiteral("管理员"));
        Click(Control(d, IDCANCEL));
    });
}

TEST_F(LoginTest, AnEmptyUserTableKnowsNobody) {
    ExecOn(m_db, QStringLiteral("DELETE * FROM 用户密码"));
    m_boxes.Expect(QStringLiteral("无此用户!"));
    Run([](QDialog& d) {
        EXPECT_EQ(users(d)->count(), 0);
        TypeInto(users(d), QStringLiteral("管理员"));
        TypeInto(password(d), QStringLiteral("580347"));
        Click(Control(d, IDOK));
        Click(Control(d, IDCANCEL));
    });
}

TEST_F(LoginTest, TheDialogLooksAsItShould) {
    Run([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("登录"));
        EXPECT_EQ(d.palette().color(QPalette::Window), QColor(201, 201, 201));
        EXPECT_NE(users(d)->palette().color(QPalette::Base), QColor(201, 201, 201));
        EXPECT_EQ(password(d)->echoMode(), QLineEdit::Password);
        EXPECT_FALSE(Control(d, 1002)->isEnabled());
        auto* ok = qobject_cast<CTrackLookButton*>(Control(d, IDOK));
        ASSERT_TRUE(ok);
        EXPECT_EQ(ok->GetAlignment(), 1);
        EXPECT_EQ(ok->text(), QStringLiteral("登录"));
        EXPECT_EQ(qobject_cast<CTrackLookButton*>(Control(d, IDCANCEL))->text(),
                  QStringLiteral("取消"));
        Click(Control(d, IDCANCEL));
    });
    Run(
        [](QDialog& d) {
            EXPECT_TRUE(Control(d, 1002)->isEnabled());
            Click(Control(d, IDCANCEL));
        },
        QStringLiteral("192.168.1.5"));
}

TEST_F(LoginTest, ADatabaseErrorDuringTheLoginIsShownAndNobodyIsLoggedIn) {
    qputenv("VRIN_BUSY_TIMEOUT", "20");
    CDlgLogin dialog;
    m_dialogs.Then([&](QDialog& d) {
        // Another workstation holds the file while the row is saved.
        adodb::ConnectionPtr other = adodb::Connection::Create();
        other->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + m_db,
                    QString(), QString(), -1);
        other->BeginTrans();
        other->Execute(QStringLiteral("UPDATE 基本情况表 SET 年龄=1"), nullptr, adodb::adCmdText);
        m_boxes.Answer(IDOK);
        TypeInto(users(d), QStringLiteral("管理员"));
        TypeInto(password(d), QStringLiteral("580347"));
        Click(Control(d, IDOK));
        EXPECT_TRUE(d.isVisible());
        other->RollbackTrans();
        Click(Control(d, IDOK));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    ASSERT_GE(m_boxes.Boxes().size(), 1u);
    EXPECT_TRUE(m_boxes.Boxes()[0].text.startsWith(QStringLiteral("登录时访问数据库出错：")));
    EXPECT_TRUE(m_boxes.Boxes()[0].text.contains(QStringLiteral("锁定")));
    EXPECT_EQ(g_nUserRight, 99) << "the second try went through";
    qunsetenv("VRIN_BUSY_TIMEOUT");
}
