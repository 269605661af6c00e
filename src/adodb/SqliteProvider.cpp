#include "adodb/SqliteProvider.h"

#include "adodb/ComError.h"
#include "adodb/ValueConversion.h"
#include "platform/Paths.h"

#include <QFile>
#include <QFileInfo>

#include <sqlite3.h>
#include <unicode/ucol.h>

#include <cstring>

namespace adodb {

namespace {

const char* const kPlaceholderColumn = "__vrin_placeholder";

QString quoteName(const QString& name) {
    QString n = name;
    n.replace(QLatin1Char('"'), QStringLiteral("\"\""));
    return QLatin1Char('"') + n + QLatin1Char('"');
}

QString sqlLiteral(const StoredValue& v) {
    switch (v.cls) {
    case StorageClass::Null:
        return QStringLiteral("NULL");
    case StorageClass::Integer:
        return QString::number(v.i);
    case StorageClass::Real:
        return QString::number(v.d, 'g', 17);
    case StorageClass::Text: {
        QString t = QString::fromUtf8(v.bytes);
        t.replace(QLatin1Char('\''), QStringLiteral("''"));
        return QLatin1Char('\'') + t + QLatin1Char('\'');
    }
    case StorageClass::Blob:
        return QStringLiteral("X'") + QString::fromLatin1(v.bytes.toHex()) + QLatin1Char('\'');
    }
    return QStringLiteral("NULL");
}

UCollator* pinyinCollator() {
    static UCollator* collator = [] {
        UErrorCode status = U_ZERO_ERROR;
        UCollator* c = ucol_open("zh", &status);
        return U_FAILURE(status) ? nullptr : c;
    }();
    return collator;
}

int comparePinyin(void*, int n1, const void* s1, int n2, const void* s2) {
    if (n1 == n2 && std::memcmp(s1, s2, static_cast<size_t>(n1)) == 0)
        return 0; // the same text (a sort meets many): no need to collate
    UCollator* collator = pinyinCollator();
    if (collator) {
        UErrorCode status = U_ZERO_ERROR;
        UCollationResult r = ucol_strcollUTF8(collator, static_cast<const char*>(s1), n1,
                                              static_cast<const char*>(s2), n2, &status);
        if (U_SUCCESS(status))
            return r == UCOL_LESS ? -1 : (r == UCOL_GREATER ? 1 : 0);
    }
    int c = std::memcmp(s1, s2, static_cast<size_t>(std::min(n1, n2)));
    return c != 0 ? c : n1 - n2;
}

void bind(sqlite3_stmt* stmt, int index, const StoredValue& v) {
    switch (v.cls) {
    case StorageClass::Null:
        sqlite3_bind_null(stmt, index);
        break;
    case StorageClass::Integer:
        sqlite3_bind_int64(stmt, index, v.i);
        break;
    case StorageClass::Real:
        sqlite3_bind_double(stmt, index, v.d);
        break;
    case StorageClass::Text:
        sqlite3_bind_text(stmt, index, v.bytes.constData(), static_cast<int>(v.bytes.size()),
                          SQLITE_TRANSIENT);
        break;
    case StorageClass::Blob:
        sqlite3_bind_blob(stmt, index, v.bytes.constData(), static_cast<int>(v.bytes.size()),
                          SQLITE_TRANSIENT);
        break;
    }
}

void bind(sqlite3_stmt* stmt, int index, const CellRef& c) {
    switch (c.cls) {
    case StorageClass::Null:
        sqlite3_bind_null(stmt, index);
        break;
    case StorageClass::Integer:
        sqlite3_bind_int64(stmt, index, c.Int());
        break;
    case StorageClass::Real:
        sqlite3_bind_double(stmt, index, c.Real());
        break;
    case StorageClass::Text:
        sqlite3_bind_text(stmt, index, c.data, static_cast<int>(c.size), SQLITE_TRANSIENT);
        break;
    case StorageClass::Blob:
        sqlite3_bind_blob(stmt, index, c.data, static_cast<int>(c.size), SQLITE_TRANSIENT);
        break;
    }
}

// A parameter that is not written into a column is bound as what it is.
StoredValue PlainStored(const Variant& v) {
    if (v.IsNullOrEmpty())
        return StoredValue();
    if (v.vt() == VT_DATE)
        return StoredValue::Text(StoredDateText(v.DateValue()));
    if (v.vt() == VT_UI8 && v.UInt() > static_cast<std::uint64_t>(INT64_MAX))
        return StoredValue::Real(v.ToDouble());
    if (v.IsInteger() || v.vt() == VT_BOOL)
        return StoredValue::Integer(v.vt() == VT_BOOL ? (v.Bool() ? -1 : 0) : v.Int());
    if (v.IsNumber())
        return StoredValue::Real(v.ToDouble());
    if (v.IsByteArray())
        return StoredValue::Blob(v.Bytes());
    return StoredValue::Text(v.ToString());
}

// Resets a cached statement when it goes out of use.
struct StatementUse {
    sqlite3_stmt* stmt;
    ~StatementUse() {
        sqlite3_reset(stmt);
        sqlite3_clear_bindings(stmt);
    }
};

QString afterPrefix(const QString& message, const char* prefix) {
    int at = message.indexOf(QLatin1String(prefix));
    return at < 0 ? QString() : message.mid(at + static_cast<int>(std::strlen(prefix))).trimmed();
}

// Another user changed or deleted the row since it was read; purpose is "更新" or "删除".
ComError rowNotLocated(const QString& purpose) {
    return ComError(DB_E_CONCURRENCYVIOLATION,
                    QStringLiteral("无法定位要%1的行：自上次读取以来，某些值可能已被其他用户更改。")
                        .arg(purpose),
                    JetSource(), QStringLiteral("40001"), -1018);
}

// What a connection may do at all, whatever SQL reaches it: no other files (ATTACH, VACUUM
// INTO), no settings changed (PRAGMA writes), no extensions. The provider's own reads of
// the schema are the only pragmas.
int authorize(void*, int action, const char* arg1, const char* arg2, const char*, const char*) {
    switch (action) {
    case SQLITE_ATTACH:
    case SQLITE_DETACH:
    case SQLITE_CREATE_VTABLE:
    case SQLITE_DROP_VTABLE:
        return SQLITE_DENY;
    case SQLITE_PRAGMA: {
        static const char* const reads[] = {"table_info", "table_xinfo", "index_list",
                                            "index_info", "journal_mode"};
        for (const char* name : reads)
            if (arg1 && sqlite3_stricmp(arg1, name) == 0)
                return std::strcmp(name, "journal_mode") == 0 && arg2 ? SQLITE_DENY : SQLITE_OK;
        return SQLITE_DENY;
    }
    case SQLITE_FUNCTION:
        return arg2 && sqlite3_stricmp(arg2, "load_extension") == 0 ? SQLITE_DENY : SQLITE_OK;
    default:
        return SQLITE_OK;
    }
}

// Every step of a statement done, SQLITE_DONE or the error that stopped it.
int stepToEnd(sqlite3_stmt* stmt) {
    int rc = sqlite3_step(stmt);
    while (rc == SQLITE_ROW)
        rc = sqlite3_step(stmt);
    return rc;
}

CellInput cellOf(sqlite3_stmt* stmt, int c) {
    CellInput in;
    switch (sqlite3_column_type(stmt, c)) {
    case SQLITE_INTEGER:
        in.cls = StorageClass::Integer;
        in.i = sqlite3_column_int64(stmt, c);
        break;
    case SQLITE_FLOAT:
        in.cls = StorageClass::Real;
        in.d = sqlite3_column_double(stmt, c);
        break;
    case SQLITE_TEXT:
        in.cls = StorageClass::Text;
        in.data = reinterpret_cast<const char*>(sqlite3_column_text(stmt, c));
        in.size = static_cast<std::uint32_t>(sqlite3_column_bytes(stmt, c));
        break;
    case SQLITE_BLOB:
        in.cls = StorageClass::Blob;
        in.data = static_cast<const char*>(sqlite3_column_blob(stmt, c));
        in.size = static_cast<std::uint32_t>(sqlite3_column_bytes(stmt, c));
        break;
    default:
        break;
    }
    return in;
}

} // namespace

void CheckDatabaseFile(const QString& localPath, const QString& displayPath) {
    QFileInfo info(localPath);
    if (!info.exists())
        throw ComError(E_FAIL, QStringLiteral("找不到文件“%1”。").arg(displayPath), JetSource(),
                       QStringLiteral("3044"), -1811);
    if (info.isDir())
        throw ComError(E_FAIL,
                       QStringLiteral("“%1”是一个文件夹，不是数据库文件。").arg(displayPath),
                       JetSource(), QStringLiteral("3044"), -1811);
    QFile file(localPath);
    if (!file.open(QIODevice::ReadOnly))
        throw ComError(E_FAIL,
                       QStringLiteral("无法打开文件“%1”：%2").arg(displayPath, file.errorString()),
                       JetSource(), QStringLiteral("3051"), -1032);
    QByteArray header = file.read(100);
    if (header.isEmpty())
        throw ComError(E_FAIL, QStringLiteral("文件“%1”是空的，不是数据库。").arg(displayPath),
                       JetSource(), QStringLiteral("3343"), -1206);
    QByteArray signature = header.mid(4, 15);
    if (signature == "Standard Jet DB" || signature == "Standard ACE DB")
        throw ComError(E_FAIL,
                       QStringLiteral("文件“%1”是 Windows 版本的 Access 数据库。本程序使用 SQLite "
                                      "格式的数据库文件，请先把它转换为 SQLite 格式。")
                           .arg(displayPath),
                       JetSource(), QStringLiteral("3343"), -1206);
    if (!header.startsWith(QByteArray("SQLite format 3\0", 16)))
        throw ComError(E_FAIL, QStringLiteral("文件“%1”不是可识别的数据库格式。").arg(displayPath),
                       JetSource(), QStringLiteral("3343"), -1206);
}

void CreateDatabaseFile(const QString& localPath) {
    if (QFileInfo::exists(localPath))
        throw ComError(E_FAIL, QStringLiteral("文件“%1”已存在。").arg(localPath), JetSource());
    sqlite3* db = nullptr;
    int rc = sqlite3_open_v2(localPath.toUtf8().constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) // writes the header, so that the file is a database from now on
        rc = sqlite3_exec(db, "PRAGMA user_version=1", nullptr, nullptr, nullptr);
    QString why =
        db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
    sqlite3_close(db);
    if (rc != SQLITE_OK)
        throw ComError(E_FAIL, QStringLiteral("无法创建数据库文件“%1”（%2）。").arg(localPath, why),
                       JetSource());
}

SqliteProvider::SqliteProvider() = default;

SqliteProvider::~SqliteProvider() {
    Close();
}

void SqliteProvider::requireOpen() const {
    if (!m_db)
        throw ComError(E_FAIL, QStringLiteral("连接已关闭，不能执行此操作。"), ConnectionSource(),
                       QStringLiteral("08003"), 0);
}

void SqliteProvider::raise(int rc, const QString& context) const {
    QString message =
        m_db ? QString::fromUtf8(sqlite3_errmsg(m_db)) : QString::fromUtf8(sqlite3_errstr(rc));
    int primary = rc & 0xFF;
    QString detail = context.isEmpty() ? message : context + QStringLiteral("：") + message;
    HRESULT hr = E_FAIL;
    QString state = QStringLiteral("HY000");
    QString description;
    if (primary == SQLITE_ERROR && message.startsWith(QLatin1String("no such table:"))) {
        hr = DB_E_NOTABLE;
        state = QStringLiteral("42S02");
        description =
            QStringLiteral("找不到输入表或查询“%1”。").arg(afterPrefix(message, "no such table:"));
    } else if (primary == SQLITE_ERROR && message.startsWith(QLatin1String("no such column:"))) {
        hr = DB_E_ERRORSINCOMMAND;
        state = QStringLiteral("42S22");
        description =
            QStringLiteral("未知的字段名“%1”。").arg(afterPrefix(message, "no such column:"));
    } else if (primary == SQLITE_ERROR &&
               (message.contains(QLatin1String("syntax error")) ||
                message.startsWith(QLatin1String("near ")) ||
                message.contains(QLatin1String("incomplete input")) ||
                message.contains(QLatin1String("unrecognized token")) ||
                message.contains(QLatin1String("no such function")) ||
                message.contains(QLatin1String("wrong number of arguments")))) {
        hr = DB_E_ERRORSINCOMMAND;
        state = QStringLiteral("42000");
        description = QStringLiteral("SQL 语句语法错误（%1）。").arg(detail);
    } else if (primary == SQLITE_BUSY || primary == SQLITE_LOCKED) {
        description = QStringLiteral("数据库“%1”正被其他用户或程序锁定，请稍后再试（%2）。")
                          .arg(m_displayPath, detail);
        state = LockTimeoutState();
    } else if (primary == SQLITE_READONLY) {
        description =
            QStringLiteral("数据库“%1”是只读的，不能修改（%2）。").arg(m_displayPath, detail);
        state = QStringLiteral("25006");
    } else if (primary == SQLITE_CONSTRAINT) {
        description = QStringLiteral("违反了字段或表的约束（%1）。").arg(detail);
        state = QStringLiteral("23000");
    } else if (primary == SQLITE_NOTADB || primary == SQLITE_CORRUPT) {
        description = QStringLiteral("文件“%1”已损坏或不是可识别的数据库格式（%2）。")
                          .arg(m_displayPath, detail);
    } else if (primary == SQLITE_FULL) {
        description =
            QStringLiteral("磁盘已满，数据库“%1”无法写入（%2）。").arg(m_displayPath, detail);
    } else if (primary == SQLITE_IOERR || primary == SQLITE_CANTOPEN) {
        description = QStringLiteral("读写数据库文件“%1”时出错（%2）。").arg(m_displayPath, detail);
    } else if (message.contains(QLatin1String("already exists"))) {
        description = QStringLiteral("对象已存在（%1）。").arg(detail);
    } else if (message.contains(QLatin1String("duplicate column name"))) {
        description = QStringLiteral("字段已存在（%1）。").arg(detail);
    } else {
        description = QStringLiteral("数据库引擎错误（%1）。").arg(detail);
    }
    throw ComError(hr, description, JetSource(), state, rc);
}

HRESULT SqliteProvider::Open(const ConnectionString& connection, const QString&, const QString&,
                             long) {
    Close();
    QString source = connection.Value(QStringLiteral("Data Source"));
    if (source.isEmpty())
        throw ComError(E_FAIL, QStringLiteral("连接字符串中没有指定数据库文件（Data Source）。"),
                       JetSource(), QStringLiteral("3044"), -1811);
    m_displayPath = source;
    m_path = LocalPath(source);
    CheckDatabaseFile(m_path, m_displayPath);

    sqlite3* db = nullptr;
    // A connection lives on one thread: the engine need not lock around every call.
    int rc = sqlite3_open_v2(m_path.toUtf8().constData(), &db,
                             SQLITE_OPEN_READWRITE | SQLITE_OPEN_NOMUTEX, nullptr);
    if (rc != SQLITE_OK) {
        QString why =
            db ? QString::fromUtf8(sqlite3_errmsg(db)) : QString::fromUtf8(sqlite3_errstr(rc));
        sqlite3_close(db);
        throw ComError(E_FAIL, QStringLiteral("无法打开数据库“%1”（%2）。").arg(m_displayPath, why),
                       JetSource(), QStringLiteral("3051"), rc);
    }
    m_db = db;
    // How long to wait for another user's lock: the connection string's "Busy Timeout",
    // else VRIN_BUSY_TIMEOUT, else the default (all in milliseconds).
    bool ok = false;
    int timeout = connection.Value(QStringLiteral("Busy Timeout")).toInt(&ok);
    if (!ok || timeout < 0)
        timeout = qEnvironmentVariableIntValue("VRIN_BUSY_TIMEOUT", &ok);
    sqlite3_busy_timeout(m_db, ok && timeout >= 0 ? timeout : kDefaultBusyTimeout);
    sqlite3_extended_result_codes(m_db, 1);
    sqlite3_create_collation_v2(m_db, "PINYIN", SQLITE_UTF8, nullptr, comparePinyin, nullptr);
    try {
        sqlite3_stmt* check = prepare(QStringLiteral("SELECT count(*) FROM sqlite_master"), false);
        rc = sqlite3_step(check);
        sqlite3_finalize(check);
        if (rc != SQLITE_ROW)
            raise(rc);
        // A shared file must keep a rollback journal (write-ahead logs fail on shares).
        sqlite3_stmt* mode = prepare(QStringLiteral("PRAGMA journal_mode"), false);
        QString journal;
        if (sqlite3_step(mode) == SQLITE_ROW)
            journal =
                QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(mode, 0)));
        sqlite3_finalize(mode);
        if (journal.compare(QLatin1String("wal"), Qt::CaseInsensitive) == 0)
            sqlite3_exec(m_db, "PRAGMA journal_mode=DELETE", nullptr, nullptr, nullptr);
        // Sorts of whole tables (the list sorted by a column) stay in memory.
        sqlite3_exec(m_db, "PRAGMA temp_store=MEMORY", nullptr, nullptr, nullptr);
        sqlite3_db_config(m_db, SQLITE_DBCONFIG_ENABLE_LOAD_EXTENSION, 0, nullptr);
        sqlite3_set_authorizer(m_db, authorize, nullptr);
    } catch (...) {
        Close();
        throw;
    }
    return S_OK;
}

