// The Payoffs window opened as the game opens it: what it shows, how it is taken, doubled and placed.
#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <functional>
#include <memory>

#include "gamble/BoardWindow.h"
#include "gamble/PayoffsLayout.h"
#include "gamble/PayoffsWindow.h"
#include "support/Scripted.h"
#include "support/WindowTesting.h"
#include "support/WindowParts.h"
#include "art/DigitDisplay.h"
#include "art/Graphics.h"
#include "art/Palette.h"
#include "sound/Sound.h"

using namespace kazoomba;
using namespace kazoomba::testing;
using kazoomba::ui::Colour;
using kazoomba::ui::PaletteColor;
using kazoomba::ui::PayoffsWindow;
namespace PL = kazoomba::ui::payoffs_layout;

namespace {

constexpr int kBlankGlyph = 10;

class PayoffsWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        TestApplication();
        graphics = &TestGraphics();
        sound = &TestSound();
    }
    void SetUp() override {
        PayoffsWindow::PayoffsWindowPos = {};
        s().Credits = 100.0f;
        s().CoinValue = 0.25f;
    }

    GameState& s() { return t.s(); }

    // A win of `pay` coins a coin on `line`, with one coin on it, as the spin's whole win.
    void WinOn(int line, int pay) {
        s().LinePay = {};
        s().LineCoins = {};
        s().LinePay[line] = static_cast<std::int16_t>(pay);
        s().LineCoins[line] = 1;
        s().SpinWin = static_cast<float>(pay) * s().CoinValue;
    }

    // Brings the given symbol to rest in a cell.
    void ShowInCell(int cell, Symbol code) {
        const auto& strip = t.game.Reels().ReelStrip[WheelOf(cell)];
        for (int stop = 0; stop < kStops; ++stop)
            if (strip[stop] == code) {
                GameDoor::Reels(t.game).StopIndex[cell] = static_cast<std::int16_t>(stop);
                return;
            }
        FAIL() << "no symbol " << code << " on the strip of cell " << cell;
    }

    // Opens the window as the game does, runs act on it once it shows, and returns when it has closed.
    // A window that is still open after a few seconds is taken, and the test fails.
    void Present(const std::function<void(PayoffsWindow&)>& act) {
        QTimer guard;
        guard.setSingleShot(true);
        QObject::connect(&guard, &QTimer::timeout, [] {
            ADD_FAILURE() << "the window stayed open";
            for (QWidget* w : QApplication::topLevelWidgets())
                if (w->isVisible() && (qobject_cast<QDialog*>(w))) w->close();
        });
        guard.start(4000);
        bool settled = false;
        PayoffsWindow::PresentWin(t.game, *graphics, ui::DigitGreen, *sound, t.random, nullptr, [&] { settled = true; });
        PayoffsWindow* shown = nullptr;
        for (QWidget* w : QApplication::topLevelWidgets())
            if (auto* p = qobject_cast<PayoffsWindow*>(w); p && p->isVisible()) shown = p;
        ASSERT_NE(shown, nullptr) << "no Payoffs window opened";
        // A win that auto spin takes by itself opens without the keyboard and without holding the machine.
        EXPECT_EQ(shown->isModal(), !shown->takesByItself());
        act(*shown);
        while (!settled && guard.isActive()) QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 20);
        EXPECT_TRUE(AwaitModalsClosed());
        EXPECT_TRUE(settled) << "the spin was not told the win is settled";
    }

    std::unique_ptr<PayoffsWindow> Open() {
        auto w = std::make_unique<PayoffsWindow>(t.game, *graphics, ui::DigitGreen, *sound, t.random);
        w->show();
        return w;
    }

    static QPushButton* ButtonOf(PayoffsWindow& w, const QString& caption) {
        for (QPushButton* b : w.findChildren<QPushButton*>())
            if (b->text() == caption) return b;
        return nullptr;
    }

    // True when the w x h block at (x, y) of the image equals the block at (sx, sy) of the picture.
    static bool SameBlock(const QImage& image, int x, int y, const QImage& picture, int sx, int sy, int w, int h) {
        for (int dy = 0; dy < h; ++dy)
            for (int dx = 0; dx < w; ++dx)
                if (image.pixel(x + dx, y + dy) != picture.pixel(sx + dx, sy + dy)) return false;
        return true;
    }
    static bool GlyphIs(const QImage& image, int x, int y, int d) {
        return SameBlock(image, x, y, graphics->Digits(), 16 * d, 21 * ui::DigitGreen, 16, 21);
    }
    static bool SymbolIs(const QImage& image, int x, int y, int code) {
        return SameBlock(image, x, y, graphics->SymbolSheetSmall(), 32 * (code % 4), 32 * (code / 4), 32, 32);
    }

    static inline ui::Graphics* graphics = nullptr;
    static inline ui::Sound* sound = nullptr;
    Table t;
};

