#include "office/SpreadsheetReader.h"

#include "office/XlsChild.h"
#include "office/ZipArchive.h"

#include <QDate>
#include <QFile>
#include <QHash>
#include <QSet>
#include <QTemporaryFile>

#include <expat.h>
#include <gsf/gsf-infile-msole.h>
#include <gsf/gsf-infile.h>
#include <gsf/gsf-input-stdio.h>
#include <gsf/gsf-utils.h>
#include <pugixml.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

QString NumberText(double value) {
    if (std::isfinite(value) && value == std::floor(value) && std::fabs(value) < 1e15)
        return QString::number(static_cast<long long>(value));
    return QString::number(value, 'g', 15);
}

QString DateSerialText(double serial, bool date1904) {
    const QDate base = date1904 ? QDate(1904, 1, 1) : QDate(1899, 12, 30);
    const long long days = static_cast<long long>(std::floor(serial));
    const QDate date = base.addDays(days);
    QString text = date.toString(QStringLiteral("yyyy-MM-dd"));
    const long long seconds = std::llround((serial - static_cast<double>(days)) * 86400.0);
    if (seconds > 0 && seconds < 86400)
        text += QStringLiteral(" %1:%2:%3")
                    .arg(seconds / 3600, 2, 10, QLatin1Char('0'))
                    .arg(seconds / 60 % 60, 2, 10, QLatin1Char('0'))
                    .arg(seconds % 60, 2, 10, QLatin1Char('0'));
    return text;
}

bool IsDateFormat(int builtinId, const QString& code) {
    if ((builtinId >= 14 && builtinId <= 22) || (builtinId >= 45 && builtinId <= 47))
        return true;
    bool quoted = false;
    int bracket = 0;
    for (QChar c : code) {
        if (c == QLatin1Char('"'))
            quoted = !quoted;
        else if (!quoted && c == QLatin1Char('['))
            ++bracket;
        else if (!quoted && c == QLatin1Char(']'))
            bracket = std::max(0, bracket - 1);
        else if (!quoted && bracket == 0 && QStringLiteral("ymdhsYMDHS").contains(c))
            return true;
    }
    return false;
}

namespace {

quint16 le16(const QByteArray& d, qsizetype at) {
    return at >= 0 && at + 2 <= d.size() ? quint16(uchar(d[at]) | uchar(d[at + 1]) << 8) : 0;
}
quint32 le32(const QByteArray& d, qsizetype at) {
    return quint32(le16(d, at)) | quint32(le16(d, at + 2)) << 16;
}
// Characters of a BIFF8 string body: Latin-1 when the flag's low bit is clear, else UTF-16.
QString biffChars(const QByteArray& d, qsizetype at, qsizetype end, int count, bool wide) {
    QString text;
    for (int k = 0; k < count; ++k) {
        const qsizetype p = at + (wide ? 2 * k : k);
        if (p + (wide ? 2 : 1) > end)
            break;
        text += wide ? QChar(le16(d, p)) : QChar(uchar(d[p]));
    }
    return text;
}

} // namespace

