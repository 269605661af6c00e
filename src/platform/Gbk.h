#pragma once
// GBK (code page 936) at the boundaries: files, byte lengths and limits.

#include <QByteArray>
#include <QString>

// Encodes text as code page 936 writes it (GBK, € as the byte 0x80); characters GBK lacks
// are written in their GB18030 form.
QByteArray ToGbk(const QString& text);

// Decodes GBK or GB18030 bytes, 0x80 as €; a byte sequence that is not valid becomes U+FFFD.
QString FromGbk(const QByteArray& bytes);

// Number of bytes ToGbk writes for the text: 1 for ASCII and €, 2 for the characters of
// GBK, 2 or 4 for the others (their GB18030 form).
int GbkLength(const QString& text);

// GBK byte length of one UTF-16 unit position (surrogate pairs count at the high unit).
int GbkCharLength(const QString& text, int index);

// The longest prefix of text whose GBK form has at most maxBytes bytes, never cutting a
// character in two.
QString GbkLeft(const QString& text, int maxBytes);
