#include "ado/AdoConnection.h"

#include "ado/AdoWarning.h"
#include "adodb/ConnectionString.h"
#include "platform/MessageService.h"
#include "platform/Trace.h"

#include <QFileInfo>

using namespace adodb;

QString SourceFileName(const char* path) {
    return QFileInfo(QString::fromUtf8(path)).fileName();
}

CAdoConnection::CAdoConnection()
    : m_dtLastOpen(COleDateTime::Invalid()), m_pConn(Connection::Create()) {
    if (!m_pConn)
        AfxMessageBox(QStringLiteral("Connection 对象创建失败! 请确认是否初始化了COM环境\r\n"));
}

void CAdoConnection::Warn(const QString& warning, const ComError& e) {
    m_strLastError = warning + GetLastError(&e);
    Trace(m_strLastError);
}

CAdoConnection::~CAdoConnection() {
    if (m_pConn)
        Release();
}

void CAdoConnection::Release() {
    if (IsOpen())
        Close();
    m_pConn.reset();
}

QString CAdoConnection::GetLastError(const ComError* error) {
    QString text;
    if (!m_pConn)
        return text;
    bool listed = false;
    try {
        ErrorsPtr errors = m_pConn->GetErrors();
        for (long i = 0; i < errors->GetCount(); ++i) {
            ErrorPtr e = errors->GetItem(Variant(static_cast<int>(i)));
            text += FormatText(
                QStringLiteral("Description: %s\r\nState: %s, Native: %d, Source: %s\r\n"),
                e->GetDescription(), e->GetSQLState(), e->GetNativeError(), e->GetSource());
            if (error && e->GetDescription() == error->Description())
                listed = true;
        }
    } catch (const ComError& e) {
        m_strLastError = ADO_WARNING(
            "Warning: GetLastError 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
            e);
        Trace(m_strLastError);
        return text;
    }
    if (error && !listed)
        text += FormatText(
            QStringLiteral("Description: %s\r\nState: %s, Native: %d, Source: %s\r\n"),
            error->Description(), error->SQLState(), error->NativeError(), error->Source());
    return text;
}

bool CAdoConnection::Open(const QString& connect, long options) {
    if (!m_pConn)
        return false;
    if (!connect.isEmpty())
        m_strConnect = connect;
    if (m_strConnect.isEmpty())
        return false;
    if (IsOpen())
        Close();
    try {
        return m_pConn->Open(m_strConnect, QString(), QString(), options) == S_OK;
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: 连接数据库发生异常. 错误信息: %s; 文件: %s; 行: %d\n", e), e);
        return false;
    } catch (...) {
        m_strLastError = QStringLiteral("Warning: 连接数据库时发生未知错误:");
        return false;
    }
}

bool CAdoConnection::OpenJetDatabase(const QString& path, const QString& password, long options) {
    QString connect = JetConnectionString(path);
    if (!password.isEmpty())
        connect += QStringLiteral(";Jet OLEDB:Database Password=") + password;
    return Open(connect, options);
}

void CAdoConnection::Close() {
    try {
        if (m_pConn && IsOpen())
            m_pConn->Close();
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: 关闭数据库发生异常. 错误信息: %s; 文件: %s; 行: %d\n", e), e);
    }
}

RecordsetPtr CAdoConnection::Execute(const QString& text, long options) {
    if (!m_pConn)
        return nullptr;
    try {
        return m_pConn->Execute(text, nullptr, options);
    } catch (const ComError& e) {
        Warn(
            ADO_WARNING(
                "Warning: Execute 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n", e),
            e);
        return nullptr;
    }
}

bool CAdoConnection::IsOpen() {
    try {
        return m_pConn && (m_pConn->GetState() & adStateOpen);
    } catch (const ComError& e) {
        Warn(ADO_WARNING(
                 "Warning: IsOpen 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n", e),
             e);
        return false;
    }
}

long CAdoConnection::BeginTrans() {
    try {
        return m_pConn ? m_pConn->BeginTrans() : -1;
    } catch (const ComError& e) {
        Warn(ADO_WARNING(
                 "Warning: BeginTrans 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                 e),
             e);
        return -1;
    }
}

bool CAdoConnection::CommitTrans() {
    try {
        return m_pConn && m_pConn->CommitTrans() == S_OK;
    } catch (const ComError& e) {
        Warn(
            ADO_WARNING(
                "Warning: CommitTrans 方法发生异常.\n错误信息: \t%s.\n文件: \t\t%s.\n行: \t\t%d.\n",
                e),
            e);
        return false;
    }
}

bool CAdoConnection::RollbackTrans() {
    try {
        return m_pConn && m_pConn->RollbackTrans() == S_OK;
    } catch (const ComError& e) {
        Warn(ADO_WARNING("Warning: RollbackTrans 方法发生异常.\n错误信息: \t%s.\n文件: "
                         "\t\t%s.\n行: \t\t%d.\n",
                         e),
             e);
        return false;
    }
}
