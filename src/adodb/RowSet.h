#pragma once
// The rows a recordset reads at Open, kept compactly: each row is one block holding its
// cells as the engine stored them (null, integer, real, UTF-8 text, bytes).

#include "adodb/AdoTypes.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <cstring>
#include <memory>
#include <vector>

namespace adodb {

enum class StorageClass : std::uint8_t { Null = 0, Integer = 1, Real = 2, Text = 3, Blob = 4 };

// One value as the engine stores it; Text holds UTF-8.
struct StoredValue {
    StorageClass cls = StorageClass::Null;
    std::int64_t i = 0;
    double d = 0;
    QByteArray bytes;

    static StoredValue Integer(std::int64_t v) { return {StorageClass::Integer, v, 0, {}}; }
    static StoredValue Real(double v) { return {StorageClass::Real, 0, v, {}}; }
    static StoredValue Text(const QString& v) { return {StorageClass::Text, 0, 0, v.toUtf8()}; }
    static StoredValue Blob(const QByteArray& v) { return {StorageClass::Blob, 0, 0, v}; }
    bool operator==(const StoredValue& o) const;
};

// A view of one cell of a packed row.
struct CellRef {
    StorageClass cls = StorageClass::Null;
    const char* data = nullptr;
    std::uint32_t size = 0;

    std::int64_t Int() const {
        std::int64_t v;
        std::memcpy(&v, data, sizeof v);
        return v;
    }
    double Real() const {
        double v;
        std::memcpy(&v, data, sizeof v);
        return v;
    }
    QString Text() const { return QString::fromUtf8(data, static_cast<qsizetype>(size)); }
    QByteArray Bytes() const { return QByteArray(data, static_cast<qsizetype>(size)); }
    StoredValue ToStored() const;
};

// Input of one cell when a row is packed: for Text and Blob, data and size point at the bytes.
struct CellInput {
    StorageClass cls = StorageClass::Null;
    std::int64_t i = 0;
    double d = 0;
    const char* data = nullptr;
    std::uint32_t size = 0;

    static CellInput From(const StoredValue& v);
};

class PackedRow {
public:
    PackedRow() = default;
    static PackedRow Pack(const CellInput* cells, int count);

    int Count() const { return m_data ? static_cast<int>(header()[0]) : 0; }
    CellRef Cell(int index) const;
    // A copy with some cells replaced (changes[i] == nullptr keeps cell i).
    PackedRow With(const std::vector<const StoredValue*>& changes) const;

private:
    const std::uint32_t* header() const {
        return reinterpret_cast<const std::uint32_t*>(m_data.get());
    }
    std::unique_ptr<char[]> m_data; // count, offsets[count + 1], cells (class byte + payload)
};

struct ColumnInfo {
    QString name;
    DataTypeEnum type = adVarWChar;
    long definedSize = 255;
    long attributes = adFldUpdatable | adFldIsNullable | adFldMayBeNull;
    bool fixedLength = false; // CHAR(n): read back padded with blanks to n characters
    bool autoNumber = false;
    QString baseColumn; // column of the base table, empty for a computed one
};

struct Row {
    std::int64_t rowid = 0;
    PackedRow cells;
};

struct RowSet {
    std::vector<ColumnInfo> columns;
    std::vector<Row> rows;
    QString baseTable; // the table rows are written back to; empty when read-only
    QString source;    // the text the rows were read with
};

// A value written into one column of a row, already in its stored form.
struct PendingValue {
    int column = 0;
    StoredValue value;
};

} // namespace adodb
