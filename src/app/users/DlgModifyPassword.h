#pragma once
// "修改密码": the logged-in operator replaces his own password.

#include "adodb/Recordset.h"
#include "widgets/CDialog.h"

#include <memory>

namespace Ui {
class CDlgModifyPassword;
}

class CDlgModifyPassword : public CDialog {
    Q_OBJECT
public:
    explicit CDlgModifyPassword(QWidget* parent = nullptr);
    ~CDlgModifyPassword() override;

    QString m_strOld, m_strNew, m_strConfirm;

public slots:
    void OnOK() override;

protected:
    bool OnInitDialog() override;

private:
    void Refuse(const QString& message, QWidget* focus);
    // Moves to the first row of the current operator; FALSE when there is none.
    bool FindCurrentUser();

    std::unique_ptr<Ui::CDlgModifyPassword> m_ui;
    adodb::RecordsetPtr m_pRecordset;
    QString m_strStored; // the current operator's password
};
