// The assembled game started on a file left by a crash: the same reels, and the win or the board that was
// on the screen comes back to be settled once; saves that fail during play are told in the window.
#include <gtest/gtest.h>

#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include "Assembly.h"
#include "art/Graphics.h"
#include "art/Palette.h"
#include "gamble/Board.h"
#include "gamble/BoardWindow.h"
#include "gamble/BoardWindowLayout.h"
#include "gamble/PayoffsWindow.h"
#include "access/Herald.h"
#include "access/MachineAccessible.h"
#include "machine/MainWindow.h"
#include "sound/Sound.h"
#include "storage/StorageSupport.h"
#include "support/Stops.h"
#include "support/WindowTesting.h"

namespace kazoomba::testing {
namespace {

// A file as a kill left it: a game that won $6.25 on its first spin, at the checkpoint `at`
// (0: the win on screen; 1: on the board; 2: after box 2, a 3X).
QByteArray FileKilledAt(int at) {
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("KAZO.INI"));
    ProfileFile file(path);
    Table table;
    RecordingMenus menus;
    std::vector<QByteArray> files;
    table.cabinet.onCheckpoint = [&] {
        SaveCurrentGame(file, table.game, menus);
        files.push_back(ReadBytes(path));
    };
    table.cabinet.outcomes = {kTargetTop};
    table.cabinet.onPresentWin = [&] {
        for (int pass = 0; pass < 20; ++pass)
            for (int j = 0; j < kBoxes; ++j) table.random.queue.push_back((j + 0.5) / kBoxes);
        table.game.OpenBoard(table.random);
        table.game.PickBox(2);
        table.game.QuitBoard();
    };
    table.game.PlaceCoins(1);
    table.game.SpinCommand();
    // The first save is the outcome kept as the reels start; the ones the tests choose come after it.
    return files.at(static_cast<std::size_t>(at));
}

class ResumeAtStart : public ::testing::Test {
protected:
    QTemporaryDir dir;
    QString path = dir.filePath(QStringLiteral("KAZO.INI"));
    ProfileFile settings{path};
    ScriptedRandom random;
    ui::Graphics graphics{1.0};
    ui::Sound sound{QStringLiteral(KAZOOMBA_SOURCE_DIR "/resources/sounds")};
    app::Assembly assembly{settings, graphics, sound, random};
    std::unique_ptr<ui::MainWindow> window;

