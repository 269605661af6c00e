#pragma once
// Conversions of field values: the technical text form used for processing and the
// integer form; the display form is CAdoRecordSet::VariantToDisplayText.

#include "adodb/Variant.h"
#include "platform/OleDateTime.h"

#include <QString>

#include <cstdint>

// A currency amount: the value times 10000.
struct COleCurrency {
    std::int64_t m_cur = 0;
};

// Technical text: dates "%Y-%m-%d %H:%M:%S", singles "%.4f", doubles "%.8f", booleans
// "TRUE"/"FALSE", byte arrays "[BLOB]", unknown types "UN_KNOW".
QString VariantToString(const adodb::Variant& value);

// The value as an integer; a date gives the seconds from 1970-01-01 00:00 local time to
// its midnight (years 1970 to 2038, else 0).
long VariantToLong(const adodb::Variant& value);

// The low four bytes of an integer value, as a signed 32-bit number.
std::int32_t LowFourBytes(const adodb::Variant& value);

// A date value as a date; any other value gives an invalid date.
COleDateTime VariantToDate(const adodb::Variant& value);

double VariantToDouble(const adodb::Variant& value);
