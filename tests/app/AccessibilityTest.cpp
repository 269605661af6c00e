// Screen readers, and anything that drives the screens through the accessibility tree,
// find every text box and drop-down by the name of its label.

#include "AppFixture.h"

#include "app/users/DlgLogin.h"
#include "app/users/DlgModifyPassword.h"
#include "app/settings/DlgSetInfo.h"
#include "app/users/DlgSetRight2.h"
#include "app/settings/DlgSetWL.h"

#include <QAccessible>
#include <QComboBox>
#include <QLineEdit>

#include <memory>

TEST(Accessibility, EveryEditAndDropDownOfTheSettingsDialogsHasAName) {
    for (const auto& dialog : SettingsAndUserDialogs()) {
        int checked = 0;
        for (QWidget* w : dialog->findChildren<QWidget*>()) {
            const bool editOfCombo = qobject_cast<QComboBox*>(w->parentWidget()) != nullptr;
            if (!(qobject_cast<QLineEdit*>(w) && !editOfCombo) && !qobject_cast<QComboBox*>(w))
                continue;
            QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
            ASSERT_TRUE(a);
            EXPECT_FALSE(a->text(QAccessible::Name).trimmed().isEmpty())
                << dialog->metaObject()->className() << ": " << w->objectName().toStdString();
            ++checked;
        }
        EXPECT_GT(checked, 0) << dialog->metaObject()->className();
    }
}
