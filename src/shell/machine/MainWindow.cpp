// The main window.
#include "machine/MainWindow.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QScreen>
#include <QShowEvent>
#include <QThread>
#include <QWindow>

#include "common/NumberPicture.h"
#include "dialogs/BannerTextDialog.h"
#include "art/DataPaths.h"
#include "art/DigitDisplay.h"
#include "art/Drawing.h"
#include "access/MachineAccessible.h"
#include "machine/MainLayout.h"
#include "art/Palette.h"

namespace kazoomba::ui {

using namespace layout;

// The client area: shows the off-screen surface the game draws into.
class MachineView : public QWidget {
public:
    MachineView(const QImage& surface, QWidget* parent) : QWidget(parent), surface_(surface) {
        setFixedSize(kClientWidth, kClientHeight);
        setAttribute(Qt::WA_OpaquePaintEvent);
        setAccessibleName(QStringLiteral("Kazoomba machine"));
    }

protected:
    void paintEvent(QPaintEvent* event) override {
        QPainter p(this);
        const QRect r = event->rect();
        const qreal ratio = surface_.devicePixelRatio();
        p.drawImage(r, surface_, QRectF(r.x() * ratio, r.y() * ratio, r.width() * ratio, r.height() * ratio));
    }

private:
    const QImage& surface_;
};

// A picture control showing one of three stored pictures: raised, pressed or greyed.
class PictureButton : public QWidget {
public:
    PictureButton(MainWindow& owner, int index, const QString& name, QWidget* parent)
        : QWidget(parent), owner_(owner), index_(index) {
        setFixedSize(kButtonW, kButtonH);
        setAccessibleName(name);
        setToolTip(name);
        setFocusPolicy(Qt::NoFocus);
        setAttribute(Qt::WA_OpaquePaintEvent);
        // A screen reader presses it as a click does; greyed, it reads as unavailable.
        MakePressable(
            *this,
            [this] {
                owner_.PressButton(index_);
                owner_.ReleaseButton(index_);
                owner_.ButtonCommand(index_);
            },
            [this] { return state_ != Greyed && owner_.game().state.SpinReady; });
    }
    void SetPicture(const QImage& image, int state) {
        const bool greyedBefore = state_ == Greyed;
        image_ = image;
        state_ = state;
        if ((state == Greyed) != greyedBefore) AnnounceAvailability(*this);
        update();
    }
    int state() const { return state_; }

protected:
    void paintEvent(QPaintEvent*) override {
        QPainter p(this);
        p.drawImage(rect(), image_);
    }
    void mousePressEvent(QMouseEvent* e) override {
        if (e->button() == Qt::LeftButton) owner_.PressButton(index_);
    }
    void mouseReleaseEvent(QMouseEvent* e) override {
        if (e->button() != Qt::LeftButton) return;
        const bool inside = rect().contains(e->position().toPoint());
        owner_.ReleaseButton(index_);
        if (inside) owner_.ButtonCommand(index_);
    }

private:
    MainWindow& owner_;
    int index_;
    QImage image_;
    int state_ = 0;
};

namespace {
// Clears the marks of a menu group and marks the chosen item (none when the index is out of range).
template <std::size_t N>
void CheckOnly(const std::array<QAction*, N>& group, int index) {
    for (std::size_t i = 0; i < N; ++i) group[i]->setChecked(static_cast<int>(i) == index);
}

QString Qs(std::string_view s) { return QString::fromUtf8(s.data(), static_cast<int>(s.size())); }
QString Picture(double v, const char* picture) { return QString::fromStdString(FormatPicture(v, picture)); }
}  // namespace

MainWindow::MainWindow(Graphics& graphics, Sound& sound, Random& random, QWidget* parent)
    : QMainWindow(parent), graphics_(graphics), sound_(sound), random_(random), game_(*this, random) {
    surface_ = graphics_.NewImage(kClientWidth, kClientHeight, Qt::black);
    view_ = new MachineView(surface_, this);
    setCentralWidget(view_);
    banner_ = std::make_unique<BannerMarquee>(surface_, graphics_, [this] { view_->update(0, 0, kBannerWidth, kBannerHeight); });
    sound_.SetMinimizedQuery([this] { return isMinimized(); });

    QPalette pal = view_->palette();
    pal.setColor(QPalette::Window, Qt::black);
    view_->setPalette(pal);
    view_->setAutoFillBackground(true);
    setFont(GameFont(9.75, true));
    menuBar()->setFont(QApplication::font("QMenuBar"));
    setWindowIcon(QIcon(QPixmap::fromImage(graphics_.Icon())));
    setWindowFlags(Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);

    const std::array<std::pair<int, const char*>, 3> names = {
        std::pair{kSpinButtonY, "Spin"}, std::pair{kBet1ButtonY, "Bet 1"}, std::pair{kBet8ButtonY, "Bet 8"}};
    for (int i = 0; i < 3; ++i) {
        buttons_[i] = new PictureButton(*this, i, QString::fromLatin1(names[i].second), view_);
        buttons_[i]->move(kButtonX, names[i].first);
        SetButtonPicture(i, Raised);
    }
    readouts_ = std::make_unique<MachineReadouts>(*view_);
    BuildCaptions();
    BuildMenus();
    // The machine has one size: the player cannot resize the window.
    layout()->setSizeConstraint(QLayout::SetFixedSize);
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow() { qApp->removeEventFilter(this); }

void MainWindow::BuildCaptions() {
    auto caption = [this](const QString& text, int x, int y, int w, bool bold, int colour) {
        auto* label = new QLabel(text, view_);
        label->setGeometry(x, y, w, kCaptionH);
        label->setFont(GameFont(8.25, bold));
        QPalette pal = label->palette();
        pal.setColor(QPalette::WindowText, PaletteColor(colour));
        label->setPalette(pal);
        label->setAttribute(Qt::WA_TranslucentBackground);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);  // the text starts at the control's top
        return label;
    };
    poolCaption_ = caption(QStringLiteral("To Win Pool:  3"), kPoolCaptionX, kPoolCaptionY, kPoolCaptionW, true, 15);
    smileCaption_ = caption(QStringLiteral("For Bonus:  6"), kSmileCaptionX, kSmileCaptionY, kSmileCaptionW, true, 15);
    freeCaption_ = caption(QStringLiteral("Win 3 FREE Spins"), kFreeCaptionX, kFreeCaptionY, kFreeCaptionW, false, 15);
    bonusCaption_ = caption(QStringLiteral("Bonus Spin"), kBonusCaptionX, kBonusCaptionY, kBonusCaptionW, true, 15);
    bonusCaption_->hide();
}

void MainWindow::BuildMenus() {
    QMenuBar* bar = menuBar();
    auto item = [this](QMenu* menu, const QString& caption, const QString& name, auto&& slot) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    auto group = [this](QMenu* menu, const QStringList& captions, const QString& name, auto& actions, auto&& command) {
        // The commands set the marks themselves (CheckOnly), so the items show check marks, not radio dots.
        for (int i = 0; i < captions.size(); ++i) {
            QAction* a = menu->addAction(captions[i]);
            a->setObjectName(QStringLiteral("%1_%2").arg(name).arg(i));
            a->setCheckable(true);
            actions[i] = a;
            connect(a, &QAction::triggered, this, [command, i] { command(i); });
        }
    };

    fileMenu_ = bar->addMenu(QStringLiteral("&File"));
    item(fileMenu_, QStringLiteral("New Game"), QStringLiteral("mnuNewGame"), [this] { game_.StartNewGame(); });
    fileMenu_->addSeparator();
    item(fileMenu_, QStringLiteral("Load "), QStringLiteral("mnuLoadSave_0"), [] {})->setEnabled(false);
    item(fileMenu_, QStringLiteral("Save"), QStringLiteral("mnuLoadSave_1"), [] {})->setEnabled(false);
    fileMenu_->addSeparator();
    item(fileMenu_, QStringLiteral("Statistics"), QStringLiteral("mnuStats"), [] {})->setEnabled(false);
    fileMenu_->addSeparator();
    item(fileMenu_, QStringLiteral("Quit"), QStringLiteral("mnuQuit"), [this] { close(); });

    optionsMenu_ = bar->addMenu(QStringLiteral("&Options"));
    QMenu* bet = optionsMenu_->addMenu(QStringLiteral("Bet Amount"));
    bet->menuAction()->setObjectName(QStringLiteral("mnuWager"));
    QStringList coinCaptions;
    for (const auto& c : kCoinChoices) coinCaptions << Qs(c.caption);
    group(bet, coinCaptions, QStringLiteral("mnuBet"), betActions_, [this](int i) { game_.ChangeCoinValue(i); });
    QMenu* digits = optionsMenu_->addMenu(QStringLiteral("Digit Colors"));
    group(digits, {"Blue", "Cyan", "Green", "Purple", "Red", "White", "Yellow"}, QStringLiteral("mnuDigit"),
          digitActions_, [this](int i) { SetDigitColor(i); });
    QMenu* lines = optionsMenu_->addMenu(QStringLiteral("Pay Lines"));
    group(lines, {"On", "Off"}, QStringLiteral("mnuLines"), lineActions_, [this](int i) { SetPayLines(i); });
    QMenu* banner = optionsMenu_->addMenu(QStringLiteral("Banner"));
    group(banner, {"On", "Off"}, QStringLiteral("mnuBanner"), bannerActions_, [this](int i) { SetBanner(i); });
    item(banner, QStringLiteral("Banner Text"), QStringLiteral("mnuBannerText"), [this] { EditBannerText(); });
    QMenu* speed = optionsMenu_->addMenu(QStringLiteral("Spin Speed"));
    group(speed, {"Very Fast", "Fast", "Medium", "Slow"}, QStringLiteral("mnuSpeed"), speedActions_,
          [this](int i) { SetSpinSpeed(i); });
    QMenu* sound = optionsMenu_->addMenu(QStringLiteral("Sound"));
    group(sound, {"On", "Off"}, QStringLiteral("mnuSound"), soundActions_, [this](int i) { SetSoundMenu(i); });

    bankMenu_ = bar->addMenu(QStringLiteral("&Bank"));
    QMenu* borrow = bankMenu_->addMenu(QStringLiteral("Borrow"));
    borrow->menuAction()->setObjectName(QStringLiteral("mnuBorrowMain"));
    for (int i = 0; i < static_cast<int>(kLoanChoices.size()); ++i)
        item(borrow, Qs(kLoanChoices[i].caption), QStringLiteral("mnuBorrow_%1").arg(i), [this, i] { game_.Borrow(i); });

    autoMenu_ = bar->addMenu(QStringLiteral("Auto Play"));
    autoAction_ = item(autoMenu_, QStringLiteral("Auto Spin"), QStringLiteral("mnuAuto"), [this] { game_.ToggleAutoSpin(); });
    autoAction_->setCheckable(true);

    helpMenu_ = bar->addMenu(QStringLiteral("&Help"));
    item(helpMenu_, QStringLiteral("About"), QStringLiteral("mnuAbout"), [] {})->setEnabled(false);
    helpMenu_->addSeparator();
    item(helpMenu_, QStringLiteral("Manual"), QStringLiteral("mnuHelp"), [] {})->setEnabled(false);
    helpMenu_->addSeparator();
    item(helpMenu_, QStringLiteral("Payoff Chart"), QStringLiteral("mnuPayChart"), [] {})->setEnabled(false);

    CheckOnly(betActions_, kDefaultCoinIndex);
    CheckOnly(digitActions_, 2);
    CheckOnly(lineActions_, 0);
    CheckOnly(bannerActions_, 0);
    CheckOnly(speedActions_, 1);
    CheckOnly(soundActions_, 0);
}

QAction* MainWindow::action(const QString& objectName) const { return findChild<QAction*>(objectName); }

void MainWindow::Wire(const QString& objectName, std::function<void()> command) {
    QAction* a = action(objectName);
    if (!a) return;
    disconnect(a, &QAction::triggered, nullptr, nullptr);
    connect(a, &QAction::triggered, this, [command = std::move(command)] { command(); });
    a->setEnabled(true);
}

void MainWindow::StartUp() {
    game_.StartNewGame();
    // Coin value 25 cents and green digits, as the machine comes on.
    game_.state.CoinIndex = kDefaultCoinIndex;
    game_.state.CoinValue = kCoinChoices[kDefaultCoinIndex].value;
    game_.state.CoinLabel = kCoinChoices[kDefaultCoinIndex].caption;
    game_.state.MaxBet = kCoinChoices[kDefaultCoinIndex].maxBet;
    digitColor_ = 2;
    if (CheckColor() <= 8) {
        graphics_.ReplaceSymbolSheet(true, DataDirectory() + QStringLiteral("/KAZO.BMP"));
        graphics_.ReplaceSymbolSheet(false, DataDirectory() + QStringLiteral("/KAZO2.BMP"));
        graphics_.BuildSlotWheels(game_.wheels.ReelStrip);
    }
    if (bannerIndex_ == 0) banner_->StartBanner(); else banner_->UseStepInterval();
    InitRestFrame(game_.wheels);
    RedrawMainWindow();
}

int MainWindow::CheckColor() const {
    const QScreen* s = screen() ? screen() : QGuiApplication::primaryScreen();
    return s ? s->depth() : 32;
}

// ----- menu commands -----

void MainWindow::SetSpinSpeed(int index) {
    CheckOnly(speedActions_, index);
    if (index >= 0 && index < static_cast<int>(kSpeedDelays.size())) {
        speedDelay_ = kSpeedDelays[index];
        speedIndex_ = index;
    }
}

void MainWindow::SetDigitColor(int index) {
    if (index < 0 || index > 6) return;
    CheckOnly(digitActions_, index);
    digitColor_ = index;
    RedrawMainWindow();
}

void MainWindow::SetPayLines(int index) {
    CheckOnly(lineActions_, index == 0 ? 0 : 1);
    payLinesOn_ = index == 0;
    RedrawMainWindow();
}

void MainWindow::SetBanner(int index) {
    bannerIndex_ = index == 0 ? 0 : 1;
    CheckOnly(bannerActions_, bannerIndex_);
    if (bannerIndex_ == 0) banner_->StartBanner(); else banner_->StopBanner();
}

void MainWindow::SetSoundMenu(int index) {
    CheckOnly(soundActions_, index == 0 ? 0 : 1);
    sound_.SetSound(index);
}

void MainWindow::EditBannerText() {
    banner_->Clear();
    BannerTextDialog dialog(banner_->Text(), this);
    if (dialog.exec() != QDialog::Accepted) {
        // Closed by Escape or its frame: the text stays, and the cleared picture is rendered again.
        banner_->SetText(banner_->Text());
        return;
    }
    banner_->SetText(dialog.Result());
    if (writeBannerText) writeBannerText(dialog.Result());
}

void MainWindow::EnableMenus(bool on) {
    for (QMenu* m : {fileMenu_, optionsMenu_, bankMenu_, helpMenu_}) m->menuAction()->setEnabled(on);
}

// ----- drawing -----

void MainWindow::RedrawMainWindow() {
    {
        QPainter p(&surface_);
        p.setRenderHint(QPainter::TextAntialiasing);
        DrawPanel(p, kReelPanelX1, kReelPanelY1, kReelPanelX2, kReelPanelY2);
        if (payLinesOn_) {
            for (const auto& s : kPayLineStrokes) DrawShadowLine(p, s.x1, s.y1, s.x2, s.y2, s.colour, s.width);
            p.setFont(GameFont(24, true));
            const QFontMetrics m(p.font());
            for (const auto& s : kPayLineStrokes) {
                const QString n = QString::fromLatin1(s.number);
                EmbossText(p, s.numberX - m.horizontalAdvance(n) / 2, s.numberY, 8, 15, s.colour, n);
            }
        }
        for (int c = 0; c < kCells; ++c)
            DrawPanel(p, CellLeft(c), CellTop(c), CellLeft(c) + kCellWidth - 1, CellTop(c) + kCellHeight - 1);
        Blit(p, kLogoX, kLogoY, graphics_.Logo(), 0, 0, kLogoW, kLogoH);
    }
    for (int c = 0; c < kCells; ++c) DrawCell(c, kRestFrame);
    DrawSpinsDisplay();
    DrawStatusPanel();
    DrawLineMarkers();
    if (payLinesOn_) Paylines();
    view_->update();
}

void MainWindow::DrawCell(int cell, int frame) {
    const FramePosition& f = game_.wheels.Trajectory[frame][cell];
    QPainter p(&surface_);
    Blit(p, f.x, f.y, graphics_.SlotWheel(WheelOf(cell)), 0, f.offset, kCellWidth, kCellHeight);
}

void MainWindow::DrawSpinsDisplay() {
    QPainter p(&surface_);
    p.setFont(GameFont(8, true));
    p.setPen(PaletteColor(14));
    DrawDigits(p, graphics_, kSpinsX, kSpinsY, digitColor_, Picture(game_.state.Spins, "000000"), 0);
    const QString caption = QStringLiteral("Spins:");
    const QFontMetrics m(p.font());
    p.fillRect(QRect(458, 150, m.horizontalAdvance(caption), m.height()), Qt::black);
    p.drawText(QRect(458, 150, 200, 30), Qt::AlignLeft | Qt::AlignTop, caption);
    readouts_->ShowValues(game_.state);
    view_->update(kSpinsX - 60, kSpinsY, 160, 21);
}

void MainWindow::DrawStatusPanel() {
    const GameState& s = game_.state;
    QPainter p(&surface_);
    p.setFont(GameFont(8, true));
    p.setPen(PaletteColor(14));
    const QFontMetrics m(p.font());
    // Each caption is printed on black first: text printed over itself again and again would thicken.
    auto captionLeft = [&](int x, int y, const QString& t) {
        p.fillRect(QRect(x, y, m.horizontalAdvance(t), m.height()), Qt::black);
        p.drawText(QRect(x, y, 300, 30), Qt::AlignLeft | Qt::AlignTop, t);
    };
    auto captionRight = [&](int right, int y, const QString& t) { captionLeft(right - m.horizontalAdvance(t), y, t); };

    DrawDigits(p, graphics_, kCoinValueX, kCoinValueY, DigitRed, Picture(s.CoinValue, "0.00"), 1);
    captionLeft(458, 35, QStringLiteral("Coin Value:"));
    DrawDigits(p, graphics_, kCreditsX, kCreditsY, digitColor_, Picture(s.Credits, "0000000.00"), 0);
    captionRight(kCaptionRight, 85, QStringLiteral("Credits:"));
    DrawDigits(p, graphics_, kSpinsX, kSpinsY, digitColor_, Picture(s.Spins, "000000"), 0);
    captionLeft(458, 150, QStringLiteral("Spins:"));
    DrawDigits(p, graphics_, kWagerX, kWagerY, digitColor_, Picture(s.Wager, "00.00"), 0);
    captionRight(kCaptionRight, 35, QStringLiteral("Wager:"));
    DrawDigits(p, graphics_, kPoolX, kPoolY, digitColor_, Picture(s.BonusPool, "0000.00"), 0);
    captionRight(100, 35, QStringLiteral("Bonus Pool:"));

    poolCaption_->setText(QStringLiteral("To Win Pool:  ") + Picture(s.Bells, "0"));
    smileCaption_->setText(QStringLiteral("For Bonus:  ") + Picture(s.Smiles, "0"));
    const QImage& small = graphics_.SymbolSheetSmall();
    auto marker = [&](int x, int y, bool shown, kazoomba::Symbol code) {
        if (shown) Blit(p, x, y, small, 32 * (code % 4), 32 * (code / 4), 32, 32);
        else Blit(p, x, y, graphics_.BlankSpace(), 0, 0, 32, 32);
    };
    for (int i = 0; i < 3; ++i) marker(kMarkerX + kMarkerStep * i, kGlobeRowY, s.Bells > i, Globe);
    for (int i = 0; i < 6; ++i)
        marker(kMarkerX + kMarkerStep * (i % 3), kSmileRowY + kMarkerStep * (i / 3), s.Smiles > i, Smile);
    p.end();

    readouts_->ShowOutcome(game_);
    view_->update();
}

void MainWindow::DrawLineMarkers() {
    game_.state.LineCoins = DealLineCoins(game_.state.Wager, game_.state.CoinValue);
    QPainter p(&surface_);
    for (int line = 0; line < kLines; ++line) {
        const int n = qBound(0, int(game_.state.LineCoins[line]), 9);
        Blit(p, kCoinMarkers[line].x, kCoinMarkers[line].y, graphics_.Coins(), kCoinCellW * (n / 5), kCoinCellH * (n % 5),
             kCoinCellW, kCoinCellH);
    }
    p.end();
    view_->update();
}

void MainWindow::Paylines() {
    QPainter p(&surface_);
    for (int line = 0; line < kLines; ++line) {
        if (game_.state.LinePay[line] <= 0) continue;
        const auto& s = kPayLineStrokes[line];
        DrawShadowLine(p, s.x1, s.y1, s.x2, s.y2, s.colour, line < 6 ? 5 : 3);
    }
}

// ----- buttons and keys -----

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
    if (!game_.state.SpinReady) return;
    switch (button) {
        case SpinButton: RunSpinCommand([this] { game_.SpinCommand(); }); break;
        case Bet1Button: RunSpinCommand([this] { game_.PlaceCoins(1); }); break;
        case Bet8Button: RunSpinCommand([this] { game_.PlaceCoins(8); }); break;
        default: break;
    }
    // A refused spin leaves the Spin button's pressed picture behind; show it raised again.
    if (game_.state.SpinReady && buttons_[SpinButton]->state() == Pressed) SetButtonPicture(SpinButton, Raised);
}

