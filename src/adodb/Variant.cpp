#include "adodb/Variant.h"

#include "adodb/ComError.h"

#include <cmath>

namespace adodb {

Variant::Variant(const COleDateTime& v) : m_vt(VT_DATE) {
    if (v.GetStatus() == COleDateTime::null) {
        m_vt = VT_NULL;
        m_i = 0;
    } else {
        m_d = v.m_dt;
    }
}

Variant::Variant(std::vector<Variant> values)
    : m_vt(VT_ARRAY | VT_VARIANT),
      m_array(std::make_shared<const std::vector<Variant>>(std::move(values))) {}

Variant Variant::Null() {
    Variant v;
    v.m_vt = VT_NULL;
    return v;
}

Variant Variant::Date(double oleDate) {
    Variant v;
    v.m_vt = VT_DATE;
    v.m_d = oleDate;
    return v;
}

Variant Variant::Currency(std::int64_t scaled) {
    Variant v;
    v.m_vt = VT_CY;
    v.m_i = scaled;
    return v;
}

Variant Variant::Decimal(double value) {
    Variant v;
    v.m_vt = VT_DECIMAL;
    v.m_d = value;
    return v;
}

Variant Variant::Integer(VARTYPE vt, std::int64_t value) {
    Variant v;
    v.m_vt = vt;
    v.m_i = value;
    return v;
}

Variant Variant::OfType(VARTYPE vt) {
    Variant v;
    v.m_vt = vt;
    return v;
}

bool Variant::IsInteger() const {
    switch (m_vt) {
    case VT_I1:
    case VT_I2:
    case VT_I4:
    case VT_I8:
    case VT_UI1:
    case VT_UI2:
    case VT_UI4:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
        return true;
    default:
        return false;
    }
}

bool Variant::IsNumber() const {
    return IsInteger() || m_vt == VT_R4 || m_vt == VT_R8 || m_vt == VT_CY || m_vt == VT_DECIMAL ||
           m_vt == VT_BOOL;
}

const std::vector<Variant>& Variant::Array() const {
    static const std::vector<Variant> none;
    return m_array ? *m_array : none;
}

double Variant::ToDouble() const {
    if (m_vt == VT_UI8)
        return static_cast<double>(m_u);
    if (IsInteger() || m_vt == VT_BOOL)
        return static_cast<double>(m_i);
    switch (m_vt) {
    case VT_R4:
    case VT_R8:
    case VT_DATE:
    case VT_DECIMAL:
        return m_d;
    case VT_CY:
        return static_cast<double>(m_i) / 10000.0;
    default:
        return 0;
    }
}

QString FormatCurrency(std::int64_t scaled) {
    bool negative = scaled < 0;
    std::uint64_t magnitude =
        negative ? 0 - static_cast<std::uint64_t>(scaled) : static_cast<std::uint64_t>(scaled);
    QString text = QString::number(magnitude / 10000);
    std::uint64_t fraction = magnitude % 10000;
    if (fraction) {
        QString digits = QStringLiteral("%1").arg(fraction, 4, 10, QLatin1Char('0'));
        while (digits.endsWith(QLatin1Char('0')))
            digits.chop(1);
        text += QLatin1Char('.') + digits;
    }
    return negative ? QLatin1Char('-') + text : text;
}

QString FormatDouble(double value) {
    if (std::isnan(value))
        return QStringLiteral("NaN");
    return QString::number(value, 'g', 15);
}

QString FormatDateStandard(const COleDateTime& date) {
    if (!date.IsValid())
        return QString();
    double day = std::trunc(date.m_dt);
    bool hasTime = std::fabs(date.m_dt - day) * 86400.0 >= 0.5;
    return date.Format(hasTime ? QStringLiteral("%Y-%m-%d %H:%M:%S") : QStringLiteral("%Y-%m-%d"));
}

QString Variant::ToString() const {
    switch (m_vt) {
    case VT_EMPTY:
    case VT_NULL:
        return QString();
    case VT_BOOL:
        return m_i ? QStringLiteral("-1") : QStringLiteral("0");
    case VT_UI8:
        return QString::number(m_u);
    case VT_R4:
        return QString::number(static_cast<float>(m_d), 'g', 7);
    case VT_R8:
    case VT_DECIMAL:
        return FormatDouble(m_d);
    case VT_CY:
        return FormatCurrency(m_i);
    case VT_DATE:
        return FormatDateStandard(DateValue());
    case VT_BSTR:
    case VT_LPSTR:
    case VT_LPWSTR:
        return m_str;
    default:
        if (IsInteger())
            return QString::number(m_i);
        throw ComError(DB_E_ERRORSOCCURRED,
                       QStringLiteral("类型为 %1 的值不能转换为文本。").arg(m_vt), FieldSource());
    }
}

bool Variant::operator==(const Variant& o) const {
    if (m_vt != o.m_vt)
        return false;
    switch (m_vt) {
    case VT_EMPTY:
    case VT_NULL:
        return true;
    case VT_R4:
    case VT_R8:
    case VT_DATE:
    case VT_DECIMAL:
        return m_d == o.m_d;
    case VT_BSTR:
    case VT_LPSTR:
    case VT_LPWSTR:
        return m_str == o.m_str;
    case VT_ARRAY | VT_UI1:
        return m_bytes == o.m_bytes;
    case VT_ARRAY | VT_VARIANT:
        return Array() == o.Array();
    default:
        return m_i == o.m_i;
    }
}

} // namespace adodb
