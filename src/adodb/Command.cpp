#include "adodb/Command.h"

#include "adodb/ComError.h"
#include "adodb/Connection.h"
#include "adodb/Provider.h"
#include "adodb/Recordset.h"

namespace adodb {

std::shared_ptr<Command> Command::Create() {
    return std::shared_ptr<Command>(new Command());
}

RecordsetPtr Command::Execute(long* recordsAffected, const std::vector<Variant>& parameters, long) {
    if (!m_connection)
        throw ComError(E_FAIL, QStringLiteral("命令没有连接。"), ConnectionSource());
    return m_connection->Guard([&] {
        long affected = 0;
        std::unique_ptr<RowSet> rows = m_connection->provider().ExecuteWithParameters(m_text, parameters, &affected);
        if (recordsAffected)
            *recordsAffected = affected;
        RecordsetPtr rs = Recordset::Create();
        if (rows)
            rs->Attach(m_connection, std::move(rows), m_text, adOpenForwardOnly, adLockReadOnly);
        return rs;
    });
}

} // namespace adodb
