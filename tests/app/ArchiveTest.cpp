#include "AppFixture.h"

#include "ResidentDatabase.h"
#include "app/archive/DlgGJRY.h"
#include "app/archive/QueryPicking.h"
#include "app/settings/SettingsFiles.h"
#include "app/users/Rights.h"
#include "grid/AdoGridCtrl.h"
#include "platform/Gbk.h"
#include "platform/TextFile.h"
#include "records/ResidentCatalogue.h"
#include "widgets/XTreeCtrl.h"

#include <QApplication>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPlainTextEdit>
#include <QTest>

class ArchiveTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        m_db = OpenDemoArchive(m_app, 200, 7);
    }
    // Opens the window and runs the action on it once the list is filled.
    void Run(std::function<void(CDlgGJRY&)> action) {
        CDlgGJRY window;
        RunArchive(window, action);
    }
    // The counts of the title, computed with SQL of their own.
    QString CountsBySql(const QString& where) {
        const QString living =
            QStringLiteral("(注销 IS NULL OR 注销='' OR 注销='未注销')") + where;
        const QString women = ValueOn(m_db, QStringLiteral("SELECT count(*) FROM 基本情况表 WHERE ") +
                                                 living + QStringLiteral(" AND 性别 LIKE '%女%'"));
        const QString all = ValueOn(m_db, QStringLiteral("SELECT count(*) FROM 基本情况表 WHERE ") + living);
        const QString households =
            ValueOn(m_db, QStringLiteral("SELECT count(*) FROM (SELECT DISTINCT 户口簿编号 FROM "
                                         "基本情况表 WHERE ") +
                              living + QStringLiteral(")"));
        return QStringLiteral("(%1户 %2人 男:%3人 女:%4人)")
            .arg(households, all)
            .arg(all.toInt() - women.toInt())
            .arg(women);
    }
    static QTreeWidgetItem* findUnit(CDlgGJRY& w, const QString& name) {
        auto found = w.Tree()->findItems(name, Qt::MatchExactly | Qt::MatchRecursive);
        return found.isEmpty() ? nullptr : found.first();
    }
    static QString title(CDlgGJRY& w) {
        return static_cast<QLabel*>(w.GetDlgItem(1057))->text();
    }
    CVRINApp m_app;
    QString m_db;
};

TEST_F(ArchiveTest, TheFirstFillListsEverybodyWithTheCounts) {
    Run([&](CDlgGJRY& w) {
        EXPECT_EQ(w.windowTitle(), QStringLiteral("人员档案"));
        EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
        EXPECT_EQ(w.Grid()->GetItemCount(), 200);
        EXPECT_EQ(title(w), CountsBySql(QString()));
        EXPECT_EQ(w.m_nAgeTo, 100);
        EXPECT_EQ(w.RootItem()->text(0), QStringLiteral("红星村"));
        EXPECT_TRUE(w.Tree()->isExpanded(w.Tree()->model()->index(0, 0)));
        EXPECT_TRUE(w.GetDlgItem(1022)->isVisibleTo(&w));
    });
}

TEST_F(ArchiveTest, SelectingAUnitListsItsResidentsAndSubUnits) {
    Run([&](CDlgGJRY& w) {
        QTreeWidgetItem* east = findUnit(w, QStringLiteral("东院"));
        ASSERT_TRUE(east);
        EXPECT_EQ(w.GetUnitPath(east), QStringLiteral("第一村民组东院"));
        w.Tree()->setCurrentItem(east);
        const QString where = QStringLiteral(" AND 工作单位 LIKE '第一村民组东院%'");
        EXPECT_EQ(QString::number(w.Grid()->GetItemCount()),
                  ValueOn(m_db, QStringLiteral("SELECT count(*) FROM 基本情况表 WHERE 工作单位 LIKE "
                                               "'第一村民组东院%'")));
        EXPECT_EQ(title(w), QStringLiteral("第一村民组东院") + CountsBySql(where));
        EXPECT_EQ(w.Grid()->GetQuery(),
                  QStringLiteral("SELECT * FROM 基本情况表 WHERE (工作单位 LIKE '第一村民组东院%') "));

        QTreeWidgetItem* group = findUnit(w, QStringLiteral("第一村民组"));
        w.Tree()->setCurrentItem(group);
        EXPECT_EQ(QString::number(w.Grid()->GetItemCount()),
                  ValueOn(m_db, QStringLiteral("SELECT count(*) FROM 基本情况表 WHERE 工作单位 LIKE "
                                               "'第一村民组%'")))
            << "the group's own residents and those of its courtyards";
        w.Tree()->setCurrentItem(w.RootItem());
        EXPECT_EQ(w.Grid()->GetItemCount(), 200);
        EXPECT_EQ(title(w), CountsBySql(QString())) << "the root: the counts alone";
    });
}

