// The Vaz Ivero board without a mouse and through a screen reader: a focus ring moved by the arrows,
// Space and Enter to pick, box numbers typed (time handed in), boxes as push buttons, winnings as text.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QTest>

#include "gamble/BoardWindow.h"
#include "BoardBoxes.h"
#include "gamble/BoxKeys.h"
#include "support/Accessibility.h"
#include "support/Scripted.h"
#include "support/WindowTesting.h"
#include "support/WindowParts.h"
#include "access/Accessible.h"
#include "access/Herald.h"
#include "art/Graphics.h"
#include "art/Palette.h"
#include "sound/Sound.h"

using namespace kazoomba;
using namespace kazoomba::testing;
using kazoomba::ui::BoardWindow;

namespace {

class BoardKeysTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        App();
        graphics = &TestGraphics();
        sound = &TestSound();
    }
    void SetUp() override {
        table.s().SpinWin = 10.0f;
        QueueIdentityShuffle(table.random);
        window = std::make_unique<BoardWindow>(table.game, *graphics, *sound, table.random);
        window->SetClock([this] { return now; });
        window->show();
        kazoomba::testing::MakeActive(window.get());
    }
    bool Opened(int box) const { return window->board().BoxOpened()[box - 1]; }
    void Key(int key) { QTest::keyClick(QApplication::focusWidget(), static_cast<Qt::Key>(key)); }
    // White pixels of a ring 4 px outside the box.
    int RingPixels(const QImage& shot, int box) {
        const QRect ring = BoxRect(box).adjusted(-5, -5, 5, 5);
        return CountColour(shot, QRect(ring.left(), ring.top(), ring.width(), 2), ui::PaletteColor(ui::Colour::White));
    }

    static inline ui::Graphics* graphics = nullptr;
    static inline ui::Sound* sound = nullptr;
    Table table;
    long long now = 1000;
    std::unique_ptr<BoardWindow> window;
};

}  // namespace

TEST(BoxNeighbours, ArrowsWalkTheTriangle) {
    using ui::NeighbourBox;
    EXPECT_EQ(NeighbourBox(1, Qt::Key_Down), 2);
    EXPECT_EQ(NeighbourBox(2, Qt::Key_Down), 4);
    EXPECT_EQ(NeighbourBox(5, Qt::Key_Down), 8);
    EXPECT_EQ(NeighbourBox(8, Qt::Key_Up), 5);
    EXPECT_EQ(NeighbourBox(6, Qt::Key_Up), 3);  // the last of a row goes up to the last of the row above
    EXPECT_EQ(NeighbourBox(1, Qt::Key_Up), 1);
    EXPECT_EQ(NeighbourBox(15, Qt::Key_Down), 15);
    EXPECT_EQ(NeighbourBox(3, Qt::Key_Right), 4);
    EXPECT_EQ(NeighbourBox(1, Qt::Key_Left), 1);
    EXPECT_EQ(NeighbourBox(15, Qt::Key_Right), 15);
    EXPECT_EQ(NeighbourBox(9, Qt::Key_End), 15);
    EXPECT_EQ(NeighbourBox(9, Qt::Key_Home), 1);
    EXPECT_EQ(NeighbourBox(9, Qt::Key_A), 0);
}

