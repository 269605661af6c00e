#pragma once
// Values that go into SQL texts between single quotes.

#include <QString>

// The value made safe inside a quoted SQL literal: every single quote doubled.
QString SqlEscape(const QString& value);
