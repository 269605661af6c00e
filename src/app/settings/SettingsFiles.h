#pragma once
// The one-line settings files and the helpers that read them.

#include <QString>

inline const QString kServerAddressFile =
    QStringLiteral("服务器IP.txt");                          // in the application directory
inline const QString kInfoFile = QStringLiteral("Info.txt"); // in the database folder
inline const QString kCurrentUserFile =
    QStringLiteral("当前用户.txt");                              // in the application directory
inline const QString kUnitFile = QStringLiteral("单位划分.txt"); // in the database folder

// The database folder on a server: two backslashes, the address and "\VRIN\".
QString NetworkDataFolder(const QString& address);

// The text without its trailing blanks (the blank character only; tabs stay).
QString TrimTrailingBlanks(const QString& text);

// The C library's atoi of a text: leading blanks, a sign, digits; anything else gives 0.
int TextToInt(const QString& text);
