#pragma once
// The Command object: a command text with "?" parameters, run on a connection again and
// again with other values. The provider prepares the text once, and every value is written
// into its column as the column converts it (text into a date column, for one).

#include "adodb/AdoTypes.h"
#include "adodb/Variant.h"

#include <QString>

#include <memory>
#include <vector>

namespace adodb {

class Connection;
class Recordset;
using ConnectionPtr = std::shared_ptr<Connection>;
using RecordsetPtr = std::shared_ptr<Recordset>;

class Command {
public:
    static std::shared_ptr<Command> Create();

    void PutRefActiveConnection(ConnectionPtr connection) { m_connection = std::move(connection); }
    ConnectionPtr GetActiveConnection() const { return m_connection; }
    void PutCommandText(const QString& text) { m_text = text; }
    QString GetCommandText() const { return m_text; }

    // Runs the command with one value per "?", in order: a query gives an open recordset,
    // anything else a closed one. Raises ComError (recorded in the connection's Errors).
    RecordsetPtr Execute(long* recordsAffected, const std::vector<Variant>& parameters,
                         long options = adCmdText);

private:
    Command() = default;

    ConnectionPtr m_connection;
    QString m_text;
};
using CommandPtr = std::shared_ptr<Command>;

} // namespace adodb