TEST_F(PayoffsWindowTest, CaptionNamesTheSpinWithThousandsGrouped) {
    WinOn(0, 10);
    s().Spins = 1204;
    EXPECT_EQ(Open()->windowTitle(), QStringLiteral("Kazoomba Video Slots -- Spin #1,204 Results"));
    s().Spins = 7;
    EXPECT_EQ(Open()->windowTitle(), QStringLiteral("Kazoomba Video Slots -- Spin #7 Results"));
}

TEST_F(PayoffsWindowTest, TakeHasTheFocusAndComesBeforeDouble) {
    WinOn(0, 10);
    auto w = Open();
    QPushButton* take = ButtonOf(*w, QStringLiteral("&Take"));
    QPushButton* dbl = ButtonOf(*w, QStringLiteral("&Double"));
    ASSERT_TRUE(take && dbl);
    EXPECT_EQ(w->focusWidget(), take);
    QWidget* next = take->nextInFocusChain();
    while (next && !(next->focusPolicy() & Qt::TabFocus)) next = next->nextInFocusChain();
    EXPECT_EQ(next, dbl);
}

TEST_F(PayoffsWindowTest, EscapeAndTheFrameCloseBothTakeTheWin) {
    WinOn(0, 10);  // $2.50
    Present([](PayoffsWindow& w) {
        QWidget* target = w.focusWidget() ? w.focusWidget() : &w;
        QTest::keyClick(target, Qt::Key_Escape);
    });
    EXPECT_FLOAT_EQ(s().Credits, 102.50f);

    Present([](PayoffsWindow& w) { w.close(); });
    EXPECT_FLOAT_EQ(s().Credits, 105.00f);

    Present([](PayoffsWindow& w) { QTest::mouseClick(ButtonOf(w, QStringLiteral("&Take")), Qt::LeftButton); });
    EXPECT_FLOAT_EQ(s().Credits, 107.50f);
}

TEST_F(PayoffsWindowTest, AWinIsCreditedOnceHoweverManyRoadsTakeIt) {
    WinOn(0, 10);
    s().AutoSpin = true;
    Present([](PayoffsWindow& w) {
        w.Take();
        w.TimerTick();
        w.reject();
        w.Take();
    });
    EXPECT_FLOAT_EQ(s().Credits, 102.50f);
}

TEST_F(PayoffsWindowTest, AutoSpinWithWinStopZeroTakesAtTheFirstTick) {
    WinOn(0, 2000);  // $500
    s().AutoSpin = true;
    s().WinStopValue = 0;
    Present([](PayoffsWindow& w) { w.TimerTick(); });
    EXPECT_FLOAT_EQ(s().Credits, 600.0f);
}

TEST_F(PayoffsWindowTest, WithoutAutoSpinTheSecondTimerRunsButTakesNothing) {
    WinOn(0, 10);
    s().AutoSpin = false;
    Present([this](PayoffsWindow& w) {
        EXPECT_TRUE(w.autoTakeTimer().isActive());
        EXPECT_EQ(w.autoTakeTimer().interval(), 1000);
        w.TimerTick();
        EXPECT_TRUE(w.isVisible());
        EXPECT_FLOAT_EQ(s().Credits, 100.0f);
        w.Take();
    });
    EXPECT_FLOAT_EQ(s().Credits, 102.50f);
}

TEST_F(PayoffsWindowTest, WinStopFiftyTakes4975AndKeeps5000Open) {
    s().AutoSpin = true;
    s().WinStopValue = 50;

    WinOn(0, 199);  // $49.75
    Present([](PayoffsWindow& w) { w.TimerTick(); });
    EXPECT_FLOAT_EQ(s().Credits, 149.75f);

    WinOn(0, 200);  // $50.00
    Present([this](PayoffsWindow& w) {
        w.TimerTick();
        w.TimerTick();
        EXPECT_TRUE(w.isVisible());
        EXPECT_TRUE(w.autoTakeTimer().isActive());
        EXPECT_FLOAT_EQ(s().Credits, 149.75f);
        QTest::mouseClick(ButtonOf(w, QStringLiteral("&Take")), Qt::LeftButton);
    });
    EXPECT_FLOAT_EQ(s().Credits, 199.75f);
}

