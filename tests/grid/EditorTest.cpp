#include "GridFixture.h"

#include "grid/LCEditComboBox.h"

#include "adodb/ConnectionString.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

#include <sqlite3.h>

class EditorTest : public GridTest {
protected:
    // Opens the editor on a cell by double-clicking it, as the administrator would.
    CLCEditComboBox* Open(int row, int column) {
        CAdoGridCtrl& grid = *m_grid;
        grid.EnableEditing(true);
        m_window->show();
        QApplication::setActiveWindow(m_window.get());
        const QRect cell = grid.visualRect(grid.model()->index(row, column));
        QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier, cell.center());
        CLCEditComboBox* editor = grid.Editor();
        EXPECT_TRUE(editor->IsOpen());
        return editor;
    }
    // Types the text over the editor's and presses the key.
    void Enter(CLCEditComboBox* editor, const QString& text, Qt::Key key = Qt::Key_Return) {
        editor->lineEdit()->setText(text);
        QTest::keyClick(editor->lineEdit(), key);
    }
};

// One row per kind of edit: what is stored, and what the operator is told.
TEST_F(EditorTest, EditsAreStoredByTheColumnsKind) {
    CAdoGridCtrl& grid = Bind();
    struct Case {
        int row, column;
        QString text;
        QString field;
        QString stored;  // afterwards, in technical form
        QString message; // "" for none
        bool saved;      // the owner hears of a save
    };
    const QString number = QStringLiteral("%1 必须是数字！");
    const Case cases[] = {
        {0, 2, QStringLiteral("张三"), "姓名", "张三", "", false}, // unchanged
        {1, 6, QStringLiteral("是"), "股民", "TRUE", "", true},
        {0, 5, QStringLiteral("12.50"), "身高", "12.50000000", "", true},
        {0, 4, QStringLiteral("12"), "家庭人口", "12", "", true},
        {1, 4, QStringLiteral("abc"), "家庭人口", "2", number.arg("家庭人口"), false},
        {1, 4, QStringLiteral("99999999999"), "家庭人口", "2", number.arg("家庭人口"), false},
        {1, 5, QStringLiteral("1e400"), "身高", "0.00000000", number.arg("身高"), false},
        {3, 4, QString(), "家庭人口", "", "", true}, // empty stores null
        {1, 3, QStringLiteral("2002-13-45"), "出生日期", "1992-11-20 08:30:00",
         QStringLiteral("出生日期 日期格式输入错误！\r\n正确的格式如:\r\n[2002年12月1日15时45分],"
                        "[2002年12月1日],[2002年12月],[2002-12-1],[2002-12]……等"),
         false},
        {1, 3, QStringLiteral("2002年12月1日"), "出生日期", "2002-12-01 00:00:00", "", true},
        {2, 2, QString(11, QChar(0x4E00)), "姓名", "王五",
         QStringLiteral("保存失败。请确认该项是否可以修改，或者值是否存在!\n"), false}, // too long
    };
    for (const Case& c : cases) {
        const int key = grid.GetItemData(c.row);
        if (!c.message.isEmpty())
            m_boxes.Expect(c.message);
        QSignalSpy saved(&grid, &CAdoGridCtrl::gridCellSaved);
        CLCEditComboBox* editor = Open(c.row, c.column);
        Enter(editor, c.text);
        EXPECT_FALSE(editor->IsOpen());
        EXPECT_EQ(Stored(key, c.field), c.stored) << c.field.toStdString() << " <- " << c.text.toStdString();
        EXPECT_EQ(saved.size(), c.saved ? 1 : 0) << c.field.toStdString() << " <- " << c.text.toStdString();
        if (!c.message.isEmpty()) {
            ASSERT_FALSE(m_boxes.Boxes().empty());
            EXPECT_EQ(m_boxes.Boxes().back().owner, nullptr);
        }
    }
    EXPECT_EQ(grid.GetItemText(0, 5), QStringLiteral("12.50")) << "the saved row is re-read";
    EXPECT_EQ(grid.GetItemText(1, 6), QStringLiteral("是"));
}

