// The main window as assistive technology sees it: three push buttons with a press action that are
// unavailable mid-spin, five labelled displays with their values and change events, and after each
// spin the symbols showing and the result in words.
#include <gtest/gtest.h>

#include <QTest>
#include <QTimer>
#include <algorithm>

#include "support/Accessibility.h"
#include "support/QtApp.h"
#include "support/TestMachine.h"
#include "support/Scripted.h"
#include "support/GameDoor.h"
#include "access/Herald.h"
#include "access/MachineAccessible.h"
#include "machine/MainWindow.h"

using namespace kazoomba;
using namespace kazoomba::ui;
using namespace kazoomba::testing;

namespace {

class MachineAccessibleTest : public MachineWindowTest {
protected:
    void SetUp() override {
        MachineWindowTest::SetUp();
        listener.Clear();
    }
    QString Value(Readout& r) { return Accessible(&r)->text(QAccessible::Value); }
    double Number(Readout& r) { return Accessible(&r)->valueInterface()->currentValue().toDouble(); }

    AccessibilityListener listener;
};

}  // namespace

TEST_F(MachineAccessibleTest, TheThreeButtonsArePushButtonsThatPressLikeAClick) {
    for (const char* name : {"Spin", "Bet 1", "Bet 8"}) {
        QWidget* button = Button(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_TRUE(HasPress(Accessible(button))) << name;
        EXPECT_FALSE(Accessible(button)->state().disabled) << name;
    }
    PressThroughAccessibility(Button("Bet 8"));
    EXPECT_FLOAT_EQ(s().Wager, 2.0f);
    PressThroughAccessibility(Button("Bet 1"));
    EXPECT_FLOAT_EQ(s().Wager, 2.25f);

    // Mid-spin every button reads as unavailable and offers no press.
    ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});
    PressThroughAccessibility(Button("Spin"));
    const bool disabledMidSpin =
        Accessible(Button("Spin"))->state().disabled && Accessible(Button("Bet 8"))->state().disabled;
    const bool pressOfferedMidSpin = HasPress(Accessible(Button("Spin")));
    EXPECT_TRUE(window.PlayOut());
    EXPECT_EQ(s().Spins, 1);
    EXPECT_TRUE(disabledMidSpin);
    EXPECT_FALSE(pressOfferedMidSpin);
    EXPECT_FALSE(Accessible(Button("Spin"))->state().disabled);
    EXPECT_GE(listener.Count(QAccessible::StateChanged, Button("Spin")), 2);
}

TEST_F(MachineAccessibleTest, DisplaysAreLabelledValuesThatAnnounceTheirChanges) {
    MachineReadouts& r = window->readouts();
    const std::vector<std::pair<Readout*, const char*>> named = {{&r.credits(), "Credits"}, {&r.wager(), "Wager"},
        {&r.coinValue(), "Coin Value"}, {&r.spins(), "Spins"}, {&r.bonusPool(), "Bonus Pool"}};
    for (const auto& [readout, name] : named) {
        EXPECT_EQ(Accessible(readout)->role(), QAccessible::StaticText);
        EXPECT_EQ(Accessible(readout)->text(QAccessible::Name), QLatin1String(name));
    }
    EXPECT_EQ(Value(r.credits()), "1,000.00");
    EXPECT_DOUBLE_EQ(Number(r.credits()), 1000.0);
    EXPECT_EQ(Value(r.coinValue()), "0.25");
    EXPECT_EQ(Value(r.spins()), "0");

    window->ButtonCommand(Bet8Button);
    EXPECT_EQ(Value(r.credits()), "998.00");
    EXPECT_EQ(Value(r.wager()), "2.00");
    EXPECT_EQ(listener.Count(QAccessible::ValueChanged, &r.credits()), 1);
    EXPECT_EQ(listener.Count(QAccessible::ValueChanged, &r.wager()), 1);
    EXPECT_EQ(listener.Count(QAccessible::ValueChanged, &r.coinValue()), 0);
    ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});
    window.Spin();
    EXPECT_EQ(Value(r.spins()), "1");
    EXPECT_EQ(listener.Count(QAccessible::ValueChanged, &r.spins()), 1);
}