void MainWindow::RunSpinCommand(const std::function<void()>& command) {
    spinning_ = true;
    command();
    spinning_ = false;
    if (closePending_) close();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (watched == this && event->type() == QEvent::WindowDeactivate) {
        // A key held while the window loses the keyboard will release elsewhere: forget it.
        if (enterDown_ && buttons_[SpinButton]->state() == Pressed) SetButtonPicture(SpinButton, Raised);
        if (betDown_ && buttons_[Bet1Button]->state() == Pressed) SetButtonPicture(Bet1Button, Raised);
        enterDown_ = betDown_ = false;
        return false;
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) return false;
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this || QApplication::activeModalWidget()) return false;
    if (QApplication::activePopupWidget() || menuBar()->activeAction()) return false;
    auto* key = static_cast<QKeyEvent*>(event);
    const bool press = event->type() == QEvent::KeyPress;
    const int k = key->key();
    if (k == Qt::Key_F1) {
        // F1 opens the manual, exactly as Help > Manual does.
        QAction* manual = action(QStringLiteral("mnuHelp"));
        if (press && !key->isAutoRepeat() && manual && manual->isEnabled() && helpMenu_->menuAction()->isEnabled())
            manual->trigger();
        return true;
    }
    const bool enter = k == Qt::Key_Return || k == Qt::Key_Enter;
    const bool bet = k == Qt::Key_B || k == 92;  // 92: the backslash key also bets one coin
    if (!enter && !bet) return false;
    if (key->isAutoRepeat()) return true;
    // A release acts only when this window had the press. The Enter that picks a menu item or closes a
    // message box or dialog goes down there, and only its release arrives here.
    bool& down = enter ? enterDown_ : betDown_;
    if (press) {
        down = true;
    } else {
        if (!down) return true;
        down = false;
    }
    if (enter) {
        if (press) {
            if (HasBet() && game_.state.SpinReady) SetButtonPicture(SpinButton, Pressed);
        } else if (HasBet() && game_.state.SpinReady) {
            for (int b = 0; b < 3; ++b) SetButtonPicture(b, Greyed);
            ButtonCommand(SpinButton);
            if (game_.state.SpinReady)
                for (int b = 0; b < 3; ++b) SetButtonPicture(b, Raised);
        }
        return true;
    }
    if (press) {
        if (game_.state.SpinReady) SetButtonPicture(Bet1Button, Pressed);
    } else if (game_.state.SpinReady) {
        SetButtonPicture(Bet1Button, Raised);
        ButtonCommand(Bet1Button);
    }
    return true;
}

