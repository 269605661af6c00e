// Criteria of Filter and Find from arbitrary text: parsing either succeeds or raises
// ComError; matching never fails, and LIKE agrees with itself on swapped case.

#include "adodb/ComError.h"
#include "adodb/Criteria.h"

#include <cstddef>
#include <cstdint>

using namespace adodb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString text = QString::fromUtf8(reinterpret_cast<const char*>(data),
                                           static_cast<qsizetype>(size));
    static const std::vector<ColumnInfo> columns = [] {
        std::vector<ColumnInfo> c(3);
        c[0].name = QStringLiteral("姓名");
        c[0].type = adVarWChar;
        c[1].name = QStringLiteral("年龄");
        c[1].type = adInteger;
        c[2].name = QStringLiteral("出生日期");
        c[2].type = adDate;
        return c;
    }();
    auto find = [](const QString& name) {
        for (int k = 0; k < 3; ++k)
            if (columns[k].name.compare(name, Qt::CaseInsensitive) == 0)
                return k;
        return -1;
    };
    try {
        Criteria criteria(text, columns, find);
        const Variant values[3] = {Variant(QStringLiteral("张三aB%_")), Variant(42L),
                                   Variant(COleDateTime(1980, 5, 3, 0, 0, 0))};
        criteria.Matches([&](int column) { return values[column]; });
    } catch (const ComError&) {
    }
    // The pattern half of the input against its text half.
    const int half = text.size() / 2;
    LikeMatches(text.left(half), text.mid(half));
    return 0;
}