TEST_F(EditorTest, EscapeNeverSaves) {
    CAdoGridCtrl& grid = Bind();
    CLCEditComboBox* editor = Open(0, 2);
    Enter(editor, QStringLiteral("改了"), Qt::Key_Escape);
    EXPECT_FALSE(editor->IsOpen());
    QApplication::processEvents();
    EXPECT_EQ(Stored(1, QStringLiteral("姓名")), QStringLiteral("张三"));
    EXPECT_EQ(grid.GetItemText(0, 2), QStringLiteral("张三"));
}

TEST_F(EditorTest, LeavingTheBoxSaves) {
    CAdoGridCtrl& grid = Bind();
    CLCEditComboBox* editor = Open(0, 2);
    editor->lineEdit()->setText(QStringLiteral("张三丰"));
    grid.setFocus(Qt::MouseFocusReason);
    QApplication::processEvents();
    EXPECT_FALSE(editor->IsOpen());
    EXPECT_EQ(Stored(1, QStringLiteral("姓名")), QStringLiteral("张三丰"));
}

// The choices: the column's distinct values without leading blanks, in pinyin order, 15
// rows dropped down; typing completes from them without regard to ASCII case, Backspace
// does not complete again.
TEST_F(EditorTest, ChoicesAndCompletion) {
    for (int i = 0; i < 40; ++i)
        Exec(QStringLiteral("INSERT INTO 基本情况表 (姓名,工作单位) VALUES ('x','  单位%1')")
                 .arg(i, 2, 10, QLatin1Char('0')));
    Exec(QStringLiteral("INSERT INTO 基本情况表 (姓名,工作单位) VALUES ('x','Alpha')"));
    CAdoGridCtrl& grid = Bind();
    CLCEditComboBox* editor = Open(0, 7);
    EXPECT_EQ(editor->count(), 43) << "一组, 二组, Alpha and 40 units";
    EXPECT_EQ(editor->itemText(0), QStringLiteral("单位00")) << "without the leading blanks";
    EXPECT_EQ(editor->itemText(40), QStringLiteral("二组")) << "pinyin: dan < er < yi";
    EXPECT_EQ(editor->itemText(41), QStringLiteral("一组"));
    EXPECT_EQ(editor->itemText(42), QStringLiteral("Alpha")) << "Latin after Han, as the database sorts";
    EXPECT_EQ(editor->maxVisibleItems(), 15);
    EXPECT_EQ(editor->property("ctrlId").toInt(), 1110);

    QLineEdit* edit = editor->lineEdit();
    edit->clear();
    QTest::keyClicks(edit, QStringLiteral("al"));
    EXPECT_EQ(edit->text(), QStringLiteral("Alpha"));
    EXPECT_EQ(edit->selectedText(), QStringLiteral("pha"));
    QTest::keyClick(edit, Qt::Key_Backspace);
    EXPECT_EQ(edit->text(), QStringLiteral("Al")) << "the completed part is gone, nothing re-completed";
    QTest::keyClick(edit, Qt::Key_Escape);
    EXPECT_EQ(Stored(1, QStringLiteral("工作单位")), QStringLiteral("一组"));
    (void)grid;
}

// The key identifies the row: a double-click on it opens no editor.
TEST_F(EditorTest, TheKeyColumnIsNotEditable) {
    CAdoGridCtrl& grid = Bind();
    grid.EnableEditing(true);
    m_window->show();
    ASSERT_EQ(grid.GetHeadingText(1), QStringLiteral("编号"));
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                       grid.visualRect(grid.model()->index(0, 1)).center());
    EXPECT_FALSE(grid.Editor()->IsOpen());
}

