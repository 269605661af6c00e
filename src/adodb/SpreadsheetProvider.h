#pragma once
// The provider behind "DRIVER={MICROSOFT EXCEL DRIVER (*.XLS)}": a new workbook at the
// path the connection string names (CREATE_DB, else DBQ), one sheet per CREATE TABLE, its
// rows from INSERT statements, every value a text cell; written when the connection closes.

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

private:
    QString m_path;
    std::unique_ptr<WorkbookWriter> m_writer;
    int m_columns = 0;
};
