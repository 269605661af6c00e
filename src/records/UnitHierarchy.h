#pragma once
// The unit hierarchy file "单位划分.txt": the first line names the community (the root),
// every further line a unit, placed by its indentation (ASCII blanks, then double-byte
// characters with lead byte 0xA1, counted in GBK bytes). A unit's path is the names of its
// ancestors below the root and its own, joined without separators.

#include <QByteArray>
#include <QString>

#include <vector>

struct UnitItem {
    QString name;
    int parent = -1; // index of the parent item; -1: a top-level item
};

// The archive tree: item 0 is the root.
struct UnitTree {
    std::vector<UnitItem> items;
};

// The archive tree from the file's bytes (GBK, or UTF-8 with its mark). Lines that are
// blank or not indented are no units.
UnitTree ParseUnitHierarchy(const QByteArray& fileBytes);
// The tree when there is no file: the root "全部" alone.
UnitTree MissingUnitHierarchy();

// The editor's preview of a text being typed: the first line is the root, every further
// line an item by the same level rule (an unindented line climbs above the root). The
// selected item is the last one whose line is new against the previous text (the root when
// none is), -1 when there are no items.
struct UnitPreview {
    std::vector<UnitItem> items;
    int selected = -1;
};
UnitPreview BuildUnitPreview(const QString& text, const QString& previousText);

// The path of an item: the names of its ancestors, except the root, then its own name;
// empty for the root and for an item without a name.
QString UnitPathOf(const std::vector<UnitItem>& items, int item);
