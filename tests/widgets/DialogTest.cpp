#include "widgets/CDialog.h"
#include "widgets/ChineseLocale.h"
#include "widgets/ControlIds.h"
#include "widgets/QtMessageService.h"

#include "ModalDriver.h"
#include "TestSupport.h"

#include <gtest/gtest-spi.h>

#include <QAbstractButton>
#include <QApplication>
#include <QDate>
#include <QLineEdit>
#include <QLocale>
#include <QMessageBox>
#include <QMimeDatabase>
#include <QTest>
#include <QTimer>

namespace {
class EndsWhileOpening : public CDialog {
protected:
    bool OnInitDialog() override {
        EndDialog(IDOK);
        return true;
    }
};
} // namespace

TEST(Dialog, ControlsAreFoundByTheirIds) {
    CDialog dialog;
    auto* edit = new QLineEdit(&dialog);
    SetControlId(edit, 1133);
    EXPECT_EQ(dialog.GetDlgItem(1133), edit);
    EXPECT_EQ(dialog.Item<QLineEdit>(1133), edit);
    EXPECT_EQ(dialog.GetDlgItem(1134), nullptr);
}

TEST(Dialog, EscapeCancelsAndTheResultIsTheButtonId) {
    CDialog dialog;
    ModalDriver driver;
    driver.Then([](QDialog& d) { d.reject(); });
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    driver.Then([](QDialog& d) { d.accept(); });
    EXPECT_EQ(dialog.DoModal(), IDOK);
}

TEST(Dialog, ADialogThatEndsWhileOpeningNeverShows) {
    EndsWhileOpening dialog;
    ModalDriver driver; // any dialog shown would fail the test
    EXPECT_EQ(dialog.DoModal(), IDOK);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(QtMessageService, ButtonsAnswerWithTheirIds) {
    QtMessageService service;
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->windowTitle(), QStringLiteral("提示"));
        EXPECT_EQ(box->text(), QStringLiteral("确实要删除第3行吗？\n第二行"));
        EXPECT_EQ(box->icon(), QMessageBox::Information);
        box->button(QMessageBox::No)->click();
    });
    EXPECT_EQ(service.Show(nullptr, QStringLiteral("确实要删除第3行吗？\r\n第二行"),
                           QStringLiteral("提示"), MB_YESNO | MB_ICONINFORMATION),
              IDNO);
}

// The second button as default: Enter answers 否.
TEST(QtMessageService, TheDefaultButtonTakesEnter) {
    QtMessageService service;
    QTimer::singleShot(0, [] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_TRUE(box);
        EXPECT_EQ(box->icon(), QMessageBox::Warning);
        QTest::keyClick(box, Qt::Key_Return);
    });
    EXPECT_EQ(service.Show(nullptr, QStringLiteral("确实要删除所有记录吗？"), QStringLiteral("提示"),
                           MB_YESNO | MB_ICONWARNING | MB_DEFBUTTON2),
              IDNO);
}

// A scripted action that leaves its dialog open fails the test at once, naming the
// dialog, and closes it, so that nothing waits for ctest's timeout.
TEST(ModalDriverTest, ADialogLeftShowingFailsAndIsClosed) {
    CDialog dialog;
    dialog.setWindowTitle(QStringLiteral("留着的对话框"));
    int result = -1;
    EXPECT_NONFATAL_FAILURE(
        {
            ModalDriver driver;
            driver.Then([](QDialog&) {});
            result = dialog.DoModal();
        },
        "留着的对话框");
    EXPECT_EQ(result, IDCANCEL);
}

// Whatever the machine's locale, dates, numbers, file types and Qt's own dialog texts read
// Chinese.
TEST(ChineseLocale, QtTextsDatesAndFileTypesAreChinese) {
    QLocale::setDefault(QLocale::c());
    InstallChineseLocale();
    EXPECT_EQ(QLocale().language(), QLocale::Chinese);
    EXPECT_EQ(QLocale().toString(QDate(2026, 12, 11), QStringLiteral("MMMM")), QStringLiteral("十二月"));
    EXPECT_EQ(QMimeDatabase().mimeTypeForName(QStringLiteral("image/jpeg")).comment(), QStringLiteral("JPEG 图像"));
    EXPECT_EQ(QMimeDatabase().mimeTypeForName(QStringLiteral("inode/directory")).comment(), QStringLiteral("文件夹"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("查找范围："));
}
