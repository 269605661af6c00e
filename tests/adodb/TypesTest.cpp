#include "AdodbFixture.h"

using namespace adodb;

TEST_F(AdodbTest, DeclaredTypesGiveJetTypeCodesAndSizes) {
    Exec(QStringLiteral(
        "CREATE TABLE t (k COUNTER, a INT, b INTEGER, c LONG, d SMALLINT, e SHORT, f BYTE, g REAL, "
        "h SINGLE, i DOUBLE, j FLOAT, l CURRENCY, m DATETIME, n CHAR(10), o VARCHAR(30), p "
        "TEXT(40), "
        "q TEXT, r MEMO, s LONGTEXT, u BIT, v YESNO, w BOOLEAN, x LONGBINARY, y OLEOBJECT)"));
    struct Case {
        const char* field;
        DataTypeEnum type;
        long size;
    };
    const Case cases[] = {{"k", adInteger, 4},
                          {"a", adInteger, 4},
                          {"b", adInteger, 4},
                          {"c", adInteger, 4},
                          {"d", adSmallInt, 2},
                          {"e", adSmallInt, 2},
                          {"f", adUnsignedTinyInt, 1},
                          {"g", adSingle, 4},
                          {"h", adSingle, 4},
                          {"i", adDouble, 8},
                          {"j", adDouble, 8},
                          {"l", adCurrency, 8},
                          {"m", adDate, 8},
                          {"n", adWChar, 10},
                          {"o", adVarWChar, 30},
                          {"p", adVarWChar, 40},
                          {"q", adLongVarWChar, 536870910},
                          {"r", adLongVarWChar, 536870910},
                          {"s", adLongVarWChar, 536870910},
                          {"u", adBoolean, 2},
                          {"v", adBoolean, 2},
                          {"w", adBoolean, 2},
                          {"x", adLongVarBinary, 1073741823},
                          {"y", adLongVarBinary, 1073741823}};
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM t"));
    FieldsPtr fields = rs->GetFields();
    ASSERT_EQ(fields->GetCount(), static_cast<long>(std::size(cases)));
    for (const Case& c : cases) {
        FieldPtr f = fields->GetItem(Variant(c.field));
        EXPECT_EQ(f->GetType(), c.type) << c.field;
        EXPECT_EQ(f->GetDefinedSize(), c.size) << c.field;
    }
    EXPECT_FALSE(fields->GetItem(Variant("k"))->GetAttributes() & adFldUpdatable)
        << "an auto-number is not written";
    EXPECT_TRUE(fields->GetItem(Variant("A"))->GetAttributes() & adFldUpdatable)
        << "names without regard to case";
}

TEST_F(AdodbTest, WritesConvertTextTheWayJetDoes) {
    Exec(QStringLiteral("CREATE TABLE t (k COUNTER, n INT, d DATETIME, s TEXT(4), c CHAR(6), x "
                        "DOUBLE, b BIT, y CURRENCY)"));
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM t"));
    struct Good {
        const char* field;
        Variant written;
        Variant read;
    };
    const Good good[] = {
        {"d", Variant("1980-1-5"), Variant::Date(COleDateTime(1980, 1, 5, 0, 0, 0).m_dt)},
        {"d", Variant("1980-01-05 00:00:00"),
         Variant::Date(COleDateTime(1980, 1, 5, 0, 0, 0).m_dt)},
        {"d", Variant("2002年12月1日"), Variant::Date(COleDateTime(2002, 12, 1, 0, 0, 0).m_dt)},
        {"d", Variant(""), Variant::Null()},
        {"d", Variant("1899-12-30 00:00:00"), Variant::Date(0)},
        {"n", Variant(" 42 "), Variant(42)},
        {"n", Variant("12.5"), Variant(12)},
        {"n", Variant(""), Variant::Null()},
        {"n", Variant(true), Variant(-1)},
        {"x", Variant("12.50"), Variant(12.5)},
        {"s", Variant("四个汉字"), Variant("四个汉字")},
        {"s", Variant(""), Variant("")},
        {"c", Variant("ab"), Variant("ab    ")},
        {"c", Variant("ab    "), Variant("ab    ")},
        {"b", Variant("是"), Variant(true)},
        {"b", Variant(0), Variant(false)},
        {"y", Variant("3.14159"), Variant::Currency(31416)},
    };
    for (const Good& g : good) {
        rs->AddNew();
        rs->PutCollect(Variant(g.field), g.written);
        rs->Update();
        RecordsetPtr back = Query(QStringLiteral("SELECT * FROM t"));
        back->MoveLast();
        EXPECT_EQ(back->GetCollect(Variant(g.field)), g.read)
            << g.field << " <- " << g.written.ToString().toStdString();
    }
    struct Bad {
        const char* field;
        Variant written;
        const char* says;
    };
    const Bad bad[] = {{"d", Variant("明天"), "日期"},       {"d", Variant("2002-2-30"), "日期"},
                       {"n", Variant("abc"), "数字"},        {"n", Variant("3000000000"), "范围"},
                       {"s", Variant("五个汉字呢"), "超过"}, {"b", Variant("也许"), "是/否"}};
    rs->MoveFirst();
    for (const Bad& b : bad) {
        QString description;
        EXPECT_EQ(ErrorOf([&] { rs->PutCollect(Variant(b.field), b.written); }, &description),
                  DB_E_ERRORSOCCURRED)
            << b.field;
        EXPECT_TRUE(description.contains(QString::fromUtf8(b.says))) << description.toStdString();
        EXPECT_TRUE(description.contains(QString::fromUtf8(b.field))) << "names the field";
    }
    EXPECT_EQ(rs->GetEditMode(), adEditNone) << "a refused value starts no edit";
}

TEST_F(AdodbTest, PhotosGoInAndOutInChunks) {
    Exec(QStringLiteral("CREATE TABLE t (k COUNTER, 照片 LONGBINARY)"));
    QByteArray photo;
    for (int i = 0; i < 5000; ++i)
        photo.append(static_cast<char>(i * 7));
    RecordsetPtr rs = Query(QStringLiteral("SELECT * FROM t"));
    rs->AddNew();
    FieldPtr field = rs->GetFields()->GetItem(Variant("照片"));
    EXPECT_EQ(field->GetActualSize(), 0);
    field->AppendChunk(Variant(photo.left(3000)));
    field->AppendChunk(Variant(photo.mid(3000)));
    rs->Update();
    RecordsetPtr back = Query(QStringLiteral("SELECT * FROM t"));
    FieldPtr stored = back->GetFields()->GetItem(Variant("照片"));
    ASSERT_EQ(stored->GetActualSize(), 5000);
    Variant first = stored->GetChunk(4000);
    Variant rest = stored->GetChunk(4000);
    EXPECT_EQ(first.vt(), VT_ARRAY | VT_UI1);
    EXPECT_EQ(first.Bytes() + rest.Bytes(), photo);
    EXPECT_TRUE(stored->GetChunk(10).IsNull());
    // A new photo replaces the old one in the pending change.
    stored->AppendChunk(Variant(QByteArray("new")));
    EXPECT_EQ(back->GetEditMode(), adEditInProgress);
    back->Update();
    EXPECT_EQ(Query(QStringLiteral("SELECT * FROM t"))->GetCollect(Variant("照片")).Bytes(),
              QByteArray("new"));
}
