#include "records/ResidentCatalogue.h"

#include "TestSupport.h"

#include <QSet>

TEST(Catalogue, ColumnsSitWhereTheProgramExpectsThem) {
    const auto& columns = ResidentColumns();
    ASSERT_EQ(columns.size(), static_cast<size_t>(kCurrentLayoutColumns));
    EXPECT_EQ(columns[0].kind, ColumnKind::Key);
    EXPECT_EQ(columns[kWorkUnitPosition].name, QStringLiteral("工作单位"));
    EXPECT_EQ(columns[kCancellationPosition].name, QStringLiteral("注销"));
    EXPECT_GE(columns[kCancellationPosition].size, kMinCancellationSize);
    const auto& appended = AppendedColumns();
    ASSERT_EQ(appended.size(), 7u);
    for (size_t k = 0; k < appended.size(); ++k) {
        EXPECT_EQ(columns[kFirstLayoutColumns + k].name, appended[k].name);
        EXPECT_TRUE(columns[kFirstLayoutColumns + k].appended);
    }
    EXPECT_EQ(appended[0].statement,
              QStringLiteral("ALTER   TABLE   基本情况表   ADD   COLUMN   拥有土地 char(20)"));
    EXPECT_EQ(appended[6].statement,
              QStringLiteral("ALTER   TABLE   基本情况表   ADD   COLUMN   廉租房 char(20)"));
    QSet<QString> names;
    QSet<int> ids;
    for (const ResidentColumn& c : columns) {
        EXPECT_FALSE(names.contains(c.name)) << c.name.toStdString();
        names.insert(c.name);
        if (c.controlId) {
            EXPECT_FALSE(ids.contains(c.controlId)) << c.controlId;
            ids.insert(c.controlId);
        }
    }
    EXPECT_EQ(FindResidentColumn(QStringLiteral("备注"))->byteLimit, 50);
    EXPECT_EQ(FindResidentColumn(QStringLiteral("备注2"))->byteLimit, 255);
    EXPECT_EQ(FindResidentColumn(QStringLiteral("何时迁来本县"))->label,
              QStringLiteral("何时迁来本市"));
    EXPECT_EQ(ColumnSqlType(*FindResidentColumn(QStringLiteral("照片"))),
              QStringLiteral("LONGBINARY"));
}

TEST(Catalogue, ChoiceListsInTheirOrder) {
    const QStringList& nations = Nationalities();
    ASSERT_EQ(nations.size(), 56);
    EXPECT_EQ(nations.first(), QStringLiteral("汉族"));
    EXPECT_EQ(nations[19], QStringLiteral("僳僳族"));
    EXPECT_EQ(nations.last(), QStringLiteral("基诺族"));
    EXPECT_EQ(ChoiceList(1008), nations);
    EXPECT_EQ(ChoiceList(1031), QStringList({"未注销", "迁出", "注销", "死亡", "其它"}));
    EXPECT_EQ(ChoiceList(1036).size(), 14);
    EXPECT_EQ(ChoiceList(1035), QStringList({"农业家庭户口", "非农业户口", ""}));
    EXPECT_EQ(ChoiceList(1039).size(), 31);
    EXPECT_EQ(ChoiceList(1024), QStringList({"是", "否"}));
    QStringList years = BirthYearChoices(2012);
    EXPECT_EQ(years.size(), 101);
    EXPECT_EQ(years.first(), QStringLiteral("1912"));
    EXPECT_EQ(years.last(), QStringLiteral("2012"));
    EXPECT_TRUE(IsRegistered(QString()) && IsRegistered(QStringLiteral("未注销")));
    EXPECT_FALSE(IsRegistered(QStringLiteral("注销")));
}