QHash<quint32, QString> XlsFormulaResults(const QByteArray& d, const QString& sheet) {
    QHash<quint32, QString> results;
    // The globals: the sheet's BOUNDSHEET gives where its records begin.
    qsizetype at = 0, start = -1;
    while (at + 4 <= d.size()) {
        const quint16 type = le16(d, at), length = le16(d, at + 2);
        const qsizetype body = at + 4, end = std::min<qsizetype>(body + length, d.size());
        if (type == 0x0085 && end - body >= 8) {
            const QString name = biffChars(d, body + 8, end, uchar(d[body + 6]), d[body + 7] & 1);
            if (name == sheet)
                start = le32(d, body);
        }
        at = body + length;
        if (type == 0x000A)
            break;
    }
    if (start <= 0 || start >= d.size())
        return results;
    quint32 pending = 0;
    bool stringPending = false;
    for (at = start; at + 4 <= d.size();) {
        const quint16 type = le16(d, at), length = le16(d, at + 2);
        const qsizetype body = at + 4, end = std::min<qsizetype>(body + length, d.size());
        at = body + length;
        if (type == 0x000A)
            break;
        if (type == 0x0006 && end - body >= 20) {
            const quint32 cell = quint32(le16(d, body)) << 16 | le16(d, body + 2);
            stringPending = false;
            if (le16(d, body + 12) != 0xFFFF) {
                double value = 0;
                std::memcpy(&value, d.constData() + body + 6, sizeof value);
                results.insert(cell, NumberText(value));
            } else if (uchar(d[body + 6]) == 0) {
                pending = cell;
                stringPending = true;
            } else if (uchar(d[body + 6]) == 1) {
                results.insert(cell, d[body + 8] ? QStringLiteral("TRUE") : QStringLiteral("FALSE"));
            }
        } else if (type == 0x0207 && stringPending && end - body >= 3) {
            results.insert(pending, biffChars(d, body + 3, end, le16(d, body), d[body + 2] & 1));
            stringPending = false;
        }
    }
    return results;
}

bool XlsWithinBounds(const QByteArray& d) {
    if (d.isEmpty())
        return false;
    for (qsizetype at = 0; at + 4 <= d.size();) {
        const quint16 type = le16(d, at), length = le16(d, at + 2);
        const qsizetype body = at + 4, size = std::min<qsizetype>(length, d.size() - body);
        at = body + length;
        if (type == 0x0200 && size >= 14 && (le32(d, body + 4) > 65536 || le16(d, body + 10) > 256))
            return false; // BIFF8
        if (type == 0x0200 && size >= 10 && size < 14 && le16(d, body + 6) > 256)
            return false; // BIFF5: 16-bit rows
        if (type == 0x00FC && size >= 8 && le32(d, body + 4) > static_cast<quint32>(d.size() / 3))
            return false;
    }
    return true;
}

namespace {

// The Workbook stream of a compound file, empty when there is none.
QByteArray workbookStream(const QString& path, qint64 limit) {
    gsf_init();
    QByteArray bytes;
    GsfInput* input = gsf_input_stdio_new(path.toUtf8().constData(), nullptr);
    if (!input)
        return bytes;
    GsfInfile* ole = gsf_infile_msole_new(input, nullptr);
    g_object_unref(input);
    if (!ole)
        return bytes;
    GsfInput* stream = gsf_infile_child_by_name(ole, "Workbook");
    if (!stream)
        stream = gsf_infile_child_by_name(ole, "Book");
    if (stream) {
        const gsf_off_t size = gsf_input_size(stream);
        if (size > 0 && size <= limit) {
            bytes.resize(static_cast<qsizetype>(size));
            if (!gsf_input_read(stream, static_cast<size_t>(size), reinterpret_cast<guint8*>(bytes.data())))
                bytes.clear();
        }
        g_object_unref(stream);
    }
    g_object_unref(ole);
    return bytes;
}

// Column number (from 1) of a cell reference such as "AB12"; 0 when there is none.
int columnOf(const char* reference) {
    int column = 0;
    for (const char* p = reference; p && *p; ++p) {
        if (*p >= 'A' && *p <= 'Z')
            column = column * 26 + (*p - 'A' + 1);
        else
            break;
        if (column > 16384)
            return 0;
    }
    return column;
}

constexpr qint64 kMaxPart = qint64(1) << 30; // a part that inflates beyond this is refused

// The text of one cell gathered from the parser's pieces of UTF-8, up to the cell limit
// (counted in UTF-16 units); what comes after the limit is skipped, never held.
struct CappedText {
    QByteArray bytes;
    qsizetype units = 0;
    bool cut = false;

