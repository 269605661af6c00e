#pragma once
// The application object: the guard against a second copy, where the database lies, the
// two connections to it, the logged-in operator and the main window. Start-up connects,
// checks and upgrades the schema, logs the operator in and only then opens the main window.

#include "ado/AdoConnection.h"
#include "adodb/Connection.h"
#include "adodb/Field.h"
#include "adodb/Recordset.h"
#include "platform/InstanceLock.h"

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class CXTreeCtrl;
class QPrinter;
class QTreeWidgetItem;

class CVRINApp {
public:
    CVRINApp();
    virtual ~CVRINApp();
    CVRINApp(const CVRINApp&) = delete;
    CVRINApp& operator=(const CVRINApp&) = delete;

    // TRUE when the main window is up; FALSE ends the program.
    bool InitInstance();
    int ExitInstance();

    bool TableExists(const QString& name);
    // The display text of a field of a raw recordset's current row: "" for null, 是/否 for
    // a yes/no field. Errors reach the caller.
    QString GetFieldText(const adodb::RecordsetPtr& recordset, const QString& field);

    // Refuses the two old layouts it cannot repair, adds the columns later releases
    // introduced, and creates the user table with the administrator when it is missing.
    bool CheckAndUpgradeSchema();

    QWidget* GetMainWnd() const { return m_pMainWnd; }

    // Fills the tree from the unit hierarchy file at path (the root "全部" alone when it
    // cannot be read) and gives the root item.
    void LoadUnitTree(CXTreeCtrl* tree, QTreeWidgetItem*& root, const QString& path);

    QString m_strCurrentUser;
    adodb::ConnectionPtr m_pConnection;
    QString m_strDataDir;
    QString m_strAppDir;
    int m_bNetwork = 0;
    CAdoConnection m_adoConnection;
    InstanceLock m_hInstanceMutex;
    // The printer certificates go to, once the operator chose one (a real printer only).
    std::unique_ptr<QPrinter> m_pPrinter;

protected:
    // Steps 11 and 12: the main window, maximised, titled "VRIN".
    virtual bool CreateMainWindow();

    QPointer<QWidget> m_pMainWnd;

private:
    enum class Connect { Done, Retry, Refused };
    void ReadServerAddress(QString& address);
    Connect ConnectAndCheck();
};

// The description of the last error of a data-layer connection, for the operator.
QString LastErrorDescription(CAdoConnection& connection);

// The one application object of the run.
CVRINApp& GetApp();
bool HasApp();
