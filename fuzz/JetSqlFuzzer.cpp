// Jet SQL from arbitrary text: translation either gives SQLite text or raises ComError.

#include "adodb/ComError.h"
#include "adodb/JetSql.h"

#include <cstddef>
#include <cstdint>

using namespace adodb;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QString sql = QString::fromUtf8(reinterpret_cast<const char*>(data),
                                          static_cast<qsizetype>(size));
    try {
        TranslateJetSql(sql);
    } catch (const ComError&) {
    }
    return 0;
}
