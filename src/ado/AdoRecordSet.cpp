#include "ado/AdoRecordSet.h"

#include "ado/AdoWarning.h"
#include "platform/MessageService.h"
#include "platform/Trace.h"

#include <cmath>

using namespace adodb;

CAdoRecordSet::CAdoRecordSet() : m_dtOpened(COleDateTime::Invalid()), m_pRs(Recordset::Create()) {
    if (!m_pRs)
        AfxMessageBox(QStringLiteral("RecordSet 对象创建失败! 请确认是否初始化了COM环境."));
}

CAdoRecordSet::~CAdoRecordSet() {
    if (IsOpen())
        Close();
    m_pRs.reset();
}

QString CAdoRecordSet::ErrorList(const ComError& e) {
    return m_pAdoConnection
               ? m_pAdoConnection->GetLastError(&e)
               : FormatText(
                     QStringLiteral("Description: %s\r\nState: %s, Native: %d, Source: %s\r\n"),
                     e.Description(), e.SQLState(), e.NativeError(), e.Source());
}

void CAdoRecordSet::Warn(const QString& warning, const ComError& e) {
    m_strLastError = warning + ErrorList(e);
    Trace(m_strLastError);
}

void CAdoRecordSet::Stamp(bool connectionToo) {
    m_dtOpened = COleDateTime::GetCurrentTime();
    if (connectionToo && m_pAdoConnection)
        m_pAdoConnection->m_dtLastOpen = m_dtOpened;
}

void CAdoRecordSet::SetAdoConnection(CAdoConnection* connection) {
    m_pAdoConnection = connection;
}

bool CAdoRecordSet::OpenIfNeeded(const QString& table, CAdoConnection* connection) {
    if (connection && !table.isEmpty() && connection != m_pAdoConnection) {
        SetAdoConnection(connection);
        PutCursorLocation(adUseClient);
    }
    if (!IsOpen() && !Open(table, adCmdTable, adOpenDynamic, adLockOptimistic))
        return false;
    if (m_pAdoConnection && m_dtOpened.IsValid() && m_pAdoConnection->m_dtLastOpen.IsValid() &&
        m_dtOpened < m_pAdoConnection->m_dtLastOpen)
        return Requery(-1);
    if (GetRecordCount() > 0)
        MoveFirst();
    return true;
}

bool CAdoRecordSet::Open(const QString& source, long options, long cursorType, long lockType) {
    if (!source.isEmpty())
        m_strSQL = source;
    if (!m_pAdoConnection || !m_pRs || m_strSQL.isEmpty())
        return false;
    if (IsOpen())
        Close();
    try {
        HRESULT hr = m_pRs->Open(m_strSQL, m_pAdoConnection->GetConnection(),
                                 static_cast<CursorTypeEnum>(cursorType),
                                 static_cast<LockTypeEnum>(lockType), options);
        if (FAILED(hr))
            return false;
        m_nFailedMove = 0;
        Stamp(true);
        return true;
    } catch (const ComError& e) {
        QString list = ErrorList(e);
        m_strLastError =
            ADO_WARNING("Warning: 打开记录集发生异常. 错误信息: %s; 文件: %s; 行: %d\n", e) + list;
        Trace(m_strLastError);
        m_strLastError = FormatText(QStringLiteral("%s\r\n"), list);
        return false;
    }
}

bool CAdoRecordSet::Requery(long options) {
    if (!m_pRs)
        return false;
    try {
        if (m_pRs->Requery(options) != S_OK)
            return false;
        m_nFailedMove = 0;
        Stamp(true);
        return true;
    } catch (const ComError& e) {
        Warn(
            ADO_WARNING(
                "Warning: Requery 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n", e),
            e);
        return false;
    }
}

long CAdoRecordSet::GetRecordCount() {
    try {
        long count = m_pRs->GetRecordCount();
        if (count >= 0)
            return count;
        // The provider cannot tell: count by walking, then go back.
        long position = m_pRs->GetAbsolutePosition();
        count = 0;
        if (MoveFirst())
            while (!IsEOF() && MoveNext())
                ++count;
        if (position > 0)
            m_pRs->PutAbsolutePosition(position);
        return count;
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: GetRecordCount 方法发生异常.\n错误信息: "
                         "\t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                         e),
             e);
        return -1;
    }
}

