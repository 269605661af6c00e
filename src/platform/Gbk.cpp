#include "platform/Gbk.h"

#include <cerrno>
#include <iconv.h>
#include <vector>

namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : m_cd(iconv_open(to, from)) {}
    ~Converter() {
        if (valid())
            iconv_close(m_cd);
    }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    bool valid() const { return m_cd != reinterpret_cast<iconv_t>(-1); }
    void reset() { iconv(m_cd, nullptr, nullptr, nullptr, nullptr); }

    // Converts as much as possible; returns the errno of the stop (0 when all was done).
    int convert(const char*& in, size_t& inLeft, QByteArray& out) {
        char buffer[4096];
        while (inLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            size_t rc = iconv(m_cd, const_cast<char**>(&in), &inLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<qsizetype>(dst - buffer));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG)
                return errno;
        }
        return 0;
    }

private:
    iconv_t m_cd;
};

Converter& decoder() {
    static thread_local Converter c("UTF-16LE", "GB18030");
    return c;
}
Converter& gbkEncoder() {
    static thread_local Converter c("GBK", "UTF-16LE");
    return c;
}
Converter& gb18030Encoder() {
    static thread_local Converter c("GB18030", "UTF-16LE");
    return c;
}

bool isAscii(const QString& text) {
    for (QChar ch : text)
        if (ch.unicode() >= 0x80)
            return false;
    return true;
}

} // namespace

QByteArray ToGbk(const QString& text) {
    if (isAscii(text))
        return text.toLatin1();
    Converter& gbk = gbkEncoder();
    QByteArray out;
    out.reserve(text.size() * 2);
    const char* in = reinterpret_cast<const char*>(text.utf16());
    size_t left = static_cast<size_t>(text.size()) * 2;
    while (left > 0) {
        gbk.reset();
        int err = gbk.convert(in, left, out);
        if (err == 0)
            break;
        // One character GBK cannot take: its GB18030 form, or '?' when even that fails.
        const auto* unit = reinterpret_cast<const char16_t*>(in);
        int units = (left >= 4 && QChar::isHighSurrogate(unit[0]) && QChar::isLowSurrogate(unit[1]))
                        ? 2
                        : 1;
        const char* one = in;
        size_t oneLeft = static_cast<size_t>(units) * 2;
        Converter& wide = gb18030Encoder();
        wide.reset();
        QByteArray alt;
        if (wide.convert(one, oneLeft, alt) == 0)
            out.append(alt);
        else
            out.append('?');
        in += units * 2;
        left -= static_cast<size_t>(units) * 2;
    }
    return out;
}

QString FromGbk(const QByteArray& bytes) {
    bool ascii = true;
    for (char c : bytes)
        if (static_cast<unsigned char>(c) >= 0x80) {
            ascii = false;
            break;
        }
    if (ascii)
        return QString::fromLatin1(bytes);
    Converter& dec = decoder();
    dec.reset();
    QByteArray utf16;
    const char* in = bytes.constData();
    size_t left = static_cast<size_t>(bytes.size());
    while (left > 0) {
        int err = dec.convert(in, left, utf16);
        if (err == 0)
            break;
        // Byte 0x80 alone is the euro sign of code page 936 (GB18030 has no such byte);
        // other invalid or cut-off sequences give one replacement character. Then go on
        // after the byte.
        const char16_t replacement =
            static_cast<unsigned char>(*in) == 0x80 ? char16_t(0x20AC) : char16_t(0xFFFD);
        utf16.append(reinterpret_cast<const char*>(&replacement), 2);
        ++in;
        --left;
        dec.reset();
    }
    return QString(reinterpret_cast<const QChar*>(utf16.constData()), utf16.size() / 2);
}

namespace {

// How many bytes ToGbk writes for a character of the basic plane: 2 for GBK's own, 2 or 4
// for the others (their GB18030 form). Worked out once for all.
int encodedLength(char16_t u) {
    static const std::vector<unsigned char> table = [] {
        std::vector<unsigned char> lengths(0x10000, 2);
        for (char32_t c = 0x80; c < 0x10000; ++c)
            if (c < 0xD800 || c > 0xDFFF)
                lengths[c] = static_cast<unsigned char>(ToGbk(QString(QChar(c))).size());
        return lengths;
    }();
    return table[u];
}

} // namespace

int GbkCharLength(const QString& text, int index) {
    char16_t u = text.at(index).unicode();
    if (u < 0x80)
        return 1;
    if (QChar::isHighSurrogate(u) && index + 1 < text.size() &&
        QChar::isLowSurrogate(text.at(index + 1).unicode()))
        return static_cast<int>(ToGbk(text.mid(index, 2)).size()); // mostly 4, a few 2
    if (QChar::isLowSurrogate(u) && index > 0 &&
        QChar::isHighSurrogate(text.at(index - 1).unicode()))
        return 0;
    if (QChar::isSurrogate(u))
        return 1; // a lone surrogate becomes '?'
    return encodedLength(u);
}

int GbkLength(const QString& text) {
    int n = 0;
    for (int i = 0; i < text.size(); ++i)
        n += GbkCharLength(text, i);
    return n;
}

QString GbkLeft(const QString& text, int maxBytes) {
    int n = 0;
    for (int i = 0; i < text.size(); ++i) {
        int len = GbkCharLength(text, i);
        if (n + len > maxBytes)
            return text.left(i);
        n += len;
        if (QChar::isHighSurrogate(text.at(i).unicode()) && i + 1 < text.size() &&
            QChar::isLowSurrogate(text.at(i + 1).unicode()))
            ++i; // the pair was counted at its first unit
    }
    return text;
}
