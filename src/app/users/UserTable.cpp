#include "app/users/UserTable.h"

#include "app/settings/SettingsFiles.h"
#include "app/shell/VRINApp.h"
#include "records/ResidentCatalogue.h"

using namespace adodb;

RecordsetPtr OpenUserTable() {
    RecordsetPtr users = Recordset::Create();
    users->Open(QStringLiteral("SELECT * FROM ") + kUserTable, GetApp().m_pConnection,
                adOpenDynamic, adLockOptimistic, adCmdText);
    return users;
}

QString OperatorName(const QString& name) {
    return TrimTrailingBlanks(name);
}

QString UserNameOf(const RecordsetPtr& users) {
    return OperatorName(GetApp().GetFieldText(users, QStringLiteral("用户名")));
}

QString PasswordOf(const RecordsetPtr& users) {
    return TrimTrailingBlanks(GetApp().GetFieldText(users, QStringLiteral("密码")));
}

int RightOf(const RecordsetPtr& users) {
    return TextToInt(GetApp().GetFieldText(users, QStringLiteral("权限")));
}

bool MoveToUser(const RecordsetPtr& users, const QString& name) {
    const QString wanted = OperatorName(name);
    if (!users->GetBOF())
        users->MoveFirst();
    for (; !users->GetEOF(); users->MoveNext())
        if (UserNameOf(users) == wanted)
            return true;
    return false;
}

void RereadUsers(const RecordsetPtr& users) {
    users->Requery(-1);
}
