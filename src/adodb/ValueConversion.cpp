#include "adodb/ValueConversion.h"

#include "adodb/ComError.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace adodb {

namespace {

ComError conversionError(const ColumnInfo& column, const QString& why) {
    return ComError(DB_E_ERRORSOCCURRED,
                    QStringLiteral("字段“%1”的值无效：%2").arg(column.name, why), JetSource(),
                    QStringLiteral("22018"), -3604);
}

constexpr long kMaxTextSize = 255;
constexpr long kLongTextSize = 536870910;

// A declared size a text column can have; a larger one (or one that is no number) makes a
// long text column, never a padding of that many characters.
bool fitsTextSize(const QString& size) {
    bool ok = false;
    long long n = size.toLongLong(&ok);
    return ok && n <= kMaxTextSize;
}

long sizeOr(const QString& size, long fallback) {
    bool ok = false;
    long n = size.toLong(&ok);
    return ok && n > 0 ? n : fallback;
}

bool parseNumber(const QString& text, double& value) {
    QString t = text.trimmed();
    if (t.isEmpty())
        return false;
    bool ok = false;
    value = t.toDouble(&ok);
    return ok && std::isfinite(value);
}

} // namespace

ColumnType ColumnTypeFromDeclaration(const QString& declaration) {
    static const QRegularExpression form(QStringLiteral(
        "^\\s*([A-Za-z_ ]*?)\\s*(?:\\(\\s*([0-9]+)\\s*(?:,\\s*[0-9]+\\s*)?\\))?\\s*$"));
    QRegularExpressionMatch m = form.match(declaration);
    QString name = m.hasMatch() ? m.captured(1).toUpper() : declaration.trimmed().toUpper();
    QString size = m.hasMatch() ? m.captured(2) : QString();
    ColumnType t;
    auto set = [&](DataTypeEnum type, long definedSize, bool fixed = false) {
        t.type = type;
        t.definedSize = definedSize;
        t.fixedLength = fixed;
    };
    if (name.isEmpty())
        set(adVarWChar, 255);
    else if (name == QLatin1String("COUNTER") || name == QLatin1String("AUTOINCREMENT") ||
             name == QLatin1String("INT") || name == QLatin1String("INTEGER") ||
             name == QLatin1String("LONG") || name == QLatin1String("INTEGER4") ||
             name == QLatin1String("BIGINT") || name == QLatin1String("IDENTITY"))
        set(adInteger, 4);
    else if (name == QLatin1String("SMALLINT") || name == QLatin1String("SHORT") ||
             name == QLatin1String("INTEGER2"))
        set(adSmallInt, 2);
    else if (name == QLatin1String("BYTE") || name == QLatin1String("TINYINT") ||
             name == QLatin1String("INTEGER1"))
        set(adUnsignedTinyInt, 1);
    else if (name == QLatin1String("REAL") || name == QLatin1String("SINGLE") ||
             name == QLatin1String("FLOAT4") || name == QLatin1String("IEEESINGLE"))
        set(adSingle, 4);
    else if (name == QLatin1String("DOUBLE") || name == QLatin1String("FLOAT") ||
             name == QLatin1String("FLOAT8") || name == QLatin1String("NUMBER") ||
             name == QLatin1String("IEEEDOUBLE") || name == QLatin1String("DOUBLE PRECISION"))
        set(adDouble, 8);
    else if (name == QLatin1String("CURRENCY") || name == QLatin1String("MONEY"))
        set(adCurrency, 8);
    else if (name == QLatin1String("DATETIME") || name == QLatin1String("DATE") ||
             name == QLatin1String("TIME") || name == QLatin1String("TIMESTAMP"))
        set(adDate, 8);
    else if (name == QLatin1String("BIT") || name == QLatin1String("YESNO") ||
             name == QLatin1String("BOOLEAN") || name == QLatin1String("LOGICAL") ||
             name == QLatin1String("LOGICAL1"))
        set(adBoolean, 2);
    else if (name == QLatin1String("DECIMAL") || name == QLatin1String("NUMERIC") ||
             name == QLatin1String("DEC"))
        set(adNumeric, 19);
    else if ((name == QLatin1String("CHAR") || name == QLatin1String("NCHAR") ||
              name == QLatin1String("CHARACTER") || name == QLatin1String("VARCHAR") ||
              name == QLatin1String("NVARCHAR") || name == QLatin1String("STRING") ||
              name == QLatin1String("ALPHANUMERIC") || name == QLatin1String("TEXT")) &&
             !size.isEmpty() && !fitsTextSize(size))
        set(adLongVarWChar, kLongTextSize); // Jet's text columns hold 255 at most
    else if (name == QLatin1String("CHAR") || name == QLatin1String("NCHAR") ||
             name == QLatin1String("CHARACTER"))
        set(adWChar, sizeOr(size, kMaxTextSize), true);
    else if (name == QLatin1String("VARCHAR") || name == QLatin1String("NVARCHAR") ||
             name == QLatin1String("STRING") || name == QLatin1String("ALPHANUMERIC") ||
             (name == QLatin1String("TEXT") && !size.isEmpty()))
        set(adVarWChar, sizeOr(size, kMaxTextSize));
    else if (name == QLatin1String("TEXT") || name == QLatin1String("MEMO") ||
             name == QLatin1String("LONGTEXT") || name == QLatin1String("NOTE") ||
             name == QLatin1String("LONGCHAR") || name == QLatin1String("NTEXT"))
        set(adLongVarWChar, kLongTextSize);
    else if (name == QLatin1String("LONGBINARY") || name == QLatin1String("OLEOBJECT") ||
             name == QLatin1String("GENERAL") || name == QLatin1String("IMAGE") ||
             name == QLatin1String("BLOB"))
        set(adLongVarBinary, 1073741823);
    else if (name == QLatin1String("BINARY") || name == QLatin1String("VARBINARY"))
        set(adVarBinary, sizeOr(size, 510));
    else
        set(adVarWChar, 255);
    return t;
}