    void clear() {
        bytes.clear();
        units = 0;
        cut = false;
    }
    void append(const char* s, int length) {
        if (cut)
            return;
        for (int i = 0; i < length; ++i) {
            const auto b = static_cast<unsigned char>(s[i]);
            if ((b & 0xC0) == 0x80)
                continue; // a continuation byte of the character already counted
            const int add = b >= 0xF0 ? 2 : 1;
            if (units + add > SpreadsheetReader::kMaxCellCharacters) {
                bytes.append(s, i);
                cut = true;
                return;
            }
            units += add;
        }
        bytes.append(s, length);
    }
};

class XlsxReader : public SpreadsheetReader {
public:
    bool Load(const QByteArray& bytes, QString* error) {
        if (!m_zip.Open(bytes, error))
            return false;
        pugi::xml_document book, rels;
        if (!parse(book, "xl/workbook.xml") || !parse(rels, "xl/_rels/workbook.xml.rels")) {
            if (error)
                *error = QStringLiteral("不是 Excel 工作簿");
            return false;
        }
        m_date1904 = book.child("workbook").child("workbookPr").attribute("date1904").as_bool();
        for (pugi::xml_node s : book.child("workbook").child("sheets").children("sheet")) {
            const QString id = QString::fromUtf8(s.attribute("r:id").value());
            QString target;
            for (pugi::xml_node r : rels.child("Relationships").children("Relationship"))
                if (QString::fromUtf8(r.attribute("Id").value()) == id)
                    target = QString::fromUtf8(r.attribute("Target").value());
            target = target.startsWith(QLatin1Char('/')) ? target.mid(1) : QStringLiteral("xl/") + target;
            m_sheets.push_back({QString::fromUtf8(s.attribute("name").value()), target});
        }
        if (!loadStrings()) {
            if (error)
                *error = QStringLiteral("共享字符串无法读出");
            return false;
        }
        loadStyles();
        return true;
    }
    QStringList SheetNames() const override {
        QStringList names;
        for (const auto& s : m_sheets)
            names << s.first;
        return names;
    }
    bool ReadSheet(const QString& name, const std::function<bool(int, const QStringList&)>& callback,
                   QString* error) override;

    bool parse(pugi::xml_document& doc, const char* name) const {
        QByteArray data;
        // No DTD, so no entity expansion.
        return m_zip.Read(QString::fromLatin1(name), data, kMaxPart) &&
               doc.load_buffer(data.constData(), static_cast<size_t>(data.size()),
                               pugi::parse_default & ~pugi::parse_doctype).status == pugi::status_ok;
    }
    // Streams a part through expat into a handler (start, end and characters, the parser in
    // `parser`, `bad` to refuse the part); a part with a DTD is refused, so no entity is
    // ever expanded. FALSE when the part is missing, unreadable, over the limit, not
    // well-formed or refused; TRUE as soon as the handler sets `stopped`.
    template <class Handler> bool streamPart(const QString& name, Handler& handler, const bool& stopped) const {
        handler.parser = XML_ParserCreate("UTF-8");
        XML_SetUserData(handler.parser, &handler);
        XML_SetElementHandler(handler.parser, &Handler::start, &Handler::end);
        XML_SetCharacterDataHandler(handler.parser, &Handler::characters);
        XML_SetStartDoctypeDeclHandler(handler.parser, [](void* self, const XML_Char*, const XML_Char*, const XML_Char*, int) {
            auto* h = static_cast<Handler*>(self);
            h->bad = true;
            XML_StopParser(h->parser, XML_FALSE);
        });
        bool wellFormed = true;
        const bool read = m_zip.ReadPieces(name, kMaxPart, [&](const char* bytes, qsizetype size) {
            wellFormed = XML_Parse(handler.parser, bytes, static_cast<int>(size), XML_FALSE) != XML_STATUS_ERROR;
            return wellFormed && !stopped;
        });
        const bool ok = !handler.bad &&
                        (stopped || (read && wellFormed && XML_Parse(handler.parser, nullptr, 0, XML_TRUE) != XML_STATUS_ERROR));
        XML_ParserFree(handler.parser);
        handler.parser = nullptr;
        return ok;
    }
    bool loadStrings();
    void loadStyles() {
        pugi::xml_document doc;
        if (!parse(doc, "xl/styles.xml"))
            return;
        QHash<int, QString> codes;
        for (pugi::xml_node f : doc.child("styleSheet").child("numFmts").children("numFmt"))
            codes.insert(f.attribute("numFmtId").as_int(), QString::fromUtf8(f.attribute("formatCode").value()));
        for (pugi::xml_node xf : doc.child("styleSheet").child("cellXfs").children("xf")) {
            const int id = xf.attribute("numFmtId").as_int();
            m_dateStyles.push_back(IsDateFormat(codes.contains(id) ? -1 : id, codes.value(id)));
        }
    }

