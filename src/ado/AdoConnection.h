#pragma once
// The data layer's connection: one ADO Connection object whose failures never escape.
// Every operation catches the error, keeps a warning in m_strLastError, writes it to the
// trace and returns its failure value.

#include "adodb/Connection.h"
#include "platform/OleDateTime.h"

#include <QString>

class CAdoConnection {
public:
    CAdoConnection();
    virtual ~CAdoConnection();
    CAdoConnection(const CAdoConnection&) = delete;
    CAdoConnection& operator=(const CAdoConnection&) = delete;

    // TRUE only when the provider's Open returned exactly S_OK. An empty connection string
    // reopens with the stored one.
    bool Open(const QString& connect, long options = -1);
    bool OpenJetDatabase(const QString& path, const QString& password = QString(),
                         long options = -1);
    void Close();
    // The recordset of the command (closed for a command without rows); null on failure.
    adodb::RecordsetPtr Execute(const QString& text, long options);
    bool IsOpen();

    // Transactions, so that long passes write in one go; -1 / FALSE on failure.
    long BeginTrans();
    bool CommitTrans();
    bool RollbackTrans();

    adodb::ConnectionPtr GetConnection() const { return m_pConn; }
    const QString& GetConnectString() const { return m_strConnect; }

    // The provider's error list as text; also names the error itself when the list lacks it.
    QString GetLastError(const adodb::ComError* error = nullptr);

    COleDateTime m_dtLastOpen;
    QString m_strLastError;

protected:
    void Release();
    // Keeps the warning followed by the provider's error list, and traces it.
    void Warn(const QString& warning, const adodb::ComError& e);

    adodb::ConnectionPtr m_pConn;
    QString m_strConnect;
};
