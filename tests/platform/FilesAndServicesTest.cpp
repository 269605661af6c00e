#include "platform/Gbk.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/ScriptedResponder.h"
#include "platform/SqlLiteral.h"
#include "platform/TextFile.h"
#include "platform/Trace.h"

#include "TestSupport.h"

#include <QDir>

#include <cstdlib>

TEST(TextFile, FirstLineWithoutItsLineEnd) {
    TestDir dir;
    dir.Write("crlf.txt", ToGbk(QStringLiteral("192.168.1.5  \r\n第二行\r\n")));
    dir.Write("lf.txt", ToGbk(QStringLiteral("红星村\n下一行")));
    dir.Write("one.txt", ToGbk(QStringLiteral("只有一行")));
    dir.Write("empty.txt", QByteArray());
    dir.Write("bom.txt", QByteArray("\xEF\xBB\xBF") + QStringLiteral("统一码").toUtf8());
    struct Case {
        const char* file;
        const char* line;
    };
    for (const Case& c :
         {Case{"crlf.txt", "192.168.1.5  "}, Case{"lf.txt", "红星村"}, Case{"one.txt", "只有一行"},
          Case{"empty.txt", ""}, Case{"bom.txt", "统一码"}}) {
        QString line = QStringLiteral("unchanged");
        EXPECT_TRUE(ReadFirstLine(dir.Path(c.file), line)) << c.file;
        EXPECT_EQ(line, QString::fromUtf8(c.line)) << c.file;
    }
    QString line = QStringLiteral("unchanged");
    EXPECT_FALSE(ReadFirstLine(dir.Path("missing.txt"), line));
    EXPECT_EQ(line, QStringLiteral("unchanged"));
}

TEST(TextFile, AtomicWriteReplacesTheWholeFileInGbk) {
    TestDir dir;
    dir.Write("Info.txt", "old first line\r\nold second line\r\n");
    ASSERT_TRUE(WriteTextFileAtomic(dir.Path("Info.txt"), QStringLiteral("红星村委会")));
    EXPECT_EQ(dir.Read("Info.txt"), ToGbk(QStringLiteral("红星村委会")));
    EXPECT_EQ(QDir(dir.Folder()).entryList(QDir::Files), QStringList{QStringLiteral("Info.txt")})
        << "no temporary file is left behind";
}

TEST(TextFile, AtomicWriteIntoAMissingFolderFailsWithAReason) {
    TestDir dir;
    QString error;
    EXPECT_FALSE(
        WriteTextFileAtomic(dir.Path("no/such/folder/x.txt"), QStringLiteral("x"), &error));
    EXPECT_FALSE(error.isEmpty());
}

TEST(TextFile, ReadsAtMostTheBytesAskedFor) {
    TestDir dir;
    dir.Write("big.txt", QByteArray(100, 'x'));
    QByteArray bytes;
    ASSERT_TRUE(ReadFileBytes(dir.Path("big.txt"), bytes, 40));
    EXPECT_EQ(bytes.size(), 40);
}

TEST(Paths, MapsWindowsPathsOntoThisMachine) {
    qputenv("VRIN_SHARE_ROOT", "/srv/shares");
    EXPECT_EQ(LocalPath(QStringLiteral("\\\\192.168.1.5\\VRIN\\人员档案.mdb")),
              QStringLiteral("/srv/shares/192.168.1.5/VRIN/人员档案.mdb"));
    qunsetenv("VRIN_SHARE_ROOT");
    EXPECT_EQ(LocalPath(QStringLiteral("\\\\server\\VRIN\\Info.txt")),
              QStringLiteral("/mnt/server/VRIN/Info.txt"));
    EXPECT_EQ(LocalPath(QStringLiteral("C:\\临时图像文件.jpg")),
              QDir::tempPath() + QStringLiteral("/临时图像文件.jpg"));
    EXPECT_EQ(LocalPath(QStringLiteral("/opt/vrin/excel\\基本情况表.XLS")),
              QStringLiteral("/opt/vrin/excel/基本情况表.XLS"));
}

TEST(Paths, ApplicationDirectoryFollowsTheEnvironment) {
    TestDir dir;
    qputenv("VRIN_APPDIR", dir.Folder().toLocal8Bit());
    EXPECT_EQ(ApplicationDirectory(), QDir(dir.Folder()).absolutePath() + QLatin1Char('/'));
    qunsetenv("VRIN_APPDIR");
    EXPECT_TRUE(ApplicationDirectory().endsWith(QLatin1Char('/')));
}

TEST(SqlEscape, DoublesEverySingleQuote) {
    EXPECT_EQ(SqlEscape(QStringLiteral("O'Neil''s")), QStringLiteral("O''Neil''''s"));
    EXPECT_EQ(SqlEscape(QStringLiteral("一组")), QStringLiteral("一组"));
}

TEST(Trace, CaptureCollectsLinesAndRestoresThePreviousSink) {
    QStringList outer;
    TraceSink previous = SetTraceSink([&](const QString& l) { outer << l; });
    {
        ScopedTraceCapture capture;
        Trace(QStringLiteral("inner"));
        EXPECT_EQ(capture.Lines(), QStringList{QStringLiteral("inner")});
    }
    Trace(QStringLiteral("outer"));
    EXPECT_EQ(outer, QStringList{QStringLiteral("outer")});
    SetTraceSink(std::move(previous));
}

TEST(ScriptedResponder, RecordsBoxesAndAnswersFromItsQueue) {
    TestResponder responder;
    responder.Expect(QStringLiteral("确实要删除所有记录吗？"), IDNO).Answer(IDYES);
    EXPECT_EQ(MessageBox(nullptr, QStringLiteral("确实要删除所有记录吗？"), QStringLiteral("提示"),
                         MB_YESNO | MB_ICONINFORMATION),
              IDNO);
    EXPECT_EQ(AfxMessageBox(QStringLiteral("请选择一个单位!")), IDYES);
    ASSERT_EQ(responder.Boxes().size(), 2u);
    EXPECT_EQ(responder.Boxes()[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(responder.Boxes()[0].style, unsigned(MB_YESNO | MB_ICONINFORMATION));
    EXPECT_EQ(responder.Boxes()[1].caption, QStringLiteral("VRIN"));
}

TEST(ScriptedResponder, ComplainsAboutSurprisesAndLeftovers) {
    QStringList complaints;
    {
        ScriptedResponder responder([&](const QString& why) { complaints << why; });
        EXPECT_EQ(AfxMessageBox(QStringLiteral("surprise"), MB_YESNO), IDYES);
        responder.Expect(QStringLiteral("one text"));
        AfxMessageBox(QStringLiteral("another text"));
        responder.Answer(IDOK);
    }
    ASSERT_EQ(complaints.size(), 3);
    EXPECT_TRUE(complaints[0].contains(QStringLiteral("surprise")));
    EXPECT_TRUE(complaints[1].contains(QStringLiteral("another text")));
    EXPECT_TRUE(complaints[2].contains(QStringLiteral("never shown")));
}
