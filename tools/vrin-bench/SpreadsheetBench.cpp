// Export and import of the resident list on demo residents: .xlsx against libxlsxwriter
// writing the same texts alone, .xls against its 2 s target, and the import of the grid's
// own .xlsx and .xls (every row an update) against expat or FreeXL reading the sheet plus the
// same UPDATEs in raw SQLite. Ours run first, so the peak memory is theirs with the grid.

#include "Bench.h"

#include "ado/AdoConnection.h"
#include "grid/AdoGridCtrl.h"
#include "office/SpreadsheetReader.h"
#include "office/XlsChild.h"
#include "office/ZipArchive.h"
#include "platform/ScriptedFileDialogs.h"
#include "platform/ScriptedResponder.h"
#include "widgets/ControlIds.h"

#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QWidget>

#include <expat.h>
#include <freexl.h>
#include <sqlite3.h>
#include <xlsxwriter.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <vector>

namespace {

using Table = std::vector<QStringList>;

Table gridTexts(CAdoGridCtrl& grid) {
    Table rows;
    QStringList heading;
    for (int c = 0; c < grid.GetColumnCount(); ++c)
        heading << grid.GetHeadingText(c);
    rows.push_back(heading);
    for (int r = 0; r < grid.GetItemCount(); ++r) {
        QStringList row;
        for (int c = 0; c < grid.GetColumnCount(); ++c)
            row << grid.GetItemText(r, c);
        rows.push_back(row);
    }
    return rows;
}

void rawXlsx(const QString& path, const Table& rows) {
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    lxw_workbook* book = workbook_new_opt(path.toUtf8().constData(), &options);
    lxw_worksheet* sheet = workbook_add_worksheet(book, "基本情况表");
    for (size_t r = 0; r < rows.size(); ++r)
        for (int c = 0; c < rows[r].size(); ++c)
            worksheet_write_string(sheet, static_cast<lxw_row_t>(r), static_cast<lxw_col_t>(c),
                                   rows[r][c].toUtf8().constData(), nullptr);
    workbook_close(book);
}

// Expat over the sheet part, keeping the texts of <v> and <t> as a reader must.
void rawExpatRead(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    std::vector<ZipEntry> entries;
    ReadZip(file.readAll(), entries, nullptr);
    long long kept = 0;
    for (const ZipEntry& e : entries) {
        if (!e.name.startsWith(QLatin1String("xl/worksheets/")) && e.name != QLatin1String("xl/sharedStrings.xml"))
            continue;
        XML_Parser parser = XML_ParserCreate("UTF-8");
        XML_SetUserData(parser, &kept);
        XML_SetCharacterDataHandler(parser, [](void* data, const XML_Char*, int length) {
            *static_cast<long long*>(data) += length;
        });
        XML_Parse(parser, e.data.constData(), static_cast<int>(e.data.size()), XML_TRUE);
        XML_ParserFree(parser);
    }
}

// The same UPDATEs the import makes, by key, in one transaction.
void rawUpdates(const QString& path, const Table& rows) {
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_stmt* info = nullptr;
    sqlite3_prepare_v2(db, "PRAGMA table_info(基本情况表)", -1, &info, nullptr);
    QString key;
    QSet<QString> fields;
    while (sqlite3_step(info) == SQLITE_ROW) {
        const QString name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info, 1)));
        const QString type = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(info, 2)));
        if (key.isEmpty())
            key = name;
        else if (!type.contains(QLatin1String("BLOB"), Qt::CaseInsensitive))
            fields.insert(name);
    }
    sqlite3_finalize(info);
    int keyColumn = -1;
    std::vector<int> columns;
    QStringList sets;
    for (int c = 0; c < rows[0].size(); ++c) {
        if (rows[0][c] == key)
            keyColumn = c;
        else if (fields.contains(rows[0][c])) {
            columns.push_back(c);
            sets << QLatin1Char('"') + rows[0][c] + QStringLiteral("\"=?");
        }
    }
    const QString sql = QStringLiteral("UPDATE 基本情况表 SET %1 WHERE \"%2\"=?").arg(sets.join(QLatin1Char(',')), key);
    sqlite3_stmt* update = nullptr;
    sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &update, nullptr);
    sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr);
    for (size_t r = 1; r < rows.size(); ++r) {
        int n = 1;
        for (int c : columns) {
            const QByteArray text = rows[r][c].toUtf8();
            sqlite3_bind_text(update, n++, text.constData(), static_cast<int>(text.size()), SQLITE_TRANSIENT);
        }
        sqlite3_bind_int(update, n, rows[r][keyColumn].toInt());
        sqlite3_step(update);
        sqlite3_reset(update);
    }
    sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_finalize(update);
    sqlite3_close(db);
}