TEST_F(MachineAccessibleTest, EachSpinReadsItsSymbolsRowByRowAndItsResult) {
    MachineReadouts& r = window->readouts();
    window->ButtonCommand(Bet1Button);
    ForceStops(random, {6, 6, 6, 1, 1, 1, 1, 1, 1});  // Target on the top row
    window.Spin();
    EXPECT_TRUE(Value(r.reels()).startsWith("Row 1: Target, Target, Target. Row 2: ")) << Value(r.reels()).toStdString();
    EXPECT_EQ(Value(r.result()), "Line 1: Target, Target, Target, $6.25. Total won: $6.25.");

    // Two spins that lose alike are both told.
    for (int spin = 0; spin < 2; ++spin) {
        window->ButtonCommand(Bet1Button);
        ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});
        window.Spin();
        EXPECT_EQ(Value(r.result()), "No win");
    }
    EXPECT_EQ(listener.Count(QAccessible::TextUpdated, &r.result()), 3);
    EXPECT_EQ(listener.Count(QAccessible::TextUpdated, &r.reels()), 3);
}

// A review of the window reads text, not names: each display's text is its caption with the figure as a
// listener hears it, and follows the figure.
TEST_F(MachineAccessibleTest, EachDisplayReadsWithItsCaptionInAReviewOfTheWindow) {
    MachineReadouts& r = window->readouts();
    const auto line = [](Readout& readout) {
        QAccessibleTextInterface* text = Accessible(&readout)->textInterface();
        return (text ? text->text(0, text->characterCount()) : QString()).toStdString();
    };
    EXPECT_EQ(line(r.credits()), "Credits: $1,000.00");
    // A reader joins the runs of attributes to read a line: one run holds it all, to its last character.
    int start = -1, end = -1;
    Accessible(&r.credits())->textInterface()->attributes(17, &start, &end);
    EXPECT_EQ(start, 0);
    EXPECT_EQ(end, 18);
    EXPECT_EQ(line(r.wager()), "Wager: $0.00");
    EXPECT_EQ(line(r.coinValue()), "Coin Value: $0.25");
    EXPECT_EQ(line(r.spins()), "Spins: 0");
    EXPECT_EQ(line(r.bonusPool()), "Bonus Pool: $0.00");
    EXPECT_EQ(line(r.reels()), "Reels: Row 1: Fulmina, Globe, Fulmina. Row 2: Globe, Fulmina, Globe. "
                               "Row 3: Fulmina, Globe, Fulmina.")
        << "the symbols at rest, before any spin";

    window->ButtonCommand(Bet8Button);
    EXPECT_EQ(line(r.wager()), "Wager: $2.00");
    ForceStops(random, {1, 9, 3, 1, 8, 1, 1, 1, 1});  // a FULMINA in the centre, and no line
    window.Spin();
    EXPECT_EQ(line(r.spins()), "Spins: 1");
    EXPECT_EQ(line(r.bonusPool()), "Bonus Pool: $0.75");
    EXPECT_EQ(line(r.result()), "Result: No win");
    EXPECT_EQ(Value(r.credits()), "998.00") << "the value itself stays the figure";
}

// The pool a spin grows is news in manual play: said with the spin's outcome, or with the credits a win
// leaves once it is presented; a spin that does not grow it does not repeat it.
TEST_F(MachineAccessibleTest, ThePoolASpinGrowsIsToldWithItsOutcome) {
    MakeActive(window.get());
    Herald& herald = window->readouts().herald();
    window->ButtonCommand(Bet8Button);
    ForceStops(random, {1, 9, 3, 1, 8, 1, 1, 1, 1});  // a FULMINA in the centre, and no line
    window.Spin();
    EXPECT_EQ(herald.LastSaid().toStdString(), "No win. Bonus Pool: $0.75.");

    window->ButtonCommand(Bet8Button);
    ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});
    window.Spin();
    EXPECT_EQ(herald.LastSaid().toStdString(), "No win.") << "a pool that did not grow was told again";

    window->ButtonCommand(Bet8Button);
    ForceStops(random, {6, 6, 6, 1, 8, 1, 1, 1, 1});  // Target on the top row, and the FULMINA
    window.Spin();
    EXPECT_FLOAT_EQ(s().BonusPool, 1.5f);
    EXPECT_EQ(herald.LastSaid().toStdString(), "Credits $1,000.25. Bonus Pool: $1.50.");
}

