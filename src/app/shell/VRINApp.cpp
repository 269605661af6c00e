#include "app/shell/VRINApp.h"

#include "app/users/DlgLogin.h"
#include "app/settings/DlgSetWL.h"
#include "adodb/ConnectionString.h"
#include "app/settings/SettingsFiles.h"
#include "platform/FormatText.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "records/ResidentCatalogue.h"

#include "app/shell/MainFrm.h"
#include "widgets/MainWindow.h"
#include "widgets/Resources.h"

#include <QPrinter>
#include <QScreen>

using namespace adodb;

namespace {
CVRINApp* g_app = nullptr;
}

QString LastErrorDescription(CAdoConnection& connection) {
    ConnectionPtr c = connection.GetConnection();
    if (c && c->GetErrors()->GetCount() > 0)
        return c->GetErrors()->GetItem(Variant(0))->GetDescription();
    return connection.m_strLastError;
}

CVRINApp& GetApp() {
    Q_ASSERT(g_app);
    return *g_app;
}

bool HasApp() {
    return g_app != nullptr;
}

CVRINApp::CVRINApp() {
    Q_ASSERT(!g_app);
    g_app = this;
}

CVRINApp::~CVRINApp() {
    if (AfxGetMainWnd() == m_pMainWnd)
        SetMainWnd(nullptr);
    delete m_pMainWnd;
    if (g_app == this)
        g_app = nullptr;
}

void CVRINApp::ReadServerAddress(QString& address) {
    QString line;
    if (!ReadFirstLine(m_strDataDir + kServerAddressFile, line))
        return;
    address = TrimTrailingBlanks(line);
    if (!address.isEmpty()) {
        m_strDataDir = NetworkDataFolder(address);
        m_bNetwork = 1;
    }
}

CVRINApp::Connect CVRINApp::ConnectAndCheck() {
    // The folder comes from the server-address file: quoted, so that a ";" in it cannot
    // cut the path.
    const QString connect = JetConnectionString(m_strDataDir + kDatabaseFileName) +
                            QStringLiteral("; Persist Security Info =False; Jet OLEDB:DataBase ");
    try {
        m_pConnection = Connection::Create();
        m_pConnection->Open(connect, QString(), QString(), 0);
        return CheckAndUpgradeSchema() ? Connect::Done : Connect::Refused;
    } catch (const ComError& e) {
        if (m_bNetwork) {
            AfxMessageBox(
                m_strDataDir +
                QStringLiteral("\r连接网络上的数据库失败!\r\r请检查网上邻居是否可访问服务器！\r\n"
                               "请将作为服务器的安装目录共享名设为“VRIN” "
                               "\r\n要使用本地数据，请不要输入IP地址！"));
            CDlgSetWL dialog;
            if (dialog.DoModal() != IDOK)
                return Connect::Refused;
            m_strDataDir = m_strAppDir;
            return Connect::Retry;
        }
        AfxMessageBox(
            FormatText(QStringLiteral("连接数据库失败!\r\n错误信息:%s"), e.Description()));
        return Connect::Refused;
    }
}

bool CVRINApp::InitInstance() {
    if (!m_hInstanceMutex.TryLock()) {
        AfxMessageBox(QStringLiteral("应用程序已经在运行!"));
        return false;
    }
    m_strAppDir = ApplicationDirectory();
    m_strDataDir = m_strAppDir;
    QString address;
    ReadServerAddress(address);
    while (true) {
        Connect result = ConnectAndCheck();
        if (result == Connect::Refused)
            return false;
        if (result == Connect::Retry) {
            ReadServerAddress(address);
            continue;
        }
        if (!m_adoConnection.OpenJetDatabase(m_strDataDir + kDatabaseFileName, QString(), -1)) {
            AfxMessageBox(QStringLiteral("连接数据库失败！\r\n错误信息:") +
                          LastErrorDescription(m_adoConnection));
            return false;
        }
        CDlgLogin login;
        if (m_bNetwork)
            login.m_strServer = address;
        if (login.DoModal() != IDOK)
            return false;
        if (m_bNetwork && login.m_strServer != address) {
            address = login.m_strServer;
            if (!address.isEmpty()) {
                m_strDataDir = NetworkDataFolder(address);
            } else {
                m_strDataDir = m_strAppDir;
                m_bNetwork = 0;
            }
            continue;
        }
        break;
    }
    return CreateMainWindow();
}

bool CVRINApp::CreateMainWindow() {
    auto* frame = new CMainFrame();
    frame->setAttribute(Qt::WA_DeleteOnClose);
    m_pMainWnd = frame;
    SetMainWnd(frame);
    frame->GetActiveView()->OnInitialUpdate();
    frame->setWindowIcon(LoadIconResource(IDI_MAINFRAME));
    // Without a window manager "maximised" means nothing; the screen's size then stands in.
    if (QScreen* screen = frame->screen())
        frame->setGeometry(screen->availableGeometry());
    frame->showMaximized();
    frame->setWindowTitle(AppTitle());
    return true;
}

int CVRINApp::ExitInstance() {
    m_hInstanceMutex.Release();
    m_adoConnection.Close();
    return 0;
}

bool CVRINApp::TableExists(const QString& name) {
    Q_ASSERT(m_pConnection && m_pConnection->GetState() == adStateOpen);
    bool found = false;
    RecordsetPtr tables;
    try {
        std::vector<Variant> restrictions{Variant(), Variant(), Variant(), Variant("TABLE")};
        tables = m_pConnection->OpenSchema(adSchemaTables, Variant(std::move(restrictions)));
        for (; !tables->GetEOF(); tables->MoveNext())
            if (tables->GetCollect(Variant("TABLE_NAME")).ToString() == name)
                found = true;
    } catch (const ComError&) {
        // The result stays what it was when the error came.
    }
    if (tables && tables->GetState() == adStateOpen)
        tables->Close();
    return found;
}

QString CVRINApp::GetFieldText(const RecordsetPtr& recordset, const QString& field) {
    FieldPtr item = recordset->GetFields()->GetItem(Variant(field));
    Variant value = item->GetValue();
    QString text;
    if (!value.IsNull())
        text = recordset->GetCollect(Variant(field)).ToString();
    if (item->GetType() == adBoolean)
        text = text == QLatin1String("-1") ? QStringLiteral("是") : QStringLiteral("否");
    return text;
}
