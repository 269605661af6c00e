#include "platform/TextFile.h"

#include "platform/Gbk.h"
#include "platform/Paths.h"

#include <QFile>
#include <QSaveFile>

QString DecodeTextFileBytes(const QByteArray& bytes) {
    if (bytes.startsWith("\xEF\xBB\xBF"))
        return QString::fromUtf8(bytes.mid(3));
    return FromGbk(bytes);
}

bool ReadFileBytes(const QString& path, QByteArray& bytes, qint64 maxBytes) {
    QFile file(LocalPath(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    bytes = maxBytes >= 0 ? file.read(maxBytes) : file.readAll();
    return true;
}

bool ReadFirstLine(const QString& path, QString& line) {
    QFile file(LocalPath(path));
    if (!file.open(QIODevice::ReadOnly))
        return false;
    QByteArray bytes = file.readLine();
    if (bytes.endsWith('\n'))
        bytes.chop(1);
    if (bytes.endsWith('\r'))
        bytes.chop(1);
    line = DecodeTextFileBytes(bytes);
    return true;
}

bool ReadTextFile(const QString& path, QString& text, qint64 maxBytes) {
    QByteArray bytes;
    if (!ReadFileBytes(path, bytes, maxBytes))
        return false;
    text = DecodeTextFileBytes(bytes);
    return true;
}

bool WriteFileAtomic(const QString& path, const QByteArray& bytes, QString* error) {
    QSaveFile file(LocalPath(path));
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    if (file.write(bytes) != bytes.size()) {
        if (error)
            *error = file.errorString();
        file.cancelWriting();
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

bool WriteTextFileAtomic(const QString& path, const QString& text, QString* error) {
    return WriteFileAtomic(path, ToGbk(text), error);
}
