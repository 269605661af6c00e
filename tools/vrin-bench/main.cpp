// vrin-bench: measures the data layer against the raw engine on the same file, in one run.
//
//   vrin-bench [--rows N]      (default 100000)
//
// Part "data": a table of 43 columns (the key and 42 texts of 2 to 10 Chinese characters)
// through the data layer. Part "grid": the resident list on the delivered database with
// demo residents (GridBench.cpp); "archive" (ArchiveBench.cpp); "spreadsheet": export and
// import (SpreadsheetBench.cpp); "huge-cell": a workbook whose one cell holds 1 000 MB.
// Without --part all run, each in its own process. One
// line per figure: its name, our time, the raw time and their ratio; peak memory lines.

#include "Bench.h"

#include "ResidentDatabase.h"

#include "ado/AdoConnection.h"
#include "ado/AdoRecordSet.h"
#include "adodb/SqliteProvider.h"

#include <QApplication>
#include <QCoreApplication>
#include <QProcess>
#include <QElapsedTimer>
#include <QRandomGenerator>
#include <QStringList>
#include <QTemporaryDir>

#include <sqlite3.h>
#include <sys/resource.h>

#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kTextColumns = 42;

QString columnName(int i) {
    return QStringLiteral("字段%1").arg(i, 2, 10, QLatin1Char('0'));
}

QString chineseText(QRandomGenerator& random) {
    static const QString pool = QStringLiteral("张王李赵刘陈杨黄周吴徐孙胡朱高林何郭马罗梁宋郑谢韩"
                                               "唐冯于董萧程曹袁邓许傅沈曾彭吕苏卢蒋蔡贾丁魏"
                                               "薛叶阎余潘杜戴夏钟汪田任姜范方石姚谭廖邹熊金陆郝孔"
                                               "白崔康毛邱秦江史顾侯邵孟龙万段雷钱汤尹黎易常武"
                                               "村组院街路号楼门东西南北中大小新老红星光明建设");
    int length = 2 + static_cast<int>(random.bounded(9));
    QString text;
    for (int k = 0; k < length; ++k)
        text += pool.at(static_cast<int>(random.bounded(pool.size())));
    return text;
}

void check(int rc, sqlite3* db, const char* what) {
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "%s: %s\n", what, sqlite3_errmsg(db));
        std::exit(1);
    }
}

void buildDatabase(const QString& path, int rows) {
    adodb::CreateDatabaseFile(path);
    CAdoConnection conn;
    if (!conn.OpenJetDatabase(path)) {
        std::fprintf(stderr, "%s\n", conn.m_strLastError.toUtf8().constData());
        std::exit(1);
    }
    QStringList columns{QStringLiteral("编号 COUNTER")};
    for (int i = 1; i <= kTextColumns; ++i)
        columns << columnName(i) + QStringLiteral(" VARCHAR(20)");
    conn.Execute(QStringLiteral("CREATE TABLE t (%1)").arg(columns.join(QStringLiteral(", "))),
                 adodb::adCmdText);
    conn.Close();

    sqlite3* db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db, "open");
    check(sqlite3_exec(db, "BEGIN", nullptr, nullptr, nullptr), db, "begin");
    QString sql = QStringLiteral("INSERT INTO t VALUES (NULL") +
                  QStringLiteral(",?").repeated(kTextColumns) + QLatin1Char(')');
    sqlite3_stmt* insert = nullptr;
    check(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &insert, nullptr), db, "prepare");
    QRandomGenerator random(20261210);
    for (int r = 0; r < rows; ++r) {
        for (int c = 1; c <= kTextColumns; ++c) {
            QByteArray text = chineseText(random).toUtf8();
            sqlite3_bind_text(insert, c, text.constData(), static_cast<int>(text.size()),
                              SQLITE_TRANSIENT);
        }
        check(sqlite3_step(insert), db, "insert");
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    sqlite3_close(db);
}

