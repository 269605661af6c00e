#pragma once
// A temporary application directory, runtime folder and share root for the program, with
// databases made by vrin-initdb's code, message boxes answered by a responder and modal
// dialogs driven by the test.

#include "app/shell/VRINApp.h"

#include "ModalDriver.h"
#include "TestSupport.h"

#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class CDlgGJRY;
class QDialog;

// The login, password, rights, community-name and network dialogs, made but not shown.
std::vector<std::unique_ptr<QDialog>> SettingsAndUserDialogs();

class AppTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // "人员档案.mdb" in the folder (the application directory when empty), with a resident
    // table of that many columns.
    QString MakeDatabase(const QString& folder = QString(), int layout = 43);
    // <share root>/<server>/VRIN/, created, with a trailing slash.
    QString ShareFolder(const QString& server);
    void WriteAppFile(const QString& name, const QByteArray& bytes);
    // Runs SQL on a database file directly.
    void ExecOn(const QString& databasePath, const QString& sql);
    // The first value of the first row of a query, as text.
    QString ValueOn(const QString& databasePath, const QString& sql);
    // The rows of the user table, "name|password|rights|remark|date" with blanks trimmed.
    QStringList Users(const QString& databasePath);
    // The resident table's column names.
    QStringList ResidentColumnNames(const QString& databasePath);
    // Opens the application's direct connection on a database with a user table, as
    // start-up leaves it, for the dialogs that read it.
    void ConnectApp(CVRINApp& app, const QString& folder = QString());
    // The archive as the archive window finds it: a database of demo residents (from the
    // seed, ages of 2026) in the application directory, both connections of the application
    // open on it, the administrator logged in. Returns the database's path.
    QString OpenDemoArchive(CVRINApp& app, int residents, unsigned seed);

    // Shows the archive window, fills its list at once (without waiting for its timer),
    // runs the action on it and closes it.
    void RunArchive(CDlgGJRY& window, const std::function<void(CDlgGJRY&)>& action);

    // A login dialog action: types the name and password, presses "登录".
    static ModalDriver::Action LoginAs(const QString& user, const QString& password);

    TestDir m_appDir, m_runtime, m_shares;
    TestResponder m_boxes;
    ModalDriver m_dialogs;
};
