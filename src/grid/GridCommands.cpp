#include "grid/GridCommands.h"

std::vector<MenuEntry> RowMenuEntries() {
    return {
        {ID_GRID_SELECTALL, QStringLiteral("全    选(&A)")},
        {ID_GRID_INVERT, QStringLiteral("反    选(&O)")},
        {0, QString()},
        {ID_GRID_HIDEROWS, QStringLiteral("隐藏所选行(&H)")},
        {ID_GRID_SHOWALL, QStringLiteral("显示所有(&R)")},
        {0, QString()},
        {ID_GRID_EXPORTALL, QStringLiteral("导出<所有>到&Excel")},
        {ID_GRID_EXPORTSEL, QStringLiteral("导出<选择>到Ex&cel")},
        {ID_GRID_IMPORT, QStringLiteral("从E&xcel文件导入")},
    };
}

std::vector<MenuEntry> HeaderMenuEntries() {
    return {
        {ID_HDR_HIDECOLUMN, QStringLiteral("隐藏该列(&H)")},
        {0, QString()},
        {ID_HDR_SAVE, QStringLiteral("保存列设置(&S)")},
        {ID_HDR_SAVEAS, QStringLiteral("另存列设置(&S)")},
        {0, QString()},
        {ID_HDR_IMPORT, QStringLiteral("导入列设置(&S)")},
        {ID_HDR_RESET, QStringLiteral("重设所有列(&R)")},
    };
}
