#include "app/users/DlgSetRight2.h"

#include "app/users/Rights.h"
#include "app/users/UserTable.h"
#include "app/shell/VRINApp.h"
#include "platform/FormatText.h"
#include "platform/MessageService.h"
#include "records/ResidentCatalogue.h"
#include "ui_DlgSetRight2.h"

#include <QCollator>

using namespace adodb;

CDlgSetRight2::CDlgSetRight2(QWidget* parent)
    : CDialog(parent), m_ui(std::make_unique<Ui::CDlgSetRight2>()) {
    m_ui->setupUi(this);
    connect(m_ui->ok, &QPushButton::clicked, this, &CDlgSetRight2::OnOK);
    connect(m_ui->back, &QPushButton::clicked, this, &CDlgSetRight2::OnCancel);
    connect(m_ui->add, &QPushButton::clicked, this, &CDlgSetRight2::OnAddUser);
    connect(m_ui->remove, &QPushButton::clicked, this, &CDlgSetRight2::OnDeleteUser);
    for (QCheckBox* box : {m_ui->admin, m_ui->modify, m_ui->query})
        connect(box, &QCheckBox::clicked, this, &CDlgSetRight2::OnRightBox);
    connect(m_ui->user, &QComboBox::activated, this, &CDlgSetRight2::OnSelectUser);
}

CDlgSetRight2::~CDlgSetRight2() = default;

void CDlgSetRight2::BoxesToValue() {
    m_nRight = (m_bAdmin ? 1 : 0) + (m_bModify ? kRightModify : 0) + (m_bQuery ? kRightQuery : 0);
    if (m_bAdmin) {
        m_nRight = kAdministratorRight;
        m_bAdmin = m_bModify = m_bQuery = 1;
    }
}

void CDlgSetRight2::ValueToBoxes(int value) {
    m_bAdmin = (value & 1) ? 1 : 0;
    m_bModify = (value & kRightModify) ? 1 : 0;
    m_bQuery = (value & kRightQuery) ? 1 : 0;
    if (value == kAdministratorRight)
        m_bAdmin = m_bModify = m_bQuery = 1;
}

void CDlgSetRight2::UpdateData(bool saveAndValidate) {
    if (saveAndValidate) {
        m_strName = OperatorName(m_ui->user->currentText());
        m_bAdmin = m_ui->admin->isChecked();
        m_bModify = m_ui->modify->isChecked();
        m_bQuery = m_ui->query->isChecked();
    } else {
        m_ui->user->setCurrentText(m_strName);
        m_ui->admin->setChecked(m_bAdmin);
        m_ui->modify->setChecked(m_bModify);
        m_ui->query->setChecked(m_bQuery);
    }
}

void CDlgSetRight2::Report(const QString& message) {
    MessageBox(this, message, QStringLiteral("提示"), MB_OK);
}

void CDlgSetRight2::DatabaseError(const ComError& e) {
    try {
        if (m_pRecordset && m_pRecordset->GetState() == adStateOpen)
            m_pRecordset->CancelUpdate();
    } catch (const ComError&) {
    }
    MessageBox(this, QStringLiteral("访问用户表出错：\r\n") + e.Description(),
               QStringLiteral("提示"), MB_OK | MB_ICONEXCLAMATION);
}

bool CDlgSetRight2::FindUser(const QString& name) {
    return MoveToUser(m_pRecordset, name);
}

int CDlgSetRight2::RowRight() {
    return RightOf(m_pRecordset);
}

void CDlgSetRight2::WriteNameAndRight() {
    m_pRecordset->PutCollect(Variant("用户名"), Variant(m_strName));
    m_pRecordset->PutCollect(Variant("权限"), Variant(FormatText(QStringLiteral("%d"), m_nRight)));
}

int CDlgSetRight2::CountAdministrators() {
    int count = 0;
    m_pRecordset->MoveFirst();
    for (; !m_pRecordset->GetEOF(); m_pRecordset->MoveNext())
        if (RowRight() == kAdministratorRight)
            ++count;
    return count;
}

bool CDlgSetRight2::ValidName() {
    if (m_strName.isEmpty()) {
        Report(QStringLiteral("用户名不能为空!"));
        return false;
    }
    if (m_strName.size() > kUserNameSize) {
        Report(QStringLiteral("用户名不能超过10个字!"));
        return false;
    }
    return true;
}