void SqliteProvider::finalizeCached() {
    for (sqlite3_stmt* stmt : std::as_const(m_statements))
        sqlite3_finalize(stmt);
    m_statements.clear();
}

void SqliteProvider::Close() {
    if (!m_db)
        return;
    finalizeCached();
    m_tableColumns.clear();
    if (m_transactionLevel > 0)
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
    m_transactionLevel = 0;
    sqlite3_close_v2(m_db);
    m_db = nullptr;
}

sqlite3_stmt* SqliteProvider::prepare(const QString& sql, bool checkTail) const {
    QByteArray utf8 = sql.toUtf8();
    sqlite3_stmt* stmt = nullptr;
    const char* tail = nullptr;
    int rc =
        sqlite3_prepare_v2(m_db, utf8.constData(), static_cast<int>(utf8.size()), &stmt, &tail);
    if (rc != SQLITE_OK)
        raise(rc);
    if (!stmt)
        throw ComError(DB_E_ERRORSINCOMMAND, QStringLiteral("SQL 语句语法错误：语句是空的。"),
                       JetSource(), QStringLiteral("42000"), 0);
    if (checkTail && tail) {
        QByteArray rest = QByteArray(tail).trimmed();
        while (rest.startsWith(';'))
            rest = rest.mid(1).trimmed();
        if (!rest.isEmpty()) {
            sqlite3_finalize(stmt);
            throw ComError(DB_E_ERRORSINCOMMAND,
                           QStringLiteral("SQL 语句语法错误：一次只能执行一条语句（多余的“%1”）。")
                               .arg(QString::fromUtf8(rest)),
                           JetSource(), QStringLiteral("42000"), 0);
        }
    }
    return stmt;
}