double rawUpdateAll(const QString& path, int rows) {
    sqlite3* db = nullptr;
    check(sqlite3_open(path.toUtf8().constData(), &db), db, "open");
    QRandomGenerator random(7);
    std::vector<QByteArray> texts;
    for (int r = 0; r < rows; ++r)
        texts.push_back(chineseText(random).toUtf8());
    double t = Seconds([&] {
        check(sqlite3_exec(db, "BEGIN IMMEDIATE", nullptr, nullptr, nullptr), db, "begin");
        sqlite3_stmt* stmt = nullptr;
        QString sql = QStringLiteral("UPDATE t SET %1=? WHERE _ROWID_=?").arg(columnName(1));
        check(sqlite3_prepare_v2(db, sql.toUtf8().constData(), -1, &stmt, nullptr), db, "prepare");
        for (int r = 0; r < rows; ++r) {
            sqlite3_bind_text(stmt, 1, texts[r].constData(), static_cast<int>(texts[r].size()),
                              SQLITE_STATIC);
            sqlite3_bind_int64(stmt, 2, r + 1);
            check(sqlite3_step(stmt), db, "update");
            sqlite3_reset(stmt);
        }
        sqlite3_finalize(stmt);
        check(sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr), db, "commit");
    });
    sqlite3_close(db);
    return t;
}

} // namespace

double Seconds(const std::function<void()>& work) {
    QElapsedTimer timer;
    timer.start();
    work();
    return static_cast<double>(timer.nsecsElapsed()) / 1e9;
}

double Best(int runs, const std::function<void()>& work) {
    double fastest = 1e300;
    for (int i = 0; i < runs; ++i)
        fastest = std::min(fastest, Seconds(work));
    return fastest;
}

bool CreateDemoDatabase(const QString& path, int rows, const char* part) {
    QString error;
    if (!CreateResidentDatabase(path, {43, rows, 1, 2026}, &error)) {
        std::fprintf(stderr, "%s\n", error.toUtf8().constData());
        return false;
    }
    std::printf("%s: %d demo residents in %s\n", part, rows, path.toUtf8().constData());
    return true;
}

void Report(const char* name, double ours, double raw) {
    std::printf("%-24s ours %8.3f s   raw %8.3f s   ratio %.2f\n", name, ours, raw, ours / raw);
    std::fflush(stdout);
}

double RawReadAll(const QString& path, const char* table) {
    sqlite3* db = nullptr;
    check(sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READONLY, nullptr), db,
          "open");
    long long bytes = 0;
    const QByteArray sql = QByteArray("SELECT * FROM ") + table;
    double t = Seconds([&] {
        sqlite3_stmt* stmt = nullptr;
        check(sqlite3_prepare_v2(db, sql.constData(), -1, &stmt, nullptr), db, "prepare");
        const int n = sqlite3_column_count(stmt);
        while (sqlite3_step(stmt) == SQLITE_ROW)
            for (int c = 0; c < n; ++c) {
                const unsigned char* text = sqlite3_column_text(stmt, c);
                bytes += sqlite3_column_bytes(stmt, c) + (text ? text[0] : 0);
            }
        sqlite3_finalize(stmt);
    });
    sqlite3_close(db);
    if (bytes == 0)
        std::fprintf(stderr, "no rows read\n");
    return t;
}

double PeakMegabytes() {
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return static_cast<double>(usage.ru_maxrss) / 1024.0;
}

namespace {

int runDataBench(int rows);

} // namespace

