#pragma once
// The warning texts of the data layer: a format with the error's message, the source file
// and line, usually followed by the provider's error list.

#include "adodb/ComError.h"
#include "platform/FormatText.h"

#include <QString>

// "AdoRecordSet.cpp" for a __FILE__ of ".../src/ado/AdoRecordSet.cpp".
QString SourceFileName(const char* path);

#define ADO_WARNING(format, error)                                                                 \
    FormatText(QStringLiteral(format), (error).ErrorMessage(), SourceFileName(__FILE__), __LINE__)
