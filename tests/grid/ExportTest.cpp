#include "GridFixture.h"

#include "grid/GridCommands.h"
#include "office/ZipArchive.h"

#include <freexl.h>
#include <pugixml.hpp>

namespace {

// A .xls read back with FreeXL: sheet name, then rows of texts.
QStringList readXls(const QString& path, QString* sheet) {
    const void* handle = nullptr;
    QStringList rows;
    if (freexl_open(path.toUtf8().constData(), &handle) != FREEXL_OK)
        return {QStringLiteral("<unreadable>")};
    const char* name = nullptr;
    freexl_get_worksheet_name(handle, 0, &name);
    if (sheet)
        *sheet = QString::fromUtf8(name ? name : "");
    freexl_select_active_worksheet(handle, 0);
    unsigned int count = 0;
    unsigned short columns = 0;
    freexl_worksheet_dimensions(handle, &count, &columns);
    for (unsigned int r = 0; r < count; ++r) {
        QStringList cells;
        for (unsigned short c = 0; c < columns; ++c) {
            FreeXL_CellValue cell;
            freexl_get_cell_value(handle, r, c, &cell);
            cells << (cell.type == FREEXL_CELL_SST_TEXT || cell.type == FREEXL_CELL_TEXT
                          ? QString::fromUtf8(cell.value.text_value)
                          : QString());
        }
        rows << cells.join(QLatin1Char('|'));
    }
    freexl_close(handle);
    return rows;
}

// A .xlsx read back: its strings, shared or in-line.
QStringList readXlsxStrings(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    std::vector<ZipEntry> entries;
    ReadZip(f.readAll(), entries, nullptr);
    QStringList strings;
    for (const ZipEntry& e : entries)
        if (e.name == QLatin1String("xl/sharedStrings.xml") || e.name == QLatin1String("xl/worksheets/sheet1.xml")) {
            pugi::xml_document doc;
            doc.load_buffer(e.data.constData(), static_cast<size_t>(e.data.size()));
            for (pugi::xpath_node t : doc.select_nodes("//si/t | //is/t"))
                strings << QString::fromUtf8(t.node().text().get());
        }
    return strings;
}

} // namespace

TEST_F(GridTest, ExportingSelectedAndAllRows) {
    Exec(QStringLiteral("UPDATE 基本情况表 SET 姓名='O''Neil' WHERE 编号=2"));
    CAdoGridCtrl& grid = Bind();
    grid.SetItemSelected(1, true);
    grid.SetItemSelected(3, true);
    const QString xls = m_appDir.Path(QStringLiteral("excel/选中.xls"));
    m_files.Answer(xls);
    grid.OnCommand(ID_GRID_EXPORTSEL, 0);
    ASSERT_EQ(m_files.Requests().size(), 1u);
    EXPECT_EQ(m_files.Requests()[0].initialPath, m_appDir.Folder() + QStringLiteral("excel/基本情况表.XLS"));
    QString sheet;
    const QStringList rows = readXls(xls, &sheet);
    EXPECT_EQ(sheet, QStringLiteral("基本情况表"));
    ASSERT_EQ(rows.size(), 3);
    EXPECT_EQ(rows[0], QStringLiteral("序号|编号|姓名|出生日期|家庭人口|身高|股民|工作单位"));
    EXPECT_TRUE(rows[1].startsWith(QStringLiteral("2|2|O'Neil|"))) << rows[1].toStdString();
    EXPECT_TRUE(rows[2].startsWith(QStringLiteral("4|4|ab|")));

    grid.SetItemSelected(1, false);
    grid.OnCommand(ID_GRID_HIDEROWS, 0); // row 4 leaves the list: not exported with all
    const QString xlsx = m_appDir.Path(QStringLiteral("excel/全部.xlsx"));
    ASSERT_TRUE(grid.ExportRows(grid.GetItemCount() ? std::vector<std::int32_t>{1, 2, 3} : std::vector<std::int32_t>{}, xlsx));
    const QStringList strings = readXlsxStrings(xlsx);
    EXPECT_TRUE(strings.contains(QStringLiteral("O'Neil")));
    EXPECT_TRUE(strings.contains(QStringLiteral("序号")));
    EXPECT_FALSE(strings.contains(QStringLiteral("ab")));
    m_boxes.Expect(QStringLiteral("请在列表中选择要导出的项目！"));
    grid.clearSelection();
    grid.OnCommand(ID_GRID_EXPORTSEL, 0);
}

// Values the sheet must carry whole: long texts across the string table's records, line
// breaks; and a .xls never takes more rows than a sheet holds, nor loses an earlier file.
TEST_F(GridTest, ExportingLongTextsAndTooManyRows) {
    Exec(QStringLiteral("UPDATE 基本情况表 SET 工作单位='%1' WHERE 编号=1").arg(QString(50, QChar(0x7EC4))));
    CAdoGridCtrl& grid = Bind();
    const QString xls = m_appDir.Path(QStringLiteral("long.xls"));
    std::vector<std::int32_t> keys;
    for (int k = 0; k < 400; ++k)
        keys.push_back(1 + k % 4); // 400 rows, the string table over several records
    ASSERT_TRUE(grid.ExportRows(keys, xls));
    const QStringList rows = readXls(xls, nullptr);
    ASSERT_EQ(rows.size(), 401);
    EXPECT_TRUE(rows[1].endsWith(QString(50, QChar(0x7EC4))));

    m_appDir.Write(QStringLiteral("earlier.xls"), "an earlier file");
    std::vector<std::int32_t> many(65536, 1);
    m_boxes.Answer(IDOK);
    EXPECT_FALSE(grid.ExportRows(many, m_appDir.Path(QStringLiteral("earlier.xls"))));
    EXPECT_TRUE(m_boxes.Boxes().back().text.contains(QStringLiteral("65535")));
    EXPECT_EQ(m_appDir.Read(QStringLiteral("earlier.xls")), QByteArray("an earlier file"));
}
