#include "AppFixture.h"

#include "ResidentDatabase.h"
#include "adodb/ConnectionString.h"
#include "app/archive/ArchiveQueries.h"
#include "app/archive/DlgGJRY.h"
#include "app/users/Rights.h"
#include "grid/AdoGridCtrl.h"
#include "grid/AdoHeaderCtrl.h"
#include "grid/GridCommands.h"
#include "platform/Clock.h"
#include "records/ResidentCatalogue.h"
#include "widgets/BusyCursor.h"
#include "widgets/XTreeCtrl.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QRadioButton>

#include <sqlite3.h>

// A few residents whose cells the queries look at.
class ArchiveQueriesTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        m_db = OpenDemoArchive(m_app, 0, 1);
        WriteAppFile(QStringLiteral("单位划分.txt"), QByteArray("R\r\n \xD2\xBB\xD7\xE9\r\n \xB6\xFE\xD7\xE9")); // R, 一组, 二组
    }
    void TearDown() override {
        SetCurrentYear(0);
        AppTest::TearDown();
    }
    void Add(const QString& columns, const QString& values) {
        ExecOn(m_db, QStringLiteral("INSERT INTO 基本情况表 (%1) VALUES (%2)").arg(columns, values));
    }
    void Run(std::function<void(CDlgGJRY&)> action) {
        CDlgGJRY window;
        RunArchive(window, action);
    }
    static QStringList Names(CDlgGJRY& w) {
        QStringList names;
        int column = -1;
        for (int c = 1; c < w.Grid()->GetColumnCount(); ++c)
            if (w.Grid()->GetHeadingText(c) == QStringLiteral("姓名"))
                column = c;
        for (int r = 0; r < w.Grid()->GetItemCount(); ++r)
            names << w.Grid()->GetItemText(r, column);
        names.sort();
        return names;
    }
    static void Query(CDlgGJRY& w, const QString& text) {
        qobject_cast<QLineEdit*>(w.GetDlgItem(1004))->setText(text);
        w.OnFuzzyQuery();
    }
    CVRINApp m_app;
    QString m_db;
};

TEST(FuzzyTerms, SeparatorsAndModes) {
    struct Case {
        const char* text;
        int mode;
        const char* first;
        const char* second;
    };
    for (const Case& c : {Case{"A", 0, "A", ""}, Case{"A,B", 1, "A", "B"}, Case{"A，B", 1, "A", "B"},
                          Case{"A;B", 2, "A", "B"}, Case{"A；B", 2, "A", "B"}, Case{"A,,B", 2, "A", "B"},
                          Case{"A,B,C", 1, "A", "B,C"}, Case{"A,", 1, "A", ""}, Case{",,A", 2, "", "A"},
                          Case{"A,B;C", 2, "A,B", "C"}}) {
        FuzzyTerms t = ParseFuzzyText(QString::fromUtf8(c.text));
        EXPECT_EQ(t.mode, c.mode) << c.text;
        EXPECT_EQ(t.first, QString::fromUtf8(c.first)) << c.text;
        EXPECT_EQ(t.second, QString::fromUtf8(c.second)) << c.text;
    }
    // Whole characters: 人 (C8CB) and 巳 (CBC8) share no bytes across two characters.
    EXPECT_FALSE(RowMatches({QStringLiteral("人人")}, ParseFuzzyText(QStringLiteral("巳"))));
    EXPECT_FALSE(RowMatches({QString(), QString()}, ParseFuzzyText(QString())))
        << "empty cells never match";
    EXPECT_TRUE(RowMatches({QStringLiteral("a"), QStringLiteral("b")}, ParseFuzzyText(QStringLiteral("a,b"))));
}

