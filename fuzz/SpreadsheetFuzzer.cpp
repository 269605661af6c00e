// Workbooks from anywhere (.xlsx zips and .xls compound files, whole or broken): opening
// and reading every sheet either works or says why, and never reads past what it was given.

#include "office/SpreadsheetReader.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    // The same bytes as a BIFF8 workbook stream, for the formula results read beside FreeXL.
    XlsWithinBounds(bytes);
    const QHash<quint32, QString> formulas = XlsFormulaResults(bytes, QStringLiteral("s"));
    for (auto it = formulas.cbegin(); it != formulas.cend(); ++it)
        if (it.value().size() > 65535)
            std::abort();
    QString why;
    std::unique_ptr<SpreadsheetReader> book = SpreadsheetReader::OpenBytes(bytes, &why);
    if (!book) {
        if (why.isEmpty())
            std::abort();
        return 0;
    }
    for (const QString& name : book->SheetNames()) {
        int last = 0;
        book->ReadSheet(name, [&](int row, const QStringList& cells) {
            if (row <= 0 || cells.size() > 16384)
                std::abort();
            last = row;
            return true;
        }, &why);
    }
    return 0;
}