// R asks for the symbols on the reels at rest, told as the machine tells a spin's; mid-spin, where the
// outcome will tell them, it says nothing.
TEST_F(MachineAccessibleTest, RTellsTheSymbolsOnTheReelsWithoutASpin) {
    MakeActive(window.get());
    Herald& herald = window->readouts().herald();
    QTest::keyClick(window.get(), Qt::Key_R);
    EXPECT_EQ(herald.LastSaid(), "Row 1: Fulmina, Globe, Fulmina. Row 2: Globe, Fulmina, Globe. "
                                 "Row 3: Fulmina, Globe, Fulmina.");

    window->ButtonCommand(Bet1Button);
    ForceStops(random, {6, 6, 6, 1, 1, 1, 1, 1, 1});  // Target on the top row
    window->ButtonCommand(SpinButton);
    ASSERT_FALSE(s().SpinReady);
    const QString before = herald.LastSaid();
    QTest::keyClick(window.get(), Qt::Key_R);
    EXPECT_EQ(herald.LastSaid(), before) << "the reels were told before they stopped";
    EXPECT_TRUE(window.PlayOut());

    QTest::keyClick(window.get(), Qt::Key_R);
    EXPECT_EQ(herald.LastSaid(), "Row 1: Target, Target, Target. Row 2: Stop, Stop, Stop. Row 3: Stop, Stop, Stop.");
    EXPECT_FLOAT_EQ(s().Wager, 0.0f) << "R bet or spun";
    EXPECT_EQ(s().Spins, 1);
}

// What the machine says, spoken by handing the focus between the herald's voices: the bet placed, "No win"
// after "No win" with the counters that moved, the credits after a win, and each bonus spin.
TEST_F(MachineAccessibleTest, TheHeraldSaysTheBetEachOutcomeAndTheCountersByTakingTheFocus) {
    if (Herald::kAnnounces) GTEST_SKIP() << "this Qt announces the news; the focus stays where the player put it";
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    Herald& herald = window->readouts().herald();
    ASSERT_TRUE(herald.HasFocus()) << "the machine's keyboard focus is its voice";
    window->ButtonCommand(Bet1Button);
    EXPECT_EQ(herald.LastSaid(), "Wager $0.25.");
    QWidget* first = QApplication::focusWidget();

    ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});
    window.Spin();
    EXPECT_EQ(herald.LastSaid(), "No win.");
    QWidget* second = QApplication::focusWidget();
    EXPECT_NE(first, second) << "each piece of news moves the focus";

    window->ButtonCommand(Bet1Button);
    ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});
    window.Spin();
    EXPECT_EQ(herald.LastSaid(), "No win.");
    EXPECT_NE(QApplication::focusWidget(), second) << "a second No win is spoken like the first";
    EXPECT_NE(QApplication::focusWidget()->geometry(), second->geometry())
        << "a screen reader takes two controls of one name and place for one";

    // A win is told by the Payoffs window; once taken, the machine tells the credits and the counters.
    s().Bells = 2;
    window->ButtonCommand(Bet1Button);
    EXPECT_EQ(herald.LastSaid(), "Wager $0.25. To Win Pool: 2.") << "a counter that moved is told once";
    ForceStops(random, {6, 6, 6, 1, 1, 1, 1, 1, 1});  // Target on the top row
    window.Spin();
    EXPECT_EQ(herald.LastSaid(), "Credits $1,005.50.");

    window->ShowBonusCaption(true);
    EXPECT_TRUE(herald.LastSaid().startsWith("Bonus Spin")) << herald.LastSaid().toStdString();
}

