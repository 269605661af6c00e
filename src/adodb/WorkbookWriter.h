#pragma once
// Workbooks written row by row, every value a text cell: .xlsx through libxlsxwriter in its
// constant-memory mode, .xls as BIFF8 records (strings in the shared string table) in a
// compound file through libgsf. Written beside the target and renamed into place.

#include <QString>
#include <QStringList>

#include <memory>

class WorkbookWriter {
public:
    virtual ~WorkbookWriter() = default;
    // Rows a sheet of this format holds, the heading included.
    virtual int MaxRows() const = 0;
    // FALSE (with the reason) when the row cannot be written.
    virtual bool AddRow(const QStringList& cells, QString* error) = 0;
    // Writes the file and puts it into place; FALSE (with the reason) when it fails, and
    // then the target is as it was.
    virtual bool Finish(QString* error) = 0;

    // A writer by the path's extension (.xlsx, else .xls) for one sheet of that name.
    static std::unique_ptr<WorkbookWriter> For(const QString& path, const QString& sheet, QString* error);
};
