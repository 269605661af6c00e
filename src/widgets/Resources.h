#pragma once
// The program's bitmaps and icons by resource id, drawn by the program itself.

#include <QIcon>
#include <QPixmap>

enum ResourceId {
    IDB_FOLDERS = 130,
    IDI_START = 131,
    IDI_EXIT = 132,
    IDB_BAND = 133,
    IDI_MAINFRAME = 135,
    IDB_LOGIN_OK = 144,
    IDB_LOGIN_CANCEL = 145,
};

// The bitmap with this id; a null pixmap when there is none.
QPixmap LoadBitmapResource(int id);
QIcon LoadIconResource(int id);
// Puts a bitmap under an id (replacing the drawn one), as tests do.
void RegisterBitmapResource(int id, const QPixmap& pixmap);
