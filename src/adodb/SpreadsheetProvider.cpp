#include "adodb/SpreadsheetProvider.h"

#include "adodb/ComError.h"
#include "adodb/JetSql.h"
#include "adodb/WorkbookWriter.h"
#include "platform/Paths.h"

using namespace adodb;

namespace {

ComError spreadsheetError(const QString& why) {
    return ComError(E_FAIL, why, QStringLiteral("Microsoft Excel Driver"), QStringLiteral("HY000"), 0);
}

bool isWord(const SqlToken& t, const char* word) {
    return t.type == SqlToken::Word && t.value.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
}

// Hands each token one level inside parentheses, from `from` on, to f.
template <class F> void forEachInParentheses(const std::vector<SqlToken>& tokens, size_t from, F f) {
    int depth = 0;
    for (size_t k = from; k < tokens.size(); ++k) {
        const SqlToken& t = tokens[k];
        if (t.type == SqlToken::Symbol && t.text == QLatin1String("("))
            ++depth;
        else if (t.type == SqlToken::Symbol && t.text == QLatin1String(")"))
            --depth;
        else if (depth == 1)
            f(t);
    }
}

} // namespace

SpreadsheetProvider::SpreadsheetProvider() = default;

SpreadsheetProvider::~SpreadsheetProvider() = default; // an unfinished workbook is dropped

HRESULT SpreadsheetProvider::Open(const ConnectionString& connection, const QString&, const QString&, long) {
    QString path = connection.Value(QStringLiteral("CREATE_DB"));
    if (path.isEmpty())
        path = connection.Value(QStringLiteral("DBQ"));
    if (path.isEmpty())
        throw spreadsheetError(QStringLiteral("连接字符串中没有指定工作簿文件（CREATE_DB）。"));
    m_path = LocalPath(path);
    return S_OK;
}

void SpreadsheetProvider::Close() {
    if (!m_writer)
        return;
    std::unique_ptr<WorkbookWriter> writer = std::move(m_writer);
    QString why;
    if (!writer->Finish(&why))
        throw spreadsheetError(QStringLiteral("工作簿“%1”无法写入：%2").arg(m_path, why));
}

std::unique_ptr<RowSet> SpreadsheetProvider::Execute(const QString& command, long* affected) {
    return ExecuteWithParameters(command, {}, affected);
}

std::unique_ptr<RowSet> SpreadsheetProvider::ExecuteWithParameters(const QString& command,
                                                                   const std::vector<Variant>& parameters,
                                                                   long* affected) {
    if (affected)
        *affected = 0;
    if (m_insert.command.isEmpty() || command != m_insert.command) {
        std::vector<SqlToken> tokens;
        for (const SqlToken& t : TokenizeJetSql(command))
            if (t.type != SqlToken::Space)
                tokens.push_back(t);
        auto word = [&](size_t k, const char* w) { return k < tokens.size() && isWord(tokens[k], w); };
        if (word(0, "CREATE") && word(1, "TABLE") && tokens.size() > 2) {
            if (!parameters.empty())
                throw spreadsheetError(QStringLiteral("CREATE TABLE 不带参数。"));
            createTable(tokens);
            return nullptr;
        }
        if (!word(0, "INSERT") || !word(1, "INTO"))
            throw spreadsheetError(QStringLiteral("工作簿只接受 CREATE TABLE 和 INSERT 语句。"));
        m_insert = readInsert(command, tokens);
    }
    if (!m_writer)
        throw spreadsheetError(QStringLiteral("工作表还没有创建。"));
    if (m_insert.parameters != static_cast<int>(parameters.size()))
        throw spreadsheetError(QStringLiteral("命令需要 %1 个参数，给出了 %2 个。")
                                   .arg(m_insert.parameters)
                                   .arg(parameters.size()));
    QStringList cells;
    cells.reserve(m_insert.literals.size());
    for (qsizetype k = 0; k < m_insert.literals.size(); ++k) {
        const int p = m_insert.parameter[static_cast<size_t>(k)];
        cells << (p < 0 ? m_insert.literals[k] : parameters[static_cast<size_t>(p)].ToString());
    }
    QString why;
    if (!m_writer->AddRow(cells, &why))
        throw spreadsheetError(why);
    if (affected)
        *affected = 1;
    return nullptr;
}

void SpreadsheetProvider::createTable(const std::vector<SqlToken>& tokens) {
    if (m_writer)
        throw spreadsheetError(QStringLiteral("一个工作簿只写一张表。"));
    QString why;
    m_writer = WorkbookWriter::For(m_path, tokens[2].value, &why);
    if (!m_writer)
        throw spreadsheetError(why);
    QStringList headings;
    forEachInParentheses(tokens, 3, [&](const SqlToken& t) {
        if ((t.type == SqlToken::Word || t.type == SqlToken::QuotedName) &&
            t.value.compare(QLatin1String("TEXT"), Qt::CaseInsensitive) != 0)
            headings << t.value;
    });
    if (!m_writer->AddRow(headings, &why))
        throw spreadsheetError(why);
}

SpreadsheetProvider::InsertValues SpreadsheetProvider::readInsert(const QString& command,
                                                                 const std::vector<SqlToken>& tokens) const {
    InsertValues values;
    values.command = command;
    size_t k = 0;
    while (k < tokens.size() && !isWord(tokens[k], "VALUES"))
        ++k;
    forEachInParentheses(tokens, k, [&](const SqlToken& t) {
        if (t.type == SqlToken::String) {
            values.literals << t.value;
            values.parameter.push_back(-1);
        } else if (t.type == SqlToken::Symbol && t.text == QLatin1String("?")) {
            values.literals << QString();
            values.parameter.push_back(values.parameters++);
        }
    });
    return values;
}