bool IsTextType(DataTypeEnum type) {
    switch (type) {
    case adBSTR:
    case adChar:
    case adWChar:
    case adVarChar:
    case adLongVarChar:
    case adVarWChar:
    case adLongVarWChar:
        return true;
    default:
        return false;
    }
}

QString StoredDateText(const COleDateTime& date) {
    return date.Format(QStringLiteral("%Y-%m-%d %H:%M:%S"));
}

bool ParseStoredDate(const char* text, int size, double& oleDate) {
    auto digits = [&](int at, int count, int& value) {
        value = 0;
        for (int k = 0; k < count; ++k) {
            char c = text[at + k];
            if (c < '0' || c > '9')
                return false;
            value = value * 10 + (c - '0');
        }
        return true;
    };
    int y, mo, d, h = 0, mi = 0, s = 0;
    bool fixedForm = (size == 19 || size == 10) && text[4] == '-' && text[7] == '-' &&
                     digits(0, 4, y) && digits(5, 2, mo) && digits(8, 2, d) &&
                     (size == 10 || (text[10] == ' ' && text[13] == ':' && text[16] == ':' &&
                                     digits(11, 2, h) && digits(14, 2, mi) && digits(17, 2, s)));
    COleDateTime date;
    if (fixedForm)
        date.SetDateTime(y, mo, d, h, mi, s);
    else
        date.ParseDateTime(QString::fromUtf8(text, size));
    if (!date.IsValid())
        return false;
    oleDate = date.m_dt;
    return true;
}

