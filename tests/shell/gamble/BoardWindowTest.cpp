// The Vaz Ivero board window played as a player plays it: boxes clicked, hints answered, Quit pressed.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <algorithm>
#include <map>
#include <memory>

#include "gamble/BoardWindow.h"
#include "BoardBoxes.h"
#include "art/Drawing.h"
#include "support/Scripted.h"
#include "support/WindowTesting.h"
#include "support/WindowParts.h"
#include "art/Graphics.h"
#include "art/Palette.h"
#include "sound/Sound.h"

using namespace kazoomba;
using namespace kazoomba::testing;
using kazoomba::ui::BoardWindow;
using kazoomba::ui::Colour;
using kazoomba::ui::PaletteColor;

namespace {

// A shuffle that leaves box n holding content n - 1 (5X under box 1, 3X under 2, 2X under 3, losing boxes
// 4 to 10, Try Again 11 to 13, hints 14 and 15), with the first pass's swaps applied on top.
void QueueShuffle(ScriptedRandom& random, std::map<int, int> firstPassSwaps = {}) {
    for (int pass = 0; pass < 20; ++pass)
        for (int j = 0; j < kBoxes; ++j) {
            const int k = pass == 0 && firstPassSwaps.count(j) ? firstPassSwaps[j] : j;
            random.queue.push_back((k + 0.5) / kBoxes);
        }
}

void Click(QWidget* window, int box) { QTest::mouseClick(window, Qt::LeftButton, {}, BoxRect(box).center()); }

struct Answered {
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
};

// Clicks a box that opens a message box, answers it with OK and returns what it said.
Answered ClickAndAnswer(QWidget* window, int box) {
    Answered seen;
    WhenModalOpens(
        [&seen](QWidget* modal) {
            auto* message = qobject_cast<QMessageBox*>(modal);
            if (!message) return;
            seen = {message->windowTitle(), message->text(), message->icon()};
            QTest::mouseClick(message->button(QMessageBox::Ok), Qt::LeftButton);
        },
        window);
    Click(window, box);
    EXPECT_TRUE(AwaitModalsClosed());
    return seen;
}

class BoardWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        App();
        graphics = &TestGraphics();
        sound = &TestSound();
    }
    void SetUp() override {
        sound->SetSound(1);  // silent unless a test listens
        table.s().SpinWin = 10.0f;
    }
    std::unique_ptr<BoardWindow> Open() {
        auto window = std::make_unique<BoardWindow>(table.game, *graphics, *sound, table.random);
        window->show();
        return window;
    }
    // Plays the board modally: `play` runs once the window is up; the window must be left by the player.
    void PlayModally(const std::function<void(BoardWindow&)>& play) {
        BoardWindow window(table.game, *graphics, *sound, table.random);
        bool played = false;
        WhenModalOpens([&](QWidget*) {
            play(window);
            played = true;
        });
        window.exec();
        EXPECT_TRUE(played);
    }

    static inline ui::Graphics* graphics = nullptr;
    static inline ui::Sound* sound = nullptr;
    Table table;
};

}  // namespace

