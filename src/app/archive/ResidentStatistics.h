#pragma once
// The counts of the title line: households (distinct household-book numbers), persons,
// men and women among the residents of a list who are not cancelled.

#include <QString>

class CAdoRecordSet;

struct ResidentCounts {
    int households = 0;
    int men = 0;
    int women = 0;
    int Persons() const { return men + women; }
};

// Walks the recordset from its first row to its end. A resident is cancelled when "注销"
// is neither empty nor "未注销"; "性别" containing "女" is a woman, anything else a man; an
// empty household number is one household like any other.
ResidentCounts CountResidents(CAdoRecordSet& residents);

// "(%d户 %d人 男:%d人 女:%d人)", or nothing when nobody was counted.
QString CountsText(const ResidentCounts& counts);