// FreeXL reading every cell of the first sheet, as the import's reader must.
void rawFreeXlRead(const QString& path) {
    const void* handle = nullptr;
    if (freexl_open(QFile::encodeName(path).constData(), &handle) != FREEXL_OK)
        return;
    unsigned int rows = 0;
    unsigned short columns = 0;
    long long kept = 0;
    if (freexl_select_active_worksheet(handle, 0) == FREEXL_OK &&
        freexl_worksheet_dimensions(handle, &rows, &columns) == FREEXL_OK) {
        for (unsigned int r = 0; r < rows; ++r)
            for (unsigned short c = 0; c < columns; ++c) {
                FreeXL_CellValue cell;
                if (freexl_get_cell_value(handle, r, c, &cell) == FREEXL_OK &&
                    (cell.type == FREEXL_CELL_SST_TEXT || cell.type == FREEXL_CELL_TEXT))
                    kept += static_cast<long long>(std::strlen(cell.value.text_value));
            }
    }
    freexl_close(handle);
}

// The peak memory of the .xls reading process once it has sent the whole sheet.
double xlsreadPeak(const QString& path) {
    XlsChild reader;
    if (!reader.Start(path, nullptr) || !reader.ReceiveNames(nullptr) ||
        !reader.ReadSheet(0, [](unsigned int, const std::vector<XlsCell>&) { return true; }))
        return 0;
    QFile status(QStringLiteral("/proc/%1/status").arg(reader.ProcessId()));
    status.open(QIODevice::ReadOnly);
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).trimmed().split(' ').value(0).toDouble() / 1024.0;
    return 0;
}

// Runs work in a child process of its own (its memory apart from this one's); FALSE when
// it fails.
bool inChild(const std::function<bool()>& work) {
    std::fflush(stdout);
    const pid_t pid = fork();
    if (pid == 0) {
        const bool done = work();
        std::fflush(stdout);
        _exit(done ? 0 : 1);
    }
    int status = 0;
    return pid > 0 && waitpid(pid, &status, 0) == pid && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

} // namespace

// A small .xlsx whose one cell holds 1 000 MB of text, made by a child process and read by
// this one, which holds nothing else: its peak memory is the reader's.
int RunHugeCellBench() {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("huge.xlsx"));
    const qsizetype cellBytes = qsizetype(1000) * 1024 * 1024;
    const bool made = inChild([&] {
        QByteArray sheet("<worksheet><sheetData><row r=\"1\"><c t=\"inlineStr\"><is><t>");
        sheet.append(cellBytes, 'x');
        sheet.append("</t></is></c></row></sheetData></worksheet>");
        auto e = [](const char* name, QByteArray xml) { return ZipEntry{QString::fromUtf8(name), std::move(xml)}; };
        QFile file(path);
        return file.open(QIODevice::WriteOnly) &&
               file.write(WriteZip({e("xl/workbook.xml", "<workbook><sheets><sheet name=\"基本情况表\" r:id=\"a\"/>"
                                                          "</sheets></workbook>"),
                                    e("xl/_rels/workbook.xml.rels",
                                      "<Relationships><Relationship Id=\"a\" Target=\"s.xml\"/></Relationships>"),
                                    e("xl/s.xml", std::move(sheet))},
                                   nullptr)) > 0;
    });
    if (!made)
        return 1;
    const double before = PeakMegabytes();
    qsizetype kept = 0;
    bool cut = false;
    const double t = Seconds([&] {
        QString why;
        std::unique_ptr<SpreadsheetReader> book = SpreadsheetReader::Open(path, &why);
        if (book)
            book->ReadSheet(QStringLiteral("基本情况表"), [&](int, const QStringList& cells) {
                kept = cells.value(0).size();
                cut = book->RowWasCut();
                return true;
            }, &why);
    });
    std::printf("%-24s ours %8.3f s   (a cell of 1000 MB in a %.1f MB .xlsx: %lld characters kept%s)\n",
                "read_huge_cell", t, static_cast<double>(QFile(path).size()) / 1048576.0,
                static_cast<long long>(kept), cut ? ", the row marked" : "");
    std::printf("%-24s %.1f MB (reading that workbook; %.1f MB before it)\n", "peak_memory_huge_cell",
                PeakMegabytes(), before);
    return cut && kept == SpreadsheetReader::kMaxCellCharacters ? 0 : 1;
}

