// The main window offscreen: start-up picture, pay lines, coin markers, displays, keys, menus and a real spin.
#include <gtest/gtest.h>

#include <QLabel>
#include <QMenuBar>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "support/QtApp.h"
#include "support/TestMachine.h"
#include "support/WindowTesting.h"
#include "SavedGames.h"
#include "support/Scripted.h"
#include "support/GameDoor.h"
#include "art/DigitDisplay.h"
#include "art/Drawing.h"
#include "art/Graphics.h"
#include "machine/MainLayout.h"
#include "machine/MainWindow.h"
#include "art/Palette.h"
#include "sound/Sound.h"
#include "dialogs/WinStopDialog.h"

using namespace kazoomba;
using namespace kazoomba::ui;
using kazoomba::testing::ScriptedRandom;

namespace {

class MainWindowTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kazoomba::testing::App(); }
    void SetUp() override {
        sound = std::make_unique<Sound>(QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds"));
        // Tests choose the Win Stop dialog and the exit save through these; by default the win is taken.
        MachineHooks hooks;
        hooks.askWinStopValue = [this](MainWindow& w, std::function<void(const QString&)> answer) {
            if (askWinStopValue) askWinStopValue(w, std::move(answer));
            else answer(QStringLiteral("0"));
        };
        hooks.beforeQuit = [this](MainWindow& w, std::function<void()> close) {
            if (beforeQuit) beforeQuit(w, std::move(close));
            else close();
        };
        window = std::make_unique<MainWindow>(*graphics, *sound, random, std::move(hooks));
        window->SetClock(&clock);
        window->StartUp();
        window->banner().StopBanner();
    }
    // Plays the spin under way out to rest by the test's clock, `stepMs` at a time.
    bool PlayOut(int stepMs = 60000) {
        return kazoomba::testing::DriveUntil(*window, clock, [this] { return !window->game().CommandRunning(); }, stepMs);
    }
    // Runs events until no window is open over the machine.
    bool AnswerWindows() {
        return kazoomba::testing::DriveUntil(*window, clock, [] { return !QApplication::activeModalWidget(); });
    }
    QRgb At(int x, int y) { return window->surface().pixel(x, y); }
    GameState& s() { return GameDoor::State(window->game()); }

    // True when the 64 x 64 block at (x, y) of the surface equals the large sheet's cell for code.
    bool ShowsSymbol(int x, int y, int code, int rows = 64) {
        const QImage& sheet = graphics->SymbolSheetLarge();
        for (int dy = 0; dy < rows; dy += 3)
            for (int dx = 0; dx < 64; dx += 3)
                if (window->surface().pixel(x + dx, y + dy) != sheet.pixel(64 * (code % 4) + dx, 64 * (code / 4) + dy))
                    return false;
        return true;
    }
    // True when the 31 x 21 coin marker of line shows the Coins cell for n coins.
    bool MarkerShows(int line, int n) {
        const auto& m = layout::kCoinMarkers[line];
        for (int dy = 0; dy < 21; ++dy)
            for (int dx = 0; dx < 31; ++dx)
                if (window->surface().pixel(m.x + dx, m.y + dy) !=
                    graphics->Coins().pixel(31 * (n / 5) + dx, 21 * (n % 5) + dy))
                    return false;
        return true;
    }
    // True when the 16 x 21 glyph at (x, y) equals digit d of colour row `colour` (d = 10: the blank cell).
    bool GlyphIs(int x, int y, int colour, int d) {
        for (int dy = 0; dy < 21; ++dy)
            for (int dx = 0; dx < 16; ++dx)
                if (window->surface().pixel(x + dx, y + dy) != graphics->Digits().pixel(16 * d + dx, 21 * colour + dy))
                    return false;
        return true;
    }

    std::function<void(MainWindow&, std::function<void(const QString&)>)> askWinStopValue;
    kazoomba::testing::ManualClock clock;
    std::function<void(MainWindow&, std::function<void()>)> beforeQuit;
    ScriptedRandom random;
    // The art is the same for every case, and rendering it is most of what a case costs: drawn once.
    Graphics* graphics = &kazoomba::testing::TestGraphics();
    std::unique_ptr<Sound> sound;
    std::unique_ptr<MainWindow> window;
};

