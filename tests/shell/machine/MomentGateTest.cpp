// The moment gate: in every moment of the machine (idle, spinning, a win presented, the board, bonus spins,
// a window opened from a menu) every command reads enabled or not from one place, and a press through its
// accessible action does nothing where it must not.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QDialog>
#include <QPointer>
#include <QMenu>
#include <QTimer>
#include <map>

#include "dialogs/Modal.h"
#include "gamble/BoardWindow.h"
#include "machine/MainWindow.h"
#include "support/GameDoor.h"
#include "support/Accessibility.h"
#include "support/QtApp.h"
#include "support/TestMachine.h"
#include "support/Scripted.h"

using namespace kazoomba;
using namespace kazoomba::ui;
using namespace kazoomba::testing;

namespace {

// Presses a menu item as a screen reader does: through the accessible item of its menu.
bool PressMenuItem(QAction* item) {
    for (QObject* o : item->associatedObjects()) {
        auto* menu = qobject_cast<QMenu*>(o);
        if (!menu) continue;
        QAccessibleInterface* m = QAccessible::queryAccessibleInterface(menu);
        for (int i = 0; m && i < m->childCount(); ++i) {
            QAccessibleInterface* child = m->child(i);
            if (!child || child->text(QAccessible::Name) != item->text() || !child->actionInterface()) continue;
            child->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
            QCoreApplication::processEvents();
            return true;
        }
    }
    return false;
}

class MomentGateTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { App(); }
    void SetUp() override {
        MachineHooks hooks;
        // Every window a menu opens only counts its openings here.
        hooks.load = [this](MainWindow&) { ++opened["load"]; };
        hooks.save = [this](MainWindow& w) { ++opened["save"]; if (onSave) onSave(w); };
        hooks.statistics = [this](MainWindow&) { ++opened["statistics"]; };
        hooks.about = [this](MainWindow&) { ++opened["about"]; };
        hooks.manual = [this](MainWindow&) { ++opened["manual"]; };
        hooks.payChart = [this](MainWindow&) { ++opened["payChart"]; };
        hooks.presentWin = [this](MainWindow& w, std::function<void()> settled) {
            if (onWin) return onWin(w, std::move(settled));
            w.game().TakeWin();
            settled();
        };
        StartTestMachine(window, random, std::move(hooks));
    }
    GameState& s() { return GameDoor::State(window->game()); }
    const MachineMenus& m() { return window->menus(); }
    QWidget* Button(const char* name) {
        for (QWidget* w : window->findChildren<QWidget*>())
            if (w->accessibleName() == QLatin1String(name) && Accessible(w)->role() == QAccessible::Button) return w;
        return nullptr;
    }
    std::vector<QAction*> Commands() {
        std::vector<QAction*> all{m().newGame, m().load, m().save, m().statistics, m().quit, m().bannerText,
                                  m().about, m().manual, m().payChart};
        for (auto* group : {m().bet.data(), m().borrow.data()})
            for (int i = 0; i < 5; ++i) all.push_back(group[i]);
        for (QAction* a : m().digit) all.push_back(a);
        for (QAction* a : m().speed) all.push_back(a);
        for (QAction* a : {m().lines[0], m().lines[1], m().banner[0], m().banner[1], m().sound[0], m().sound[1]})
            all.push_back(a);
        return all;
    }

