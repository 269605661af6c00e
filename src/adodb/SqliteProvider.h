#pragma once
// The provider behind "Provider=Microsoft.Jet.OLEDB.4.0": a database file that is an
// SQLite database, reached with Jet SQL. Opening never creates a file; rows are read in
// full when a query runs; every write is its own transaction unless one is open.

#include "adodb/JetSql.h"
#include "adodb/Provider.h"

#include <QHash>
#include <QString>

struct sqlite3;
struct sqlite3_stmt;

namespace adodb {

class SqliteProvider : public Provider, private LiteralConverter {
public:
    SqliteProvider();
    ~SqliteProvider() override;

    HRESULT Open(const ConnectionString& connection, const QString& user, const QString& password,
                 long options) override;
    void Close() override;
    std::unique_ptr<RowSet> Execute(const QString& command, long* affected) override;
    std::unique_ptr<RowSet> ExecuteWithParameters(const QString& command,
                                                  const std::vector<Variant>& parameters,
                                                  long* affected) override;
    std::unique_ptr<RowSet> OpenSchema(SchemaEnum schema,
                                       const std::vector<Variant>& restrictions) override;
    void UpdateRow(const RowSet& set, const Row& row,
                   const std::vector<PendingValue>& changes) override;
    Row InsertRow(const RowSet& set, const std::vector<PendingValue>& values) override;
    void DeleteRow(const RowSet& set, const Row& row) override;
    long BeginTrans() override;
    void CommitTrans() override;
    void RollbackTrans() override;

    // Busy timeout in milliseconds used when the connection string names none.
    static constexpr int kDefaultBusyTimeout = 5000;

private:
    QString ConvertLiteral(const QString& table, const QString& column,
                           const SqlToken& literal) override;

    void requireOpen() const;
    [[noreturn]] void raise(int rc, const QString& context = QString()) const;
    void exec(const QString& sql);
    sqlite3_stmt* prepare(const QString& sql, bool checkTail) const;
    // A prepared statement kept for the connection's life (until the schema changes).
    sqlite3_stmt* cached(const QString& sql, bool checkTail = false);
    std::unique_ptr<RowSet> readRows(sqlite3_stmt* stmt, const JetStatement& statement,
                                     const QString& source);
    const std::vector<ColumnInfo>& tableColumns(const QString& table);
    void schemaChanged();
    void finalizeCached();

    sqlite3* m_db = nullptr;
    QString m_path;        // where the file lies here
    QString m_displayPath; // as the connection string named it
    int m_transactionLevel = 0;
    QHash<QString, sqlite3_stmt*> m_statements;
    QHash<QString, std::vector<ColumnInfo>> m_tableColumns;
    struct ParameterisedCommand {
        JetStatement statement;
        std::vector<ColumnInfo> targets; // per parameter: its column, or no name
    };
    QHash<QString, ParameterisedCommand> m_commands; // translated once
};

// Creates a new, empty database file (the provider itself never creates one). ComError
// when the file exists already or cannot be written.
void CreateDatabaseFile(const QString& localPath);

// Makes sure the file is an SQLite database that can be opened: raises ComError with a
// description naming the problem (missing, a folder, empty, an Access file, another format).
void CheckDatabaseFile(const QString& localPath, const QString& displayPath);

} // namespace adodb
