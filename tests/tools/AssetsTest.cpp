#include "Assets.h"

#include "TestSupport.h"

#include <QFile>
#include <QProcess>
#include <QSet>

TEST(Assets, TheBackgroundIsAPictureNotAFlatColour) {
    QImage image = DrawBackground(320, 200);
    ASSERT_EQ(image.size(), QSize(320, 200));
    QSet<QRgb> colours;
    for (int y = 0; y < image.height(); y += 10)
        for (int x = 0; x < image.width(); x += 10)
            colours.insert(image.pixel(x, y));
    EXPECT_GT(colours.size(), 50);
}

TEST(Assets, TheManualIsAWellFormedRichTextDocument) {
    QFile source(QStringLiteral(VRIN_MANUAL_TEXT));
    ASSERT_TRUE(source.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(source.readAll());
    for (const char* screen : {"登录", "主窗口", "人员档案窗口", "人员详细情况", "单位划分",
                               "设置用户", "设置密码", "设置网络"})
        EXPECT_TRUE(text.contains(QString::fromUtf8(screen))) << screen;
    const QByteArray rtf = ManualRtf(text);
    ASSERT_TRUE(rtf.startsWith("{\\rtf1\\ansi\\ansicpg936"));
    int depth = 0;
    for (int i = 0; i < rtf.size(); ++i) {
        const char c = rtf[i];
        EXPECT_LT(static_cast<unsigned char>(c), 0x80) << "plain ASCII with escapes";
        if (c == '\\') {
            ++i;
            continue;
        }
        depth += c == '{' ? 1 : c == '}' ? -1 : 0;
        ASSERT_GE(depth, 0);
    }
    EXPECT_EQ(depth, 0);
    EXPECT_TRUE(rtf.contains("\\u30331?\\u24405?")) << "登录";
    EXPECT_EQ(ManualRtf(QStringLiteral("a{b}\\c")).count("\\{"), 1)
        << "braces in the text are escaped";
}

// --help names every option on a line of its own and succeeds; a wrong option is refused
// with the usage line.
TEST(InitDb, HelpNamesEveryOption) {
    QProcess help;
    help.start(QStringLiteral(VRIN_INITDB), {QStringLiteral("--help")});
    ASSERT_TRUE(help.waitForFinished(30000));
    EXPECT_EQ(help.exitCode(), 0);
    const QString text = QString::fromUtf8(help.readAllStandardOutput());
    for (const char* option : {"--demo N", "--seed S", "--layout", "--help"})
        EXPECT_TRUE(text.contains(QLatin1String("\n  ") + QLatin1String(option))) << option << "\n" << text.toStdString();
    QProcess wrong;
    wrong.start(QStringLiteral(VRIN_INITDB), {QStringLiteral("--nonsense")});
    ASSERT_TRUE(wrong.waitForFinished(30000));
    EXPECT_EQ(wrong.exitCode(), 2);
    EXPECT_TRUE(wrong.readAllStandardError().startsWith("usage: vrin-initdb"));
}