Variant CellToVariant(const ColumnInfo& column, const CellRef& cell) {
    if (cell.cls == StorageClass::Null)
        return Variant::Null();
    // What the engine holds in the column's own storage form, by type.
    auto number = [&]() -> double {
        switch (cell.cls) {
        case StorageClass::Integer:
            return static_cast<double>(cell.Int());
        case StorageClass::Real:
            return cell.Real();
        default: {
            double v = 0;
            parseNumber(cell.Text(), v);
            return v;
        }
        }
    };
    auto integer = [&]() -> std::int64_t {
        if (cell.cls == StorageClass::Integer)
            return cell.Int();
        return std::llround(number());
    };
    switch (column.type) {
    case adInteger:
        return Variant(static_cast<int>(integer()));
    case adSmallInt:
        return Variant(static_cast<short>(integer()));
    case adUnsignedTinyInt:
        return Variant(static_cast<unsigned char>(integer()));
    case adTinyInt:
        return Variant(static_cast<signed char>(integer()));
    case adBigInt:
        return Variant::Integer(VT_I8, integer());
    case adSingle:
        return Variant(static_cast<float>(number()));
    case adDouble:
        return Variant(number());
    case adNumeric:
    case adDecimal:
        return Variant::Decimal(number());
    case adCurrency:
        return Variant::Currency(std::llround(number() * 10000.0));
    case adBoolean:
        return Variant(integer() != 0);
    case adDate:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp: {
        if (cell.cls == StorageClass::Integer || cell.cls == StorageClass::Real)
            return Variant::Date(number());
        double date = 0;
        if (cell.cls == StorageClass::Text &&
            ParseStoredDate(cell.data, static_cast<int>(cell.size), date))
            return Variant::Date(date);
        return Variant(cell.Text()); // not a date: shown as stored rather than lost
    }
    case adLongVarBinary:
    case adVarBinary:
    case adBinary:
        return Variant(cell.Bytes());
    default: {
        QString text;
        switch (cell.cls) {
        case StorageClass::Integer:
            text = QString::number(cell.Int());
            break;
        case StorageClass::Real:
            text = FormatDouble(cell.Real());
            break;
        case StorageClass::Blob:
            if (!IsTextType(column.type))
                return Variant(cell.Bytes());
            text = cell.Text();
            break;
        default:
            text = cell.Text();
            break;
        }
        if (column.fixedLength && text.size() < column.definedSize)
            text += QString(static_cast<int>(column.definedSize - text.size()), QLatin1Char(' '));
        return Variant(std::move(text));
    }
    }
}

