#include "adodb/ConnectionString.h"

#include "TestSupport.h"

using adodb::ConnectionString;

TEST(ConnectionString, ReadsTheStartUpStringExactlyAsWritten) {
    ConnectionString cs(
        QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=/opt/vrin/人员档案.mdb; "
                       "Persist Security Info =False; Jet OLEDB:DataBase "));
    EXPECT_EQ(cs.Value(QStringLiteral("provider")), QStringLiteral("Microsoft.Jet.OLEDB.4.0"));
    EXPECT_EQ(cs.Value(QStringLiteral("DATA SOURCE")), QStringLiteral("/opt/vrin/人员档案.mdb"));
    EXPECT_EQ(cs.Value(QStringLiteral("Persist Security Info")), QStringLiteral("False"));
    EXPECT_FALSE(cs.Has(QStringLiteral("Jet OLEDB:DataBase"))) << "a bare key is ignored";
}

TEST(ConnectionString, QuotedAndBracedValuesKeepTheirSemicolons) {
    ConnectionString cs(
        QStringLiteral("DRIVER={MICROSOFT EXCEL DRIVER (*.XLS)};DSN='';FIRSTROWHASNAMES=1;"
                       "READONLY=FALSE;CREATE_DB=\"/tmp/a;b.XLS\";DBQ=/tmp/a;b.XLS"));
    EXPECT_EQ(cs.Value(QStringLiteral("driver")),
              QStringLiteral("{MICROSOFT EXCEL DRIVER (*.XLS)}"));
    EXPECT_EQ(cs.Value(QStringLiteral("DSN")), QString());
    EXPECT_EQ(cs.Value(QStringLiteral("CREATE_DB")), QStringLiteral("/tmp/a;b.XLS"));
    EXPECT_EQ(cs.Value(QStringLiteral("DBQ")), QStringLiteral("/tmp/a")) << "unquoted: ends at ';'";
}

TEST(ConnectionString, AnApostropheInsideAPathIsNoQuote) {
    ConnectionString cs(
        QStringLiteral("Provider=X; Data Source=/home/o'neil/人员档案.mdb; Mode=1"));
    EXPECT_EQ(cs.Value(QStringLiteral("Data Source")), QStringLiteral("/home/o'neil/人员档案.mdb"));
    EXPECT_EQ(cs.Value(QStringLiteral("Mode")), QStringLiteral("1"));
}
