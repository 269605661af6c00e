#include "adodb/Field.h"

namespace adodb {

const ColumnInfo& Field::column() const {
    const auto& columns = m_rs->columns();
    if (m_column < 0 || m_column >= static_cast<int>(columns.size()))
        throw ComError(E_FAIL, QStringLiteral("字段对象已不再属于打开的记录集。"), FieldSource());
    return columns[static_cast<size_t>(m_column)];
}

QString Field::GetName() const {
    return column().name;
}
DataTypeEnum Field::GetType() const {
    return column().type;
}
long Field::GetDefinedSize() const {
    return column().definedSize;
}
long Field::GetAttributes() const {
    return column().attributes;
}

long Field::GetActualSize() const {
    column();
    return m_rs->ActualSize(m_column);
}

Variant Field::GetValue() const {
    column();
    return m_rs->Value(m_column);
}

void Field::PutValue(const Variant& value) {
    column();
    m_rs->SetValue(m_column, value);
}

Variant Field::GetOriginalValue() const {
    column();
    return m_rs->OriginalValue(m_column);
}

Variant Field::GetChunk(long length) {
    column();
    return m_rs->GetChunk(m_column, length);
}

void Field::AppendChunk(const Variant& data) {
    column();
    m_rs->AppendChunk(m_column, data);
}

long Fields::GetCount() const {
    return static_cast<long>(m_rs->columns().size());
}

FieldPtr Fields::GetItem(const Variant& index) const {
    return std::make_shared<Field>(m_rs, m_rs->FieldIndex(index));
}

} // namespace adodb
