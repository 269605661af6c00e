#pragma once
// Picking cell values from the resident list into the fuzzy query's text.

#include <QString>

// The query text after picking a cell: the cell alone into an empty text, else what
// follows the first "," and then "," and the cell; leading and trailing "," removed. So
// the text holds at most the two values picked last.
QString PickIntoQuery(const QString& query, const QString& cell);
