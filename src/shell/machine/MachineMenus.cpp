// The main window's menu bar.
#include "machine/MachineMenus.h"

#include <QMenuBar>

#include "QtText.h"
#include "access/Accessible.h"
#include "play/GameState.h"

namespace kazoomba::ui {

namespace {

// Object names are kept for the accessibility tree and for whoever inspects the running game. An item with
// a check mark is checkable before it joins its menu: assistive technology never meets it as a plain item.
QAction* Item(QMenu* menu, const QString& caption, const QString& name, bool checkable = false) {
    auto* a = new QAction(caption, menu);
    a->setObjectName(name);
    a->setCheckable(checkable);
    menu->addAction(a);
    return a;
}

// The commands set the marks themselves (CheckOnly), so the items show check marks, not radio dots.
template <std::size_t N>
void Group(QMenu* menu, const QStringList& captions, const QString& name, std::array<QAction*, N>& actions) {
    for (std::size_t i = 0; i < N; ++i)
        actions[i] = Item(menu, captions[static_cast<int>(i)], QStringLiteral("%1_%2").arg(name).arg(i), true);
}

}  // namespace

MachineMenus BuildMachineMenus(QMenuBar& bar) {
    InstallAccessibility();  // the marked items read as check boxes
    MachineMenus m;
    m.file = bar.addMenu(QStringLiteral("&File"));
    m.newGame = Item(m.file, QStringLiteral("New Game"), QStringLiteral("mnuNewGame"));
    m.file->addSeparator();
    m.load = Item(m.file, QStringLiteral("Load "), QStringLiteral("mnuLoadSave_0"));
    m.save = Item(m.file, QStringLiteral("Save"), QStringLiteral("mnuLoadSave_1"));
    m.file->addSeparator();
    m.statistics = Item(m.file, QStringLiteral("Statistics"), QStringLiteral("mnuStats"));
    m.history = Item(m.file, QStringLiteral("Game History"), QStringLiteral("mnuHistory"));
    m.file->addSeparator();
    m.quit = Item(m.file, QStringLiteral("Quit"), QStringLiteral("mnuQuit"));

    m.options = bar.addMenu(QStringLiteral("&Options"));
    QMenu* bet = m.options->addMenu(QStringLiteral("Bet Amount"));
    bet->menuAction()->setObjectName(QStringLiteral("mnuWager"));
    QStringList coinCaptions;
    for (const auto& c : kCoinChoices) coinCaptions << ToQString(c.caption);
    Group(bet, coinCaptions, QStringLiteral("mnuBet"), m.bet);
    QMenu* digits = m.options->addMenu(QStringLiteral("Digit Colors"));
    Group(digits, {"Blue", "Cyan", "Green", "Purple", "Red", "White", "Yellow"}, QStringLiteral("mnuDigit"), m.digit);
    QMenu* lines = m.options->addMenu(QStringLiteral("Pay Lines"));
    Group(lines, {"On", "Off"}, QStringLiteral("mnuLines"), m.lines);
    QMenu* banner = m.options->addMenu(QStringLiteral("Banner"));
    Group(banner, {"On", "Off"}, QStringLiteral("mnuBanner"), m.banner);
    m.bannerText = Item(banner, QStringLiteral("Banner Text"), QStringLiteral("mnuBannerText"));
    QMenu* speed = m.options->addMenu(QStringLiteral("Spin Speed"));
    Group(speed, {"Very Fast", "Fast", "Medium", "Slow"}, QStringLiteral("mnuSpeed"), m.speed);
    QMenu* sound = m.options->addMenu(QStringLiteral("Sound"));
    Group(sound, {"On", "Off"}, QStringLiteral("mnuSound"), m.sound);

    m.bank = bar.addMenu(QStringLiteral("&Bank"));
    QMenu* borrow = m.bank->addMenu(QStringLiteral("Borrow"));
    borrow->menuAction()->setObjectName(QStringLiteral("mnuBorrowMain"));
    for (std::size_t i = 0; i < kLoanChoices.size(); ++i)
        m.borrow[i] = Item(borrow, ToQString(kLoanChoices[i].caption), QStringLiteral("mnuBorrow_%1").arg(i));

    m.autoPlay = bar.addMenu(QStringLiteral("Auto Play"));
    m.autoSpin = Item(m.autoPlay, QStringLiteral("Auto Spin"), QStringLiteral("mnuAuto"), true);

    m.help = bar.addMenu(QStringLiteral("&Help"));
    m.about = Item(m.help, QStringLiteral("About"), QStringLiteral("mnuAbout"));
    m.help->addSeparator();
    m.manual = Item(m.help, QStringLiteral("Manual"), QStringLiteral("mnuHelp"));
    m.help->addSeparator();
    m.payChart = Item(m.help, QStringLiteral("Payoff Chart"), QStringLiteral("mnuPayChart"));

    CheckOnly(m.bet, kDefaultCoinIndex);
    CheckOnly(m.digit, 2);
    CheckOnly(m.lines, 0);
    CheckOnly(m.banner, 0);
    CheckOnly(m.speed, 1);
    CheckOnly(m.sound, 0);
    return m;
}

}  // namespace kazoomba::ui