TEST_F(BoardWindowTest, OpensWithFifteenYellowNumberedBoxesInATriangle) {
    QueueShuffle(table.random);
    auto window = Open();
    EXPECT_EQ(window->windowTitle(), "Vaz Ivero Board");
    EXPECT_EQ(window->size(), QSize(489, 367));
    const QImage shot = Snapshot(*window);
    EXPECT_EQ(PixelAt(shot, 2, 2), PaletteColor(Colour::Black));
    EXPECT_EQ(PixelAt(shot, 480, 80), PaletteColor(Colour::Black));  // right of the apex: the black window
    for (int box = 1; box <= kBoxes; ++box) {
        const QRect r = BoxRect(box);
        EXPECT_EQ(PixelAt(shot, r.left() + 3, r.top() + 3), PaletteColor(Colour::Yellow)) << box;
        EXPECT_GT(CountColour(shot, r, PaletteColor(Colour::Black)), 20) << "number of box " << box;
        EXPECT_EQ(PixelAt(shot, r.left() - 2, r.top() + 3), PaletteColor(Colour::Black)) << box;
    }
    EXPECT_EQ(BoxRect(1).topLeft(), QPoint(296, 88));
    EXPECT_EQ(BoxRect(7).topLeft(), QPoint(200, 256));
    EXPECT_EQ(BoxRect(15).topLeft(), QPoint(424, 312));
    EXPECT_GT(CountColour(shot, QRect(248, 24, 121, 33), PaletteColor(Colour::Red)), 50) << "red Winnings:";
    EXPECT_GT(CountColour(shot, QRect(376, 24, 105, 33), PaletteColor(Colour::Yellow)), 30) << "yellow figure";
    EXPECT_GT(CountColour(shot, QRect(16, 16, 201, 225), PaletteColor(Colour::White)), 500) << "white instructions";
    EXPECT_EQ(window->WinningsText(), "$10.00");
    auto* quit = window->findChild<QPushButton*>();
    ASSERT_NE(quit, nullptr);
    EXPECT_EQ(quit->text(), "&Quit");
    EXPECT_EQ(quit->geometry(), QRect(16, 272, 129, 81));
}

TEST_F(BoardWindowTest, FiveThreeTwoTurnTenDollarsIntoThreeHundredAndQuitPaysIt) {
    QueueShuffle(table.random);
    const float credits = table.s().Credits, gambles = table.s().DoubleNothing;
    PlayModally([](BoardWindow& w) {
        Click(&w, 1);
        Click(&w, 2);
        Click(&w, 3);
        EXPECT_EQ(w.WinningsText(), "$300.00");
        const QImage shot = Snapshot(w);
        EXPECT_EQ(PixelAt(shot, BoxRect(1).left() + 3, BoxRect(1).top() + 3), PaletteColor(Colour::Blue));
        EXPECT_GT(CountColour(shot, BoxRect(1), PaletteColor(Colour::White)), 20) << "white 5X";
        EXPECT_EQ(PixelAt(shot, BoxRect(2).left() + 3, BoxRect(2).top() + 3), PaletteColor(Colour::Red));
        EXPECT_GT(CountColour(shot, BoxRect(2), PaletteColor(Colour::Yellow)), 20) << "yellow 3X";
        EXPECT_EQ(PixelAt(shot, BoxRect(3).left() + 3, BoxRect(3).top() + 3), PaletteColor(Colour::Red));
        EXPECT_EQ(PixelAt(shot, BoxRect(4).left() + 3, BoxRect(4).top() + 3), PaletteColor(Colour::Yellow)) << "still closed";
        QTest::mouseClick(w.findChild<QPushButton*>(), Qt::LeftButton);
    });
    EXPECT_FLOAT_EQ(table.s().Credits, credits + 300.0f);
    EXPECT_FLOAT_EQ(table.s().DoubleNothing, gambles + 290.0f);
}

TEST_F(BoardWindowTest, ALossRevealsSevenToiletsAndQuitPaysNothing) {
    QueueShuffle(table.random);
    const float credits = table.s().Credits;
    PlayModally([this](BoardWindow& w) {
        Click(&w, 1);
        Click(&w, 7);
        EXPECT_EQ(w.WinningsText(), "$0.00");
        const QImage shot = Snapshot(w);
        const QImage toilet = graphics->Toilet().convertToFormat(QImage::Format_RGB32);
        int toilets = 0;
        for (int box = 4; box <= 10; ++box) {
            const QRect r = BoxRect(box);
            EXPECT_EQ(CountColour(shot, r, PaletteColor(Colour::Yellow)), CountColour(toilet, toilet.rect(), PaletteColor(Colour::Yellow)))
                << "box " << box << " shows no yellow of its own";
            bool same = true;
            for (int y = 0; y < 32; ++y)
                for (int x = 0; x < 32; ++x)
                    same = same && shot.pixel(r.left() + 9 + x, r.top() + y) == toilet.pixel(x, y);
            toilets += same;
        }
        EXPECT_EQ(toilets, 7);
        for (int box : {11, 12, 13})
            EXPECT_EQ(PixelAt(shot, BoxRect(box).left() + 3, BoxRect(box).top() + 3), PaletteColor(Colour::Green)) << box;
        for (int box : {14, 15})
            EXPECT_EQ(PixelAt(shot, BoxRect(box).left() + 3, BoxRect(box).top() + 3), PaletteColor(Colour::Magenta)) << box;
        EXPECT_EQ(PixelAt(shot, BoxRect(2).left() + 3, BoxRect(2).top() + 3), PaletteColor(Colour::Red));
        QTest::mouseClick(w.findChild<QPushButton*>(), Qt::LeftButton);
    });
    EXPECT_FLOAT_EQ(table.s().Credits, credits);
    EXPECT_FLOAT_EQ(table.s().DoubleNothing, -10.0f);
}

