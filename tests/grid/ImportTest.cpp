#include "GridFixture.h"

#include "adodb/WorkbookWriter.h"
#include "grid/GridCommands.h"
#include "office/SpreadsheetReader.h"
#include "office/ZipArchive.h"
#include "widgets/BusyCursor.h"

#include <QApplication>

#include <QDir>
#include <QProgressDialog>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>

#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-utils.h>

#include <cstring>

namespace {

// A workbook of text cells, in either format.
void writeBook(const QString& path, const QString& sheet, const std::vector<QStringList>& rows) {
    QString why;
    auto writer = WorkbookWriter::For(path, sheet, &why);
    ASSERT_TRUE(writer) << why.toStdString();
    for (const QStringList& row : rows)
        ASSERT_TRUE(writer->AddRow(row, &why));
    ASSERT_TRUE(writer->Finish(&why)) << why.toStdString();
}

// A .xlsx made by hand: a number, a date-formatted number, a formula's cached text, a
// boolean, shared and in-line strings, a cell without reference.
QByteArray handMadeXlsx() {
    auto e = [](const char* name, const char* xml) { return ZipEntry{QString::fromUtf8(name), QByteArray(xml)}; };
    return WriteZip(
        {e("[Content_Types].xml", "<Types xmlns=\"http://schemas.openxmlformats.org/package/2006/content-types\"/>"),
         e("xl/workbook.xml", "<workbook xmlns:r=\"r\"><sheets><sheet name=\"基本情况表\" sheetId=\"1\" r:id=\"rId1\"/>"
                              "</sheets></workbook>"),
         e("xl/_rels/workbook.xml.rels", "<Relationships><Relationship Id=\"rId1\" Target=\"worksheets/s.xml\"/>"
                                         "</Relationships>"),
         e("xl/sharedStrings.xml", "<sst><si><t>姓名</t></si><si><r><t>张</t></r><r><t>三</t></r><rPh><t>x</t></rPh></si></sst>"),
         e("xl/styles.xml", "<styleSheet><cellXfs><xf numFmtId=\"0\"/><xf numFmtId=\"14\"/></cellXfs></styleSheet>"),
         e("xl/worksheets/s.xml",
           "<worksheet><sheetData>"
           "<row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c><c r=\"B1\" t=\"inlineStr\"><is><t>出生日期</t></is></c>"
           "<c t=\"inlineStr\"><is><t>家庭人口</t></is></c><c t=\"inlineStr\"><is><t>工作单位</t></is></c>"
           "<c t=\"inlineStr\"><is><t>股民</t></is></c></row>"
           "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>1</v></c><c r=\"B2\" s=\"1\"><v>29344</v></c><c><v>3</v></c>"
           "<c t=\"str\"><f>A1</f><v>一组</v></c><c t=\"b\"><v>1</v></c></row>"
           "<row r=\"4\"><c r=\"A4\" t=\"inlineStr\"><is><t>李五</t></is></c><c r=\"B4\"><v>19800503</v></c></row>"
           "</sheetData></worksheet>")},
        nullptr);
}

QByteArray record(quint16 type, const QByteArray& body) {
    QByteArray r;
    for (quint16 v : {type, static_cast<quint16>(body.size())})
        r += char(v & 0xFF), r += char(v >> 8);
    return r + body;
}

// A FORMULA record at (row, column) with a cached result of 8 bytes.
QByteArray formula(quint16 row, quint16 column, const QByteArray& result) {
    QByteArray b;
    for (quint16 v : {row, column, quint16(15)})
        b += char(v & 0xFF), b += char(v >> 8);
    b += result;
    b += QByteArray(6, '\0');                     // flags and chn
    b += QByteArray("\x03\x00\x1e\x01\x00", 5); // the expression: the number 1
    return record(0x0006, b);
}

QByteArray numberResult(double value) {
    QByteArray b(8, '\0');
    std::memcpy(b.data(), &value, 8);
    return b;
}

// Puts records at the end of the last sheet of a .xls (before its EOF).
void addToLastSheet(const QString& path, const QByteArray& records) {
    gsf_init();
    GsfInput* input = gsf_input_stdio_new(path.toUtf8().constData(), nullptr);
    GsfInfile* ole = gsf_infile_msole_new(input, nullptr);
    GsfInput* stream = gsf_infile_child_by_name(ole, "Workbook");
    QByteArray book(static_cast<qsizetype>(gsf_input_size(stream)), '\0');
    gsf_input_read(stream, static_cast<size_t>(book.size()), reinterpret_cast<guint8*>(book.data()));
    g_object_unref(stream);
    g_object_unref(ole);
    g_object_unref(input);
    book.insert(book.size() - 4, records);
    GsfOutput* output = gsf_output_stdio_new(path.toUtf8().constData(), nullptr);
    GsfOutfile* out = gsf_outfile_msole_new(output);
    GsfOutput* child = gsf_outfile_new_child(out, "Workbook", FALSE);
    gsf_output_write(child, static_cast<size_t>(book.size()), reinterpret_cast<const guint8*>(book.constData()));
    gsf_output_close(child);
    g_object_unref(child);
    gsf_output_close(GSF_OUTPUT(out));
    g_object_unref(out);
    g_object_unref(output);
}

} // namespace

