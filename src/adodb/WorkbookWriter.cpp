#include "adodb/WorkbookWriter.h"

#include <QFile>
#include <QHash>
#include <QFileInfo>
#include <QSaveFile>
#include <QTemporaryFile>

#include <gsf/gsf-infile.h>
#include <gsf/gsf-output-stdio.h>
#include <gsf/gsf-outfile-msole.h>
#include <gsf/gsf-utils.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

QString temporaryBeside(const QString& path) {
    return path + QStringLiteral(".vrin-part");
}

bool putInPlace(const QString& temporary, const QString& path, QString* error) {
    QFile::remove(path + QStringLiteral(".vrin-old"));
    const bool had = QFileInfo::exists(path);
    if (had && !QFile::rename(path, path + QStringLiteral(".vrin-old"))) {
        if (error)
            *error = QStringLiteral("无法替换文件“%1”").arg(path);
        QFile::remove(temporary);
        return false;
    }
    if (!QFile::rename(temporary, path)) {
        if (had)
            QFile::rename(path + QStringLiteral(".vrin-old"), path);
        if (error)
            *error = QStringLiteral("无法写入文件“%1”").arg(path);
        QFile::remove(temporary);
        return false;
    }
    QFile::remove(path + QStringLiteral(".vrin-old"));
    return true;
}

class XlsxWriter : public WorkbookWriter {
public:
    XlsxWriter(const QString& path, const QString& sheet) : m_path(path), m_temporary(temporaryBeside(path)) {
        lxw_workbook_options options{};
        options.constant_memory = LXW_TRUE;
        const QByteArray file = m_temporary.toUtf8();
        m_book = workbook_new_opt(file.constData(), &options);
        if (m_book)
            m_sheet = workbook_add_worksheet(m_book, sheet.left(31).toUtf8().constData());
    }
    ~XlsxWriter() override {
        if (m_book) {
            workbook_close(m_book);
            QFile::remove(m_temporary);
        }
    }
    bool Valid() const { return m_book && m_sheet; }
    int MaxRows() const override { return 1048576; }
    bool AddRow(const QStringList& cells, QString* error) override {
        if (m_row >= MaxRows()) {
            if (error)
                *error = QStringLiteral("工作表已满");
            return false;
        }
        for (int c = 0; c < cells.size(); ++c) {
            // Characters XML cannot hold are left out; a text cell holds at most 32 767.
            auto writable = [](QChar ch) {
                return ch.unicode() >= 0x20 || ch == QLatin1Char('\t') || ch == QLatin1Char('\n');
            };
            const QString& cell = cells[c];
            QByteArray utf8;
            if (cell.size() <= 32767 && std::all_of(cell.cbegin(), cell.cend(), writable)) {
                utf8 = cell.toUtf8();
            } else {
                QString text;
                for (QChar ch : cell.left(32767))
                    if (writable(ch))
                        text += ch;
                utf8 = text.toUtf8();
            }
            if (worksheet_write_string(m_sheet, static_cast<lxw_row_t>(m_row), static_cast<lxw_col_t>(c),
                                       utf8.constData(), nullptr) != LXW_NO_ERROR) {
                if (error)
                    *error = QStringLiteral("单元格无法写入");
                return false;
            }
        }
        ++m_row;
        return true;
    }
    bool Finish(QString* error) override {
        const lxw_error rc = workbook_close(m_book);
        m_book = nullptr;
        if (rc != LXW_NO_ERROR) {
            if (error)
                *error = QString::fromUtf8(lxw_strerror(rc));
            QFile::remove(m_temporary);
            return false;
        }
        return putInPlace(m_temporary, m_path, error);
    }

private:
    QString m_path, m_temporary;
    lxw_workbook* m_book = nullptr;
    lxw_worksheet* m_sheet = nullptr;
    int m_row = 0;
};

// BIFF8: little-endian records of a type, a length and at most 8 224 bytes of data.
class Biff {
public:
    void Record(quint16 type, const QByteArray& data) {
        u16(m_out, type);
        u16(m_out, static_cast<quint16>(data.size()));
        m_out += data;
    }
    QByteArray& Bytes() { return m_out; }
    static void u16(QByteArray& b, quint16 v) {
        b += char(v & 0xFF);
        b += char(v >> 8);
    }
    static void u32(QByteArray& b, quint32 v) {
        u16(b, quint16(v & 0xFFFF));
        u16(b, quint16(v >> 16));
    }

private:
    QByteArray m_out;
};