long CAdoRecordSet::GetState() {
    try {
        return m_pRs ? m_pRs->GetState() : -1;
    } catch (const ComError& e) {
        Warn(ADO_WARNING(
                 "Warning: GetState 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                 e),
             e);
        return -1;
    }
}

bool CAdoRecordSet::IsOpen() {
    if (!m_pRs)
        return false;
    long state = GetState();
    return state >= 0 && (state & adStateOpen);
}

bool CAdoRecordSet::Close() {
    try {
        if (m_pRs && GetState() != adStateClosed) {
            CancelUpdate();
            m_pRs->Close();
        }
        m_nFailedMove = 0;
        return true;
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: 关闭记录集发生异常. 错误信息: %s; 文件: %s; 行: %d\n", e), e);
        return false;
    }
}

long CAdoRecordSet::GetEditMode() {
    try {
        return m_pRs ? m_pRs->GetEditMode() : adEditNone;
    } catch (const ComError& e) {
        Warn(
            ADO_WARNING(
                "Warning: GetEditMode 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                e),
            e);
        return adEditNone;
    }
}

bool CAdoRecordSet::AddNew() {
    if (!m_pRs)
        return false;
    try {
        if (m_pRs->AddNew() != S_OK)
            return false;
        m_nFailedMove = 0;
        return true;
    } catch (const ComError& e) {
        Warn(ADO_WARNING(
                 "Warning: AddNew 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n", e),
             e);
        return false;
    }
}

bool CAdoRecordSet::Update() {
    if (m_pRs) {
        try {
            if (m_pRs->Update() == S_OK) {
                Stamp(false);
                return true;
            }
        } catch (const ComError& e) {
            Warn(ADO_WARNING(
                     "Warning: Update 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                     e),
                 e);
        }
    }
    CancelUpdate();
    return false;
}

bool CAdoRecordSet::CancelUpdate() {
    try {
        if (GetEditMode() == adEditNone)
            return true;
        return m_pRs->CancelUpdate() == S_OK;
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: CancelUpdate 方法发生异常.\n错误信息: \t%s.\n文件: "
                         "\t\t%s.\n行: \t\t%d.\n",
                         e),
             e);
        return false;
    }
}

bool CAdoRecordSet::Delete(long affect) {
    try {
        if (!m_pRs || m_pRs->Delete(static_cast<AffectEnum>(affect)) != S_OK)
            return false;
        Stamp(true);
        return true;
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: Delete发生异常. 错误信息: %s; 文件: %s; 行: %d\n", e), e);
        return false;
    }
}

bool CAdoRecordSet::Move(HRESULT (Recordset::*move)(), int direction, const char* warning) {
    if (!m_pRs)
        return false;
    try {
        bool ok = SUCCEEDED(((*m_pRs).*move)());
        if (ok)
            m_nFailedMove = 0;
        return ok;
    } catch (const ComError& e) {
        m_nFailedMove = direction;
        Warn(FormatText(QString::fromUtf8(warning), e.ErrorMessage(), SourceFileName(__FILE__),
                        __LINE__),
             e);
        return false;
    }
}

bool CAdoRecordSet::MoveFirst() {
    return Move(&Recordset::MoveFirst, 2,
                "Warning: MoveFirst 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n");
}

bool CAdoRecordSet::MoveLast() {
    return Move(&Recordset::MoveLast, 2,
                "Warning: MoveLast 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n");
}

bool CAdoRecordSet::MovePrevious() {
    return Move(
        &Recordset::MovePrevious, -1,
        "Warning: MovePrevious 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n");
}

bool CAdoRecordSet::MoveNext() {
    return Move(&Recordset::MoveNext, 1,
                "Warning: MoveNext 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n");
}

bool CAdoRecordSet::IsBOF() {
    if (m_nFailedMove < 0 || m_nFailedMove == 2)
        return true;
    try {
        return m_pRs && m_pRs->GetBOF();
    } catch (const ComError&) {
        return true;
    }
}

bool CAdoRecordSet::IsEOF() {
    if (m_nFailedMove > 0)
        return true;
    try {
        return !m_pRs || m_pRs->GetEOF();
    } catch (const ComError&) {
        return true;
    }
}

long CAdoRecordSet::GetAbsolutePosition() {
    try {
        return m_pRs ? m_pRs->GetAbsolutePosition() : adPosUnknown;
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: GetAbsolutePosition 方法发生异常.\n错误信息: "
                         "\t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                         e),
             e);
        return adPosUnknown;
    }
}