int RunSpreadsheetBench(int rows) {
    QTemporaryDir dir;
    qputenv("VRIN_APPDIR", dir.path().toLocal8Bit());
    const QString path = dir.filePath(QStringLiteral("人员档案.mdb"));
    if (!CreateDemoDatabase(path, rows, "spreadsheet"))
        return 1;
    bool unexpected = false;
    auto fail = [&](const QString& why) {
        unexpected = true;
        std::fprintf(stderr, "%s\n", why.toUtf8().constData());
    };
    ScriptedResponder boxes(fail);
    ScriptedFileDialogs files(fail);

    CAdoConnection conn;
    conn.OpenJetDatabase(path);
    QWidget window;
    auto* grid = new CAdoGridCtrl(&window);
    SetControlId(grid, 1010);
    grid->SetConnection(&conn);
    grid->SetTable(QStringLiteral("基本情况表"));
    grid->Refresh(true);
    std::vector<std::int32_t> keys;
    for (int r = 0; r < grid->GetItemCount(); ++r)
        keys.push_back(grid->GetItemData(r));
    const double gridPeak = PeakMegabytes();

    // Ours first, so that the peak memory is the grid's plus the export's and the import's.
    const QString xlsx = dir.filePath(QStringLiteral("基本情况表.xlsx"));
    const QString xls = dir.filePath(QStringLiteral("基本情况表.xls"));
    bool exported = false;
    const double oursWrite = Seconds([&] { exported = grid->ExportRows(keys, xlsx); });
    const std::vector<std::int32_t> fit(keys.begin(), keys.begin() + std::min<size_t>(keys.size(), 65535));
    bool exportedXls = false;
    const double oursXls = Seconds([&] { exportedXls = grid->ExportRows(fit, xls); });
    files.Answer(xlsx);
    boxes.Answer(IDOK);
    const double oursImport = Seconds([&] { grid->ImportFromSpreadsheet(); });
    const QString report = boxes.Boxes().empty() ? QString() : boxes.Boxes().back().text;
    files.Answer(xls);
    boxes.Answer(IDOK);
    const double oursXlsImport = Seconds([&] { grid->ImportFromSpreadsheet(); });
    const double oursPeak = PeakMegabytes();

    const Table texts = gridTexts(*grid);
    const double rawWrite = Seconds([&] { rawXlsx(dir.filePath(QStringLiteral("raw.xlsx")), texts); });
    Report("export_xlsx", oursWrite, rawWrite);
    Report("export_xls", oursXls, 2.0);
    std::printf("%-24s (%zu rows; reference: the 2 s target)\n", "", fit.size());

    const double rawRead = Seconds([&] { rawExpatRead(xlsx); });
    const double rawWriteRows = Seconds([&] { rawUpdates(path, texts); });
    Report("import_xlsx", oursImport, rawRead + rawWriteRows);
    std::printf("%-24s (%s; reference: expat %.3f s + raw UPDATEs %.3f s)\n", "",
                report.section(QLatin1Char('\n'), 0, 0).toUtf8().constData(), rawRead, rawWriteRows);

    const Table fitTexts(texts.begin(), texts.begin() + static_cast<long>(fit.size() + 1));
    const double rawXlsRead = Seconds([&] { rawFreeXlRead(xls); });
    const double rawXlsRows = Seconds([&] { rawUpdates(path, fitTexts); });
    Report("import_xls", oursXlsImport, rawXlsRead + rawXlsRows);
    std::printf("%-24s (reference: FreeXL reading the sheet %.3f s + the same UPDATEs in raw SQLite %.3f s)\n", "",
                rawXlsRead, rawXlsRows);
    std::printf("%-24s %.1f MB (of which the grid of %zu rows: %.1f MB)\n", "peak_memory_spreadsheet", oursPeak,
                keys.size(), gridPeak);
    std::printf("%-24s %.1f MB (FreeXL in vrin-xlsread, the %zu-row sheet read)\n", "peak_memory_xlsread",
                xlsreadPeak(xls), fit.size());
    return exported && exportedXls && !unexpected ? 0 : 1;
}
