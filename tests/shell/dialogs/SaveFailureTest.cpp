// A save that fails is never silent: the Save dialog and the closing window say why, driven as a player would.
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <gtest/gtest.h>
#include <optional>

#include "storage/StorageSupport.h"
#include "dialogs/LoadSaveDialog.h"
#include "dialogs/SaveFailure.h"
#include "support/WindowTesting.h"

namespace kazoomba::testing {
namespace {

class SaveFailure : public SettingsFolder {
protected:
    static void SetUpTestSuite() { App(); }
    void SetUp() override { ASSERT_TRUE(QDir().mkpath(path)); }  // a KAZO.INI that is a folder fails even for root
};

// The message's text, and a press of the button with that text.
struct Answer {
    QString title, text;
    QStringList buttons;
};
Answer Press(QWidget* modal, const QString& button) {
    auto* box = qobject_cast<QMessageBox*>(modal);
    Answer seen;
    if (!box) return seen;
    seen.title = box->windowTitle();
    seen.text = box->text();
    for (QAbstractButton* b : box->buttons()) seen.buttons << b->text();
    for (QAbstractButton* b : box->buttons())
        if (b->text() == button) QTest::mouseClick(b, Qt::LeftButton);
    return seen;
}

TEST_F(SaveFailure, TheSaveDialogSaysWhyAndStaysOpen) {
    Answer seen;
    bool stillOpen = false;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<LoadSaveDialog*>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        QTest::mouseClick(dialog->SlotButton(0), Qt::LeftButton);
        // The player reads why, then cancels the dialog that stayed open behind the message.
        WhenModalOpens([&, dialog](QWidget* modal) {
            seen = Press(modal, "OK");
            stillOpen = dialog->isVisible();
            dialog->reject();
        }, dialog);
        QTest::keyClick(dialog->NameField(), Qt::Key_Return);
    });
    LoadSaveCommand(1, file, table.game, menus, {}, nullptr);
    EXPECT_TRUE(kazoomba::testing::AwaitModalsClosed());
    EXPECT_EQ(seen.title, "Game Not Saved");
    EXPECT_TRUE(seen.text.contains(path + ": it is a folder")) << seen.text.toStdString();
    EXPECT_TRUE(stillOpen);
}

TEST_F(SaveFailure, ClosingOffersToTryAgainUntilTheSaveWorks) {
    int tries = 0;
    Answer seen;
    WhenModalOpens([&](QWidget* modal) { seen = Press(modal, "&Try Again"); });
    std::optional<bool> saved;
    SaveBeforeQuitting([&] { return ++tries == 2; }, [] { return QStringLiteral("/x/KAZO.INI: the disk is full."); }, nullptr,
                       [&](bool ok) { saved = ok; });
    // Nothing waits for the answer: the question is open when the call returns.
    EXPECT_FALSE(saved.has_value());
    EXPECT_TRUE(AwaitModalsClosed());
    EXPECT_EQ(saved, true);
    EXPECT_EQ(tries, 2);
    EXPECT_EQ(seen.title, "Game Not Saved");
    EXPECT_TRUE(seen.text.startsWith("Your game could not be saved to\n/x/KAZO.INI: the disk is full.")) << seen.text.toStdString();
    EXPECT_EQ(seen.buttons, (QStringList{"&Try Again", "&Quit Without Saving"}));
}

TEST_F(SaveFailure, ClosingCanQuitWithoutSavingButEscapeTriesAgain) {
    int tries = 0;
    WhenModalOpens([&](QWidget* modal) {
        QTest::keyClick(modal, Qt::Key_Escape);
        WhenModalOpens([&](QWidget* again) { Press(again, "&Quit Without Saving"); });
    });
    ProfileFile& settings = file;
    std::optional<bool> saved;
    SaveBeforeQuitting(
        [&] { ++tries; return SaveAtExit(settings, table.game, menus, QPoint(0, 0), QSize(800, 600)); },
        [&] { return settings.LastError(); }, nullptr, [&](bool ok) { saved = ok; });
    EXPECT_TRUE(AwaitModalsClosed());
    EXPECT_EQ(saved, false);
    EXPECT_EQ(tries, 2);
    EXPECT_TRUE(QFileInfo(path).isDir());
}

}  // namespace
}  // namespace kazoomba::testing

namespace kazoomba::testing {
namespace {

// Only one notice about saving is ever on the screen: "Game Saved" takes the place of "Game Not Saved",
// and a new failure takes the place of "Game Saved", whether the player closed the last one or not.
TEST(PlaySaveNotices, EachNoticeReplacesTheOneStillOnTheScreen) {
    App();
    QWidget machine;
    machine.resize(200, 100);
    machine.show();
    PlaySaveNotices notices;
    auto visibleNotices = [] {
        QStringList titles;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (qobject_cast<QMessageBox*>(w) && w->isVisible()) titles << w->windowTitle();
        return titles;
    };
    notices.Saved(false, QStringLiteral("/x/KAZO.INI: the disk is full."), QStringLiteral("/x/KAZO.INI"), &machine);
    QCoreApplication::processEvents();
    EXPECT_EQ(visibleNotices(), QStringList{QStringLiteral("Game Not Saved")});
    notices.Saved(true, QString(), QStringLiteral("/x/KAZO.INI"), &machine);
    QCoreApplication::processEvents();
    EXPECT_EQ(visibleNotices(), QStringList{QStringLiteral("Game Saved")});
    notices.Saved(false, QStringLiteral("/x/KAZO.INI: the disk is full."), QStringLiteral("/x/KAZO.INI"), &machine);
    QCoreApplication::processEvents();
    EXPECT_EQ(visibleNotices(), QStringList{QStringLiteral("Game Not Saved")});
    if (notices.Shown()) notices.Shown()->close();
}

}  // namespace
}  // namespace kazoomba::testing
