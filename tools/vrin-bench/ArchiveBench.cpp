// The archive window on 100 000 demo residents: the first fill with the counts, choosing a
// unit (also after another recordset stamped the connection), and the unit hierarchy of
// 2 000 units loaded into the tree and rebuilt in the editor's preview.

#include "Bench.h"

#include "app/archive/ArchiveQueries.h"
#include "app/archive/DlgGJRY.h"
#include "app/settings/SettingsFiles.h"
#include "app/shell/VRINApp.h"
#include "app/units/DlgSetDW.h"
#include "app/detail/DlgRYXXQK.h"
#include "app/detail/ResidentPhoto.h"
#include "platform/Jpeg.h"
#include "platform/ScriptedFileDialogs.h"
#include "platform/ScriptedResponder.h"
#include "app/users/Rights.h"
#include "adodb/ConnectionString.h"
#include "grid/AdoGridCtrl.h"
#include "platform/TextFile.h"
#include "widgets/PrintService.h"
#include "widgets/XTreeCtrl.h"
#include "office/PersonSheetTemplate.h"
#include <QDir>
#include <QFileInfo>
#include <QPrinter>
#include <QStandardPaths>

#include <QApplication>
#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>

#include <sqlite3.h>
#include <QPlainTextEdit>
#include <QTemporaryDir>
#include <QThread>

#include <cstdio>

namespace {

QString bigHierarchy(int units) {
    QString text = QStringLiteral("红星村");
    for (int k = 0; k < units; ++k)
        text += QStringLiteral("\r\n") + QString(1 + k % 4, QLatin1Char(' ')) +
                QStringLiteral("单位%1").arg(k);
    return text;
}

// One column of every row written by its key, in one transaction: the raw engine's pass.
double rawUpdate(const QString& path) {
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    std::vector<sqlite3_int64> keys;
    sqlite3_stmt* read = nullptr;
    sqlite3_prepare_v2(db, "SELECT 编号 FROM 基本情况表", -1, &read, nullptr);
    while (sqlite3_step(read) == SQLITE_ROW)
        keys.push_back(sqlite3_column_int64(read, 0));
    sqlite3_finalize(read);
    const double t = Seconds([&] {
        sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr);
        sqlite3_stmt* write = nullptr;
        sqlite3_prepare_v2(db, "UPDATE 基本情况表 SET 显示=? WHERE 编号=?", -1, &write, nullptr);
        for (size_t k = 0; k < keys.size(); ++k) {
            sqlite3_bind_text(write, 1, k % 2 ? "是" : "否", -1, SQLITE_STATIC);
            sqlite3_bind_int64(write, 2, keys[k]);
            sqlite3_step(write);
            sqlite3_reset(write);
        }
        sqlite3_finalize(write);
        sqlite3_exec(db, "ROLLBACK", nullptr, nullptr, nullptr);
    });
    sqlite3_close(db);
    return t;
}

QString scalar(const QString& path, const char* sql) {
    sqlite3* db = nullptr;
    sqlite3_open(path.toUtf8().constData(), &db);
    sqlite3_stmt* stmt = nullptr;
    QString value;
    if (sqlite3_prepare_v2(db, sql, -1, &stmt, nullptr) == SQLITE_OK && sqlite3_step(stmt) == SQLITE_ROW)
        value = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return value;
}

void reportBeside(const char* name, double ours, double scan, double update, const QString& limit) {
    std::printf("%-24s ours %8.3f s   raw scan %6.3f s   raw update %6.3f s   ratio %.2f (scan)   limit %s\n",
                name, ours, scan, update, ours / scan, limit.toUtf8().constData());
}