bool CAdoRecordSet::SetAbsolutePosition(long position) {
    try {
        if (!m_pRs)
            return false;
        m_pRs->PutAbsolutePosition(position);
        m_nFailedMove = 0;
        return true;
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: SetAbsolutePosition 方法发生异常.\n错误信息: "
                         "\t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                         e),
             e);
        return false;
    }
}

bool CAdoRecordSet::PutCursorLocation(long location) {
    try {
        if (!m_pRs)
            return false;
        m_pRs->PutCursorLocation(static_cast<CursorLocationEnum>(location));
        return true;
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: PutCursorLocation 方法发生异常.\n错误信息: "
                         "\t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                         e),
             e);
        return false;
    }
}

long CAdoRecordSet::GetFieldsCount() {
    try {
        return m_pRs->GetFields()->GetCount();
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: GetFieldsCount 方法发生异常.\n错误信息: "
                         "\t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                         e),
             e);
        return -1;
    }
}

bool CAdoRecordSet::SetFilter(const QString& filter, bool refreshFirst) {
    try {
        if (refreshFirst)
            OpenIfNeeded(QString(), nullptr);
        m_pRs->PutFilter(filter);
        m_nFailedMove = 0;
        return true;
    } catch (const ComError& e) {
        Warn(ADO_WARNING(
                 "Warning: SetFilter 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                 e),
             e);
        return false;
    }
}

bool CAdoRecordSet::Find(const QString& criteria, long direction) {
    if (!criteria.isEmpty())
        m_strFind = criteria;
    if (m_strFind.isEmpty() || !m_pRs)
        return false;
    try {
        const auto dir = static_cast<SearchDirectionEnum>(direction);
        const Variant fromEnd(
            static_cast<int>(direction == adSearchBackward ? adBookmarkLast : adBookmarkFirst));
        // From the current row; when that finds nothing, over the whole recordset.
        bool fromStart = m_pRs->GetBOF() || m_pRs->GetEOF() ||
                         (direction != adSearchBackward && m_pRs->GetAbsolutePosition() == 1) ||
                         (direction == adSearchBackward &&
                          m_pRs->GetAbsolutePosition() == m_pRs->GetRecordCount());
        m_pRs->Find(m_strFind, 0, dir, fromStart ? fromEnd : Variant());
        if (!fromStart && (m_pRs->GetEOF() || m_pRs->GetBOF()))
            m_pRs->Find(m_strFind, 0, dir, fromEnd);
        m_nFailedMove = 0;
        if (m_pRs->GetEOF() || m_pRs->GetBOF())
            return false;
        m_nSearchDirection = direction;
        return true;
    } catch (const ComError& e) {
        Warn(ADO_WARNING(
                 "Warning: Find 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n", e),
             e);
        return false;
    }
}

FieldsPtr CAdoRecordSet::GetFields() {
    try {
        return m_pRs->GetFields();
    } catch (const ComError& e) {
        Warn(ADO_WARNING(
                 "Warning: GetFields 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                 e),
             e);
        return nullptr;
    }
}

QString CAdoRecordSet::GetFieldName(long index) {
    try {
        return m_pRs->GetFields()->GetItem(Variant(static_cast<int>(index)))->GetName();
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: GetFieldName 方法发生异常.\n错误信息: \t%s.\n文件: "
                         "\t\t%s.\n行: \t\t%d.\n",
                         e),
             e);
        return QString();
    }
}