// Cancelled residents are listed but not counted, an empty sex counts as a man, and an
// empty household number is one household; a unit name with a quote or a wildcard matches
// itself only.
TEST_F(ArchiveTest, CountsAndOddUnitNames) {
    ExecOn(m_db, QStringLiteral("DELETE * FROM 基本情况表"));
    const char* rows[] = {
        "'甲','男','未注销','H1','O''Neil%组'",   "'乙','女','','H1','O''Neil%组'",
        "'丙',NULL,NULL,NULL,'O''Neil%组'",       "'丁','女','迁出','H2','O''Neil%组'",
        "'戊','女',NULL,'H3','O''Neil甲组'",
    };
    for (const char* r : rows)
        ExecOn(m_db, QStringLiteral("INSERT INTO 基本情况表 (姓名,性别,注销,户口簿编号,工作单位) VALUES (") +
                         QString::fromUtf8(r) + QLatin1Char(')'));
    WriteTextFileAtomic(m_appDir.Path(kUnitFile), QStringLiteral("村\r\n O'Neil%组\r\n O'Neil甲组"));
    Run([&](CDlgGJRY& w) {
        EXPECT_EQ(title(w), QStringLiteral("(3户 4人 男:2人 女:2人)"));
        w.Tree()->setCurrentItem(findUnit(w, QStringLiteral("O'Neil%组")));
        EXPECT_EQ(w.Grid()->GetItemCount(), 4) << "the % is no wildcard";
        EXPECT_EQ(title(w), QStringLiteral("O'Neil%组(2户 3人 男:2人 女:1人)"));
    });
    ExecOn(m_db, QStringLiteral("DELETE * FROM 基本情况表"));
    Run([&](CDlgGJRY& w) { EXPECT_EQ(title(w), QString()) << "an empty list: no counts"; });
}

TEST(QueryPicking, TheCommaRule) {
    QString q;
    for (const char* cell : {"X", "Y", "Z"})
        q = PickIntoQuery(q, QString::fromUtf8(cell));
    EXPECT_EQ(q, QStringLiteral("Y,Z"));
    EXPECT_EQ(PickIntoQuery(QStringLiteral("X,Y"), QString()), QStringLiteral("Y"));
    EXPECT_EQ(PickIntoQuery(QStringLiteral(",,"), QStringLiteral("A")), QStringLiteral("A"));
}

TEST_F(ArchiveTest, ClickingTheListPicksCellsAndEnablesDelete) {
    Run([&](CDlgGJRY& w) {
        CAdoGridCtrl* grid = w.Grid();
        w.show();
        const QRect name = grid->visualRect(grid->model()->index(0, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, name.center());
        EXPECT_TRUE(w.GetDlgItem(1030)->isEnabled());
        EXPECT_EQ(w.m_nSelectedRow, 0);
        const QString first = grid->GetItemText(0, 2);
        EXPECT_EQ(qobject_cast<QLineEdit*>(w.GetDlgItem(1004))->text(), first);
        const QRect second = grid->visualRect(grid->model()->index(1, 2));
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier, second.center());
        EXPECT_EQ(w.m_strQueryText, first + QLatin1Char(',') + grid->GetItemText(1, 2));
    });
}

