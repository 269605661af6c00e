#pragma once
// A small table of residents in a temporary application directory, and a grid bound to it
// on a window titled "人员档案", as the archive window binds its list.

#include "ado/AdoConnection.h"
#include "grid/AdoGridCtrl.h"

#include "ModalDriver.h"
#include "TestSupport.h"

#include <QDialog>

#include <memory>

class GridTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    void Exec(const QString& sql);
    // A new window and grid bound to the table, filled with Refresh(TRUE).
    CAdoGridCtrl& Bind(const QString& table = QStringLiteral("基本情况表"));
    // The texts of one column over all rows.
    QStringList ColumnTexts(int column) const;
    QStringList Headings() const;
    // The value of one field of a record, as text (empty for null).
    QString Stored(int key, const QString& field);
    void DestroyGrid() { m_window.reset(); }

    TestDir m_appDir;
    QString m_path;
    CAdoConnection m_conn;
    TestResponder m_boxes;
    TestFileDialogs m_files;
    std::unique_ptr<QDialog> m_window;
    CAdoGridCtrl* m_grid = nullptr;
};
