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

TEST(Gbk, LeftKeepsToTheLimitWithFourByteCharacters) {
    // U+FFFD has no GBK code: four GB18030 bytes each, in the basic plane.
    const QString text = QString(10, QChar(0xFFFD));
    EXPECT_EQ(GbkLeft(text, 9), QString(2, QChar(0xFFFD)));
    EXPECT_LE(ToGbk(GbkLeft(text, 255)).size(), 255);
}

TEST(Gbk, LeftNeverCutsACharacter) {
    QString text = QStringLiteral("a姓名b");
    EXPECT_EQ(GbkLeft(text, 0), QString());
    EXPECT_EQ(GbkLeft(text, 2), QStringLiteral("a"));
    EXPECT_EQ(GbkLeft(text, 3), QStringLiteral("a姓"));
    EXPECT_EQ(GbkLeft(text, 6), text);
}

// Whatever an operator can type survives a file: the euro sign as code page 936 writes it
// (0x80), characters outside GBK in their GB18030 form, and GbkLength counts what ToGbk
// writes for all of them.
TEST(Gbk, EveryTypedCharacterRoundTripsAndIsCountedAsWritten) {
    EXPECT_EQ(ToGbk(QStringLiteral("€")), QByteArray("\x80"));
    EXPECT_EQ(FromGbk(QByteArray("\x80\xC8\xCB\x80", 4)), QStringLiteral("€人€"));
    EXPECT_EQ(FromGbk(QByteArray("\x81\x80", 2)).size(), 1)
        << "0x80 as a second byte stays part of its character";
    const QStringList texts = {QStringLiteral("价格€5"), QStringLiteral("ḿ"),
                               QStringLiteral("\u4DB5\u9FA6"), // GB18030 only
                               QStringLiteral("A") + QString::fromUcs4(U"\U0002A6A5"),
                               QString::fromUcs4(U"\U000241FE"), // two bytes in GB18030
                               QStringLiteral("人员档案")};
    for (const QString& text : texts) {
        QByteArray bytes = ToGbk(text);
        EXPECT_EQ(FromGbk(bytes), text) << text.toStdString();
        EXPECT_EQ(GbkLength(text), bytes.size()) << text.toStdString();
    }
}
