// GBK bytes from anywhere: decoding never fails, and text survives encoding and decoding
// with GbkLength counting exactly the bytes written.

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
    GbkLeft(text, static_cast<int>(size / 2));
    return 0;
}
