#pragma once
// Zip archives in memory, as Office Open XML packages are: read every entry from bytes,
// write entries back into bytes.

#include <QByteArray>
#include <QString>

#include <functional>
#include <utility>
#include <vector>

struct zip;

struct ZipEntry {
    QString name;
    QByteArray data;
};

// A zip archive in memory whose entries are read one at a time, whole or in pieces, so a
// large part is never held inflated.
class ZipReader {
public:
    ZipReader() = default;
    ~ZipReader();
    ZipReader(const ZipReader&) = delete;
    ZipReader& operator=(const ZipReader&) = delete;

    // FALSE (with the reason) when the bytes are no readable zip.
    bool Open(const QByteArray& bytes, QString* error);
    // The entry names in the archive's order.
    std::vector<QString> Names() const;
    bool Contains(const QString& name) const;
    // The whole entry; FALSE when it is missing, unreadable or larger than limit.
    bool Read(const QString& name, QByteArray& data, qint64 limit) const;
    // The entry in pieces handed to piece in order (which returns FALSE to stop); FALSE when
    // it is missing, unreadable, stopped, or inflates to more than limit bytes.
    bool ReadPieces(const QString& name, qint64 limit,
                    const std::function<bool(const char*, qsizetype)>& piece) const;

private:
    friend bool ReadZip(const QByteArray& bytes, std::vector<ZipEntry>& entries, QString* error);
    qint64 index(const QString& name) const;
    bool readPieces(qint64 at, qint64 limit, const std::function<bool(const char*, qsizetype)>& piece) const;

    QByteArray m_bytes; // the archive, kept while it is open
    struct zip* m_archive = nullptr;
};

// Every entry of the archive in its order; FALSE (with the reason) when the bytes are no
// readable zip.
bool ReadZip(const QByteArray& bytes, std::vector<ZipEntry>& entries, QString* error);

// The archive of the entries, compressed; empty (with the reason) on failure.
QByteArray WriteZip(const std::vector<ZipEntry>& entries, QString* error);
