#include "ado/FieldValues.h"
#include "ado/AdoRecordSet.h"
#include "platform/Trace.h"

#include "TestSupport.h"

#include <cmath>
#include <ctime>
#include <limits>

using namespace adodb;

namespace {
struct Case {
    Variant value;
    const char* technical;
    const char* display;
    long integer;
};
} // namespace

TEST(FieldValues, ConversionTablesByVariantType) {
    const double may1 = COleDateTime(2009, 5, 1, 0, 0, 0).m_dt;
    const double may1Morning = COleDateTime(2009, 5, 1, 8, 30, 0).m_dt;
    const Case cases[] = {
        {Variant(), "", "", 0},
        {Variant::Null(), "", "", 0},
        {Variant(static_cast<short>(-7)), "-7", "-7", -7},
        {Variant(42), "42", "42", 42},
        {Variant::Integer(VT_UI4, 4000000000LL), "-294967296", "-294967296", 4000000000L},
        {Variant::Integer(VT_I8, 0x100000005LL), "5", "5", 0x100000005L},
        {Variant::Integer(VT_INT, 9), "9", "9", 9},
        {Variant(1.5f), "1.5000", "1.50", 2},
        {Variant(0.0f), "0.0000", "", 0},
        {Variant(2.345), "2.34500000", "2.35", 2},
        {Variant(0.0), "0.00000000", "", 0},
        {Variant(-1.7), "-1.70000000", "-1.70", -1},
        {Variant::Currency(125000), "12.5", "UN_KNOW", 12},
        {Variant::Date(may1), "2009-05-01 00:00:00", "2009年05月01日", -1},
        {Variant::Date(may1Morning), "2009-05-01 08:30:00", "2009年05月01日08时30分", -1},
        {Variant::Date(0), "1899-12-30 00:00:00", "", 0},
        {Variant::Date(0.005), "1899-12-30 00:07:12", "", 0},
        {Variant("张三"), "张三", "张三", 0},
        {Variant(" 12abc"), " 12abc", " 12abc", 12},
        {Variant(true), "TRUE", "是", -1},
        {Variant(false), "FALSE", "否", 0},
        {Variant::Decimal(3.25), "3.25000000", "3.2500", 3},
        {Variant::Integer(VT_I1, -5), "251", "251", -5},
        {Variant(static_cast<unsigned char>(200)), "200", "200", 200},
        {Variant(static_cast<unsigned short>(65535)), "65535", "65535", 65535},
        {Variant::Integer(VT_VOID, 255), "      ff", "255", 0},
        {Variant(QByteArray("\x01\x02")), "[BLOB]", "UN_KNOW", 0},
        {Variant::OfType(VT_BLOB), "[BLOB]", "UN_KNOW", 0},
        {Variant::OfType(VT_DISPATCH), "UN_KNOW", "UN_KNOW", 0},
    };
    CAdoRecordSet rs;
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << "vt " << c.value.vt() << " " << c.technical);
        EXPECT_EQ(VariantToString(c.value), QString::fromUtf8(c.technical));
        EXPECT_EQ(rs.VariantToDisplayText(c.value), QString::fromUtf8(c.display));
        if (c.value.vt() != VT_DATE) {
            EXPECT_EQ(VariantToLong(c.value), c.integer);
        }
    }
}

TEST(FieldValues, ADateAsAnIntegerIsTheSecondsToItsLocalMidnight) {
    std::tm local{};
    local.tm_year = 2009 - 1900;
    local.tm_mon = 4;
    local.tm_mday = 1;
    local.tm_isdst = -1;
    const long midnight = static_cast<long>(std::mktime(&local));
    EXPECT_EQ(VariantToLong(Variant::Date(COleDateTime(2009, 5, 1, 8, 30, 0).m_dt)), midnight);
    EXPECT_EQ(VariantToLong(Variant::Date(COleDateTime(1969, 12, 31, 0, 0, 0).m_dt)), 0);
    EXPECT_EQ(VariantToLong(Variant::Date(COleDateTime(2039, 1, 1, 0, 0, 0).m_dt)), 0);
}

TEST(FieldValues, UnknownTypesAreTracedWhenReadAsIntegers) {
    ScopedTraceCapture trace;
    EXPECT_EQ(VariantToLong(Variant::OfType(VT_DISPATCH)), 0);
    ASSERT_EQ(trace.Lines().size(), 1);
    EXPECT_TRUE(trace.Lines()[0].startsWith(
        QStringLiteral("Warning: 未处理的 _variant_t 类型值; 文件: FieldValues.cpp; 行: ")));
}

TEST(FieldValues, DatesAndDoublesOfTheOptionalReaders) {
    EXPECT_EQ(VariantToDate(Variant::Date(3.5)).m_dt, 3.5);
    EXPECT_FALSE(VariantToDate(Variant("2009-05-01")).IsValid());
    EXPECT_EQ(VariantToDouble(Variant(" 2.5 ")), 2.5);
    EXPECT_EQ(VariantToDouble(Variant(7)), 7.0);
}

TEST(FieldValues, NumbersBeyondTheRangeOfLongSaturate) {
    EXPECT_EQ(VariantToLong(Variant(1e300)), std::numeric_limits<long>::max());
    EXPECT_EQ(VariantToLong(Variant(-1e300)), std::numeric_limits<long>::min());
    EXPECT_EQ(VariantToLong(Variant(std::nan(""))), 0);
    EXPECT_EQ(VariantToLong(Variant(QStringLiteral("99999999999999999999999"))),
              std::numeric_limits<long>::max());
    EXPECT_EQ(VariantToLong(Variant(2.5)), 3);
}
