// The moment gate: in every moment of the machine (idle, spinning, a win presented, the board, bonus spins,
// a window opened from a menu) every command reads enabled or not from one place, and a press through its
// accessible action does nothing where it must not.
#include <gtest/gtest.h>

#include <QAccessible>
#include <QDialog>
#include <QMenu>
#include <QTimer>
#include <map>

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
        hooks.presentWin = [this](MainWindow& w) {
            if (onWin) onWin(w);
            w.game().TakeWin();
        };
        window = StartTestMachine(random, std::move(hooks));
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
    void CheckMoment(Moment expected, const char* what) {
        SCOPED_TRACE(what);
        checked.push_back(expected);
        EXPECT_EQ(window->CurrentMoment(), expected);
        const bool open = expected == Moment::Idle;
        for (QAction* a : Commands()) EXPECT_EQ(a->isEnabled(), open) << a->text().toStdString();
        for (QMenu* menu : {m().file, m().options, m().bank, m().help})
            EXPECT_EQ(menu->menuAction()->isEnabled(), open) << menu->title().toStdString();
        EXPECT_EQ(m().autoSpin->isEnabled(), expected != Moment::ModalOpen);
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

    // Runs `probe` once, the first time `when` holds during the spin that follows.
    void DuringNextSpin(std::function<bool()> when, std::function<void()> probe) {
        auto* timer = new QTimer(window.get());
        timer->setInterval(2);
        QObject::connect(timer, &QTimer::timeout, [timer, when, probe] {
            if (!when()) return;
            timer->stop();
            timer->deleteLater();
            probe();
        });
        timer->start();
    }

    std::map<std::string, int> opened;
    std::function<void(MainWindow&)> onSave, onWin;
    std::vector<Moment> checked;
    ScriptedRandom random;
    std::unique_ptr<MainWindow> window;
};

}  // namespace

TEST_F(MomentGateTest, IdleSpinningAndBonusSpinsEnableEveryCommandFromTheMoment) {
    CheckMoment(Moment::Idle, "idle");
    // A press while idle does act: the gate is not simply shut.
    EXPECT_TRUE(PressMenuItem(m().statistics));
    EXPECT_EQ(opened["statistics"], 1);

    s().BonusSpins = 1;  // one free spin follows the paid one
    DuringNextSpin([this] { return !s().SpinReady && !s().BonusMode; }, [this] { CheckMoment(Moment::Spinning, "spinning"); });
    bool bonusSeen = false;
    window->ButtonCommand(Bet1Button);
    DuringNextSpin([this] { return s().BonusMode && !s().SpinReady; }, [&] {
        bonusSeen = true;
        CheckMoment(Moment::BonusSpins, "bonus spins");
    });
    window->ButtonCommand(SpinButton);
    EXPECT_TRUE(bonusSeen);
    EXPECT_EQ(checked.size(), 3u);
    CheckMoment(Moment::Idle, "idle again");
}

TEST_F(MomentGateTest, APresentedWinAndTheBoardHoldEveryCommandButAutoSpin) {
    ForceStops(random, {6, 6, 6, 1, 1, 1, 1, 1, 1});  // Target on line 1: a win
    bool boardSeen = false;
    onWin = [&](MainWindow& w) {
        CheckMoment(Moment::PresentingWin, "win presented");
        BoardWindow board(w.game(), TestGraphics(), TestSound(), random, &w);
        QTimer::singleShot(0, &board, [&] {
            boardSeen = true;
            CheckMoment(Moment::OnBoard, "on the board");
            board.close();
        });
        board.exec();
    };
    window->ButtonCommand(Bet1Button);
    window->ButtonCommand(SpinButton);
    EXPECT_TRUE(boardSeen);
    CheckMoment(Moment::Idle, "idle again");
}

TEST_F(MomentGateTest, AWindowFromAMenuHoldsEveryCommandAndSpinDoesNothingWhileTheSaveDialogIsOpen) {
    window->ButtonCommand(Bet1Button);  // a bet, so a Spin that slipped through would show
    onSave = [this](MainWindow& w) {
        if (opened["save"] > 1) return;  // a Save pressed through the gate must not open it again
        QDialog dialog(&w);
        dialog.setWindowTitle(QStringLiteral("Save a Game"));
        QTimer::singleShot(0, &dialog, [&] {
            CheckMoment(Moment::ModalOpen, "the Save dialog open");
            dialog.reject();
        });
        dialog.exec();
    };
    m().save->trigger();
    EXPECT_EQ(opened["save"], 1);
    EXPECT_EQ(s().Spins, 0);
    CheckMoment(Moment::Idle, "idle again");
}