TEST(BoxNumbersTyped, AOneWaitsForASecondDigitWithinThePause) {
    ui::BoxTyping typing;
    EXPECT_EQ(typing.Type(7, 0), std::vector<int>{7});
    EXPECT_TRUE(typing.Type(1, 100).empty());
    EXPECT_EQ(typing.Type(3, 100 + ui::BoxTyping::kPauseMs - 1), std::vector<int>{13});
    EXPECT_TRUE(typing.Type(1, 5000).empty());
    EXPECT_EQ(typing.Pause(5000 + ui::BoxTyping::kPauseMs - 1), 0);
    EXPECT_EQ(typing.Pause(5000 + ui::BoxTyping::kPauseMs), 1);
    EXPECT_FALSE(typing.Waiting());
    // Too late, or a digit that makes no box: the 1 stands alone and the new digit counts by itself.
    typing.Type(1, 9000);
    EXPECT_EQ(typing.Type(4, 9000 + ui::BoxTyping::kPauseMs), (std::vector<int>{1, 4}));
    typing.Type(1, 12000);
    EXPECT_EQ(typing.Type(8, 12001), (std::vector<int>{1, 8}));
    typing.Type(1, 15000);
    EXPECT_EQ(typing.Type(0, 15001), std::vector<int>{10});
    EXPECT_TRUE(typing.Type(0, 20000).empty());
}

TEST_F(BoardKeysTest, ArrowsMoveAVisibleRingAndSpaceOrEnterPicks) {
    EXPECT_EQ(window->FocusedBox(), 0) << "Quit has the focus as the board opens";
    EXPECT_EQ(RingPixels(Snapshot(*window), 1), 0);
    Key(Qt::Key_Tab);
    EXPECT_EQ(window->FocusedBox(), 1);
    EXPECT_GT(RingPixels(Snapshot(*window), 1), 40);
    Key(Qt::Key_Down);
    Key(Qt::Key_Right);
    EXPECT_EQ(window->FocusedBox(), 3);
    const QImage shot = Snapshot(*window);
    EXPECT_EQ(RingPixels(shot, 1), 0);
    EXPECT_GT(RingPixels(shot, 3), 40);
    Key(Qt::Key_Space);
    EXPECT_TRUE(Opened(3));
    EXPECT_EQ(window->WinningsText(), "$20.00");
    Key(Qt::Key_Left);
    Key(Qt::Key_Return);
    EXPECT_TRUE(Opened(2));
    EXPECT_EQ(window->WinningsText(), "$60.00");
    EXPECT_TRUE(window->isVisible()) << "Enter on a box picks it, it does not press Quit";
}

TEST_F(BoardKeysTest, TypedNumbersPickTheirBoxes) {
    QTest::keyClick(window.get(), Qt::Key_1);
    now += 300;
    QTest::keyClick(window.get(), Qt::Key_2);  // 12: Try Again
    EXPECT_TRUE(Opened(12));
    EXPECT_FALSE(Opened(1));
    EXPECT_FALSE(Opened(2));
    QTest::keyClick(window.get(), Qt::Key_3);  // 2X at once
    EXPECT_TRUE(Opened(3));
    QTest::keyClick(window.get(), Qt::Key_1);
    EXPECT_FALSE(Opened(1));
    now += ui::BoxTyping::kPauseMs;
    window->TypingPause();
    EXPECT_TRUE(Opened(1));
    EXPECT_EQ(window->WinningsText(), "$100.00");
}

