#include "platform/FormatText.h"
#include "platform/Gbk.h"

#include "TestSupport.h"

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