    // What every command reads in this moment, and that presses through the accessibility bus do nothing
    // when it must not.
    void CheckMoment(MachineMoment expected, bool windowOpen, const char* what) {
        SCOPED_TRACE(what);
        checked.push_back(expected);
        EXPECT_EQ(window->CurrentMoment(), expected);
        EXPECT_EQ(window->WindowOpen(), windowOpen);
        const bool open = expected == MachineMoment::Idle && !windowOpen;
        for (QAction* a : Commands()) EXPECT_EQ(a->isEnabled(), open) << a->text().toStdString();
        for (QMenu* menu : {m().file, m().options, m().bank, m().help})
            EXPECT_EQ(menu->menuAction()->isEnabled(), open) << menu->title().toStdString();
        EXPECT_EQ(m().autoSpin->isEnabled(), !(expected == MachineMoment::Idle && windowOpen));
        for (const char* name : {"Spin", "Bet 1", "Bet 8"})
            EXPECT_EQ(Accessible(Button(name))->state().disabled, !open) << name;
        if (open) return;

        const GameState before = s();
        const int speed = window->SpeedIndex();
        const auto openedBefore = opened;
        for (QAction* a : {m().newGame, m().load, m().save, m().statistics, m().borrow[0], m().bet[4], m().speed[3],
                           m().about, m().manual, m().payChart})
            EXPECT_TRUE(PressMenuItem(a)) << a->text().toStdString();
        for (const char* name : {"Spin", "Bet 1", "Bet 8"}) {
            auto* action = Accessible(Button(name))->actionInterface();
            if (action) action->doAction(QAccessibleActionInterface::pressAction());
            QCoreApplication::processEvents();
        }
        EXPECT_EQ(s().Borrowed, before.Borrowed) << "Borrow acted";
        EXPECT_EQ(s().CoinIndex, before.CoinIndex) << "Bet Amount acted";
        EXPECT_EQ(s().Spins, before.Spins) << "New Game or Spin acted";
        EXPECT_EQ(s().Credits, before.Credits) << "a bet or a loan acted";
        EXPECT_EQ(window->SpeedIndex(), speed) << "Spin Speed acted";
        EXPECT_EQ(opened, openedBefore) << "a menu window opened";
    }

    std::map<std::string, int> opened;
    std::function<void(MainWindow&)> onSave;
    std::function<void(MainWindow&, std::function<void()>)> onWin;
    std::vector<MachineMoment> checked;
    ScriptedRandom random;
    TestMachine window;
};

}  // namespace

TEST_F(MomentGateTest, IdleSpinningAndBonusSpinsEnableEveryCommandFromTheMoment) {
    CheckMoment(MachineMoment::Idle, false, "idle");
    // A press while idle does act: the gate is not simply shut.
    EXPECT_TRUE(PressMenuItem(m().statistics));
    EXPECT_EQ(opened["statistics"], 1);

    s().BonusSpins = 1;  // one free spin follows the paid one
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    CheckMoment(MachineMoment::ReelsMoving, false, "spinning");
    bool bonusSeen = false;
    DriveUntil(*window, window.clock, [&] {
        if (!bonusSeen && s().BonusMode && !s().SpinReady) {
            bonusSeen = true;
            CheckMoment(MachineMoment::BonusSpins, false, "bonus spins");
        }
        return !window->game().CommandRunning();
    }, 100);
    EXPECT_TRUE(bonusSeen);
    EXPECT_EQ(checked.size(), 3u);
    CheckMoment(MachineMoment::Idle, false, "idle again");
}

TEST_F(MomentGateTest, APresentedWinAndTheBoardHoldEveryCommandButAutoSpin) {
    ForceStops(random, {6, 6, 6, 1, 1, 1, 1, 1, 1});  // Target on line 1: a win
    bool boardSeen = false;
    onWin = [&](MainWindow& w, std::function<void()> settled) {
        CheckMoment(MachineMoment::PresentingWin, false, "win presented");
        auto* board = new BoardWindow(w.game(), TestGraphics(), TestSound(), random, &w);
        OpenModal<BoardWindow>(board, [settled](BoardWindow&, int) { settled(); });
        QTimer::singleShot(0, board, [&, board] {
            boardSeen = true;
            CheckMoment(MachineMoment::OnBoard, true, "on the board");
            board->close();
        });
    };
    window->ButtonCommand(Bet1Button);
    EXPECT_TRUE(window.Spin());
    EXPECT_TRUE(boardSeen);
    CheckMoment(MachineMoment::Idle, false, "idle again");
}

TEST_F(MomentGateTest, AWindowFromAMenuHoldsEveryCommandAndSpinDoesNothingWhileTheSaveDialogIsOpen) {
    window->ButtonCommand(Bet1Button);  // a bet, so a Spin that slipped through would show
    QPointer<QDialog> dialog;
    onSave = [&](MainWindow& w) {
        if (opened["save"] > 1) return;  // a Save pressed through the gate must not open it again
        dialog = new QDialog(&w);
        dialog->setWindowTitle(QStringLiteral("Save a Game"));
        OpenModal(dialog.data());
    };
    m().save->trigger();
    ASSERT_TRUE(dialog);
    QCoreApplication::processEvents();
    CheckMoment(MachineMoment::Idle, true, "the Save dialog open");
    dialog->reject();
    QCoreApplication::processEvents();
    EXPECT_EQ(opened["save"], 1);
    EXPECT_EQ(s().Spins, 0);
    CheckMoment(MachineMoment::Idle, false, "idle again");
}
