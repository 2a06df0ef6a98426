// The Game History window: opened from the File menu over a machine that has played, each row read as one
// sentence, the chosen spin's reels exactly as the machine showed them at rest with its winning lines, the
// keyboard alone choosing rows and closing it, and the whole history saved as CSV through a window of its own.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QFileDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "HistoryFile.h"
#include "info/HistoryLayout.h"
#include "info/HistoryWindow.h"
#include "machine/MainLayout.h"
#include "play/PendingMoment.h"
#include "support/Stops.h"
#include "support/TestMachine.h"
#include "support/WindowTesting.h"

using namespace kazoomba;
using namespace kazoomba::testing;
using kazoomba::ui::HistoryWindow;
namespace L = kazoomba::ui::history_layout;

namespace {

constexpr std::array<int, 9> kGlobeMiddle = {1, 1, 1, 9, 9, 9, 1, 1, 1};  // line 2 pays
constexpr std::array<int, 9> kNothing = {1, 9, 3, 1, 1, 1, 1, 1, 1};

// A spin of `coins` at 25 cents resting on `stops`, its lines paid as the reels show them.
HistoryEntry Spin(int number, std::array<int, 9> stops, int coins, float credits) {
    HistoryEntry e;
    e.time = 1712345678 + 60 * number;
    SpinRecord& r = e.spin;
    r.spin = number;
    r.coins = static_cast<std::int16_t>(coins);
    for (int c = 0; c < 9; ++c) r.stops[c] = static_cast<std::int16_t>(stops[c]);
    const StopsPay pay = PayOfStops(r.stops, false, r.coinValue, r.Bet());
    r.linePay = pay.linePay;
    r.win = r.paid = pay.lineWin;
    r.choice = r.win > 0.0f ? PayoffsChoice::Take : PayoffsChoice::None;
    r.credits = credits;
    return e;
}

// A history as a player leaves one: a game begun, three spins (a pool won on the last), a game loaded, and a
// win doubled and lost.
GameHistory KnownHistory() {
    GameHistory h;
    h.Add(HistoryEntry{HistoryEntry::Kind::NewGame, 1712345000, {}, {}});
    h.Add(Spin(1203, kNothing, 8, 998.0f));
    h.Add(Spin(1204, kTargetTop, 8, 1004.25f));
    HistoryEntry pool = Spin(1205, kGlobeMiddle, 8, 1054.25f);
    pool.spin.poolWon = 45.0f;
    pool.spin.win = pool.spin.paid = pool.spin.win + 45.0f;
    h.Add(pool);
    h.Add(HistoryEntry{HistoryEntry::Kind::LoadedGame, 1712349000, {}, "Friday night"});
    HistoryEntry lost = Spin(17, kTargetTop, 1, 499.75f);
    lost.spin.choice = PayoffsChoice::Double;
    lost.spin.boxes = {{3, TwoX}, {4, FirstLosing}};
    lost.spin.paid = 0.0f;
    h.Add(lost);
    return h;
}

QString RowRead(HistoryWindow& w, int row) {
    QAccessibleInterface* list = QAccessible::queryAccessibleInterface(w.list());
    QAccessibleInterface* item = list ? list->child(row) : nullptr;
    return item ? item->text(QAccessible::Name) : QString();
}

void Key(QWidget* to, int key) {
    ASSERT_NE(to, nullptr) << "no control has the keyboard";
    QTest::keyClick(to, static_cast<Qt::Key>(key));
}

class HistoryWindowTest : public MachineWindowTest {
protected:
    ui::MachineHooks Hooks() override {
        ui::MachineHooks hooks;
        hooks.statistics = [](ui::MainWindow&) {};
        hooks.history = [](ui::MainWindow& w) { ui::ShowGameHistory(w.game().History(), TestGraphics(), &w); };
        return hooks;
    }
    // Opens a window on `history` from the File menu's way of opening it, lets `look` use it as a player
    // would, and waits until it has closed.
    void Open(const GameHistory& history, const std::function<void(HistoryWindow&)>& look) {
        bool looked = false;
        WhenModalOpens([&](QWidget* modal) {
            auto* w = qobject_cast<HistoryWindow*>(modal);
            ASSERT_NE(w, nullptr);
            MakeActive(w);
            look(*w);
            looked = true;
            if (w->isVisible()) w->reject();
        });
        ui::ShowGameHistory(history, TestGraphics(), window.get());
        EXPECT_TRUE(AwaitModalsClosed());
        EXPECT_TRUE(looked);
    }
    void Play(const std::array<int, 9>& stops, int coins) {
        ForceStops(random, stops);
        for (int i = 0; i < coins; ++i) window->ButtonCommand(ui::Bet1Button);
        ASSERT_TRUE(window.Spin());
    }
};

}  // namespace

