#pragma once
// The program speaks Chinese whatever the machine's locale: Qt's own dialogs and texts,
// dates, numbers and the names of file types.

void InstallChineseLocale();