TEST_F(BoardWindowTest, ALosingBoxFlushesBeforeTheBoardOpensAndTheFigureDrops) {
    QueueShuffle(table.random);
    sound->SetSound(0);
    PlayModally([](BoardWindow& w) {
        Click(&w, 1);
        bool asked = false;
        // The flush asks whether it may play: that is the moment it sounds.
        sound->SetMinimizedQuery([&] {
            asked = true;
            EXPECT_EQ(w.WinningsText(), "$50.00");
            const QImage shot = Snapshot(w);
            EXPECT_EQ(PixelAt(shot, BoxRect(8).left() + 3, BoxRect(8).top() + 3), PaletteColor(Colour::Yellow)) << "not revealed";
            return true;
        });
        Click(&w, 7);
        sound->SetMinimizedQuery({});
        EXPECT_TRUE(asked);
        EXPECT_EQ(w.WinningsText(), "$0.00");
        QTest::mouseClick(w.findChild<QPushButton*>(), Qt::LeftButton);
    });
    sound->SetSound(1);
}

TEST_F(BoardWindowTest, ARealShuffleKeepsOneBoxOfEachKindAndBothHintsTellTheTruth) {
    ClockRandom random;
    for (int round = 0; round < 5; ++round) {
        table.s().SpinWin = 10.0f;
        BoardWindow w(table.game, *graphics, *sound, random);
        w.show();
        // Open the hints first, then lose, so the whole board is laid open.
        const auto& content = w.board().BoxContent();
        int evenOdd = 0, eight = 0, losing = 0;
        for (int box = 1; box <= kBoxes; ++box) {
            if (content[box - 1] == EvenOddHint) evenOdd = box;
            if (content[box - 1] == EightHint) eight = box;
            if (content[box - 1] == FirstLosing) losing = box;
        }
        const Answered parity = ClickAndAnswer(&w, evenOdd);
        const Answered size = ClickAndAnswer(&w, eight);
        Click(&w, losing);
        const QImage shot = Snapshot(w);

        std::map<QRgb, int> looks;
        int fiveX = 0;
        for (int box = 1; box <= kBoxes; ++box) {
            const QRgb look = shot.pixel(BoxRect(box).left() + 3, BoxRect(box).top() + 3);
            ++looks[look];
            if (look == PaletteColor(Colour::Blue).rgb()) fiveX = box;
        }
        EXPECT_EQ(looks[PaletteColor(Colour::Blue).rgb()], 1) << "one 5X";
        EXPECT_EQ(looks[PaletteColor(Colour::Red).rgb()], 2) << "3X and 2X";
        EXPECT_EQ(looks[PaletteColor(Colour::Green).rgb()], 3) << "Try Again";
        EXPECT_EQ(looks[PaletteColor(Colour::Magenta).rgb()], 2) << "hints";
        EXPECT_EQ(looks[PaletteColor(Colour::Yellow).rgb()], 0) << "nothing left closed";

        EXPECT_EQ(parity.title, "Hint");
        EXPECT_EQ(parity.icon, QMessageBox::Information);
        EXPECT_EQ(parity.text, fiveX % 2 == 0 ? "The 5X multiplier is under one of the even-numbered boxes!"
                                              : "The 5X multiplier is under one of the odd-numbered boxes!");
        EXPECT_EQ(size.title, "Hint");
        EXPECT_EQ(size.text, fiveX <= 8 ? "The 5X multiplier is behind a box numbered eight or less!"
                                        : "The 5X multiplier is behind a box numbered eight or more!");
        w.Quit();
    }
}