// A click below the last row chooses no row: 删除 and 详细情况 then have nobody to act on.
TEST_F(ArchiveTest, AClickBesideTheRowsChoosesNoRow) {
    ExecOn(m_db, QStringLiteral("DELETE * FROM 基本情况表 WHERE 编号>3"));
    m_boxes.Expect(QStringLiteral("请选择要删除的行！")).Expect(QStringLiteral("请选中一个人！"));
    Run([&](CDlgGJRY& w) {
        w.show();
        CAdoGridCtrl* grid = w.Grid();
        ASSERT_EQ(grid->GetItemCount(), 3);
        for (int row : {0, 1})
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::NoModifier,
                              grid->visualRect(grid->model()->index(row, 2)).center());
        EXPECT_EQ(w.m_nSelectedRow, 1);
        const QRect last = grid->visualRect(grid->model()->index(2, 2));
        const QPoint below(last.center().x(), last.bottom() + 40);
        ASSERT_LT(below.y(), grid->viewport()->height());
        QTest::mousePress(grid->viewport(), Qt::LeftButton, Qt::NoModifier, below);
        QTest::mouseRelease(grid->viewport(), Qt::LeftButton, Qt::NoModifier, below);
        EXPECT_FALSE(grid->IsItemSelected(1));
        EXPECT_EQ(w.m_nSelectedRow, -1);
        w.OnDeleteRow();
        w.OnShowDetails();
        EXPECT_EQ(grid->GetItemCount(), 3);
    });
}

// The arrows move in the list; Tab and Shift+Tab leave it for the next and previous control.
TEST_F(ArchiveTest, TabLeavesTheList) {
    Run([&](CDlgGJRY& w) {
        w.show();
        QApplication::setActiveWindow(&w);
        CAdoGridCtrl* grid = w.Grid();
        grid->setFocus(Qt::TabFocusReason);
        grid->setCurrentIndex(grid->model()->index(0, 2));
        QTest::keyClick(grid, Qt::Key_Down);
        EXPECT_EQ(grid->currentIndex().row(), 1);
        EXPECT_TRUE(grid->hasFocus());
        QTest::keyClick(grid, Qt::Key_Tab);
        EXPECT_FALSE(grid->hasFocus());
        EXPECT_TRUE(w.isAncestorOf(QApplication::focusWidget()));
        grid->setFocus(Qt::TabFocusReason);
        QTest::keyClick(grid, Qt::Key_Backtab, Qt::ShiftModifier);
        EXPECT_FALSE(grid->hasFocus());
        EXPECT_TRUE(w.isAncestorOf(QApplication::focusWidget()));
    });
}

TEST_F(ArchiveTest, IntegerEditsAreChecked) {
    m_boxes.Expect(QStringLiteral("请输入一个整数。")).Expect(QStringLiteral("请输入一个在 1 和 12 之间的整数。"));
    Run([&](CDlgGJRY& w) {
        auto* day = qobject_cast<QLineEdit*>(w.GetDlgItem(1041));
        day->setText(QStringLiteral("1a"));
        EXPECT_FALSE(w.UpdateData(true));
        day->setText(QStringLiteral("5"));
        qobject_cast<QLineEdit*>(w.GetDlgItem(1043))->setText(QStringLiteral("13"));
        EXPECT_FALSE(w.UpdateData(true));
        EXPECT_EQ(w.m_nDayFrom, 5);
        EXPECT_EQ(w.m_nMonthTo, 12) << "the refused value is not taken";
    });
}

TEST_F(ArchiveTest, OnlyModifiersSeeTheEditButtonsAndOnlyTheAdministratorEditsUnits) {
    g_nUserRight = 4;
    Run([&](CDlgGJRY& w) {
        for (int id : {1022, 1030, 1015, 1071, 1023})
            EXPECT_FALSE(w.GetDlgItem(id)->isVisibleTo(&w)) << id;
    });
    g_nUserRight = 2;
    m_boxes.Expect(QStringLiteral("只有管理员才有此权限！"));
    Run([&](CDlgGJRY& w) { w.OnEditUnits(); });
    g_nUserRight = 4;
    ExecOn(m_db, QStringLiteral("UPDATE 基本情况表 SET 年龄=NULL"));
    m_boxes.Expect(QStringLiteral("无此操作权限!")).Expect(QStringLiteral("无此操作权限!"));
    Run([&](CDlgGJRY& w) {
        w.OnDeleteAll(); // checked again when pressed
        EXPECT_EQ(w.Grid()->GetItemCount(), 200);
        w.OnRecomputeAges();
    });
    EXPECT_EQ(ValueOn(m_db, QStringLiteral("SELECT count(年龄) FROM 基本情况表")), QStringLiteral("0"))
        << "no age written";
}

