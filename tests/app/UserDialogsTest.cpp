#include "AppFixture.h"

#include "app/users/DlgLogin.h"
#include "app/users/DlgModifyPassword.h"
#include "app/users/DlgSetRight2.h"
#include "app/users/Rights.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QTest>

class UserDialogsTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        ConnectApp(m_app);
        m_db = m_appDir.Path(QStringLiteral("人员档案.mdb"));
        g_nUserRight = 99;
        m_app.m_strCurrentUser = QStringLiteral("管理员");
    }
    void AddUser(const char* values) {
        ExecOn(m_db, QStringLiteral("INSERT INTO 用户密码 (用户名,密码,权限) VALUES (") +
                         QString::fromUtf8(values) + QLatin1Char(')'));
    }
    CVRINApp m_app;
    QString m_db;
};

namespace {
QComboBox* names(QDialog& d) {
    return qobject_cast<QComboBox*>(Control(d, 1067));
}
QCheckBox* box(QDialog& d, int id) {
    return qobject_cast<QCheckBox*>(Control(d, id));
}
QString boxes(QDialog& d) {
    return QStringLiteral("%1%2%3")
        .arg(box(d, 1033)->isChecked())
        .arg(box(d, 1038)->isChecked())
        .arg(box(d, 1039)->isChecked());
}
void pick(QDialog& d, int index) {
    names(d)->setCurrentIndex(index);
    emit names(d)->activated(index);
}
QStringList entries(QDialog& d) {
    QStringList list;
    for (int k = 0; k < names(d)->count(); ++k)
        list << names(d)->itemText(k);
    return list;
}
} // namespace

TEST(RightsBoxes, BoxesToValueAndBack) {
    CDlgSetRight2 dialog;
    struct Case {
        int admin, modify, query, value;
    };
    for (const Case& c : {Case{0, 0, 0, 0}, Case{0, 1, 0, 2}, Case{0, 0, 1, 4}, Case{0, 1, 1, 6},
                          Case{1, 0, 0, 99}}) {
        dialog.m_bAdmin = c.admin;
        dialog.m_bModify = c.modify;
        dialog.m_bQuery = c.query;
        dialog.BoxesToValue();
        EXPECT_EQ(dialog.m_nRight, c.value);
        if (c.admin) {
            EXPECT_TRUE(dialog.m_bModify && dialog.m_bQuery)
                << "the administrator box ticks all three";
        }
    }
    struct Back {
        int value, admin, modify, query;
    };
    for (const Back& b : {Back{99, 1, 1, 1}, Back{6, 0, 1, 1}, Back{4, 0, 0, 1}, Back{1, 1, 0, 0},
                          Back{0, 0, 0, 0}}) {
        dialog.ValueToBoxes(b.value);
        EXPECT_EQ(dialog.m_bAdmin, b.admin) << b.value;
        EXPECT_EQ(dialog.m_bModify, b.modify) << b.value;
        EXPECT_EQ(dialog.m_bQuery, b.query) << b.value;
    }
}