FieldPtr CAdoRecordSet::GetField(const QString& field) {
    try {
        return m_pRs->GetFields()->GetItem(Variant(field));
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: GetField发生异常. 错误信息: %s; 文件: %s; 行: %d\n", e), e);
        return nullptr;
    }
}

long CAdoRecordSet::GetFieldType(const QString& field) {
    try {
        return m_pRs->GetFields()->GetItem(Variant(field))->GetType();
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: GetField发生异常. 错误信息: %s; 文件: %s; 行: %d\n", e), e);
        return 0;
    }
}

int CAdoRecordSet::GetFieldKind(const QString& field) {
    switch (GetFieldType(field)) {
    case 2:
    case 3:
    case 4:
    case 5:
    case 11:
    case 14:
    case 16:
    case 17:
    case 18:
    case 19:
    case 20:
    case 21:
    case 131:
        return 1;
    case 7:
    case 8:
    case 133:
    case 134:
    case 135:
        return 2;
    case 129:
    case 130:
    case 200:
    case 201:
    case 202:
    case 203:
        return 3;
    default:
        return 0;
    }
}

bool CAdoRecordSet::GetValue(const QString& field, long& value) {
    try {
        value = VariantToLong(m_pRs->GetCollect(Variant(field)));
        return true;
    } catch (const ComError&) {
        value = 0;
        return false;
    }
}

bool CAdoRecordSet::GetValueString(const QString& field, QString& value) {
    if (!IsOpen()) {
        MessageBox(nullptr, QStringLiteral("数据库可能已经断开,\r\n请重新连接、然后重试."),
                   QStringLiteral("提示"), MB_OK | MB_ICONINFORMATION);
        return false;
    }
    if (IsEOF())
        return false;
    try {
        value = VariantToString(m_pRs->GetCollect(Variant(field)));
        return true;
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: 字段访问失败. 错误信息: %s; 文件: %s; 行: %d\n", e), e);
        return false;
    }
}

QString CAdoRecordSet::GetDisplayValue(const QString& field) {
    if (!m_pRs || m_pRs->GetState() == adStateClosed) {
        MessageBox(nullptr, QStringLiteral("数据库可能已经断开1,\r\n请重新连接、然后重试."),
                   QStringLiteral("提示"), MB_OK | MB_ICONINFORMATION);
        return QString();
    }
    if (IsEOF())
        return QString();
    try {
        return VariantToDisplayText(m_pRs->GetCollect(Variant(field)));
    } catch (const ComError& e) {
        m_strLastError = FormatText(QStringLiteral(":( 字段访问失败: %s\n"), e.Description());
        Trace(m_strLastError);
        return QString();
    }
}

Variant CAdoRecordSet::GetCollectValue(long index) {
    try {
        return m_pRs->GetCollect(Variant(static_cast<int>(index)));
    } catch (const ComError& e) {
        m_strLastError = FormatText(QStringLiteral(":( 字段访问失败: %s\n"), e.Description());
        Trace(m_strLastError);
        return Variant(QString());
    }
}

bool CAdoRecordSet::PutCollect(const QString& field, const Variant& value) {
    if (!m_pRs)
        return false;
    try {
        m_pRs->PutCollect(Variant(field), value);
        return true;
    } catch (const ComError&) {
        return false;
    }
}

bool CAdoRecordSet::PutTyped(const QString& field, const Variant& value,
                             std::initializer_list<long> accepted) {
    long type = GetFieldType(field);
    bool fits = false;
    for (long t : accepted)
        fits = fits || t == type;
    if (!fits) {
        m_strLastError = FormatText(
            QStringLiteral("Warning: 你要存贮的字段与变量的数据类型不符; 文件: %s; 行: %d\n"),
            SourceFileName(__FILE__), __LINE__);
        Trace(m_strLastError);
    }
    return PutCollect(field, value);
}

