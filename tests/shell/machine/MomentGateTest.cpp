// The moment gate: in every moment of the machine (idle, spinning, settling, a win presented, the board,
// bonus spins, a window opened from a menu) every entry of every menu and sub-menu reads enabled or not
// from one place, each change of a command's availability is told to assistive technology, and a press
// through its accessible action does nothing where it must not.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QDialog>
#include <QPointer>
#include <QMenu>
#include <QMenuBar>
#include <QTimer>
#include <functional>
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

class MomentGateTest : public MachineWindowTest {
protected:
    MachineHooks Hooks() override {
        MachineHooks hooks;
        // Every window a menu opens only counts its openings here.
        hooks.load = [this](MainWindow&) { ++opened["load"]; };
        hooks.save = [this](MainWindow& w) { ++opened["save"]; if (onSave) onSave(w); };
        hooks.statistics = [this](MainWindow&) { ++opened["statistics"]; };
        hooks.history = [this](MainWindow&) { ++opened["history"]; };
        hooks.about = [this](MainWindow&) { ++opened["about"]; };
        hooks.manual = [this](MainWindow&) { ++opened["manual"]; };
        hooks.payChart = [this](MainWindow&) { ++opened["payChart"]; };
        hooks.presentWin = [this](MainWindow& w, std::function<void()> settled) {
            if (onWin) return onWin(w, std::move(settled));
            w.game().TakeWin();
            settled();
        };
        return hooks;
    }
    void SetUp() override {
        MachineWindowTest::SetUp();
        listener.Clear();
    }
    const MachineMenus& m() { return window->menus(); }
    // Every entry of the menu bar, each menu's sub-menus and their entries included, found by walking the
    // menus themselves: an entry added later is checked without being listed here.
    std::vector<QAction*> Entries() {
        std::vector<QAction*> all;
        std::function<void(const QList<QAction*>&)> walk = [&](const QList<QAction*>& actions) {
            for (QAction* a : actions) {
                if (a->isSeparator()) continue;
                all.push_back(a);
                if (a->menu()) walk(a->menu()->actions());
            }
        };
        walk(window->menuBar()->actions());
        return all;
    }
    // The entries that press a command (not those that open a menu).
    std::vector<QAction*> Commands() {
        std::vector<QAction*> commands;
        for (QAction* a : Entries())
            if (!a->menu()) commands.push_back(a);
        return commands;
    }

    // Every entry reads as available exactly when the moment lets it act, and each one that changed since
    // the moment checked before was told to assistive technology.
    void CheckAvailability(MachineMoment moment, bool windowOpen) {
        const kazoomba::Commands want = Available(moment, windowOpen);
        const std::vector<QAction*> entries = Entries();
        ASSERT_GT(entries.size(), 40u) << "the walk did not reach the sub-menus";
        for (QAction* a : entries) {
            const std::string name = a->text().toStdString();
            if (a == m().autoPlay->menuAction()) {
                // Auto Play holds the one item offered mid-spin: it opens whenever that item can be used.
                if (want.autoPlay) {
                    EXPECT_TRUE(a->isEnabled()) << name;
                }
                continue;
            }
            EXPECT_EQ(a->isEnabled(), a == m().autoSpin ? want.autoPlay : want.menus) << name;
            // Game History is offered exactly when Statistics is.
            if (a == m().history) {
                EXPECT_EQ(a->isEnabled(), m().statistics->isEnabled());
            }
        }
        for (QAction* a : entries) {
            if (a == m().autoPlay->menuAction()) continue;
            const auto before = availability.find(a);
            if (before != availability.end() && before->second != a->isEnabled()) {
                EXPECT_GE(listener.Count(QAccessible::StateChanged, a), 1)
                    << a->text().toStdString() << " became " << (a->isEnabled() ? "available" : "unavailable")
                    << " unannounced";
            }
            availability[a] = a->isEnabled();
        }
        listener.Clear();
    }

    // What every command reads in this moment, and that presses through the accessibility bus do nothing
    // when it must not.
    void CheckMoment(MachineMoment expected, bool windowOpen, const char* what) {
        SCOPED_TRACE(what);
        checked.push_back(expected);
        EXPECT_EQ(window->CurrentMoment(), expected);
        EXPECT_EQ(window->WindowOpen(), windowOpen);
        const bool open = expected == MachineMoment::Idle && !windowOpen;
        CheckAvailability(expected, windowOpen);
        for (QMenu* menu : {m().file, m().options, m().bank, m().help})
            EXPECT_EQ(menu->menuAction()->isEnabled(), open) << menu->title().toStdString();
        EXPECT_EQ(m().autoSpin->isEnabled(), !(expected == MachineMoment::Idle && windowOpen));
        for (const char* name : {"Spin", "Bet 1", "Bet 8"})
            EXPECT_EQ(Accessible(Button(name))->state().disabled, !open) << name;
        if (open) return;

        const GameState before = s();
        const int speed = window->SpeedIndex();
        const auto openedBefore = opened;
        for (QAction* a : {m().newGame, m().load, m().save, m().statistics, m().history, m().borrow[0], m().bet[4],
                           m().speed[3], m().about, m().manual, m().payChart})
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
    std::map<QAction*, bool> availability;  // as the moment checked last left each command
    AccessibilityListener listener;
};

}  // namespace

TEST_F(MomentGateTest, IdleSpinningAndBonusSpinsEnableEveryCommandFromTheMoment) {
    CheckMoment(MachineMoment::Idle, false, "idle");
    // A press while idle does act: the gate is not simply shut.
    EXPECT_TRUE(PressMenuItem(m().statistics));
    EXPECT_EQ(opened["statistics"], 1);
    EXPECT_TRUE(PressMenuItem(m().history));
    EXPECT_EQ(opened["history"], 1);

    s().BonusSpins = 1;  // one free spin follows the paid one
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    CheckMoment(MachineMoment::ReelsMoving, false, "spinning");
    bool bonusSeen = false, settlingSeen = false;
    DriveUntil(*window, window.clock, [&] {
        if (!settlingSeen && window->CurrentMoment() == MachineMoment::Settling) {
            settlingSeen = true;
            CheckMoment(MachineMoment::Settling, false, "settling");
        }
        if (!bonusSeen && s().BonusMode && !s().SpinReady) {
            bonusSeen = true;
            CheckMoment(MachineMoment::BonusSpins, false, "bonus spins");
        }
        return !window->game().CommandRunning();
    }, 100);
    EXPECT_TRUE(bonusSeen);
    EXPECT_EQ(checked.size(), settlingSeen ? 4u : 3u);
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
