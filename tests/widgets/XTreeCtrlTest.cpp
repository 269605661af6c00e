#include "widgets/XTreeCtrl.h"
#include "widgets/LayoutDialog.h"

#include "platform/Trace.h"
#include "widgets/ControlIds.h"

#include "ModalDriver.h"
#include "TestSupport.h"

#include <QApplication>
#include <QScrollBar>
#include <QMouseEvent>
#include <QSignalSpy>
#include <QSizeGrip>
#include <QTest>

namespace {

// R ( A ( A1, A2 ), B ), every item open.
struct Tree {
    CXTreeCtrl tree;
    QTreeWidgetItem *r, *a, *a1, *a2, *b;
    Tree() {
        r = new QTreeWidgetItem(&tree, {QStringLiteral("R")});
        a = new QTreeWidgetItem(r, {QStringLiteral("A")});
        a1 = new QTreeWidgetItem(a, {QStringLiteral("A1")});
        a2 = new QTreeWidgetItem(a, {QStringLiteral("A2")});
        b = new QTreeWidgetItem(r, {QStringLiteral("B")});
        tree.expandAll();
        tree.resize(300, 300);
        tree.show();
    }
    QPoint at(QTreeWidgetItem* item) const { return tree.visualItemRect(item).center(); }
    void send(QEvent::Type type, QPoint at, Qt::MouseButton button, Qt::MouseButtons buttons) {
        QMouseEvent e(type, at, tree.viewport()->mapToGlobal(at), button, buttons, Qt::NoModifier);
        QApplication::sendEvent(tree.viewport(), &e);
    }
    // Press on one item, wait, move to a point and release there.
    void drag(QTreeWidgetItem* item, QPoint to, int waitMs = 210) {
        send(QEvent::MouseButtonPress, at(item), Qt::LeftButton, Qt::LeftButton);
        QTest::qWait(waitMs);
        send(QEvent::MouseMove, to, Qt::NoButton, Qt::LeftButton);
        send(QEvent::MouseButtonRelease, to, Qt::LeftButton, Qt::NoButton);
    }
    QString shape(QTreeWidgetItem* item = nullptr) const {
        QStringList parts;
        const int n = item ? item->childCount() : tree.topLevelItemCount();
        for (int k = 0; k < n; ++k) {
            QTreeWidgetItem* c = item ? item->child(k) : tree.topLevelItem(k);
            const QString inner = shape(c);
            parts << c->text(0) + (inner.isEmpty() ? QString() : QLatin1Char('(') + inner + QLatin1Char(')'));
        }
        return parts.join(QLatin1Char(','));
    }
};

} // namespace

TEST(XTreeCtrl, ABranchMovesOntoAnotherItem) {
    Tree t;
    QSignalSpy notify(&t.tree, &CXTreeCtrl::xtreeNotify);
    QSignalSpy finished(&t.tree, &CXTreeCtrl::dragFinished);
    t.drag(t.a, t.at(t.b));
    EXPECT_EQ(t.shape(), QStringLiteral("R(B(A(A1,A2)))"));
    ASSERT_EQ(notify.size(), 2);
    EXPECT_EQ(notify[0][0].toInt(), CXTreeCtrl::DragBegin);
    EXPECT_EQ(notify[1][0].toInt(), CXTreeCtrl::BranchMoved);
    EXPECT_EQ(t.tree.currentItem()->text(0), QStringLiteral("A")) << "the copy is selected";
    EXPECT_EQ(finished.size(), 1);
    EXPECT_FALSE(t.tree.IsDragging());
    EXPECT_FALSE(t.tree.TimerRunning(CXTreeCtrl::kScrollTimer));
}

TEST(XTreeCtrl, DropsOnItselfOnADescendantAndNearTheLeftEdge) {
    {
        Tree t;
        QSignalSpy notify(&t.tree, &CXTreeCtrl::xtreeNotify);
        QSignalSpy finished(&t.tree, &CXTreeCtrl::dragFinished);
        t.drag(t.a, t.at(t.a) + QPoint(10, 0));
        EXPECT_EQ(t.shape(), QStringLiteral("R(A(A1,A2),B)")) << "onto itself: nothing";
        EXPECT_EQ(notify.size(), 1);
        EXPECT_EQ(finished.size(), 1) << "the drag has ended all the same";
    }
    {
        Tree t;
        QSignalSpy notify(&t.tree, &CXTreeCtrl::xtreeNotify);
        t.drag(t.a, t.at(t.a2));
        EXPECT_EQ(t.shape(), QStringLiteral("R(A(A1,A2(A(A1,A2))),B)"))
            << "onto a descendant: the branch stays, a copy goes under it";
        EXPECT_EQ(notify.size(), 1) << "and the owner is not told of a move";
    }
    {
        Tree t;
        t.drag(t.a1, QPoint(5, t.at(t.b).y()));
        EXPECT_EQ(t.shape(), QStringLiteral("R(A(A2),B),A1")) << "the left edge: the root level";
    }
}

TEST(XTreeCtrl, APressTooShortBeforeTheMoveStartsNoDrag) {
    Tree t;
    QSignalSpy notify(&t.tree, &CXTreeCtrl::xtreeNotify);
    t.drag(t.a, t.at(t.b), 0);
    EXPECT_TRUE(notify.isEmpty());
    EXPECT_EQ(t.shape(), QStringLiteral("R(A(A1,A2),B)"));
}

