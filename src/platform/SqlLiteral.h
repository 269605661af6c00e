#pragma once
// Values that go into SQL texts between single quotes.

#include <QString>

// The value made safe inside a quoted SQL literal: every single quote doubled.
QString SqlEscape(const QString& value);

// The value as a LIKE pattern that matches it literally, inside a quoted SQL literal: quotes
// doubled, and "%", "_" and "[" written in brackets as Jet writes literal wildcards.
QString SqlLikeEscape(const QString& value);
