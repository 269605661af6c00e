#include "AppFixture.h"

#include "ResidentDatabase.h"
#include "adodb/ConnectionString.h"
#include "app/archive/DlgGJRY.h"
#include "app/settings/DlgSetInfo.h"
#include "app/settings/DlgSetWL.h"
#include "app/users/DlgLogin.h"
#include "app/users/DlgModifyPassword.h"
#include "app/users/DlgSetRight2.h"
#include "adodb/Field.h"
#include "app/users/Rights.h"
#include "app/settings/SettingsFiles.h"
#include "records/ResidentCatalogue.h"
#include "widgets/ControlIds.h"

#include <QDir>

using namespace adodb;

void AppTest::SetUp() {
    qputenv("VRIN_APPDIR", m_appDir.Folder().toLocal8Bit());
    qputenv("VRIN_RUNTIME_DIR", m_runtime.Folder().toLocal8Bit());
    qputenv("VRIN_SHARE_ROOT", m_shares.Folder().toLocal8Bit());
    g_nUserRight = 0;
}

void AppTest::TearDown() {
    qunsetenv("VRIN_APPDIR");
    qunsetenv("VRIN_RUNTIME_DIR");
    qunsetenv("VRIN_SHARE_ROOT");
    g_nUserRight = 0;
}

QString AppTest::MakeDatabase(const QString& folder, int layout) {
    QString path = (folder.isEmpty() ? m_appDir.Folder() : folder) + kDatabaseFileName;
    QString error;
    EXPECT_TRUE(CreateResidentDatabase(path, {layout, 0, 1, 0}, &error)) << error.toStdString();
    return path;
}

QString AppTest::ShareFolder(const QString& server) {
    QString folder = m_shares.Folder() + server + QStringLiteral("/VRIN/");
    QDir().mkpath(folder);
    return folder;
}

void AppTest::WriteAppFile(const QString& name, const QByteArray& bytes) {
    m_appDir.Write(name, bytes);
}

namespace {
ConnectionPtr OpenDatabase(const QString& databasePath) {
    ConnectionPtr c = Connection::Create();
    c->Open(JetConnectionString(databasePath),
            QString(), QString(), -1);
    return c;
}
} // namespace

void AppTest::ExecOn(const QString& databasePath, const QString& sql) {
    ConnectionPtr c = OpenDatabase(databasePath);
    c->Execute(sql, nullptr, adCmdText);
}

QString AppTest::ValueOn(const QString& databasePath, const QString& sql) {
    ConnectionPtr c = OpenDatabase(databasePath);
    RecordsetPtr rs = c->Execute(sql, nullptr, adCmdText);
    return rs->GetEOF() ? QString() : rs->GetCollect(Variant(0)).ToString();
}

QStringList AppTest::Users(const QString& databasePath) {
    ConnectionPtr c = OpenDatabase(databasePath);
    RecordsetPtr rs = c->Execute(QStringLiteral("SELECT * FROM 用户密码"), nullptr, adCmdText);
    QStringList rows;
    for (; !rs->GetEOF(); rs->MoveNext()) {
        QStringList values;
        for (const char* f : {"用户名", "密码", "权限", "备注", "登录日期"})
            values << rs->GetCollect(Variant(f)).ToString().trimmed();
        rows << values.join(QLatin1Char('|'));
    }
    return rows;
}

QStringList AppTest::ResidentColumnNames(const QString& databasePath) {
    ConnectionPtr c = OpenDatabase(databasePath);
    RecordsetPtr rs = c->Execute(QStringLiteral("SELECT * FROM 基本情况表"), nullptr, adCmdText);
    QStringList names;
    for (int k = 0; k < rs->GetFields()->GetCount(); ++k)
        names << rs->GetFields()->GetItem(Variant(k))->GetName();
    return names;
}

void AppTest::ConnectApp(CVRINApp& app, const QString& folder) {
    QString dir = folder.isEmpty() ? m_appDir.Folder() : folder;
    if (!QFileInfo::exists(dir + kDatabaseFileName))
        MakeDatabase(dir);
    app.m_strAppDir = m_appDir.Folder();
    app.m_strDataDir = dir;
    app.m_pConnection = Connection::Create();
    app.m_pConnection->Open(JetConnectionString(dir + kDatabaseFileName),
                            QString(), QString(), -1);
    ASSERT_TRUE(app.CheckAndUpgradeSchema());
}

QString AppTest::OpenDemoArchive(CVRINApp& app, int residents, unsigned seed) {
    const QString path = m_appDir.Path(kDatabaseFileName);
    QString error;
    EXPECT_TRUE(CreateResidentDatabase(path, {43, residents, seed, 2026}, &error)) << error.toStdString();
    ConnectApp(app);
    EXPECT_TRUE(app.m_adoConnection.OpenJetDatabase(path));
    g_nUserRight = 99;
    return path;
}

ModalDriver::Action AppTest::LoginAs(const QString& user, const QString& password) {
    return [user, password](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), QStringLiteral("登录"));
        TypeInto(Control(dialog, 1000), user);
        TypeInto(Control(dialog, 1001), password);
        Click(Control(dialog, IDOK));
    };
}

void AppTest::RunArchive(CDlgGJRY& window, const std::function<void(CDlgGJRY&)>& action) {
    m_dialogs.Then([&](QDialog& d) {
        auto& w = static_cast<CDlgGJRY&>(d);
        w.OnTimer(1); // the first fill, without waiting for the timer
        action(w);
        w.EndDialog(IDCANCEL);
    });
    window.DoModal();
}

std::vector<std::unique_ptr<QDialog>> SettingsAndUserDialogs() {
    std::vector<std::unique_ptr<QDialog>> dialogs;
    dialogs.emplace_back(new CDlgLogin);
    dialogs.emplace_back(new CDlgModifyPassword);
    dialogs.emplace_back(new CDlgSetRight2);
    dialogs.emplace_back(new CDlgSetInfo);
    dialogs.emplace_back(new CDlgSetWL);
    return dialogs;
}