void runQueryFigures(CDlgGJRY& window, const QString& path, double scan, double fill) {
    const double update = rawUpdate(path);
    ScriptedResponder yes([](const QString&) {});
    auto setText = [&](int id, const QString& text) {
        qobject_cast<QLineEdit*>(window.GetDlgItem(id))->setText(text);
    };
    // "慢" with one term found in about a tenth of the residents (a common surname).
    const QString surname = scalar(path, "SELECT substr(姓名,1,1) s FROM 基本情况表 GROUP BY s "
                                         "ORDER BY abs(count(*)-10000) LIMIT 1");
    window.Tree()->setCurrentItem(window.RootItem());
    qobject_cast<QRadioButton*>(window.GetDlgItem(1048))->setChecked(true);
    setText(1004, surname);
    const double slow = Seconds([&] { window.OnFuzzyQuery(); });
    reportBeside("fuzzy_slow", slow, scan, update,
                 QStringLiteral("%1 s (fill + update + 2 scan)").arg(fill + update + 2 * scan, 0, 'f', 3));
    std::printf("%-24s (%d residents named %s*)\n", "", window.Grid()->GetItemCount(), surname.toUtf8().constData());

    // "快" on a unit with an age range.
    QTreeWidgetItem* unit = window.Tree()->findItems(QStringLiteral("西院"), Qt::MatchRecursive).value(0);
    window.Tree()->setCurrentItem(unit);
    const int listed = window.Grid()->GetItemCount();
    qobject_cast<QRadioButton*>(window.GetDlgItem(1047))->setChecked(true);
    qobject_cast<QCheckBox*>(window.GetDlgItem(1033))->setChecked(true);
    setText(1034, QStringLiteral("18"));
    setText(1035, QStringLiteral("60"));
    setText(1004, QString());
    const double fast = Seconds([&] { window.OnFuzzyQuery(); });
    reportBeside("fuzzy_fast", fast, scan, update, QStringLiteral("%1 s (2 scan)").arg(2 * scan, 0, 'f', 3));
    std::printf("%-24s (%d of the unit's %d residents aged 18 to 60)\n", "", window.Grid()->GetItemCount(), listed);
    qobject_cast<QCheckBox*>(window.GetDlgItem(1033))->setChecked(false);

    // The exact query's list of about 1 000 (a two-character name prefix).
    const QString prefix = scalar(path, "SELECT substr(姓名,1,2) p FROM 基本情况表 GROUP BY p "
                                        "ORDER BY abs(count(*)-1000) LIMIT 1");
    const QString exact = ExactQuery(
        [&](const QString& c) { return c == QStringLiteral("姓名") ? prefix : QString(); }, 0);
    const double query = Seconds([&] {
        window.Grid()->SetQuery(exact);
        window.Grid()->Refresh(false);
    });
    reportBeside("exact_query", query, scan, update, QStringLiteral("%1 s (scan + 0.1 s)").arg(scan + 0.1, 0, 'f', 3));
    std::printf("%-24s (%d listed)\n", "", window.Grid()->GetItemCount());

    const double duplicates = Seconds([&] { window.OnFindDuplicateNames(); });
    reportBeside("duplicate_names", duplicates, scan, update,
                 QStringLiteral("%1 s (fill + 4 scan)").arg(fill + 4 * scan, 0, 'f', 3));
    std::printf("%-24s (%d residents share a name)\n", "", window.Grid()->GetItemCount());

    const double ages = Seconds([&] { window.OnRecomputeAges(); });
    reportBeside("ages_pass", ages, scan, update, QStringLiteral("%1 s (2 update)").arg(2 * update, 0, 'f', 3));

    window.m_nSelectedRow = 0;
    yes.Answer(IDYES);
    const double removeRow = Seconds([&] { window.OnDeleteRow(); });
    reportBeside("delete_row", removeRow, scan, update, QStringLiteral("0.100 s"));
    std::printf("%-24s %.1f MB\n", "peak_memory_queries", PeakMegabytes());
    yes.Answer(IDYES);
    const double removeAll = Seconds([&] { window.OnDeleteAll(); });
    reportBeside("delete_all", removeAll, scan, update, QStringLiteral("%1 s (update)").arg(update, 0, 'f', 3));
}

} // namespace