    ZipReader m_zip;
    std::vector<std::pair<QString, QString>> m_sheets;
    // The shared strings: their UTF-8 texts one after another, and where each ends; those
    // cut to the cell limit.
    QByteArray m_stringBytes;
    std::vector<qsizetype> m_stringEnds;
    QSet<qsizetype> m_cutStrings;
    qsizetype stringCount() const { return static_cast<qsizetype>(m_stringEnds.size()); }
    QString sharedString(qsizetype k) const {
        const qsizetype begin = k > 0 ? m_stringEnds[static_cast<size_t>(k - 1)] : 0;
        return QString::fromUtf8(m_stringBytes.constData() + begin, m_stringEnds[static_cast<size_t>(k)] - begin);
    }
    std::vector<bool> m_dateStyles;
    bool m_date1904 = false;
};

// The sheet part streamed with expat: rows of cells, each cell's text by its type.
struct SheetParse {
    const XlsxReader* book = nullptr;
    const std::function<bool(int, const QStringList&)>* callback = nullptr;
    XML_Parser parser = nullptr;
    QStringList cells;
    int row = 0, nextRow = 1, column = 0, nextColumn = 1;
    bool* rowCut = nullptr; // the reader's flag for the row being passed on
    QString type;
    int style = 0;
    CappedText value;
    bool inValue = false, inInline = false, stop = false, bad = false;

    void cellDone() {
        QString text;
        const QString v = QString::fromUtf8(value.bytes);
        *rowCut = *rowCut || value.cut;
        if (type == QLatin1String("s")) {
            bool ok = false;
            const long index = v.trimmed().toLong(&ok);
            if (!ok || index < 0 || index >= book->stringCount()) {
                bad = true;
                return;
            }
            text = book->sharedString(index);
            *rowCut = *rowCut || book->m_cutStrings.contains(index);
        } else if (type == QLatin1String("inlineStr") || type == QLatin1String("str") ||
                   type == QLatin1String("e")) {
            text = v;
        } else if (type == QLatin1String("b")) {
            text = v.trimmed() == QLatin1String("1") ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
        } else if (!v.isEmpty()) {
            bool ok = false;
            const double number = v.toDouble(&ok);
            const bool date = style >= 0 && style < static_cast<int>(book->m_dateStyles.size()) &&
                              book->m_dateStyles[static_cast<size_t>(style)];
            text = !ok ? v : date ? DateSerialText(number, book->m_date1904) : NumberText(number);
        }
        if (column < 1 || column > 16384) {
            bad = true;
            return;
        }
        while (cells.size() < column)
            cells << QString();
        cells[column - 1] = text;
    }