TEST_F(ArchiveQueriesTest, TheFuzzyQueryByTermsAndAges) {
    const QString cols = QStringLiteral("姓名,职业,年龄,工作单位,显示");
    Add(cols, QStringLiteral("'A1','B1',30,'一组','否'"));
    Add(cols, QStringLiteral("'A2',NULL,NULL,'一组','否'"));
    Add(cols, QStringLiteral("'X','B2',60,'二组','是'")); // 是 from an earlier query
    Add(cols, QStringLiteral("'C','''%_',18,'二组','否'"));
    struct Case {
        const char* text;
        bool ages;
        const char* names;
    };
    const Case cases[] = {
        {"A", false, "A1,A2"},          {"A,B", false, "A1"},  {"A，B", false, "A1"},
        {"A;B", false, "A1,A2,X"},      {"A,,B", false, "A1,A2,X"},
        {"A,B,C", false, ""},           {"A,", false, "A1,A2"}, {"'%_", false, "C"},
        {"", true, "A1,C,X"},           {"A", true, "A1"}, // null age is 0: out of 18..60
    };
    Run([&](CDlgGJRY& w) {
        qobject_cast<QRadioButton*>(w.GetDlgItem(1048))->setChecked(true); // 慢
        qobject_cast<QLineEdit*>(w.GetDlgItem(1034))->setText(QStringLiteral("18"));
        qobject_cast<QLineEdit*>(w.GetDlgItem(1035))->setText(QStringLiteral("60"));
        for (const Case& c : cases) {
            qobject_cast<QCheckBox*>(w.GetDlgItem(1033))->setChecked(c.ages);
            Query(w, QString::fromUtf8(c.text));
            EXPECT_EQ(Names(w).join(QLatin1Char(',')), QString::fromUtf8(c.names)) << c.text;
        }
        const QString title = qobject_cast<QLabel*>(w.GetDlgItem(1057))->text();
        qobject_cast<QCheckBox*>(w.GetDlgItem(1033))->setChecked(false);
        Query(w, QString());
        EXPECT_EQ(Names(w).size(), 4) << "empty text, no ranges: everybody";
        EXPECT_EQ(qobject_cast<QLabel*>(w.GetDlgItem(1057))->text(), title) << "the title stays";
    });
}

// "快" examines the list as it is: a unit's residents; nobody outside it comes back with
// an earlier 是, and rows that left the list are paired by key, not position.
TEST_F(ArchiveQueriesTest, FastExaminesTheListByKey) {
    const QString cols = QStringLiteral("姓名,工作单位,显示");
    Add(cols, QStringLiteral("'甲','一组','否'"));
    Add(cols, QStringLiteral("'乙','一组','否'"));
    Add(cols, QStringLiteral("'甲','二组','是'"));
    Run([&](CDlgGJRY& w) {
        w.Tree()->setCurrentItem(w.Tree()->findItems(QStringLiteral("一组"), Qt::MatchRecursive).value(0));
        ASSERT_EQ(w.Grid()->GetItemCount(), 2);
        w.Grid()->RemoveRow(w.Grid()->GetItemData(0)); // 甲 of 一组 leaves the list
        Query(w, QStringLiteral("乙"));
        EXPECT_EQ(Names(w), QStringList{QStringLiteral("乙")});
        EXPECT_EQ(ValueOn(m_db, QStringLiteral("SELECT 显示 FROM 基本情况表 WHERE 工作单位='二组'")),
                  QStringLiteral("否"));
    });
}

