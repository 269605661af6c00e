#include "platform/FormatText.h"

#include "platform/Gbk.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

long long FormatArg::asSigned() const {
    switch (m_kind) {
    case Kind::Signed:
        return m_signed;
    case Kind::Unsigned:
    case Kind::Pointer:
        return static_cast<long long>(m_unsigned);
    case Kind::Double:
        return SaturatedInteger(m_double);
    case Kind::Text:
        return m_text->toLongLong();
    }
    return 0;
}

long long SaturatedInteger(double value) {
    if (std::isnan(value))
        return 0;
    if (value >= 9223372036854775807.0)
        return std::numeric_limits<long long>::max();
    if (value <= -9223372036854775808.0)
        return std::numeric_limits<long long>::min();
    return static_cast<long long>(value);
}

unsigned long long FormatArg::asUnsigned() const {
    if (m_kind == Kind::Unsigned || m_kind == Kind::Pointer)
        return m_unsigned;
    return static_cast<unsigned long long>(asSigned());
}

double FormatArg::asDouble() const {
    switch (m_kind) {
    case Kind::Double:
        return m_double;
    case Kind::Signed:
        return static_cast<double>(m_signed);
    case Kind::Unsigned:
    case Kind::Pointer:
        return static_cast<double>(m_unsigned);
    case Kind::Text:
        return m_text->toDouble();
    }
    return 0;
}

QString FormatArg::asText() const {
    switch (m_kind) {
    case Kind::Text:
        return *m_text;
    case Kind::Signed:
        return QString::number(m_signed);
    case Kind::Unsigned:
    case Kind::Pointer:
        return QString::number(m_unsigned);
    case Kind::Double:
        return QString::number(m_double);
    }
    return {};
}

namespace {

struct Conversion {
    std::string flags;
    int width = -1;
    int precision = -1;
    char conversion = 0;
};

QString formatNumber(const Conversion& conv, const FormatArg& arg) {
    std::string f(1, '%');
    f.append(conv.flags);
    if (conv.width >= 0)
        f += std::to_string(conv.width);
    if (conv.precision >= 0) {
        f += '.';
        f += std::to_string(conv.precision);
    }
    // Printed in full however long it is: measured first, then written.
    auto print = [](const std::string& form, auto value) {
        int length = std::snprintf(nullptr, 0, form.c_str(), value);
        if (length <= 0)
            return QString();
        std::vector<char> buffer(static_cast<size_t>(length) + 1);
        std::snprintf(buffer.data(), buffer.size(), form.c_str(), value);
        return QString::fromLatin1(buffer.data(), length);
    };
    switch (conv.conversion) {
    case 'd':
    case 'i':
        f += "lld";
        return print(f, arg.asSigned());
    case 'u':
    case 'x':
    case 'X':
    case 'o':
        f += "ll";
        f += conv.conversion;
        return print(f, arg.asUnsigned());
    case 'p':
        return print(std::string("%#llx"), arg.asUnsigned());
    default:
        f += conv.conversion;
        return print(f, arg.asDouble());
    }
}

// Widths and precisions beyond what a result can hold are clamped (the result is cut at
// kFormatTextLimit anyway).
constexpr int kMaxWidth = kFormatTextLimit + 1;

int clampedCount(long long n) {
    return static_cast<int>(std::clamp<long long>(n, -kMaxWidth, kMaxWidth));
}

int readCount(const QString& format, int& i) {
    long long n = 0;
    while (i < format.size() && format.at(i).isDigit())
        n = std::min<long long>(n * 10 + format.at(i++).digitValue(), kMaxWidth);
    return static_cast<int>(n);
}

QString padText(const QString& text, const Conversion& conv) {
    QString value = conv.precision >= 0 ? GbkLeft(text, conv.precision) : text;
    int len = GbkLength(value);
    if (conv.width > len) {
        QString pad(conv.width - len, QLatin1Char(' '));
        value = conv.flags.find('-') != std::string::npos ? value + pad : pad + value;
    }
    return value;
}

} // namespace

QString FormatTextList(const QString& format, std::initializer_list<FormatArg> list) {
    std::vector<const FormatArg*> args;
    for (const FormatArg& a : list)
        args.push_back(&a);
    size_t next = 0;
    auto takeArg = [&]() -> const FormatArg* {
        return next < args.size() ? args[next++] : nullptr;
    };

    QString out;
    const int n = format.size();
    int i = 0;
    while (i < n) {
        QChar c = format.at(i);
        if (c != QLatin1Char('%')) {
            out += c;
            ++i;
            continue;
        }
        ++i;
        if (i < n && format.at(i) == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        Conversion conv;
        while (i < n && QStringLiteral("-+ #0").contains(format.at(i)))
            conv.flags += static_cast<char>(format.at(i++).unicode());
        if (i < n && format.at(i) == QLatin1Char('*')) {
            const FormatArg* a = takeArg();
            conv.width = a ? clampedCount(a->asSigned()) : 0;
            if (conv.width < 0) {
                conv.flags += '-';
                conv.width = -conv.width;
            }
            ++i;
        } else if (i < n && format.at(i).isDigit()) {
            conv.width = readCount(format, i);
        }
        if (i < n && format.at(i) == QLatin1Char('.')) {
            ++i;
            conv.precision = 0;
            if (i < n && format.at(i) == QLatin1Char('*')) {
                const FormatArg* a = takeArg();
                conv.precision = a ? clampedCount(a->asSigned()) : 0;
                if (conv.precision < 0) // a negative precision counts as none
                    conv.precision = -1;
                ++i;
            } else {
                conv.precision = readCount(format, i);
            }
        }
        // Length modifiers carry no meaning here: every argument knows its own type.
        while (i < n && QStringLiteral("hlLqjzt").contains(format.at(i)))
            ++i;
        if (i + 2 < n && format.mid(i, 3) == QLatin1String("I64"))
            i += 3;
        if (i >= n)
            break;
        QChar letter = format.at(i++);
        const FormatArg* arg = takeArg();
        switch (letter.unicode()) {
        case 's':
        case 'S':
            out += padText(arg ? arg->asText() : QString(), conv);
            break;
        case 'c':
        case 'C': {
            QString ch;
            if (arg) {
                char32_t code = static_cast<char32_t>(arg->asUnsigned() & 0x1FFFFF);
                ch = code ? QString::fromUcs4(&code, 1) : QString();
            }
            out += padText(ch, conv);
            break;
        }
        case 'd':
        case 'i':
        case 'u':
        case 'x':
        case 'X':
        case 'o':
        case 'p':
        case 'f':
        case 'F':
        case 'e':
        case 'E':
        case 'g':
        case 'G':
        case 'a':
        case 'A':
            conv.conversion = static_cast<char>(letter.unicode());
            out += arg ? formatNumber(conv, *arg) : QString();
            break;
        default:
            // Unknown conversion: kept as written.
            out += QLatin1Char('%');
            out += letter;
            break;
        }
    }
    return GbkLeft(out, kFormatTextLimit);
}
