#pragma once
// A database in a temporary folder opened through the data layer.

#include "ado/AdoConnection.h"
#include "ado/AdoRecordSet.h"
#include "adodb/SqliteProvider.h"
#include "platform/Trace.h"

#include "TestSupport.h"

class AdoTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_path = m_dir.Path(QStringLiteral("人员档案.mdb"));
        adodb::CreateDatabaseFile(m_path);
        ASSERT_TRUE(m_conn.OpenJetDatabase(m_path));
        Exec("CREATE TABLE 基本情况表 (编号 COUNTER, 姓名 TEXT(10), 性别 TEXT(2), 出生日期 "
             "DATETIME, 工作单位 TEXT(50), "
             "家庭人口 INT, 身高 DOUBLE, 股民 BIT, 照片 LONGBINARY)");
        Exec("INSERT INTO 基本情况表 (姓名,性别,出生日期,工作单位,家庭人口,身高,股民) VALUES "
             "('张三','男',#2009-5-1#,'一组',3,0,TRUE)");
        Exec("INSERT INTO 基本情况表 (姓名,性别,出生日期,工作单位,家庭人口,身高,股民) VALUES "
             "('李四','女',#2009-5-1 08:30#,'一组',NULL,1.755,FALSE)");
        Exec("INSERT INTO 基本情况表 (姓名,工作单位) VALUES ('王五','二组')");
    }

    void Exec(const char* sql) {
        ASSERT_TRUE(m_conn.Execute(QString::fromUtf8(sql), adodb::adCmdText)) << sql;
    }

    bool OpenResidents(CAdoRecordSet& rs,
                       const QString& sql = QStringLiteral("SELECT * FROM 基本情况表")) {
        rs.SetAdoConnection(&m_conn);
        return rs.Open(sql);
    }

    TestDir m_dir;
    QString m_path;
    CAdoConnection m_conn;
};