sqlite3_stmt* SqliteProvider::cached(const QString& sql, bool checkTail) {
    auto it = m_statements.find(sql);
    if (it != m_statements.end())
        return it.value();
    sqlite3_stmt* stmt = prepare(sql, checkTail);
    m_statements.insert(sql, stmt);
    return stmt;
}

void SqliteProvider::exec(const QString& sql) {
    sqlite3_stmt* stmt = prepare(sql, true);
    int rc = sqlite3_step(stmt);
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE && rc != SQLITE_ROW)
        raise(rc);
}

void SqliteProvider::schemaChanged() {
    m_tableColumns.clear();
    m_commands.clear();
    finalizeCached();
}

const std::vector<ColumnInfo>& SqliteProvider::tableColumns(const QString& table) {
    auto it = m_tableColumns.find(table);
    if (it != m_tableColumns.end())
        return it.value();
    std::vector<ColumnInfo> columns;
    sqlite3_stmt* stmt =
        prepare(QStringLiteral("PRAGMA table_info(%1)").arg(quoteName(table)), false);
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        ColumnInfo c;
        c.name = QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
        ColumnType t = ColumnTypeFromDeclaration(
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 2))));
        c.type = t.type;
        c.definedSize = t.definedSize;
        c.fixedLength = t.fixedLength;
        c.baseColumn = c.name;
        columns.push_back(c);
    }
    sqlite3_finalize(stmt);
    if (rc != SQLITE_DONE)
        raise(rc); // a busy or failing read is no table without columns
    if (columns.empty()) { // no such table (yet): another user may create it, so not kept
        static const std::vector<ColumnInfo> none;
        return none;
    }
    return m_tableColumns.insert(table, std::move(columns)).value();
}

