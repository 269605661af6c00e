#pragma once
// The spreadsheet application as the grid's import uses it: a workbook opened from a file
// (.xlsx read from its zip parts, .xls through FreeXL; the kind decided by the bytes, not
// the name), one sheet by name, its rows in order with every cell as text: numbers in
// their shortest form, dates as "YYYY-MM-DD" (with the time when there is one).

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>

class SpreadsheetReader {
public:
    virtual ~SpreadsheetReader() = default;
    // The workbook of a file; null (with the reason) when it is no workbook either reader
    // opens.
    static std::unique_ptr<SpreadsheetReader> Open(const QString& path, QString* error);
    // The same over the bytes of a file.
    static std::unique_ptr<SpreadsheetReader> OpenBytes(const QByteArray& bytes, QString* error);

    // A cell holds at most this many characters (UTF-16 units), as in the spreadsheet
    // programs; the reader skips the rest of a longer one.
    static constexpr qsizetype kMaxCellCharacters = 32767;

    virtual QStringList SheetNames() const = 0;
    // Walks the rows of a sheet (from 1; rows without cells are passed over) until the
    // callback returns FALSE. FALSE when there is no such sheet or it cannot be read.
    virtual bool ReadSheet(const QString& name,
                           const std::function<bool(int row, const QStringList& cells)>& row,
                           QString* error) = 0;
    // Whether a cell of the row last passed to the callback was cut to kMaxCellCharacters.
    bool RowWasCut() const { return m_bRowCut; }

protected:
    bool m_bRowCut = false;
};

// The text of a number cell: whole numbers without fraction or exponent, others in their
// shortest form.
QString NumberText(double value);
// The text of a date serial number (1900 or 1904 system): "YYYY-MM-DD", plus " HH:MM:SS"
// when it has a time.
QString DateSerialText(double serial, bool date1904);
// The cached results of the formula cells of one sheet of a BIFF8 workbook stream (the
// sheet found by name), keyed by row << 16 | column (both from 0): numbers in their
// shortest form, texts, TRUE or FALSE.
QHash<quint32, QString> XlsFormulaResults(const QByteArray& workbook, const QString& sheet);
// Whether a BIFF workbook stream stays within what a workbook can hold: every sheet's
// DIMENSIONS within 65 536 rows and 256 columns, a string table no longer than the stream.
// FreeXL allocates by those claims, so a corrupt file is refused before it is opened.
bool XlsWithinBounds(const QByteArray& workbook);
// Whether a number format code shows a date (y, m, d, h or s outside quotes and brackets).
bool IsDateFormat(int builtinId, const QString& code);
