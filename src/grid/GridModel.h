#pragma once
// The table model of a grid: column 0 the row number, then the field columns, all read
// from the rows the grid holds (never from a recordset).

#include "grid/GridRows.h"

#include <QAbstractTableModel>
#include <QStringList>

class GridModel : public QAbstractTableModel {
    Q_OBJECT
public:
    // The key of a row, under this role of any of its cells.
    static constexpr int KeyRole = Qt::UserRole + 1;

    explicit GridModel(QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation,
                        int role = Qt::DisplayRole) const override;

    // Headings: "序号" and the field names; empties the rows. Call between BeginReset and
    // EndReset.
    void SetHeadings(const QStringList& headings);
    const QStringList& Headings() const { return m_headings; }
    GridRows& Rows() { return m_rows; }
    const GridRows& Rows() const { return m_rows; }

    // Tell the views about changes made to Rows().
    void BeginReset() { beginResetModel(); }
    void EndReset() { endResetModel(); }
    void RowChanged(int row);
    void RemoveRowAt(int row);

    QString CellText(int row, int column) const;

private:
    QStringList m_headings;
    GridRows m_rows;
};
