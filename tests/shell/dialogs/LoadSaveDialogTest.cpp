// The load/save dialog driven as a player drives it: slot buttons, the name field, OK and Cancel.
#include <QAccessible>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QTimer>
#include <functional>
#include <gtest/gtest.h>

#include "storage/StorageSupport.h"
#include "support/QtApp.h"
#include "support/WindowTesting.h"
#include "dialogs/LoadSaveDialog.h"
#include "dialogs/LoadSaveLayout.h"

namespace kazoomba::testing {
namespace {

class LoadSave : public SettingsFolder {
protected:
    static void SetUpTestSuite() { App(); }
    int redraws = 0;

    // Runs the menu command; `player` acts on the dialog once it is up, then the command returns.
    void Command(int index, const std::function<void(LoadSaveDialog&)>& player) {
        bool acted = false;
        QTimer::singleShot(0, [&] {
            auto* dialog = qobject_cast<LoadSaveDialog*>(QApplication::activeModalWidget());
            ASSERT_NE(dialog, nullptr);
            EXPECT_TRUE(QTest::qWaitForWindowActive(dialog));
            acted = true;
            player(*dialog);
            // Whatever the player did, the dialog must not outlive the test.
            if (dialog == QApplication::activeModalWidget() && dialog->isVisible()) dialog->reject();
        });
        LoadSaveCommand(index, file, table.game, menus, [this] { ++redraws; }, nullptr);
        EXPECT_TRUE(kazoomba::testing::AwaitModalsClosed());
        EXPECT_TRUE(acted);
    }
    QStringList Captions(LoadSaveDialog& d) {
        QStringList captions;
        for (int i = 0; i < kSlotCount; ++i) captions << d.SlotButton(i)->text();
        return captions;
    }
};

TEST_F(LoadSave, AFirstUseShowsTheDefaultNamesAndNoUsableOk) {
    Command(1, [&](LoadSaveDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Save a Game");
        QStringList expected;
        for (int n = 1; n <= 10; ++n) expected << QStringLiteral("Game #%1").arg(n);
        EXPECT_EQ(Captions(d), expected);
        EXPECT_FALSE(d.OkButton()->isEnabled());
        EXPECT_FALSE(d.NameField()->isEnabled());
        EXPECT_FALSE(d.NameLabel()->isVisible());
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
        EXPECT_TRUE(d.isVisible());
        QTest::mouseClick(d.CancelButton(), Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    });
    // Opening the menu made the ten slots.
    EXPECT_EQ(Read("Saved Game #10", "GameName"), "Game #10");
}

TEST_F(LoadSave, SavingToSlotThreeStoresThePaddedNameAndTheButtonShowsIt) {
    s().Credits = 321.0f;
    Command(1, [&](LoadSaveDialog& d) {
        QTest::mouseClick(d.SlotButton(2), Qt::LeftButton);
        EXPECT_TRUE(d.NameLabel()->isVisible());
        EXPECT_TRUE(d.OkButton()->isEnabled());
        EXPECT_TRUE(d.NameField()->hasFocus());
        EXPECT_EQ(d.NameField()->text(), "Game #3");
        EXPECT_EQ(d.NameField()->selectedText(), "Game #3");
        QTest::keyClicks(d.NameField(), "Big Win & Co");
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(Read("Saved Game #3", "GameName"), "Big Win & Co");
    EXPECT_TRUE(ReadBytes(path).contains("GameName=Big Win & Co" + QByteArray(28, ' ') + "\n"));
    EXPECT_EQ(Read("Saved Game #3", "Credits"), "321.00");
    EXPECT_EQ(redraws, 0);
    Command(0, [&](LoadSaveDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Load a Game");
        EXPECT_EQ(d.SlotName(2), "Big Win & Co");
        EXPECT_EQ(d.SlotButton(2)->text(), "Big Win && Co");  // shown as typed, no access key
        QTest::mouseClick(d.CancelButton(), Qt::LeftButton);
    });
}

TEST_F(LoadSave, AnotherSlotMovesTheChoiceAndEnterSaves) {
    EnsureSettingsFile(file);
    file.WriteString("Saved Game #6", "GameName", "  Sixth  ");
    Command(1, [&](LoadSaveDialog& d) {
        QTest::mouseClick(d.SlotButton(0), Qt::LeftButton);
        QTest::keyClicks(d.NameField(), "typed");
        QTest::mouseClick(d.SlotButton(5), Qt::LeftButton);
        EXPECT_EQ(d.ChosenSaveSlot(), 5);
        EXPECT_EQ(d.NameField()->text(), "Sixth");
        EXPECT_EQ(d.NameField()->selectedText(), "Sixth");
        QTest::keyClicks(d.NameField(), "New sixth");
        QTest::keyClick(d.NameField(), Qt::Key_Return);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(Read("Saved Game #6", "GameName"), "New sixth");
    EXPECT_EQ(Read("Saved Game #1", "GameName"), "Game #1");
}

// A screen reader reads a field that takes the keyboard by the line at its caret, split into runs of text
// attributes: the line and its one run are the whole name, whichever character the reader asks from, so
// the name is heard whole ("Orca test selected", not "Orca tes").
TEST_F(LoadSave, TheNameFieldReadsAsALabelledEditFieldWithItsWholeName) {
    Command(1, [&](LoadSaveDialog& d) {
        QTest::mouseClick(d.SlotButton(0), Qt::LeftButton);
        QTest::keyClicks(d.NameField(), "Orca test");
        QAccessibleInterface* field = QAccessible::queryAccessibleInterface(d.NameField());
        ASSERT_NE(field, nullptr);
        EXPECT_EQ(field->role(), QAccessible::EditableText);
        EXPECT_EQ(field->text(QAccessible::Name).toStdString(), "Name of Game");
        EXPECT_TRUE(field->state().editable);
        QAccessibleTextInterface* text = field->textInterface();
        ASSERT_NE(text, nullptr);
        ASSERT_NE(field->editableTextInterface(), nullptr);
        EXPECT_EQ(text->characterCount(), 9);
        EXPECT_EQ(text->cursorPosition(), 9);
        for (int offset : {0, 4, 8, 9}) {
            int start = -1, end = -1;
            EXPECT_EQ(text->textAtOffset(offset, QAccessible::LineBoundary, &start, &end).toStdString(), "Orca test")
                << "at " << offset;
            EXPECT_EQ(start, 0);
            EXPECT_EQ(end, 9);
        }
        // A reader joins the runs of attributes to read the line: one run holds the whole name.
        for (int offset : {0, 8}) {
            int start = -1, end = -1;
            text->attributes(offset, &start, &end);
            EXPECT_EQ(start, 0) << "at " << offset;
            EXPECT_EQ(end, 9) << "at " << offset;
        }
        int start = -1, end = -1;
        EXPECT_EQ(text->textAtOffset(5, QAccessible::WordBoundary, &start, &end).toStdString(), "test");

        // Back in the field, the whole name is selected, and read as selected.
        QTest::keyClick(d.NameField(), Qt::Key_Tab);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Backtab);
        ASSERT_TRUE(d.NameField()->hasFocus());
        EXPECT_EQ(text->selectionCount(), 1);
        text->selection(0, &start, &end);
        EXPECT_EQ(text->text(start, end).toStdString(), "Orca test");
        QTest::mouseClick(d.CancelButton(), Qt::LeftButton);
    });
}

TEST_F(LoadSave, ABlankNameSavesNothingAndCloses) {
    EnsureSettingsFile(file);
    const QByteArray before = ReadBytes(path);
    Command(1, [&](LoadSaveDialog& d) {
        QTest::mouseClick(d.SlotButton(4), Qt::LeftButton);
        d.NameField()->selectAll();
        QTest::keyClicks(d.NameField(), "     ");
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(ReadBytes(path), before);
}

TEST_F(LoadSave, AFortyFiveCharacterNameKeepsItsFirstForty) {
    const QString name = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRS";
    ASSERT_EQ(name.size(), 45);
    Command(1, [&](LoadSaveDialog& d) {
        QTest::mouseClick(d.SlotButton(9), Qt::LeftButton);
        QTest::keyClicks(d.NameField(), name);
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(Read("Saved Game #10", "GameName"), name.left(40));
}

// The field itself stops at forty: what the player sees typed is what the slot keeps.
TEST_F(LoadSave, TheNameFieldTakesNoMoreThanTheSaveKeeps) {
    const QString name = QString(60, u'x');
    QString shown;
    Command(1, [&](LoadSaveDialog& d) {
        QTest::mouseClick(d.SlotButton(4), Qt::LeftButton);
        d.NameField()->selectAll();  // the slot's own name goes, whether or not the window took the focus
        QTest::keyClicks(d.NameField(), name);
        shown = d.NameField()->text();
        QTest::mouseClick(d.OkButton(), Qt::LeftButton);
    });
    EXPECT_EQ(shown, QString(kGameNameLength, u'x')) << shown.toStdString();
    EXPECT_EQ(Read("Saved Game #5", "GameName"), shown);
}

TEST_F(LoadSave, CancellingALoadChangesNothingButRedraws) {
    s().Credits = 77.0f;
    Command(0, [&](LoadSaveDialog& d) { QTest::keyClick(&d, Qt::Key_Escape); });
    EXPECT_EQ(s().Credits, 77.0f);
    EXPECT_EQ(redraws, 1);
    EXPECT_TRUE(menus.calls.empty());
}

TEST_F(LoadSave, ASlotPressedInLoadModeReplacesTheGameAtOnce) {
    Table saved;
    RecordingMenus savedMenus;
    GameState played = saved.game.State();
    played.CoinIndex = 0;
    played.Credits = 4242.0f;
    played.Spins = 12;
    saved.game.Restore(played);
    savedMenus.speed = 3;
    savedMenus.banner = 1;
    EnsureSettingsFile(file);
    ASSERT_TRUE(SaveGame(file, saved.game, savedMenus, 7, "Eighth"));
    table.game.PlaceCoins(8);
    Command(0, [&](LoadSaveDialog& d) {
        EXPECT_EQ(d.SlotButton(7)->text(), "Eighth");
        QTest::mouseClick(d.SlotButton(7), Qt::LeftButton);
        EXPECT_FALSE(d.isVisible());
    });
    EXPECT_EQ(s().Credits, 4242.0f);
    EXPECT_EQ(s().Spins, 12);
    EXPECT_EQ(s().CoinIndex, 0);
    EXPECT_EQ(s().Wager, 0.0f);
    EXPECT_EQ(menus.speed, 3);
    EXPECT_EQ(menus.banner, 1);
    EXPECT_EQ(redraws, 1);
}

TEST_F(LoadSave, TheDialogIsLaidOutAtFifteenTwipsAPixelOnLightGrey) {
    EnsureSettingsFile(file);
    LoadSaveDialog d(LoadSaveDialog::Mode::Save, file, table.game, menus);
    d.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
    EXPECT_EQ(d.size(), QSize(312, 273));
    EXPECT_EQ(d.SlotButton(0)->geometry(), QRect(8, 40, 145, 25));
    EXPECT_EQ(d.SlotButton(9)->geometry(), QRect(160, 168, 145, 25));
    EXPECT_EQ(d.CancelButton()->geometry(), QRect(24, 224, 113, 33));
    EXPECT_EQ(d.OkButton()->geometry(), QRect(176, 224, 113, 33));
    EXPECT_EQ(d.NameField()->geometry(), QRect(144, 8, 161, 19));
    EXPECT_EQ(d.NameLabel()->geometry(), QRect(8, 8, 129, 25));
    const QImage image = d.grab().toImage();
    EXPECT_EQ(image.pixelColor(2, 2), QColor(192, 192, 192));
    EXPECT_EQ(image.pixelColor(300, 268), QColor(192, 192, 192));
    // The blue label appears once a slot is chosen.
    QTest::mouseClick(d.SlotButton(1), Qt::LeftButton);
    const QImage chosen = d.grab().toImage();
    bool blue = false;
    for (int y = 8; y < 33 && !blue; ++y)
        for (int x = 8; x < 137 && !blue; ++x) blue = chosen.pixelColor(x, y) == QColor(0, 0, 255);
    EXPECT_TRUE(blue);
}

}  // namespace
}  // namespace kazoomba::testing