// The editor writes the file; the tree follows at once, the list stays as it was.
TEST_F(ArchiveTest, EditingTheUnitsReloadsTheTree) {
    Run([&](CDlgGJRY& w) {
        const int listed = w.Grid()->GetItemCount();
        m_dialogs.Then([](QDialog& editor) {
            EXPECT_EQ(editor.windowTitle(), QStringLiteral("设置单位"));
            auto* text = qobject_cast<QPlainTextEdit*>(Control(editor, 1004));
            EXPECT_TRUE(text->hasFocus() || QApplication::focusWidget() == text);
            EXPECT_TRUE(text->toPlainText().startsWith(QStringLiteral("红星村\n 第一村民组")));
            text->setPlainText(QStringLiteral("新村\n 甲组\n  一院"));
            auto* preview = qobject_cast<CXTreeCtrl*>(Control(editor, 1000));
            // The preview follows within its interval.
            EXPECT_TRUE(QTest::qWaitFor([&] { return preview->topLevelItem(0)->text(0) == QStringLiteral("新村"); }));
            Click(Control(editor, IDOK));
        });
        w.OnEditUnits();
        EXPECT_EQ(m_appDir.Read(kUnitFile), ToGbk(QStringLiteral("新村\r\n 甲组\r\n  一院")));
        EXPECT_EQ(w.RootItem()->text(0), QStringLiteral("新村"));
        EXPECT_EQ(w.Grid()->GetItemCount(), listed);
    });
}

// A file too large to edit is refused with its size; nothing is written.
TEST_F(ArchiveTest, AUnitFileOver4MBIsNotOpenedForEditing) {
    const QByteArray big = ToGbk(QStringLiteral("红星村\r\n 一组\r\n")) + QByteArray(4 * 1024 * 1024, ' ');
    m_appDir.Write(kUnitFile, big);
    m_boxes.OnNextBox([](const ScriptedResponder::Box& box) {
        EXPECT_TRUE(box.text.contains(QStringLiteral("有 4.00 MB"))) << box.text.toStdString();
        EXPECT_TRUE(box.text.contains(QStringLiteral("超过了 4 MB"))) << box.text.toStdString();
    });
    m_boxes.Answer(IDOK);
    Run([&](CDlgGJRY& w) { w.OnEditUnits(); });
    EXPECT_EQ(m_appDir.Read(kUnitFile), big);
}

TEST_F(ArchiveTest, AnEditorThatCannotSaveSaysSoAndStaysOpen) {
    m_app.m_strDataDir = m_appDir.Folder() + QStringLiteral("missing/");
    m_boxes.Answer(IDOK);
    Run([&](CDlgGJRY& w) {
        m_dialogs.Then([](QDialog& editor) {
            qobject_cast<QPlainTextEdit*>(Control(editor, 1004))->setPlainText(QStringLiteral("R"));
            Click(Control(editor, IDOK));
            EXPECT_TRUE(editor.isVisible()) << "still open after the failed save";
            Click(Control(editor, IDCANCEL));
        });
        w.OnEditUnits();
    });
    EXPECT_TRUE(m_boxes.Boxes().back().text.startsWith(QStringLiteral("无法保存单位划分文件")));
}

