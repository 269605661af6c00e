#include "ResidentDatabase.h"

#include "adodb/Connection.h"
#include "adodb/Field.h"
#include "adodb/Recordset.h"
#include "platform/Gbk.h"
#include "platform/Jpeg.h"
#include "records/ResidentCatalogue.h"

#include "TestSupport.h"

#include <QHash>

using namespace adodb;

namespace {

RecordsetPtr openResidents(const QString& path) {
    ConnectionPtr c = Connection::Create();
    c->Open(QStringLiteral("Provider=Microsoft.Jet.OLEDB.4.0; Data Source=") + path, QString(),
            QString(), -1);
    RecordsetPtr rs = Recordset::Create();
    rs->Open(QStringLiteral("SELECT * FROM 基本情况表"), c, adOpenStatic, adLockReadOnly,
             adCmdText);
    return rs;
}

QStringList allRows(const QString& path) {
    RecordsetPtr rs = openResidents(path);
    QStringList rows;
    for (; !rs->GetEOF(); rs->MoveNext()) {
        QStringList values;
        for (int k = 0; k < rs->GetFields()->GetCount(); ++k) {
            Variant v = rs->GetCollect(Variant(k));
            values << (v.IsByteArray() ? QString::number(qHash(v.Bytes())) : v.ToString());
        }
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

} // namespace

TEST(InitDb, WritesEachLayoutWithoutAUserTable) {
    for (int layout : {43, 38, 36}) {
        TestDir dir;
        QString path = dir.Path(QStringLiteral("人员档案.mdb"));
        QString error;
        ASSERT_TRUE(CreateResidentDatabase(path, {layout, 0, 1, 0}, &error)) << error.toStdString();
        RecordsetPtr rs = openResidents(path);
        FieldsPtr fields = rs->GetFields();
        ASSERT_EQ(fields->GetCount(), layout);
        EXPECT_EQ(fields->GetItem(Variant(3))->GetName(), QStringLiteral("工作单位"));
        EXPECT_EQ(fields->GetItem(Variant(5))->GetDefinedSize(), 20);
        EXPECT_EQ(fields->GetItem(Variant(0))->GetType(), adInteger);
        EXPECT_EQ(rs->GetRecordCount(), 0);
        RecordsetPtr tables = rs->GetActiveConnection()->OpenSchema(
            adSchemaTables,
            Variant(std::vector<Variant>{Variant(), Variant(), Variant(), Variant("TABLE")}));
        EXPECT_EQ(tables->GetRecordCount(), 1) << "start-up creates the user table";
        EXPECT_FALSE(dir.Exists(QStringLiteral("单位划分.txt")));
    }
}

TEST(InitDb, RefusesWhatItShouldNotWrite) {
    TestDir dir;
    dir.Write("人员档案.mdb", "keep me");
    QString error;
    EXPECT_FALSE(CreateResidentDatabase(dir.Path(QStringLiteral("人员档案.mdb")), {}, &error));
    EXPECT_EQ(dir.Read("人员档案.mdb"), QByteArray("keep me"));
    EXPECT_FALSE(
        CreateResidentDatabase(dir.Path(QStringLiteral("other.mdb")), {40, 0, 1, 0}, &error));
    EXPECT_FALSE(error.isEmpty());
    EXPECT_FALSE(dir.Exists(QStringLiteral("other.mdb")));
}

TEST(InitDb, DemoResidentsHoldTogether) {
    TestDir dir;
    const QString path = dir.Path(QStringLiteral("人员档案.mdb"));
    ASSERT_TRUE(CreateResidentDatabase(path, {43, 400, 7, 2026}, nullptr));
    RecordsetPtr rs = openResidents(path);
    ASSERT_EQ(rs->GetRecordCount(), 400);
    QHash<QString, int> heads;
    QHash<QString, QString> unitOfHousehold;
    QSet<QString> states, units;
    int photos = 0;
    for (; !rs->GetEOF(); rs->MoveNext()) {
        auto text = [&](const char* f) { return rs->GetCollect(Variant(f)).ToString(); };
        const QString id = text("身份证号");
        ASSERT_EQ(id.size(), 18) << id.toStdString();
        EXPECT_EQ(id.at(17), IdentityCheckCharacter(id.left(17))) << id.toStdString();
        const COleDateTime birth = rs->GetCollect(Variant("出生日期")).DateValue();
        EXPECT_EQ(id.mid(6, 8), birth.Format(QStringLiteral("%Y%m%d"))) << id.toStdString();
        const bool male = id.at(16).digitValue() % 2 == 1;
        EXPECT_EQ(text("性别"), male ? QStringLiteral("男") : QStringLiteral("女"))
            << id.toStdString();
        EXPECT_EQ(rs->GetCollect(Variant("年龄")).Int(), 2026 - birth.GetYear());
        EXPECT_LE(birth.m_dt, COleDateTime(2026, 12, 31, 0, 0, 0).m_dt);
        const QString book = text("户口簿编号");
        if (text("户主") == QStringLiteral("户主"))
            ++heads[book];
        if (unitOfHousehold.contains(book)) {
            EXPECT_EQ(unitOfHousehold[book], text("工作单位"));
        }
        unitOfHousehold[book] = text("工作单位");
        units.insert(text("工作单位"));
        states.insert(text("注销"));
        Variant photo = rs->GetCollect(Variant("照片"));
        if (photo.IsByteArray()) {
            RgbImage image;
            EXPECT_TRUE(DecodeJpeg(photo.Bytes(), image));
            ++photos;
        }
    }
    for (auto it = unitOfHousehold.begin(); it != unitOfHousehold.end(); ++it)
        EXPECT_EQ(heads.value(it.key()), 1) << "household " << it.key().toStdString();
    EXPECT_GE(states.size(), 4u);
    EXPECT_GE(units.size(), 4u);
    EXPECT_GT(photos, 10);
    EXPECT_EQ(dir.Read("单位划分.txt"), ToGbk(DemoUnitHierarchy()));
    EXPECT_EQ(dir.Read("Info.txt"), ToGbk(DemoCommunityName()));
}

TEST(InitDb, TheSameSeedGivesTheSameResidents) {
    TestDir a, b, c;
    ASSERT_TRUE(
        CreateResidentDatabase(a.Path(QStringLiteral("人员档案.mdb")), {43, 60, 5, 2026}, nullptr));
    ASSERT_TRUE(
        CreateResidentDatabase(b.Path(QStringLiteral("人员档案.mdb")), {43, 60, 5, 2026}, nullptr));
    ASSERT_TRUE(
        CreateResidentDatabase(c.Path(QStringLiteral("人员档案.mdb")), {43, 60, 6, 2026}, nullptr));
    EXPECT_EQ(allRows(a.Path(QStringLiteral("人员档案.mdb"))),
              allRows(b.Path(QStringLiteral("人员档案.mdb"))));
    EXPECT_NE(allRows(a.Path(QStringLiteral("人员档案.mdb"))),
              allRows(c.Path(QStringLiteral("人员档案.mdb"))));
}
