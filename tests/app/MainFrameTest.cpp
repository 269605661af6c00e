#include "AppFixture.h"

#include "widgets/DeviceContext.h"

#include "app/shell/CommandIds.h"
#include "app/shell/MainFrm.h"
#include "app/settings/SettingsFiles.h"
#include "platform/Gbk.h"
#include "platform/RecordingShell.h"
#include "platform/Trace.h"

#include "RecordingDC.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QScreen>
#include <QToolButton>

class MainFrameTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        m_previousFolder = QDir::currentPath();
        QDir::setCurrent(m_appDir.Folder()); // bk.jpg and the manual are looked for here
    }
    void TearDown() override {
        QDir::setCurrent(m_previousFolder);
        AppTest::TearDown();
    }
    std::unique_ptr<CMainFrame> Open() {
        auto frame = std::make_unique<CMainFrame>();
        frame->GetActiveView()->OnInitialUpdate();
        frame->resize(800, 500);
        frame->show();
        return frame;
    }

    CVRINApp m_app;
    QString m_previousFolder;
};

TEST_F(MainFrameTest, TheTitleComesFromInfoTxtInTheDatabaseFolder) {
    ConnectApp(m_app);
    EXPECT_EQ(Open()->GetActiveView()->m_strTitle, kDefaultCommunityName) << "no Info.txt";
    WriteAppFile(kInfoFile, ToGbk(QStringLiteral("红星村\r\n第二行")));
    EXPECT_EQ(Open()->GetActiveView()->m_strTitle, QStringLiteral("红星村"));
    WriteAppFile(kInfoFile, "\r\nsecond");
    EXPECT_EQ(Open()->GetActiveView()->m_strTitle, QString())
        << "an empty first line gives an empty title";
    // In network mode the server's file is read.
    QFile info(ShareFolder(QStringLiteral("srv")) + kInfoFile);
    ASSERT_TRUE(info.open(QIODevice::WriteOnly));
    info.write(ToGbk(QStringLiteral("服务器上的村名")));
    info.close();
    m_app.m_strDataDir = NetworkDataFolder(QStringLiteral("srv"));
    EXPECT_EQ(Open()->GetActiveView()->m_strTitle, QStringLiteral("服务器上的村名"));
}

TEST_F(MainFrameTest, TheNameIsCentredOnTheViewAndPlacedByTheScreen) {
    ConnectApp(m_app);
    WriteAppFile(kInfoFile, ToGbk(QStringLiteral("红星村")));
    auto frame = Open();
    CVRINView* view = frame->GetActiveView();
    RecordingDC dc(false, 96, 50, 50);
    view->OnDraw(&dc);
    const int w = view->width();
    const int h = view->ScreenHeight();
    ASSERT_EQ(dc.texts.size(), 2);
    EXPECT_EQ(dc.texts[0].colour, QColor(0, 255, 255));
    EXPECT_EQ(dc.texts[0].x, (w - 150) / 2 + 2);
    EXPECT_EQ(dc.texts[0].y, h / 2 - 120);
    EXPECT_EQ(dc.texts[1].colour, QColor(0, 0, 255));
    EXPECT_EQ(dc.texts[1].x, (w - 150) / 2);
    EXPECT_EQ(dc.texts[1].y, h / 2 - 122);
    EXPECT_EQ(dc.texts[1].font.family(), QStringLiteral("隶书"));
    const FaceProportions face(dc.texts[1].font);
    EXPECT_NEAR((face.ascent + face.descent) * dc.texts[1].font.pixelSize(), 50, 1) << "a cell of 50";
    EXPECT_EQ(dc.texts[1].font.weight(), QFont::Black);
    EXPECT_TRUE(dc.transparent);
    // A title wider than the view starts left of it.
    view->m_strTitle = QString(40, QChar(0x6751));
    RecordingDC wide(false, 96, 50, 50);
    view->OnDraw(&wide);
    EXPECT_LT(wide.texts[1].x, 0);
    EXPECT_EQ(wide.texts[1].x, (w - 2000) / 2);
}

TEST_F(MainFrameTest, TheBackgroundPictureIsStretchedOverTheViewAndMayBeMissing) {
    ConnectApp(m_app);
    ScopedTraceCapture trace;
    auto bare = Open(); // no bk.jpg: no picture, no message
    EXPECT_FALSE(bare->GetActiveView()->m_picture.m_pPicture);
    EXPECT_TRUE(trace.Lines().join(QString()).contains(QStringLiteral("bk.jpg")));
    QImage image(40, 30, QImage::Format_RGB32);
    image.fill(Qt::green);
    image.save(m_appDir.Path(QStringLiteral("bk.jpg")), "JPG");
    auto frame = Open();
    RecordingDC dc;
    frame->GetActiveView()->OnDraw(&dc);
    ASSERT_EQ(dc.images.size(), 1);
    EXPECT_EQ(dc.images[0].target, frame->GetActiveView()->rect());
}

