#include "adodb/Recordset.h"

#include "adodb/Field.h"
#include "adodb/Provider.h"
#include "adodb/ValueConversion.h"

#include <algorithm>

namespace adodb {

namespace {

ComError recordsetError(const QString& text) {
    return ComError(E_FAIL, text, RecordsetSource());
}

ComError noCurrentRecord() {
    return recordsetError(QStringLiteral("BOF 或 EOF 中有一个是“真”，或者当前的记录已被删除，"
                                         "所需的操作要求一个当前的记录。"));
}

CellRef cellOfStored(const StoredValue& v) {
    CellRef c;
    c.cls = v.cls;
    switch (v.cls) {
    case StorageClass::Integer:
        c.data = reinterpret_cast<const char*>(&v.i);
        c.size = 8;
        break;
    case StorageClass::Real:
        c.data = reinterpret_cast<const char*>(&v.d);
        c.size = 8;
        break;
    case StorageClass::Text:
    case StorageClass::Blob:
        c.data = v.bytes.constData();
        c.size = static_cast<std::uint32_t>(v.bytes.size());
        break;
    default:
        break;
    }
    return c;
}

} // namespace

RecordsetPtr Recordset::Create() {
    return RecordsetPtr(new Recordset());
}

Recordset::~Recordset() = default;

void Recordset::requireOpen() const {
    if (!m_set)
        throw recordsetError(QStringLiteral("对象关闭时，不允许操作。"));
}

const Row* Recordset::currentRow() const {
    if (!m_set || m_onDeleted || m_pos < 0 || m_pos >= static_cast<long>(m_visible.size()))
        return nullptr;
    return &m_set->rows[m_visible[static_cast<size_t>(m_pos)]];
}

Row* Recordset::currentRow() {
    return const_cast<Row*>(static_cast<const Recordset*>(this)->currentRow());
}

void Recordset::requireCurrent() const {
    requireOpen();
    if (!currentRow())
        throw noCurrentRecord();
}

void Recordset::requireUpdatable(int column) const {
    if (m_lockType == adLockReadOnly || m_set->baseTable.isEmpty())
        throw recordsetError(QStringLiteral("当前记录集不支持更新。这可能是提供程序的限制，"
                                            "也可能是选定锁定类型的限制。"));
    if (column >= 0 && !(m_set->columns[static_cast<size_t>(column)].attributes & adFldUpdatable))
        throw ComError(E_FAIL,
                       QStringLiteral("字段“%1”不能更新。")
                           .arg(m_set->columns[static_cast<size_t>(column)].name),
                       FieldSource());
}

const std::vector<ColumnInfo>& Recordset::columns() const {
    requireOpen();
    return m_set->columns;
}

void Recordset::Attach(ConnectionPtr connection, std::unique_ptr<RowSet> rows,
                       const QString& source, CursorTypeEnum cursorType, LockTypeEnum lockType) {
    m_connection = std::move(connection);
    m_set = std::move(rows);
    m_source = source;
    m_cursorType = cursorType;
    m_lockType = lockType;
    m_editMode = adEditNone;
    m_pending.clear();
    m_filter.clear();
    m_criteria.reset();
    m_deleted.assign(m_set->rows.size(), 0);
    m_fieldByName.clear();
    m_fieldByLowerName.clear();
    for (int k = static_cast<int>(m_set->columns.size()) - 1; k >= 0; --k) {
        m_fieldByName.insert(m_set->columns[k].name, k);
        m_fieldByLowerName.insert(m_set->columns[k].name.toLower(), k);
    }
    m_chunkAppended.assign(m_set->columns.size(), 0);
    rebuildVisible();
    m_pos = 0;
    positionChanged();
}

HRESULT Recordset::Open(const QString& source, const ConnectionPtr& activeConnection,
                        CursorTypeEnum cursorType, LockTypeEnum lockType, long options) {
    if (m_set)
        throw recordsetError(QStringLiteral("对象打开时，不允许操作。"));
    ConnectionPtr connection = activeConnection ? activeConnection : m_connection;
    if (!connection || connection->GetState() != adStateOpen)
        throw recordsetError(
            QStringLiteral("连接无法用于执行此操作。在此上下文中它可能已被关闭或无效。"));
    if (source.isEmpty())
        throw recordsetError(QStringLiteral("没有为记录集指定来源（SQL 语句或表名）。"));
    long commandType = options & (0x0F | adCmdTableDirect);
    QString sql = (commandType == adCmdTable || commandType == adCmdTableDirect)
                      ? QStringLiteral("SELECT * FROM [%1]").arg(source)
                      : source;
    std::unique_ptr<RowSet> rows =
        connection->Guard([&] { return connection->provider().Execute(sql, nullptr); });
    m_connection = connection;
    if (!rows)
        return S_OK; // a command without rows leaves the recordset closed
    Attach(connection, std::move(rows), sql,
           cursorType == adOpenUnspecified ? adOpenForwardOnly : cursorType,
           lockType == adLockUnspecified ? adLockReadOnly : lockType);
    return S_OK;
}

HRESULT Recordset::Close() {
    requireOpen();
    discardPending();
    m_set.reset();
    m_visible.clear();
    m_deleted.clear();
    m_criteria.reset();
    m_filter.clear();
    m_fieldByName.clear();
    m_fieldByLowerName.clear();
    m_onDeleted = false;
    return S_OK;
}

bool Recordset::GetBOF() const {
    requireOpen();
    return !m_onDeleted && (m_visible.empty() || m_pos < 0);
}

bool Recordset::GetEOF() const {
    requireOpen();
    return !m_onDeleted && (m_visible.empty() || m_pos >= static_cast<long>(m_visible.size()));
}

void Recordset::positionChanged() {
    m_chunkColumn = -1;
    m_chunkOffset = 0;
    std::fill(m_chunkAppended.begin(), m_chunkAppended.end(), 0);
}

void Recordset::flushPending() {
    if (m_editMode != adEditNone)
        Update();
}

void Recordset::discardPending() {
    if (m_editMode == adEditAdd) {
        size_t row = m_visible[static_cast<size_t>(m_pos)];
        m_deleted[row] = 1;
        m_visible.erase(m_visible.begin() + m_pos);
        m_pos = std::clamp(m_posBeforeAdd, -1L, static_cast<long>(m_visible.size()));
    }
    m_pending.clear();
    m_editMode = adEditNone;
    positionChanged();
}

HRESULT Recordset::MoveFirst() {
    requireOpen();
    flushPending();
    m_onDeleted = false;
    m_pos = 0;
    positionChanged();
    return S_OK;
}

HRESULT Recordset::MoveLast() {
    requireOpen();
    flushPending();
    m_onDeleted = false;
    m_pos = m_visible.empty() ? 0 : static_cast<long>(m_visible.size()) - 1;
    positionChanged();
    return S_OK;
}

HRESULT Recordset::MoveNext() {
    requireOpen();
    if (GetEOF())
        throw noCurrentRecord();
    flushPending();
    if (m_onDeleted)
        m_onDeleted = false;
    else
        ++m_pos;
    positionChanged();
    return S_OK;
}

HRESULT Recordset::MovePrevious() {
    requireOpen();
    if (GetBOF())
        throw noCurrentRecord();
    flushPending();
    m_onDeleted = false;
    --m_pos;
    positionChanged();
    return S_OK;
}

long Recordset::GetRecordCount() const {
    requireOpen();
    return static_cast<long>(m_visible.size());
}

long Recordset::GetAbsolutePosition() const {
    requireOpen();
    if (m_onDeleted)
        return adPosUnknown;
    if (GetBOF())
        return adPosBOF;
    if (GetEOF())
        return adPosEOF;
    return m_pos + 1;
}

void Recordset::PutAbsolutePosition(long position) {
    requireOpen();
    if (position < 1 || position > static_cast<long>(m_visible.size()))
        throw recordsetError(
            QStringLiteral("参数类型不正确，或不在可以接受的范围之内，或与其他参数冲突。"));
    flushPending();
    m_onDeleted = false;
    m_pos = position - 1;
    positionChanged();
}

void Recordset::PutCursorLocation(CursorLocationEnum location) {
    if (m_set)
        throw recordsetError(QStringLiteral("对象打开时，不允许操作。"));
    m_cursorLocation = location;
}

HRESULT Recordset::AddNew() {
    requireOpen();
    requireUpdatable(-1);
    flushPending();
    std::vector<CellInput> cells(m_set->columns.size());
    Row row;
    row.cells = PackedRow::Pack(cells.data(), static_cast<int>(cells.size()));
    m_set->rows.push_back(std::move(row));
    m_deleted.push_back(0);
    m_posBeforeAdd = m_onDeleted ? m_pos - 1 : m_pos;
    m_onDeleted = false;
    m_visible.push_back(static_cast<std::uint32_t>(m_set->rows.size() - 1));
    m_pos = static_cast<long>(m_visible.size()) - 1;
    m_editMode = adEditAdd;
    positionChanged();
    return S_OK;
}

HRESULT Recordset::Update() {
    requireOpen();
    if (m_editMode == adEditNone)
        return S_OK;
    Row* row = currentRow();
    if (!row)
        throw noCurrentRecord();
    std::sort(m_pending.begin(), m_pending.end(),
              [](const PendingValue& a, const PendingValue& b) { return a.column < b.column; });
    Provider& provider = m_connection->provider();
    m_connection->Guard([&] {
        if (m_editMode == adEditAdd) {
            *row = provider.InsertRow(*m_set, m_pending);
        } else {
            provider.UpdateRow(*m_set, *row, m_pending);
            std::vector<const StoredValue*> changes(m_set->columns.size(), nullptr);
            for (const PendingValue& p : m_pending)
                changes[static_cast<size_t>(p.column)] = &p.value;
            row->cells = row->cells.With(changes);
        }
        return 0;
    });
    m_pending.clear();
    m_editMode = adEditNone;
    std::fill(m_chunkAppended.begin(), m_chunkAppended.end(), 0);
    return S_OK;
}

HRESULT Recordset::CancelUpdate() {
    requireOpen();
    discardPending();
    return S_OK;
}

HRESULT Recordset::Delete(AffectEnum affect) {
    requireOpen();
    if (affect != adAffectCurrent)
        throw recordsetError(QStringLiteral("只支持删除当前记录。"));
    requireUpdatable(-1);
    if (m_editMode == adEditAdd) {
        discardPending();
        return S_OK;
    }
    requireCurrent();
    discardPending();
    Row* row = currentRow();
    m_connection->Guard([&] {
        m_connection->provider().DeleteRow(*m_set, *row);
        return 0;
    });
    m_deleted[m_visible[static_cast<size_t>(m_pos)]] = 1;
    m_visible.erase(m_visible.begin() + m_pos);
    m_onDeleted = true;
    positionChanged();
    return S_OK;
}

HRESULT Recordset::Requery(long) {
    requireOpen();
    discardPending();
    ConnectionPtr connection = m_connection;
    std::unique_ptr<RowSet> rows =
        connection->Guard([&] { return connection->provider().Execute(m_source, nullptr); });
    if (!rows)
        throw recordsetError(QStringLiteral("重新查询没有返回记录。"));
    QString filter = m_filter;
    Attach(connection, std::move(rows), m_source, m_cursorType, m_lockType);
    if (!filter.isEmpty())
        PutFilter(filter);
    return S_OK;
}

bool Recordset::rowMatches(const Criteria& criteria, const Row& row) const {
    return criteria.Matches([&](int column) {
        return CellToVariant(m_set->columns[static_cast<size_t>(column)], row.cells.Cell(column));
    });
}

void Recordset::rebuildVisible() {
    m_visible.clear();
    m_visible.reserve(m_set->rows.size());
    for (size_t k = 0; k < m_set->rows.size(); ++k)
        if (!m_deleted[k] && (!m_criteria || rowMatches(*m_criteria, m_set->rows[k])))
            m_visible.push_back(static_cast<std::uint32_t>(k));
}

void Recordset::PutFilter(const QString& criteria) {
    requireOpen();
    flushPending();
    std::unique_ptr<Criteria> parsed;
    if (!criteria.trimmed().isEmpty())
        parsed = std::make_unique<Criteria>(
            criteria, m_set->columns, [this](const QString& name) { return FindField(name); });
    m_criteria = std::move(parsed);
    m_filter = m_criteria ? criteria : QString();
    rebuildVisible();
    m_onDeleted = false;
    m_pos = 0;
    positionChanged();
}

HRESULT Recordset::Find(const QString& criteria, long skipRecords, SearchDirectionEnum direction,
                        const Variant& start) {
    requireOpen();
    Criteria parsed(criteria, m_set->columns,
                    [this](const QString& name) { return FindField(name); });
    flushPending();
    const long count = static_cast<long>(m_visible.size());
    const long step = direction == adSearchBackward ? -1 : 1;
    long from = m_pos;
    if (!start.IsNullOrEmpty() && start.IsNumber()) {
        long mark = static_cast<long>(start.ToDouble());
        if (mark == adBookmarkFirst)
            from = 0;
        else if (mark == adBookmarkLast)
            from = count - 1;
    } else if (m_onDeleted && step < 0) {
        from = m_pos - 1;
    }
    from = std::clamp(from, -1L, count);
    if (from < 0 && step > 0)
        from = 0;
    if (from >= count && step < 0)
        from = count - 1;
    long i = from + step * skipRecords;
    for (; i >= 0 && i < count; i += step)
        if (rowMatches(parsed, m_set->rows[m_visible[static_cast<size_t>(i)]]))
            break;
    m_onDeleted = false;
    m_pos = i < 0 ? -1 : std::min(i, count);
    positionChanged();
    return S_OK;
}

int Recordset::FindField(const QString& name) const {
    if (!m_set)
        return -1;
    auto it = m_fieldByName.find(name);
    if (it != m_fieldByName.end())
        return it.value();
    auto lower = m_fieldByLowerName.find(name.toLower());
    return lower != m_fieldByLowerName.end() ? lower.value() : -1;
}

int Recordset::FieldIndex(const Variant& index) const {
    requireOpen();
    int column = -1;
    if (index.IsString()) {
        column = FindField(index.Str());
    } else if (index.IsNumber()) {
        long i = static_cast<long>(index.ToDouble());
        column =
            (i >= 0 && i < static_cast<long>(m_set->columns.size())) ? static_cast<int>(i) : -1;
    }
    if (column < 0)
        throw recordsetError(QStringLiteral("在集合中找不到与请求的名称或序号对应的项目（%1）。")
                                 .arg(index.IsString() ? index.Str() : index.ToString()));
    return column;
}

const StoredValue* Recordset::pendingValue(int column) const {
    for (const PendingValue& p : m_pending)
        if (p.column == column)
            return &p.value;
    return nullptr;
}

void Recordset::setPending(int column, StoredValue value) {
    for (PendingValue& p : m_pending)
        if (p.column == column) {
            p.value = std::move(value);
            return;
        }
    m_pending.push_back({column, std::move(value)});
    if (m_editMode == adEditNone)
        m_editMode = adEditInProgress;
}

Variant Recordset::storedToVariant(int column, const StoredValue& value) const {
    return CellToVariant(m_set->columns[static_cast<size_t>(column)], cellOfStored(value));
}

Variant Recordset::Value(int column) const {
    requireCurrent();
    if (const StoredValue* pending = pendingValue(column))
        return storedToVariant(column, *pending);
    return CellToVariant(m_set->columns[static_cast<size_t>(column)],
                         currentRow()->cells.Cell(column));
}

Variant Recordset::OriginalValue(int column) const {
    requireCurrent();
    return CellToVariant(m_set->columns[static_cast<size_t>(column)],
                         currentRow()->cells.Cell(column));
}

void Recordset::SetValue(int column, const Variant& value) {
    requireCurrent();
    requireUpdatable(column);
    const ColumnInfo& info = m_set->columns[static_cast<size_t>(column)];
    setPending(column, m_connection->Guard([&] { return VariantToStored(info, value); }));
}

long Recordset::ActualSize(int column) const {
    Variant v = Value(column);
    if (v.IsNullOrEmpty())
        return 0;
    if (v.IsByteArray())
        return static_cast<long>(v.Bytes().size());
    if (v.IsString())
        return static_cast<long>(v.Str().size()) * 2;
    return m_set->columns[static_cast<size_t>(column)].definedSize;
}

Variant Recordset::GetChunk(int column, long length) {
    Variant v = Value(column);
    if (m_chunkColumn != column) {
        m_chunkColumn = column;
        m_chunkOffset = 0;
    }
    if (length < 0)
        throw recordsetError(
            QStringLiteral("参数类型不正确，或不在可以接受的范围之内，或与其他参数冲突。"));
    if (v.IsByteArray()) {
        const QByteArray& bytes = v.Bytes();
        if (m_chunkOffset >= bytes.size())
            return Variant::Null();
        QByteArray part = bytes.mid(m_chunkOffset, length);
        m_chunkOffset += static_cast<long>(part.size());
        return Variant(part);
    }
    if (v.IsString()) {
        const QString& text = v.Str();
        long offsetChars = m_chunkOffset / 2;
        if (offsetChars >= text.size())
            return Variant::Null();
        QString part = text.mid(offsetChars, length / 2);
        m_chunkOffset += static_cast<long>(part.size()) * 2;
        return Variant(part);
    }
    if (v.IsNullOrEmpty())
        return Variant::Null();
    throw ComError(
        E_FAIL,
        QStringLiteral("字段“%1”不是长二进制或长文本字段。").arg(m_set->columns[column].name),
        FieldSource());
}

void Recordset::AppendChunk(int column, const Variant& data) {
    requireCurrent();
    requireUpdatable(column);
    const ColumnInfo& info = m_set->columns[static_cast<size_t>(column)];
    bool first = !m_chunkAppended[static_cast<size_t>(column)];
    Variant combined = data;
    if (!first) {
        Variant current = Value(column);
        if (current.IsByteArray() && data.IsByteArray())
            combined = Variant(current.Bytes() + data.Bytes());
        else if (!current.IsNullOrEmpty())
            combined = Variant(current.ToString() + data.ToString());
    }
    setPending(column, m_connection->Guard([&] { return VariantToStored(info, combined); }));
    m_chunkAppended[static_cast<size_t>(column)] = 1;
}

Variant Recordset::GetCollect(const Variant& index) {
    return Value(FieldIndex(index));
}

void Recordset::PutCollect(const Variant& index, const Variant& value) {
    SetValue(FieldIndex(index), value);
}

FieldsPtr Recordset::GetFields() {
    requireOpen();
    return std::make_shared<Fields>(shared_from_this());
}

} // namespace adodb