// A Try Again box is neither a hint nor a prize: it opens no message, shows its own green, and leaves
// the winnings and the board as they were.
TEST_F(BoardWindowTest, ATryAgainBoxOpensNoMessageAndChangesNothing) {
    QueueShuffle(table.random);
    auto w = Open();
    auto messages = std::make_shared<int>(0);
    WhenModalOpens(
        [messages](QWidget* modal) {
            ++*messages;
            if (auto* box = qobject_cast<QMessageBox*>(modal)) box->done(QMessageBox::Ok);
        },
        w.get());
    for (int box : {11, 12, 13}) {
        Click(w.get(), box);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << box;
        EXPECT_EQ(w->WinningsText(), QStringLiteral("$10.00")) << box;
    }
    const QImage shot = Snapshot(*w);
    for (int box : {11, 12, 13}) {
        EXPECT_EQ(PixelAt(shot, BoxRect(box).left() + 3, BoxRect(box).top() + 3), PaletteColor(Colour::Green)) << box;
        EXPECT_GT(CountColour(shot, BoxRect(box), PaletteColor(Colour::Yellow)), 20) << box;
        EXPECT_EQ(CountColour(shot, BoxRect(box), PaletteColor(Colour::Magenta)), 0) << box;
    }
    EXPECT_TRUE(w->board().BoardLive());
    EXPECT_EQ(*messages, 0);
    w->Quit();
    EXPECT_FLOAT_EQ(table.s().Credits, 1010.0f);
}

TEST_F(BoardWindowTest, OpenedBoxesAndBoxesAfterALossDoNothing) {
    QueueShuffle(table.random);
    auto w = Open();
    (void)ClickAndAnswer(w.get(), 14);
    bool messageAgain = false;
    WhenModalOpens([&](QWidget* modal) { messageAgain = true; modal->close(); }, w.get(), 20);
    Click(w.get(), 14);  // the hint again: no second message
    QTest::qWait(300);
    EXPECT_FALSE(messageAgain);
    Click(w.get(), 4);  // lose, silently
    sound->SetSound(0);  // sound on: any sound a dead board played would be counted
    const int afterLoss = sound->started();
    const QImage before = Snapshot(*w);
    for (int box = 1; box <= kBoxes; ++box) Click(w.get(), box);
    EXPECT_EQ(sound->started(), afterLoss);
    EXPECT_EQ(Snapshot(*w), before);
    EXPECT_FLOAT_EQ(w->board().Winnings(), 0.0f);
    EXPECT_EQ(w->WinningsText(), QStringLiteral("$0.00"));
}

TEST_F(BoardWindowTest, TheFiveXSoundPlaysWithSoundOnAndNotWithSoundOff) {
    if (!sound->HasDevice()) GTEST_SKIP() << "no audio device";
    QueueShuffle(table.random);
    auto w = Open();
    sound->SetSound(0);  // on
    const int before = sound->started();
    Click(w.get(), 1);
    EXPECT_EQ(sound->started(), before + 1);
    sound->SetSound(1);  // off
    Click(w.get(), 13);  // Try Again is silent anyway
    Click(w.get(), 2);   // 3X with sound off
    EXPECT_EQ(sound->started(), before + 1);
}

TEST_F(BoardWindowTest, EscapeLeavesTheBoardAsQuitDoesSoTheWinningsArePaid) {
    QueueShuffle(table.random);
    const float credits = table.s().Credits;
    PlayModally([](BoardWindow& w) {
        Click(&w, 2);
        QTest::keyClick(&w, Qt::Key_Escape);
    });
    EXPECT_FLOAT_EQ(table.s().Credits, credits + 30.0f);
    EXPECT_FLOAT_EQ(table.s().DoubleNothing, 20.0f);
}

