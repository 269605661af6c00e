#pragma once
// "网络设置": the address of the machine whose shared folder holds the database.

#include "widgets/CDialog.h"

#include <memory>

namespace Ui {
class CDlgSetWL;
}

class CDlgSetWL : public CDialog {
    Q_OBJECT
public:
    explicit CDlgSetWL(QWidget* parent = nullptr);
    ~CDlgSetWL() override;

    QString m_strServer;

public slots:
    void OnOK() override;

protected:
    bool OnInitDialog() override;

private:
    std::unique_ptr<Ui::CDlgSetWL> m_ui;
};
