#pragma once
// The layout file of a grid: the last selected key, the sort direction and column, then
// one 260-byte record per field column (the heading, NUL-terminated in 256 bytes, and the
// width), all integers little-endian signed 32-bit.

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <vector>

struct ColumnRecord {
    QString name;
    int width = 60;
};

struct ColumnLayout {
    std::int32_t lastSelectedKey = 0;
    std::int32_t ascending = 1;
    QString sortColumn;
    bool hasHeader = false; // the file held its fixed part (then the sort state applies)
    std::vector<ColumnRecord> columns;
};

constexpr int kColumnRecordSize = 260;
constexpr int kColumnNameSize = 256;
constexpr int kMaxColumnWidth = 4000;

// Reads a layout from the bytes of a file; never fails. A sort-name length beyond the end
// gives the defaults (no header); a record without a NUL in its name is skipped; a trailing
// partial record is ignored; widths are clamped to 0..4000.
ColumnLayout ParseColumnLayout(const QByteArray& bytes);

// The bytes of a layout file. Names longer than 255 GBK bytes are cut.
QByteArray SerializeColumnLayout(const ColumnLayout& layout);
