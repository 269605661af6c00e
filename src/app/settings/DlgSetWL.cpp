#include "app/settings/DlgSetWL.h"

#include "app/settings/SettingsFiles.h"
#include "app/shell/VRINApp.h"
#include "platform/FormatText.h"
#include "platform/MessageService.h"
#include "platform/TextFile.h"
#include "ui_DlgSetWL.h"

CDlgSetWL::CDlgSetWL(QWidget* parent) : CDialog(parent), m_ui(std::make_unique<Ui::CDlgSetWL>()) {
    m_ui->setupUi(this);
    connect(m_ui->ok, &QPushButton::clicked, this, &CDlgSetWL::OnOK);
    connect(m_ui->cancel, &QPushButton::clicked, this, &CDlgSetWL::OnCancel);
}

CDlgSetWL::~CDlgSetWL() = default;

bool CDlgSetWL::OnInitDialog() {
    QString line;
    if (ReadFirstLine(GetApp().m_strAppDir + kServerAddressFile, line)) {
        m_strServer = line;
        m_ui->edit1133->setText(m_strServer);
    }
    return true;
}

void CDlgSetWL::OnOK() {
    m_strServer = m_ui->edit1133->text();
    const QString path = GetApp().m_strAppDir + kServerAddressFile;
    QString why;
    if (!WriteTextFileAtomic(path, m_strServer, &why)) {
        MessageBox(this,
                   FormatText(QStringLiteral("无法保存服务器地址文件“%s”：\r\n%s"), path, why),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}
