#include "widgets/ControlIds.h"
#include "widgets/SplitterControl.h"

#include "TestSupport.h"

#include <QApplication>
#include <QMouseEvent>

namespace {

void send(QWidget* target, QEvent::Type type, QPoint parentPoint, Qt::MouseButtons buttons) {
    QPoint global = target->parentWidget()->mapToGlobal(parentPoint);
    QMouseEvent e(type, QPointF(target->mapFromGlobal(global)), QPointF(global), Qt::LeftButton,
                  buttons, Qt::NoModifier);
    QApplication::sendEvent(target, &e);
}

struct Drag {
    QList<SplitterNotify> notes;
};

} // namespace

TEST(Splitter, ADragStopsAtTheRangeAndReportsTheClampedDistance) {
    QWidget owner;
    owner.resize(800, 400);
    owner.show();
    CSplitterControl bar;
    ASSERT_TRUE(bar.Create(0, QRect(200, 10, 12, 300), &owner, 1005));
    EXPECT_EQ(bar.GetOrientation(), CSplitterControl::Vertical);
    EXPECT_EQ(bar.geometry(), QRect(200, 10, 5, 300));
    EXPECT_EQ(ControlId(&bar), 1005);
    EXPECT_EQ(bar.GetMinimum(), 202);
    bar.SetRange(100, 500);
    Drag drag;
    QObject::connect(&bar, &CSplitterControl::Notify,
                     [&](const SplitterNotify& n) { drag.notes << n; });

    send(&bar, QEvent::MouseButtonPress, QPoint(202, 100), Qt::LeftButton);
    EXPECT_TRUE(bar.IsDragging());
    send(&bar, QEvent::MouseMove, QPoint(700, 100), Qt::LeftButton);
    EXPECT_EQ(bar.TrackingPosition(), 500);
    send(&bar, QEvent::MouseButtonRelease, QPoint(700, 100), Qt::NoButton);
    ASSERT_EQ(drag.notes.size(), 1);
    EXPECT_EQ(drag.notes[0].code, SPN_MOVED);
    EXPECT_EQ(drag.notes[0].idFrom, 1005);
    EXPECT_EQ(drag.notes[0].delta, 298);
    EXPECT_EQ(bar.geometry().center().x(), 500);

    send(&bar, QEvent::MouseButtonPress, QPoint(500, 100), Qt::LeftButton);
    send(&bar, QEvent::MouseMove, QPoint(20, 100), Qt::LeftButton);
    send(&bar, QEvent::MouseButtonRelease, QPoint(20, 100), Qt::NoButton);
    ASSERT_EQ(drag.notes.size(), 2);
    EXPECT_EQ(drag.notes[1].delta, -400);
}

TEST(Splitter, AWideRectangleMakesAHorizontalBarAtItsBottom) {
    QWidget owner;
    CSplitterControl bar;
    ASSERT_TRUE(bar.Create(0, QRect(0, 100, 300, 20), &owner, 7));
    EXPECT_EQ(bar.GetOrientation(), CSplitterControl::Horizontal);
    EXPECT_EQ(bar.geometry(), QRect(0, 115, 300, 5));
}

TEST(Splitter, ChangingAWidthMovesOneEdge) {
    QWidget owner, tree(&owner), list(&owner);
    tree.setGeometry(0, 0, 200, 100);
    list.setGeometry(205, 0, 300, 100);
    SplitterChangeWidth(&tree, 40, 1);
    SplitterChangeWidth(&list, -40, 2);
    EXPECT_EQ(tree.geometry(), QRect(0, 0, 240, 100));
    EXPECT_EQ(list.geometry(), QRect(245, 0, 260, 100));
}
