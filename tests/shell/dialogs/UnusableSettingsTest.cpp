// The start-up message about a settings file the game cannot use, read as the player sees it.
#include <QMessageBox>
#include <QTest>
#include <gtest/gtest.h>

#include "dialogs/UnusableSettings.h"
#include "support/WindowTesting.h"

namespace kazoomba::testing {
namespace {

TEST(UnusableSettings, TheMessageGivesThePathAndTheReasonAndTheGameGoesOn) {
    App();
    const QString reason = QStringLiteral("/home/ann/.config/kazoomba/KAZO.INI: it cannot be read (it may belong to another user).");
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        ASSERT_NE(box, nullptr);
        title = box->windowTitle();
        text = box->text();
        icon = box->icon();
        QTest::keyClick(box, Qt::Key_Return);
    });
    TellSettingsFileUnusable(reason, nullptr);
    EXPECT_TRUE(AwaitModalsClosed());
    EXPECT_EQ(title, "Settings File Not Used");
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_TRUE(text.contains("\n" + reason + "\n")) << text.toStdString();
    EXPECT_TRUE(text.contains("A new game starts")) << text.toStdString();
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

}  // namespace
}  // namespace kazoomba::testing
