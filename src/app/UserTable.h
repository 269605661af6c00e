#pragma once
// The user table "用户密码" as the login and the user dialogs read it: a recordset on the
// application's direct connection, names and passwords without their trailing blanks.

#include "adodb/Recordset.h"

// "SELECT * FROM 用户密码" with a dynamic cursor and optimistic locking; ComError on failure.
adodb::RecordsetPtr OpenUserTable();

QString UserNameOf(const adodb::RecordsetPtr& users);
QString PasswordOf(const adodb::RecordsetPtr& users);
int RightOf(const adodb::RecordsetPtr& users);

// Moves to the first row, in table order, of the operator with this name; FALSE (at the
// end) when there is none.
bool MoveToUser(const adodb::RecordsetPtr& users, const QString& name);
