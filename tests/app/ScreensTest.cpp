// Every caption of every screen shows whole at 1366×768: labels, check boxes, radio buttons,
// buttons and frame titles are as wide as their text and lie within their parents and frames.

#include "AppFixture.h"

#include "ResidentDatabase.h"
#include "app/archive/DlgGJRY.h"
#include "app/settings/SettingsFiles.h"
#include "app/detail/DlgRYXXQK.h"
#include "app/units/DlgSetDW.h"
#include "app/users/Rights.h"
#include "grid/AdoGridCtrl.h"
#include "grid/AdoHeaderCtrl.h"
#include "records/ResidentCatalogue.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>

namespace {

QString nameOf(const QWidget* w) {
    return QStringLiteral("%1 “%2”").arg(QString::fromLatin1(w->metaObject()->className()),
                                         w->property("text").toString().isEmpty()
                                             ? w->objectName()
                                             : w->property("text").toString());
}

// The width a caption needs to show whole; 0 for a control without one.
int neededWidth(const QWidget* w) {
    if (auto* label = qobject_cast<const QLabel*>(w)) {
        if (label->text().isEmpty() || label->wordWrap() || label->textFormat() == Qt::RichText)
            return 0;
        const int frame = label->width() - label->contentsRect().width();
        return label->fontMetrics().horizontalAdvance(label->text()) + frame + 2 * label->margin();
    }
    if (qobject_cast<const QCheckBox*>(w) || qobject_cast<const QRadioButton*>(w))
        return static_cast<const QAbstractButton*>(w)->text().isEmpty() ? 0 : w->sizeHint().width();
    if (auto* button = qobject_cast<const QPushButton*>(w)) {
        if (button->text().isEmpty())
            return 0;
        const int icon = button->icon().isNull() ? 0 : button->iconSize().width() + 4;
        return button->fontMetrics().horizontalAdvance(button->text()) + icon +
               2 * button->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, button);
    }
    if (auto* box = qobject_cast<const QGroupBox*>(w))
        return box->title().isEmpty() ? 0 : box->fontMetrics().horizontalAdvance(box->title()) + 16;
    return 0;
}

// The captions of a window that do not show whole.
QStringList clippedCaptions(QWidget* window) {
    QStringList clipped;
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window) || w->isWindow())
            continue;
        const int needed = neededWidth(w);
        if (needed == 0)
            continue;
        if (w->width() < needed)
            clipped << QStringLiteral("%1: %2 wide, needs %3").arg(nameOf(w)).arg(w->width()).arg(needed);
        QWidget* parent = w->parentWidget();
        if (parent && !parent->rect().contains(w->geometry()))
            clipped << nameOf(w) + QStringLiteral(": outside its parent");
        // A caption that reaches into a frame lies inside it.
        for (QObject* o : parent ? parent->children() : QObjectList()) {
            auto* frame = qobject_cast<QGroupBox*>(o);
            if (frame && frame != w && frame->isVisibleTo(window) && frame->geometry().intersects(w->geometry()) &&
                !frame->geometry().adjusted(2, 2, -2, -2).contains(w->geometry()))
                clipped << nameOf(w) + QStringLiteral(": across the frame's edge");
        }
    }
    return clipped;
}

} // namespace

class ScreensTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        OpenDemoArchive(m_app, 60, 3);
        m_app.m_strCurrentUser = QStringLiteral("管理员");
    }
    void expectWhole(QDialog& dialog) {
        dialog.show();
        QApplication::processEvents();
        EXPECT_EQ(clippedCaptions(&dialog).join(QStringLiteral("\n")), QString())
            << dialog.windowTitle().toStdString() << " at " << dialog.width() << "×" << dialog.height();
        dialog.hide();
    }
    CVRINApp m_app;
};

TEST_F(ScreensTest, EveryDialogShowsItsCaptionsWhole) {
    std::vector<std::unique_ptr<QDialog>> dialogs = SettingsAndUserDialogs();
    auto* units = new CDlgSetDW;
    units->m_strPath = m_appDir.Path(kUnitFile);
    dialogs.emplace_back(units);
    auto* query = new CDlgRYXXQK;
    query->m_nMode = CDlgRYXXQK::Query;
    dialogs.emplace_back(query);
    for (const auto& dialog : dialogs)
        expectWhole(*dialog);
}

// The archive window as large as a 1366×768 and a 1920×1080 screen; its column headings are
// cut with an ellipsis where a column is narrower than its heading.
TEST_F(ScreensTest, TheArchiveWindowShowsItsCaptionsWholeOnCommonScreens) {
    CDlgGJRY window;
    RunArchive(window, [&](CDlgGJRY& w) {
        for (const QSize screen : {QSize(1366, 768 - 40), QSize(1920, 1080 - 40)}) {
            w.setGeometry(QRect(QPoint(0, 0), screen));
            QApplication::processEvents();
            EXPECT_EQ(clippedCaptions(&w).join(QStringLiteral("\n")), QString()) << screen.width();
        }
        EXPECT_EQ(w.Grid()->Header()->textElideMode(), Qt::ElideRight);
    });
}