bool CAdoRecordSet::PutValue(const QString& field, bool value) {
    return PutTyped(field, Variant(value), {11});
}
bool CAdoRecordSet::PutValue(const QString& field, unsigned char value) {
    return PutTyped(field, Variant(value), {17});
}
bool CAdoRecordSet::PutValue(const QString& field, short value) {
    return PutTyped(field, Variant(value), {2});
}
bool CAdoRecordSet::PutValue(const QString& field, int value) {
    return PutTyped(field, Variant(value), {3});
}
bool CAdoRecordSet::PutValue(const QString& field, long long value) {
    return PutTyped(field, Variant(static_cast<int>(value)), {20});
}
bool CAdoRecordSet::PutValue(const QString& field, unsigned int value) {
    return PutTyped(field, Variant(value), {21});
}
bool CAdoRecordSet::PutValue(const QString& field, float value) {
    return PutTyped(field, Variant(value), {4});
}
bool CAdoRecordSet::PutValue(const QString& field, double value) {
    return PutTyped(field, Variant(value), {5});
}
bool CAdoRecordSet::PutValue(const QString& field, const COleDateTime& value) {
    return PutTyped(field, Variant(value), {7, 133, 134, 135});
}
bool CAdoRecordSet::PutValue(const QString& field, const COleCurrency& value) {
    return PutTyped(field, Variant::Currency(value.m_cur), {6});
}
bool CAdoRecordSet::PutValue(const QString& field, const QString& value) {
    return PutTyped(field, value.isEmpty() ? Variant::Null() : Variant(value),
                    {200, 129, 201, 202, 130, 203});
}

namespace {

// "%02d" and "%04d" without the cost of a formatter: the list shows these for every row.
void appendPadded(QString& out, int value, int width) {
    const QString digits = QString::number(value);
    if (value >= 0 && digits.size() < width)
        out += QString(width - digits.size(), QLatin1Char('0'));
    out += digits;
}

QString displayDate(const COleDateTime& date, bool withTime) {
    const int year = date.GetYear();
    if (year < 0 || year > 9999)
        return date.Format(withTime ? QStringLiteral("%Y年%m月%d日%H时%M分")
                                    : QStringLiteral("%Y年%m月%d日"));
    QString out;
    out.reserve(withTime ? 17 : 11);
    appendPadded(out, year, 4);
    out += QChar(0x5E74); // 年
    appendPadded(out, date.GetMonth(), 2);
    out += QChar(0x6708); // 月
    appendPadded(out, date.GetDay(), 2);
    out += QChar(0x65E5); // 日
    if (withTime) {
        appendPadded(out, date.GetHour(), 2);
        out += QChar(0x65F6); // 时
        appendPadded(out, date.GetMinute(), 2);
        out += QChar(0x5206); // 分
    }
    return out;
}

} // namespace

QString CAdoRecordSet::VariantToDisplayText(const Variant& value) const {
    switch (value.vt()) {
    case VT_EMPTY:
    case VT_NULL:
        return QString();
    case VT_I2:
        return QString::number(static_cast<short>(value.Int()));
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
    case VT_VOID:
        return QString::number(LowFourBytes(value));
    case VT_R4:
    case VT_R8:
        return value.Double() == 0 ? QString() : QString::number(value.Double(), 'f', 2);
    case VT_DATE: {
        COleDateTime date = value.DateValue();
        if (!date.IsValid() || date.m_dt <= 0.01)
            return QString();
        return displayDate(date, date.m_dt != std::floor(date.m_dt));
    }
    case VT_BSTR:
    case VT_LPSTR:
    case VT_LPWSTR:
        return value.Str();
    case VT_BOOL:
        return value.Bool() ? QStringLiteral("是") : QStringLiteral("否");
    case VT_DECIMAL:
        return FormatText(QStringLiteral("%.4f"), value.ToDouble());
    case VT_I1:
    case VT_UI1:
        return QString::number(static_cast<unsigned char>(value.Int()));
    case VT_UI2:
        return QString::number(static_cast<unsigned short>(value.Int()));
    default:
        return QStringLiteral("UN_KNOW");
    }
}