QString SqliteProvider::ConvertLiteral(const QString& table, const QString& column,
                                       const SqlToken& literal) {
    for (const ColumnInfo& c : tableColumns(table)) {
        if (c.name.compare(column, Qt::CaseInsensitive) != 0)
            continue;
        Variant value;
        if (literal.type == SqlToken::String) {
            value = Variant(literal.value);
        } else if (literal.type == SqlToken::Number) {
            bool integral = false;
            long long n = literal.text.toLongLong(&integral);
            value = integral ? Variant(n) : Variant(literal.text.toDouble());
        } else {
            value = Variant::Null();
        }
        return sqlLiteral(VariantToStored(c, value));
    }
    return literal.text;
}

std::unique_ptr<RowSet> SqliteProvider::readRows(sqlite3_stmt* stmt, const JetStatement& statement,
                                                 const QString& source) {
    auto set = std::make_unique<RowSet>();
    set->source = source;
    const bool single = statement.singleTable;
    const int count = sqlite3_column_count(stmt);
    const int first = single ? 1 : 0;
    std::vector<int> sourceColumns; // statement column of each result column
    std::vector<bool> inferred;
    for (int c = first; c < count; ++c) {
        QString name = QString::fromUtf8(sqlite3_column_name(stmt, c));
        if (name == QLatin1String(kPlaceholderColumn))
            continue;
        ColumnInfo info;
        info.name = name;
        const char* decl = sqlite3_column_decltype(stmt, c);
        const char* table = sqlite3_column_table_name(stmt, c);
        const char* origin = sqlite3_column_origin_name(stmt, c);
        if (decl) {
            ColumnType t = ColumnTypeFromDeclaration(QString::fromUtf8(decl));
            info.type = t.type;
            info.definedSize = t.definedSize;
            info.fixedLength = t.fixedLength;
        }
        inferred.push_back(decl == nullptr);
        if (single && table && origin &&
            QString::fromUtf8(table).compare(statement.table, Qt::CaseInsensitive) == 0) {
            info.baseColumn = QString::fromUtf8(origin);
            int autoinc = 0, primary = 0;
            if (sqlite3_table_column_metadata(m_db, nullptr, table, origin, nullptr, nullptr,
                                              nullptr, &primary, &autoinc) == SQLITE_OK &&
                primary && (autoinc || info.type == adInteger))
                info.autoNumber = true;
        }
        long attributes = adFldIsNullable | adFldMayBeNull;
        if (!info.baseColumn.isEmpty() && !info.autoNumber)
            attributes |= adFldUpdatable;
        if (!IsTextType(info.type) && info.type != adLongVarBinary && info.type != adVarBinary)
            attributes |= adFldFixed;
        if (info.type == adLongVarWChar || info.type == adLongVarBinary)
            attributes |= adFldLong;
        if (info.autoNumber)
            attributes &= ~(adFldIsNullable | adFldMayBeNull);
        info.attributes = attributes;
        set->columns.push_back(info);
        sourceColumns.push_back(c);
    }
    if (single)
        set->baseTable = statement.table;

    const int n = static_cast<int>(sourceColumns.size());
    std::vector<CellInput> cells(static_cast<size_t>(n));
    while (true) {
        int rc = sqlite3_step(stmt);
        if (rc == SQLITE_DONE)
            break;
        if (rc != SQLITE_ROW)
            raise(rc);
        Row row;
        if (single)
            row.rowid = sqlite3_column_int64(stmt, 0);
        for (int k = 0; k < n; ++k)
            cells[k] = cellOf(stmt, sourceColumns[k]);
        row.cells = PackedRow::Pack(cells.data(), n);
        set->rows.push_back(std::move(row));
    }
    // Columns without a declared type (expressions) take the type of their values.
    for (int k = 0; k < n; ++k) {
        if (!inferred[k])
            continue;
        ColumnInfo& info = set->columns[k];
        StorageClass cls = StorageClass::Null;
        bool fitsInt = true;
        for (const Row& row : set->rows) {
            CellRef cell = row.cells.Cell(k);
            if (cell.cls == StorageClass::Null)
                continue;
            if (cls == StorageClass::Null)
                cls = cell.cls;
            if (cell.cls == StorageClass::Integer &&
                (cell.Int() < INT32_MIN || cell.Int() > INT32_MAX))
                fitsInt = false;
        }
        switch (cls) {
        case StorageClass::Integer:
            info.type = fitsInt ? adInteger : adBigInt;
            info.definedSize = fitsInt ? 4 : 8;
            break;
        case StorageClass::Real:
            info.type = adDouble;
            info.definedSize = 8;
            break;
        case StorageClass::Blob:
            info.type = adLongVarBinary;
            info.definedSize = 1073741823;
            break;
        default:
            info.type = adVarWChar;
            info.definedSize = 255;
            break;
        }
    }
    return set;
}