int main(int argc, char** argv) {
    int rows = 100000;
    QString part;
    for (int i = 1; i < argc; ++i) {
        QString arg = QString::fromLocal8Bit(argv[i]);
        if (arg == QLatin1String("--rows") && i + 1 < argc) {
            rows = QString::fromLocal8Bit(argv[++i]).toInt();
        } else if (arg == QLatin1String("--part") && i + 1 < argc) {
            part = QString::fromLocal8Bit(argv[++i]);
        } else {
            std::fprintf(stderr, "usage: vrin-bench [--rows N] [--part data|grid|archive|spreadsheet|huge-cell]\n");
            return 2;
        }
    }
    if (rows <= 0) {
        std::fprintf(stderr, "--rows needs a positive number\n");
        return 2;
    }
    if (part == QLatin1String("data")) {
        QCoreApplication app(argc, argv);
        return runDataBench(rows);
    }
    if (part == QLatin1String("huge-cell")) {
        QCoreApplication app(argc, argv);
        return RunHugeCellBench();
    }
    if (part == QLatin1String("grid") || part == QLatin1String("archive") || part == QLatin1String("spreadsheet")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
        QApplication app(argc, argv);
        if (part == QLatin1String("spreadsheet"))
            return RunSpreadsheetBench(rows);
        return part == QLatin1String("grid") ? RunGridBench(rows) : RunArchiveBench(rows);
    }
    // Each part in a process of its own, so that each peak memory is its own.
    int failed = 0;
    for (const char* each : {"data", "grid", "archive", "spreadsheet", "huge-cell"}) {
        QProcess child;
        child.setProcessChannelMode(QProcess::ForwardedChannels);
        child.start(QString::fromLocal8Bit(argv[0]),
                    {QStringLiteral("--rows"), QString::number(rows), QStringLiteral("--part"),
                     QString::fromLatin1(each)});
        child.waitForFinished(-1);
        failed += child.exitCode() != 0 || child.exitStatus() != QProcess::NormalExit;
    }
    return failed ? 1 : 0;
}

namespace {

int runDataBench(int rows) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("人员档案.mdb"));
    std::printf("vrin-bench: %d rows of %d columns in %s\n", rows, kTextColumns + 1,
                path.toUtf8().constData());
    buildDatabase(path, rows);

    CAdoConnection conn;
    conn.OpenJetDatabase(path);

    // Opening the whole table and walking it, reading three fields per row.
    const double raw = Best(3, [&] { RawReadAll(path, "t"); });
    CAdoRecordSet walk;
    walk.SetAdoConnection(&conn);
    long long seen = 0;
    const double ours = Best(3, [&] {
        walk.Open(QStringLiteral("SELECT * FROM t"));
        QString a, b, c;
        for (; !walk.IsEOF(); walk.MoveNext()) {
            walk.GetValueString(columnName(1), a);
            walk.GetValueString(columnName(20), b);
            walk.GetValueString(columnName(42), c);
            seen += a.size() + b.size() + c.size();
        }
    });
    Report("open_and_walk", ours, raw);
    std::printf("%-24s %.1f MB (recordset of %ld rows open)\n", "peak_memory", PeakMegabytes(),
                walk.GetRecordCount());
    walk.Close();

    // Writing one column of every row inside one transaction.
    const double rawWrite = rawUpdateAll(path, rows);
    QRandomGenerator random(11);
    std::vector<QString> texts;
    for (int r = 0; r < rows; ++r)
        texts.push_back(chineseText(random));
    CAdoRecordSet pass;
    pass.SetAdoConnection(&conn);
    pass.Open(QStringLiteral("SELECT * FROM t"));
    long written = 0;
    const double oursWrite = Seconds([&] {
        conn.BeginTrans();
        for (; !pass.IsEOF(); pass.MoveNext())
            written +=
                pass.PutCollect(columnName(1), adodb::Variant(texts[static_cast<size_t>(written)]));
        conn.CommitTrans();
    });
    Report("write_pass", oursWrite, rawWrite);
    if (written != rows)
        std::fprintf(stderr, "only %ld of %d rows written: %s\n", written, rows,
                     pass.m_strLastError.toUtf8().constData());
    return seen > 0 && written == rows ? 0 : 1;
}

} // namespace
