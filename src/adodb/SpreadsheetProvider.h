#pragma once
// The provider behind "DRIVER={MICROSOFT EXCEL DRIVER (*.XLS)}": a new workbook at the
// path the connection string names (CREATE_DB, else DBQ), one sheet per CREATE TABLE, its
// rows from INSERT statements, every value a text cell; written when the connection closes.

#include "adodb/JetSql.h"
#include "adodb/Provider.h"

class WorkbookWriter;

class SpreadsheetProvider : public adodb::Provider {
public:
    SpreadsheetProvider();
    ~SpreadsheetProvider() override;

    adodb::HRESULT Open(const adodb::ConnectionString& connection, const QString& user, const QString& password,
                        long options) override;
    // Writes the workbook; raises ComError when it cannot be written (the earlier file stays).
    void Close() override;
    std::unique_ptr<adodb::RowSet> Execute(const QString& command, long* affected) override;
    // An INSERT whose values are "?" takes them from the parameters; its text is read once.
    std::unique_ptr<adodb::RowSet> ExecuteWithParameters(const QString& command,
                                                         const std::vector<adodb::Variant>& parameters,
                                                         long* affected) override;

private:
    // The values of an INSERT: a literal's text, or the parameter it takes (from 0).
    struct InsertValues {
        QString command;
        QStringList literals;
        std::vector<int> parameter; // -1 for a literal
        int parameters = 0;
    };
    void createTable(const std::vector<adodb::SqlToken>& tokens);
    InsertValues readInsert(const QString& command, const std::vector<adodb::SqlToken>& tokens) const;

    QString m_path;
    std::unique_ptr<WorkbookWriter> m_writer;
    InsertValues m_insert; // the last INSERT read
};