TEST_F(BoardWindowTest, ClosingByTheFrameLeavesTheBoardAsQuitDoes) {
    QueueShuffle(table.random);
    const float credits = table.s().Credits;
    PlayModally([](BoardWindow& w) {
        Click(&w, 3);
        w.close();
    });
    EXPECT_FLOAT_EQ(table.s().Credits, credits + 20.0f);
    EXPECT_FLOAT_EQ(table.s().DoubleNothing, 10.0f);
}

TEST_F(BoardWindowTest, ABoardDestroyedWithoutQuitStillPaysWhatItShows) {
    QueueShuffle(table.random);
    const float credits = table.s().Credits;
    {
        auto w = Open();
        Click(w.get(), 3);
    }
    EXPECT_FLOAT_EQ(table.s().Credits, credits + 20.0f);
    EXPECT_FLOAT_EQ(table.s().DoubleNothing, 10.0f);
}

TEST_F(BoardWindowTest, TheQuitButtonsUnderlineSitsUnderItsQAtEveryScale) {
    auto w = Open();
    QPushButton* quit = nullptr;
    for (QPushButton* b : w->findChildren<QPushButton*>())
        if (b->text() == QStringLiteral("&Quit")) quit = b;
    ASSERT_NE(quit, nullptr);
    for (qreal ratio : {1.0, 1.25, 1.5, 1.75, 2.0}) {
        SCOPED_TRACE(ratio);
        QImage shot(quit->size() * ratio, QImage::Format_RGB32);
        shot.setDevicePixelRatio(ratio);
        shot.fill(Qt::white);
        quit->render(&shot);
        // Dark ink per row and column of the caption's area; the underline is the lowest dark row that
        // runs wider than it is tall.
        auto dark = [&](int x, int y) { return qGray(shot.pixel(x, y)) < 100; };
        const QRect area(shot.width() / 6, shot.height() / 6, shot.width() * 2 / 3, shot.height() * 2 / 3);
        int underline = -1, lineLeft = 0, lineRight = 0;
        for (int y = area.bottom(); y >= area.top() && underline < 0; --y) {
            int first = -1, last = -1, run = 0, best = 0;
            for (int x = area.left(); x <= area.right(); ++x) {
                if (dark(x, y)) { run++; if (first < 0) first = x; last = x; } else run = 0;
                best = std::max(best, run);
            }
            if (best >= 6 * ratio) { underline = y; lineLeft = first; lineRight = last; }
        }
        ASSERT_GE(underline, 0) << "no underline";
        // The Q: the leftmost ink of the text above the underline.
        int qLeft = area.right();
        for (int y = area.top(); y < underline - 1; ++y)
            for (int x = area.left(); x <= area.right(); ++x)
                if (dark(x, y)) qLeft = std::min(qLeft, x);
        EXPECT_GE(lineLeft, qLeft - qRound(ratio)) << "the underline starts left of the Q";
        EXPECT_LE(lineRight - lineLeft, 40 * ratio) << "the underline runs under one letter";
    }
}

// The instructions are read to their last word, "winnings.": the type steps down until all of it clears
// the Quit button.
TEST_F(BoardWindowTest, TheInstructionsEndAboveQuit) {
    const QString text = QString(BoardWindow::InstructionsText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    const int flags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
    const QRect room = BoardWindow::InstructionsRoom();
    EXPECT_LT(room.bottom(), kazoomba::ui::board_layout::kQuitButton.y);
    // However wide the desktop's type sets, down to a room a quarter shorter than the board's.
    for (const QRect& r : {room, room.adjusted(0, 0, 0, -room.height() / 8), room.adjusted(0, 0, 0, -room.height() / 4)}) {
        const QFont font = BoardWindow::InstructionsFont(r);
        EXPECT_LE(QFontMetrics(font).boundingRect(r, flags, text).height(), r.height()) << r.height() << " px";
        EXPECT_GE(QFontMetrics(font).height(), QFontMetrics(kazoomba::ui::GameFont(6.0)).height()) << "too small to read";
    }
}