std::unique_ptr<RowSet> SqliteProvider::Execute(const QString& command, long* affected) {
    requireOpen();
    if (affected)
        *affected = 0;
    JetStatement statement = TranslateJetSql(command, this);
    if (statement.kind == JetStatement::CreateEmptyTable) {
        // The engine needs a column; a placeholder stands in until the first one is added.
        exec(QStringLiteral("CREATE TABLE %1 (%2 INTEGER)")
                 .arg(quoteName(statement.table), QLatin1String(kPlaceholderColumn)));
        schemaChanged();
        return nullptr;
    }
    sqlite3_stmt* stmt = prepare(statement.sql, true);
    struct Finalizer {
        sqlite3_stmt* s;
        ~Finalizer() { sqlite3_finalize(s); }
    } finalizer{stmt};
    if (sqlite3_column_count(stmt) > 0)
        return readRows(stmt, statement, command);
    int rc = stepToEnd(stmt);
    if (rc != SQLITE_DONE)
        raise(rc);
    if (affected)
        *affected = sqlite3_changes(m_db);
    if (sqlite3_stmt_readonly(stmt) == 0 &&
        (statement.kind == JetStatement::CreateTable ||
         statement.kind == JetStatement::AlterAddColumn || statement.kind == JetStatement::Other))
        schemaChanged();
    if (statement.kind == JetStatement::AlterAddColumn) {
        for (const ColumnInfo& c : tableColumns(statement.table))
            if (c.name == QLatin1String(kPlaceholderColumn)) {
                exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2")
                         .arg(quoteName(statement.table), QLatin1String(kPlaceholderColumn)));
                schemaChanged();
                break;
            }
    }
    return nullptr;
}

