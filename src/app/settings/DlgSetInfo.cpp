#include "app/settings/DlgSetInfo.h"

#include "app/settings/SettingsFiles.h"
#include "app/shell/VRINApp.h"
#include "platform/FormatText.h"
#include "platform/MessageService.h"
#include "platform/TextFile.h"
#include "ui_DlgSetInfo.h"

CDlgSetInfo::CDlgSetInfo(QWidget* parent)
    : CDialog(parent), m_ui(std::make_unique<Ui::CDlgSetInfo>()) {
    m_ui->setupUi(this);
    connect(m_ui->ok, &QPushButton::clicked, this, &CDlgSetInfo::OnOK);
    connect(m_ui->cancel, &QPushButton::clicked, this, &CDlgSetInfo::OnCancel);
}

CDlgSetInfo::~CDlgSetInfo() = default;

bool CDlgSetInfo::OnInitDialog() {
    QString line;
    if (ReadFirstLine(GetApp().m_strDataDir + kInfoFile, line))
        m_strName = line;
    m_ui->edit1004->setText(m_strName);
    return true;
}

void CDlgSetInfo::OnOK() {
    m_strName = m_ui->edit1004->text();
    const QString path = GetApp().m_strDataDir + kInfoFile;
    QString why;
    if (!WriteTextFileAtomic(path, m_strName, &why))
        MessageBox(this,
                   FormatText(QStringLiteral(
                                  "无法保存单位名称文件“%s”：\r\n%s\r\n新名称只在本次运行中有效。"),
                              path, why),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
    EndDialog(IDOK);
}
