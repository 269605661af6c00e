#include "GridFixture.h"

#include "adodb/WorkbookWriter.h"
#include "grid/GridCommands.h"
#include "office/ZipArchive.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>

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

// A workbook as python3-xlrd (.xls) or python3-openpyxl (.xlsx) reads it: sheet names, the
// count of rows of the first sheet and its rows (with ends, the first 3 and the last 2).
struct ReadBack {
    bool read = false;
    QStringList sheets;
    int count = 0;
    std::vector<QStringList> rows;
};

ReadBack readBack(const QString& path, bool ends = false) {
    QProcess python;
    QStringList arguments{QStringLiteral(VRIN_READBACK), path};
    if (ends)
        arguments << QStringLiteral("--ends");
    python.start(QStringLiteral("/usr/bin/python3"), arguments); // the system's, where the packages go
    python.waitForFinished(120000);
    ReadBack back;
    if (python.exitStatus() != QProcess::NormalExit || python.exitCode() != 0) {
        ADD_FAILURE() << "the independent reader failed on " << path.toStdString() << ": "
                      << python.readAllStandardError().toStdString();
        return back;
    }
    const QJsonObject json = QJsonDocument::fromJson(python.readAllStandardOutput()).object();
    back.read = true;
    for (const QJsonValue& v : json.value(QStringLiteral("sheets")).toArray())
        back.sheets << v.toString();
    back.count = json.value(QStringLiteral("count")).toInt();
    for (const QJsonValue& row : json.value(QStringLiteral("rows")).toArray()) {
        QStringList cells;
        for (const QJsonValue& v : row.toArray())
            cells << v.toString();
        back.rows.push_back(cells);
    }
    return back;
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

// Both formats as office programs' readers see them: the sheet named after the table, the
// headings from 序号, quotes, a number of 18 digits and a formula's text kept as text, a line
// break.
TEST_F(GridTest, ExportsReadBackByIndependentReaders) {
    Exec(QStringLiteral("UPDATE 基本情况表 SET 姓名='O''Neil \"甲\"', 工作单位='110101198005030012' WHERE 编号=1"));
    Exec(QStringLiteral("UPDATE 基本情况表 SET 姓名='=1+1', 工作单位='一组\n二号' WHERE 编号=2"));
    CAdoGridCtrl& grid = Bind();
    for (const char* ext : {"xls", "xlsx"}) {
        SCOPED_TRACE(ext);
        const QString file = m_appDir.Path(QStringLiteral("back.%1").arg(QString::fromLatin1(ext)));
        ASSERT_TRUE(grid.ExportRows({1, 2, 3}, file));
        const ReadBack back = readBack(file);
        ASSERT_TRUE(back.read);
        EXPECT_EQ(back.sheets, QStringList{QStringLiteral("基本情况表")});
        ASSERT_EQ(back.rows.size(), 4u);
        EXPECT_EQ(back.rows[0].join(QLatin1Char('|')), QStringLiteral("序号|编号|姓名|出生日期|家庭人口|身高|股民|工作单位"));
        EXPECT_EQ(back.rows[1].value(0), QStringLiteral("1"));
        EXPECT_EQ(back.rows[1].value(2), QStringLiteral("O'Neil \"甲\""));
        EXPECT_EQ(back.rows[1].value(7), QStringLiteral("110101198005030012"));
        EXPECT_EQ(back.rows[2].value(2), QStringLiteral("=1+1"));
        EXPECT_EQ(back.rows[2].value(7), QStringLiteral("一组\n二号"));
    }
}

// A .xls sheet holds 65 536 rows with the heading, a .xlsx one 1 048 576: full sheets read
// back whole with a cell of 32 767 characters, and a .xls row past the last is refused.
TEST(WorkbookLimits, FullSheetsReadBackWhole) {
    TestDir dir;
    struct Case {
        const char* file;
        int dataRows;
    };
    for (const Case& c : {Case{"full.xls", 65535}, Case{"many.xlsx", 100001}}) {
        SCOPED_TRACE(c.file);
        QString why;
        auto writer = WorkbookWriter::For(dir.Path(QString::fromLatin1(c.file)), QStringLiteral("基本情况表"), &why);
        ASSERT_TRUE(writer);
        const QString longest(32767, QChar(0x5C45));
        ASSERT_TRUE(writer->AddRow({QStringLiteral("编号"), QStringLiteral("姓名")}, &why));
        ASSERT_TRUE(writer->AddRow({QStringLiteral("1"), longest}, &why));
        for (int r = 2; r <= c.dataRows; ++r)
            ASSERT_TRUE(writer->AddRow({QString::number(r), QStringLiteral("居民%1").arg(r)}, &why));
        if (c.dataRows == 65535)
            EXPECT_FALSE(writer->AddRow({QStringLiteral("65536"), QStringLiteral("多一行")}, &why));
        ASSERT_TRUE(writer->Finish(&why)) << why.toStdString();
        const ReadBack back = readBack(dir.Path(QString::fromLatin1(c.file)), true);
        ASSERT_TRUE(back.read);
        EXPECT_EQ(back.count, c.dataRows + 1);
        ASSERT_EQ(back.rows.size(), 5u);
        EXPECT_TRUE(back.rows[1].value(1) == longest) << "the longest cell whole";
        EXPECT_EQ(back.rows[4], QStringList({QString::number(c.dataRows), QStringLiteral("居民%1").arg(c.dataRows)}));
    }
}
