#include "app/units/DlgSetDW.h"

#include "app/units/UnitTree.h"
#include "platform/FormatText.h"
#include "platform/Gbk.h"
#include "platform/MessageService.h"
#include "platform/TextFile.h"
#include "records/UnitHierarchy.h"
#include "ui_DlgSetDW.h"

CDlgSetDW::CDlgSetDW(QWidget* parent) : CDialog(parent), m_ui(std::make_unique<Ui::CDlgSetDW>()) {
    m_ui->setupUi(this);
    m_ui->preview->SetDragEnabled(false);
    connect(m_ui->ok, &QPushButton::clicked, this, &CDlgSetDW::OnOK);
    connect(m_ui->cancel, &QPushButton::clicked, this, &CDlgSetDW::OnCancel);
    connect(m_ui->edit1004, &QPlainTextEdit::textChanged, this, &CDlgSetDW::RebuildPreview);
}

CDlgSetDW::~CDlgSetDW() = default;

bool CDlgSetDW::OnInitDialog() {
    QByteArray bytes;
    m_strText.clear();
    if (ReadFileBytes(m_strPath, bytes)) { // the whole file
        m_strText = DecodeTextFileBytes(bytes);
        m_strText.replace(QStringLiteral("\r\n"), QStringLiteral("\n")); // the box holds LF
    }
    m_strPrevText = m_strText;
    {
        const QSignalBlocker quiet(m_ui->edit1004);
        m_ui->edit1004->setPlainText(m_strText);
    }
    RebuildPreview();
    GotoDlgCtrl(m_ui->edit1004);
    return false;
}

void CDlgSetDW::RebuildPreview() {
    m_strText = m_ui->edit1004->toPlainText();
    const UnitPreview preview = BuildUnitPreview(m_strText, m_strPrevText);
    const std::vector<QTreeWidgetItem*> items = FillUnitTree(m_ui->preview, preview.items);
    m_strPrevText = m_strText;
    if (items.empty())
        return;
    items.front()->setExpanded(true);
    QTreeWidgetItem* selected = items[static_cast<size_t>(std::max(0, preview.selected))];
    m_ui->preview->scrollToItem(selected);
    m_ui->preview->setCurrentItem(selected);
}

void CDlgSetDW::OnOK() {
    m_strText = m_ui->edit1004->toPlainText();
    QString text = m_strText;
    text.replace(QLatin1Char('\n'), QStringLiteral("\r\n")); // the file keeps CR LF
    QString why;
    if (!WriteFileAtomic(m_strPath, ToGbk(text), &why)) {
        MessageBox(this, FormatText(QStringLiteral("无法保存单位划分文件“%s”：\r\n%s"), m_strPath, why),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        return;
    }
    EndDialog(IDOK);
}
