#include "GridFixture.h"

#include "grid/AdoHeaderCtrl.h"
#include "grid/GridCommands.h"

#include <QAbstractItemModelTester>
#include <QApplication>
#include <QContextMenuEvent>
#include <QCursor>
#include <QLabel>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QTest>

TEST_F(GridTest, FillsOneRowPerRecordWithDisplayTexts) {
    CAdoGridCtrl& grid = Bind();
    QAbstractItemModelTester tester(grid.model(), QAbstractItemModelTester::FailureReportingMode::Fatal);
    EXPECT_EQ(Headings(), QStringList({"序号", "编号", "姓名", "出生日期", "家庭人口", "身高", "股民",
                                       "工作单位"}));
    EXPECT_EQ(ColumnTexts(0), QStringList({"1", "2", "3", "4"}));
    EXPECT_EQ(ColumnTexts(3),
              QStringList({"1980年05月03日", "1992年11月20日08时30分", "", "2001年01月01日"}));
    EXPECT_EQ(ColumnTexts(5), QStringList({"1.76", "", "1.50", "2.00"})) << "zero shows empty";
    EXPECT_EQ(ColumnTexts(6), QStringList({"是", "否", "否", "是"}));
    EXPECT_EQ(grid.GetItemData(2), 3);
    EXPECT_EQ(grid.Header()->sectionSize(0), 50);
    EXPECT_TRUE(QFileInfo(m_appDir.Path(QStringLiteral("option"))).isDir());
    EXPECT_TRUE(QFileInfo(m_appDir.Path(QStringLiteral("excel"))).isDir());
}

// Without a layout file each column shows its heading and the texts of the first rows, so
// no cell of them needs its tip; a long text is cut at 240 pixels. A layout file's widths
// stay as the file says.
TEST_F(GridTest, WithoutALayoutFileColumnsFitTheirTexts) {
    Exec(QStringLiteral("UPDATE 基本情况表 SET 工作单位='%1' WHERE 编号=4").arg(QString(40, QChar(0x7EC4))));
    CAdoGridCtrl& grid = Bind();
    const QFontMetrics cells = grid.fontMetrics();
    const QFontMetrics headings = grid.Header()->fontMetrics();
    for (int c = 1; c < grid.GetColumnCount(); ++c) {
        const int width = grid.Header()->sectionSize(c);
        EXPECT_LE(width, 240) << c;
        EXPECT_GT(width, headings.horizontalAdvance(grid.GetHeadingText(c))) << c;
        for (int r = 0; r < 3; ++r)
            EXPECT_GE(width - 12, cells.horizontalAdvance(grid.GetItemText(r, c))) << r << "," << c;
    }
    EXPECT_EQ(grid.Header()->sectionSize(7), 240) << "the long unit";
    EXPECT_LT(grid.Header()->sectionSize(6), grid.Header()->sectionSize(3)) << "是/否 narrower than a date";

    ASSERT_TRUE(grid.SaveLayout(grid.LayoutPath()));
    grid.Header()->resizeSection(2, 33);
    ASSERT_TRUE(grid.SaveLayout(grid.LayoutPath()));
    grid.Refresh(true);
    EXPECT_EQ(grid.Header()->sectionSize(2), 33);
}

// A negative key is never listed; a key that comes twice (a join) is listed once.
TEST_F(GridTest, NegativeAndRepeatedKeysAreSkipped) {
    Exec(QStringLiteral("INSERT INTO 基本情况表 (编号,姓名) VALUES (-1,'负号')"));
    CAdoGridCtrl& grid = Bind();
    EXPECT_EQ(grid.GetItemCount(), 4);
    EXPECT_EQ(grid.FindRow(-1), -1);
    grid.SetQuery(QStringLiteral("SELECT a.* FROM 基本情况表 a, 基本情况表 b WHERE a.编号>0"));
    grid.Refresh(false);
    EXPECT_EQ(grid.GetItemCount(), 4);
    EXPECT_EQ(ColumnTexts(2), QStringList({"张三", "李四", "王五", "ab"}));
}

TEST_F(GridTest, SortingKeepsOneOrderByAndAlternatesOnEveryOtherClick) {
    CAdoGridCtrl& grid = Bind();
    grid.SetQuery(QStringLiteral("Select * from 基本情况表 where 工作单位 like '一组%'"));
    grid.Refresh(false);
    grid.OnColumnClick(0); // "序号": only the counter moves
    EXPECT_EQ(CAdoGridCtrl::ColumnClickCount(), 1);
    EXPECT_EQ(grid.GetQuery(), QStringLiteral("Select * from 基本情况表 where 工作单位 like '一组%'"));

    grid.OnColumnClick(2); // count 2: the direction stays ascending
    EXPECT_EQ(grid.GetQuery(),
              QStringLiteral("SELECT * FROM 基本情况表 WHERE 工作单位 LIKE '一组%' order by 姓名 ASC"));
    EXPECT_EQ(ColumnTexts(2), QStringList({"李四", "张三"})) << "pinyin order";
    EXPECT_EQ(grid.Header()->m_nSortColumn, 2);
    EXPECT_TRUE(grid.Header()->m_bSortAscending);

    grid.OnColumnClick(2); // count 3: inverted
    EXPECT_EQ(grid.GetQuery(), QStringLiteral("SELECT * FROM 基本情况表 WHERE 工作单位 LIKE '一组%' "
                                              "order by 姓名 DESC "));
    EXPECT_EQ(ColumnTexts(2), QStringList({"张三", "李四"}));
    EXPECT_FALSE(grid.Header()->m_bSortAscending);
}