    static void SetUpTestSuite() { App(); }
    void Start() {
        window = std::make_unique<ui::MainWindow>(graphics, sound, random, assembly.Hooks());
        window->StartUp();
        assembly.RestoreAtStart(*window);
        window->show();
    }
    // Runs the event loop until `done`, closing any modal window left open after 20 s so a fault fails
    // the test instead of hanging it.
    bool RunUntil(const std::function<bool()>& done) {
        bool rescued = false;
        QTimer watchdog;
        watchdog.setSingleShot(true);
        QObject::connect(&watchdog, &QTimer::timeout, [&] {
            rescued = true;
            while (QWidget* modal = QApplication::activeModalWidget()) modal->close();
        });
        watchdog.start(20000);
        const bool ok = QTest::qWaitFor(done, 30000);
        return ok && !rescued;
    }
    float Credits() const { return window->game().State().Credits; }
    // Lets the writer finish and its reports reach the window.
    void Saved() {
        assembly.FinishSaves();
        QCoreApplication::processEvents();
    }
};

TEST_F(ResumeAtStart, TheWinOnScreenComesBackInThePayoffsWindowAndIsTakenOnce) {
    WriteBytes(path, FileKilledAt(1));
    Start();
    EXPECT_EQ(window->game().Reels().StopIndex, (std::array<std::int16_t, 9>{6, 6, 6, 1, 1, 1, 1, 1, 1}));
    QString caption, total;
    bool spinAllowed = true;
    WhenModalOpens([&](QWidget* modal) {
        auto* payoffs = qobject_cast<ui::PayoffsWindow*>(modal);
        if (!payoffs) return;
        caption = payoffs->windowTitle();
        total = QString::fromStdString(payoffs->sheet().total);
        spinAllowed = window->game().State().SpinReady;
        for (QPushButton* b : payoffs->findChildren<QPushButton*>())
            if (b->text() == QStringLiteral("&Take")) QTest::mouseClick(b, Qt::LeftButton);
    }, window.get());
    ASSERT_TRUE(RunUntil([&] { return window->game().State().SpinReady && !caption.isEmpty(); }));
    EXPECT_EQ(caption, QStringLiteral("Kazoomba Video Slots -- Spin #1 Results"));
    EXPECT_EQ(total, QStringLiteral("00006.25"));
    EXPECT_FALSE(spinAllowed);
    EXPECT_FLOAT_EQ(Credits(), 1006.0f);
    EXPECT_EQ(window->game().State().Spins, 1);
    // Settled, the game in the file has the win and nothing pending.
    Saved();
    EXPECT_EQ(settings.ReadString(QStringLiteral("Current Game"), QStringLiteral("Credits"), QString(), 100),
              QStringLiteral("1006.00"));
    EXPECT_EQ(settings.ReadString(QStringLiteral("Current Game"), QStringLiteral("Moment"), QString(), 100),
              QStringLiteral("Idle"));
}

TEST_F(ResumeAtStart, TheBoardComesBackWithTheSameBoxOpenAndTheSameWinnings) {
    WriteBytes(path, FileKilledAt(3));
    Start();
    QString winnings;
    QRgb box2 = 0, box1 = 0;
    WhenModalOpens([&](QWidget* modal) {
        auto* board = qobject_cast<ui::BoardWindow*>(modal);
        if (!board) return;
        winnings = board->WinningsText();
        const QImage shot = Snapshot(*board);
        const auto b2 = ui::board_layout::BoxRect(2), b1 = ui::board_layout::BoxRect(1);
        box2 = shot.pixel(b2.x + 3, b2.y + 3);
        box1 = shot.pixel(b1.x + 3, b1.y + 3);
        board->Quit();
    }, window.get());
    ASSERT_TRUE(RunUntil([&] { return window->game().State().SpinReady && !winnings.isEmpty(); }));
    EXPECT_EQ(winnings, QStringLiteral("$18.75"));
    EXPECT_EQ(box2, ui::PaletteColor(ui::Colour::Red).rgb());  // the 3X opened before the crash
    EXPECT_EQ(box1, ui::PaletteColor(ui::Colour::Yellow).rgb());  // still closed
    EXPECT_FLOAT_EQ(Credits(), 999.75f + 18.75f);
    EXPECT_FLOAT_EQ(window->game().State().DoubleNothing, 12.5f);
    // The machine tells what the board left, as after a board opened from the Payoffs window (last: where
    // news is announced, what came while the board was up is told with it).
    EXPECT_TRUE(window->readouts().herald().LastSaid().endsWith(QStringLiteral("Credits $1,018.50.")))
        << window->readouts().herald().LastSaid().toStdString();
}

TEST_F(ResumeAtStart, AnImpossibleWinIsRefusedWithAMessage) {
    WriteBytes(path, FileKilledAt(1));
    ASSERT_TRUE(settings.WriteString(QStringLiteral("Current Game"), QStringLiteral("SpinWin"), QStringLiteral("375.00")));
    Start();
    QString title, text;
    WhenModalOpens([&](QWidget* modal) {
        auto* box = qobject_cast<QMessageBox*>(modal);
        if (!box) return;
        title = box->windowTitle();
        text = box->text();
        box->accept();
    }, window.get());
    ASSERT_TRUE(RunUntil([&] { return !title.isEmpty(); }));
    EXPECT_EQ(title, QStringLiteral("Spin Not Restored"));
    EXPECT_TRUE(text.contains(QStringLiteral("the win is larger than the reels pay"))) << text.toStdString();
    EXPECT_FLOAT_EQ(Credits(), 999.75f);
    EXPECT_TRUE(window->game().State().SpinReady);
}

// A damaged figure is told before the win waiting on it is shown, so the player sees what was used.
TEST_F(ResumeAtStart, ADamagedValueIsNamedBeforeTheWinComesBack) {
    WriteBytes(path, FileKilledAt(1));
    ASSERT_TRUE(settings.WriteString(QStringLiteral("Current Game"), QStringLiteral("Credits"), QStringLiteral("99#8.00")));
    Start();
    QStringList order;
    QString text;
    // Each window that opens is answered, and the next one waited for.
    std::function<void(QWidget*)> answer = [&](QWidget* modal) {
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            order << box->windowTitle();
            text = box->text();
            WhenModalOpens(answer, box);
            box->accept();
        } else if (auto* payoffs = qobject_cast<ui::PayoffsWindow*>(modal)) {
            order << QStringLiteral("Payoffs");
            for (QPushButton* b : payoffs->findChildren<QPushButton*>())
                if (b->text() == QStringLiteral("&Take")) QTest::mouseClick(b, Qt::LeftButton);
        }
    };
    WhenModalOpens(answer, window.get());
    ASSERT_TRUE(RunUntil([&] { return order.contains(QStringLiteral("Payoffs")) && window->game().State().SpinReady; }));
    EXPECT_EQ(order, (QStringList{QStringLiteral("Saved Game Damaged"), QStringLiteral("Payoffs")}));
    EXPECT_TRUE(text.contains(path)) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Credits \"99#8.00\" has more than a number in it; 99.00 used instead")))
        << text.toStdString();
    EXPECT_FLOAT_EQ(Credits(), 99.0f + 6.25f);
}

