// The assembled game: the hooks reach the settings file, and the machine coming on never writes over the
// game it is about to restore.
#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "Assembly.h"
#include "HistoryFile.h"
#include "dialogs/HistoryNotice.h"
#include "art/Graphics.h"
#include "machine/MainWindow.h"
#include "sound/Sound.h"
#include "storage/StorageSupport.h"
#include "support/QtApp.h"
#include "support/TestMachine.h"
#include "support/WindowParts.h"
#include "support/WindowTesting.h"

using namespace kazoomba;

// What every assembled machine here is made of: a scratch folder for its files, the test's randomness and
// clock, the art (drawn once for the program) and the sounds.
class Assembly : public ::testing::Test {
protected:
    static void SetUpTestSuite() { kazoomba::testing::App(); }
    QTemporaryDir dir{};
    kazoomba::testing::ScriptedRandom random{};
    ui::Graphics& graphics = kazoomba::testing::TestGraphics();
    ui::Sound sound{QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds")};
    kazoomba::testing::ManualClock clock{};
};

namespace {
// The machine as the program starts it, restored from its files, at the fastest speed on the test's clock.
void StartOnTheClock(ui::MainWindow& window, app::Assembly& assembly, kazoomba::testing::ManualClock& clock) {
    window.SetClock(&clock);
    window.StartUp();
    assembly.RestoreAtStart(window);
    window.SetSpinSpeed(0);
    window.show();
}
}  // namespace

TEST_F(Assembly, TheGameSavedAtExitComesBackAndIsNotOverwrittenByTheStartUpGame) {
    const QString path = dir.filePath(QStringLiteral("KAZO.INI"));
    kazoomba::testing::WriteBytes(path, "[Current Game]\r\nGameName=Current Game Settings\r\nCredits=1234.50\r\n"
                              "Borrowed=1000\r\nSpins=7\r\n");
    ProfileFile settings(path);
    app::Assembly assembly(settings, graphics, sound, random);
    ui::MainWindow window(graphics, sound, random, assembly.Hooks());

    // The machine comes on with a new game of 1000 credits; only the restore may decide what is kept.
    window.StartUp();
    EXPECT_EQ(settings.ReadString(QStringLiteral("Current Game"), QStringLiteral("Credits"), QString(), 100),
              QStringLiteral("1234.50"));
    assembly.RestoreAtStart(window);
    EXPECT_FLOAT_EQ(window.game().State().Credits, 1234.5f);
    EXPECT_EQ(window.game().State().Spins, 7);

    // From then on every change to the bank is written at once, through the menu item itself.
    window.menus().borrow[4]->trigger();
    assembly.FinishSaves();
    EXPECT_EQ(settings.ReadString(QStringLiteral("Current Game"), QStringLiteral("Credits"), QString(), 100),
              QStringLiteral("1284.50"));
}

TEST_F(Assembly, EveryMenuItemWithAWindowElsewhereIsConnected) {
    ProfileFile settings(dir.filePath(QStringLiteral("KAZO.INI")));
    app::Assembly assembly(settings, graphics, sound, random);
    ui::MainWindow window(graphics, sound, random, assembly.Hooks());
    const ui::MachineMenus& m = window.menus();
    for (QAction* item : {m.load, m.save, m.statistics, m.history, m.about, m.manual, m.payChart})
        EXPECT_TRUE(item->isEnabled()) << item->text().toStdString();
}

TEST_F(Assembly, TheDesktopsSaveRequestMidSpinKeepsTheSpinAsItsReelsStarted) {
    ProfileFile settings(dir.filePath(QStringLiteral("KAZO.INI")));
    sound.SetSound(1);
    app::Assembly assembly(settings, graphics, sound, random);
    ui::MainWindow window(graphics, sound, random, assembly.Hooks());
    StartOnTheClock(window, assembly, clock);
    auto read = [&](const char* key) {
        return settings.ReadString(QStringLiteral("Current Game"), QString::fromLatin1(key), QString(), 100);
    };
    window.menus().borrow[4]->trigger();  // a settled change the file records: 1050 credits
    assembly.FinishSaves();
    ASSERT_EQ(read("Credits"), QStringLiteral("1050.00"));

    // The session asks for a save while the reels turn: the file keeps the spin as its reels started,
    // counted, its bet taken and its stops chosen, which a restart settles.
    // A win on the reels is taken as soon as its window opens.
    kazoomba::testing::WhenModalOpens([](QWidget* payoffs) { payoffs->close(); });
    window.ButtonCommand(ui::Bet8Button);
    window.ButtonCommand(ui::SpinButton);
    ASSERT_TRUE(kazoomba::testing::DriveUntil(window, clock, [&] { return window.CurrentMoment() == MachineMoment::ReelsMoving; }, 0));
    EXPECT_TRUE(assembly.SaveAtExit(window));
    EXPECT_EQ(read("Credits"), QStringLiteral("1048.00"));
    EXPECT_EQ(read("Spins"), QStringLiteral("1"));
    EXPECT_EQ(read("TotalWagers"), QStringLiteral("2.00"));
    EXPECT_EQ(read("Moment"), QStringLiteral("Reels"));
    ASSERT_TRUE(kazoomba::testing::PlayOut(window, clock));
    assembly.FinishSaves();
    // Once it settles, the spin writes itself.
    EXPECT_EQ(read("Spins"), QStringLiteral("1"));
    EXPECT_EQ(read("TotalWagers"), QStringLiteral("2.00"));
}

namespace {

// The game's notices about its history on the screen now, by title.
int NoticesTitled(const char* title) {
    int n = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible() && box->windowTitle() == QLatin1String(title)) ++n;
    return n;
}

void CloseNotices() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (auto* box = qobject_cast<QMessageBox*>(w); box && box->isVisible()) box->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

}  // namespace