TEST_F(MainFrameTest, MenuAndToolBarOfferTheCommands) {
    ConnectApp(m_app);
    auto frame = Open();
    QList<QAction*> top = frame->menuBar()->actions();
    ASSERT_EQ(top.size(), 2);
    EXPECT_EQ(top[0]->text(), QStringLiteral("系统"));
    EXPECT_EQ(top[1]->text(), QStringLiteral(" 帮助"));
    QStringList items;
    for (QAction* a : top[0]->menu()->actions())
        items << a->text() + QLatin1Char('=') + QString::number(a->data().toInt());
    EXPECT_EQ(items, QStringList({"关于=57664", "设置单位=32771", "设置网络=32773",
                                  "设置用户=32774", "设置密码=32775"}));
    QAction* start = frame->FindCommand(ID_START_ARCHIVE);
    QAction* exit = frame->FindCommand(ID_APP_EXIT_FRAME);
    EXPECT_EQ(frame->ToolBar()->actions(), QList<QAction*>({start, exit}));
    EXPECT_EQ(start->text(), QStringLiteral("启动"));
    EXPECT_TRUE(start->isEnabled());
    EXPECT_TRUE(frame->ToolBar()->widgetForAction(start)->isVisible());
    EXPECT_EQ(exit->text(), QStringLiteral("退出"));
    EXPECT_FALSE(start->icon().isNull() || exit->icon().isNull());
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VRIN"));
    exit->trigger();
    EXPECT_FALSE(frame->isVisible()) << "退出 closes the main window";
}

TEST_F(MainFrameTest, SettingTheUnitNameChangesTheTitleAtOnce) {
    ConnectApp(m_app);
    auto frame = Open();
    m_dialogs.Then([](QDialog& d) {
        auto* name = qobject_cast<QLineEdit*>(Control(d, 1004));
        EXPECT_EQ(name->text(), kDefaultCommunityName) << "preset with the view's title";
        TypeInto(name, QStringLiteral("红旗社区"));
        Click(Control(d, IDOK));
    });
    frame->FindCommand(ID_SET_UNIT)->trigger();
    EXPECT_EQ(frame->GetActiveView()->m_strTitle, QStringLiteral("红旗社区"));
    RecordingDC dc;
    frame->GetActiveView()->OnDraw(&dc);
    EXPECT_EQ(dc.texts[1].text, QStringLiteral("红旗社区"));
    EXPECT_EQ(m_appDir.Read(kInfoFile), ToGbk(QStringLiteral("红旗社区")));
    m_dialogs.Then([](QDialog& d) { Click(Control(d, IDCANCEL)); });
    frame->FindCommand(ID_SET_UNIT)->trigger();
    EXPECT_EQ(frame->GetActiveView()->m_strTitle, QStringLiteral("红旗社区"));
}

TEST_F(MainFrameTest, SettingTheNetworkTakesEffectAtTheNextStart) {
    ConnectApp(m_app);
    auto frame = Open();
    const QString dataDir = m_app.m_strDataDir;
    m_dialogs.Then([](QDialog& d) {
        TypeInto(Control(d, 1133), QStringLiteral("192.168.0.9"));
        Click(Control(d, IDOK));
    });
    m_boxes.Expect(QStringLiteral("退出重启后生效！"));
    frame->FindCommand(ID_SET_NETWORK)->trigger();
    EXPECT_EQ(m_boxes.Boxes()[0].caption, QStringLiteral("提示"));
    EXPECT_EQ(m_boxes.Boxes()[0].owner, frame->GetActiveView());
    EXPECT_EQ(m_appDir.Read(kServerAddressFile), QByteArray("192.168.0.9"));
    EXPECT_EQ(m_app.m_strDataDir, dataDir);
    EXPECT_EQ(m_app.m_bNetwork, 0);
    m_dialogs.Then([](QDialog& d) { Click(Control(d, IDCANCEL)); });
    frame->FindCommand(ID_SET_NETWORK)->trigger(); // cancelled: no message
}

TEST_F(MainFrameTest, HelpAsksTheDesktopForTheManualAndNothingElse) {
    ConnectApp(m_app);
    auto frame = Open();
    RecordingShell shell;
    shell.answer = false;
    frame->FindCommand(ID_HELP_MANUAL)->trigger();
    EXPECT_EQ(shell.opened,
              QStringList{QDir(m_appDir.Folder()).filePath(QStringLiteral("VRIN使用说明.doc"))});
    EXPECT_TRUE(frame->isVisible());
}

TEST_F(MainFrameTest, TheAboutBoxNamesTheVersion) {
    ConnectApp(m_app);
    auto frame = Open();
    m_dialogs.Then([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("关于VRIN"));
        QStringList texts;
        for (QLabel* label : d.findChildren<QLabel*>())
            texts << label->text();
        EXPECT_TRUE(texts.contains(QStringLiteral("VRIN 2.0 版")));
        Click(Control(d, IDOK));
    });
    frame->FindCommand(ID_APP_ABOUT)->trigger();
    EXPECT_EQ(m_dialogs.Handled(), 1);
}

TEST_F(MainFrameTest, StartUpEndsWithTheRealMainWindow) {
    MakeDatabase();
    WriteAppFile(kInfoFile, ToGbk(QStringLiteral("红星村")));
    m_dialogs.Then(LoginAs(QStringLiteral("管理员"), QStringLiteral("580347")));
    ASSERT_TRUE(m_app.InitInstance());
    auto* frame = qobject_cast<CMainFrame*>(m_app.GetMainWnd());
    ASSERT_TRUE(frame);
    EXPECT_EQ(frame->windowTitle(), QStringLiteral("VRIN"));
    EXPECT_EQ(frame->GetActiveView()->m_strTitle, QStringLiteral("红星村"));
    EXPECT_FALSE(frame->windowIcon().isNull());
    m_app.ExitInstance();
}
