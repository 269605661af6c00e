#include "GridFixture.h"

#include "grid/AdoHeaderCtrl.h"
#include "grid/ColumnLayout.h"
#include "grid/GridCommands.h"
#include "platform/Gbk.h"

#include <QDir>
#include <QFile>

namespace {

QByteArray int32(std::int32_t v) {
    QByteArray b(4, '\0');
    for (int i = 0; i < 4; ++i)
        b[i] = static_cast<char>((static_cast<std::uint32_t>(v) >> (8 * i)) & 0xFF);
    return b;
}

// A layout file written by hand: key, direction, sort name, then the records.
QByteArray layoutBytes(std::int32_t key, std::int32_t ascending, const QString& sort,
                       const std::vector<std::pair<QString, int>>& columns) {
    QByteArray sortBytes = ToGbk(sort);
    QByteArray out = int32(key) + int32(ascending) + int32(static_cast<std::int32_t>(sortBytes.size() + 1)) +
                     sortBytes + QByteArray(1, '\0');
    for (const auto& [name, width] : columns) {
        QByteArray record = ToGbk(name);
        record.append(QByteArray(256 - record.size(), '\0'));
        out += record + int32(width);
    }
    return out;
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
}

} // namespace

TEST_F(GridTest, TheLayoutFileIsNamedAfterWindowTableAndControl) {
    CAdoGridCtrl& grid = Bind();
    EXPECT_EQ(grid.LayoutPath(), m_appDir.Folder() + QStringLiteral("option/人员档案基本情况表(1010).dat"));
}

// A file naming one field many times shows it once, where it is first named: never more
// columns than the table has fields.
TEST_F(GridTest, AFieldNamedManyTimesIsOneColumn) {
    std::vector<std::pair<QString, int>> columns{{"姓名", 80}};
    for (int i = 0; i < 1000; ++i)
        columns.push_back({i % 2 ? QStringLiteral("身高") : QStringLiteral("姓名"), 70});
    columns.push_back({"编号", 40});
    QDir().mkpath(m_appDir.Path(QStringLiteral("option")));
    m_appDir.Write(QStringLiteral("option/人员档案基本情况表(1010).dat"), layoutBytes(0, 1, QString(), columns));
    CAdoGridCtrl& grid = Bind();
    EXPECT_EQ(Headings(), QStringList({"序号", "姓名", "身高", "编号"}));
    EXPECT_EQ(grid.Header()->sectionSize(1), 80);
}

TEST_F(GridTest, SavingWritesTheDisplayOrderWithoutPositionZero) {
    CAdoGridCtrl& grid = Bind();
    CAdoHeaderCtrl* header = grid.Header();
    for (int c = 1; c < header->count(); ++c)
        header->resizeSection(c, 60 + c);
    header->resizeSection(2, 90);
    header->moveSection(header->visualIndex(3), 0); // 出生日期 dragged before 序号
    ASSERT_TRUE(grid.SaveLayout(grid.LayoutPath()));
    EXPECT_EQ(readFile(grid.LayoutPath()),
              layoutBytes(0, 1, QString(),
                          {{"序号", 50}, {"编号", 61}, {"姓名", 90}, {"家庭人口", 64}, {"身高", 65},
                           {"股民", 66}, {"工作单位", 67}}));
    grid.Refresh(true);
    EXPECT_EQ(Headings(), QStringList({"序号", "编号", "姓名", "家庭人口", "身高", "股民", "工作单位"}))
        << "序号 is no field and comes first anyway; the column at position 0 is gone";
    EXPECT_EQ(grid.Header()->sectionSize(2), 90);
}

TEST_F(GridTest, AHandMadeLayoutGivesColumnsWidthsAndSortState) {
    QFile::remove(m_appDir.Path(QStringLiteral("option/人员档案基本情况表(1010).dat")));
    QDir().mkpath(m_appDir.Path(QStringLiteral("option")));
    QFile f(m_appDir.Path(QStringLiteral("option/人员档案基本情况表(1010).dat")));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(layoutBytes(3, 0, QStringLiteral("姓名"),
                        {{"工作单位", 120}, {"不存在", 70}, {"姓名", 9999}}));
    f.close();
    CAdoGridCtrl& grid = Bind();
    EXPECT_EQ(Headings(), QStringList({"序号", "工作单位", "姓名"}));
    EXPECT_EQ(grid.Header()->sectionSize(1), 120);
    EXPECT_EQ(grid.Header()->sectionSize(2), 4000) << "widths are clamped";
    EXPECT_EQ(grid.SortColumn(), QStringLiteral("姓名"));
    EXPECT_FALSE(grid.SortAscending());
    EXPECT_EQ(grid.LastSelectedKey(), 3);
}

TEST_F(GridTest, HidingAColumnKeepsItHiddenUntilReset) {
    CAdoGridCtrl& grid = Bind();
    grid.Header()->m_nMenuColumn = 2; // 姓名
    EXPECT_TRUE(grid.OnCommand(ID_HDR_HIDECOLUMN, 0));
    EXPECT_FALSE(Headings().contains(QStringLiteral("姓名")));
    grid.Refresh(true);
    EXPECT_FALSE(Headings().contains(QStringLiteral("姓名")));
    EXPECT_TRUE(grid.OnCommand(ID_HDR_RESET, 0));
    EXPECT_EQ(Headings().size(), 8);
    EXPECT_FALSE(QFileInfo::exists(grid.LayoutPath()));
}