// The editor is found by assistive technology as an editable combo box named after its
// column.
TEST_F(EditorTest, TheEditorIsAnEditableComboBoxNamedAfterItsColumn) {
    Bind();
    CLCEditComboBox* editor = Open(0, 2);
    QAccessibleInterface* box = QAccessible::queryAccessibleInterface(editor);
    ASSERT_TRUE(box);
    EXPECT_EQ(box->role(), QAccessible::ComboBox);
    EXPECT_TRUE(box->state().editable);
    EXPECT_EQ(box->text(QAccessible::Name), QStringLiteral("姓名"));
    // Reachable from the window, as every other control.
    bool found = false;
    std::function<void(QAccessibleInterface*, int)> walk = [&](QAccessibleInterface* node, int depth) {
        if (!node || depth > 6 || found)
            return;
        if (node->object() == editor)
            found = true;
        for (int i = 0; i < node->childCount(); ++i)
            walk(node->child(i), depth + 1);
    };
    walk(QAccessible::queryAccessibleInterface(m_window.get()), 0);
    EXPECT_TRUE(found);
    QTest::keyClick(editor->lineEdit(), Qt::Key_Escape);
}

// Another workstation saved the field after the editor opened: the second save is refused
// as a write conflict, the first value stays and the list shows it.
TEST_F(EditorTest, AnotherUsersSaveSinceOpeningIsAConflict) {
    CAdoGridCtrl& grid = Bind();
    CLCEditComboBox* editor = Open(0, 2);
    CAdoConnection other;
    ASSERT_TRUE(other.OpenJetDatabase(m_path));
    ASSERT_TRUE(other.Execute(QStringLiteral("UPDATE 基本情况表 SET 姓名='张叁' WHERE 编号=1"), adodb::adCmdText));
    m_boxes.OnNextBox([](const ScriptedResponder::Box& box) {
        EXPECT_TRUE(box.text.contains(QStringLiteral("无法定位要更新的行"))) << box.text.toStdString();
    });
    m_boxes.Answer(IDOK);
    QSignalSpy saved(&grid, &CAdoGridCtrl::gridCellSaved);
    Enter(editor, QStringLiteral("张三丰"));
    EXPECT_FALSE(editor->IsOpen());
    EXPECT_EQ(saved.size(), 0);
    EXPECT_EQ(Stored(1, QStringLiteral("姓名")), QStringLiteral("张叁"));
    EXPECT_EQ(grid.GetItemText(0, 2), QStringLiteral("张叁"));
}

// A database locked past the wait: the operator is told, the typed text stays in the open
// editor, and Enter once the lock is gone saves it.
TEST_F(EditorTest, ALockedRowKeepsTheTypedTextForAnotherEnter) {
    m_conn.Close();
    ASSERT_TRUE(m_conn.Open(adodb::JetConnectionString(m_path) + QStringLiteral("; Busy Timeout=50")));
    CAdoGridCtrl& grid = Bind();
    CLCEditComboBox* editor = Open(0, 2);
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(m_path.toUtf8().constData(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "BEGIN EXCLUSIVE", nullptr, nullptr, nullptr), SQLITE_OK);
    m_boxes.OnNextBox([](const ScriptedResponder::Box& box) {
        EXPECT_TRUE(box.text.contains(QStringLiteral("锁定"))) << box.text.toStdString();
    });
    m_boxes.Answer(IDOK);
    Enter(editor, QStringLiteral("张三丰"));
    EXPECT_TRUE(editor->IsOpen());
    EXPECT_EQ(editor->lineEdit()->text(), QStringLiteral("张三丰"));
    sqlite3_exec(other, "ROLLBACK", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    QSignalSpy saved(&grid, &CAdoGridCtrl::gridCellSaved);
    QTest::keyClick(editor->lineEdit(), Qt::Key_Return);
    EXPECT_FALSE(editor->IsOpen());
    EXPECT_EQ(saved.size(), 1);
    EXPECT_EQ(Stored(1, QStringLiteral("姓名")), QStringLiteral("张三丰"));
}