TEST_F(MainWindowTest, TheWindowHasOneSizeWithTheMachineBelowItsMenuBar) {
    window->show();
    QCoreApplication::processEvents();
    EXPECT_EQ(window->minimumSize(), window->maximumSize());
    EXPECT_EQ(window->centralWidget()->size(), QSize(611, 456));
}

TEST_F(MainWindowTest, TheArtIsComplete) { EXPECT_TRUE(graphics->complete()) << graphics->missing().join(", ").toStdString(); }

TEST_F(MainWindowTest, StartUpShowsFulminaInCornersAndCentreAndGlobeElsewhere) {
    for (int c = 0; c < 9; ++c)
        EXPECT_TRUE(ShowsSymbol(layout::CellLeft(c), layout::CellTop(c) + 18, c % 2 ? Globe : Fulmina)) << "cell " << c;
    EXPECT_EQ(window->windowTitle().toStdString(), "Kazoomba Video Slots (32-bit version)");
}

TEST_F(MainWindowTest, PayLinesShowInTheirColoursBetweenTheCells) {
    auto colour = [](Colour c) { return PaletteColor(c).rgb(); };
    EXPECT_EQ(At(240, 115), colour(Colour::Red));  // line 1 between cells 0 and 1
    EXPECT_EQ(At(240, 227), colour(Colour::Blue));
    EXPECT_EQ(At(240, 339), colour(Colour::Lime));
    EXPECT_EQ(At(202, 60), colour(Colour::Cyan));   // column lines above the top cells
    EXPECT_EQ(At(282, 60), colour(Colour::Yellow));
    EXPECT_EQ(At(362, 60), colour(Colour::Green));
    window->SetPayLines(1);
    EXPECT_EQ(At(240, 115), PaletteColor(Colour::Silver).rgb());  // the panel's grey shows instead
    EXPECT_TRUE(MarkerShows(0, 0));
    window->SetPayLines(0);
    EXPECT_EQ(At(240, 115), colour(Colour::Red));
}

// A pay line is a solid stroke centred on its y (or x), with a one-pixel grey shadow above (left) and a
// white one below (right), pixel-exact at 100 % and at 200 %.
TEST_F(MainWindowTest, PayLinesAreSolidWithOnePixelShadowsAtEveryScale) {
    for (int ratio : {1, 2}) {
        Graphics g(ratio);
        MainWindow w(g, *sound, random);
        w.StartUp();
        w.banner().StopBanner();
        const QImage& img = w.surface();
        auto row = [&](int y) {  // the colour of device row y across the gap between cells 0 and 1
            const QRgb c = img.pixel(240 * ratio, y);
            for (int x = 238 * ratio; x < 246 * ratio; ++x)
                if (img.pixel(x, y) != c) return QRgb(0);
            return c;
        };
        auto column = [&](int x) {  // the colour of device column x above the top cells
            const QRgb c = img.pixel(x, 60 * ratio);
            for (int y = 59 * ratio; y < 64 * ratio; ++y)
                if (img.pixel(x, y) != c) return QRgb(0);
            return c;
        };
        const QRgb panel = PaletteColor(Colour::Silver).rgb(), grey = PaletteColor(Colour::Grey).rgb(), white = PaletteColor(Colour::White).rgb();
        SCOPED_TRACE(ratio);
        EXPECT_EQ(row(111 * ratio + ratio - 1), panel);
        for (int d = 0; d < ratio; ++d) {
            EXPECT_EQ(row(112 * ratio + d), grey);
            EXPECT_EQ(row(118 * ratio + d), white);
            EXPECT_EQ(column(199 * ratio + d), grey);
            EXPECT_EQ(column(205 * ratio + d), white);
        }
        for (int y = 113 * ratio; y < 118 * ratio; ++y) EXPECT_EQ(row(y), PaletteColor(Colour::Red).rgb()) << y;
        for (int x = 200 * ratio; x < 205 * ratio; ++x) EXPECT_EQ(column(x), PaletteColor(Colour::Cyan).rgb()) << x;
        EXPECT_EQ(row(119 * ratio), panel);
        EXPECT_EQ(column(198 * ratio + ratio - 1), panel);
        EXPECT_EQ(column(206 * ratio), panel);
    }
}

