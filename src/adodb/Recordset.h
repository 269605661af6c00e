#pragma once
// The Recordset object: the rows of a query or table read at Open, a current row that
// moves over them, and edits written back to the base table of a single-table query.
// Changes put into the current row are stored when the recordset moves to another row and
// cancelled by Close (immediate update mode). Updates are optimistic: a row whose changed
// columns no longer hold the values read is not overwritten.

#include "adodb/AdoTypes.h"
#include "adodb/Connection.h"
#include "adodb/Criteria.h"
#include "adodb/RowSet.h"
#include "adodb/Variant.h"

#include <QHash>
#include <QString>

#include <memory>
#include <vector>

namespace adodb {

class Fields;
class Field;
using FieldsPtr = std::shared_ptr<Fields>;
using FieldPtr = std::shared_ptr<Field>;

class Recordset : public std::enable_shared_from_this<Recordset> {
public:
    static RecordsetPtr Create();
    ~Recordset();
    Recordset(const Recordset&) = delete;
    Recordset& operator=(const Recordset&) = delete;

    HRESULT Open(const QString& source, const ConnectionPtr& activeConnection,
                 CursorTypeEnum cursorType, LockTypeEnum lockType, long options);
    HRESULT Close();
    long GetState() const { return m_set ? adStateOpen : adStateClosed; }

    bool GetBOF() const;
    bool GetEOF() const;
    HRESULT MoveFirst();
    HRESULT MoveLast();
    HRESULT MoveNext();
    HRESULT MovePrevious();

    long GetRecordCount() const;
    long GetAbsolutePosition() const;
    void PutAbsolutePosition(long position);
    CursorLocationEnum GetCursorLocation() const { return m_cursorLocation; }
    void PutCursorLocation(CursorLocationEnum location);
    CursorTypeEnum GetCursorType() const { return m_cursorType; }
    LockTypeEnum GetLockType() const { return m_lockType; }
    EditModeEnum GetEditMode() const { return m_editMode; }
    ConnectionPtr GetActiveConnection() const { return m_connection; }
    QString GetSource() const { return m_source; }

    HRESULT AddNew();
    HRESULT Update();
    HRESULT CancelUpdate();
    HRESULT Delete(AffectEnum affect);
    HRESULT Requery(long options);

    QString GetFilter() const { return m_filter; }
    // "" removes the filter; setting or removing it moves to the first row.
    void PutFilter(const QString& criteria);
    // Searches from the start row (empty: the current row; adBookmarkFirst or adBookmarkLast)
    // after skipping rows; a row found becomes current, else the recordset stands at its end
    // (forward) or before its start (backward).
    HRESULT Find(const QString& criteria, long skipRecords, SearchDirectionEnum direction,
                 const Variant& start);

    Variant GetCollect(const Variant& index);
    void PutCollect(const Variant& index, const Variant& value);
    FieldsPtr GetFields();

    // Used by the Fields and Field objects.
    const std::vector<ColumnInfo>& columns() const;
    int FieldIndex(const Variant& index) const;
    int FindField(const QString& name) const;
    Variant Value(int column) const;
    void SetValue(int column, const Variant& value);
    long ActualSize(int column) const;
    Variant GetChunk(int column, long length);
    void AppendChunk(int column, const Variant& data);
    Variant OriginalValue(int column) const;

    // Gives a recordset rows that were read already (Execute, OpenSchema).
    void Attach(ConnectionPtr connection, std::unique_ptr<RowSet> rows, const QString& source,
                CursorTypeEnum cursorType, LockTypeEnum lockType);

private:
    Recordset() = default;

    void requireOpen() const;
    void requireCurrent() const;
    void requireUpdatable(int column) const;
    Row* currentRow();
    const Row* currentRow() const;
    void flushPending();
    void discardPending();
    void positionChanged();
    void rebuildVisible();
    bool rowMatches(const Criteria& criteria, const Row& row) const;
    Variant storedToVariant(int column, const StoredValue& value) const;
    const StoredValue* pendingValue(int column) const;
    void setPending(int column, StoredValue value);

    ConnectionPtr m_connection;
    std::unique_ptr<RowSet> m_set;
    QString m_source;
    CursorTypeEnum m_cursorType = adOpenForwardOnly;
    LockTypeEnum m_lockType = adLockReadOnly;
    CursorLocationEnum m_cursorLocation = adUseServer;

    std::vector<std::uint32_t> m_visible; // rows shown, through the filter
    std::vector<char> m_deleted;          // per row of the set
    long m_pos = 0;                       // index into m_visible; -1 before, size after
    bool m_onDeleted = false;             // the current row was deleted; m_pos is its successor

    EditModeEnum m_editMode = adEditNone;
    std::vector<PendingValue> m_pending;
    long m_posBeforeAdd = 0;

    QString m_filter;
    std::unique_ptr<Criteria> m_criteria;

    QHash<QString, int> m_fieldByName;      // exact names
    QHash<QString, int> m_fieldByLowerName; // names in lower case

    int m_chunkColumn = -1;
    long m_chunkOffset = 0;
    std::vector<char> m_chunkAppended; // per column, since the row became current
};

} // namespace adodb