int RunArchiveBench(int rows) {
    QTemporaryDir dir;
    qputenv("VRIN_APPDIR", dir.path().toLocal8Bit());
    const QString folder = dir.path() + QLatin1Char('/');
    const QString path = folder + QStringLiteral("人员档案.mdb");
    if (!CreateDemoDatabase(path, rows, "archive"))
        return 1;

    const double raw = Best(3, [&] { RawReadAll(path, "基本情况表"); });

    CVRINApp app;
    app.m_strAppDir = app.m_strDataDir = folder;
    app.m_pConnection = adodb::Connection::Create();
    app.m_pConnection->Open(adodb::JetConnectionString(path), QString(), QString(), -1);
    app.m_adoConnection.OpenJetDatabase(path);
    g_nUserRight = 99;

    double fill = 0;
    {
        CDlgGJRY window;
        window.show(); // opens it: tree, layout, timer
        fill = Seconds([&] { window.OnTimer(1); });
        std::printf("%-24s ours %8.3f s   raw %8.3f s   ratio %.2f   (%d listed)\n",
                    "archive_first_fill", fill, raw, fill / raw, window.Grid()->GetItemCount());
        const double counts = Seconds([&] { window.RunStatistics(); });
        Report("archive_counts", counts, raw);
        QTreeWidgetItem* group = window.Tree()->findItems(QStringLiteral("第一村民组"),
                                                          Qt::MatchExactly | Qt::MatchRecursive)
                                     .value(0);
        QTreeWidgetItem* other = window.Tree()->findItems(QStringLiteral("村委会"),
                                                          Qt::MatchExactly | Qt::MatchRecursive)
                                     .value(0);
        const double select = Seconds([&] { window.Tree()->setCurrentItem(group); });
        Report("archive_select_unit", select, raw);
        std::printf("%-24s (%d residents of 第一村民组)\n", "", window.Grid()->GetItemCount());
        window.Tree()->setCurrentItem(other);
        // Another recordset opens on the connection a second later: the list's own query must
        // not be read twice because of it.
        QThread::msleep(1100);
        CAdoRecordSet stamp;
        stamp.SetAdoConnection(&app.m_adoConnection);
        stamp.Open(QStringLiteral("SELECT * FROM 基本情况表 WHERE 编号=1"));
        const double after = Seconds([&] { window.Tree()->setCurrentItem(group); });
        Report("archive_select_stamped", after, raw);
        std::printf("%-24s %.1f MB\n", "peak_memory_archive", PeakMegabytes());

        // The detail form on a resident of the list, and one step.
        window.Tree()->setCurrentItem(window.RootItem());
        CAdoRecordSet& rs = window.Grid()->GetRecordSet();
        if (!rs.Find(QStringLiteral("编号=5000")))
            std::fprintf(stderr, "resident 5000 not found\n");
        CDlgRYXXQK form;
        form.m_pRecordSet = &rs;
        const double open = Seconds([&] {
            form.show();
            QCoreApplication::processEvents();
        });
        std::printf("%-24s ours %8.3f s   raw %8.3f s   ratio %.2f   (limit raw + 0.05 s)\n",
                    "detail_open", open, raw, open / raw);
        const QString before = form.Value(QStringLiteral("姓名"));
        const double step = Seconds([&] { form.OnNext(); });
        if (form.Value(QStringLiteral("姓名")).isEmpty() || before.isEmpty())
            std::fprintf(stderr, "the form showed nobody\n");
        std::printf("%-24s ours %8.3f s   raw %8.3f s   ratio %.2f   (limit raw + 0.05 s)\n",
                    "detail_next", step, raw, step / raw);

        // A 4000 x 3000 photo chosen and scaled to 300 pixels.
        RgbImage big;
        big.width = 4000;
        big.height = 3000;
        big.pixels.assign(size_t(4000) * 3000 * 3, 90);
        for (size_t k = 0; k < big.pixels.size(); k += 5)
            big.pixels[k] = static_cast<unsigned char>(k % 253);
        const QString photo = folder + QStringLiteral("big.jpg");
        WriteFileAtomic(photo, EncodeJpeg(big, 90));
        ScriptedResponder yes([](const QString&) {});
        yes.Answer(IDYES);
        ScriptedFileDialogs files([](const QString&) {});
        files.Answer(photo);
        const double choose = Seconds([&] { form.OnChangePhoto(); });
        std::printf("%-24s ours %8.3f s   budget %6.3f s   ratio %.2f\n", "photo_choose_4000x3000",
                    choose, 0.5, choose / 0.5);
        // The person sheet with the 300-pixel photo just chosen.
        QStandardPaths::setTestModeEnabled(true);
        const QString workingFolder = QDir::currentPath();
        QDir::setCurrent(folder);
        WriteFileAtomic(folder + QStringLiteral("人员情况表.dot"), PersonSheetTemplate());
        const double sheet = Seconds([&] { form.OnPrint(); });
        std::printf("%-24s ours %8.3f s   budget %6.3f s   ratio %.2f\n", "person_sheet", sheet, 0.2, sheet / 0.2);
        QDir::setCurrent(workingFolder);
        form.hide();

        // One certificate into a PDF file.
        struct IntoPdf : PrintDialogService {
            QString file;
            bool ChoosePrinter(QWidget*, QPrinter& printer) override {
                printer.setOutputFormat(QPrinter::PdfFormat);
                printer.setOutputFileName(file);
                return true;
            }
        } pdf;
        pdf.file = folder + QStringLiteral("certificate.pdf");
        PrintDialogService* previous = SetPrintDialogService(&pdf);
        window.m_nSelectedRow = 0;
        const double certificate = Seconds([&] { window.OnPrintCertificate(); });
        std::printf("%-24s ours %8.3f s   budget %6.3f s   ratio %.2f\n", "certificate_pdf", certificate, 0.2,
                    certificate / 0.2);
        SetPrintDialogService(previous);

        runQueryFigures(window, path, raw, fill);
        window.hide();
    }

    // 2 000 units: the tree from the file, and the editor's preview of the same text.
    const QString unitFile = folder + kUnitFile;
    WriteTextFileAtomic(unitFile, bigHierarchy(2000));
    CXTreeCtrl tree;
    QTreeWidgetItem* root = nullptr;
    const double load = Best(3, [&] { app.LoadUnitTree(&tree, root, unitFile); });
    std::printf("%-24s ours %8.3f s   budget %6.3f s   ratio %.2f\n", "units_load_2000", load,
                0.050, load / 0.050);
    CDlgSetDW editor;
    editor.m_strPath = unitFile;
    editor.show();
    auto* text = editor.findChild<QPlainTextEdit*>();
    // A keystroke and the preview it brings (the dialog builds it at most every 200 ms).
    auto keystroke = [](CDlgSetDW& dialog, QPlainTextEdit* box) {
        box->insertPlainText(QStringLiteral("x"));
        dialog.RebuildPreview();
    };
    const double preview = Best(3, [&] { keystroke(editor, text); });
    std::printf("%-24s ours %8.3f s   budget %6.3f s   ratio %.2f\n", "units_preview_2000", preview,
                0.050, preview / 0.050);

    // The largest file the editor takes (just under 4 MB): opening it, and a keystroke.
    WriteTextFileAtomic(unitFile, bigHierarchy(285000));
    const double bytes = static_cast<double>(QFileInfo(unitFile).size());
    CDlgSetDW large;
    large.m_strPath = unitFile;
    const double open = Seconds([&] { large.show(); });
    std::printf("%-24s ours %8.3f s   budget %6.3f s   ratio %.2f   (%.1f MB)\n", "units_editor_open_4mb", open,
                5.0, open / 5.0, bytes / 1048576.0);
    auto* largeText = large.findChild<QPlainTextEdit*>();
    largeText->moveCursor(QTextCursor::End);
    const double largeKey = Seconds([&] { keystroke(large, largeText); });
    std::printf("%-24s ours %8.3f s\n", "units_preview_4mb", largeKey);
    return fill > 0 ? 0 : 1;
}