TEST_F(UserDialogsTest, TickingTheAdministratorTicksTheOthersAndUntickingKeepsThem) {
    AddUser("'乙','b',0");
    CDlgSetRight2 dialog;
    m_dialogs.Then([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("设置权限"));
        EXPECT_EQ(entries(d), QStringList({"管理员", "乙"}));
        EXPECT_EQ(boxes(d), QStringLiteral("111"));
        pick(d, 1);
        EXPECT_EQ(boxes(d), QStringLiteral("000"));
        Click(box(d, 1033));
        EXPECT_EQ(boxes(d), QStringLiteral("111"));
        Click(box(d, 1033));
        EXPECT_EQ(boxes(d), QStringLiteral("011"));
        Click(Control(d, IDOK)); // 修改
        Click(Control(d, IDCANCEL));
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(Users(m_db), QStringList({"管理员|580347|99||", "乙|b|6||"}));
}

TEST_F(UserDialogsTest, AddingWithOnlyQueryStoresFourAndTheDefaultPassword) {
    AddUser("'周','z',2");
    CDlgSetRight2 dialog;
    m_dialogs.Then([](QDialog& d) {
        pick(d, 1); // 周
        TypeInto(names(d), QStringLiteral("陈会计"));
        Click(box(d, 1038)); // untick 增加/删除/修改
        Click(box(d, 1039)); // tick 查询
        Click(Control(d, 1022));
        EXPECT_EQ(entries(d), QStringList({"陈会计", "管理员", "周"})) << "sorted by pinyin";
        // The kept index 1 now points at 管理员: the boxes and the name follow it.
        EXPECT_EQ(names(d)->currentText(), QStringLiteral("管理员"));
        EXPECT_EQ(boxes(d), QStringLiteral("111"));
        Click(Control(d, IDCANCEL));
    });
    dialog.DoModal();
    EXPECT_EQ(dialog.m_strRemembered, QStringLiteral("管理员"));
    EXPECT_EQ(Users(m_db).last(), QStringLiteral("陈会计|580347|4||"));
}

TEST_F(UserDialogsTest, EditingTheNameAndPressingModifyRenames) {
    AddUser("'旧名','p',2");
    CDlgSetRight2 dialog;
    m_dialogs.Then([](QDialog& d) {
        pick(d, 1);
        TypeInto(names(d), QStringLiteral("新名"));
        Click(Control(d, IDOK));
        EXPECT_EQ(entries(d), QStringList({"管理员", "新名"}));
        Click(Control(d, IDCANCEL));
    });
    dialog.DoModal();
    EXPECT_EQ(Users(m_db), QStringList({"管理员|580347|99||", "新名|p|2||"}));
}

TEST_F(UserDialogsTest, DeletingSelectsTheLastEntryWhenTheIndexRunsOut) {
    AddUser("'乙','b',4");
    AddUser("'丙','c',2");
    CDlgSetRight2 dialog;
    m_dialogs.Then([](QDialog& d) {
        EXPECT_EQ(entries(d), QStringList({"丙", "管理员", "乙"}));
        pick(d, 2);
        Click(Control(d, 1030));
        EXPECT_EQ(entries(d), QStringList({"丙", "管理员"}));
        EXPECT_EQ(names(d)->currentText(), QStringLiteral("管理员"));
        EXPECT_EQ(boxes(d), QStringLiteral("111"));
        Click(Control(d, IDCANCEL));
    });
    dialog.DoModal();
    EXPECT_EQ(Users(m_db).size(), 2);
}

TEST_F(UserDialogsTest, TheRefusalsOfTheUsersDialog) {
    AddUser("'乙','b',4");
    CDlgSetRight2 dialog;
    m_boxes.Expect(QStringLiteral("乙用户名已存在!"))
        .Expect(QStringLiteral("无名氏用户名不存在!"))
        .Expect(QStringLiteral("不能删除最后一个管理员！"))
        .Expect(QStringLiteral("不能取消最后一个管理员的管理员权限！"))
        .Expect(QStringLiteral("用户名不能为空!"))
        .Expect(QStringLiteral("用户名不能超过10个字!"))
        .Expect(QStringLiteral("乙用户名已存在!"))
        .Expect(QStringLiteral("管理员用户名不存在!"));
    m_dialogs.Then([&](QDialog& d) {
        TypeInto(names(d), QStringLiteral("乙"));
        Click(Control(d, 1022)); // add an existing name
        TypeInto(names(d), QStringLiteral("无名氏"));
        Click(Control(d, 1030)); // delete a missing name
        pick(d, 0);              // 管理员, the only administrator
        Click(Control(d, 1030));
        Click(box(d, 1033));
        Click(Control(d, IDOK));
        TypeInto(names(d), QString());
        Click(Control(d, 1022));
        TypeInto(names(d), QStringLiteral("十一个字的名字太长了啊"));
        Click(Control(d, 1022));
        pick(d, 0);
        TypeInto(names(d), QStringLiteral("乙"));
        Click(Control(d, IDOK)); // renaming onto another operator
        // Another workstation renames the remembered operator: the row is read afresh, so
        // the save finds no such operator.
        ExecOn(m_db, QStringLiteral("UPDATE 用户密码 SET 用户名='别名' WHERE 用户名='管理员'"));
        TypeInto(names(d), QStringLiteral("管理员"));
        Click(Control(d, IDOK));
        Click(Control(d, IDCANCEL));
    });
    dialog.DoModal();
    for (const auto& b : m_boxes.Boxes())
        EXPECT_EQ(b.caption, QStringLiteral("提示"));
    EXPECT_EQ(Users(m_db), QStringList({"别名|580347|99||", "乙|b|4||"}))
        << "the other change is kept";
}

TEST_F(UserDialogsTest, AnEmptyTableGetsTheAdministrator) {
    ExecOn(m_db, QStringLiteral("DELETE * FROM 用户密码"));
    CDlgSetRight2 dialog;
    m_dialogs.Then([](QDialog& d) {
        EXPECT_EQ(entries(d), QStringList{QStringLiteral("管理员")});
        EXPECT_EQ(boxes(d), QStringLiteral("111"));
        Click(Control(d, IDCANCEL));
    });
    dialog.DoModal();
    EXPECT_EQ(Users(m_db), QStringList{QStringLiteral("管理员|580347|99||")});
}

TEST_F(UserDialogsTest, OnlyTheAdministratorMaySetUsers) {
    g_nUserRight = 6;
    m_boxes.Expect(QStringLiteral("无设置权限!"));
    CDlgSetRight2 dialog;
    EXPECT_EQ(dialog.DoModal(), IDOK) << "closed through the standard OK handling, never shown";
    EXPECT_EQ(m_dialogs.Handled(), 0);
}

TEST_F(UserDialogsTest, ThePasswordChangeChecksOldNewAndConfirmation) {
    CDlgModifyPassword dialog;
    m_boxes.Expect(QStringLiteral("原密码不对!"))
        .Expect(QStringLiteral("新密码不能为空!"))
        .Expect(QStringLiteral("两次输入的新密码不一样!"))
        .Expect(QStringLiteral("新密码不能超过10个字!"));
    m_dialogs.Then([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("修改密码"));
        QWidget* old = Control(d, 1153);
        QWidget* fresh = Control(d, 1154);
        EXPECT_EQ(d.focusWidget(), old);
        auto attempt = [&](const char* o, const char* n, const char* c, QWidget* focus) {
            TypeInto(old, QString::fromUtf8(o));
            TypeInto(fresh, QString::fromUtf8(n));
            TypeInto(Control(d, 1008), QString::fromUtf8(c));
            Click(Control(d, IDOK));
            EXPECT_TRUE(d.isVisible());
            EXPECT_EQ(d.focusWidget(), focus) << o << "/" << n;
        };
        attempt("580347 ", "x", "x", old);
        attempt("580347", "", "", fresh);
        attempt("580347", "new", "nwe", fresh);
        attempt("580347", "12345678901", "12345678901", fresh);
        TypeInto(fresh, QStringLiteral("新密码"));
        TypeInto(Control(d, 1008), QStringLiteral("新密码"));
        Click(Control(d, IDOK));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(Users(m_db), QStringList{QStringLiteral("管理员|新密码|99||")});
}

TEST_F(UserDialogsTest, AnOperatorWithoutARowIsToldTheTruth) {
    m_app.m_strCurrentUser = QStringLiteral("已删除");
    CDlgModifyPassword dialog;
    m_boxes.Expect(QStringLiteral("用户表中没有操作员“已删除”，密码没有修改。"));
    m_dialogs.Then([](QDialog& d) {
        TypeInto(Control(d, 1154), QStringLiteral("abc"));
        TypeInto(Control(d, 1008), QStringLiteral("abc"));
        Click(Control(d, IDOK)); // the old password is empty, as the stored one
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    EXPECT_EQ(Users(m_db), QStringList{QStringLiteral("管理员|580347|99||")});
}

// One rule for names everywhere: trailing blanks typed or stored never make a second
// operator, and the operator can log in with or without them.
TEST_F(UserDialogsTest, TrailingBlanksNeverMakeASecondOperator) {
    for (const QString& blanks : {QStringLiteral(" "), QStringLiteral("  ")}) {
        ExecOn(m_db, QStringLiteral("DELETE * FROM 用户密码 WHERE 用户名<>'管理员'"));
        g_nUserRight = 99; // the administrator again, after the login below
        AddUser("'张三','z',2");
        AddUser("'李四','l',2");
        m_boxes.Expect(QStringLiteral("张三用户名已存在!")).Expect(QStringLiteral("张三用户名已存在!"));
        CDlgSetRight2 dialog;
        m_dialogs.Then([&](QDialog& d) {
            ASSERT_EQ(entries(d), QStringList({"管理员", "李四", "张三"}));
            TypeInto(names(d), QStringLiteral("张三") + blanks);
            Click(Control(d, 1022)); // add
            pick(d, 1);
            TypeInto(names(d), QStringLiteral("张三") + blanks);
            Click(Control(d, IDOK)); // rename 李四 onto 张三
            TypeInto(names(d), QStringLiteral("李四") + blanks);
            Click(Control(d, 1030)); // delete
            TypeInto(names(d), QStringLiteral("王五") + blanks);
            Click(Control(d, 1022)); // add (with the boxes of 张三, now selected)
            Click(Control(d, IDCANCEL));
        });
        dialog.DoModal();
        EXPECT_EQ(Users(m_db), QStringList({"管理员|580347|99||", "张三|z|2||", "王五|580347|2||"}));
        EXPECT_EQ(ValueOn(m_db, QStringLiteral("SELECT count(*) FROM 用户密码 WHERE 用户名='王五'")),
                  QStringLiteral("1"))
            << "stored without the blanks";

        CDlgLogin login;
        m_dialogs.Then(LoginAs(QStringLiteral("王五") + blanks, QStringLiteral("580347")));
        EXPECT_EQ(login.DoModal(), IDOK);
        EXPECT_EQ(m_app.m_strCurrentUser, QStringLiteral("王五"));
    }
}

// 修改 and 删除 look at the rows as they are now: an operator that another workstation
// deleted or renamed meanwhile is reported missing, and nothing of theirs is overwritten.
TEST_F(UserDialogsTest, ChangesAreCheckedAgainstTheRowsAsTheyAreNow) {
    AddUser("'张三','z',2");
    AddUser("'李四','l',2");
    m_boxes.Expect(QStringLiteral("李四用户名不存在!")).Expect(QStringLiteral("张三用户名不存在!"));
    CDlgSetRight2 dialog;
    m_dialogs.Then([&](QDialog& d) {
        pick(d, 1); // 李四
        ExecOn(m_db, QStringLiteral("DELETE * FROM 用户密码 WHERE 用户名='李四'"));
        Click(box(d, 1039));
        Click(Control(d, IDOK));
        TypeInto(names(d), QStringLiteral("张三"));
        ExecOn(m_db, QStringLiteral("UPDATE 用户密码 SET 用户名='张叁' WHERE 用户名='张三'"));
        Click(Control(d, 1030));
        Click(Control(d, IDCANCEL));
    });
    dialog.DoModal();
    EXPECT_EQ(Users(m_db), QStringList({"管理员|580347|99||", "张叁|z|2||"}));
}