TEST_F(HistoryWindowTest, RowsAreReadAsSentencesNewestFirstWithTheirColumns) {
    Open(KnownHistory(), [](HistoryWindow& w) {
        EXPECT_EQ(w.windowTitle(), "Game History");
        EXPECT_EQ(w.size(), QSize(L::kClientWidth, L::kClientHeight));
        ASSERT_EQ(w.Rows(), 6);
        EXPECT_EQ(w.list()->accessibleName(), "4 spins, newest first");
        const QStringList read = {
            "Spin 17, 1 coin of 25\u00A2, won $6.25 on line 1, doubled and lost, credits $499.75",
            "Loaded game: Friday night",
            "Spin 1,205, 8 coins of 25\u00A2, won $50.00 on line 2, pool won, credits $1,054.25",
            "Spin 1,204, 8 coins of 25\u00A2, won $6.25 on line 1, credits $1,004.25",
            "Spin 1,203, 8 coins of 25\u00A2, no win, credits $998.00",
            "New game",
        };
        for (int row = 0; row < w.Rows(); ++row) EXPECT_EQ(RowRead(w, row), read[row]) << row;
        const auto columns = HistoryWindow::ColumnTexts(w.EntryAt(2));
        EXPECT_EQ(columns[L::SpinColumn], "1,205");
        EXPECT_EQ(columns[L::BetColumn], "$2.00");
        EXPECT_EQ(columns[L::WinColumn], "$50.00");
        EXPECT_EQ(columns[L::CreditsColumn], "$1,054.25");
        EXPECT_EQ(columns[L::TimeColumn], QDateTime::fromSecsSinceEpoch(1712345678 + 60 * 1205).toString("yyyy-MM-dd hh:mm"));
        EXPECT_EQ(HistoryWindow::ColumnTexts(w.EntryAt(0))[L::WinColumn], "$0.00") << "a win lost on the board paid nothing";
        // The newest row is chosen as the window opens, and told in full beside it.
        EXPECT_EQ(w.ChosenRow(), 0);
        EXPECT_TRUE(w.WordsText().contains("Doubled on the Vaz Ivero board: box 3, 2X; box 4, Losing box.\n"
                                           "Lost on the board.\nCredits after the spin: $499.75."))
            << w.WordsText().toStdString();
        // A row is drawn as its columns: the credits' figures stand at the right of the list.
        const QImage shot = Snapshot(w);
        const QRect credits(L::kListX + L::kColumns[L::CreditsColumn].x + 40, L::kListY + 2 + L::kRowH * 3,
                            L::kColumns[L::CreditsColumn].w - 40, L::kRowH);
        EXPECT_GT(CountColour(shot, credits, Qt::black), 10) << "row 4's credits";
    });
}

TEST_F(HistoryWindowTest, AnEmptyHistorySaysSo) {
    Open(GameHistory(), [](HistoryWindow& w) {
        EXPECT_EQ(w.Rows(), 0);
        EXPECT_EQ(w.ChosenRow(), -1);
        EXPECT_EQ(w.list()->accessibleName(), "No spins yet");
        EXPECT_EQ(w.WordsText(), "No spins yet: the history begins with your next spin.");
    });
}

// The reels the window draws for a spin are the machine's own at rest, winning lines and all: each cell's
// pixels are those the machine showed when the spin had settled.
TEST_F(HistoryWindowTest, AChosenSpinsReelsAreTheMachinesAtRestWithItsWinningLinesMarked) {
    Play(kNothing, 8);
    const QImage nothing = window->surface().copy();
    Play(kTargetTop, 8);
    const QImage target = window->surface().copy();
    ASSERT_EQ(window->game().History().Spins(), 2);
    Open(window->game().History(), [&](HistoryWindow& w) {
        auto compare = [&](const QImage& machine, const char* what) {
            const QImage shot = Snapshot(w);
            for (int c = 0; c < kCells; ++c) {
                const QPoint at(L::kReelsX + ui::layout::CellLeft(c) - L::kPanelLeft,
                                L::kReelsY + ui::layout::CellTop(c) - L::kPanelTop);
                int differing = 0;
                for (int y = 0; y < ui::layout::kCellHeight; ++y)
                    for (int x = 0; x < ui::layout::kCellWidth; ++x)
                        differing += shot.pixel(at.x() + x, at.y() + y) !=
                                     machine.pixel(ui::layout::CellLeft(c) + x, ui::layout::CellTop(c) + y);
                EXPECT_EQ(differing, 0) << what << ", cell " << c;
            }
        };
        compare(target, "the win on line 1");
        // Line 1, which paid, is drawn over the wheels in its colour; line 2, which did not, is not.
        const QImage shot = Snapshot(w);
        const auto at = [](int x, int y) { return QPoint(L::kReelsX + x - L::kPanelLeft, L::kReelsY + y - L::kPanelTop); };
        const QPoint line1 = at(ui::layout::CellLeft(1) + 32, 115), line2 = at(ui::layout::CellLeft(4) + 32, 227);
        EXPECT_EQ(PixelAt(shot, line1.x(), line1.y()), ui::PaletteColor(ui::kLineColours[0]));
        EXPECT_NE(PixelAt(shot, line2.x(), line2.y()), ui::PaletteColor(ui::kLineColours[1]));
        Key(w.list(), Qt::Key_Down);
        compare(nothing, "nothing won");
    });
}