TEST_F(PayoffsWindowTest, ALineWithoutAWinShowsDarkFiguresAndNoNumberOrSymbols) {
    ShowInCell(0, Target);
    ShowInCell(1, Target);
    ShowInCell(2, Target);
    WinOn(0, 25);  // line 1: $6.25; line 2 has no win
    auto w = Open();
    const QImage shot = Snapshot(*w);

    // Line 2 (left column, second row): the panel is black where the number and symbols would stand,
    // and the figures are the dark cell, only the point lit.
    const int top = PL::kPanelTop + PL::kRowStep;
    EXPECT_EQ(CountColour(shot, QRect(10, top, 150, 39), PaletteColor(Colour::Black)), 150 * 39);
    for (int x : {160, 176, 192, 208, 230, 246}) EXPECT_TRUE(GlyphIs(shot, x, 110, kBlankGlyph)) << x;

    // Line 1 beside it: its number in red, its symbols, 6.25 lit.
    EXPECT_GT(CountColour(shot, QRect(10, 50, 30, 40), PaletteColor(Colour::Red)), 20);
    for (int k = 0; k < 3; ++k) EXPECT_TRUE(SymbolIs(shot, 45 + 36 * k, 55, Target)) << k;
    EXPECT_TRUE(GlyphIs(shot, 160 + 32, 60, kBlankGlyph));
    EXPECT_TRUE(GlyphIs(shot, 160 + 48, 60, 6));
    EXPECT_TRUE(GlyphIs(shot, 230, 60, 2));
    EXPECT_TRUE(GlyphIs(shot, 246, 60, 5));
}

TEST_F(PayoffsWindowTest, TheRisingDiagonalShowsBottomLeftThenCentreThenTopRight) {
    ShowInCell(6, Target);
    ShowInCell(4, Globe);
    ShowInCell(2, Smile);
    WinOn(7, 10);
    auto w = Open();
    const QImage shot = Snapshot(*w);
    const int x = PL::kSymbolX + PL::kColumnStep, y = PL::kSymbolY + 3 * PL::kRowStep;
    EXPECT_TRUE(SymbolIs(shot, x, y, Target));
    EXPECT_TRUE(SymbolIs(shot, x + 36, y, Globe));
    EXPECT_TRUE(SymbolIs(shot, x + 72, y, Smile));
    // Its number "8" in the line's olive, at the right column's number place.
    EXPECT_GT(CountColour(shot, QRect(310, 200, 30, 40), PaletteColor(Colour::Olive)), 20);
}

TEST_F(PayoffsWindowTest, BonusPoolRowShowsTheWonPoolADarkZeroOrNothingInBonusSpins) {
    ShowInCell(0, Globe);
    ShowInCell(1, Globe);
    ShowInCell(2, Globe);
    WinOn(0, 20);  // $5.00
    s().BonusPool = 12.5f;

    s().Bells = 1;  // not won on this spin: a dark 0000.00 in a sunken panel
    QImage shot = Snapshot(*Open());
    EXPECT_EQ(PixelAt(shot, 165, 329), PaletteColor(Colour::Black));
    EXPECT_LT(CountColour(shot, QRect(5, 320, 155, 35), PaletteColor(Colour::Silver)), 155 * 35 - 300);  // the label
    for (int x : {166, 182, 198, 214, 236, 252}) EXPECT_TRUE(GlyphIs(shot, x, 330, kBlankGlyph)) << x;

    s().Bells = 0;  // won: the pool is shown and counted in the total
    s().SpinWin += s().BonusPool;
    shot = Snapshot(*Open());
    EXPECT_TRUE(GlyphIs(shot, 198, 330, 1));
    EXPECT_TRUE(GlyphIs(shot, 214, 330, 2));
    EXPECT_TRUE(GlyphIs(shot, 236, 330, 5));
    EXPECT_TRUE(GlyphIs(shot, 444 + 48, 280, 1));  // total 00017.50
    EXPECT_TRUE(GlyphIs(shot, 444 + 64, 280, 7));

    s().BonusMode = true;  // during bonus spins the row is absent: plain grey
    shot = Snapshot(*Open());
    EXPECT_EQ(CountColour(shot, QRect(0, 316, 300, 50), PaletteColor(Colour::Silver)), 300 * 50);
}

