#pragma once
// The resident table "基本情况表" and the user table "用户密码" column by column: kinds,
// sizes, the labels and control ids of the detail form, the choice lists it offers and the
// byte limits of the remarks. Every screen takes its names from here.

#include <QString>
#include <QStringList>

#include <vector>

inline const QString kResidentTable = QStringLiteral("基本情况表");
inline const QString kUserTable = QStringLiteral("用户密码");
inline const QString kDatabaseFileName = QStringLiteral("人员档案.mdb");

enum class ColumnKind { Key, Text, Date, Integer, Binary };
enum class FormControl { None, Edit, Combo, DateCombos, MultiLineEdit, Frame };

struct ResidentColumn {
    QString name;
    ColumnKind kind;
    int size;      // characters the column holds (text columns)
    QString label; // the detail form's label, empty when not on the form
    int controlId; // the detail form's control, 0 when none
    FormControl control;
    int byteLimit; // GBK bytes the form lets through, 0 when only the size limits
    bool appended; // one of the seven columns later releases appended
};

// The 43 columns in the order of the delivered database: the key at position 0, "工作单位"
// at 3, "注销" at 5, the seven appended columns last.
const std::vector<ResidentColumn>& ResidentColumns();
const ResidentColumn* FindResidentColumn(const QString& name);
// Jet DDL type of a column ("TEXT(50)", "DATETIME", "INT", "LONGBINARY", "COUNTER").
QString ColumnSqlType(const ResidentColumn& column);

// Positions the schema check relies on.
constexpr int kWorkUnitPosition = 3;
constexpr int kCancellationPosition = 5;
constexpr int kMinCancellationSize = 20;

// The seven columns later releases append, each with the statement that appends it, in
// the order of the upgrade. The first two came with the 38-column layout.
struct AppendedColumn {
    QString name;
    QString statement;
};
const std::vector<AppendedColumn>& AppendedColumns();
constexpr int kFirstLayoutColumns = 36;
constexpr int kSecondLayoutColumns = 38;
constexpr int kCurrentLayoutColumns = 43;

// The statements that create the user table with its default administrator.
const QStringList& UserTableStatements();
inline const QString kDefaultAdministrator = QStringLiteral("管理员");
inline const QString kDefaultPassword = QStringLiteral("580347");
constexpr int kAdministratorRight = 99;
constexpr int kUserNameSize = 10;
constexpr int kPasswordSize = 10;

// The choice list of a combo box of the detail form, in its order ("" for the empty entry).
QStringList ChoiceList(int controlId);
// The 56 nationalities in the order of the national code list.
const QStringList& Nationalities();
// The years the birth-year box offers: current year - 100 up to the current year.
QStringList BirthYearChoices(int currentYear);

// "1899-12-30 00:00:00": a date column that reads so is shown empty.
inline const QString kEmptyDateText = QStringLiteral("1899-12-30 00:00:00");

// Remark limits of the detail form, in GBK bytes.
constexpr int kRemarkByteLimit = 50;
constexpr int kResumeByteLimit = 255;

// Values of "注销" that count a resident as registered.
bool IsRegistered(const QString& cancellation);