// Bonus spins go on while the Payoffs window that a win opened is closing and the machine is not yet back
// in front: what they say is kept, not written over, and told when the machine is back; once told, it is
// not told again with the next news.
TEST(Herald, NewsWhileTheWindowIsAwayIsKeptUntilToldAndThenNotRepeated) {
    if (Herald::kAnnounces) GTEST_SKIP() << "this Qt announces the news";
    App();
    QWidget window;
    window.resize(200, 100);
    Herald herald(QStringLiteral("Credits $1,000.00."), window);
    herald.TakeFocus();
    herald.Say(QStringLiteral("Bonus Spin, 1 more after this one."));
    herald.Say(QStringLiteral("Bonus Spin, 1 more after this one. No win."));
    herald.Say(QStringLiteral("Bonus Spin, the last one."));
    EXPECT_EQ(herald.LastSaid().toStdString(), "Bonus Spin, 1 more after this one. No win. Bonus Spin, the last one.");

    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    ASSERT_TRUE(herald.HasFocus());
    herald.Say(QStringLiteral("Credits $1,002.50."));
    EXPECT_EQ(herald.LastSaid().toStdString(), "Credits $1,002.50.");
}

// News kept while the window is away is the latest four pieces: a fifth pushes out the oldest, so what is
// read when the window comes back stays short enough to hear.
TEST(Herald, OnlyTheLatestFourPiecesOfNewsAreKeptWhileTheWindowIsAway) {
    App();
    QWidget window;
    window.resize(200, 100);
    Herald herald(QStringLiteral("Credits $1,000.00."), window);
    const QStringList news = {QStringLiteral("Wager $0.25."), QStringLiteral("No win."), QStringLiteral("Wager $0.50."),
                              QStringLiteral("Target pays $6.25."), QStringLiteral("Credits $1,006.00."),
                              QStringLiteral("To Win Pool: 2.")};
    for (int told = 1; told <= news.size(); ++told) {
        herald.Say(news[told - 1]);
        EXPECT_EQ(herald.LastSaid(), news.mid(std::max(0, told - 4), std::min(told, 4)).join(u' ')) << told;
    }
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    herald.TakeFocus();
    herald.Say(QStringLiteral("Credits $1,002.50."));
    EXPECT_EQ(herald.LastSaid().toStdString(), "Credits $1,002.50.");
}

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
// Where Qt announces, the news is an announcement of the machine's window, the focus never moves to a
// control nobody can see, and news that comes together is one announcement.
TEST_F(MachineAccessibleTest, TheHeraldAnnouncesTheNewsAndLeavesTheFocusAlone) {
    Herald::SetAnnouncementGap(300);
    struct Restore {
        ~Restore() { Herald::SetAnnouncementGap(0); }
    } restore;
    window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(window.get()));
    RunEventsFor(700);  // the greeting, and the pause after it
    listener.Clear();
    QWidget* before = QApplication::focusWidget();
    window->ButtonCommand(Bet1Button);
    ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});
    window.Spin();
    EXPECT_EQ(QApplication::focusWidget(), before);
    std::vector<QString> announced;
    for (const HeardEvent& e : listener.events())
        if (e.type == QAccessible::Announcement) announced.push_back(e.name);
    ASSERT_EQ(announced.size(), 1u) << "the bet was announced at once; the outcome waits for the gap";
    RunEventsFor(400);
    EXPECT_EQ(window->readouts().herald().LastSaid(), "No win.");
}
#endif