// A named layout: saved under a mixed-case name in a mixed-case folder (only the file name
// is lower-cased), loaded again, and a file that cannot be read leaves the layout alone.
TEST_F(GridTest, NamedLayoutsAreSavedAndLoaded) {
    CAdoGridCtrl& grid = Bind();
    const QString folder = m_appDir.Folder() + QStringLiteral("Mine/");
    QDir().mkpath(folder);
    grid.Header()->resizeSection(2, 77);
    m_files.Answer(folder + QStringLiteral("Cols"));
    EXPECT_TRUE(grid.OnCommand(ID_HDR_SAVEAS, 0));
    ASSERT_EQ(m_files.Requests().size(), 1u);
    EXPECT_TRUE(m_files.Requests()[0].save);
    EXPECT_EQ(m_files.Requests()[0].initialPath,
              m_appDir.Folder() + QStringLiteral("option/人员档案基本情况表(1010)_"));
    EXPECT_TRUE(m_files.Requests()[0].filter.contains(QLatin1String("*.opn")));
    EXPECT_TRUE(QFileInfo::exists(folder + QStringLiteral("cols.opn")));

    grid.OnCommand(ID_HDR_RESET, 0);
    EXPECT_NE(grid.Header()->sectionSize(2), 77) << "the default width again";
    m_files.Answer(folder + QStringLiteral("cols.opn"));
    EXPECT_TRUE(grid.OnCommand(ID_HDR_IMPORT, 0));
    EXPECT_EQ(grid.Header()->sectionSize(2), 77);

    const QByteArray before = readFile(grid.LayoutPath());
    m_files.Answer(folder + QStringLiteral("missing.opn"));
    m_boxes.Expect(QStringLiteral("打开文件失败！"));
    grid.OnCommand(ID_HDR_IMPORT, 0);
    EXPECT_EQ(readFile(grid.LayoutPath()), before) << "the old layout stays";
    EXPECT_EQ(m_boxes.Boxes().back().style, unsigned(MB_OK | MB_ICONINFORMATION));

    m_files.Answer(QString()); // cancelled
    grid.OnCommand(ID_HDR_SAVEAS, 0);
}

// Closing after a query that could not open leaves the operator's layout as it was.
TEST_F(GridTest, AFailedQueryThenClosingKeepsTheLayout) {
    CAdoGridCtrl& grid = Bind();
    grid.Header()->resizeSection(2, 88);
    ASSERT_TRUE(grid.SaveLayout(grid.LayoutPath()));
    const QByteArray saved = readFile(grid.LayoutPath());
    grid.SetQuery(QStringLiteral("Select * from 基本情况表 where 没有这个字段=1"));
    grid.Refresh(true);
    DestroyGrid();
    EXPECT_EQ(readFile(m_appDir.Path(QStringLiteral("option/人员档案基本情况表(1010).dat"))), saved);
}

TEST(ColumnLayoutFile, BadBytesGiveDefaultsNeverACrash) {
    const QByteArray good = layoutBytes(5, 1, QStringLiteral("姓名"), {{"姓名", 80}, {"性别", 40}});
    struct Case {
        const char* what;
        QByteArray bytes;
        bool header;
        int columns;
    };
    QByteArray noNul = good;
    noNul.replace(12 + 5, 256, QByteArray(256, 'x')); // the first record has no NUL
    const Case cases[] = {
        {"empty", QByteArray(), false, 0},
        {"cut in the header", good.left(7), false, 0},
        {"a length past the end", int32(1) + int32(1) + int32(1000) + QByteArray("abc"), false, 0},
        {"a negative length", int32(1) + int32(1) + int32(-4) + QByteArray(300, 'a'), false, 0},
        {"no records", good.left(12 + 5), true, 0},
        {"a partial record at the end", good.left(good.size() - 10), true, 1},
        {"a name without NUL", noNul, true, 1},
        {"whole", good, true, 2},
    };
    for (const Case& c : cases) {
        ColumnLayout layout = ParseColumnLayout(c.bytes);
        EXPECT_EQ(layout.hasHeader, c.header) << c.what;
        EXPECT_EQ(static_cast<int>(layout.columns.size()), c.columns) << c.what;
    }
    ColumnLayout whole = ParseColumnLayout(good);
    EXPECT_EQ(whole.sortColumn, QStringLiteral("姓名"));
    EXPECT_EQ(whole.lastSelectedKey, 5);
    EXPECT_EQ(SerializeColumnLayout(whole), good) << "read and written back byte for byte";
    ColumnLayout wide = ParseColumnLayout(layoutBytes(0, 1, QString(), {{"a", -5}, {"b", 1 << 30}}));
    EXPECT_EQ(wide.columns[0].width, 0);
    EXPECT_EQ(wide.columns[1].width, 4000);
}