TEST_F(ResumeAtStart, AFailedSaveDuringPlayIsToldOnceAndSoIsSavingAgain) {
    ASSERT_TRUE(QDir().mkpath(path));  // a KAZO.INI that is a folder fails every save, even for root
    Start();
    const ui::MachineMenus& m = window->menus();
    m.borrow[4]->trigger();
    Saved();
    QMessageBox* notice = assembly.SaveNotices().Shown();
    ASSERT_NE(notice, nullptr);
    EXPECT_TRUE(notice->isVisible());
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);  // play goes on
    EXPECT_EQ(notice->windowTitle(), QStringLiteral("Game Not Saved"));
    EXPECT_TRUE(notice->text().contains(path + QStringLiteral(": it is a folder or device, not a file.")))
        << notice->text().toStdString();
    EXPECT_TRUE(notice->text().contains(QStringLiteral("tries again after every spin")));

    // Still failing: nothing more is shown, and play goes on.
    notice->close();
    QCoreApplication::processEvents();
    m.borrow[4]->trigger();
    Saved();
    EXPECT_EQ(assembly.SaveNotices().Shown(), nullptr);
    EXPECT_FLOAT_EQ(Credits(), 1100.0f);

    // The folder goes: the next save works, and says so once.
    ASSERT_TRUE(QDir(path).removeRecursively());
    m.borrow[4]->trigger();
    Saved();
    notice = assembly.SaveNotices().Shown();
    ASSERT_NE(notice, nullptr);
    EXPECT_EQ(notice->windowTitle(), QStringLiteral("Game Saved"));
    EXPECT_TRUE(notice->text().contains(path));
    notice->close();
    QCoreApplication::processEvents();
    m.borrow[4]->trigger();
    Saved();
    EXPECT_EQ(assembly.SaveNotices().Shown(), nullptr);
    EXPECT_EQ(settings.ReadString(QStringLiteral("Current Game"), QStringLiteral("Credits"), QString(), 100),
              QStringLiteral("1200.00"));
}

}  // namespace
}  // namespace kazoomba::testing
