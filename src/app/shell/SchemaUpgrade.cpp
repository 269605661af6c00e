// The schema check and upgrade of the application object.

#include "app/shell/VRINApp.h"
#include "platform/MessageService.h"
#include "records/ResidentCatalogue.h"

#include <QSet>

using namespace adodb;

bool CVRINApp::CheckAndUpgradeSchema() {
    RecordsetPtr rs = Recordset::Create();
    rs->Open(QStringLiteral("SELECT * FROM ") + kResidentTable, m_pConnection, adOpenStatic,
             adLockOptimistic, adCmdText);
    FieldsPtr fields = rs->GetFields();
    QSet<QString> names;
    for (long k = 0; k < fields->GetCount(); ++k)
        names.insert(fields->GetItem(Variant(static_cast<int>(k)))->GetName());
    if (fields->GetItem(Variant(kWorkUnitPosition))->GetName() != QStringLiteral("工作单位")) {
        AfxMessageBox(
            QStringLiteral("需要将单位字段改为工作单位,工作单位改为服务场所,简历改为备注2!"));
        return false;
    }
    if (fields->GetItem(Variant(kCancellationPosition))->GetDefinedSize() < kMinCancellationSize) {
        AfxMessageBox(QStringLiteral("需要将注销字段的长度改为20!"));
        return false;
    }
    rs->Close();
    // Each appended column is added only when the table lacks it, so a table that has some
    // of them is completed; the 36- and 38-column layouts get the columns they always got.
    for (const AppendedColumn& column : AppendedColumns())
        if (!names.contains(column.name))
            m_pConnection->Execute(column.statement, nullptr, adCmdText);
    if (!TableExists(kUserTable))
        for (const QString& statement : UserTableStatements())
            m_pConnection->Execute(statement, nullptr, adCmdText);
    return true;
}