namespace {

// The number a value written into a number column stands for.
double numberOf(const ColumnInfo& column, const Variant& value) {
    double number = 0;
    if (value.IsString()) {
        if (!parseNumber(value.Str(), number))
            throw conversionError(column, QStringLiteral("“%1”不是数字").arg(value.Str()));
        return number;
    }
    if (value.IsNumber() || value.vt() == VT_DATE)
        return value.ToDouble();
    throw conversionError(column, QStringLiteral("这种值不能存为数字"));
}

StoredValue toInteger(const ColumnInfo& column, const Variant& value, std::int64_t min,
                      std::int64_t max) {
    double number = numberOf(column, value);
    if (value.IsInteger() && value.vt() != VT_UI8) {
        if (value.Int() < min || value.Int() > max)
            throw conversionError(column, QStringLiteral("数值超出字段的范围"));
        return StoredValue::Integer(value.Int());
    }
    double rounded = std::nearbyint(number); // halves to even, as the engine rounds
    if (rounded < static_cast<double>(min) || rounded > static_cast<double>(max))
        throw conversionError(column, QStringLiteral("数值超出字段的范围"));
    return StoredValue::Integer(static_cast<std::int64_t>(rounded));
}

StoredValue toReal(const ColumnInfo& column, const Variant& value) {
    double number = numberOf(column, value);
    if (column.type == adSingle && std::fabs(number) > std::numeric_limits<float>::max())
        throw conversionError(column, QStringLiteral("数值超出字段的范围"));
    if (column.type == adCurrency)
        number = std::nearbyint(number * 10000.0) / 10000.0;
    return StoredValue::Real(column.type == adSingle ? static_cast<float>(number) : number);
}

StoredValue toDate(const ColumnInfo& column, const Variant& value) {
    COleDateTime date;
    if (value.vt() == VT_DATE || value.IsNumber()) {
        date = COleDateTime::FromDouble(value.ToDouble());
    } else if (value.IsString()) {
        if (!date.ParseDateTime(value.Str()))
            throw conversionError(column, QStringLiteral("“%1”不是有效的日期").arg(value.Str()));
    } else {
        throw conversionError(column, QStringLiteral("这种值不能存为日期"));
    }
    if (!date.IsValid())
        throw conversionError(column, QStringLiteral("日期超出范围"));
    return StoredValue::Text(StoredDateText(date));
}

StoredValue toBoolean(const ColumnInfo& column, const Variant& value) {
    if (value.IsString()) {
        QString t = value.Str().trimmed();
        static const QStringList yes = {QStringLiteral("是"), QStringLiteral("TRUE"),
                                        QStringLiteral("YES"), QStringLiteral("ON")};
        static const QStringList no = {QStringLiteral("否"), QStringLiteral("FALSE"),
                                       QStringLiteral("NO"), QStringLiteral("OFF")};
        if (yes.contains(t, Qt::CaseInsensitive))
            return StoredValue::Integer(-1);
        if (no.contains(t, Qt::CaseInsensitive))
            return StoredValue::Integer(0);
        double number = 0;
        if (!parseNumber(t, number))
            throw conversionError(column, QStringLiteral("“%1”不是“是/否”值").arg(value.Str()));
        return StoredValue::Integer(number != 0 ? -1 : 0);
    }
    if (value.IsNumber())
        return StoredValue::Integer(value.ToDouble() != 0 ? -1 : 0);
    throw conversionError(column, QStringLiteral("这种值不能存为“是/否”"));
}

StoredValue toText(const ColumnInfo& column, const Variant& value) {
    QString text;
    if (value.IsByteArray())
        text = QString::fromUtf8(value.Bytes());
    else
        text = value.ToString();
    if (column.fixedLength) {
        // Fixed-width text is stored without its padding and padded again when read.
        int end = text.size();
        while (end > 0 && text.at(end - 1) == QLatin1Char(' '))
            --end;
        text.truncate(end);
    }
    if (column.definedSize > 0 && text.size() > column.definedSize)
        throw conversionError(column, QStringLiteral("文本有 %1 个字符，超过了字段大小 %2")
                                          .arg(text.size())
                                          .arg(column.definedSize));
    return StoredValue::Text(text);
}

} // namespace

StoredValue VariantToStored(const ColumnInfo& column, const Variant& value) {
    if (value.IsNullOrEmpty())
        return {};
    const bool binary =
        column.type == adLongVarBinary || column.type == adVarBinary || column.type == adBinary;
    if (value.IsString() && value.Str().isEmpty() && !IsTextType(column.type) && !binary)
        return {}; // empty text into a number or date column stores null
    switch (column.type) {
    case adInteger:
        return toInteger(column, value, INT32_MIN, INT32_MAX);
    case adSmallInt:
        return toInteger(column, value, INT16_MIN, INT16_MAX);
    case adUnsignedTinyInt:
        return toInteger(column, value, 0, 255);
    case adTinyInt:
        return toInteger(column, value, -128, 127);
    case adBigInt:
        return toInteger(column, value, INT64_MIN, INT64_MAX);
    case adSingle:
    case adDouble:
    case adCurrency:
    case adNumeric:
    case adDecimal:
        return toReal(column, value);
    case adDate:
    case adDBDate:
    case adDBTime:
    case adDBTimeStamp:
        return toDate(column, value);
    case adBoolean:
        return toBoolean(column, value);
    case adLongVarBinary:
    case adVarBinary:
    case adBinary:
        if (value.IsByteArray()) {
            if (column.type != adLongVarBinary && value.Bytes().size() > column.definedSize)
                throw conversionError(column, QStringLiteral("数据超过了字段大小"));
            return StoredValue::Blob(value.Bytes());
        }
        if (value.IsString())
            return StoredValue::Blob(value.Str().toUtf8());
        throw conversionError(column, QStringLiteral("这种值不能存为二进制数据"));
    default:
        return toText(column, value);
    }
}

} // namespace adodb