// With a layout file, each sort reads the saved direction back: odd clicks invert it.
TEST_F(GridTest, WithALayoutFileTheSavedDirectionComesBack) {
    CAdoGridCtrl& grid = Bind();
    ASSERT_TRUE(grid.SaveLayout(grid.LayoutPath())); // ascending, no sort column
    grid.OnColumnClick(2);                             // count 1: descending
    EXPECT_TRUE(grid.GetQuery().endsWith(QStringLiteral("order by 姓名 DESC ")))
        << grid.GetQuery().toStdString();
    EXPECT_TRUE(grid.SortAscending()) << "the file's direction is back in the grid";
    grid.OnColumnClick(2); // count 2: the saved direction
    EXPECT_TRUE(grid.GetQuery().endsWith(QStringLiteral("order by 姓名 ASC")));
}

TEST_F(GridTest, HiddenRowsKeepTheirNumbersUntilShownAgain) {
    CAdoGridCtrl& grid = Bind();
    grid.SetItemSelected(1, true);
    grid.SetItemSelected(2, true);
    std::vector<std::int32_t> keys;
    grid.GetSelectedKeys(keys);
    EXPECT_EQ(keys, (std::vector<std::int32_t>{2, 3}));
    EXPECT_TRUE(grid.OnCommand(ID_GRID_HIDEROWS, 0));
    EXPECT_EQ(ColumnTexts(0), QStringList({"1", "4"})) << "a gap where the rows were";
    EXPECT_EQ(grid.FindRow(4), 1);
    QSignalSpy refreshed(&grid, &CAdoGridCtrl::gridRowRefreshed);
    Exec(QStringLiteral("UPDATE 基本情况表 SET 姓名='阿波' WHERE 编号=4"));
    grid.RefreshRow(4);
    EXPECT_EQ(ColumnTexts(0), QStringList({"1", "2"})) << "a re-read row is renumbered";
    EXPECT_EQ(grid.GetItemText(1, 2), QStringLiteral("阿波"));
    EXPECT_TRUE(refreshed.wait(1000));

    EXPECT_TRUE(grid.OnCommand(ID_GRID_SHOWALL, 0));
    EXPECT_EQ(ColumnTexts(0), QStringList({"1", "2", "3", "4"}));
    grid.RemoveRow(99); // not listed: nothing happens
    grid.RemoveRow(1);
    EXPECT_EQ(grid.GetItemCount(), 3);
}

TEST_F(GridTest, SelectAllInvertAndTheOwnersCommands) {
    CAdoGridCtrl& grid = Bind();
    grid.SetItemSelected(0, true);
    grid.OnCommand(ID_GRID_INVERT, 0);
    std::vector<std::int32_t> keys;
    grid.GetSelectedKeys(keys);
    EXPECT_EQ(keys, (std::vector<std::int32_t>{2, 3, 4}));
    grid.OnCommand(ID_GRID_SELECTALL, 0);
    keys.clear();
    grid.GetSelectedKeys(keys);
    EXPECT_EQ(keys.size(), 4u);

    QSignalSpy owner(&grid, &CAdoGridCtrl::gridCommand);
    EXPECT_FALSE(grid.OnCommand(38006, 7));
    EXPECT_FALSE(grid.OnCommand(39006, 0));
    EXPECT_FALSE(grid.OnCommand(1001, 0));
    EXPECT_FALSE(grid.OnCommand((1ull << 16) | ID_GRID_SELECTALL, 0)) << "a notification code";
    ASSERT_EQ(owner.size(), 3);
    EXPECT_EQ(owner[0][0].toULongLong(), 38006u);
    EXPECT_EQ(owner[0][1].toLongLong(), 7);
    EXPECT_EQ(owner[1][0].toULongLong(), 39006u);
}

TEST(GridMenus, KeepTheirTextsAndOrder) {
    QStringList row, header;
    for (const MenuEntry& e : RowMenuEntries())
        row << (e.id ? QStringLiteral("%1 %2").arg(e.id).arg(e.text) : QStringLiteral("-"));
    for (const MenuEntry& e : HeaderMenuEntries())
        header << (e.id ? QStringLiteral("%1 %2").arg(e.id).arg(e.text) : QStringLiteral("-"));
    EXPECT_EQ(row, QStringList({"38001 全    选(&A)", "38002 反    选(&O)", "-", "38007 隐藏所选行(&H)",
                                "38008 显示所有(&R)", "-", "38003 导出<所有>到&Excel",
                                "38005 导出<选择>到Ex&cel", "38004 从E&xcel文件导入"}));
    EXPECT_EQ(header, QStringList({"39001 隐藏该列(&H)", "-", "39002 保存列设置(&S)",
                                   "39004 另存列设置(&S)", "-", "39005 导入列设置(&S)",
                                   "39003 重设所有列(&R)"}));
}