TEST(SpreadsheetReader, CellsAsText) {
    EXPECT_EQ(NumberText(19800503), QStringLiteral("19800503"));
    EXPECT_EQ(NumberText(1.5), QStringLiteral("1.5"));
    EXPECT_EQ(DateSerialText(29344, false), QStringLiteral("1980-05-03"));
    EXPECT_EQ(DateSerialText(29344.5, false), QStringLiteral("1980-05-03 12:00:00"));
    EXPECT_EQ(DateSerialText(0, true), QStringLiteral("1904-01-01"));
    EXPECT_TRUE(IsDateFormat(-1, QStringLiteral("yyyy\"年\"m\"月\"")));
    EXPECT_FALSE(IsDateFormat(-1, QStringLiteral("0.00\"天\"")));
    EXPECT_FALSE(IsDateFormat(-1, QStringLiteral("[Red]0")));
}

// Broken or hostile workbooks: refused when opened, or the sheet refused as a whole.
TEST(SpreadsheetReader, BadWorkbooks) {
    const QByteArray good = handMadeXlsx();
    auto withSheet = [](const char* sheet) {
        auto e = [](const char* name, const char* xml) { return ZipEntry{QString::fromUtf8(name), QByteArray(xml)}; };
        return WriteZip({e("xl/workbook.xml", "<workbook><sheets><sheet name=\"s\" r:id=\"a\"/></sheets></workbook>"),
                         e("xl/_rels/workbook.xml.rels", "<Relationships><Relationship Id=\"a\" Target=\"s.xml\"/></Relationships>"),
                         e("xl/sharedStrings.xml", "<sst><si><t>x</t></si></sst>"), e("xl/s.xml", sheet)},
                        nullptr);
    };
    struct Case {
        const char* what;
        QByteArray bytes;
        bool opens;
        bool reads; // a reference past the last column is taken as none: the next column
    };
    const Case cases[] = {
        {"html saved as .xls", "<html><body><table><tr><td>1</td></tr></table></body></html>", false, false},
        {"csv", "编号,姓名\r\n1,张三\r\n", false, false},
        {"truncated zip", good.left(good.size() / 2), false, false},
        {"compound file header only", QByteArray("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8) + QByteArray(504, '\0'), false, false},
        {"shared string out of range",
         withSheet("<worksheet><sheetData><row r=\"1\"><c r=\"A1\" t=\"s\"><v>0</v></c></row>"
                   "<row r=\"2\"><c r=\"A2\" t=\"s\"><v>7</v></c></row></sheetData></worksheet>"),
         true, false},
        {"entities in a DTD",
         withSheet("<!DOCTYPE w [<!ENTITY a \"aaaaaaaaaa\"><!ENTITY b \"&a;&a;&a;&a;&a;&a;&a;&a;\">]>"
                   "<worksheet><sheetData><row r=\"1\"><c t=\"inlineStr\"><is><t>&b;</t></is></c></row>"
                   "</sheetData></worksheet>"),
         true, false},
        {"cell beyond column 16384",
         withSheet("<worksheet><sheetData><row r=\"1\"><c r=\"XFE1\" t=\"s\"><v>0</v></c></row></sheetData></worksheet>"),
         true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        QString why;
        std::unique_ptr<SpreadsheetReader> book = SpreadsheetReader::OpenBytes(c.bytes, &why);
        ASSERT_EQ(book != nullptr, c.opens) << why.toStdString();
        if (!book) {
            EXPECT_FALSE(why.isEmpty());
            continue;
        }
        int rows = 0;
        const bool read = book->ReadSheet(QStringLiteral("s"), [&](int, const QStringList&) { return ++rows, true; }, &why);
        EXPECT_EQ(read, c.reads);
    }
}

TEST_F(GridTest, ImportingUpdatesByKeyAndAddsTheRest) {
    CAdoGridCtrl& grid = Bind();
    for (const char* ext : {"xls", "xlsx"}) {
        // The grid's own export: 序号 is no field; the key column finds every resident.
        const QString file = m_appDir.Path(QStringLiteral("mine.%1").arg(QString::fromLatin1(ext)));
        ASSERT_TRUE(grid.ExportRows(grid.GetRecordSet().IsOpen() ? std::vector<std::int32_t>{1, 2, 3, 4}
                                                                 : std::vector<std::int32_t>{},
                                    file));
        Exec(QStringLiteral("UPDATE 基本情况表 SET 姓名='改了' WHERE 编号=1"));
        m_files.Answer(file);
        m_boxes
            .OnNextBox([&](const ScriptedResponder::Box&) {
                QTest::qWait(700); // past the progress dialog's delay
                for (QProgressDialog* progress : grid.findChildren<QProgressDialog*>())
                    EXPECT_FALSE(progress->isVisible()) << "no progress left over the report";
            })
            .Expect(QStringLiteral("共成功导入4条记录。其中增加0条，更新4条。"));
        QSignalSpy imported(&grid, &CAdoGridCtrl::gridImported);
        grid.OnCommand(ID_GRID_IMPORT, 0);
        EXPECT_EQ(imported.size(), 1);
        EXPECT_EQ(Stored(1, "姓名"), QStringLiteral("张三")) << ext;
        EXPECT_EQ(Stored(1, "出生日期"), QStringLiteral("1980-05-03 00:00:00"));
        EXPECT_EQ(grid.GetItemCount(), 4) << "nobody added";
    }
}

// Sheets made by hand: key column absent, empty, not a number; the YYYYMMDD rule; a text
// too long for its column listed with its row while the others are stored; a blank row.
TEST_F(GridTest, ImportingRowsOfEveryKind) {
    CAdoGridCtrl& grid = Bind();
    const QString xls = m_appDir.Path(QStringLiteral("rows.xls"));
    writeBook(xls, QStringLiteral("基本情况表"),
              {{"工作单位", "姓名", "编号", "出生日期"},
               {"三组", "新人", "", "19800503"},
               {"三组", "坏键", "5 OR 1=1", ""},
               {"", "", "", ""},
               {"三组", "很长很长很长很长很长的名字", "", ""},
               {"四组", "改名", "2", "1980-5-3"}});
    m_files.Answer(xls);
    m_boxes.Answer(IDOK);
    grid.OnCommand(ID_GRID_IMPORT, 0);
    const QString report = m_boxes.Boxes().back().text;
    EXPECT_TRUE(report.startsWith(QStringLiteral("共成功导入2条记录。其中增加1条，更新1条。"))) << report.toStdString();
    EXPECT_TRUE(report.contains(QStringLiteral("第3行"))) << "the key that is no number";
    EXPECT_TRUE(report.contains(QStringLiteral("第5行"))) << "the name too long";
    EXPECT_EQ(Stored(2, "姓名"), QStringLiteral("改名"));
    EXPECT_EQ(Stored(2, "出生日期"), QStringLiteral("1980-05-03 00:00:00"));
    EXPECT_EQ(Stored(5, "出生日期"), QStringLiteral("1980-05-03 00:00:00")) << "19800503";
    EXPECT_EQ(Stored(6, "姓名"), QStringLiteral("<none>"));

    // A workbook made elsewhere, with numbers, dates, a formula and a boolean.
    m_appDir.Write(QStringLiteral("hand.xlsx"), handMadeXlsx());
    m_files.Answer(m_appDir.Path(QStringLiteral("hand.xlsx")));
    m_boxes.Expect(QStringLiteral("共成功导入2条记录。其中增加2条，更新0条。"));
    grid.OnCommand(ID_GRID_IMPORT, 0);
    EXPECT_EQ(Stored(6, "姓名"), QStringLiteral("张三")) << "rich text without its phonetic run";
    EXPECT_EQ(Stored(6, "出生日期"), QStringLiteral("1980-05-03 00:00:00"));
    EXPECT_EQ(Stored(6, "家庭人口"), QStringLiteral("3"));
    EXPECT_EQ(Stored(6, "工作单位"), QStringLiteral("一组")) << "the formula's cached value";
    EXPECT_EQ(Stored(6, "股民"), QStringLiteral("TRUE"));
    EXPECT_EQ(Stored(7, "出生日期"), QStringLiteral("1980-05-03 00:00:00"));
}

namespace {

// A .xlsx of one column: a shared string and in-line strings of the given texts, from row 2.
QByteArray oneColumnXlsx(const QString& shared, const QStringList& inlineTexts) {
    QByteArray sheet = "<worksheet><sheetData><row r=\"1\"><c t=\"s\"><v>0</v></c></row>"
                       "<row r=\"2\"><c t=\"s\"><v>1</v></c></row>";
    int row = 3;
    for (const QString& text : inlineTexts)
        sheet += "<row r=\"" + QByteArray::number(row++) + "\"><c t=\"inlineStr\"><is><t>" + text.toUtf8() +
                 "</t></is></c></row>";
    sheet += "</sheetData></worksheet>";
    auto e = [](const char* name, const QByteArray& xml) { return ZipEntry{QString::fromUtf8(name), xml}; };
    return WriteZip({e("xl/workbook.xml", "<workbook><sheets><sheet name=\"基本情况表\" r:id=\"a\"/></sheets></workbook>"),
                     e("xl/_rels/workbook.xml.rels", "<Relationships><Relationship Id=\"a\" Target=\"s.xml\"/></Relationships>"),
                     e("xl/sharedStrings.xml", "<sst><si><t>姓名</t></si><si><t>" + shared.toUtf8() + "</t></si></sst>"),
                     e("xl/s.xml", sheet)},
                    nullptr);
}

} // namespace

// A cell longer than a spreadsheet cell holds is cut at 32 767 characters while it streams
// (a character outside the BMP counts two), and its row is marked.
TEST(SpreadsheetReader, ACellIsCutAtTheSpreadsheetLimit) {
    const qsizetype limit = SpreadsheetReader::kMaxCellCharacters;
    const QString smile = QString::fromUcs4(U"\U0001F600");
    const QByteArray book = oneColumnXlsx(QString(40000, QChar(0x7532)),
                                          {QString(limit, QChar(0x4E59)), QString(limit - 1, QLatin1Char('a')) + smile,
                                           QString(limit - 2, QLatin1Char('b')) + smile, QStringLiteral("丙")});
    QString why;
    std::unique_ptr<SpreadsheetReader> reader = SpreadsheetReader::OpenBytes(book, &why);
    ASSERT_TRUE(reader) << why.toStdString();
    QStringList seen;
    ASSERT_TRUE(reader->ReadSheet(QStringLiteral("基本情况表"), [&](int row, const QStringList& cells) {
        seen << QStringLiteral("%1:%2:%3").arg(row).arg(cells.value(0).size()).arg(reader->RowWasCut() ? "cut" : "whole");
        return true;
    }, &why));
    EXPECT_EQ(seen, QStringList({"1:2:whole", "2:32767:cut", "3:32767:whole", "4:32766:cut", "5:32767:whole",
                                 "6:1:whole"}));
}

TEST_F(GridTest, ARowWithACutCellIsReportedNotImported) {
    CAdoGridCtrl& grid = Bind();
    m_appDir.Write(QStringLiteral("long.xlsx"), oneColumnXlsx(QString(40000, QChar(0x7532)), {QStringLiteral("丙")}));
    m_files.Answer(m_appDir.Path(QStringLiteral("long.xlsx")));
    m_boxes.Expect(QStringLiteral("共成功导入1条记录。其中增加1条，更新0条。\r\n以下各行没有导入：\r\n"
                                  "第2行：有单元格超过32767个字符"));
    grid.OnCommand(ID_GRID_IMPORT, 0);
    EXPECT_EQ(Stored(5, "姓名"), QStringLiteral("丙"));
}

TEST_F(GridTest, ImportRefusalsAndTheRight) {
    CAdoGridCtrl& grid = Bind();
    const QString other = m_appDir.Path(QStringLiteral("other.xlsx"));
    writeBook(other, QStringLiteral("别的表"), {{"姓名"}, {"甲"}});
    m_appDir.Write(QStringLiteral("page.xls"), "<html><body>not a workbook</body></html>");
    m_files.Answer(other).Answer(m_appDir.Path(QStringLiteral("page.xls")));
    m_boxes.Expect(QStringLiteral("打开 基本情况表 失败!")).Expect(QStringLiteral("打开Excel文件失败!"));
    const int shown = BusyCursor::TimesShown();
    grid.OnCommand(ID_GRID_IMPORT, 0);
    grid.OnCommand(ID_GRID_IMPORT, 0);
    EXPECT_EQ(BusyCursor::TimesShown(), shown + 2) << "the wait cursor while the file is read";
    EXPECT_EQ(QApplication::overrideCursor(), nullptr) << "and the cursor back after the refusals";
    grid.EnableImport(false);
    grid.OnCommand(ID_GRID_IMPORT, 0); // no dialog asked
    EXPECT_EQ(m_files.Requests().size(), 2u);
}

// Cancelling in the progress dialog takes back every row already written.
TEST_F(GridTest, CancellingAnImportKeepsTheTableAsItWas) {
    CAdoGridCtrl& grid = Bind();
    std::vector<QStringList> rows{{"姓名", "工作单位"}};
    for (int k = 0; k < 600; ++k)
        rows.push_back({QStringLiteral("新人%1").arg(k), QStringLiteral("五组")});
    const QString file = m_appDir.Path(QStringLiteral("many.xlsx"));
    writeBook(file, QStringLiteral("基本情况表"), rows);
    m_files.Answer(file);
    m_boxes.Expect(QStringLiteral("导入已取消，没有导入任何记录。"));
    QTimer::singleShot(0, &grid, [&grid] {
        for (QProgressDialog* progress : grid.findChildren<QProgressDialog*>())
            progress->cancel();
    });
    grid.OnCommand(ID_GRID_IMPORT, 0);
    EXPECT_EQ(Stored(5, "姓名"), QStringLiteral("<none>"));
    EXPECT_EQ(grid.GetItemCount(), 4);
}

// The sheet is read in pieces while rows are written: a part found broken at its end (here
// its checksum) takes back the rows already written.
TEST_F(GridTest, ASheetFoundBrokenAtItsEndImportsNothing) {
    CAdoGridCtrl& grid = Bind();
    std::vector<QStringList> rows{{"姓名", "工作单位"}};
    for (int k = 0; k < 50; ++k)
        rows.push_back({QStringLiteral("新人%1").arg(k), QStringLiteral("五组")});
    const QString file = m_appDir.Path(QStringLiteral("broken.xlsx"));
    writeBook(file, QStringLiteral("基本情况表"), rows);
    QByteArray bytes = m_appDir.Read(QStringLiteral("broken.xlsx"));
    const QByteArray sheetName("xl/worksheets/sheet1.xml");
    qsizetype central = -1;
    for (qsizetype at = bytes.indexOf(sheetName); at >= 0; at = bytes.indexOf(sheetName, at + 1))
        if (at >= 46 && bytes.mid(at - 46, 4) == QByteArray("PK\x01\x02", 4))
            central = at - 46;
    ASSERT_GE(central, 0);
    bytes[central + 16] = static_cast<char>(bytes[central + 16] ^ 0x5A); // the entry's CRC-32
    m_appDir.Write(QStringLiteral("broken.xlsx"), bytes);
    m_files.Answer(file);
    m_boxes.Expect(QStringLiteral("获得 基本情况表 内容失败!"));
    grid.OnCommand(ID_GRID_IMPORT, 0);
    EXPECT_EQ(Stored(5, "姓名"), QStringLiteral("<none>"));
    EXPECT_EQ(grid.GetItemCount(), 4);
}

// FreeXL leaves formula cells empty; their cached numbers, texts and booleans are read
// from the sheet's own records.
TEST(SpreadsheetReader, FormulaResultsInXls) {
    TestDir dir;
    const QString path = dir.Path(QStringLiteral("f.xls"));
    writeBook(path, QStringLiteral("基本情况表"), {{"姓名", "家庭人口", "股民", "工作单位"}, {"张三"}});
    QByteArray text("\x00\x00\x00\x00\x00\x00\xFF\xFF", 8), yes("\x01\x00\x01\x00\x00\x00\xFF\xFF", 8);
    const QString unit = QStringLiteral("一组");
    QByteArray chars;
    for (QChar c : unit)
        chars += char(c.unicode() & 0xFF), chars += char(c.unicode() >> 8);
    addToLastSheet(path, formula(1, 1, numberResult(3)) + formula(1, 2, yes) + formula(1, 3, text) +
                             record(0x0207, QByteArray("\x02\x00\x01", 3) + chars));
    QString why;
    auto book = SpreadsheetReader::Open(path, &why);
    ASSERT_TRUE(book) << why.toStdString();
    QStringList second;
    ASSERT_TRUE(book->ReadSheet(QStringLiteral("基本情况表"), [&](int row, const QStringList& cells) {
        if (row == 2)
            second = cells;
        return true;
    }, &why));
    EXPECT_EQ(second, (QStringList{QStringLiteral("张三"), QStringLiteral("3"), QStringLiteral("TRUE"), unit}));
}

// FreeXL allocates what a sheet's DIMENSIONS and the string table claim: claims beyond a
// workbook's limits are refused before FreeXL sees the file.
TEST(SpreadsheetReader, XlsClaimsBeyondTheLimits) {
    auto dimensions = [](quint32 rows, quint16 columns) {
        QByteArray b(14, '\0');
        std::memcpy(b.data() + 4, &rows, 4);
        std::memcpy(b.data() + 10, &columns, 2);
        return record(0x0200, b);
    };
    auto strings = [](quint32 unique) {
        QByteArray b(8, '\0');
        std::memcpy(b.data() + 4, &unique, 4);
        return record(0x00FC, b);
    };
    const QByteArray eof = record(0x000A, QByteArray());
    EXPECT_TRUE(XlsWithinBounds(dimensions(65536, 256) + strings(3) + eof));
    EXPECT_FALSE(XlsWithinBounds(dimensions(65537, 4) + eof));
    EXPECT_FALSE(XlsWithinBounds(dimensions(10, 257) + eof));
    EXPECT_FALSE(XlsWithinBounds(strings(0x7FFFFFFF) + eof));
    EXPECT_FALSE(XlsWithinBounds(QByteArray()));

    // Through the reader: the grid's own .xls opens; one with an inflated sheet does not.
    TestDir dir;
    const QString path = dir.Path(QStringLiteral("big.xls"));
    writeBook(path, QStringLiteral("s"), {{"a"}});
    QString why;
    EXPECT_TRUE(SpreadsheetReader::Open(path, &why));
    addToLastSheet(path, dimensions(0xFFFFFFF0u, 0xFFFF));
    EXPECT_FALSE(SpreadsheetReader::Open(path, &why));
}

// Files on which FreeXL itself faults (a bad free, an over-read) end its process, not ours:
// each is refused or read whole, and the program goes on.
TEST(SpreadsheetReader, FreeXlFaultsEndOnlyItsProcess) {
    const QDir known(QStringLiteral(VRIN_FUZZ_KNOWN));
    const QStringList files = known.entryList(QDir::Files);
    ASSERT_FALSE(files.isEmpty());
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        QString why;
        std::unique_ptr<SpreadsheetReader> book = SpreadsheetReader::Open(known.filePath(name), &why);
        if (!book) {
            EXPECT_FALSE(why.isEmpty());
            continue;
        }
        for (const QString& sheet : book->SheetNames())
            book->ReadSheet(sheet, [](int, const QStringList&) { return true; }, &why);
    }
    QString why;
    EXPECT_FALSE(SpreadsheetReader::Open(known.filePath(QStringLiteral("freexl-bad-free.xls")), &why));

    // Without its reading program a .xls is refused, saying why.
    TestDir dir;
    const QString good = dir.Path(QStringLiteral("good.xls"));
    writeBook(good, QStringLiteral("s"), {{"a"}, {"b"}});
    ASSERT_TRUE(SpreadsheetReader::Open(good, &why));
    qputenv("VRIN_XLSREAD", "/nonexistent/vrin-xlsread");
    EXPECT_FALSE(SpreadsheetReader::Open(good, &why));
    qunsetenv("VRIN_XLSREAD");
    EXPECT_TRUE(why.contains(QStringLiteral("无法启动"))) << why.toStdString();
}