// The scroll timer's tick rule: the nearer the edge (or the farther past it), the more
// often it scrolls.
TEST(XTreeCtrl, TheScrollTickRule) {
    Tree t;
    for (int k = 0; k < 200; ++k)
        new QTreeWidgetItem(t.b, {QStringLiteral("b%1").arg(k)});
    t.tree.expandAll();
    t.tree.resize(300, 120);
    QPoint cursor;
    t.tree.SetCursorSource([&] { return t.tree.viewport()->mapToGlobal(cursor); });
    struct Case {
        int y; // against the viewport's top
        int every;
    };
    for (const Case& c : {Case{5, 6}, Case{-15, 5}, Case{-95, 1}}) {
        cursor = QPoint(50, c.y);
        t.tree.verticalScrollBar()->setValue(100);
        const int start = t.tree.verticalScrollBar()->value();
        int scrolled = 0;
        for (int tick = 0; tick < 30; ++tick) {
            t.tree.OnTimer(CXTreeCtrl::kScrollTimer);
            scrolled = start - t.tree.verticalScrollBar()->value();
        }
        EXPECT_EQ(scrolled, 30 / c.every) << "y " << c.y;
    }
    cursor = QPoint(50, t.tree.viewport()->height() - 5);
    const int before = t.tree.verticalScrollBar()->value();
    for (int tick = 0; tick < 6; ++tick)
        t.tree.OnTimer(CXTreeCtrl::kScrollTimer);
    EXPECT_EQ(t.tree.verticalScrollBar()->value(), before + 1) << "near the bottom: down";
    EXPECT_TRUE(t.tree.DropTarget());
}

TEST(XTreeCtrl, SelectionFlags) {
    Tree t;
    EXPECT_EQ(CXTreeCtrl::SelectionFlags(nullptr), 0u);
    EXPECT_EQ(CXTreeCtrl::SelectionFlags(t.r), 0x01u);
    EXPECT_EQ(CXTreeCtrl::SelectionFlags(t.a), 0x01u | 0x04 | 0x10);
    EXPECT_EQ(CXTreeCtrl::SelectionFlags(t.b), 0x01u | 0x08 | 0x20 | 0x10);
    ScopedTraceCapture trace;
    QSignalSpy changed(&t.tree, &CXTreeCtrl::xtreeSelChanged);
    t.tree.setCurrentItem(t.a1);
    ASSERT_EQ(changed.size(), 1);
    EXPECT_EQ(changed[0][0].toUInt(), 0x01u | 0x04 | 0x10);
    EXPECT_EQ(trace.Lines(), QStringList{QStringLiteral("selected item changed\n")});
}

namespace {
class Resizable : public CLayoutDialog {
public:
    QWidget *right, *wide, *half;
    Resizable() {
        resize(400, 300);
        right = new QWidget(this);
        right->setGeometry(300, 10, 50, 20);
        SetControlId(right, 1);
        wide = new QWidget(this);
        wide->setGeometry(10, 50, 200, 100);
        SetControlId(wide, 2);
        half = new QWidget(this);
        half->setGeometry(10, 200, 50, 20);
        SetControlId(half, 3);
        SetLayout(kTable, 4);
    }
    static constexpr int kTable[] = {1, MoveRight, 100, 2, GrowBoth, 100, 3, MoveRightDown, 50,
                                     99, MoveRight, 100};
};
} // namespace

TEST(LayoutDialog, ControlsFollowTheSizeByTheirModes) {
    EXPECT_EQ(CLayoutDialog::Apply(QRect(0, 0, 10, 10), CLayoutDialog::GrowWidthMoveDown, 100, 5, 7),
              QRect(0, 7, 15, 10));
    EXPECT_EQ(CLayoutDialog::Apply(QRect(0, 0, 10, 10), CLayoutDialog::MoveRight, 50, -3, 0),
              QRect(-1, 0, 10, 10)) << "truncated toward zero";
    EXPECT_EQ(CLayoutDialog::Apply(QRect(0, 0, 10, 10), 7, 100, 5, 5), QRect(0, 0, 10, 10));

    Resizable dialog;
    ModalDriver driver;
    driver.Then([](QDialog& d) {
        auto& r = static_cast<Resizable&>(d);
        EXPECT_EQ(r.minimumSize(), QSize(400, 300));
        ASSERT_TRUE(r.Grip());
        EXPECT_TRUE(r.Grip()->isVisible());
        r.resize(410, 320);
        EXPECT_EQ(r.right->geometry(), QRect(310, 10, 50, 20));
        EXPECT_EQ(r.wide->geometry(), QRect(10, 50, 210, 120));
        EXPECT_EQ(r.half->geometry(), QRect(15, 210, 50, 20));
        r.resize(400, 300);
        EXPECT_EQ(r.right->geometry(), QRect(300, 10, 50, 20)) << "back in place";
        for (int k = 1; k <= 4; ++k)
            r.resize(400 + k, 300);
        EXPECT_EQ(r.half->geometry().x(), 10) << "50 % of one pixel at a time is nothing";
        EXPECT_EQ(r.Grip()->geometry().bottomRight(), QPoint(r.width() - 1, r.height() - 1));
        r.EndDialog(IDCANCEL);
    });
    dialog.DoModal();
}