TEST_F(ArchiveQueriesTest, DateRangesAreCheckedFirst) {
    Add(QStringLiteral("姓名,死亡日期,出生日期"), QStringLiteral("'甲',#1990-5-5#,#1950-1-1#"));
    Add(QStringLiteral("姓名,死亡日期,出生日期"), QStringLiteral("'乙',NULL,#1985-1-1#"));
    m_boxes.Expect(QStringLiteral("起始日期 2010-2-31 不是有效的日期。"))
        .Expect(QStringLiteral("“姓名”不是日期字段，请从列表中选择一个日期字段。"));
    Run([&](CDlgGJRY& w) {
        qobject_cast<QCheckBox*>(w.GetDlgItem(1038))->setChecked(true);
        auto* column = qobject_cast<QComboBox*>(w.GetDlgItem(1045));
        column->setCurrentText(QStringLiteral("死亡日期"));
        Query(w, QString());

        EXPECT_EQ(Names(w), QStringList{QStringLiteral("甲")}) << w.Grid()->GetQuery().toStdString();
        qobject_cast<QLineEdit*>(w.GetDlgItem(1039))->setText(QStringLiteral("2010"));
        qobject_cast<QLineEdit*>(w.GetDlgItem(1040))->setText(QStringLiteral("2"));
        qobject_cast<QLineEdit*>(w.GetDlgItem(1041))->setText(QStringLiteral("31"));
        Query(w, QString());
        qobject_cast<QLineEdit*>(w.GetDlgItem(1041))->setText(QStringLiteral("1"));
        column->setCurrentText(QStringLiteral("姓名"));
        Query(w, QString());
        EXPECT_EQ(Names(w), QStringList{QStringLiteral("甲")}) << "the list as it was";
    });
}

TEST(ExactQuery, ClausesInOrderEscapedAndWhole) {
    QHash<QString, QString> form;
    auto value = [&](const QString& c) { return form.value(c); };
    EXPECT_EQ(ExactQuery(value, 0), QStringLiteral("Select * From 基本情况表 Where TRUE "));
    form[QStringLiteral("姓名")] = QStringLiteral("O'张");
    form[QStringLiteral("何地迁来本址")] = QStringLiteral("x");
    EXPECT_EQ(ExactQuery(value, 3), QStringLiteral("Select * From 基本情况表 Where TRUE  AND 姓名 LIKE "
                                                   "'O''张%' AND 家庭人口=3AND 何地迁来本址='x'"));
    form[QStringLiteral("备注2")] = QString(6000, QChar(0x4E00));
    EXPECT_GT(ExactQuery(value, 0).size(), 6000) << "never cut";
}

TEST_F(ArchiveQueriesTest, TheExactQueryThroughTheForm) {
    const QString cols = QStringLiteral("姓名,家庭人口,何地迁来本址,年龄");
    Add(cols, QStringLiteral("'O''张三',3,'北京',30"));
    Add(cols, QStringLiteral("'O''张四',3,'上海',30"));
    Add(cols, QStringLiteral("'李四',3,'北京',70"));
    Run([&](CDlgGJRY& w) {
        m_dialogs.Then([](QDialog& form) {
            TypeInto(Control(form, 1002), QStringLiteral("O'张"));
            TypeInto(Control(form, 1060), QStringLiteral("3"));
            TypeInto(Control(form, 1028), QStringLiteral("北京"));
            Click(Control(form, IDOK));
        });
        w.OnExactQuery();
        EXPECT_EQ(Names(w), QStringList{QStringLiteral("O'张三")});
        m_dialogs.Then([](QDialog& form) { Click(Control(form, IDCANCEL)); });
        w.OnExactQuery();
        EXPECT_EQ(Names(w), QStringList{QStringLiteral("O'张三")}) << "cancelled: the list stays";
        qobject_cast<QCheckBox*>(w.GetDlgItem(1033))->setChecked(true);
        qobject_cast<QLineEdit*>(w.GetDlgItem(1035))->setText(QStringLiteral("60"));
        m_dialogs.Then([](QDialog& form) { Click(Control(form, IDOK)); });
        w.OnExactQuery();
        EXPECT_EQ(Names(w), (QStringList{QStringLiteral("O'张三"), QStringLiteral("O'张四")}))
            << "nothing filled in: everybody within the age range";
    });
}

TEST(DuplicateNames, TheRule) {
    auto kept = [](const QStringList& names) {
        QStringList out;
        const std::vector<bool> keep = DuplicateNameRows(names);
        for (qsizetype i = 0; i < names.size(); ++i)
            if (keep[static_cast<size_t>(i)])
                out << names[i];
        return out.join(QLatin1Char(' '));
    };
    EXPECT_EQ(kept({"A", "A", "B", "C", "C", "C", "D"}), QStringLiteral("A A C C C"));
    EXPECT_EQ(kept({"A"}), QStringLiteral("A"));
    EXPECT_EQ(kept({"", "", "A", "B"}), QString());
}

