#include "app/units/DlgSetDW.h"

#include "app/units/UnitTree.h"
#include "platform/FormatText.h"
#include "platform/Gbk.h"
#include "platform/MessageService.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "records/UnitHierarchy.h"
#include "ui_DlgSetDW.h"
#include "widgets/BusyCursor.h"

#include <QFileInfo>
#include <QLocale>

CDlgSetDW::CDlgSetDW(QWidget* parent) : CDialog(parent), m_ui(std::make_unique<Ui::CDlgSetDW>()) {
    m_ui->setupUi(this);
    m_ui->preview->SetDragEnabled(false);
    connect(m_ui->ok, &QPushButton::clicked, this, &CDlgSetDW::OnOK);
    connect(m_ui->cancel, &QPushButton::clicked, this, &CDlgSetDW::OnCancel);
    connect(m_ui->edit1004, &QPlainTextEdit::textChanged, this, &CDlgSetDW::OnTextChanged);
    m_previewDue.setSingleShot(true);
    connect(&m_previewDue, &QTimer::timeout, this, &CDlgSetDW::RebuildPreview);
}

CDlgSetDW::~CDlgSetDW() = default;

bool CDlgSetDW::OnInitDialog() {
    QByteArray bytes;
    m_strText.clear();
    const QFileInfo file(LocalPath(m_strPath));
    if (file.size() > kMaxFileBytes) {
        MessageBox(this,
                   FormatText(QStringLiteral("单位划分文件“%s”有 %s，超过了 4 MB，无法在这里编辑。"), m_strPath,
                              QLocale(QLocale::Chinese, QLocale::China)
                                  .formattedDataSize(file.size(), 2, QLocale::DataSizeTraditionalFormat)),
                   QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
        EndDialog(IDCANCEL);
        return true;
    }
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

void CDlgSetDW::OnTextChanged() {
    if (m_previewDue.isActive())
        return; // the preview that is due takes this change too
    const qint64 wait = std::max<qint64>(kPreviewInterval, 4 * m_nPreviewCost);
    const qint64 since = m_sincePreview.isValid() ? m_sincePreview.elapsed() : wait;
    if (since >= wait)
        RebuildPreview();
    else
        m_previewDue.start(static_cast<int>(wait - since));
}

void CDlgSetDW::RebuildPreview() {
    const BusyCursor busy;
    m_previewDue.stop();
    QElapsedTimer cost;
    cost.start();
    showPreview();
    m_nPreviewCost = cost.elapsed();
    m_sincePreview.start();
}

void CDlgSetDW::showPreview() {
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
