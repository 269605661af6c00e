#include "AdodbFixture.h"

#include "adodb/SqliteProvider.h"

using namespace adodb;

void AdodbTest::SetUp() {
    m_path = m_dir.Path(QStringLiteral("人员档案.mdb"));
    CreateDatabaseFile(m_path);
    m_conn = Connect();
}

ConnectionPtr AdodbTest::Connect(const QString& extra) const {
    ConnectionPtr c = Connection::Create();
    c->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + m_path + extra,
            QString(), QString(), -1);
    return c;
}

void AdodbTest::Exec(const QString& sql) const {
    m_conn->Execute(sql, nullptr, adCmdText);
}

RecordsetPtr AdodbTest::Query(const QString& sql, CursorTypeEnum cursor, LockTypeEnum lock) const {
    RecordsetPtr rs = Recordset::Create();
    rs->Open(sql, m_conn, cursor, lock, adCmdText);
    return rs;
}

QStringList AdodbTest::Column(const QString& sql, const QString& field) const {
    RecordsetPtr rs = Query(sql);
    QStringList values;
    while (!rs->GetEOF()) {
        values << rs->GetCollect(field).ToString();
        rs->MoveNext();
    }
    return values;
}

void AdodbTest::CreateResidents() const {
    Exec(QStringLiteral(
        "CREATE TABLE 基本情况表 (编号 COUNTER, 姓名 TEXT(20), 性别 TEXT(2), 出生日期 DATETIME, "
        "工作单位 TEXT(50), 注销 TEXT(20), 家庭人口 INT, 身份证号 TEXT(18), 户口簿编号 TEXT(20), "
        "显示 TEXT(2), 年龄 INT, 死亡日期 DATETIME, 照片 LONGBINARY)"));
    const char* rows[] = {
        "'张三','男',#1980-5-3#,'一组甲院','未注销',3,'11010519800503001X','H001','否',44",
        "'李四','女',#1992-11-20#,'一组乙院','迁出',2,'110105199211200021','H001','否',32",
        "'王五','男',#1975-1-1#,'二组','未注销',NULL,'110105197501010012','H002','否',49",
        "'赵六','女',#2012-7-9#,'一组','死亡',1,'110105201207090045','','否',12",
        "'阿丽','女',#1969-2-28#,'二组','',4,'110105196902280067','H003','否',55",
    };
    for (const char* r : rows)
        Exec(QStringLiteral("INSERT INTO 基本情况表 "
                            "(姓名,性别,出生日期,工作单位,注销,家庭人口,身份证号,户口簿编号,显示,"
                            "年龄) VALUES (") +
             QString::fromUtf8(r) + QLatin1Char(')'));
}
