#pragma once
// The rows a grid shows: per row its record key, its row number and the display texts of
// its field columns, packed into one string per row. Keys are unique; a hash index finds a
// row by its key.

#include <QHash>
#include <QString>
#include <QStringList>

#include <cstdint>
#include <vector>

class GridRows {
public:
    // Empties the rows; every row from now on has this many field texts.
    void Reset(int fieldColumns);
    int Count() const { return static_cast<int>(m_keys.size()); }
    int FieldColumns() const { return m_fields; }

    bool Contains(std::int32_t key) const { return m_index.contains(key); }
    // The row of a key, -1 when there is none.
    int Find(std::int32_t key) const;
    std::int32_t Key(int row) const { return m_keys[static_cast<size_t>(row)]; }
    int Number(int row) const { return m_numbers[static_cast<size_t>(row)]; }
    void SetNumber(int row, int number) { m_numbers[static_cast<size_t>(row)] = number; }
    const std::vector<std::int32_t>& Keys() const { return m_keys; }

    // Text of a field column (0 = the first field column).
    QString Text(int row, int field) const;

    // Appends a row; its number is the count before it plus one.
    void Append(std::int32_t key, const QStringList& texts);
    // Replaces a row's texts and number.
    void Replace(int row, int number, const QStringList& texts);
    void Remove(int row);
    // Removes every row whose key is listed, in one pass.
    void RemoveKeys(const std::vector<std::int32_t>& keys);

private:
    void pack(QString& into, std::vector<std::uint32_t>::iterator ends, const QStringList& texts);
    void reindexFrom(int row) const;

    int m_fields = 0;
    std::vector<std::int32_t> m_keys;
    std::vector<int> m_numbers;
    std::vector<QString> m_texts;     // a row's field texts, one after the other
    std::vector<std::uint32_t> m_ends; // per row and field: end of its text in the row string
    mutable QHash<std::int32_t, int> m_index;
    mutable int m_indexValidTo = 0; // rows below this have their right row in the index
};
