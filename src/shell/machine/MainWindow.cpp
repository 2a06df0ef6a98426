// The main window: building it, its menu commands, the picture buttons, and its life from show to close.
#include "machine/MainWindow.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLayout>
#include <QMenuBar>
#include <QShowEvent>

#include "access/FocusRing.h"
#include "access/MachineAccessible.h"
#include "art/Drawing.h"
#include "dialogs/BannerTextDialog.h"
#include "dialogs/Modal.h"
#include "machine/MachineWidgets.h"
#include "machine/MainLayout.h"

namespace kazoomba::ui {

using namespace layout;

MainWindow::MainWindow(Graphics& graphics, Sound& sound, Random& random, MachineHooks hooks, QWidget* parent)
    : QMainWindow(parent),
      graphics_(graphics),
      sound_(sound),
      random_(random),
      hooks_(std::move(hooks)),
      game_(*this, random),
      face_(graphics, this) {
    setCentralWidget(&face_.view());
    banner_ = std::make_unique<BannerMarquee>(face_.surface(), graphics_,
                                              [this] { face_.view().update(0, 0, kBannerWidth, kBannerHeight); });
    sound_.SetMinimizedQuery([this] { return isMinimized(); });

    setFont(GameFont(9.75, true));
    menuBar()->setFont(QApplication::font("QMenuBar"));
    setWindowIcon(QIcon(QPixmap::fromImage(graphics_.Icon())));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    // The readouts and the voice come first: under the buttons, and before them in the Tab chain, so that
    // Tab from the voice lands on the first button.
    readouts_ = std::make_unique<MachineReadouts>(face_.view());
    readouts_->SetClock(clock_);
    const std::array<std::pair<int, const char*>, 3> names = {
        std::pair{kSpinButtonY, "Spin"}, std::pair{kBet1ButtonY, "Bet 1"}, std::pair{kBet8ButtonY, "Bet 8"}};
    for (int i = 0; i < 3; ++i) {
        PictureButtonActions actions{[this, i] { PressButton(i); }, [this, i] { ReleaseButton(i); },
                                     [this, i] { ButtonCommand(i); }, [this] { return AvailableNow().buttons; }};
        buttons_[i] = new PictureButton(QString::fromLatin1(names[i].second), std::move(actions), &face_.view());
        buttons_[i]->move(kButtonX, names[i].first);
        SetButtonPicture(i, Raised);
    }
    // Tab goes down the column of buttons as they stand: Bet 1, Bet 8, Spin.
    setTabOrder(buttons_[Bet1Button], buttons_[Bet8Button]);
    setTabOrder(buttons_[Bet8Button], buttons_[SpinButton]);
    ShowFocusRings(*this);
    // The keyboard's place on the machine is its voice: keys reach the window wherever the focus is, and a
    // screen reader speaks the news of the control that has it.
    readouts_->herald().TakeFocus();
    menus_ = BuildMachineMenus(*menuBar());
    ConnectMenus();
    UpdateMoment();
    // The machine has one size: the player cannot resize the window.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    ticker_.setSingleShot(true);
    ticker_.setTimerType(Qt::PreciseTimer);
    connect(&ticker_, &QTimer::timeout, this, &MainWindow::Tick);
    keySettle_.setSingleShot(true);
    keySettle_.setInterval(kKeySettleMs);
    connect(&keySettle_, &QTimer::timeout, this, &MainWindow::SettleKeys);
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() {
    qApp->removeEventFilter(this);
    sound_.SetMinimizedQuery({});  // the sounds may outlive the window that answered for them
}

void MainWindow::ConnectHook(QAction* item, const std::function<void(MainWindow&)>& hook) {
    item->setEnabled(static_cast<bool>(hook));
    if (hook) Command(item, [this, hook] { hook(*this); });
}

void MainWindow::ConnectMenus() {
    const MachineMenus& m = menus_;
    Command(m.newGame, [this] { game_.NewGame(); });
    ConnectHook(m.load, hooks_.load);
    ConnectHook(m.save, hooks_.save);
    ConnectHook(m.statistics, hooks_.statistics);
    ConnectHook(m.history, hooks_.history);
    Command(m.quit, [this] { close(); });
    for (int i = 0; i < static_cast<int>(m.bet.size()); ++i)
        Command(m.bet[i], [this, i] { game_.ChangeCoinValue(i); });
    for (int i = 0; i < static_cast<int>(m.digit.size()); ++i)
        Command(m.digit[i], [this, i] { SetDigitColor(i); });
    for (int i = 0; i < static_cast<int>(m.lines.size()); ++i)
        Command(m.lines[i], [this, i] { SetPayLines(i); });
    for (int i = 0; i < static_cast<int>(m.banner.size()); ++i)
        Command(m.banner[i], [this, i] { SetBanner(i); });
    Command(m.bannerText, [this] { EditBannerText(); });
    for (int i = 0; i < static_cast<int>(m.speed.size()); ++i)
        Command(m.speed[i], [this, i] { SetSpinSpeed(i); });
    for (int i = 0; i < static_cast<int>(m.sound.size()); ++i)
        Command(m.sound[i], [this, i] { SetSoundMenu(i); });
    for (int i = 0; i < static_cast<int>(m.borrow.size()); ++i)
        Command(m.borrow[i], [this, i] { game_.Borrow(i); });
    Command(m.autoSpin, [this] { game_.ToggleAutoSpin(); });
    ConnectHook(m.about, hooks_.about);
    ConnectHook(m.manual, hooks_.manual);
    ConnectHook(m.payChart, hooks_.payChart);
}

void MainWindow::StartUp() {
    game_.StartNewGame();
    // Coin value 25 cents and green digits, as the machine comes on; the coin's redraw shows the wheels
    // at the rest the game set them to.
    face_.SetDigitColor(2);
    game_.SelectCoinValue(kDefaultCoinIndex);
    if (bannerIndex_ == 0) banner_->StartBanner(); else banner_->UseStepInterval();
}

// ----- menu commands -----

void MainWindow::SetSpinSpeed(int index) {
    CheckOnly(menus_.speed, index);
    if (index >= 0 && index < static_cast<int>(kSpeedDelays.size())) {
        speedDelay_ = kSpeedDelays[index];
        speedIndex_ = index;
    }
}

void MainWindow::SetDigitColor(int index) {
    if (index < 0 || index > 6) return;
    CheckOnly(menus_.digit, index);
    face_.SetDigitColor(index);
    RedrawMainWindow();
}

void MainWindow::SetPayLines(int index) {
    CheckOnly(menus_.lines, index == 0 ? 0 : 1);
    face_.SetPayLinesOn(index == 0);
    RedrawMainWindow();
}

void MainWindow::SetBanner(int index) {
    bannerIndex_ = index == 0 ? 0 : 1;
    CheckOnly(menus_.banner, bannerIndex_);
    if (bannerIndex_ == 0) banner_->StartBanner(); else banner_->StopBanner();
}

void MainWindow::SetSoundMenu(int index) {
    CheckOnly(menus_.sound, index == 0 ? 0 : 1);
    sound_.SetSound(index);
}

void MainWindow::EditBannerText() {
    banner_->Clear();
    OpenModal<BannerTextDialog>(new BannerTextDialog(banner_->Text(), this), [this](BannerTextDialog& dialog, int answer) {
        // Closed by Escape or its frame, the text stays, and the cleared picture is rendered again.
        const QString text = answer == QDialog::Accepted ? dialog.Result() : banner_->Text();
        banner_->SetText(text);
        if (answer == QDialog::Accepted && hooks_.writeBannerText) hooks_.writeBannerText(text);
    });
}

// ----- picture buttons -----

void MainWindow::SetButtonPicture(int button, int state) {
    buttons_[button]->SetPicture(graphics_.Button(button, state), state);
}

void MainWindow::PressButton(int button) {
    if (buttons_[button]->state() != Greyed && HasBet()) SetButtonPicture(button, Pressed);
}

void MainWindow::ReleaseButton(int button) {
    if (button != SpinButton && buttons_[button]->state() != Greyed && HasBet()) SetButtonPicture(button, Raised);
}

void MainWindow::ButtonCommand(int button) {
    if (!AvailableNow().buttons || !game_.State().SpinReady) return;
    switch (button) {
        case SpinButton: game_.SpinCommand(); break;
        case Bet1Button: game_.PlaceCoins(1); break;
        case Bet8Button: game_.PlaceCoins(8); break;
        default: break;
    }
    // A refused spin leaves the Spin button's pressed picture behind; show it raised again.
    if (game_.State().SpinReady && buttons_[SpinButton]->state() == Pressed) SetButtonPicture(SpinButton, Raised);
}

void MainWindow::ResumeMoment() { game_.ResumeMoment(); }

// ----- life of the window -----

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Coming back from the task bar repaints the whole machine, winning lines of a win credited
    // while minimized included; mid-spin the surface already shows the frame in play.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && game_.State().SpinReady) RedrawMainWindow();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The first picture shows the game as it stands now: a game restored at start sets its bonus
    // counters after the coin value's redraw.
    if (!event->spontaneous() && game_.State().SpinReady) RedrawMainWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (quitting_ == Quitting::Done) {
        event->accept();
        return;
    }
    event->ignore();
    if (game_.CommandRunning()) {
        // The outcome is already drawn: settle it at once, without the rest of the motion or the sound,
        // then close once the spin has settled.
        if (std::exchange(closePending_, true)) return;
        if (activity_ != Activity::None) FinishActivity();
        return;
    }
    // Asked again while the exit save's question is up: that question is the answer.
    if (quitting_ == Quitting::Asking) return;
    quitting_ = Quitting::Asking;
    banner_->StopBanner();
    const auto closeNow = [this, alive = QPointer<MainWindow>(this)] {
        if (!alive) return;
        quitting_ = Quitting::Done;
        // Saved at once: the close under way goes on. Saved after a question: the window closes itself.
        if (!inCloseEvent_) close();
    };
    inCloseEvent_ = true;
    if (hooks_.beforeQuit) hooks_.beforeQuit(*this, closeNow);
    else closeNow();
    inCloseEvent_ = false;
    if (quitting_ == Quitting::Done) event->accept();
}

}  // namespace kazoomba::ui