TEST_F(ArchiveQueriesTest, DuplicateNamesAlsoWithTheNameColumnHidden) {
    for (const char* n : {"丁", "甲", "乙", "甲", "丙", "丙", "丙"})
        Add(QStringLiteral("姓名"), QStringLiteral("'%1'").arg(QString::fromUtf8(n)));
    Run([&](CDlgGJRY& w) {
        const QString query = w.Grid()->GetQuery();
        w.OnFindDuplicateNames();
        EXPECT_EQ(Names(w), (QStringList{"丙", "丙", "丙", "甲", "甲"}));
        QStringList numbers;
        for (int r = 0; r < w.Grid()->GetItemCount(); ++r)
            numbers << w.Grid()->GetItemText(r, 0);
        EXPECT_EQ(numbers.join(QLatin1Char(',')), QStringLiteral("1,2,3,4,5"));
        EXPECT_EQ(w.m_strCurrentQuery, QString()) << "the current query is not changed";
        // The layout without 姓名: the names come from the records.
        for (int c = 1; c < w.Grid()->GetColumnCount(); ++c)
            if (w.Grid()->GetHeadingText(c) == QStringLiteral("姓名"))
                w.Grid()->Header()->m_nMenuColumn = c;
        w.Grid()->OnCommand(ID_HDR_HIDECOLUMN, 0);
        w.OnFindDuplicateNames();
        EXPECT_EQ(w.Grid()->GetItemCount(), 5);
        (void)query;
    });
}

TEST_F(ArchiveQueriesTest, AgesInAFixedYear) {
    SetCurrentYear(2012);
    const QString cols = QStringLiteral("姓名,出生日期,年龄");
    Add(cols, QStringLiteral("'甲',#1980-6-1#,1"));
    Add(cols, QStringLiteral("'乙',#2012-12-31#,5"));
    Add(cols, QStringLiteral("'丙',NULL,7"));
    Add(cols, QStringLiteral("'丁',#1899-12-30#,127")); // the empty date
    Run([&](CDlgGJRY& w) { w.OnRecomputeAges(); });
    EXPECT_EQ(ValueOn(m_db, QStringLiteral("SELECT group_concat(ifnull(年龄,'-')) FROM 基本情况表")),
              QStringLiteral("32,0,-,-"));
}

TEST_F(ArchiveQueriesTest, DeletingRowsAndEverything) {
    for (int k = 1; k <= 5; ++k)
        Add(QStringLiteral("姓名,工作单位"), QStringLiteral("'人%1','一组'").arg(k));
    m_boxes.Expect(QStringLiteral("确实要删除第3行吗？"), IDYES)
        .Expect(QStringLiteral("请选择要删除的行！"))
        .Expect(QStringLiteral("确实要删除所有记录吗？"), IDNO)
        .Expect(QStringLiteral("确实要删除所有记录吗？"), IDYES);
    Run([&](CDlgGJRY& w) {
        w.m_nSelectedRow = 2;
        w.OnDeleteRow();
        QStringList numbers;
        for (int r = 0; r < w.Grid()->GetItemCount(); ++r)
            numbers << w.Grid()->GetItemText(r, 0);
        EXPECT_EQ(numbers.join(QLatin1Char(',')), QStringLiteral("1,2,4,5"));
        EXPECT_FALSE(w.GetDlgItem(1030)->isEnabled());
        EXPECT_EQ(ValueOn(m_db, QStringLiteral("SELECT count(*) FROM 基本情况表 WHERE 姓名='人3'")),
                  QStringLiteral("0"));
        w.m_nSelectedRow = 1;
        w.Tree()->setCurrentItem(w.Tree()->findItems(QStringLiteral("一组"), Qt::MatchRecursive).value(0));
        w.OnDeleteRow(); // the refill cleared the choice
        w.OnDeleteAll();
        EXPECT_EQ(w.Grid()->GetItemCount(), 4);
        w.OnDeleteAll();
        EXPECT_EQ(w.Grid()->GetItemCount(), 0);
        w.Tree()->setCurrentItem(w.RootItem());
        EXPECT_EQ(qobject_cast<QLabel*>(w.GetDlgItem(1057))->text(), QString());
    });
    const unsigned style = m_boxes.Boxes().back().style;
    EXPECT_EQ(style & MB_ICONMASK, unsigned(MB_ICONWARNING));
    EXPECT_EQ(style & MB_DEFMASK, unsigned(MB_DEFBUTTON2)) << "Enter answers 否";
}

