// GBK bytes from anywhere: decoding never fails, and text survives encoding and decoding
// with GbkLength counting exactly the bytes written and GbkLeft keeping to its limit.

#include "platform/Gbk.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString text = FromGbk(bytes);
    const QByteArray again = ToGbk(text);
    if (GbkLength(text) != again.size())
        std::abort();
    if (!text.contains(QChar(0xFFFD)) && FromGbk(again) != text)
        std::abort();
    const int limit = static_cast<int>(size / 2);
    if (ToGbk(GbkLeft(text, limit)).size() > limit)
        std::abort();
    return 0;
}