TEST_F(BoardKeysTest, BoxesArePushButtonsNamedByNumberAndWinningsReadAsText) {
    AccessibilityListener listener;
    for (int box = 1; box <= kBoxes; ++box) {
        QAccessibleInterface* b = Accessible(window->box(box));
        EXPECT_EQ(b->role(), QAccessible::Button) << box;
        EXPECT_EQ(b->text(QAccessible::Name), QStringLiteral("Box %1").arg(box));
        EXPECT_TRUE(HasPress(b)) << box;
        EXPECT_TRUE(b->state().focusable) << box;
    }
    auto* winnings = window->findChild<ui::Readout*>();
    ASSERT_NE(winnings, nullptr);
    EXPECT_EQ(Accessible(winnings)->text(QAccessible::Name), "Winnings");
    EXPECT_EQ(Accessible(winnings)->text(QAccessible::Value), "$10.00");

    PressThroughAccessibility(window->box(1));
    EXPECT_TRUE(Opened(1));
    EXPECT_EQ(Accessible(winnings)->text(QAccessible::Value), "$50.00");
    EXPECT_DOUBLE_EQ(Accessible(winnings)->valueInterface()->currentValue().toDouble(), 50.0);
    EXPECT_EQ(listener.Count(QAccessible::ValueChanged, winnings), 1);
    EXPECT_EQ(Accessible(window->box(1))->text(QAccessible::Name), "Box 1: 5X");
    EXPECT_TRUE(Accessible(window->box(1))->state().disabled) << "an opened box cannot be picked again";
    EXPECT_FALSE(HasPress(Accessible(window->box(1))));

    // A losing box lays the board open: every box says what it held, none can be pressed.
    PressThroughAccessibility(window->box(4));
    EXPECT_EQ(Accessible(window->box(4))->text(QAccessible::Name), "Box 4: Losing box");
    EXPECT_EQ(Accessible(window->box(11))->text(QAccessible::Name), "Box 11: Try Again");
    EXPECT_EQ(Accessible(window->box(14))->text(QAccessible::Name), "Box 14: Hint");
    for (int box = 1; box <= kBoxes; ++box) EXPECT_FALSE(HasPress(Accessible(window->box(box)))) << box;
}

// A listener hears the stake and the rules as the board opens, then each pick with the winnings it leaves.
TEST_F(BoardKeysTest, TheBoardSaysItsStakeAndRulesAndEachPickWithTheWinnings) {
    const QString description = window->accessibleDescription();
    EXPECT_TRUE(description.startsWith("Winnings: $10.00. Click on any of the 15 boxes.")) << description.toStdString();
    EXPECT_TRUE(description.contains("One box contains a 5X multiplier")) << description.toStdString();
    EXPECT_TRUE(description.endsWith("Keys: type a box's number, or move with the arrows and press Space; Escape quits "
                                     "with the winnings."))
        << description.toStdString();
    window->show();
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    window->Pick(1);
    EXPECT_EQ(window->herald().LastSaid(), "Box 1: 5X. Winnings: $50.00.");
    if (!ui::Herald::kAnnounces) {
        EXPECT_TRUE(window->herald().HasFocus()) << "the news is spoken by the control that takes the focus";
    }
    EXPECT_EQ(window->FocusedBox(), 1) << "the keyboard's place stays at the box picked";
    // The arrows go on from the box picked.
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Down);
    EXPECT_EQ(window->FocusedBox(), 2);
    window->Pick(4);
    EXPECT_EQ(window->herald().LastSaid(), "Box 4: Losing box. Winnings: $0.00.");
}

// A hint's window speaks first; the box is told once the hint is read away and the board is in front again,
// not before, where the hint's window would cover it before a screen reader had said it.
TEST_F(BoardKeysTest, AHintIsToldOnceItsWindowHasBeenReadAway) {
    const QString before = window->herald().LastSaid();
    QString saidUnderTheHint;
    WhenModalOpens(
        [&](QWidget* modal) {
            auto* message = qobject_cast<QMessageBox*>(modal);
            if (!message) return;
            saidUnderTheHint = window->herald().LastSaid();
            QTest::keyClick(message, Qt::Key_Return);
        },
        window.get());
    window->Pick(14);
    ASSERT_TRUE(AwaitModalsClosed());
    kazoomba::testing::MakeActive(window.get());  // as the window manager does once the hint has gone
    EXPECT_EQ(saidUnderTheHint.toStdString(), before.toStdString()) << "the box was told under its hint's window";
    EXPECT_TRUE(QTest::qWaitFor([&] { return window->herald().LastSaid() == "Box 14: Hint. Winnings: $10.00."; }))
        << window->herald().LastSaid().toStdString();
    if (!ui::Herald::kAnnounces) {
        EXPECT_TRUE(QTest::qWaitFor([&] { return window->herald().HasFocus(); }))
            << "the news is spoken by the control that takes the focus";
    }
    EXPECT_EQ(window->FocusedBox(), 14);
}

