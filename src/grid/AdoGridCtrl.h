#pragma once
// A report list bound to a table or a query over it: one row per record, the record key
// as each row's data, the row number in column 0, the fields in the other columns. Sorting
// by heading clicks, a row menu, a column menu with persistent layouts, in-cell editing.

#include "ado/AdoRecordSet.h"
#include "grid/ColumnLayout.h"
#include "grid/GridModel.h"

#include <QTableView>
#include <QTimer>

#include <cstdint>
#include <functional>
#include <vector>

class CAdoHeaderCtrl;
class CLCEditComboBox;
class QLabel;

class CAdoGridCtrl : public QTableView {
    Q_OBJECT
public:
    explicit CAdoGridCtrl(QWidget* parent = nullptr);
    ~CAdoGridCtrl() override;

    bool SetConnection(CAdoConnection* connection);
    void SetTable(const QString& table);
    // Runs the query and refills the rows; with TRUE first rebuilds the columns (reading
    // the layout file). Always TRUE.
    bool Refresh(bool rebuildColumns);
    void SetQuery(const QString& sql) { m_strQuery = sql; }
    const QString& GetQuery() const { return m_strQuery; }
    void SetRowHeight(int pixels);
    void EnableEditing(bool on) { m_bEditing = on; }
    void EnableRowMenu(bool on) { m_bRowMenu = on; }

    int FindRow(int key) const;
    void RefreshRow(int key);
    void RemoveRow(int key);
    // Takes the rows of these keys out of the list in one go.
    void RemoveRows(const std::vector<std::int32_t>& keys);
    void DeleteAllItems();
    // Column 0 shows each row's position again, from 1.
    void Renumber();
    void GetSelectedKeys(std::vector<std::int32_t>& keys) const;

    // The list as its owners use it.
    int GetItemCount() const { return m_model.rowCount(); }
    int GetItemData(int row) const;
    QString GetItemText(int row, int column) const { return m_model.CellText(row, column); }
    bool IsItemSelected(int row) const;
    void SetItemSelected(int row, bool selected);
    // The row and column under a point of the viewport; -1 for none.
    int SubItemHitTest(const QPoint& point, int* column) const;
    bool DeleteItem(int row);
    int GetColumnCount() const { return m_model.columnCount(); }
    QString GetHeadingText(int column) const;

    // Menu commands and those of owners: TRUE when the grid handled it; every other id is
    // passed on to the owner (gridCommand).
    bool OnCommand(unsigned long long wParam, long long lParam);
    void OnColumnClick(int column);
    void ApplySort();

    // Writes the rows of these keys (their texts as shown, the headings first) into a
    // workbook; an empty file name asks for one and opens the workbook afterwards.
    bool ExportRows(const std::vector<std::int32_t>& keys, QString file);
    void ExportSelected();
    // Adds and updates records from a workbook's sheet named after the table.
    void ImportFromSpreadsheet();
    // Whether the row menu offers the import (owners switch it off for operators who may
    // not change records).
    void EnableImport(bool on) { m_bImport = on; }
    // The file both directions start from: "excel/<table>.XLS" in the application directory.
    QString DefaultSpreadsheetPath() const;

    // The layout file of this grid: "%s\option\%s(%d).dat", mapped onto this machine.
    QString LayoutPath() const;
    // Writes the current layout; FALSE (with the reason) when the file cannot be written.
    bool SaveLayout(const QString& path, QString* error = nullptr);

    CAdoRecordSet& GetRecordSet() { return m_rs; }
    CAdoHeaderCtrl* Header() const { return m_pHeader; }
    CLCEditComboBox* Editor() const { return m_pEditor; }
    const QString& GetTable() const { return m_strTable; }
    CAdoConnection* GetConnection() const { return m_pConnection; }
    const std::vector<ColumnRecord>& Columns() const { return m_columns; }
    const QString& SortColumn() const { return m_strSortColumn; }
    bool SortAscending() const { return m_bSortAscending; }
    std::int32_t LastSelectedKey() const { return m_nLastSelectedKey; }

    // Shared by every grid of the process: how many heading clicks there were.
    static int ColumnClickCount();
    static void ResetColumnClickCount(); // for tests

    // The row number column's heading.
    static QString RowNumberHeading() { return QStringLiteral("序号"); }

signals:
    // The messages to the owner: posted ones arrive queued, sent ones at once.
    void gridSelChange(int key);  // posted
    void gridCellSaved(int key);  // sent
    void gridOpenRow(int key);    // posted
    void gridImported();          // sent
    void gridRowRefreshed();      // posted
    void gridCommand(unsigned long long wParam, long long lParam); // sent, not handled
    // The rows were read again (Refresh, a sort): a row chosen before may be another now.
    void gridRefilled();
    // A left click on the viewport, after the view has changed its selection for it.
    void gridClicked(const QPoint& at);

public slots:
    // The editor saved a cell: re-read the row, then tell the owner.
    void OnCellSaved(int key);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    void scrollContentsBy(int dx, int dy) override;
    void currentChanged(const QModelIndex& current, const QModelIndex& previous) override;

private:
    bool pointerInList() const;
    // The edited cell in the coordinates of the editor's host.
    QRect editorRect(QWidget* host) const;
    // The columns of the layout file, or every field when it names none; FALSE when there
    // is no layout file.
    bool buildColumns();
    // Without a layout file: each column as wide as its heading and the texts of the first
    // rows, up to a limit.
    void fitColumnWidths();
    static constexpr int kRowsMeasured = 100;
    static constexpr int kCellPadding = 14;   // more than the 12 a cell's text may lack before its tip shows
    static constexpr int kMaxFittedWidth = 240;
    void applyColumnWidths();
    void fillRows();
    void rowTexts(CAdoRecordSet& rs, const std::vector<int>& fields, QStringList& texts);
    std::vector<int> fieldIndexes(CAdoRecordSet& rs) const;
    void hideSelectedRows();
    void showAllRows();
    void hideColumn(int column);
    void saveLayoutAs();
    void loadNamedLayout();
    void resetLayout();
    void saveLayoutQuietly();
    void post(std::function<void()> signal);
    QString layoutNameStem() const;

    QString m_strQuery;
    CAdoRecordSet m_rs;
    QString m_strTable;
    CAdoHeaderCtrl* m_pHeader = nullptr;
    std::vector<ColumnRecord> m_columns;
    std::int32_t m_nLastSelectedKey = 0;
    bool m_bSortAscending = true;
    QString m_strSortColumn;
    CLCEditComboBox* m_pEditor = nullptr;
    QLabel* m_pTip = nullptr; // the whole text of a cut-off cell
    QTimer m_tipWatch;        // while the tip shows: is the pointer still over the list?
    int m_nEditRow = -1, m_nEditColumn = -1;
    CAdoConnection* m_pConnection = nullptr;
    bool m_bEditing = false;
    bool m_bRowMenu = true;
    bool m_bImport = true;
    bool m_bQueryOpened = false; // the last Refresh(TRUE) could open its query
    GridModel m_model;
};