constexpr int kMaxRecord = 8224;
constexpr quint32 kBlank = 0xFFFFFFFF;

class XlsWriter : public WorkbookWriter {
public:
    XlsWriter(const QString& path, const QString& sheet) : m_path(path), m_sheet(sheet.left(31)) {}
    int MaxRows() const override { return 65536; }
    bool AddRow(const QStringList& cells, QString* error) override {
        if (static_cast<int>(m_rows.size()) >= MaxRows()) {
            if (error)
                *error = QStringLiteral("工作表已满");
            return false;
        }
        std::vector<quint32> row;
        for (int c = 0; c < cells.size() && c < 256; ++c) {
            const QString text = cells[c].left(32767);
            if (text.isEmpty()) { // an empty cell is a blank one, not an empty string
                row.push_back(kBlank);
                continue;
            }
            auto it = m_index.constFind(text);
            if (it == m_index.constEnd()) {
                it = m_index.insert(text, static_cast<quint32>(m_strings.size()));
                m_strings.push_back(text);
            }
            row.push_back(it.value());
            ++m_total;
        }
        m_columns = std::max(m_columns, static_cast<int>(row.size()));
        m_rows.push_back(std::move(row));
        return true;
    }
    bool Finish(QString* error) override {
        const QByteArray workbook = build();
        const QString temporary = temporaryBeside(m_path);
        if (!writeCompoundFile(temporary, workbook, error))
            return false;
        return putInPlace(temporary, m_path, error);
    }

private:
    static QByteArray bof(quint16 kind) {
        QByteArray b;
        Biff::u16(b, 0x0600);
        Biff::u16(b, kind);
        Biff::u16(b, 0x0DBB);
        Biff::u16(b, 0x07CC);
        Biff::u32(b, 0);
        Biff::u32(b, 0x06);
        return b;
    }
    static QByteArray font() {
        QByteArray b;
        Biff::u16(b, 200); // 10 points
        Biff::u16(b, 0);
        Biff::u16(b, 0x7FFF);
        Biff::u16(b, 400);
        Biff::u16(b, 0);
        b += char(0);
        b += char(0);
        b += char(0);
        b += char(0);
        const QString name = QStringLiteral("宋体");
        b += char(name.size());
        b += char(1);
        for (QChar c : name)
            Biff::u16(b, c.unicode());
        return b;
    }
    static QByteArray xf(bool style) {
        QByteArray b;
        Biff::u16(b, 0);                          // font
        Biff::u16(b, 0);                          // format General
        Biff::u16(b, style ? 0xFFF5 : 0x0001);    // style XF or cell XF (locked)
        b += char(0x20);
        b += char(0);
        b += char(0);
        b += char(style ? 0xF4 : 0x00);
        Biff::u32(b, 0);
        Biff::u32(b, 0);
        Biff::u16(b, 0x20C0);
        return b;
    }
    // The shared string table, split into CONTINUE records; a string that does not fit goes
    // on in the next record after one byte of flags (always UTF-16 here).
    void writeStrings(Biff& biff) const {
        QByteArray record;
        Biff::u32(record, m_total);
        Biff::u32(record, static_cast<quint32>(m_strings.size()));
        bool first = true;
        auto flush = [&]() {
            biff.Record(first ? 0x00FC : 0x003C, record);
            first = false;
            record.clear();
        };
        for (const QString& s : m_strings) {
            if (record.size() + 3 + 2 > kMaxRecord) // the header with at least one character
                flush();
            Biff::u16(record, static_cast<quint16>(s.size()));
            record += char(0x01);
            for (qsizetype k = 0; k < s.size(); ++k) {
                if (record.size() + 2 > kMaxRecord) {
                    flush();
                    record += char(0x01);
                }
                Biff::u16(record, s.at(k).unicode());
            }
        }
        flush();
    }
    QByteArray build() const {
        Biff globals;
        globals.Record(0x0809, bof(0x0005));
        QByteArray codepage;
        Biff::u16(codepage, 1200);
        globals.Record(0x0042, codepage);
        QByteArray window;
        for (quint16 v : {0, 0, 0x4000, 0x3000, 0x0038, 0, 0, 1, 600})
            Biff::u16(window, v);
        globals.Record(0x003D, window);
        for (int k = 0; k < 5; ++k)
            globals.Record(0x0031, font());
        for (int k = 0; k < 15; ++k)
            globals.Record(0x00E0, xf(true));
        globals.Record(0x00E0, xf(false));
        QByteArray style;
        Biff::u16(style, 0x8000);
        style += char(0);
        style += char(char(0xFF));
        globals.Record(0x0293, style);
        QByteArray sheetEntry;
        Biff::u32(sheetEntry, 0); // the sheet's offset, set below
        Biff::u16(sheetEntry, 0);
        sheetEntry += char(m_sheet.size());
        sheetEntry += char(1);
        for (QChar c : m_sheet)
            Biff::u16(sheetEntry, c.unicode());
        const int boundAt = static_cast<int>(globals.Bytes().size()) + 4;
        globals.Record(0x0085, sheetEntry);
        writeStrings(globals);
        globals.Record(0x000A, QByteArray());

        QByteArray& out = globals.Bytes();
        const quint32 sheetAt = static_cast<quint32>(out.size());
        QByteArray offset;
        Biff::u32(offset, sheetAt);
        std::memcpy(out.data() + boundAt, offset.constData(), 4);

        Biff sheet;
        sheet.Record(0x0809, bof(0x0010));
        QByteArray dimensions;
        Biff::u32(dimensions, 0);
        Biff::u32(dimensions, static_cast<quint32>(m_rows.size()));
        Biff::u16(dimensions, 0);
        Biff::u16(dimensions, static_cast<quint16>(m_columns));
        Biff::u16(dimensions, 0);
        sheet.Record(0x0200, dimensions);
        QByteArray window2;
        Biff::u16(window2, 0x06B6);
        Biff::u16(window2, 0);
        Biff::u16(window2, 0);
        Biff::u32(window2, 0x40);
        Biff::u32(window2, 0);
        Biff::u16(window2, 0);
        sheet.Record(0x023E, window2);
        for (size_t r = 0; r < m_rows.size(); ++r)
            for (size_t c = 0; c < m_rows[r].size(); ++c) {
                if (m_rows[r][c] == kBlank)
                    continue;
                QByteArray cell;
                Biff::u16(cell, static_cast<quint16>(r));
                Biff::u16(cell, static_cast<quint16>(c));
                Biff::u16(cell, 15); // the cell XF
                Biff::u32(cell, m_rows[r][c]);
                sheet.Record(0x00FD, cell);
            }
        sheet.Record(0x000A, QByteArray());
        return out + sheet.Bytes();
    }
    static bool writeCompoundFile(const QString& path, const QByteArray& workbook, QString* error) {
        gsf_init();
        GError* err = nullptr;
        const QByteArray file = path.toUtf8();
        GsfOutput* output = gsf_output_stdio_new(file.constData(), &err);
        if (!output) {
            if (error)
                *error = err ? QString::fromUtf8(err->message) : QStringLiteral("无法创建文件");
            if (err)
                g_error_free(err);
            return false;
        }
        GsfOutfile* ole = gsf_outfile_msole_new(output);
        g_object_unref(output);
        GsfOutput* stream = gsf_outfile_new_child(ole, "Workbook", FALSE);
        bool ok = stream && gsf_output_write(stream, static_cast<size_t>(workbook.size()),
                                             reinterpret_cast<const guint8*>(workbook.constData()));
        if (stream) {
            ok = gsf_output_close(stream) && ok;
            g_object_unref(stream);
        }
        ok = gsf_output_close(GSF_OUTPUT(ole)) && ok;
        g_object_unref(ole);
        if (!ok) {
            if (error)
                *error = QStringLiteral("无法写入文件");
            QFile::remove(path);
        }
        return ok;
    }

    QString m_path, m_sheet;
    std::vector<QString> m_strings;
    QHash<QString, quint32> m_index;
    std::vector<std::vector<quint32>> m_rows;
    quint32 m_total = 0;
    int m_columns = 0;
};

} // namespace

std::unique_ptr<WorkbookWriter> WorkbookWriter::For(const QString& path, const QString& sheet, QString* error) {
    if (path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)) {
        auto writer = std::make_unique<XlsxWriter>(path, sheet);
        if (!writer->Valid()) {
            if (error)
                *error = QStringLiteral("无法创建文件“%1”").arg(path);
            return nullptr;
        }
        return writer;
    }
    return std::make_unique<XlsWriter>(path, sheet);
}
