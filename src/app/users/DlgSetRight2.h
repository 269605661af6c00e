#pragma once
// "设置权限": the administrator adds, renames and deletes operators and sets their rights.

#include "adodb/Recordset.h"
#include "widgets/CDialog.h"

#include <memory>

namespace Ui {
class CDlgSetRight2;
}

class CDlgSetRight2 : public CDialog {
    Q_OBJECT
public:
    explicit CDlgSetRight2(QWidget* parent = nullptr);
    ~CDlgSetRight2() override;

    QString m_strName;       // the name text of combo 1067
    int m_bAdmin = 0;        // box 1033 "管理员"
    int m_bModify = 0;       // box 1038 "增加/删除/修改"
    int m_bQuery = 0;        // box 1039 "查询"
    int m_nRight = 0;        // the rights value the boxes stand for
    QString m_strRemembered; // the operator the boxes belong to
    int m_nSelected = 0;     // position of the selected entry in the sorted list

    // 1 + 2 + 4 by the boxes; the administrator box makes it 99 and ticks all three.
    void BoxesToValue();
    void ValueToBoxes(int value);

public slots:
    void OnOK() override; // "修改"
    void OnAddUser();
    void OnDeleteUser();
    void OnRightBox();
    void OnSelectUser();

protected:
    bool OnInitDialog() override;

private:
    void FillUsers();
    void UpdateData(bool saveAndValidate);
    // Moves to the first row whose name, trailing blanks removed, is name.
    bool FindUser(const QString& name);
    int RowRight();
    void WriteNameAndRight(); // the name text and the rights value into the current row
    int CountAdministrators();
    bool ValidName();
    void Report(const QString& message);
    void DatabaseError(const adodb::ComError& e);

    std::unique_ptr<Ui::CDlgSetRight2> m_ui;
    adodb::RecordsetPtr m_pRecordset;
};
