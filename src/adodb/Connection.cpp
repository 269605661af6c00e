#include "adodb/Connection.h"

#include "adodb/ConnectionString.h"
#include "adodb/Provider.h"
#include "adodb/Recordset.h"

namespace adodb {

ErrorPtr Errors::GetItem(const Variant& index) const {
    long i = static_cast<long>(index.ToDouble());
    if (!index.IsNumber() || i < 0 || i >= GetCount())
        throw ComError(E_FAIL, QStringLiteral("在集合中找不到与请求的名称或序号对应的项目。"),
                       ConnectionSource());
    return m_errors[static_cast<size_t>(i)];
}

std::shared_ptr<Connection> Connection::Create() {
    return std::shared_ptr<Connection>(new Connection());
}

Connection::Connection() : m_errors(std::make_shared<Errors>()) {}

Connection::~Connection() {
    try {
        if (m_provider)
            m_provider->Close();
    } catch (const ComError&) {
        // a connection going away without Close has nothing to report to
    }
}

Provider& Connection::provider() const {
    if (!m_provider)
        throw ComError(E_FAIL, QStringLiteral("连接已关闭，不能执行此操作。"), ConnectionSource(),
                       QStringLiteral("08003"));
    return *m_provider;
}

void Connection::Fail(const ComError& e) {
    m_errors->Clear();
    m_errors->Append(e);
    throw e;
}

HRESULT Connection::Open(const QString& connectionString, const QString& user,
                         const QString& password, long options) {
    if (m_provider)
        throw ComError(E_FAIL, QStringLiteral("对象打开时，不允许操作。"), ConnectionSource());
    return Guard([&] {
        ConnectionString parsed(connectionString);
        std::unique_ptr<Provider> provider = CreateProvider(parsed);
        HRESULT hr = provider->Open(parsed, user, password, options);
        if (FAILED(hr))
            throw ComError(hr, QStringLiteral("无法打开连接。"), ConnectionSource());
        m_provider = std::move(provider);
        m_connectionString = connectionString;
        return hr;
    });
}

HRESULT Connection::Close() {
    if (!m_provider)
        throw ComError(E_FAIL, QStringLiteral("对象关闭时，不允许操作。"), ConnectionSource());
    m_provider->Close();
    m_provider.reset();
    return S_OK;
}

long Connection::GetState() const {
    return m_provider ? adStateOpen : adStateClosed;
}

RecordsetPtr Connection::Execute(const QString& commandText, long* recordsAffected, long options) {
    return Guard([&] {
        long affected = 0;
        QString text = commandText;
        if ((options & 0xFF) == adCmdTable)
            text = QStringLiteral("SELECT * FROM [%1]").arg(commandText);
        std::unique_ptr<RowSet> rows = provider().Execute(text, &affected);
        if (recordsAffected)
            *recordsAffected = affected;
        RecordsetPtr rs = Recordset::Create();
        if (rows)
            rs->Attach(shared_from_this(), std::move(rows), text, adOpenForwardOnly,
                       adLockReadOnly);
        return rs;
    });
}

long Connection::BeginTrans() {
    return Guard([&] { return provider().BeginTrans(); });
}

HRESULT Connection::CommitTrans() {
    return Guard([&] {
        provider().CommitTrans();
        return S_OK;
    });
}

HRESULT Connection::RollbackTrans() {
    return Guard([&] {
        provider().RollbackTrans();
        return S_OK;
    });
}

RecordsetPtr Connection::OpenSchema(SchemaEnum schema, const Variant& restrictions) {
    return Guard([&] {
        std::unique_ptr<RowSet> rows = provider().OpenSchema(schema, restrictions.Array());
        RecordsetPtr rs = Recordset::Create();
        rs->Attach(shared_from_this(), std::move(rows), QString(), adOpenStatic, adLockReadOnly);
        return rs;
    });
}

} // namespace adodb