// The history is read beside the window as the game is restored; a damaged one is set aside, told once in a
// window that leaves play going on, and its readable spins come back; the next start finds a whole file.
TEST_F(Assembly, ADamagedHistoryIsSetAsideToldOnceAndWhatCouldBeReadComesBack) {
    ProfileFile settings(dir.filePath(QStringLiteral("KAZO.INI")));
    const QString history = dir.filePath(QStringLiteral("data/kazoomba/game-history.txt"));
    ASSERT_TRUE(QDir().mkpath(QFileInfo(history).absolutePath()));
    HistoryEntry spin;
    spin.spin.spin = 41;
    spin.spin.coins = 1;
    spin.spin.stops = {1, 1, 1, 1, 1, 1, 1, 1, 1};
    spin.spin.credits = 999.75f;
    const QByteArray damaged = QByteArray(kHistoryHeader) + "\n" + HistoryLine(spin) + "\nspin 17 ???\n";
    kazoomba::testing::WriteBytes(history, damaged);
    sound.SetSound(1);
    {
        app::Assembly assembly(settings, graphics, sound, random, history);
        ui::MainWindow window(graphics, sound, random, assembly.Hooks());
        StartOnTheClock(window, assembly, clock);
        ASSERT_TRUE(QTest::qWaitFor([&] { return window.game().History().Spins() == 1; }, 10000));
        ASSERT_TRUE(QTest::qWaitFor([&] { return NoticesTitled(kHistorySetAsideTitle) == 1; }, 10000));
        EXPECT_EQ(kazoomba::testing::ReadBytes(history + ".damaged"), damaged);
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr) << "the notice leaves play going on";
        kazoomba::testing::ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});  // nothing won
        window.ButtonCommand(ui::Bet1Button);
        window.ButtonCommand(ui::SpinButton);
        ASSERT_TRUE(kazoomba::testing::PlayOut(window, clock));
        assembly.FinishSaves();
        EXPECT_EQ(window.game().History().Spins(), 2);
        CloseNotices();
    }
    app::Assembly assembly(settings, graphics, sound, random, history);
    ui::MainWindow window(graphics, sound, random, assembly.Hooks());
    window.StartUp();
    assembly.RestoreAtStart(window);
    ASSERT_TRUE(QTest::qWaitFor([&] { return window.game().History().Spins() == 2; }, 10000));
    QCoreApplication::processEvents();
    EXPECT_EQ(NoticesTitled(kHistorySetAsideTitle), 0) << "told once";
    EXPECT_EQ(window.game().History().Entries().front().spin.spin, 41);
    EXPECT_EQ(window.game().History().Entries().back().spin.spin, 1);
}

// A history that cannot be written is told once, however many spins fail to reach it, and play goes on
// with every spin kept while the game runs.
TEST_F(Assembly, AHistoryThatCannotBeWrittenIsToldOnceAndPlayGoesOn) {
    ProfileFile settings(dir.filePath(QStringLiteral("KAZO.INI")));
    kazoomba::testing::WriteBytes(dir.filePath(QStringLiteral("data")), "a file where the history's folder goes");
    const QString history = dir.filePath(QStringLiteral("data/kazoomba/game-history.txt"));
    sound.SetSound(1);
    app::Assembly assembly(settings, graphics, sound, random, history);
    ui::MainWindow window(graphics, sound, random, assembly.Hooks());
    StartOnTheClock(window, assembly, clock);
    window.ButtonCommand(ui::Bet1Button);
    for (int spin = 0; spin < 3; ++spin) {
        kazoomba::testing::ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});
        window.ButtonCommand(ui::SpinButton);
        ASSERT_TRUE(kazoomba::testing::PlayOut(window, clock));
        assembly.FinishSaves();
        QCoreApplication::processEvents();
    }
    EXPECT_EQ(NoticesTitled(kHistoryNotKeptTitle), 1);
    EXPECT_EQ(window.game().History().Spins(), 3);
    EXPECT_EQ(window.game().State().Spins, 3);
    CloseNotices();
}