TEST_F(MainWindowTest, DisplaysLightCreditsInGreenAndTheCoinValueInRed) {
    // "0001000.00": three dark figures, then 1 0 0 0 . 0 0 lit green.
    EXPECT_TRUE(GlyphIs(458, 100, DigitGreen, 10));
    for (int y = 100; y < 121; ++y)
        for (int x = 458; x < 458 + 48; ++x) ASSERT_EQ(At(x, y), qRgb(0, 0, 0)) << "a dark figure is black at " << x << ", " << y;
    EXPECT_TRUE(GlyphIs(458 + 32, 100, DigitGreen, 10));
    EXPECT_TRUE(GlyphIs(458 + 48, 100, DigitGreen, 1));
    EXPECT_TRUE(GlyphIs(458 + 96, 100, DigitGreen, 0));
    // Coin value 0.25, every figure lit, always red.
    EXPECT_TRUE(GlyphIs(458, 50, DigitRed, 0));
    EXPECT_TRUE(GlyphIs(458 + 22, 50, DigitRed, 2));
    EXPECT_TRUE(GlyphIs(458 + 38, 50, DigitRed, 5));
    // Spins of 0: all dark.
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(GlyphIs(512 + 16 * i, 150, DigitGreen, 10));
    window->SetDigitColor(DigitRed);
    EXPECT_TRUE(GlyphIs(458 + 48, 100, DigitRed, 1));
    EXPECT_TRUE(GlyphIs(458, 50, DigitRed, 0));
}

TEST_F(MainWindowTest, DrawDigitsModes) {
    QImage img = graphics->NewImage(200, 21, Qt::black);
    QPainter p(&img);
    DrawDigits(p, *graphics, 0, 0, DigitGreen, QStringLiteral("0000.00"), 2);
    DrawDigits(p, *graphics, 100, 0, DigitGreen, QStringLiteral("0000.50"), 2);
    p.end();
    auto glyph = [&](int x, int d) {
        for (int dy = 0; dy < 21; ++dy)
            for (int dx = 0; dx < 16; ++dx)
                if (img.pixel(x + dx, dy) != graphics->Digits().pixel(16 * d + dx, 42 + dy)) return false;
        return true;
    };
    for (int i = 0; i < 4; ++i) EXPECT_TRUE(glyph(16 * i, 10));
    EXPECT_TRUE(glyph(64 + 6, 10));          // a zero value stays dark after the point
    EXPECT_TRUE(glyph(100 + 64 + 6, 5));     // 0.50 lights 5 and 0 after the point, no units figure
    EXPECT_TRUE(glyph(100 + 48, 10));
}

TEST_F(MainWindowTest, TwelveCoinsShowTwoCoinsOnTheFirstFourLines) {
    for (int i = 0; i < 12; ++i) window->ButtonCommand(Bet1Button);
    for (int line = 0; line < 8; ++line) EXPECT_TRUE(MarkerShows(line, line < 4 ? 2 : 1)) << line;
    EXPECT_FLOAT_EQ(s().Wager, 3.0f);
}

TEST_F(MainWindowTest, TheBKeyBetsOneCoinAndEnterWithoutAnyBetDoesNothing) {
    window->show();
    QTest::keyClick(window.get(), Qt::Key_Return);
    EXPECT_EQ(s().Spins, 0);
    QTest::keyClick(window.get(), Qt::Key_B);
    EXPECT_FLOAT_EQ(s().Wager, 0.25f);
    QTest::keyClick(window.get(), Qt::Key_Backslash);
    EXPECT_FLOAT_EQ(s().Wager, 0.5f);
}

