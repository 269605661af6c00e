#pragma once
// The database delivered with the installation: "人员档案.mdb" with the resident table in
// its current layout (or one of the two earlier ones), optionally filled with fictitious
// residents in households under the units of a demo unit hierarchy.

#include <QString>

struct ResidentDatabaseOptions {
    int layoutColumns = 43; // 43 (current), 38 or 36 (earlier releases)
    int demoResidents = 0;
    unsigned seed = 1;
    int referenceYear = 0; // ages count from this year; 0 for the current one
};

// Creates the file (which must not exist yet). With demo residents it also writes the unit
// hierarchy "单位划分.txt" and the community name "Info.txt" beside it.
bool CreateResidentDatabase(const QString& path, const ResidentDatabaseOptions& options,
                            QString* error);

// The check character of an identity-card number (GB 11643) from its first 17 digits.
QChar IdentityCheckCharacter(const QString& first17);

// The demo community's name and unit hierarchy file text (GBK lines, CR LF).
QString DemoCommunityName();
QString DemoUnitHierarchy();