    static void start(void* self, const XML_Char* name, const XML_Char** attributes) {
        auto* p = static_cast<SheetParse*>(self);
        const QByteArray element(name);
        auto attribute = [&](const char* key) -> const char* {
            for (int k = 0; attributes[k]; k += 2)
                if (std::strcmp(attributes[k], key) == 0)
                    return attributes[k + 1];
            return nullptr;
        };
        if (element == "row") {
            const char* r = attribute("r");
            p->row = r ? std::atoi(r) : p->nextRow;
            if (p->row < p->nextRow || p->row > 1048576)
                p->row = p->nextRow; // out of order: taken in the order given
            p->cells.clear();
            *p->rowCut = false;
            p->nextColumn = 1;
        } else if (element == "c") {
            const char* r = attribute("r");
            p->column = r ? columnOf(r) : p->nextColumn;
            if (p->column <= 0)
                p->column = p->nextColumn;
            const char* t = attribute("t");
            p->type = t ? QString::fromUtf8(t) : QString();
            const char* s = attribute("s");
            p->style = s ? std::atoi(s) : 0;
            p->value.clear();
        } else if (element == "v" || (element == "t" && p->inInline)) {
            p->inValue = true;
        } else if (element == "is") {
            p->inInline = true;
        }
    }
    static void end(void* self, const XML_Char* name) {
        auto* p = static_cast<SheetParse*>(self);
        const QByteArray element(name);
        if (element == "v" || element == "t") {
            p->inValue = false;
        } else if (element == "is") {
            p->inInline = false;
        } else if (element == "c") {
            p->cellDone();
            p->nextColumn = p->column + 1;
        } else if (element == "row") {
            p->nextRow = p->row + 1;
            if (!p->cells.isEmpty() && !(*p->callback)(p->row, p->cells))
                p->stop = true;
        }
        if (p->stop || p->bad)
            XML_StopParser(p->parser, XML_FALSE);
    }
    static void characters(void* self, const XML_Char* s, int length) {
        auto* p = static_cast<SheetParse*>(self);
        if (p->inValue)
            p->value.append(s, length);
    }
};

bool XlsxReader::ReadSheet(const QString& name, const std::function<bool(int, const QStringList&)>& callback,
                           QString* error) {
    QString part;
    for (const auto& s : m_sheets)
        if (s.first == name)
            part = s.second;
    if (part.isEmpty() || !m_zip.Contains(part)) {
        if (error)
            *error = QStringLiteral("没有工作表“%1”").arg(name);
        return false;
    }
    SheetParse p;
    p.book = this;
    p.callback = &callback;
    p.rowCut = &m_bRowCut;
    const bool ok = streamPart(part, p, p.stop);
    if (!ok && error)
        *error = QStringLiteral("工作表“%1”无法读出").arg(name);
    return ok;
}

// The shared strings streamed with expat: each <si>'s text runs, phonetic runs left out.
struct StringsParse {
    QByteArray* bytes;
    std::vector<qsizetype>* ends;
    QSet<qsizetype>* cut;
    CappedText item;
    XML_Parser parser = nullptr;
    int phonetic = 0;
    bool inItem = false, inText = false, bad = false;

