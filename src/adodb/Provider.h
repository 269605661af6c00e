#pragma once
// What stands behind a connection: the engine a connection string names. A provider runs
// commands, hands over the rows of queries and writes changed rows back.

#include "adodb/AdoTypes.h"
#include "adodb/ConnectionString.h"
#include "adodb/RowSet.h"
#include "adodb/Variant.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace adodb {

class Provider {
public:
    virtual ~Provider() = default;

    virtual HRESULT Open(const ConnectionString& connection, const QString& user,
                         const QString& password, long options) = 0;
    virtual void Close() = 0;

    // Runs one command. A command that returns rows gives them (read in full); any other
    // gives null and sets affected (when given) to the number of rows it changed.
    virtual std::unique_ptr<RowSet> Execute(const QString& command, long* affected) = 0;
    // Runs a command whose text holds one "?" per parameter, in order. A provider prepares
    // each text once, so running the same text again with other values costs no parsing.
    // The default takes only commands without parameters.
    virtual std::unique_ptr<RowSet> ExecuteWithParameters(const QString& command,
                                                          const std::vector<Variant>& parameters,
                                                          long* affected);

    // The rows of a schema rowset; restrictions hold one value per restriction column,
    // empty ones meaning "any".
    virtual std::unique_ptr<RowSet> OpenSchema(SchemaEnum schema,
                                               const std::vector<Variant>& restrictions);

    // Writes a changed row back: only where the changed columns still hold the values
    // read, else ComError 0x80040E38.
    virtual void UpdateRow(const RowSet& set, const Row& row,
                           const std::vector<PendingValue>& changes);
    // Adds a row and returns it as stored, with its id and the columns of the set. The row
    // is stored exactly when this returns; a raise means nothing was stored.
    virtual Row InsertRow(const RowSet& set, const std::vector<PendingValue>& values);
    virtual void DeleteRow(const RowSet& set, const Row& row);

    virtual long BeginTrans();
    virtual void CommitTrans();
    virtual void RollbackTrans();
};

using ProviderFactory = std::function<std::unique_ptr<Provider>()>;

// Makes a provider known under the value of "Provider=" or "DRIVER=" it answers to.
void RegisterProvider(const QString& name, ProviderFactory factory);

// The provider the connection string names; ComError when there is none.
std::unique_ptr<Provider> CreateProvider(const ConnectionString& connection);

} // namespace adodb
