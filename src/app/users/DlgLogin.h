#pragma once
// "登录": the operator picks or types a name and the password; the login checks them
// against the user table, records the login in the operator's row, makes the operator the
// current user and remembers the name for the next start.

#include "adodb/Recordset.h"
#include "widgets/CDialog.h"

#include <memory>

namespace Ui {
class CDlgLogin;
}

class CDlgLogin : public CDialog {
    Q_OBJECT
public:
    explicit CDlgLogin(QWidget* parent = nullptr);
    ~CDlgLogin() override;

    QString m_strUser;
    QString m_strPassword;
    QString m_strServer; // preset in network mode; read back by start-up

public slots:
    void OnOK() override;

protected:
    bool OnInitDialog() override;

private:
    void UpdateData(bool saveAndValidate);
    bool OpenUsers();
    void Refuse(const QString& message, QWidget* focus);

    std::unique_ptr<Ui::CDlgLogin> m_ui;
    adodb::RecordsetPtr m_pRecordset;
};
