#include "platform/OleDateTime.h"

#include "TestSupport.h"

#include <ctime>

TEST(OleDateTime, DayNumbersCountFrom18991230) {
    EXPECT_EQ(COleDateTime(1899, 12, 30, 0, 0, 0).m_dt, 0.0);
    EXPECT_EQ(COleDateTime(1900, 1, 1, 0, 0, 0).m_dt, 2.0);
    EXPECT_EQ(COleDateTime(2002, 12, 1, 12, 0, 0).m_dt, 37591.5);
    EXPECT_EQ(COleDateTime(1899, 12, 29, 6, 0, 0).m_dt, -1.25);
    COleDateTime before(-1.25);
    EXPECT_EQ(before.Format(QStringLiteral("%Y-%m-%d %H:%M:%S")),
              QStringLiteral("1899-12-29 06:00:00"));
    EXPECT_LT(COleDateTime(-1.25), COleDateTime(-1.5)) << "same day, the fraction counts forward";
    EXPECT_LT(COleDateTime(-1.75), COleDateTime(0.0));
}

TEST(OleDateTime, FormatsAroundChineseText) {
    COleDateTime t(2009, 5, 1, 8, 30, 5);
    EXPECT_EQ(t.Format(QStringLiteral("%Y年%m月%d日%H时%M分")),
              QStringLiteral("2009年05月01日08时30分"));
    EXPECT_EQ(t.Format(QStringLiteral("%Y-%m-%d %H:%M:%S")), QStringLiteral("2009-05-01 08:30:05"));
    EXPECT_EQ(t.Format(QStringLiteral("%y %j %I%p %%")), QStringLiteral("09 121 08AM %"));
    EXPECT_EQ(COleDateTime::Invalid().Format(QStringLiteral("%Y")), QString());
}

TEST(OleDateTime, RoundsToTheSecondWithoutLosingADay) {
    COleDateTime almostMidnight(37591.0 + 86399.6 / 86400.0);
    EXPECT_EQ(almostMidnight.Format(QStringLiteral("%Y-%m-%d %H:%M:%S")),
              QStringLiteral("2002-12-02 00:00:00"));
}

TEST(OleDateTime, InvalidPartsAreRefused) {
    EXPECT_FALSE(COleDateTime(2002, 2, 29, 0, 0, 0).IsValid());
    EXPECT_TRUE(COleDateTime(2000, 2, 29, 0, 0, 0).IsValid());
    EXPECT_FALSE(COleDateTime(2002, 13, 1, 0, 0, 0).IsValid());
    EXPECT_FALSE(COleDateTime(2002, 1, 1, 24, 0, 0).IsValid());
    EXPECT_EQ(COleDateTime::Invalid().GetYear(), -1);
}

TEST(OleDateTime, ParsesWhatOperatorsType) {
    struct Case {
        const char* text;
        const char* expected; // "%Y-%m-%d %H:%M:%S", or null when it must fail
    };
    const Case cases[] = {
        {"2002年12月1日15时45分", "2002-12-01 15:45:00"},
        {"2002年12月1日", "2002-12-01 00:00:00"},
        {"2002年12月", "2002-12-01 00:00:00"},
        {"2002-12-1", "2002-12-01 00:00:00"},
        {"2002-12", "2002-12-01 00:00:00"},
        {"2002-12-01 15:45:00", "2002-12-01 15:45:00"},
        {"12/1/2002", "2002-12-01 00:00:00"},
        {"2002/12/1", "2002-12-01 00:00:00"},
        {"1980-1-5", "1980-01-05 00:00:00"},
        {" 1980-01-05 00:00:00 ", "1980-01-05 00:00:00"},
        {"2002年12月1日 15:45", "2002-12-01 15:45:00"},
        {"2002年12月1日15时45分30秒", "2002-12-01 15:45:30"},
        {"12/1/02", "2002-12-01 00:00:00"},
        {"1899-12-30 00:00:00", "1899-12-30 00:00:00"},
        {"１９８０－１－５", "1980-01-05 00:00:00"},
        {"15:45", "1899-12-30 15:45:00"},
        {"2002-2-30", nullptr},
        {"2002-13-1", nullptr},
        {"abc", nullptr},
        {"", nullptr},
        {"--", nullptr},
        {"2002-12-1 25:00", nullptr},
        {"2002年12月1日晚上", nullptr},
    };
    for (const Case& c : cases) {
        COleDateTime t;
        bool ok = t.ParseDateTime(QString::fromUtf8(c.text));
        if (c.expected) {
            EXPECT_TRUE(ok) << c.text;
            EXPECT_EQ(t.Format(QStringLiteral("%Y-%m-%d %H:%M:%S")), QString::fromUtf8(c.expected))
                << c.text;
        } else {
            EXPECT_FALSE(ok) << c.text;
            EXPECT_FALSE(t.IsValid()) << c.text;
        }
    }
}

TEST(OleDateTime, CurrentTimeHasWholeSeconds) {
    COleDateTime now = COleDateTime::GetCurrentTime();
    std::time_t t = std::time(nullptr);
    std::tm local{};
    localtime_r(&t, &local);
    EXPECT_EQ(now.GetYear(), local.tm_year + 1900);
    double seconds = now.m_dt * 86400.0;
    EXPECT_NEAR(seconds, std::round(seconds), 1e-3);
}
