#include "adodb/Provider.h"

#include "adodb/ComError.h"
#include "adodb/SpreadsheetProvider.h"
#include "adodb/SqliteProvider.h"

#include <QList>
#include <QPair>

namespace adodb {

namespace {

ComError notSupported(const QString& what) {
    return ComError(E_FAIL, QStringLiteral("此提供程序不支持%1。").arg(what), ConnectionSource());
}

QList<QPair<QString, ProviderFactory>>& registry() {
    static QList<QPair<QString, ProviderFactory>> providers = {
        {QStringLiteral("microsoft.jet.oledb.4.0"),
         [] { return std::unique_ptr<Provider>(new SqliteProvider()); }},
        {QStringLiteral("{microsoft excel driver (*.xls)}"),
         [] { return std::unique_ptr<Provider>(new SpreadsheetProvider()); }},
    };
    return providers;
}

} // namespace

std::unique_ptr<RowSet> Provider::ExecuteWithParameters(const QString& command,
                                                       const std::vector<Variant>& parameters,
                                                       long* affected) {
    if (!parameters.empty())
        throw notSupported(QStringLiteral("命令参数"));
    return Execute(command, affected);
}
std::unique_ptr<RowSet> Provider::OpenSchema(SchemaEnum, const std::vector<Variant>&) {
    throw notSupported(QStringLiteral("架构行集"));
}
void Provider::UpdateRow(const RowSet&, const Row&, const std::vector<PendingValue>&) {
    throw notSupported(QStringLiteral("更新记录"));
}
Row Provider::InsertRow(const RowSet&, const std::vector<PendingValue>&) {
    throw notSupported(QStringLiteral("添加记录"));
}
void Provider::DeleteRow(const RowSet&, const Row&) {
    throw notSupported(QStringLiteral("删除记录"));
}
long Provider::BeginTrans() {
    throw notSupported(QStringLiteral("事务"));
}
void Provider::CommitTrans() {
    throw notSupported(QStringLiteral("事务"));
}
void Provider::RollbackTrans() {
    throw notSupported(QStringLiteral("事务"));
}

void RegisterProvider(const QString& name, ProviderFactory factory) {
    QString key = name.trimmed().toLower();
    for (auto& entry : registry())
        if (entry.first == key) {
            entry.second = std::move(factory);
            return;
        }
    registry().append({key, std::move(factory)});
}

std::unique_ptr<Provider> CreateProvider(const ConnectionString& connection) {
    QString name = connection.Value(QStringLiteral("Provider")).trimmed().toLower();
    if (name.isEmpty())
        name = connection.Value(QStringLiteral("DRIVER")).trimmed().toLower();
    if (name.isEmpty())
        throw ComError(E_FAIL,
                       QStringLiteral("连接字符串“%1”中没有指定提供程序。").arg(connection.Text()),
                       ConnectionSource());
    for (const auto& entry : registry())
        if (entry.first == name)
            return entry.second();
    throw ComError(E_FAIL, QStringLiteral("未找到提供程序“%1”，它可能未正确安装。").arg(name),
                   ConnectionSource());
}

} // namespace adodb
