#pragma once
// "设置单位": the community name the main window shows and certificates carry.

#include "widgets/CDialog.h"

#include <memory>

namespace Ui {
class CDlgSetInfo;
}

class CDlgSetInfo : public CDialog {
    Q_OBJECT
public:
    explicit CDlgSetInfo(QWidget* parent = nullptr);
    ~CDlgSetInfo() override;

    // Preset by the caller; read back after IDOK.
    QString m_strName;

public slots:
    void OnOK() override;

protected:
    bool OnInitDialog() override;

private:
    std::unique_ptr<Ui::CDlgSetInfo> m_ui;
};
