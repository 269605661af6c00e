#pragma once
// The Fields collection of a recordset and its Field objects. A field speaks for one column
// of the recordset's current row.

#include "adodb/Recordset.h"

namespace adodb {

class Field {
public:
    Field(RecordsetPtr recordset, int column) : m_rs(std::move(recordset)), m_column(column) {}

    QString GetName() const;
    DataTypeEnum GetType() const;
    long GetDefinedSize() const;
    long GetActualSize() const;
    long GetAttributes() const;
    Variant GetValue() const;
    void PutValue(const Variant& value);
    Variant GetOriginalValue() const;
    // The next length bytes of a long value (text: length / 2 characters); null at its end.
    Variant GetChunk(long length);
    // The first call after the row became current replaces the value; later ones append.
    void AppendChunk(const Variant& data);

private:
    const ColumnInfo& column() const;

    RecordsetPtr m_rs;
    int m_column;
};

class Fields {
public:
    explicit Fields(RecordsetPtr recordset) : m_rs(std::move(recordset)) {}
    long GetCount() const;
    // By name (without regard to case) or by index from 0; ComError when there is none.
    FieldPtr GetItem(const Variant& index) const;

private:
    RecordsetPtr m_rs;
};

} // namespace adodb
