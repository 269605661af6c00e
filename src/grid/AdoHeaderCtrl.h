#pragma once
// The heading bar of a grid: marks the sort column with a small embossed triangle and
// opens the column menu on a right click over a field heading.

#include <QHeaderView>
#include <QLine>

#include <vector>

class CAdoHeaderCtrl : public QHeaderView {
    Q_OBJECT
public:
    explicit CAdoHeaderCtrl(QWidget* parent = nullptr);

    int m_nMenuColumn = -1; // the heading last right-clicked
    int m_nSortColumn = -1;
    bool m_bSortAscending = true;

    // Marks the column (logical index; -1 for none) and the direction.
    void SetSortImage(int index, bool ascending);
    QString GetItemText(int index) const;

    // The triangle's two strokes for a heading rectangle: lines in the light colour, then
    // lines in the dark colour.
    struct SortMark {
        std::vector<QLine> light, dark;
    };
    static SortMark SortMarkLines(const QRect& r, bool ascending);

signals:
    // A command of the column menu, as the grid's OnCommand takes it.
    void menuCommand(int id);

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override;
    void contextMenuEvent(QContextMenuEvent* event) override;
};
