#include "app/shell/AboutDlg.h"

#include "widgets/ControlIds.h"
#include "widgets/Resources.h"

#include <QGridLayout>
#include <QLabel>
#include <QPushButton>

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(parent) {
    setWindowTitle(QStringLiteral("关于VRIN"));
    auto* layout = new QGridLayout(this);
    auto* icon = new QLabel(this);
    icon->setPixmap(LoadBitmapResource(IDI_START));
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    auto* version = new QLabel(QStringLiteral("VRIN 2.0 版"), this);
    layout->addWidget(version, 0, 1);
    layout->addWidget(new QLabel(QStringLiteral("村（居）民户籍人员档案管理"), this), 1, 1);
    layout->addWidget(
        new QLabel(QStringLiteral("人员档案、户籍证明、人员情况表、电子表格导入导出"), this), 2, 1);
    auto* ok = new QPushButton(QStringLiteral("确定"), this);
    ok->setDefault(true);
    SetControlId(ok, 1);
    layout->addWidget(ok, 0, 2);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::OnOK);
}
