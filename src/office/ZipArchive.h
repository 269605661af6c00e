#pragma once
// Zip archives in memory, as Office Open XML packages are: read every entry from bytes,
// write entries back into bytes.

#include <QByteArray>
#include <QString>

#include <utility>
#include <vector>

struct ZipEntry {
    QString name;
    QByteArray data;
};

// Every entry of the archive in its order; FALSE (with the reason) when the bytes are no
// readable zip.
bool ReadZip(const QByteArray& bytes, std::vector<ZipEntry>& entries, QString* error);

// The archive of the entries, compressed; empty (with the reason) on failure.
QByteArray WriteZip(const std::vector<ZipEntry>& entries, QString* error);