// A drag moves units in the tree only: when it ends the tree follows the file again, the
// list's unit is selected again, and the window follows the selection again.
TEST_F(ArchiveTest, AfterADragTheTreeFollowsTheFileAgain) {
    Run([&](CDlgGJRY& w) {
        w.show();
        CXTreeCtrl* tree = w.Tree();
        QTreeWidgetItem* east = findUnit(w, QStringLiteral("东院"));
        tree->setCurrentItem(east);
        QTreeWidgetItem* front = findUnit(w, QStringLiteral("前街"));
        const QPoint from = tree->visualItemRect(east).center();
        const QPoint to = tree->visualItemRect(front).center();
        auto send = [&](QEvent::Type type, QPoint at, Qt::MouseButton b, Qt::MouseButtons bs) {
            QMouseEvent e(type, at, tree->viewport()->mapToGlobal(at), b, bs, Qt::NoModifier);
            QApplication::sendEvent(tree->viewport(), &e);
        };
        send(QEvent::MouseButtonPress, from, Qt::LeftButton, Qt::LeftButton);
        QTest::qWait(210);
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        EXPECT_EQ(w.m_bDragFlag, 1);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
        EXPECT_EQ(w.m_bDragFlag, 0);
        EXPECT_EQ(w.GetUnitPath(tree->currentItem()), QStringLiteral("第一村民组东院"));
        EXPECT_EQ(findUnit(w, QStringLiteral("东院"))->parent()->text(0), QStringLiteral("第一村民组"))
            << "the file has not changed, and neither has the tree";
        tree->setCurrentItem(findUnit(w, QStringLiteral("村委会")));
        EXPECT_EQ(w.m_strSelectedUnitPath, QStringLiteral("村委会"));
    });
}

// A click on the unit already chosen runs its query again, so the list shows what another
// workstation added meanwhile.
TEST_F(ArchiveTest, AClickOnTheChosenUnitRunsItsQueryAgain) {
    Run([&](CDlgGJRY& w) {
        w.show();
        CXTreeCtrl* tree = w.Tree();
        QTreeWidgetItem* east = findUnit(w, QStringLiteral("东院"));
        const QPoint at = tree->visualItemRect(east).center();
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        ASSERT_EQ(tree->currentItem(), east);
        const int before = w.Grid()->GetItemCount();
        ExecOn(m_db, QStringLiteral("INSERT INTO 基本情况表 (姓名,工作单位) VALUES ('新人','第一村民组东院')"));
        QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, at);
        EXPECT_EQ(w.Grid()->GetItemCount(), before + 1);
    });
}

// "增加" files a new resident under the chosen unit; "详细情况" opens the chosen one.
TEST_F(ArchiveTest, AddingAndOpeningResidents) {
    m_boxes.Expect(QStringLiteral("请选择一个单位!")).Expect(QStringLiteral("请选中一个人！"));
    Run([&](CDlgGJRY& w) {
        w.OnAddResident(); // the root: no unit
        w.OnShowDetails(); // no row chosen
        w.Tree()->setCurrentItem(findUnit(w, QStringLiteral("东院")));
        const int before = w.Grid()->GetItemCount();
        m_dialogs.Then([](QDialog& form) {
            EXPECT_EQ(qobject_cast<QLineEdit*>(Control(form, 1001))->text(), QStringLiteral("第一村民组东院"));
            qobject_cast<QLineEdit*>(Control(form, 1002))->setText(QStringLiteral("新来的"));
            Click(Control(form, IDOK));
            Click(Control(form, IDCANCEL));
        });
        w.OnAddResident();
        EXPECT_EQ(w.Grid()->GetItemCount(), before + 1);
        w.m_nSelectedRow = 2;
        const QString name = w.Grid()->GetItemText(2, 2);
        m_dialogs.Then([&](QDialog& form) {
            EXPECT_EQ(qobject_cast<QLineEdit*>(Control(form, 1002))->text(), name);
            Click(Control(form, IDCANCEL));
        });
        w.OnShowDetails();
        w.m_nSelectedRow = 100000; // beyond the list: nothing
        w.OnShowDetails();
    });
    EXPECT_EQ(ValueOn(m_db, QStringLiteral("SELECT 工作单位 FROM 基本情况表 WHERE 姓名='新来的'")),
              QStringLiteral("第一村民组东院"));
}
