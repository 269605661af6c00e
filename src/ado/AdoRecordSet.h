#pragma once
// The data layer's recordset: one ADO Recordset read through a CAdoConnection, with
// navigation, editing, counting, filtering, finding and typed field access. Failures are
// caught, kept in m_strLastError and the trace, and turned into a failure result.

#include "ado/AdoConnection.h"
#include "ado/FieldValues.h"
#include "adodb/Field.h"
#include "adodb/Recordset.h"
#include "platform/OleDateTime.h"

#include <QString>

class CAdoRecordSet {
public:
    CAdoRecordSet();
    virtual ~CAdoRecordSet();
    CAdoRecordSet(const CAdoRecordSet&) = delete;
    CAdoRecordSet& operator=(const CAdoRecordSet&) = delete;

    // Attaches (when given a new connection and a table), opens the table once, requeries
    // when another recordset on the connection has opened, requeried or deleted since,
    // and moves to the first row.
    bool OpenIfNeeded(const QString& table, CAdoConnection* connection);
    bool Open(const QString& source, long options = adodb::adCmdText,
              long cursorType = adodb::adOpenDynamic, long lockType = adodb::adLockOptimistic);
    bool Close();
    bool IsOpen();

    bool MoveFirst();
    bool MoveLast();
    bool MovePrevious();
    bool MoveNext();
    // Also TRUE after a move in that direction failed, so that walking loops end.
    bool IsBOF();
    bool IsEOF();

    bool AddNew();
    // Saves the edit; when that fails the edit is cancelled.
    bool Update();
    bool CancelUpdate();
    bool Delete(long affect = adodb::adAffectCurrent);
    long GetFieldsCount();
    bool SetFilter(const QString& filter, bool refreshFirst);
    // Finds a matching row anywhere in the recordset, also from its end. "" repeats the
    // last criteria.
    bool Find(const QString& criteria, long direction = adodb::adSearchForward);

    bool Requery(long options = -1);
    long GetRecordCount();
    long GetState();
    long GetEditMode();
    long GetAbsolutePosition();
    bool SetAbsolutePosition(long position);
    bool PutCursorLocation(long location);
    void SetAdoConnection(CAdoConnection* connection);
    CAdoConnection* GetAdoConnection() const { return m_pAdoConnection; }
    adodb::RecordsetPtr GetRecordset() const { return m_pRs; }
    const QString& GetSQL() const { return m_strSQL; }

    // Field metadata.
    adodb::FieldsPtr GetFields();
    QString GetFieldName(long index);
    long GetFieldType(const QString& field);
    // 1 number, 2 date, 3 text, 0 other.
    int GetFieldKind(const QString& field);
    adodb::FieldPtr GetField(const QString& field);

    // Values.
    bool GetValue(const QString& field, long& value);
    bool GetValueString(const QString& field, QString& value);
    QString GetDisplayValue(const QString& field);
    adodb::Variant GetCollectValue(long index);
    bool PutCollect(const QString& field, const adodb::Variant& value);

    bool PutValue(const QString& field, bool value);
    bool PutValue(const QString& field, unsigned char value);
    bool PutValue(const QString& field, short value);
    bool PutValue(const QString& field, int value);
    bool PutValue(const QString& field, long long value); // stored as a four-byte integer
    bool PutValue(const QString& field, unsigned int value);
    bool PutValue(const QString& field, float value);
    bool PutValue(const QString& field, double value);
    bool PutValue(const QString& field, const COleDateTime& value);
    bool PutValue(const QString& field, const COleCurrency& value);
    bool PutValue(const QString& field, const QString& value);
    bool PutValue(const QString& field, const char* value) {
        return PutValue(field, QString::fromUtf8(value));
    }

    // Display text: dates "%Y年%m月%d日" (with the time when there is one), numbers with two
    // decimals, 是/否, zero and the empty date as "".
    QString VariantToDisplayText(const adodb::Variant& value) const;

    QString m_strLastError;

protected:
    bool PutTyped(const QString& field, const adodb::Variant& value,
                  std::initializer_list<long> accepted);
    QString ErrorList(const adodb::ComError& e);
    // Keeps the warning followed by the provider's error list, and traces it.
    void Warn(const QString& warning, const adodb::ComError& e);
    void Stamp(bool connectionToo);
    bool Move(adodb::HRESULT (adodb::Recordset::*move)(), int direction, const char* warning);

    QString m_strSQL;
    QString m_strFind;
    long m_nSearchDirection = 1;
    CAdoConnection* m_pAdoConnection = nullptr;
    COleDateTime m_dtOpened;
    adodb::RecordsetPtr m_pRs;
    int m_nFailedMove =
        0; // after a failed move: 1 forward, -1 backward, 2 to the first or last row
};
