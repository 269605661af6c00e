// Test main of the GUI tests: Qt's offscreen platform, the program's fonts, and message
// boxes that fail the test unless a test expects them.

#include "platform/MessageService.h"
#include "widgets/Fonts.h"

#include <QApplication>

#include <gtest/gtest.h>

namespace {
class UnexpectedBoxes : public MessageService {
public:
    int Show(QObject*, const QString& text, const QString& caption, unsigned style) override {
        ADD_FAILURE() << "message box nobody expected [" << caption.toStdString()
                      << "]: " << text.toStdString();
        return FirstButtonOf(style);
    }
};
} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    InstallFontSubstitutions();
    UnexpectedBoxes strict;
    SetMessageService(&strict);
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
