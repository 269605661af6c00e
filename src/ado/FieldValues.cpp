#include "ado/FieldValues.h"

#include "ado/AdoWarning.h"
#include "platform/Trace.h"

#include <cmath>
#include <cstdlib>
#include <ctime>

using namespace adodb;

std::int32_t LowFourBytes(const Variant& v) {
    return static_cast<std::int32_t>(static_cast<std::uint32_t>(v.UInt()));
}

QString VariantToString(const Variant& value) {
    switch (value.vt()) {
    case VT_EMPTY:
    case VT_NULL:
        return QString();
    case VT_I2:
        return FormatText(QStringLiteral("%d"), static_cast<short>(value.Int()));
    case VT_I4:
    case VT_UI4:
    case VT_I8:
    case VT_UI8:
    case VT_INT:
    case VT_UINT:
        return FormatText(QStringLiteral("%d"), LowFourBytes(value));
    case VT_R4:
        return FormatText(QStringLiteral("%.4f"), value.Double());
    case VT_R8:
        return FormatText(QStringLiteral("%.8f"), value.Double());
    case VT_CY:
        return FormatCurrency(value.CurrencyScaled());
    case VT_DATE:
        return value.DateValue().Format(QStringLiteral("%Y-%m-%d %H:%M:%S"));
    case VT_BSTR:
    case VT_LPSTR:
    case VT_LPWSTR:
        return value.Str();
    case VT_BOOL:
        return value.Bool() ? QStringLiteral("TRUE") : QStringLiteral("FALSE");
    case VT_DECIMAL:
        return FormatText(QStringLiteral("%.8f"), value.ToDouble());
    case VT_I1:
    case VT_UI1:
        return FormatText(QStringLiteral("%d"), static_cast<unsigned char>(value.Int()));
    case VT_UI2:
        return FormatText(QStringLiteral("%d"), static_cast<unsigned short>(value.Int()));
    case VT_VOID:
        return FormatText(QStringLiteral("%8x"), static_cast<std::uint32_t>(value.UInt()));
    case VT_BLOB:
    case VT_BLOB_OBJECT:
    case VT_ARRAY | VT_UI1:
        return QStringLiteral("[BLOB]");
    default:
        return QStringLiteral("UN_KNOW");
    }
}

long VariantToLong(const Variant& value) {
    if (value.vt() == VT_UI8)
        return static_cast<long>(value.UInt());
    if (value.IsInteger() || value.vt() == VT_BOOL)
        return static_cast<long>(value.Int());
    switch (value.vt()) {
    case VT_EMPTY:
    case VT_NULL:
        return 0;
    case VT_R4:
    case VT_R8: // values beyond the range saturate
        return static_cast<long>(SaturatedInteger(value.Double() + 0.5));
    case VT_CY:
    case VT_DECIMAL:
        return static_cast<long>(SaturatedInteger(std::nearbyint(value.ToDouble())));
    case VT_BSTR:
    case VT_LPSTR:
    case VT_LPWSTR:
        return std::strtol(value.Str().toLatin1().constData(), nullptr, 10);
    case VT_DATE: {
        COleDateTime date = value.DateValue();
        int year = date.GetYear();
        if (!date.IsValid() || year < 1970 || year > 2038)
            return 0;
        std::tm local{};
        local.tm_year = year - 1900;
        local.tm_mon = date.GetMonth() - 1;
        local.tm_mday = date.GetDay();
        local.tm_isdst = -1;
        std::time_t seconds = std::mktime(&local);
        return seconds == static_cast<std::time_t>(-1) ? 0 : static_cast<long>(seconds);
    }
    default:
        Trace(FormatText(QStringLiteral("Warning: 未处理的 _variant_t 类型值; 文件: %s; 行: %d\n"),
                         SourceFileName(__FILE__), __LINE__));
        return 0;
    }
}

COleDateTime VariantToDate(const Variant& value) {
    if (value.vt() == VT_DATE)
        return value.DateValue();
    return COleDateTime::Invalid();
}

double VariantToDouble(const Variant& value) {
    if (value.IsString())
        return value.Str().trimmed().toDouble();
    return value.ToDouble();
}