    static void start(void* self, const XML_Char* name, const XML_Char**) {
        auto* p = static_cast<StringsParse*>(self);
        if (std::strcmp(name, "si") == 0) {
            p->inItem = true;
            p->item.clear();
        } else if (std::strcmp(name, "rPh") == 0) {
            ++p->phonetic;
        } else if (std::strcmp(name, "t") == 0) {
            p->inText = p->inItem && p->phonetic == 0;
        }
    }
    static void end(void* self, const XML_Char* name) {
        auto* p = static_cast<StringsParse*>(self);
        if (std::strcmp(name, "si") == 0) {
            if (p->item.cut)
                p->cut->insert(static_cast<qsizetype>(p->ends->size()));
            p->bytes->append(p->item.bytes);
            p->ends->push_back(p->bytes->size());
            p->inItem = false;
        } else if (std::strcmp(name, "rPh") == 0) {
            --p->phonetic;
        } else if (std::strcmp(name, "t") == 0) {
            p->inText = false;
        }
    }
    static void characters(void* self, const XML_Char* s, int length) {
        auto* p = static_cast<StringsParse*>(self);
        if (p->inText)
            p->item.append(s, length);
    }
};

bool XlsxReader::loadStrings() {
    const QString part = QStringLiteral("xl/sharedStrings.xml");
    if (!m_zip.Contains(part))
        return true; // a workbook of numbers or inline strings has none
    StringsParse p{&m_stringBytes, &m_stringEnds, &m_cutStrings, {}};
    const bool never = false;
    return streamPart(part, p, never);
}

// FreeXL in a process of its own reads the cells; formula results, which it leaves empty, come
// from the sheet's own records here.
class XlsReader : public SpreadsheetReader {
public:
    bool Load(const QString& path, QString* error) {
        if (!m_freexl.Start(path, error))
            return false;
        // Checked while FreeXL opens the file; a file beyond the bounds ends it at once.
        m_stream = workbookStream(path, kMaxPart);
        if (!XlsWithinBounds(m_stream)) {
            m_freexl.Stop();
            if (error)
                *error = QStringLiteral("不是 Excel 工作簿，或已损坏");
            return false;
        }
        return m_freexl.ReceiveNames(error);
    }
    // FreeXL reads from a file only: bytes go to a private temporary one kept while open.
    bool LoadBytes(const QByteArray& bytes, QString* error) {
        m_copy = std::make_unique<QTemporaryFile>();
        if (!m_copy->open() || m_copy->write(bytes) != bytes.size() || !m_copy->flush()) {
            if (error)
                *error = QStringLiteral("文件无法读出");
            return false;
        }
        return Load(m_copy->fileName(), error);
    }
    QStringList SheetNames() const override { return m_freexl.SheetNames(); }
    bool ReadSheet(const QString& name, const std::function<bool(int, const QStringList&)>& callback,
                   QString* error) override {
        const qsizetype index = SheetNames().indexOf(name);
        const QHash<quint32, QString> formulas = index >= 0 ? XlsFormulaResults(m_stream, name) : QHash<quint32, QString>();
        QStringList texts;
        const bool read = index >= 0 && m_freexl.ReadSheet(static_cast<int>(index), [&](unsigned int r, const std::vector<XlsCell>& cells) {
            texts.clear();
            bool any = false;
            for (size_t c = 0; c < cells.size(); ++c) {
                const XlsCell& cell = cells[c];
                QString text;
                switch (cell.type) {
                case XlsCell::Integer:
                    text = QString::number(cell.integer);
                    break;
                case XlsCell::Real:
                    text = NumberText(cell.real);
                    break;
                case XlsCell::Text:
                    text = cell.text;
                    break;
                case XlsCell::None:
                    if (!formulas.isEmpty())
                        text = formulas.value(r << 16 | static_cast<quint32>(c));
                    break;
                }
                any = any || !text.isEmpty();
                texts << text;
            }
            return !any || callback(static_cast<int>(r) + 1, texts);
        });
        if (!read && error)
            *error = index < 0 ? QStringLiteral("没有工作表“%1”").arg(name) : QStringLiteral("工作表“%1”无法读出").arg(name);
        return read;
    }

private:
    XlsChild m_freexl;
    QByteArray m_stream; // the Workbook stream, read once for the bounds and the formulas
    std::unique_ptr<QTemporaryFile> m_copy;
};

} // namespace

std::unique_ptr<SpreadsheetReader> SpreadsheetReader::Open(const QString& path, QString* error) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly) || file.size() > kMaxPart) {
        if (error)
            *error = QStringLiteral("文件无法读出");
        return nullptr;
    }
    const QByteArray head = file.peek(8);
    if (head.startsWith("PK"))
        return OpenBytes(file.readAll(), error);
    if (head.startsWith("\xD0\xCF\x11\xE0")) { // FreeXL reads the file itself
        file.close();
        auto reader = std::make_unique<XlsReader>();
        if (reader->Load(path, error))
            return reader;
        return nullptr;
    }
    if (error)
        *error = QStringLiteral("不是 Excel 工作簿");
    return nullptr;
}

std::unique_ptr<SpreadsheetReader> SpreadsheetReader::OpenBytes(const QByteArray& bytes, QString* error) {
    if (bytes.startsWith("PK")) {
        auto reader = std::make_unique<XlsxReader>();
        if (reader->Load(bytes, error))
            return reader;
        return nullptr;
    }
    if (bytes.startsWith("\xD0\xCF\x11\xE0")) {
        auto reader = std::make_unique<XlsReader>();
        if (reader->LoadBytes(bytes, error))
            return reader;
        return nullptr;
    }
    if (error)
        *error = QStringLiteral("不是 Excel 工作簿");
    return nullptr;
}
