#include "grid/GridModel.h"

#include <algorithm>

GridModel::GridModel(QObject* parent) : QAbstractTableModel(parent) {}

int GridModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : m_rows.Count();
}

int GridModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(m_headings.size());
}

QString GridModel::CellText(int row, int column) const {
    if (row < 0 || row >= m_rows.Count() || column < 0 || column >= m_headings.size())
        return QString();
    if (column == 0)
        return QString::number(m_rows.Number(row));
    return m_rows.Text(row, column - 1);
}

QVariant GridModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid())
        return QVariant();
    switch (role) {
    case Qt::DisplayRole:
        return CellText(index.row(), index.column());
    case Qt::TextAlignmentRole:
        return index.column() == 0 ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    case KeyRole:
        return m_rows.Key(index.row());
    default:
        return QVariant();
    }
}

QVariant GridModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation != Qt::Horizontal || section < 0 || section >= m_headings.size())
        return QVariant();
    if (role == Qt::DisplayRole)
        return m_headings[section];
    if (role == Qt::TextAlignmentRole)
        return section == 0 ? int(Qt::AlignCenter) : int(Qt::AlignLeft | Qt::AlignVCenter);
    return QVariant();
}

void GridModel::SetHeadings(const QStringList& headings) {
    m_headings = headings;
    m_rows.Reset(std::max(0, static_cast<int>(headings.size()) - 1));
}

void GridModel::RowChanged(int row) {
    emit dataChanged(index(row, 0), index(row, columnCount() - 1));
}

void GridModel::RemoveRowAt(int row) {
    beginRemoveRows(QModelIndex(), row, row);
    m_rows.Remove(row);
    endRemoveRows();
}