// The platform hands the press of an Enter that closes a message box or dialog to that window and only
// the release to the main window: such a release must neither spin nor bet.
TEST_F(MainWindowTest, OnlyAKeyPressedInTheWindowActsOnItsRelease) {
    window->show();
    window->SetSpinSpeed(0);
    s().LastBet = 0.25f;
    QTest::keyRelease(window.get(), Qt::Key_Return);
    QTest::keyRelease(window.get(), Qt::Key_B);
    QTest::keyRelease(window.get(), Qt::Key_Backslash);
    EXPECT_EQ(s().Spins, 0);
    EXPECT_EQ(s().Wager, 0.0f);
    EXPECT_FLOAT_EQ(s().Credits, 1000.0f);

    // "Wager Not Allowed" closed with Enter, with coins on the table.
    for (int i = 0; i < 60; ++i) window->ButtonCommand(Bet1Button);
    kazoomba::testing::WhenModalOpens([](QWidget* box) { QTest::keyPress(box, Qt::Key_Return); }, window.get());
    window->ButtonCommand(Bet8Button);
    ASSERT_TRUE(AnswerWindows());
    QTest::keyRelease(window.get(), Qt::Key_Return);
    EXPECT_EQ(s().Spins, 0);
    EXPECT_FLOAT_EQ(s().Wager, 15.0f);

    // The Win Stop Value dialog confirmed with Enter in its field starts no auto-spin run.
    askWinStopValue = [](MainWindow& w, std::function<void(const QString&)> answer) {
        AskWinStopValue(&w, std::move(answer));
    };
    kazoomba::testing::WhenModalOpens(
        [](QWidget* dialog) { QTest::keyPress(dialog->focusWidget() ? dialog->focusWidget() : dialog, Qt::Key_Return); },
        window.get());
    window->menus().autoSpin->trigger();
    ASSERT_TRUE(AnswerWindows());
    EXPECT_TRUE(s().AutoSpin);
    QTest::keyRelease(window.get(), Qt::Key_Return);
    EXPECT_EQ(s().Spins, 0);
    window->menus().autoSpin->trigger();

    // Pressed and released in the window, the keys still bet and spin.
    QTest::keyPress(window.get(), Qt::Key_B);
    QTest::keyRelease(window.get(), Qt::Key_B);
    EXPECT_FLOAT_EQ(s().Wager, 15.25f);
    QTest::keyPress(window.get(), Qt::Key_Return);
    QTest::keyRelease(window.get(), Qt::Key_Return);
    EXPECT_EQ(s().Spins, 1);
    PlayOut();
}

TEST_F(MainWindowTest, TheFirstPictureShowsTheBonusCountersOfTheRestoredGame) {
    struct Menus : MenuSelections {
        int SpeedIndex() const override { return 1; }
        int BannerIndex() const override { return 1; }
        void SetSpinSpeed(int) override {}
        void SetBanner(int) override {}
    } menus;
    QTemporaryDir dir;
    QFile ini(dir.filePath("KAZO.INI"));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[Current Game]\r\nCredits=900.00\r\nSmiles=2\r\nBells=1\r\nCoins=3\r\n");
    ini.close();
    ProfileFile file(ini.fileName());
    LoadGame(file, window->game(), menus, kCurrentGameSlot);
    window->show();
    QCoreApplication::processEvents();
    auto blank = [&](int x, int y) {
        for (int dy = 0; dy < 32; dy += 4)
            for (int dx = 0; dx < 32; dx += 4)
                if (At(x + dx, y + dy) != qRgb(0, 0, 0)) return false;
        return true;
    };
    using namespace layout;
    EXPECT_FALSE(blank(kMarkerX, kGlobeRowY));
    EXPECT_TRUE(blank(kMarkerX + kMarkerStep, kGlobeRowY));
    EXPECT_FALSE(blank(kMarkerX + kMarkerStep, kSmileRowY));
    EXPECT_TRUE(blank(kMarkerX + 2 * kMarkerStep, kSmileRowY));
    QStringList captions;
    for (QLabel* l : window->findChildren<QLabel*>()) captions << l->text();
    EXPECT_TRUE(captions.contains("To Win Pool:  1")) << captions.join('|').toStdString();
    EXPECT_TRUE(captions.contains("For Bonus:  2"));
}