std::unique_ptr<RowSet> SqliteProvider::ExecuteWithParameters(const QString& command,
                                                             const std::vector<Variant>& parameters,
                                                             long* affected) {
    requireOpen();
    if (affected)
        *affected = 0;
    auto found = m_commands.constFind(command);
    if (found == m_commands.constEnd()) {
        JetStatement translated = TranslateJetSql(command, this);
        const JetStatement::Kind kind = translated.kind;
        if (kind != JetStatement::Select && kind != JetStatement::Insert &&
            kind != JetStatement::Update && kind != JetStatement::Delete) {
            if (!parameters.empty())
                throw ComError(DB_E_ERRORSINCOMMAND,
                               QStringLiteral("只有 SELECT、INSERT、UPDATE 和 DELETE 语句可以带参数。"),
                               JetSource(), QStringLiteral("42000"), 0);
            return Execute(command, affected);
        }
        cached(translated.sql, true); // prepared once, refusing a second statement
        ParameterisedCommand prepared;
        const std::vector<ColumnInfo>& columns = tableColumns(translated.table);
        for (const QString& target : translated.parameterColumns) {
            ColumnInfo column; // no name: the value is bound as it is
            for (const ColumnInfo& c : columns)
                if (!target.isEmpty() && c.name.compare(target, Qt::CaseInsensitive) == 0) {
                    column = c;
                    break;
                }
            prepared.targets.push_back(column);
        }
        prepared.statement = std::move(translated);
        found = m_commands.insert(command, std::move(prepared));
    }
    const JetStatement& statement = found.value().statement;
    const std::vector<ColumnInfo>& targets = found.value().targets;
    sqlite3_stmt* stmt = cached(statement.sql);
    StatementUse use{stmt};
    if (sqlite3_bind_parameter_count(stmt) != static_cast<int>(parameters.size()) ||
        statement.parameterColumns.size() != parameters.size())
        throw ComError(DB_E_ERRORSINCOMMAND,
                       QStringLiteral("命令需要 %1 个参数，给出了 %2 个。")
                           .arg(statement.parameterColumns.size())
                           .arg(parameters.size()),
                       JetSource(), QStringLiteral("07002"), 0);
    for (size_t k = 0; k < parameters.size(); ++k)
        bind(stmt, static_cast<int>(k) + 1,
             targets[k].name.isEmpty() ? PlainStored(parameters[k]) : VariantToStored(targets[k], parameters[k]));
    if (sqlite3_column_count(stmt) > 0)
        return readRows(stmt, statement, command);
    const int rc = stepToEnd(stmt);
    if (rc != SQLITE_DONE)
        raise(rc);
    if (affected)
        *affected = sqlite3_changes(m_db);
    return nullptr;
}