// A database another workstation holds during the pass: nothing written, the operator
// told, the list as it was.
TEST_F(ArchiveQueriesTest, ALockedDatabaseLeavesEverythingAsItWas) {
    Add(QStringLiteral("姓名,显示"), QStringLiteral("'甲','是'"));
    Add(QStringLiteral("姓名,显示"), QStringLiteral("'乙','否'"));
    m_app.m_pConnection = adodb::Connection::Create();
    m_app.m_pConnection->Open(adodb::JetConnectionString(m_db) + QStringLiteral("; Busy Timeout=100"),
                              QString(), QString(), -1);
    m_boxes.Answer(IDOK);
    Run([&](CDlgGJRY& w) {
        sqlite3* other = nullptr;
        sqlite3_open(m_db.toUtf8().constData(), &other);
        sqlite3_exec(other, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        qobject_cast<QRadioButton*>(w.GetDlgItem(1048))->setChecked(true);
        Query(w, QStringLiteral("乙"));
        sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
        sqlite3_close(other);
        EXPECT_EQ(Names(w), (QStringList{"乙", "甲"})) << "the list as it was";
    });
    EXPECT_TRUE(m_boxes.Boxes().back().text.startsWith(QStringLiteral("数据库操作失败")));
    EXPECT_EQ(ValueOn(m_db, QStringLiteral("SELECT group_concat(显示) FROM 基本情况表")), QStringLiteral("是,否"));
}

// Every command that may take a while shows the wait cursor, and every way out of it puts
// the cursor back: done, refused, cancelled or failed on a lock.
TEST_F(ArchiveQueriesTest, LongCommandsShowTheWaitCursorAndPutItBack) {
    for (int k = 1; k <= 3; ++k)
        Add(QStringLiteral("姓名,工作单位"), QStringLiteral("'人%1','一组'").arg(k));
    m_boxes.Expect(QStringLiteral("确实要删除第1行吗？"), IDYES)
        .Expect(QStringLiteral("确实要删除所有记录吗？"), IDYES);
    Run([&](CDlgGJRY& w) {
        bool waitDuringFill = false;
        QObject::connect(w.Grid(), &CAdoGridCtrl::gridRefilled, [&] {
            waitDuringFill = QApplication::overrideCursor() &&
                             QApplication::overrideCursor()->shape() == Qt::WaitCursor;
        });
        const std::pair<const char*, std::function<void()>> commands[] = {
            {"unit", [&] { w.Tree()->setCurrentItem(w.Tree()->findItems(QStringLiteral("一组"), Qt::MatchRecursive).value(0)); }},
            {"fuzzy", [&] { Query(w, QStringLiteral("人")); }},
            {"delete row", [&] { w.m_nSelectedRow = 0; w.OnDeleteRow(); }},
            {"ages", [&] { w.OnRecomputeAges(); }},
            {"duplicates", [&] { w.OnFindDuplicateNames(); }},
            {"delete all", [&] { w.OnDeleteAll(); }},
            {"statistics", [&] { w.RunStatistics(); }},
        };
        for (const auto& [name, command] : commands) {
            const int shown = BusyCursor::TimesShown();
            command();
            EXPECT_GT(BusyCursor::TimesShown(), shown) << name;
            EXPECT_EQ(QApplication::overrideCursor(), nullptr) << name;
        }
        EXPECT_TRUE(waitDuringFill);
    });
}