TEST_F(GridTest, DoubleClicksAndSelectionsAreToldToTheOwner) {
    CAdoGridCtrl& grid = Bind();
    m_window->show();
    QSignalSpy opened(&grid, &CAdoGridCtrl::gridOpenRow);
    QSignalSpy selected(&grid, &CAdoGridCtrl::gridSelChange);
    const QRect number = grid.visualRect(grid.model()->index(1, 0));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, number.center());
    const QRect name = grid.visualRect(grid.model()->index(2, 2));
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, name.center());
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, name.center());
    EXPECT_TRUE(opened.wait(1000));
    ASSERT_EQ(opened.size(), 1) << "the row-number column opens nothing";
    EXPECT_EQ(opened[0][0].toInt(), 3);
    ASSERT_FALSE(selected.isEmpty());
    EXPECT_EQ(selected.last()[0].toInt(), 3);
    EXPECT_EQ(grid.LastSelectedKey(), 3);
}

// The triangle of the sort column, in the terms of the heading rectangle.
TEST(HeaderSortMark, FollowsTheRectangle) {
    const QRect r(100, 0, 80, 20); // right 180, bottom 20, o = 5
    CAdoHeaderCtrl::SortMark up = CAdoHeaderCtrl::SortMarkLines(r, true);
    ASSERT_EQ(up.light.size(), 2u);
    EXPECT_EQ(up.light[0], QLine(170, 5, 175, 14));
    EXPECT_EQ(up.light[1], QLine(175, 14, 163, 14));
    EXPECT_EQ(up.dark[0], QLine(164, 14, 170, 4));
    CAdoHeaderCtrl::SortMark down = CAdoHeaderCtrl::SortMarkLines(r, false);
    EXPECT_EQ(down.light[0], QLine(174, 5, 169, 15));
    EXPECT_EQ(down.dark[0], QLine(168, 15, 164, 5));
    EXPECT_EQ(down.dark[1], QLine(164, 5, 174, 5));
}

TEST_F(GridTest, AFailingQueryShowsNoRows) {
    CAdoGridCtrl& grid = Bind();
    grid.SetQuery(QStringLiteral("Select * from 基本情况表 where 没有这个字段=1"));
    EXPECT_TRUE(grid.Refresh(false));
    EXPECT_EQ(grid.GetItemCount(), 0);
    EXPECT_FALSE(grid.GetRecordSet().m_strLastError.isEmpty());
}

// The whole text of a cut-off cell shows at once over the cell, never while the editor is
// open; a right click on "序号" opens no column menu.
TEST_F(GridTest, CutOffCellsShowTheirWholeText) {
    Exec(QStringLiteral("UPDATE 基本情况表 SET 工作单位='%1' WHERE 编号=1").arg(QString(40, QChar(0x6751))));
    CAdoGridCtrl& grid = Bind();
    m_window->show();
    QLabel* tip = grid.findChild<QLabel*>();
    ASSERT_TRUE(tip);
    // The pointer moving with no button held, as the application delivers it.
    auto hover = [&](const QPoint& at) {
        QMouseEvent move(QEvent::MouseMove, at, grid.viewport()->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                         Qt::NoModifier);
        QApplication::sendEvent(grid.viewport(), &move);
    };
    const QRect cutOff = grid.visualRect(grid.model()->index(0, 7));
    QCursor::setPos(grid.viewport()->mapToGlobal(cutOff.center()));
    hover(cutOff.center());
    EXPECT_TRUE(tip->isVisible());
    EXPECT_EQ(tip->text(), QString(40, QChar(0x6751)));
    // The window system reports a leave as the tip comes up under the pointer: it stays.
    QEvent leave(QEvent::Leave);
    QApplication::sendEvent(grid.viewport(), &leave);
    EXPECT_TRUE(tip->isVisible());
    // The pointer really leaving, with no leave reported: the tip goes all the same.
    QCursor::setPos(grid.mapToGlobal(QPoint(-20, -20)));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !tip->isVisible(); }, 1000));
    QCursor::setPos(grid.viewport()->mapToGlobal(cutOff.center()));
    hover(cutOff.center());
    EXPECT_TRUE(tip->isVisible());
    const QRect fits = grid.visualRect(grid.model()->index(0, 0));
    hover(fits.center());
    EXPECT_FALSE(tip->isVisible());

    QContextMenuEvent onNumber(QContextMenuEvent::Mouse, QPoint(5, 5),
                               grid.Header()->mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(grid.Header()->viewport(), &onNumber);
    EXPECT_EQ(grid.Header()->m_nMenuColumn, 0);
}
