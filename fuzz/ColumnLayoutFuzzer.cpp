// Layout files from anywhere (a damaged file, a photo loaded as a named layout): reading
// never fails, and what was read writes back and reads again the same.

#include "grid/ColumnLayout.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const ColumnLayout layout = ParseColumnLayout(bytes);
    for (const ColumnRecord& c : layout.columns)
        if (c.width < 0 || c.width > kMaxColumnWidth)
            std::abort();
    if (layout.hasHeader && !layout.sortColumn.contains(QChar(0))) {
        const ColumnLayout again = ParseColumnLayout(SerializeColumnLayout(layout));
        if (again.columns.size() != layout.columns.size())
            std::abort();
    }
    return 0;
}