// The left captions and "Bonus Spin": white 8.25-point bold text whose line starts at the control's top.
TEST_F(MainWindowTest, CaptionsStartAtTheirTopsInWhite) {
    window->show();
    window->ShowBonusCaption(true);
    const QImage shot = kazoomba::testing::Snapshot(*window->centralWidget());
    const QFontMetrics m(GameFont(8.25, true));
    const QRect ink = m.tightBoundingRect(QStringLiteral("B"));
    // First and last rows and columns of bright text inside a box.
    auto inked = [&](QRect box) {
        QRect r;
        for (int y = box.top(); y <= box.bottom(); ++y)
            for (int x = box.left(); x <= box.right(); ++x)
                if (qGray(shot.pixel(x, y)) > 140) r |= QRect(x, y, 1, 1);
        return r;
    };
    for (int top : {78, 154, 245}) {
        const QRect r = inked(QRect(3, top - 8, 115, 30));
        EXPECT_NEAR(r.top(), top + m.ascent() + ink.top(), 1) << "caption at " << top;
    }
}

TEST_F(MainWindowTest, DuringABonusSpinTheCaptionIsYellowTwelvePointBoldAndCentredInItsBox) {
    window->show();
    window->SetSpinSpeed(0);
    s().BonusSpins = 1;  // one free spin follows the next paid one
    QImage during;
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    kazoomba::testing::DriveUntil(*window, clock, [&] {
        if (s().BonusMode && during.isNull()) during = kazoomba::testing::Snapshot(*window->centralWidget());
        return !window->game().CommandRunning();
    }, 50);
    ASSERT_FALSE(during.isNull()) << "no bonus spin was seen";

    const QRect box(layout::kBonusCaptionX, layout::kBonusCaptionY, layout::kBonusCaptionW, layout::kCaptionH);
    QRect yellow;
    for (int y = box.top(); y <= box.bottom(); ++y)
        for (int x = box.left(); x <= box.right(); ++x) {
            const QColor c = during.pixelColor(x, y);
            if (c.red() > 200 && c.green() > 200 && c.blue() < 80) yellow |= QRect(x, y, 1, 1);
        }
    const QRect ink = QFontMetrics(GameFont(12, true)).tightBoundingRect(QStringLiteral("Bonus Spin"));
    ASSERT_FALSE(yellow.isEmpty());
    EXPECT_NEAR(yellow.width(), ink.width(), 4) << "12-point bold";
    EXPECT_NEAR(yellow.center().x(), box.center().x(), 2) << "centred across the box";
    EXPECT_NEAR(yellow.center().y(), box.center().y(), 3) << "centred down the box";
    EXPECT_EQ(kazoomba::testing::CountColour(during, box, PaletteColor(Colour::White)), 0) << "no white";
    // After the run the caption has gone.
    EXPECT_EQ(kazoomba::testing::CountColour(kazoomba::testing::Snapshot(*window->centralWidget()), box,
                                             PaletteColor(Colour::Yellow)), 0);
}

TEST_F(MainWindowTest, SpinsOfAMillionOrMoreKeepToTheirSixFigures) {
    window->show();
    s().Spins = 1234567;
    window->RedrawSpinsDisplay();
    // The counter rolls over: 234567, and nothing is drawn right of its box.
    for (int i = 0; i < 6; ++i) EXPECT_TRUE(GlyphIs(layout::kSpinsX + 16 * i, layout::kSpinsY, DigitGreen, 2 + i)) << i;
    for (int y = layout::kSpinsY; y < layout::kSpinsY + 21; ++y)
        for (int x = layout::kSpinsX + 96; x < layout::kClientWidth; ++x)
            ASSERT_EQ(At(x, y), qRgb(0, 0, 0)) << x << "," << y;
}

