#include "GridFixture.h"

#include "grid/LCEditComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

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
        {2, 1, QStringLiteral("77"), "编号", "3",
         QStringLiteral("保存失败。请确认该项是否可以修改，或者值是否存在!\n"), false}, // the key
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
