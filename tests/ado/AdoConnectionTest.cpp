#include "AdoTestFixture.h"

#include "adodb/Provider.h"

using namespace adodb;

namespace {
// A provider whose Open succeeds with S_FALSE.
class HalfwayProvider : public Provider {
public:
    HRESULT Open(const ConnectionString&, const QString&, const QString&, long) override {
        return S_FALSE;
    }
    void Close() override {}
    std::unique_ptr<RowSet> Execute(const QString&, long*) override { return nullptr; }
};
} // namespace

TEST_F(AdoTest, JetConnectionStringHasAPasswordClauseOnlyWhenGiven) {
    EXPECT_EQ(m_conn.GetConnectString(),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + m_path);
    CAdoConnection other;
    other.OpenJetDatabase(m_path, QStringLiteral("secret"));
    EXPECT_EQ(other.GetConnectString(),
              QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + m_path +
                  QStringLiteral(";Jet OLEDB:Database Password=secret"));
}

TEST_F(AdoTest, OpenWithoutAStringReopensTheStoredOne) {
    EXPECT_TRUE(m_conn.Open(QString())) << "reopened, after closing the open one";
    EXPECT_TRUE(m_conn.IsOpen());
    m_conn.Close();
    EXPECT_FALSE(m_conn.IsOpen());
    EXPECT_TRUE(m_conn.Open(QString()));
    CAdoConnection fresh;
    EXPECT_FALSE(fresh.Open(QString()));
}

TEST(AdoConnection, OnlyExactlySOkCountsAsOpened) {
    RegisterProvider(QStringLiteral("Test.Halfway"),
                     [] { return std::make_unique<HalfwayProvider>(); });
    CAdoConnection c;
    EXPECT_FALSE(c.Open(QStringLiteral("Provider=Test.Halfway")));
}

TEST(AdoConnection, ClosingANeverOpenedConnectionDoesNothing) {
    ScopedTraceCapture trace;
    CAdoConnection c;
    c.Close();
    EXPECT_FALSE(c.IsOpen());
    EXPECT_TRUE(trace.Lines().isEmpty());
    EXPECT_TRUE(c.m_strLastError.isEmpty());
}

TEST(AdoConnection, AFailedOpenKeepsTheWarningAndTheProviderErrors) {
    TestDir dir;
    ScopedTraceCapture trace;
    CAdoConnection c;
    EXPECT_FALSE(c.OpenJetDatabase(dir.Path(QStringLiteral("人员档案.mdb"))));
    EXPECT_TRUE(c.m_strLastError.startsWith(QStringLiteral(
        "Warning: 连接数据库发生异常. 错误信息: 未指定的错误; 文件: AdoConnection.cpp; 行: ")))
        << c.m_strLastError.toStdString();
    EXPECT_TRUE(c.m_strLastError.contains(QStringLiteral("Description: 找不到文件")));
    EXPECT_TRUE(
        c.m_strLastError.contains(QStringLiteral("Source: Microsoft JET Database Engine\r\n")));
    EXPECT_EQ(trace.Lines(), QStringList{c.m_strLastError});

    // A ";" in the folder stays part of the path the warning names.
    const QString odd = dir.Folder() + QStringLiteral("a;b/人员档案.mdb");
    EXPECT_FALSE(c.OpenJetDatabase(odd));
    EXPECT_TRUE(c.m_strLastError.contains(QStringLiteral("找不到文件“%1”").arg(odd)))
        << c.m_strLastError.toStdString();
}

TEST_F(AdoTest, AFailingExecuteGivesNoRecordsetAndOneErrorBlock) {
    ScopedTraceCapture trace;
    EXPECT_FALSE(m_conn.Execute(QStringLiteral("SELECT * FROM 不存在的表"), adCmdText));
    const QString& w = m_conn.m_strLastError;
    EXPECT_TRUE(
        w.startsWith(QStringLiteral("Warning: Execute 方法发生异常.\n错误信息: "
                                    "\t指定的表不存在。.\n文件: \t\tAdoConnection.cpp.\n行: \t\t")))
        << w.toStdString();
    EXPECT_EQ(w.count(QStringLiteral("Description: ")), 1);
    EXPECT_TRUE(
        w.contains(QStringLiteral("Description: 找不到输入表或查询“不存在的表”。\r\nState: 42S02, "
                                  "Native: 1, Source: Microsoft JET Database Engine\r\n")))
        << w.toStdString();
    EXPECT_EQ(trace.Lines().size(), 1);
}

TEST_F(AdoTest, TransactionsOfTheDataLayer) {
    EXPECT_EQ(m_conn.BeginTrans(), 1);
    Exec("DELETE * FROM 基本情况表");
    EXPECT_TRUE(m_conn.RollbackTrans());
    CAdoRecordSet rs;
    OpenResidents(rs);
    EXPECT_EQ(rs.GetRecordCount(), 3);
    EXPECT_FALSE(m_conn.CommitTrans()) << "no transaction left";
    EXPECT_TRUE(
        m_conn.m_strLastError.startsWith(QStringLiteral("Warning: CommitTrans 方法发生异常.")));
}