// ----- cabinet -----

void MainWindow::ShowMessage(std::string_view title, std::string_view text, MessageIcon icon) {
    QMessageBox box(icon == MessageIcon::Exclamation ? QMessageBox::Warning : QMessageBox::Information, Qs(title),
                    Qs(text), QMessageBox::Ok, isVisible() ? this : nullptr);
    box.exec();
}

void MainWindow::SetButtonsAvailable(bool available) {
    for (int b = 0; b < 3; ++b) {
        buttons_[b]->setEnabled(available);
        if (available && buttons_[b]->state() == Greyed) SetButtonPicture(b, Raised);
    }
}

void MainWindow::AnimateReels() {
    for (int b = 0; b < 3; ++b) SetButtonPicture(b, Greyed);
    QElapsedTimer clock;
    clock.start();
    const qint64 step = qint64(speedDelay_ + 1) * 1000000;
    qint64 last = clock.nsecsElapsed();
    for (int frame = 0; frame <= kRestFrame && !closePending_; ++frame) {
        // Sleep until the frame is due, then spin the last fraction of a millisecond for an even beat.
        for (;;) {
            const qint64 left = last + step - clock.nsecsElapsed();
            if (left <= 0) break;
            if (left > 400000) QThread::usleep(static_cast<unsigned long>((left - 300000) / 1000));
            else QThread::yieldCurrentThread();
        }
        last = clock.nsecsElapsed();
        for (int c = 0; c < kCells; ++c) DrawCell(c, frame);
        view_->update(kReelPanelX1, kReelPanelY1, kReelPanelX2 - kReelPanelX1 + 1, kReelPanelY2 - kReelPanelY1 + 1);
        for (int c = 0; c < kCells; ++c)
            if (frame == StopFrame(c)) sound_.PlayStopSound();
        QCoreApplication::processEvents();
    }
    for (int b = 0; b < 3; ++b) SetButtonPicture(b, Raised);
}