TEST_F(MainWindowTest, MenusCarryTheirCaptionsAndInitialMarks) {
    QStringList tops;
    for (QAction* a : window->menuBar()->actions()) tops << a->text();
    EXPECT_EQ(tops, (QStringList{"&File", "&Options", "&Bank", "Auto Play", "&Help"}));
    EXPECT_TRUE(window->menus().bet[2]->isChecked());
    EXPECT_EQ(window->menus().bet[2]->text().toStdString(), "25\xC2\xA2");
    EXPECT_TRUE(window->menus().digit[2]->isChecked());
    EXPECT_TRUE(window->menus().speed[1]->isChecked());
    EXPECT_TRUE(window->menus().lines[0]->isChecked());
    EXPECT_TRUE(window->menus().banner[0]->isChecked());
    EXPECT_TRUE(window->menus().sound[0]->isChecked());
    EXPECT_FALSE(window->menus().autoSpin->isChecked());
    EXPECT_EQ(window->menus().load->text(), "Load ");
    // Each group carries exactly one mark, whoever moves it.
    window->SetSpinSpeed(3);
    window->menus().speed[1]->trigger();
    for (int i = 0; i < 4; ++i) EXPECT_EQ(window->menus().speed[i]->isChecked(), i == 1);
    window->menus().digit[4]->trigger();
    for (int i = 0; i < 7; ++i) EXPECT_EQ(window->menus().digit[i]->isChecked(), i == 4);
    window->menus().bet[2]->trigger();  // choosing the checked item again keeps its mark
    EXPECT_TRUE(window->menus().bet[2]->isChecked());
    // While the reels turn only Auto Play can be used; after the spin, everything again.
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    auto enabled = [&](int i) { return window->menuBar()->actions()[i]->isEnabled(); };
    EXPECT_FALSE(enabled(0));
    EXPECT_FALSE(enabled(1));
    EXPECT_FALSE(enabled(2));
    EXPECT_TRUE(enabled(3));
    EXPECT_FALSE(enabled(4));
    PlayOut();
    EXPECT_TRUE(enabled(0));
    EXPECT_TRUE(enabled(4));
}

TEST_F(MainWindowTest, ASpinAnimatesClicksNineTimesAndRestsOnTheDrawnStops) {
    window->SetSpinSpeed(0);
    std::array<int, 9> stops = {6, 6, 6, 1, 1, 1, 1, 1, 1};  // Target on the top row
    kazoomba::testing::ForceStops(random, stops);
    const int before = sound->started();
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    // A tick for every frame of the fastest speed: each wheel's stop is heard on its own frame.
    PlayOut(11);
    EXPECT_EQ(s().Spins, 1);
    if (sound->HasDevice()) {
        EXPECT_GE(sound->started() - before, 9);
    }
    EXPECT_FLOAT_EQ(s().Credits, 1000.0f - 0.25f + 6.25f);
    // Above the winning line's stroke the symbols show as they rest.
    for (int c = 0; c < 3; ++c) EXPECT_TRUE(ShowsSymbol(layout::CellLeft(c), layout::CellTop(c) + 16, Target, 28)) << c;
    // The winning top row is drawn again over the symbols.
    EXPECT_EQ(At(240, 115), PaletteColor(Colour::Red).rgb());
    EXPECT_TRUE(s().SpinReady);
}

