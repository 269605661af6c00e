#pragma once
// The program's own pictures and documents: the background of the main window, the user
// manual and the desktop icon.

#include <QByteArray>
#include <QImage>
#include <QString>

// A country scene of fields, hills and houses under a morning sky.
QImage DrawBackground(int width, int height);

// The manual as a rich-text document that LibreOffice Writer, WPS and Word open, from a
// plain text with "# " and "## " headings and "- " list items.
QByteArray ManualRtf(const QString& text);
