#include "office/ZipArchive.h"

#include <zip.h>

namespace {

QString zipErrorText(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

} // namespace

ZipReader::~ZipReader() {
    if (m_archive)
        zip_discard(m_archive);
}

bool ZipReader::Open(const QByteArray& bytes, QString* error) {
    if (m_archive)
        zip_discard(m_archive);
    m_archive = nullptr;
    m_bytes = bytes;
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* source =
        zip_source_buffer_create(m_bytes.constData(), static_cast<zip_uint64_t>(m_bytes.size()), 0, &ze);
    m_archive = source ? zip_open_from_source(source, ZIP_RDONLY, &ze) : nullptr;
    if (!m_archive) {
        if (error)
            *error = zipErrorText(&ze);
        if (source)
            zip_source_free(source);
    }
    zip_error_fini(&ze);
    return m_archive != nullptr;
}

std::vector<QString> ZipReader::Names() const {
    std::vector<QString> names;
    const zip_int64_t count = m_archive ? zip_get_num_entries(m_archive, 0) : 0;
    for (zip_int64_t k = 0; k < count; ++k) {
        const char* name = zip_get_name(m_archive, static_cast<zip_uint64_t>(k), 0);
        names.push_back(name ? QString::fromUtf8(name) : QString());
    }
    return names;
}

qint64 ZipReader::index(const QString& name) const {
    if (!m_archive)
        return -1;
    return zip_name_locate(m_archive, name.toUtf8().constData(), 0);
}

bool ZipReader::Contains(const QString& name) const {
    return index(name) >= 0;
}

bool ZipReader::Read(const QString& name, QByteArray& data, qint64 limit) const {
    data.clear();
    const bool read = ReadPieces(name, limit, [&](const char* bytes, qsizetype size) {
        data.append(bytes, size);
        return true;
    });
    if (!read)
        data.clear();
    return read;
}

bool ZipReader::ReadPieces(const QString& name, qint64 limit,
                           const std::function<bool(const char*, qsizetype)>& piece) const {
    const qint64 at = index(name);
    return at >= 0 && readPieces(at, limit, piece);
}

bool ZipReader::readPieces(qint64 at, qint64 limit,
                           const std::function<bool(const char*, qsizetype)>& piece) const {
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(m_archive, static_cast<zip_uint64_t>(at), 0, &stat) != 0 ||
        !(stat.valid & ZIP_STAT_SIZE) || stat.size > static_cast<zip_uint64_t>(limit))
        return false;
    zip_file_t* file = zip_fopen_index(m_archive, static_cast<zip_uint64_t>(at), 0);
    if (!file)
        return false;
    static constexpr qsizetype kPiece = 1 << 20;
    QByteArray buffer(kPiece, Qt::Uninitialized);
    qint64 total = 0;
    bool ok = true;
    for (;;) {
        const zip_int64_t n = zip_fread(file, buffer.data(), static_cast<zip_uint64_t>(kPiece));
        if (n < 0) {
            ok = false;
            break;
        }
        if (n == 0)
            break;
        total += n;
        if (total > limit || !piece(buffer.constData(), static_cast<qsizetype>(n))) {
            ok = false;
            break;
        }
    }
    zip_fclose(file);
    return ok && total == static_cast<qint64>(stat.size);
}

bool ReadZip(const QByteArray& bytes, std::vector<ZipEntry>& entries, QString* error) {
    entries.clear();
    ZipReader reader;
    if (!reader.Open(bytes, error))
        return false;
    const std::vector<QString> names = reader.Names();
    for (size_t k = 0; k < names.size(); ++k) {
        ZipEntry entry;
        entry.name = names[k];
        const bool read = reader.readPieces(static_cast<qint64>(k), qint64(1) << 30, [&](const char* bytes, qsizetype size) {
            entry.data.append(bytes, size);
            return true;
        });
        if (!read) {
            if (error)
                *error = QStringLiteral("压缩包中的文件无法读出");
            return false;
        }
        entries.push_back(std::move(entry));
    }
    return true;
}

QByteArray WriteZip(const std::vector<ZipEntry>& entries, QString* error) {
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* sink = zip_source_buffer_create(nullptr, 0, 0, &ze);
    zip_source_keep(sink);
    zip_t* archive = zip_open_from_source(sink, ZIP_TRUNCATE, &ze);
    if (!archive) {
        if (error)
            *error = zipErrorText(&ze);
        zip_source_free(sink);
        zip_error_fini(&ze);
        return QByteArray();
    }
    zip_error_fini(&ze);
    for (const ZipEntry& e : entries) {
        // The buffer stays the caller's until zip_close has written it.
        zip_source_t* data = zip_source_buffer(archive, e.data.constData(), static_cast<zip_uint64_t>(e.data.size()), 0);
        if (!data || zip_file_add(archive, e.name.toUtf8().constData(), data, ZIP_FL_ENC_UTF_8) < 0) {
            if (data)
                zip_source_free(data);
            if (error)
                *error = QString::fromUtf8(zip_strerror(archive));
            zip_discard(archive);
            zip_source_free(sink);
            return QByteArray();
        }
    }
    if (zip_close(archive) != 0) {
        if (error)
            *error = QString::fromUtf8(zip_strerror(archive));
        zip_discard(archive);
        zip_source_free(sink);
        return QByteArray();
    }
    QByteArray out;
    zip_stat_t stat;
    if (zip_source_stat(sink, &stat) == 0 && zip_source_open(sink) == 0) {
        out.resize(static_cast<qsizetype>(stat.size));
        const zip_int64_t read = zip_source_read(sink, out.data(), stat.size);
        zip_source_close(sink);
        if (read != static_cast<zip_int64_t>(stat.size))
            out.clear();
    }
    zip_source_free(sink);
    if (out.isEmpty() && error)
        *error = QStringLiteral("压缩包无法写出");
    return out;
}