// Over a wheel a pay line shows only when it has won: it is drawn again over the resting symbols.
TEST_F(MainWindowTest, AWinningLineIsDrawnOverTheSymbolsAndALineWithoutAWinIsNot) {
    window->SetSpinSpeed(0);
    const QImage& sheet = graphics->SymbolSheetLarge();
    // Line 2 crosses the middle row at y = 227, 48 rows into its symbols; (190, 227) is inside cell 3.
    const QRgb symbolPixel = sheet.pixel(64 * (Target % 4) + 20, 64 * (Target / 4) + 32);
    const QRgb blue = PaletteColor(Colour::Blue).rgb();
    ASSERT_NE(symbolPixel, blue);
    const std::array<int, 9> middleTargets = {1, 1, 1, 6, 6, 6, 1, 1, 1};

    kazoomba::testing::ForceStops(random, middleTargets);
    window->ButtonCommand(Bet1Button);  // one coin: line 1 only, so the middle row cannot win
    window->ButtonCommand(SpinButton);
    PlayOut();
    ASSERT_EQ(s().SpinWin, 0.0f);
    EXPECT_EQ(At(190, 227), symbolPixel);
    EXPECT_EQ(At(240, 227), blue);  // between the cells the line always shows

    kazoomba::testing::ForceStops(random, middleTargets);
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(Bet1Button);  // two coins: lines 1 and 2
    window->ButtonCommand(SpinButton);
    PlayOut();
    ASSERT_GT(s().SpinWin, 0.0f);
    for (int x : {180, 190, 220, 260, 300, 340, 390})
        for (int y = 225; y <= 229; ++y) EXPECT_EQ(At(x, y), blue) << x << ", " << y;
    // Line 1 did not win: its cells show their Stop symbols untouched.
    EXPECT_EQ(At(190, 115), sheet.pixel(64 * (Stop % 4) + 20, 64 * (Stop / 4) + 32));
}

TEST_F(MainWindowTest, ClosingDuringASpinSettlesItFirst) {
    window->SetSpinSpeed(3);
    kazoomba::testing::ForceStops(random, {6, 6, 6, 1, 1, 1, 1, 1, 1});
    bool saved = false;
    beforeQuit = [&](MainWindow&, std::function<void()> close) {
        saved = true;
        EXPECT_FLOAT_EQ(s().Credits, 1006.0f);
        close();
    };
    window->show();
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    clock.Advance(200);
    window->Tick();
    ASSERT_LT(window->ShownFrame(), kRestFrame) << "the reels were to be still moving";
    window->close();
    // Settled at once, without the rest of the motion: the window goes as soon as its events run.
    EXPECT_TRUE(window->isVisible());
    QCoreApplication::processEvents();
    EXPECT_TRUE(saved);
    EXPECT_FALSE(window->isVisible());
}

// The exit save's question is answered later, with the window still listening: the window stays until
// the answer, however often it is asked to close meanwhile, and then goes by itself.
TEST_F(MainWindowTest, ClosingWaitsForTheExitQuestionWithoutHoldingTheWindow) {
    int asked = 0;
    std::function<void()> answer;
    beforeQuit = [&](MainWindow&, std::function<void()> close) {
        ++asked;
        answer = std::move(close);
    };
    window->show();
    window->close();
    window->close();  // a second request, a signal say, while the question is up
    QCoreApplication::processEvents();
    EXPECT_EQ(asked, 1);
    EXPECT_TRUE(window->isVisible());
    ASSERT_TRUE(answer);
    answer();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(asked, 1);
}

TEST_F(MainWindowTest, TheBannerMovesTenPixelsATickAndWraps) {
    BannerMarquee& b = window->banner();
    b.SetText(QStringLiteral("Hello"));
    b.Tick();
    EXPECT_EQ(b.Interval(), BannerMarquee::kStepMs);
    const int w = b.PictureWidth();
    EXPECT_EQ(b.Offset(), 10);
    b.Tick();
    EXPECT_EQ(b.Offset(), 20);
    while (b.Offset() + 10 < w) b.Tick();
    const int before = b.Offset();
    b.Tick();
    EXPECT_EQ(b.Offset(), before + 10 - w);
    // Past the short picture's end the strip is black.
    EXPECT_EQ(At(600, 10), qRgb(0, 0, 0));
}

}  // namespace
