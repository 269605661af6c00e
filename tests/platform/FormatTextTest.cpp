#include "platform/FormatText.h"
#include "platform/Gbk.h"

#include "TestSupport.h"

#include <climits>
#include <cmath>

TEST(FormatText, FormatsTheFormsTheProgramUses) {
    EXPECT_EQ(FormatText(QStringLiteral("%s=%d"), QStringLiteral("编号"), 42),
              QStringLiteral("编号=42"));
    EXPECT_EQ(FormatText(QStringLiteral("SELECT * FROM 基本情况表 WHERE (工作单位 LIKE '%s%%') "),
                         QStringLiteral("一组")),
              QStringLiteral("SELECT * FROM 基本情况表 WHERE (工作单位 LIKE '一组%') "));
    EXPECT_EQ(FormatText(QStringLiteral("(%d户 %d人 男:%d人 女:%d人)"), 3, 7, 4, 3),
              QStringLiteral("(3户 7人 男:4人 女:3人)"));
    EXPECT_EQ(FormatText(QStringLiteral(">=#%d-%d-%d#"), 1980, 1, 1),
              QStringLiteral(">=#1980-1-1#"));
    EXPECT_EQ(FormatText(QStringLiteral("%.4f|%.8f|%.2f"), 1.5, 0.0, 2.345),
              QStringLiteral("1.5000|0.00000000|2.35"));
    EXPECT_EQ(FormatText(QStringLiteral("%8x|%02d|%-3d|%u"), 255u, 7, 5, 4000000000u),
              QStringLiteral("      ff|07|5  |4000000000"));
    EXPECT_EQ(FormatText(QStringLiteral("%ld %I64d %c"), 5L, 6LL, 'Z'), QStringLiteral("5 6 Z"));
}

TEST(FormatText, WidthAndPrecisionOfTextCountGbkBytes) {
    EXPECT_EQ(FormatText(QStringLiteral("[%6s]"), QStringLiteral("姓名")),
              QStringLiteral("[  姓名]"));
    EXPECT_EQ(FormatText(QStringLiteral("[%-6s]"), QStringLiteral("姓名")),
              QStringLiteral("[姓名  ]"));
    EXPECT_EQ(FormatText(QStringLiteral("[%.3s]"), QStringLiteral("姓名")), QStringLiteral("[姓]"));
}

TEST(FormatText, MissingOrMismatchedArgumentsNeverCrash) {
    EXPECT_EQ(FormatText(QStringLiteral("%s and %d")), QStringLiteral(" and "));
    EXPECT_EQ(FormatText(QStringLiteral("%d"), QStringLiteral("12")), QStringLiteral("12"));
    EXPECT_EQ(FormatText(QStringLiteral("%s"), 12), QStringLiteral("12"));
    EXPECT_EQ(FormatText(QStringLiteral("100%")), QStringLiteral("100"));
    EXPECT_EQ(FormatText(QStringLiteral("%s"), static_cast<const char*>(nullptr)), QString());
}

TEST(FormatText, ResultIsCutAt10239Bytes) {
    QString ascii(20000, QLatin1Char('a'));
    EXPECT_EQ(FormatText(QStringLiteral("%s"), ascii).size(), 10239);
    // 10238 bytes, then a Chinese character that would end at byte 10240: it is left out.
    QString text = QString(10238, QLatin1Char('b')) + QStringLiteral("人");
    QString out = FormatText(QStringLiteral("%s"), text);
    EXPECT_EQ(GbkLength(out), 10238);
    EXPECT_EQ(
        FormatText(QStringLiteral("%s"), QString(10237, QLatin1Char('c')) + QStringLiteral("人"))
            .size(),
        10238);
}

// Widths and numbers far beyond any sensible value are defined: clamped or saturated,
// never cut short of what the limit allows.
TEST(FormatText, ExtremeWidthsAndNumbersAreDefined) {
    EXPECT_EQ(FormatText(QStringLiteral("%9999999999d"), 1).size(), kFormatTextLimit);
    EXPECT_EQ(FormatText(QStringLiteral("%*d|"), INT_MIN, 1).size(), kFormatTextLimit)
        << "a negative width pads on the right";
    EXPECT_TRUE(FormatText(QStringLiteral("%*d|"), INT_MIN, 1).startsWith(QLatin1String("1   ")));
    EXPECT_EQ(FormatText(QStringLiteral("%d|%d"), 1e300, -1e300),
              QStringLiteral("9223372036854775807|-9223372036854775808"));
    EXPECT_EQ(FormatText(QStringLiteral("%d"), std::nan("")), QStringLiteral("0"));
    EXPECT_EQ(FormatText(QStringLiteral("%.*s|"), -5, QStringLiteral("全文")),
              QStringLiteral("全文|"))
        << "a negative precision is none";
    QString wide = FormatText(QStringLiteral("%700d|"), 7);
    EXPECT_EQ(wide.size(), 701) << "a conversion wider than any fixed buffer is whole";
    EXPECT_TRUE(wide.endsWith(QLatin1String("7|")));
    EXPECT_EQ(FormatText(QStringLiteral("%.400f"), 1e300).size(), 301 + 1 + 400);
}
