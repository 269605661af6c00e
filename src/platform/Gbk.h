#pragma once
// GBK (code page 936) at the boundaries: files, byte lengths and limits.

#include <QByteArray>
#include <QString>

// Encodes text as GBK; characters GBK lacks are written in their GB18030 form.
QByteArray ToGbk(const QString& text);

// Decodes GBK or GB18030 bytes; a byte sequence that is not valid becomes U+FFFD.
QString FromGbk(const QByteArray& bytes);

// Number of bytes the text takes in GBK: 1 for ASCII, 2 for other characters of the
// basic plane, 4 for characters outside it (their GB18030 form).
int GbkLength(const QString& text);

// GBK byte length of one UTF-16 unit position (surrogate pairs count at the high unit).
int GbkCharLength(const QString& text, int index);

// The longest prefix of text whose GBK form has at most maxBytes bytes, never cutting a
// character in two.
QString GbkLeft(const QString& text, int maxBytes);
