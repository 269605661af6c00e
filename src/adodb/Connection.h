#pragma once
// The Connection object and its Errors collection.

#include "adodb/AdoTypes.h"
#include "adodb/ComError.h"
#include "adodb/Variant.h"

#include <QString>

#include <memory>
#include <vector>

namespace adodb {

class Provider;
class Recordset;
using RecordsetPtr = std::shared_ptr<Recordset>;

class Error {
public:
    explicit Error(const ComError& e) : m_error(e) {}
    QString GetDescription() const { return m_error.Description(); }
    QString GetSQLState() const { return m_error.SQLState(); }
    long GetNativeError() const { return m_error.NativeError(); }
    QString GetSource() const { return m_error.Source(); }
    HRESULT GetNumber() const { return m_error.Error(); }

private:
    ComError m_error;
};
using ErrorPtr = std::shared_ptr<Error>;

class Errors {
public:
    long GetCount() const { return static_cast<long>(m_errors.size()); }
    // ComError for an index outside 0 .. Count-1.
    ErrorPtr GetItem(const Variant& index) const;
    void Clear() { m_errors.clear(); }
    void Append(const ComError& e) { m_errors.push_back(std::make_shared<Error>(e)); }

private:
    std::vector<ErrorPtr> m_errors;
};
using ErrorsPtr = std::shared_ptr<Errors>;

class Connection : public std::enable_shared_from_this<Connection> {
public:
    static std::shared_ptr<Connection> Create();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    HRESULT Open(const QString& connectionString, const QString& user, const QString& password,
                 long options);
    HRESULT Close();
    // Runs a command; a query gives an open recordset, anything else a closed one.
    RecordsetPtr Execute(const QString& commandText, long* recordsAffected, long options);
    long GetState() const;
    ErrorsPtr GetErrors() const { return m_errors; }
    long BeginTrans();
    HRESULT CommitTrans();
    HRESULT RollbackTrans();
    RecordsetPtr OpenSchema(SchemaEnum schema, const Variant& restrictions = Variant());
    QString GetConnectionString() const { return m_connectionString; }

    // Used by the recordsets of this connection.
    Provider& provider() const;
    // Records a provider error in the Errors collection and raises it.
    [[noreturn]] void Fail(const ComError& e);
    // Runs f, recording any ComError it raises before letting it go on.
    template <class F> auto Guard(F&& f) -> decltype(f()) {
        try {
            return f();
        } catch (const ComError& e) {
            Fail(e);
        }
    }

private:
    Connection();

    std::unique_ptr<Provider> m_provider;
    ErrorsPtr m_errors;
    QString m_connectionString;
};
using ConnectionPtr = std::shared_ptr<Connection>;

} // namespace adodb
