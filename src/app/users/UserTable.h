#pragma once
// The user table "用户密码" as the login and the user dialogs read it: a recordset on the
// application's direct connection, names and passwords without their trailing blanks.

#include "adodb/Recordset.h"

// "SELECT * FROM 用户密码" with a dynamic cursor and optimistic locking; ComError on failure.
adodb::RecordsetPtr OpenUserTable();

// The one rule for operator names: a name typed, picked or read from the table counts
// without its trailing blanks, in every comparison, and is stored without them.
QString OperatorName(const QString& name);

// The current row's "用户名" by that rule.
QString UserNameOf(const adodb::RecordsetPtr& users);
QString PasswordOf(const adodb::RecordsetPtr& users);
int RightOf(const adodb::RecordsetPtr& users);

// Moves to the first row, in table order, of the operator with this name (both sides by
// the rule above); FALSE (at the end) when there is none.
bool MoveToUser(const adodb::RecordsetPtr& users, const QString& name);

// Reads the table again, so that a change is checked against the rows as they are now,
// also when another workstation changed them meanwhile.
void RereadUsers(const adodb::RecordsetPtr& users);
