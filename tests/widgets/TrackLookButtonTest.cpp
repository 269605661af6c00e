#include "widgets/TrackLookButton.h"
#include "platform/Trace.h"
#include "widgets/Resources.h"

#include "TestSupport.h"

#include <QApplication>
#include <QImage>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QVBoxLayout>

namespace {

QPixmap solid(QColor colour) {
    QPixmap p(12, 12);
    p.fill(colour);
    return p;
}

bool contains(const QImage& image, QColor colour) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

struct Window {
    QWidget widget;
    QLineEdit* other = new QLineEdit(&widget);
    CTrackLookButton* button = new CTrackLookButton(&widget);
    Window() {
        auto* layout = new QVBoxLayout(&widget);
        layout->addWidget(other);
        layout->addWidget(button);
        button->setText(QStringLiteral("登录"));
        widget.show();
        QApplication::setActiveWindow(&widget);
        other->setFocus();
    }
};

} // namespace

TEST(TrackLookButton, TheFirstPressOnlyFocusesAndTheReleaseClicks) {
    Window w;
    QSignalSpy clicks(w.button, &QAbstractButton::clicked);
    const QPoint centre = w.button->rect().center();
    QTest::mousePress(w.button, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_TRUE(w.button->hasFocus());
    EXPECT_EQ(clicks.count(), 0);
    QTest::mouseRelease(w.button, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(clicks.count(), 1);
    // Now focused: the press sinks it, the release raises it and clicks again.
    QTest::mousePress(w.button, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(w.button->GetBorder(), CTrackLookButton::Sunken);
    QTest::mouseRelease(w.button, Qt::LeftButton, Qt::NoModifier, centre);
    EXPECT_EQ(w.button->GetBorder(), CTrackLookButton::Raised);
    EXPECT_EQ(clicks.count(), 2);
}

TEST(TrackLookButton, RisesUnderThePointerAndFlattensWhenItLeaves) {
    Window w;
    EXPECT_EQ(w.button->GetBorder(), CTrackLookButton::Flat);
    QTest::mouseMove(w.button, w.button->rect().center());
    QMouseEvent inside(QEvent::MouseMove, QPointF(w.button->rect().center()),
                       w.button->mapToGlobal(QPointF(w.button->rect().center())), Qt::NoButton,
                       Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.button, &inside);
    EXPECT_EQ(w.button->GetBorder(), CTrackLookButton::Raised);
    EXPECT_TRUE(w.button->IsHot());
    QMouseEvent outside(QEvent::MouseMove, QPointF(-5, -5), w.button->mapToGlobal(QPointF(-5, -5)),
                        Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(w.button, &outside);
    EXPECT_EQ(w.button->GetBorder(), CTrackLookButton::Flat);
    EXPECT_FALSE(w.button->IsHot());
}

TEST(TrackLookButton, ADisabledButtonDrawsItsDisabledBitmapAndEmbossedText) {
    RegisterBitmapResource(9001, solid(QColor(255, 0, 0)));
    RegisterBitmapResource(9002, solid(QColor(0, 255, 0)));
    RegisterBitmapResource(9003, solid(QColor(0, 0, 255)));
    Window w;
    ASSERT_TRUE(w.button->LoadBitmaps(9001, 9002, 9003));
    w.button->SetAlignment(1);
    w.button->resize(120, 30);
    QFont exact = w.button->font();
    exact.setStyleStrategy(QFont::NoAntialias); // text pixels in exactly the pen's colour
    exact.setPointSize(14);
    w.button->setFont(exact);
    QImage enabled = w.button->grab().toImage();
    EXPECT_TRUE(contains(enabled, QColor(255, 0, 0)));
    EXPECT_FALSE(contains(enabled, QColor(0, 0, 255)));
    w.button->setEnabled(false);
    QImage disabled = w.button->grab().toImage();
    EXPECT_TRUE(contains(disabled, QColor(0, 0, 255)));
    EXPECT_FALSE(contains(disabled, QColor(255, 0, 0)));
    const QPalette& pal = w.button->palette();
    EXPECT_TRUE(contains(disabled, pal.color(QPalette::Light)))
        << "the raised part of the embossed text";
    EXPECT_TRUE(contains(disabled, pal.color(QPalette::Dark)));
}

TEST(TrackLookButton, MissingBitmapsAreTracedAndRefused) {
    ScopedTraceCapture trace;
    CTrackLookButton button;
    EXPECT_FALSE(button.LoadBitmaps(8999));
    EXPECT_FALSE(button.LoadBitmaps(IDB_LOGIN_OK, 0, 8999));
    EXPECT_EQ(trace.Lines(), QStringList({"Failed to Load First bitmap of CButton\n",
                                          "Failed to Load bitmap of CButton\n"}));
    EXPECT_TRUE(button.LoadBitmaps(IDB_LOGIN_OK, IDB_LOGIN_OK, IDB_LOGIN_OK));
}
