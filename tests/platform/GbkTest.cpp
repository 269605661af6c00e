#include "platform/Gbk.h"

#include "TestSupport.h"

TEST(Gbk, EncodesChineseInTwoBytesAndAsciiInOne) {
    QString text = QStringLiteral("人员档案.mdb");
    QByteArray gbk = ToGbk(text);
    EXPECT_EQ(gbk, QByteArray("\xC8\xCB\xD4\xB1\xB5\xB5\xB0\xB8.mdb"));
    EXPECT_EQ(GbkLength(text), 12);
    EXPECT_EQ(FromGbk(gbk), text);
}

TEST(Gbk, FullWidthSpaceIsA1A1) {
    EXPECT_EQ(ToGbk(QStringLiteral("\u3000")), QByteArray("\xA1\xA1"));
}

TEST(Gbk, CharactersOutsideGbkSurviveAsGb18030) {
    // U+20000 (CJK extension B) has no GBK code; GB18030 gives it four bytes.
    QString text = QStringLiteral("A") + QString::fromUcs4(U"\U00020000") + QStringLiteral("B");
    QByteArray bytes = ToGbk(text);
    EXPECT_EQ(bytes.size(), 6);
    EXPECT_EQ(FromGbk(bytes), text);
    EXPECT_EQ(GbkLength(text), 6);
}

TEST(Gbk, InvalidBytesBecomeReplacementCharacters) {
    QString text = FromGbk(QByteArray("ab\xFF"
                                      "c\xC8",
                                      5));
    EXPECT_EQ(text, QStringLiteral("ab\uFFFDc\uFFFD"));
}

TEST(Gbk, LeftNeverCutsACharacter) {
    QString text = QStringLiteral("a姓名b");
    EXPECT_EQ(GbkLeft(text, 0), QString());
    EXPECT_EQ(GbkLeft(text, 2), QStringLiteral("a"));
    EXPECT_EQ(GbkLeft(text, 3), QStringLiteral("a姓"));
    EXPECT_EQ(GbkLeft(text, 6), text);
}