// The keyboard alone, without Enter and B: Tab goes down Bet 1, Bet 8 and Spin with a ring round the one it
// is on, Space presses that one once however long it is held, and the news that follows leaves the keyboard
// where the player put it.
TEST_F(MachineAccessibleTest, TabMovesOverTheThreeButtonsWithARingAndSpacePressesTheOneWithTheKeyboard) {
    MakeActive(window.get());
    const auto tab = [&] { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); };
    tab();
    ASSERT_EQ(QApplication::focusWidget(), Button("Bet 1"))
        << (QApplication::focusWidget() ? QApplication::focusWidget()->metaObject()->className() : "none") << " "
        << (QApplication::focusWidget() ? QApplication::focusWidget()->accessibleName().toStdString() : "");
    // The ring: a dark line just outside a light one, round the button and clear of it.
    const QImage shot = window->grab().toImage();
    const QPoint corner = Button("Bet 1")->mapTo(window.get(), QPoint(0, 0));
    EXPECT_EQ(shot.pixel(corner.x() - 5, corner.y() + 30), qRgb(0, 0, 0));
    EXPECT_EQ(shot.pixel(corner.x() - 2, corner.y() + 30), qRgb(255, 255, 255));

    QTest::keyPress(QApplication::focusWidget(), Qt::Key_Space);
    // A held key repeats as X delivers it: a release and a press, both marked as repeats.
    for (int repeat = 0; repeat < 5; ++repeat)
        for (QEvent::Type type : {QEvent::KeyRelease, QEvent::KeyPress}) {
            QKeyEvent held(type, Qt::Key_Space, Qt::NoModifier, QStringLiteral(" "), true);
            QApplication::sendEvent(QApplication::focusWidget(), &held);
        }
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FLOAT_EQ(s().Wager, 0.25f) << "a held Space placed more than one coin";
    EXPECT_EQ(QApplication::focusWidget(), Button("Bet 1")) << "the news took the keyboard from the button";

    tab();
    ASSERT_EQ(QApplication::focusWidget(), Button("Bet 8"));
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_FLOAT_EQ(s().Wager, 2.25f);
    tab();
    ASSERT_EQ(QApplication::focusWidget(), Button("Spin"));
    ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(window.PlayOut());
    EXPECT_EQ(s().Spins, 1);
    EXPECT_EQ(QApplication::focusWidget(), Button("Spin"));

    // A Space pressed elsewhere and let go here presses nothing.
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_EQ(s().Spins, 1);
}

// A spin pressed with the keyboard on Spin: while the three buttons are greyed the keyboard goes to neither
// Bet button (a screen reader reads each greyed button the keyboard lands on, at every spin), and Spin
// has it back once the machine is ready.
TEST_F(MachineAccessibleTest, ASpinPressedOnSpinPassesTheKeyboardToNoOtherButton) {
    MakeActive(window.get());
    window->ButtonCommand(Bet1Button);
    for (int tab = 0; tab < 3; ++tab) QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    ASSERT_EQ(QApplication::focusWidget(), Button("Spin"));
    std::vector<QWidget*> given;
    const QMetaObject::Connection watch =
        QObject::connect(qApp, &QApplication::focusChanged, [&](QWidget*, QWidget* now) { given.push_back(now); });
    ForceStops(random, {1, 9, 3, 1, 1, 1, 1, 1, 1});
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Space);
    EXPECT_TRUE(window.PlayOut());
    QObject::disconnect(watch);
    EXPECT_EQ(s().Spins, 1);
    for (const char* bet : {"Bet 1", "Bet 8"})
        EXPECT_EQ(std::count(given.begin(), given.end(), Button(bet)), 0) << "the keyboard went to " << bet;
    EXPECT_EQ(QApplication::focusWidget(), Button("Spin"));
}

// News is said once: a voice whose news was heard and that the focus then left (for a menu, another window)
// is only the window's name when the focus comes back; news that came meanwhile is heard then instead.
TEST(Herald, NewsHeardIsNotSaidAgainWhenTheFocusComesBack) {
    if (Herald::kAnnounces) GTEST_SKIP() << "this Qt announces the news";
    App();
    QWidget window;
    window.resize(200, 100);
    auto* elsewhere = new QWidget(&window);
    elsewhere->setFocusPolicy(Qt::StrongFocus);
    Herald herald(QStringLiteral("Kazoomba machine"), window);
    window.show();
    MakeActive(&window);
    herald.TakeFocus();
    herald.Say(QStringLiteral("No win."));
    ASSERT_TRUE(herald.HasFocus());
    elsewhere->setFocus();
    herald.TakeFocus();
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), "Kazoomba machine");
    elsewhere->setFocus();
    herald.Say(QStringLiteral("Wager $0.25."));  // told while the focus is away: kept for its return
    herald.TakeFocus();
    EXPECT_EQ(QApplication::focusWidget()->accessibleName(), "Wager $0.25.");
}
