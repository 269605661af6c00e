#pragma once
// A value with its variant type code, as values travel between the program and the
// object model: integers of several widths, floating point, currency, dates, booleans,
// strings, byte arrays and arrays of values.

#include "adodb/AdoTypes.h"
#include "platform/OleDateTime.h"

#include <QByteArray>
#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

namespace adodb {

class Variant {
public:
    Variant() = default; // VT_EMPTY
    Variant(int v) : m_vt(VT_I4) { m_i = v; }
    Variant(long v) : m_vt(v >= INT32_MIN && v <= INT32_MAX ? VT_I4 : VT_I8) { m_i = v; }
    Variant(long long v) : m_vt(VT_I8) { m_i = v; }
    Variant(short v) : m_vt(VT_I2) { m_i = v; }
    Variant(signed char v) : m_vt(VT_I1) { m_i = v; }
    Variant(unsigned char v) : m_vt(VT_UI1) { m_i = v; }
    Variant(unsigned short v) : m_vt(VT_UI2) { m_i = v; }
    Variant(unsigned int v) : m_vt(VT_UI4) { m_i = v; }
    Variant(unsigned long long v) : m_vt(VT_UI8) { m_u = v; }
    Variant(bool v) : m_vt(VT_BOOL) { m_i = v ? -1 : 0; }
    Variant(double v) : m_vt(VT_R8) { m_d = v; }
    Variant(float v) : m_vt(VT_R4) { m_d = v; }
    Variant(const QString& v) : m_vt(VT_BSTR), m_str(v) {}
    Variant(QString&& v) : m_vt(VT_BSTR), m_str(std::move(v)) {}
    Variant(const char* v) : m_vt(VT_BSTR), m_str(QString::fromUtf8(v ? v : "")) {}
    Variant(const COleDateTime& v);
    Variant(const QByteArray& bytes) : m_vt(VT_ARRAY | VT_UI1), m_bytes(bytes) {}
    Variant(std::vector<Variant> values);

    static Variant Null();
    static Variant Date(double oleDate);
    // Currency: the amount times 10000.
    static Variant Currency(std::int64_t scaled);
    static Variant Decimal(double value);
    // Any integer type code (VT_I1 .. VT_UINT, VT_VOID, VT_ERROR) with its value.
    static Variant Integer(VARTYPE vt, std::int64_t value);
    // A type code without a value of its own (VT_BLOB, VT_DISPATCH ...), for conversions.
    static Variant OfType(VARTYPE vt);

    VARTYPE vt() const { return m_vt; }
    bool IsNull() const { return m_vt == VT_NULL; }
    bool IsEmpty() const { return m_vt == VT_EMPTY; }
    bool IsNullOrEmpty() const { return m_vt == VT_NULL || m_vt == VT_EMPTY; }
    bool IsString() const { return m_vt == VT_BSTR || m_vt == VT_LPSTR || m_vt == VT_LPWSTR; }
    bool IsByteArray() const { return m_vt == (VT_ARRAY | VT_UI1); }
    bool IsInteger() const;
    bool IsNumber() const; // integers, floating point, currency, decimal, boolean

    std::int64_t Int() const { return m_i; }
    std::uint64_t UInt() const { return m_u; }
    double Double() const { return m_d; } // VT_R4, VT_R8, VT_DATE, VT_DECIMAL
    std::int64_t CurrencyScaled() const { return m_i; }
    bool Bool() const { return m_i != 0; }
    const QString& Str() const { return m_str; }
    const QByteArray& Bytes() const { return m_bytes; }
    const std::vector<Variant>& Array() const;
    COleDateTime DateValue() const { return COleDateTime::FromDouble(m_d); }

    // The value as a double, for numbers and dates (0 for anything else).
    double ToDouble() const;

    // The standard conversion of a value to a string (what a variant type change to a
    // string gives): integers in decimal, booleans as -1 / 0, dates as year-month-day with
    // the time when there is one, null and empty as "". Arrays raise a ComError.
    QString ToString() const;

    bool operator==(const Variant& o) const;
    bool operator!=(const Variant& o) const { return !(*this == o); }

private:
    VARTYPE m_vt = VT_EMPTY;
    union {
        std::int64_t m_i = 0;
        std::uint64_t m_u;
        double m_d;
    };
    QString m_str;
    QByteArray m_bytes;
    std::shared_ptr<const std::vector<Variant>> m_array;
};

// "12.5" for 12.5, at most 4 decimals, as a currency turns into text.
QString FormatCurrency(std::int64_t scaled);
// Up to 15 significant digits, as a double turns into text.
QString FormatDouble(double value);
// "YYYY-MM-DD", with " HH:MM:SS" when the date has a time of day.
QString FormatDateStandard(const COleDateTime& date);

} // namespace adodb
