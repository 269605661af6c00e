#pragma once
// How values of each column type are read and written, the way the Jet engine converts
// them: the declared type decides the ADO type code and defined size; text written into a
// date or number column is converted, and what does not convert or fit is refused.

#include "adodb/RowSet.h"
#include "adodb/Variant.h"

#include <QString>

namespace adodb {

struct ColumnType {
    DataTypeEnum type = adVarWChar;
    long definedSize = 255;
    bool fixedLength = false;
};

// The type of a column from its declared type ("char(10)", "int", "datetime", ...).
ColumnType ColumnTypeFromDeclaration(const QString& declaration);

// A column of this type holds text.
bool IsTextType(DataTypeEnum type);

// The value of a stored cell as the column's type presents it.
Variant CellToVariant(const ColumnInfo& column, const CellRef& cell);

// The stored form of a value written into the column. Raises ComError 0x80040E21 when the
// value does not convert to the column's type or does not fit into it.
StoredValue VariantToStored(const ColumnInfo& column, const Variant& value);

// "YYYY-MM-DD HH:MM:SS", the stored form of a date.
QString StoredDateText(const COleDateTime& date);
// Reads a stored date; FALSE when the text is no date.
bool ParseStoredDate(const char* text, int size, double& oleDate);

} // namespace adodb
