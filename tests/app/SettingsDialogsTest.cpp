#include "AppFixture.h"

#include "app/settings/DlgSetInfo.h"
#include "app/settings/DlgSetWL.h"
#include "app/settings/SettingsFiles.h"
#include "platform/Gbk.h"

#include <QLineEdit>

namespace {
QLineEdit* edit(QDialog& d, int id) {
    return qobject_cast<QLineEdit*>(Control(d, id));
}
} // namespace

TEST_F(AppTest, TheNetworkDialogShowsTheLineUnchangedAndWritesItBack) {
    CVRINApp app;
    app.m_strAppDir = m_appDir.Folder();
    WriteAppFile(kServerAddressFile, ToGbk(QStringLiteral("服务器  \r\nsecond")));
    CDlgSetWL dialog;
    m_dialogs.Then([](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), QStringLiteral("网络设置"));
        EXPECT_EQ(edit(d, 1133)->text(), QStringLiteral("服务器  "));
        TypeInto(edit(d, 1133), QStringLiteral("10.0.0.7  "));
        Click(Control(d, IDOK));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strServer, QStringLiteral("10.0.0.7  "));
    EXPECT_EQ(m_appDir.Read(kServerAddressFile), QByteArray("10.0.0.7  "))
        << "trailing blanks kept, no line end";

    CDlgSetWL clearing;
    m_dialogs.Then([](QDialog& d) {
        TypeInto(edit(d, 1133), QString());
        Click(Control(d, IDOK));
    });
    EXPECT_EQ(clearing.DoModal(), IDOK);
    EXPECT_TRUE(m_appDir.Exists(kServerAddressFile));
    EXPECT_EQ(m_appDir.Read(kServerAddressFile), QByteArray());
}

TEST_F(AppTest, TheNetworkDialogThatCannotWriteSaysSoAndStaysOpen) {
    CVRINApp app;
    app.m_strAppDir = m_appDir.Folder() + QStringLiteral("missing/");
    CDlgSetWL dialog;
    m_boxes.Answer(IDOK);
    m_dialogs.Then([](QDialog& d) {
        EXPECT_EQ(edit(d, 1133)->text(), QString()) << "no file: an empty address";
        TypeInto(edit(d, 1133), QStringLiteral("server"));
        Click(Control(d, IDOK));
        EXPECT_TRUE(d.isVisible());
        Click(Control(d, IDCANCEL));
    });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    ASSERT_EQ(m_boxes.Boxes().size(), 1u);
    EXPECT_TRUE(m_boxes.Boxes()[0].text.startsWith(QStringLiteral("无法保存服务器地址文件")));
}

TEST_F(AppTest, TheCommunityNameDialogReadsTheFileOverThePreset) {
    CVRINApp app;
    app.m_strDataDir = m_appDir.Folder();
    {
        CDlgSetInfo dialog;
        dialog.m_strName = QStringLiteral("预设名称");
        m_dialogs.Then([](QDialog& d) {
            EXPECT_EQ(d.windowTitle(), QStringLiteral("设置单位"));
            EXPECT_EQ(edit(d, 1004)->text(), QStringLiteral("预设名称")) << "no file: the preset";
            Click(Control(d, IDCANCEL));
        });
        EXPECT_EQ(dialog.DoModal(), IDCANCEL);
        EXPECT_FALSE(m_appDir.Exists(kInfoFile));
    }
    WriteAppFile(kInfoFile, ToGbk(QStringLiteral("红星村\r\n第二行")));
    CDlgSetInfo dialog;
    dialog.m_strName = QStringLiteral("预设名称");
    m_dialogs.Then([](QDialog& d) {
        EXPECT_EQ(edit(d, 1004)->text(), QStringLiteral("红星村"));
        TypeInto(edit(d, 1004), QStringLiteral("红星村民委员会"));
        Click(Control(d, IDOK));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strName, QStringLiteral("红星村民委员会"));
    EXPECT_EQ(m_appDir.Read(kInfoFile), ToGbk(QStringLiteral("红星村民委员会")))
        << "one line replaces the file";
}

TEST_F(AppTest, ACommunityNameThatCannotBeSavedIsStillTakenForThisRun) {
    CVRINApp app;
    app.m_strDataDir = m_appDir.Folder() + QStringLiteral("missing/");
    CDlgSetInfo dialog;
    m_boxes.Answer(IDOK);
    m_dialogs.Then([](QDialog& d) {
        TypeInto(edit(d, 1004), QStringLiteral("新村"));
        Click(Control(d, IDOK));
    });
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_EQ(dialog.m_strName, QStringLiteral("新村"));
    EXPECT_TRUE(m_boxes.Boxes()[0].text.startsWith(QStringLiteral("无法保存单位名称文件")));
}

// Every text an operator can type survives the file, the euro sign (byte 0x80 in code
// page 936) included.
TEST_F(AppTest, TheCommunityNameKeepsEveryTypedCharacter) {
    CVRINApp app;
    app.m_strDataDir = m_appDir.Folder();
    const QString name = QStringLiteral("红星村€基金");
    {
        CDlgSetInfo dialog;
        m_dialogs.Then([&](QDialog& d) {
            TypeInto(edit(d, 1004), name);
            Click(Control(d, IDOK));
        });
        dialog.DoModal();
    }
    EXPECT_EQ(m_appDir.Read(kInfoFile), QByteArray("\xBA\xEC\xD0\xC7\xB4\xE5\x80\xBB\xF9\xBD\xF0"));
    CDlgSetInfo again;
    m_dialogs.Then([&](QDialog& d) {
        EXPECT_EQ(edit(d, 1004)->text(), name);
        Click(Control(d, IDCANCEL));
    });
    again.DoModal();
}
