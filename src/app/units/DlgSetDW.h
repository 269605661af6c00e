#pragma once
// "设置单位": the administrator edits the unit hierarchy file as text, with a tree preview
// that follows every change.

#include "widgets/CDialog.h"

#include <memory>

namespace Ui {
class CDlgSetDW;
}

class CDlgSetDW : public CDialog {
    Q_OBJECT
public:
    explicit CDlgSetDW(QWidget* parent = nullptr);
    ~CDlgSetDW() override;

    QString m_strPath;     // the hierarchy file, set by the opener
    QString m_strText;     // the edit box's text (line feeds)
    QString m_strPrevText; // the text of the last preview

    void RebuildPreview();

public slots:
    void OnOK() override; // "保存"

protected:
    bool OnInitDialog() override;

private:
    std::unique_ptr<Ui::CDlgSetDW> m_ui;
};
