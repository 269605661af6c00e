#pragma once
// GBK text files as the program keeps them: one-line settings files, the unit hierarchy.
// Paths may be written the Windows way; they are mapped with LocalPath.

#include <QByteArray>
#include <QString>

// First line of a text file (text mode: the line end, CR LF or LF, is not part of it).
// FALSE when the file does not open; an empty file gives an empty line.
bool ReadFirstLine(const QString& path, QString& line);

// The bytes of a file, at most maxBytes of them when maxBytes >= 0.
bool ReadFileBytes(const QString& path, QByteArray& bytes, qint64 maxBytes = -1);

// A whole text file as text, without any line-end conversion.
bool ReadTextFile(const QString& path, QString& text, qint64 maxBytes = -1);

// Writes bytes into a temporary file beside the target and renames it into place, so the
// target holds either the old or the new content. On failure error (when given) says why.
bool WriteFileAtomic(const QString& path, const QByteArray& bytes, QString* error = nullptr);

// The text in GBK, written atomically, without an added line end.
bool WriteTextFileAtomic(const QString& path, const QString& text, QString* error = nullptr);

// Decodes the bytes of a text file: a UTF-8 byte-order mark means UTF-8, anything else GBK.
QString DecodeTextFileBytes(const QByteArray& bytes);