TEST_F(HistoryWindowTest, TheKeyboardAloneChoosesRowsAndEscapeClosesIt) {
    Open(KnownHistory(), [](HistoryWindow& w) {
        EXPECT_EQ(QApplication::focusWidget(), w.list()) << "the list has the keyboard as the window opens";
        Key(w.list(), Qt::Key_Down);
        EXPECT_EQ(w.ChosenRow(), 1);
        EXPECT_TRUE(w.WordsText().startsWith("The game \u201CFriday night\u201D was loaded here, on ")) << w.WordsText().toStdString();
        Key(w.list(), Qt::Key_End);
        EXPECT_EQ(w.ChosenRow(), 5);
        EXPECT_TRUE(w.WordsText().startsWith("A new game began here")) << w.WordsText().toStdString();
        Key(w.list(), Qt::Key_Up);
        EXPECT_EQ(w.ChosenRow(), 4);
        EXPECT_TRUE(w.WordsText().contains("Spin 1,203: 8 coins of 25\u00A2, $2.00 bet.\nRow 1: Stop, Globe, Smile."))
            << w.WordsText().toStdString();
        Key(w.list(), Qt::Key_Home);
        EXPECT_EQ(w.ChosenRow(), 0);
        // Enter in the list neither closes the window nor asks where to save.
        Key(w.list(), Qt::Key_Return);
        EXPECT_TRUE(w.isVisible());
        EXPECT_EQ(QApplication::activeModalWidget(), &w);
        EXPECT_TRUE(w.findChildren<QFileDialog*>().isEmpty());
        Key(w.list(), Qt::Key_Escape);
        EXPECT_FALSE(w.isVisible()) << "Escape closes it";
    });
}

// "Save as CSV..." asks where in a window of its own, opened the way every window is, and the file written
// holds the whole history with its header row.
TEST_F(HistoryWindowTest, SaveAsCsvAsksWhereThenWritesTheWholeHistory) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("mine.csv"));
    Open(KnownHistory(), [&](HistoryWindow& w) {
        bool asked = false;
        WhenModalOpens(
            [&](QWidget* modal) {
                auto* files = qobject_cast<QFileDialog*>(modal);
                ASSERT_NE(files, nullptr);
                asked = true;
                EXPECT_EQ(files->acceptMode(), QFileDialog::AcceptSave);
                // The folder chosen, the file's name typed where the window asks for it, then Enter.
                auto* name = files->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
                ASSERT_NE(name, nullptr);
                EXPECT_EQ(name->text(), "kazoomba-history.csv");
                MakeActive(files);
                files->setDirectory(dir.path());
                name->clear();
                QTest::keyClicks(name, QStringLiteral("mine.csv"));
                QTest::keyClick(name, Qt::Key_Return);
            },
            &w);
        // Tab to the button and press it with the space bar, as a player without a mouse does.
        Key(w.list(), Qt::Key_Tab);
        Key(QApplication::focusWidget(), Qt::Key_Tab);
        ASSERT_EQ(QApplication::focusWidget(), w.SaveButton());
        Key(w.SaveButton(), Qt::Key_Space);
        for (int i = 0; i < 300 && !asked; ++i) RunEventsFor(5);
        ASSERT_TRUE(asked);
        for (int i = 0; i < 300 && QApplication::activeModalWidget() != &w; ++i) RunEventsFor(5);
        EXPECT_TRUE(w.StatusText().startsWith("Saved as ")) << w.StatusText().toStdString();
    });
    QFile csv(path);
    ASSERT_TRUE(csv.open(QIODevice::ReadOnly));
    const QList<QByteArray> rows = csv.readAll().split('\n');
    ASSERT_EQ(rows.size(), 8);  // the header, six entries, and nothing after the last line's end
    EXPECT_TRUE(rows[0].startsWith("entry,time,spin,"));
    EXPECT_TRUE(rows[1].startsWith("new game,"));
    EXPECT_TRUE(rows[6].startsWith("spin,")) << "oldest first";
}

// From the menu of a machine that has played: the window holds the spins as the machine settled them.
TEST_F(HistoryWindowTest, TheMenuItemOpensTheSpinsTheMachineSettled) {
    Play(kTargetTop, 1);
    Play(kNothing, 0);
    bool looked = false;
    WhenModalOpens([&](QWidget* modal) {
        auto* w = qobject_cast<HistoryWindow*>(modal);
        ASSERT_NE(w, nullptr);
        looked = true;
        EXPECT_EQ(RowRead(*w, 0), "Spin 2, 1 coin of 25\u00A2, no win, credits $1,005.75");
        EXPECT_EQ(RowRead(*w, 1), "Spin 1, 1 coin of 25\u00A2, won $6.25 on line 1, credits $1,006.00");
        QTest::keyClick(w->list(), Qt::Key_Escape);
    });
    window->menus().history->trigger();
    EXPECT_TRUE(AwaitModalsClosed());
    EXPECT_TRUE(looked);
}
