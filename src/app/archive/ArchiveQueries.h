#pragma once
// The SQL texts and row tests of the archive window's queries: the fuzzy query's terms and
// text test, the date range, the exact query's clauses, the duplicate-name rule and the age.

#include <QString>
#include <QStringList>

#include <functional>
#include <vector>

// "Select * From 基本情况表 Where TRUE " (with its trailing blank).
QString BaseQuery();

struct DateRange {
    QString column;
    int yearFrom = 0, monthFrom = 0, dayFrom = 0;
    int yearTo = 0, monthTo = 0, dayTo = 0;
};
// " AND col>=#y-m-d# AND col<=#y-m-d#".
QString DateConditions(const DateRange& range);
// Why the range cannot be queried ("" when it can): the column must be a date column of the
// resident table, and both ends real dates.
QString DateRangeProblem(const DateRange& range);

// The terms of a fuzzy query text: one term (mode 0), both (mode 1, ","), either (mode 2,
// ";"), after "，" became ",", "；" ";", ",," ";" and leading "," went.
struct FuzzyTerms {
    int mode = 0;
    QString first, second;
};
FuzzyTerms ParseFuzzyText(const QString& text);
// Whether the non-empty cells of a row hold the terms (whole characters, case-sensitive).
bool RowMatches(const QStringList& cells, const FuzzyTerms& terms);
// The same over count cells that cell(k) gives, read only as far as the verdict needs.
bool RowMatches(int count, const std::function<QString(int)>& cell, const FuzzyTerms& terms);

// The exact query from the form's values (value(column) gives a column's text) and family
// size, every value escaped, and never cut.
QString ExactQuery(const std::function<QString(const QString&)>& value, int familySize);

// Of names in name order, the rows whose name equals a neighbour's; empty names never stay.
std::vector<bool> DuplicateNameRows(const QStringList& names);

// The age in a year of a stored birth date ("YYYY-MM-DD ..."); empty when there is none or
// it is the empty date (1899-12-30).
QString AgeText(const QString& birthDate, int year);
