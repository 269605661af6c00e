#include "app/users/DlgLogin.h"

#include "app/users/Rights.h"
#include "app/settings/SettingsFiles.h"
#include "app/users/UserTable.h"
#include "app/shell/VRINApp.h"
#include "platform/MessageService.h"
#include "platform/OleDateTime.h"
#include "platform/TextFile.h"
#include "records/ResidentCatalogue.h"
#include "ui_DlgLogin.h"
#include "widgets/Resources.h"

#include <QApplication>
#include <QLineEdit>

using namespace adodb;

CDlgLogin::CDlgLogin(QWidget* parent) : CDialog(parent), m_ui(std::make_unique<Ui::CDlgLogin>()) {
    m_ui->setupUi(this);
    // Grey behind the dialog, its labels, group box and buttons; edits keep the standard look.
    QPalette grey = palette();
    grey.setColor(QPalette::Window, QColor(201, 201, 201));
    grey.setColor(QPalette::Button, QColor(201, 201, 201));
    setPalette(grey);
    setAutoFillBackground(true);
    for (QWidget* edit : {static_cast<QWidget*>(m_ui->user), static_cast<QWidget*>(m_ui->password),
                          static_cast<QWidget*>(m_ui->server)})
        edit->setPalette(QApplication::palette());
    connect(m_ui->ok, &QPushButton::clicked, this, &CDlgLogin::OnOK);
    connect(m_ui->cancel, &QPushButton::clicked, this, &CDlgLogin::OnCancel);
}

CDlgLogin::~CDlgLogin() = default;

void CDlgLogin::UpdateData(bool saveAndValidate) {
    if (saveAndValidate) {
        m_strUser = m_ui->user->currentText();
        m_strPassword = m_ui->password->text();
        m_strServer = m_ui->server->text();
    } else {
        m_ui->user->setCurrentText(m_strUser);
        m_ui->password->setText(m_strPassword);
        m_ui->server->setText(m_strServer);
    }
}

bool CDlgLogin::OpenUsers() {
    try {
        m_pRecordset = OpenUserTable();
        return true;
    } catch (const ComError& e) {
        m_pRecordset.reset();
        MessageBox(this, QStringLiteral("读取操作员名单失败：\r\n") + e.Description(),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        return false;
    }
}

bool CDlgLogin::OnInitDialog() {
    m_ui->ok->LoadBitmaps(IDB_LOGIN_OK, IDB_LOGIN_OK, IDB_LOGIN_OK);
    m_ui->ok->SetAlignment(1);
    m_ui->cancel->LoadBitmaps(IDB_LOGIN_CANCEL, IDB_LOGIN_CANCEL, IDB_LOGIN_CANCEL);
    m_ui->cancel->SetAlignment(1);

    QString remembered;
    ReadFirstLine(GetApp().m_strAppDir + kCurrentUserFile, remembered);
    if (OpenUsers()) {
        try {
            int index = 0;
            for (int counter = 0; !m_pRecordset->GetEOF(); ++counter) {
                QString name = UserNameOf(m_pRecordset);
                m_ui->user->addItem(name);
                if (name == remembered)
                    index = counter;
                m_pRecordset->MoveNext();
            }
            if (m_ui->user->count() > 0) {
                m_ui->user->setCurrentIndex(index);
                m_strUser = m_ui->user->itemText(index);
            }
        } catch (const ComError& e) {
            MessageBox(this, QStringLiteral("读取操作员名单失败：\r\n") + e.Description(),
                       QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        }
    }
    if (!m_strServer.isEmpty())
        m_ui->server->setEnabled(true);
    UpdateData(false);
    return true;
}

void CDlgLogin::Refuse(const QString& message, QWidget* focus) {
    MessageBox(this, message, QStringLiteral("提示"), MB_OK);
    GotoDlgCtrl(focus);
}

void CDlgLogin::OnOK() {
    UpdateData(true);
    m_strUser = OperatorName(m_strUser);
    if (m_strUser.isEmpty())
        return Refuse(QStringLiteral("用户名不能为空!"), m_ui->user);
    if (m_strUser.size() > kUserNameSize)
        return Refuse(QStringLiteral("用户名不能超过10个字!"), m_ui->user);
    if (m_strPassword.size() > kPasswordSize)
        return Refuse(QStringLiteral("密码不能超过10个字!"), m_ui->password);
    if (!m_pRecordset && !OpenUsers())
        return;
    CVRINApp& app = GetApp();
    try {
        // Only the first row of the name counts.
        if (!MoveToUser(m_pRecordset, m_strUser))
            return Refuse(QStringLiteral("无此用户!"), m_ui->user);
        if (PasswordOf(m_pRecordset) != m_strPassword) {
            // Emptied, so that the password is typed again rather than after the wrong one.
            m_ui->password->clear();
            m_strPassword.clear();
            return Refuse(QStringLiteral("密码错误!"), m_ui->password);
        }
        m_pRecordset->PutCollect(Variant("登录日期"), Variant(COleDateTime::GetCurrentTime().Format(
                                                          QStringLiteral("%Y-%m-%d"))));
        g_nUserRight = RightOf(m_pRecordset);
        app.m_strCurrentUser = m_strUser;
        m_pRecordset->PutCollect(Variant("备注"), Variant("在线"));
        m_pRecordset->PutCollect(Variant("密码"), Variant(m_strPassword));
        m_pRecordset->PutCollect(Variant("用户名"), Variant(m_strUser));
        m_pRecordset->Update();
        m_pRecordset->Close();
    } catch (const ComError& e) {
        // The login did not go through: nobody is logged in, the row keeps what it had.
        try {
            if (m_pRecordset->GetState() == adStateOpen)
                m_pRecordset->CancelUpdate();
        } catch (const ComError&) {
        }
        g_nUserRight = 0;
        app.m_strCurrentUser.clear();
        MessageBox(this, QStringLiteral("登录时访问数据库出错：\r\n") + e.Description(),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    WriteTextFileAtomic(app.m_strAppDir + kCurrentUserFile, m_strUser);
    CDialog::OnOK();
}
