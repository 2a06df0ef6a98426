// A whole round without a mouse, and what a screen reader reads of the Payoffs window: a coin bet with B,
// a spin with Enter, the win doubled from the Payoffs window by keyboard, two boxes picked by keyboard,
// and the board left with Escape.
#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>

#include "gamble/BoardWindow.h"
#include "gamble/PayoffsWindow.h"
#include "support/WinningMachine.h"
#include "support/Accessibility.h"
#include "support/Scripted.h"
#include "support/TestMachine.h"
#include "support/WindowTesting.h"
#include "support/GameDoor.h"
#include "access/Accessible.h"

using namespace kazoomba;
using namespace kazoomba::testing;

namespace {

class KeyboardRoundTest : public WinningMachineTest {
protected:
    // Types into whatever has the keyboard focus, as a player's keyboard does; into the given window's
    // focus when that window is not active yet (a loaded machine activates a new window late).
    static void Type(int key, QWidget* window = nullptr) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : QApplication::activeWindow();
        if (window && (!target || target->window() != window))
            target = window->focusWidget() ? window->focusWidget() : window;
        QTest::keyClick(target, static_cast<Qt::Key>(key));
    }
    // The texts a screen reader reads from the readouts of a window.
    static std::map<QString, QString> Readouts(QWidget& w) {
        std::map<QString, QString> texts;
        for (auto* r : w.findChildren<ui::Readout*>())
            texts[Accessible(r)->text(QAccessible::Name)] = Accessible(r)->text(QAccessible::Value);
        return texts;
    }
};

}  // namespace

TEST_F(KeyboardRoundTest, BetSpinDoublePickTwoBoxesAndQuitWithoutAMouse) {
    Type(Qt::Key_B);
    EXPECT_FLOAT_EQ(s().Wager, 0.25f);

    ForceStops(random, {6, 6, 6, 1, 1, 1, 1, 1, 1});  // Target on line 1: $6.25
    random.queue.push_back(0.0);  // which win sound plays
    // The board's shuffle leaves box n holding content n - 1: 3X under box 2, Try Again under box 11.
    for (int pass = 0; pass < 20; ++pass)
        for (int j = 0; j < kBoxes; ++j) random.queue.push_back((j + 0.5) / kBoxes);

    std::map<QString, QString> payoffsRead;
    QString boardAfterPicks;
    bool boardSeen = false;
    WhenModalOpens([&](QWidget* payoffs) {
        payoffsRead = Readouts(*payoffs);
        WhenModalOpens(
            [&](QWidget* modal) {
                auto* board = qobject_cast<ui::BoardWindow*>(modal);
                if (!board) return;
                boardSeen = true;
                // The window in front has the keyboard, however late a loaded machine says so.
                kazoomba::testing::MakeActive(board);
                board->SetClock([] { return 0LL; });  // the two digits come at one moment
                Type(Qt::Key_Tab, board);   // from Quit onto box 1
                Type(Qt::Key_Down, board);  // box 2: 3X
                Type(Qt::Key_Space, board);
                Type(Qt::Key_1, board);
                Type(Qt::Key_1, board);     // box 11 typed as two digits: Try Again
                boardAfterPicks = board->WinningsText();
                EXPECT_TRUE(board->board().BoxOpened()[1]);
                EXPECT_TRUE(board->board().BoxOpened()[10]);
                Type(Qt::Key_Escape, board);
            },
            payoffs);
        kazoomba::testing::MakeActive(payoffs);
        Type(Qt::Key_Tab, payoffs);  // Take has the focus; Tab goes on to Double
        Type(Qt::Key_Space, payoffs);
    });
    Type(Qt::Key_Return);
    EXPECT_TRUE(window.PlayOut());

    EXPECT_TRUE(boardSeen);
    EXPECT_EQ(boardAfterPicks, "$18.75");
    EXPECT_FLOAT_EQ(s().Credits, 1000.0f - 0.25f + 18.75f);
    EXPECT_TRUE(s().SpinReady);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_EQ(payoffsRead[QStringLiteral("Line 1")], "Target, Target, Target, $6.25");
    EXPECT_EQ(payoffsRead[QStringLiteral("Total Won")], "$6.25");
    EXPECT_EQ(payoffsRead[QStringLiteral("Bonus Pool")], "$0.00");
    EXPECT_EQ(payoffsRead.size(), 3u) << "only winning lines are read";
}