void MainWindow::ReelsRebuilt() {
    graphics_.BuildSlotWheels(game_.wheels.ReelStrip);
    for (int c = 0; c < kCells; ++c) DrawCell(c, kRestFrame);
    view_->update();
}

void MainWindow::PresentWin() {
    if (presentWin) presentWin();
    else game_.TakeWin();
    // The window under the Payoffs window is drawn again: now the winning lines show.
    RedrawMainWindow();
}

void MainWindow::CheckCoinItem(int index) {
    CheckOnly(betActions_, index);
    // A coin value change clears the whole client area before the redraw that follows.
    surface_.fill(Qt::black);
}

void MainWindow::SetAutoSpinCheck(bool checked) { autoAction_->setChecked(checked); }

std::string MainWindow::AskWinStopValue() {
    return askWinStopValue ? askWinStopValue().toStdString() : std::string("0");
}

void MainWindow::ShowBonusCaption(bool visible) { bonusCaption_->setVisible(visible); }

void MainWindow::StopBanner() { banner_->StopBanner(); }

void MainWindow::RestartBanner() {
    if (bannerIndex_ == 0) banner_->StartBanner();
}

void MainWindow::ReloadBannerText() {
    banner_->SetText(readBannerText ? readBannerText() : Qs(kWelcomeBanner));
}

void MainWindow::SetCaption(std::string_view caption) { setWindowTitle(Qs(caption)); }

bool MainWindow::IsMinimized() { return isMinimized(); }

void MainWindow::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Coming back from the task bar repaints the whole machine, winning lines of a win credited
    // while minimized included; mid-spin the surface already shows the frame in play.
    if (event->type() == QEvent::WindowStateChange && !isMinimized() && game_.state.SpinReady) RedrawMainWindow();
}

void MainWindow::showEvent(QShowEvent* event) {
    QMainWindow::showEvent(event);
    // The first picture shows the game as it stands now: a game restored at start sets its bonus
    // counters after the coin value's redraw.
    if (!event->spontaneous() && game_.state.SpinReady) RedrawMainWindow();
}

void MainWindow::closeEvent(QCloseEvent* event) {
    if (spinning_) {
        // The outcome is already drawn: settle it at once, then close when the spin command returns.
        closePending_ = true;
        event->ignore();
        return;
    }
    if (!quitDone_) {
        quitDone_ = true;
        banner_->StopBanner();
        if (beforeQuit) beforeQuit();
    }
    event->accept();
}

}  // namespace kazoomba::ui
