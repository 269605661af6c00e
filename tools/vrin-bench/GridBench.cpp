// The resident list on 100 000 demo residents: filling, sorting, hiding rows, opening the
// in-cell editor and saving a cell, each against the raw engine's scan of the table.

#include "Bench.h"

#include "ado/AdoConnection.h"
#include "grid/AdoGridCtrl.h"
#include "grid/AdoHeaderCtrl.h"
#include "grid/GridCommands.h"
#include "grid/LCEditComboBox.h"
#include "widgets/ControlIds.h"

#include <QApplication>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QWidget>

#include <cstdio>

int RunGridBench(int rows) {
    QTemporaryDir dir;
    qputenv("VRIN_APPDIR", dir.path().toLocal8Bit());
    const QString path = dir.filePath(QStringLiteral("人员档案.mdb"));
    if (!CreateDemoDatabase(path, rows, "grid"))
        return 1;
    const double raw = Best(3, [&] { RawReadAll(path, "基本情况表"); });

    CAdoConnection conn;
    conn.OpenJetDatabase(path);
    QWidget window;
    window.setWindowTitle(QStringLiteral("人员档案"));
    auto* grid = new CAdoGridCtrl(&window);
    SetControlId(grid, 1010);
    grid->resize(1200, 700);
    grid->SetConnection(&conn);
    grid->SetRowHeight(16);

    const double coldFill = Seconds([&] {
        grid->SetTable(QStringLiteral("基本情况表"));
        grid->Refresh(true);
    });
    std::printf("%-24s ours %8.3f s   raw %8.3f s   ratio %.2f\n", "grid_first_fill", coldFill, raw,
                coldFill / raw);
    const double fill = Best(3, [&] {
        grid->SetTable(QStringLiteral("基本情况表"));
        grid->Refresh(true);
    });
    Report("grid_fill", fill, raw);
    std::printf("%-24s %.1f MB (%d rows listed)\n", "peak_memory_grid", PeakMegabytes(),
                grid->GetItemCount());

    int nameColumn = -1;
    for (int c = 0; c < grid->GetColumnCount(); ++c)
        if (grid->GetHeadingText(c) == QStringLiteral("姓名"))
            nameColumn = c;
    // Each click sorts the whole list again (the direction alternates), measured as the fill is.
    const double sort = Best(3, [&] { grid->OnColumnClick(nameColumn); });
    Report("grid_sort", sort, fill);
    std::printf("%-24s (reference: grid_fill of this run)\n", "");

    const int half = grid->GetItemCount() / 2;
    grid->selectionModel()->select(
        QItemSelection(grid->model()->index(0, 0), grid->model()->index(half - 1, 0)),
        QItemSelectionModel::Select | QItemSelectionModel::Rows);
    const double hide = Seconds([&] { grid->OnCommand(ID_GRID_HIDEROWS, 0); });
    Report("grid_hide_rows", hide, raw);

    CLCEditComboBox* editor = grid->Editor();
    const QRect cell = grid->visualRect(grid->model()->index(0, nameColumn));
    const int key = grid->GetItemData(0);
    const double open = Seconds([&] {
        editor->ShowEditor(grid->viewport(), cell, grid->GetItemText(0, nameColumn), key,
                           QStringLiteral("基本情况表"), QStringLiteral("姓名"), &conn);
    });
    Report("editor_open", open, raw);
    std::printf("%-24s (%d choices)\n", "", editor->count());
    editor->lineEdit()->setText(QStringLiteral("改过的名字"));
    const double save = Seconds([&] { editor->EndEdit(true); });
    Report("cell_save", save, raw);
    const bool saved = grid->GetItemText(0, nameColumn) == QStringLiteral("改过的名字");
    if (!saved)
        std::fprintf(stderr, "the cell was not saved\n");
    return grid->GetItemCount() == rows - half && saved ? 0 : 1;
}