std::unique_ptr<RowSet> SqliteProvider::OpenSchema(SchemaEnum schema,
                                                   const std::vector<Variant>& restrictions) {
    requireOpen();
    if (schema != adSchemaTables)
        throw ComError(E_FAIL, QStringLiteral("不支持此架构行集（%1）。").arg(schema), JetSource());
    auto set = std::make_unique<RowSet>();
    for (const char* name : {"TABLE_CATALOG", "TABLE_SCHEMA", "TABLE_NAME", "TABLE_TYPE"}) {
        ColumnInfo c;
        c.name = QLatin1String(name);
        c.type = adVarWChar;
        c.definedSize = 128;
        c.attributes = adFldIsNullable | adFldMayBeNull;
        set->columns.push_back(c);
    }
    auto restriction = [&](size_t i) -> QString {
        if (i >= restrictions.size() || restrictions[i].IsNullOrEmpty())
            return QString();
        return restrictions[i].ToString();
    };
    if (!restriction(0).isEmpty() || !restriction(1).isEmpty())
        return set; // this engine has no catalogs or schemas
    sqlite3_stmt* stmt = prepare(
        QStringLiteral(
            "SELECT name, type FROM sqlite_master WHERE type IN ('table','view') ORDER BY name"),
        false);
    struct Finalizer {
        sqlite3_stmt* s;
        ~Finalizer() { sqlite3_finalize(s); }
    } finalizer{stmt};
    int rc;
    while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
        QString name =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 0)));
        QString kind =
            QString::fromUtf8(reinterpret_cast<const char*>(sqlite3_column_text(stmt, 1)));
        QString type = kind == QLatin1String("view")               ? QStringLiteral("VIEW")
                       : name.startsWith(QLatin1String("sqlite_")) ? QStringLiteral("SYSTEM TABLE")
                                                                   : QStringLiteral("TABLE");
        if ((!restriction(2).isEmpty() && restriction(2) != name) ||
            (!restriction(3).isEmpty() && restriction(3) != type))
            continue;
        StoredValue values[4] = {{}, {}, StoredValue::Text(name), StoredValue::Text(type)};
        CellInput cells[4];
        for (int k = 0; k < 4; ++k)
            cells[k] = CellInput::From(values[k]);
        Row row;
        row.cells = PackedRow::Pack(cells, 4);
        set->rows.push_back(std::move(row));
    }
    if (rc != SQLITE_DONE)
        raise(rc); // a busy read is an error, never a list of fewer tables
    return set;
}

void SqliteProvider::UpdateRow(const RowSet& set, const Row& row,
                               const std::vector<PendingValue>& changes) {
    requireOpen();
    if (changes.empty())
        return;
    QString sql = QStringLiteral("UPDATE ") + quoteName(set.baseTable) + QStringLiteral(" SET ");
    QString where = QStringLiteral(" WHERE _ROWID_=?");
    for (size_t k = 0; k < changes.size(); ++k) {
        const QString column = quoteName(set.columns[changes[k].column].baseColumn);
        if (k)
            sql += QLatin1Char(',');
        sql += column + QStringLiteral("=?");
        where += QStringLiteral(" AND ") + column + QStringLiteral(" IS ? COLLATE BINARY");
    }
    sqlite3_stmt* stmt = cached(sql + where);
    StatementUse use{stmt};
    int index = 1;
    for (const PendingValue& change : changes)
        bind(stmt, index++, change.value);
    sqlite3_bind_int64(stmt, index++, row.rowid);
    for (const PendingValue& change : changes)
        bind(stmt, index++, row.cells.Cell(change.column));
    int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        raise(rc);
    if (sqlite3_changes(m_db) == 0)
        throw rowNotLocated(QStringLiteral("更新"));
}