bool CDlgSetRight2::OnInitDialog() {
    if (!IsAdministrator()) {
        Report(QStringLiteral("无设置权限!"));
        CDialog::OnOK();
        return true;
    }
    try {
        m_pRecordset = OpenUserTable();
        if (m_pRecordset->GetRecordCount() == 0) {
            m_pRecordset->AddNew();
            m_pRecordset->PutCollect(Variant("用户名"), Variant(kDefaultAdministrator));
            m_pRecordset->PutCollect(Variant("权限"),
                                     Variant(QString::number(kAdministratorRight)));
            m_pRecordset->PutCollect(Variant("密码"), Variant(kDefaultPassword));
            m_pRecordset->Update();
        }
        m_nSelected = 0;
        FillUsers();
    } catch (const ComError& e) {
        DatabaseError(e);
    }
    UpdateData(false);
    return true;
}

void CDlgSetRight2::FillUsers() {
    m_ui->user->clear();
    QStringList names;
    m_pRecordset->MoveFirst();
    for (; !m_pRecordset->GetEOF(); m_pRecordset->MoveNext())
        names << UserNameOf(m_pRecordset);
    QCollator collator(QLocale(QLocale::Chinese, QLocale::China));
    std::stable_sort(names.begin(), names.end(), [&](const QString& a, const QString& b) {
        return collator.compare(a, b) < 0;
    });
    m_ui->user->addItems(names);
    if (names.isEmpty()) {
        // Nobody left: no entry and empty boxes.
        m_strName.clear();
        m_strRemembered.clear();
        m_nRight = 0;
        ValueToBoxes(0);
        UpdateData(false);
        return;
    }
    // A kept index past the end (after a deletion) selects the last entry.
    m_nSelected = std::clamp(m_nSelected, 0, static_cast<int>(names.size()) - 1);
    m_ui->user->setCurrentIndex(m_nSelected);
    m_strName = m_strRemembered = names[m_nSelected];
    m_nRight = FindUser(m_strRemembered) ? RowRight() : 0;
    ValueToBoxes(m_nRight);
    UpdateData(false);
}

void CDlgSetRight2::OnSelectUser() {
    UpdateData(true);
    m_nSelected = m_ui->user->currentIndex();
    if (m_nSelected < 0)
        return;
    m_strName = m_strRemembered = m_ui->user->itemText(m_nSelected);
    try {
        m_nRight = FindUser(m_strRemembered) ? RowRight() : 0;
    } catch (const ComError& e) {
        DatabaseError(e);
    }
    ValueToBoxes(m_nRight);
    UpdateData(false);
}

void CDlgSetRight2::OnRightBox() {
    UpdateData(true);
    BoxesToValue();
    UpdateData(false);
}

void CDlgSetRight2::OnOK() {
    UpdateData(true);
    BoxesToValue();
    if (!m_pRecordset || !ValidName())
        return;
    try {
        RereadUsers(m_pRecordset);
        if (m_strName != m_strRemembered && FindUser(m_strName)) {
            Report(m_strName + QStringLiteral("用户名已存在!"));
            return;
        }
        if (!FindUser(m_strRemembered)) {
            Report(m_strRemembered + QStringLiteral("用户名不存在!"));
            return;
        }
        if (RowRight() == kAdministratorRight && m_nRight != kAdministratorRight &&
            CountAdministrators() <= 1) {
            Report(QStringLiteral("不能取消最后一个管理员的管理员权限！"));
            return;
        }
        FindUser(m_strRemembered);
        WriteNameAndRight();
        m_pRecordset->Update();
        FillUsers();
    } catch (const ComError& e) {
        DatabaseError(e);
    }
}

void CDlgSetRight2::OnAddUser() {
    UpdateData(true);
    BoxesToValue();
    if (!m_pRecordset || !ValidName())
        return;
    try {
        RereadUsers(m_pRecordset);
        if (FindUser(m_strName)) {
            Report(m_strName + QStringLiteral("用户名已存在!"));
            return;
        }
        m_pRecordset->AddNew();
        WriteNameAndRight();
        m_pRecordset->PutCollect(Variant("密码"), Variant(kDefaultPassword));
        m_pRecordset->Update();
        FillUsers();
    } catch (const ComError& e) {
        DatabaseError(e);
    }
}

void CDlgSetRight2::OnDeleteUser() {
    UpdateData(true);
    if (!m_pRecordset)
        return;
    try {
        RereadUsers(m_pRecordset);
        if (!FindUser(m_strName)) {
            Report(m_strName + QStringLiteral("用户名不存在!"));
            return;
        }
        if (RowRight() == kAdministratorRight && CountAdministrators() <= 1) {
            Report(QStringLiteral("不能删除最后一个管理员！"));
            return;
        }
        FindUser(m_strName);
        m_pRecordset->Delete(adAffectCurrent);
        FillUsers();
        UpdateData(false);
    } catch (const ComError& e) {
        DatabaseError(e);
    }
}
