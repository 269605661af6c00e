#include "app/users/DlgModifyPassword.h"

#include "app/users/UserTable.h"
#include "app/shell/VRINApp.h"
#include "platform/MessageService.h"
#include "records/ResidentCatalogue.h"
#include "ui_DlgModifyPassword.h"

using namespace adodb;

CDlgModifyPassword::CDlgModifyPassword(QWidget* parent)
    : CDialog(parent), m_ui(std::make_unique<Ui::CDlgModifyPassword>()) {
    m_ui->setupUi(this);
    connect(m_ui->ok, &QPushButton::clicked, this, &CDlgModifyPassword::OnOK);
    connect(m_ui->cancel, &QPushButton::clicked, this, &CDlgModifyPassword::OnCancel);
}

CDlgModifyPassword::~CDlgModifyPassword() = default;

bool CDlgModifyPassword::FindCurrentUser() {
    return MoveToUser(m_pRecordset, GetApp().m_strCurrentUser);
}

bool CDlgModifyPassword::OnInitDialog() {
    try {
        m_pRecordset = OpenUserTable();
        if (FindCurrentUser())
            m_strStored = PasswordOf(m_pRecordset);
    } catch (const ComError& e) {
        m_pRecordset.reset();
        MessageBox(this, QStringLiteral("读取操作员名单失败：\r\n") + e.Description(),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
    }
    GotoDlgCtrl(m_ui->oldPassword);
    return false;
}

void CDlgModifyPassword::Refuse(const QString& message, QWidget* focus) {
    MessageBox(this, message, QStringLiteral("提示"), MB_OK);
    GotoDlgCtrl(focus);
}

void CDlgModifyPassword::OnOK() {
    m_strOld = m_ui->oldPassword->text();
    m_strNew = m_ui->newPassword->text();
    m_strConfirm = m_ui->confirmPassword->text();
    if (m_strStored != m_strOld)
        return Refuse(QStringLiteral("原密码不对!"), m_ui->oldPassword);
    if (m_strNew.isEmpty())
        return Refuse(QStringLiteral("新密码不能为空!"), m_ui->newPassword);
    if (m_strNew.size() > kPasswordSize)
        return Refuse(QStringLiteral("新密码不能超过10个字!"), m_ui->newPassword);
    if (m_strNew != m_strConfirm)
        return Refuse(QStringLiteral("两次输入的新密码不一样!"), m_ui->newPassword);
    if (!m_pRecordset)
        return;
    try {
        RereadUsers(m_pRecordset);
        if (!FindCurrentUser()) {
            // Nothing to write: say so rather than close as if the password were changed.
            MessageBox(this,
                       QStringLiteral("用户表中没有操作员“") + GetApp().m_strCurrentUser +
                           QStringLiteral("”，密码没有修改。"),
                       QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
            m_pRecordset->Close();
            EndDialog(IDCANCEL);
            return;
        }
        m_pRecordset->PutCollect(Variant("密码"), Variant(m_strNew));
        m_pRecordset->Update();
        m_pRecordset->Close();
    } catch (const ComError& e) {
        try {
            m_pRecordset->CancelUpdate();
        } catch (const ComError&) {
        }
        MessageBox(this, QStringLiteral("保存新密码失败：\r\n") + e.Description(),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    CDialog::OnOK();
}