Row SqliteProvider::InsertRow(const RowSet& set, const std::vector<PendingValue>& values) {
    requireOpen();
    // One statement inserts the row and returns it, so the row is either stored and known,
    // or not stored at all: no second read that another user's lock could fail.
    QString sql;
    if (values.empty()) {
        sql = QStringLiteral("INSERT INTO %1 DEFAULT VALUES").arg(quoteName(set.baseTable));
    } else {
        QStringList columns, marks;
        for (const PendingValue& v : values) {
            columns << quoteName(set.columns[v.column].baseColumn);
            marks << QStringLiteral("?");
        }
        sql = QStringLiteral("INSERT INTO %1 (%2) VALUES (%3)")
                  .arg(quoteName(set.baseTable), columns.join(QLatin1Char(',')),
                       marks.join(QLatin1Char(',')));
    }
    sql += QStringLiteral(" RETURNING _ROWID_");
    for (const ColumnInfo& c : set.columns)
        sql += QLatin1Char(',') +
               (c.baseColumn.isEmpty() ? QStringLiteral("NULL") : quoteName(c.baseColumn));
    sqlite3_stmt* stmt = cached(sql);
    StatementUse use{stmt};
    int index = 1;
    for (const PendingValue& v : values)
        bind(stmt, index++, v.value);
    int rc = sqlite3_step(stmt);
    if (rc != SQLITE_ROW)
        raise(rc);
    const int n = static_cast<int>(set.columns.size());
    std::vector<CellInput> cells(static_cast<size_t>(n));
    for (int k = 0; k < n; ++k)
        cells[k] = cellOf(stmt, k + 1);
    Row row;
    row.rowid = sqlite3_column_int64(stmt, 0);
    row.cells = PackedRow::Pack(cells.data(), n);
    rc = stepToEnd(stmt); // the insert is committed (or undone) only here
    if (rc != SQLITE_DONE)
        raise(rc);
    return row;
}

void SqliteProvider::DeleteRow(const RowSet& set, const Row& row) {
    requireOpen();
    sqlite3_stmt* stmt =
        cached(QStringLiteral("DELETE FROM %1 WHERE _ROWID_=?").arg(quoteName(set.baseTable)));
    StatementUse use{stmt};
    sqlite3_bind_int64(stmt, 1, row.rowid);
    int rc = sqlite3_step(stmt);
    if (rc != SQLITE_DONE)
        raise(rc);
    if (sqlite3_changes(m_db) == 0)
        throw rowNotLocated(QStringLiteral("删除"));
}

long SqliteProvider::BeginTrans() {
    requireOpen();
    if (m_transactionLevel == 0)
        exec(QStringLiteral("BEGIN IMMEDIATE"));
    else
        exec(QStringLiteral("SAVEPOINT vrin_%1").arg(m_transactionLevel));
    return ++m_transactionLevel;
}

void SqliteProvider::CommitTrans() {
    requireOpen();
    if (m_transactionLevel == 0)
        throw ComError(E_FAIL, QStringLiteral("没有活动的事务，不能提交。"), JetSource(),
                       QStringLiteral("25000"), -1010);
    if (m_transactionLevel > 1) {
        exec(QStringLiteral("RELEASE vrin_%1").arg(m_transactionLevel - 1));
        --m_transactionLevel;
        return;
    }
    try {
        exec(QStringLiteral("COMMIT"));
    } catch (const ComError& e) {
        // A commit that fails must not keep the file locked for everybody else.
        sqlite3_exec(m_db, "ROLLBACK", nullptr, nullptr, nullptr);
        m_transactionLevel = 0;
        throw ComError(e.Error(),
                       e.Description() + QStringLiteral("事务已回滚，其中的修改没有保存。"),
                       e.Source(), e.SQLState(), e.NativeError());
    }
    m_transactionLevel = 0;
}

void SqliteProvider::RollbackTrans() {
    requireOpen();
    if (m_transactionLevel == 0)
        throw ComError(E_FAIL, QStringLiteral("没有活动的事务，不能回滚。"), JetSource(),
                       QStringLiteral("25000"), -1010);
    if (m_transactionLevel == 1) {
        exec(QStringLiteral("ROLLBACK"));
    } else {
        exec(QStringLiteral("ROLLBACK TO vrin_%1").arg(m_transactionLevel - 1));
        exec(QStringLiteral("RELEASE vrin_%1").arg(m_transactionLevel - 1));
    }
    --m_transactionLevel;
}

} // namespace adodb
