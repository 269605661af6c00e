#include "office/ZipArchive.h"

#include <zip.h>

namespace {

QString zipErrorText(zip_error_t* error) {
    return QString::fromUtf8(zip_error_strerror(error));
}

} // namespace

bool ReadZip(const QByteArray& bytes, std::vector<ZipEntry>& entries, QString* error) {
    entries.clear();
    zip_error_t ze;
    zip_error_init(&ze);
    zip_source_t* source = zip_source_buffer_create(bytes.constData(), static_cast<zip_uint64_t>(bytes.size()), 0, &ze);
    zip_t* archive = source ? zip_open_from_source(source, ZIP_RDONLY, &ze) : nullptr;
    if (!archive) {
        if (error)
            *error = zipErrorText(&ze);
        if (source)
            zip_source_free(source);
        zip_error_fini(&ze);
        return false;
    }
    zip_error_fini(&ze);
    bool ok = true;
    const zip_int64_t count = zip_get_num_entries(archive, 0);
    for (zip_int64_t k = 0; k < count && ok; ++k) {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive, static_cast<zip_uint64_t>(k), 0, &stat) != 0 ||
            !(stat.valid & ZIP_STAT_SIZE) || stat.size > (zip_uint64_t(1) << 30)) {
            ok = false;
            break;
        }
        ZipEntry entry;
        entry.name = QString::fromUtf8(stat.name);
        entry.data.resize(static_cast<qsizetype>(stat.size));
        zip_file_t* file = zip_fopen_index(archive, static_cast<zip_uint64_t>(k), 0);
        const zip_int64_t read = file ? zip_fread(file, entry.data.data(), stat.size) : -1;
        if (file)
            zip_fclose(file);
        if (read != static_cast<zip_int64_t>(stat.size)) {
            ok = false;
            break;
        }
        entries.push_back(std::move(entry));
    }
    if (!ok && error)
        *error = QStringLiteral("压缩包中的文件无法读出");
    zip_discard(archive);
    return ok;
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
