#pragma once
// What the grid tells its owner (the messages of the list control, as signals) and the
// commands of its two popup menus.

#include <QString>

#include <vector>

// Message numbers, kept for owners that compare them.
enum GridMessage : unsigned {
    WM_GRID_SELCHANGE = 0x0470,
    WM_GRID_CELLSAVED = 0x0471,
    WM_GRID_OPENROW = 0x0473,
    WM_GRID_IMPORTED = 0x0474,
    WM_GRID_ROWREFRESHED = 0x0475,
};

enum GridCommand : int {
    ID_GRID_SELECTALL = 38001,
    ID_GRID_INVERT = 38002,
    ID_GRID_EXPORTALL = 38003,
    ID_GRID_IMPORT = 38004,
    ID_GRID_EXPORTSEL = 38005,
    ID_GRID_HIDEROWS = 38007,
    ID_GRID_SHOWALL = 38008,
    ID_HDR_HIDECOLUMN = 39001,
    ID_HDR_SAVE = 39002,
    ID_HDR_RESET = 39003,
    ID_HDR_SAVEAS = 39004,
    ID_HDR_IMPORT = 39005,
};

// One entry of a popup menu; id 0 is a separator.
struct MenuEntry {
    int id;
    QString text;
};

// The menu of a right click on the rows, in its order.
std::vector<MenuEntry> RowMenuEntries();
// The menu of a right click on a field heading, in its order.
std::vector<MenuEntry> HeaderMenuEntries();

// The id and notification code of a command's wParam.
inline int CommandId(unsigned long long wParam) {
    return static_cast<int>(wParam & 0xFFFF);
}
inline int NotificationCode(unsigned long long wParam) {
    return static_cast<int>((wParam >> 16) & 0xFFFF);
}
