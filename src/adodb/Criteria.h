#pragma once
// The criteria of Filter and Find: "field op value" with = < > <= >= <> LIKE, strings in
// single quotes ('' inside), dates in #...#, numbers bare, NULL; clauses joined with AND
// and OR, grouped with parentheses. Text compares without regard to case.

#include "adodb/RowSet.h"
#include "adodb/Variant.h"

#include <QString>

#include <functional>
#include <memory>
#include <vector>

namespace adodb {

// How deep brackets and NOT may nest in criteria; deeper ones are refused.
constexpr int kMaxCriteriaDepth = 200;

class Criteria {
public:
    // Parses the text against the columns; raises ComError 0x80040E14 when it does not
    // parse or names a field the columns lack.
    Criteria(const QString& text, const std::vector<ColumnInfo>& columns,
             std::function<int(const QString&)> findColumn);
    ~Criteria();
    Criteria(Criteria&&) noexcept;
    Criteria& operator=(Criteria&&) noexcept;

    // Whether the row meets the criteria; valueOf gives the row's value of a column.
    bool Matches(const std::function<Variant(int)>& valueOf) const;

    struct Node;

private:
    std::unique_ptr<Node> m_root;
};

// ASCII-case-insensitive LIKE with % or * for any run and _ or ? for one character, in
// at most length × pattern steps.
bool LikeMatches(const QString& text, const QString& pattern);

} // namespace adodb