TEST_F(PayoffsWindowTest, TotalWonAndBonusPoolStandClearOfTheirPanels) {
    WinOn(0, 20);
    s().Bells = 1;
    const QImage shot = Snapshot(*Open());
    // The captions are there, and the few columns before each panel's frame are the window's grey.
    EXPECT_LT(CountColour(shot, QRect(330, 275, 100, 25), PaletteColor(Colour::Silver)), 100 * 25 - 150);
    EXPECT_LT(CountColour(shot, QRect(5, 320, 140, 35), PaletteColor(Colour::Silver)), 140 * 35 - 300);
    const int totalFrame = PL::kTotalLeft - PL::kPanelFrame, poolFrame = PL::kPoolLeft - PL::kPanelFrame;
    EXPECT_EQ(CountColour(shot, QRect(totalFrame - 4, 270, 4, 40), PaletteColor(Colour::Silver)), 4 * 40) << "Total Won:";
    EXPECT_EQ(CountColour(shot, QRect(poolFrame - 4, 316, 4, 44), PaletteColor(Colour::Silver)), 4 * 44) << "Bonus Pool:";
}

TEST_F(PayoffsWindowTest, PositionIsRememberedForTheRunAndCentredWhileUnplaced) {
    WinOn(0, 10);
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    const QPoint centre((screen.width() - PL::kClientWidth) / 2, (screen.height() - PL::kClientHeight) / 2);

    Present([&](PayoffsWindow& w) {
        EXPECT_EQ(w.pos(), centre);
        w.move(123, 77);
        w.Take();
    });
    EXPECT_EQ(PayoffsWindow::PayoffsWindowPos, QPoint(123, 77));
    Present([](PayoffsWindow& w) {
        EXPECT_EQ(w.pos(), QPoint(123, 77));
        w.Take();
    });

    // Dragged to the left edge or beyond: centred again next time.
    for (QPoint left : {QPoint(0, 40), QPoint(-30, 40)}) {
        PayoffsWindow::PayoffsWindowPos = left;
        Present([&](PayoffsWindow& w) {
            EXPECT_EQ(w.pos(), centre);
            w.Take();
        });
    }
}

TEST_F(PayoffsWindowTest, DoubleHandsTheWinToTheBoardAndClosesWithoutCrediting) {
    WinOn(0, 40);  // $10.00
    s().AutoSpin = true;
    bool boardOpened = false;
    Present([&](PayoffsWindow& w) {
        QPointer<PayoffsWindow> payoffs(&w);
        WhenModalOpens(
            [&, payoffs](QWidget* modal) {
                auto* board = qobject_cast<ui::BoardWindow*>(modal);
                ASSERT_NE(board, nullptr);
                boardOpened = true;
                // While the board is open the Payoffs window's timer is stopped and can take nothing.
                EXPECT_FALSE(payoffs->autoTakeTimer().isActive());
                payoffs->TimerTick();
                EXPECT_FLOAT_EQ(s().Credits, 100.0f);
                board->Quit();
            },
            &w);
        QTest::mouseClick(ButtonOf(w, QStringLiteral("&Double")), Qt::LeftButton);
    });
    EXPECT_TRUE(boardOpened);
    // Quitting the board at once pays the stake back, once; the Payoffs window adds nothing.
    EXPECT_FLOAT_EQ(s().Credits, 110.0f);
}

}  // namespace

// A listener hears the window's content as it opens: the total first, then each winning line and the pool
// won, and in bonus spins which one this is.
TEST_F(PayoffsWindowTest, TheWindowDescribesTheWinForAScreenReader) {
    ShowInCell(0, Globe);
    ShowInCell(1, Globe);
    ShowInCell(2, Globe);
    WinOn(0, 20);  // $5.00
    s().BonusPool = 12.5f;
    s().Bells = 0;
    s().SpinWin += s().BonusPool;
    EXPECT_EQ(Open()->accessibleDescription(),
              "Total won: $17.50. Line 1: Globe, Globe, Globe, $5.00. Bonus pool: $12.50.");
    s().Bells = 2;
    s().SpinWin = 5.0f;
    s().BonusMode = true;
    s().BonusSpins = 1;
    EXPECT_EQ(Open()->accessibleDescription(),
              "Bonus Spin, 1 more after this one. Total won: $5.00. Line 1: Globe, Globe, Globe, $5.00.");
}
