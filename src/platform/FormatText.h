#pragma once
// printf-style formatting into a new string, as the program builds its messages, SQL
// texts and file names. The result is cut at 10239 bytes of its GBK form.

#include <QString>

#include <cstdint>
#include <initializer_list>

constexpr int kFormatTextLimit = 10239;

class FormatArg {
public:
    enum class Kind { Signed, Unsigned, Double, Text, Pointer };

    FormatArg(int v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(long v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(long long v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(short v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(char v) : m_kind(Kind::Signed), m_signed(v) {}
    FormatArg(bool v) : m_kind(Kind::Signed), m_signed(v ? 1 : 0) {}
    FormatArg(unsigned v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(unsigned long v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(unsigned long long v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(unsigned short v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(unsigned char v) : m_kind(Kind::Unsigned), m_unsigned(v) {}
    FormatArg(double v) : m_kind(Kind::Double), m_double(v) {}
    FormatArg(float v) : m_kind(Kind::Double), m_double(v) {}
    FormatArg(const QString& v) : m_kind(Kind::Text), m_text(&v) {}
    FormatArg(const char* v) : m_kind(Kind::Text), m_owned(QString::fromUtf8(v ? v : "")) {
        m_text = &m_owned;
    }
    FormatArg(const void* v)
        : m_kind(Kind::Pointer), m_unsigned(reinterpret_cast<std::uintptr_t>(v)) {}
    FormatArg(const FormatArg& o)
        : m_kind(o.m_kind), m_signed(o.m_signed), m_unsigned(o.m_unsigned), m_double(o.m_double),
          m_owned(o.m_owned), m_text(o.m_text == &o.m_owned ? &m_owned : o.m_text) {}
    FormatArg& operator=(const FormatArg&) = delete;

    Kind kind() const { return m_kind; }
    long long asSigned() const;
    unsigned long long asUnsigned() const;
    double asDouble() const;
    QString asText() const;

private:
    Kind m_kind;
    long long m_signed = 0;
    unsigned long long m_unsigned = 0;
    double m_double = 0;
    QString m_owned;
    const QString* m_text = nullptr;
};

// A double as a long long, saturated at the ends of the range; NaN gives 0.
long long SaturatedInteger(double value);

QString FormatTextList(const QString& format, std::initializer_list<FormatArg> args);

template <class... Args> QString FormatText(const QString& format, const Args&... args) {
    return FormatTextList(format, {FormatArg(args)...});
}
