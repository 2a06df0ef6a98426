// The Payoffs window.
#include "dialogs/Modal.h"
#include "dialogs/Placement.h"
#include "gamble/PayoffsWindow.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "common/NumberPicture.h"
#include "gamble/BoardWindow.h"
#include "gamble/PayoffsLayout.h"
#include "play/Game.h"
#include "access/Accessible.h"
#include "art/DigitDisplay.h"
#include "art/Drawing.h"
#include "art/Graphics.h"
#include "art/Palette.h"
#include "art/TextFit.h"
#include "access/SpokenText.h"
#include "access/FocusRing.h"

namespace kazoomba::ui {

namespace L = payoffs_layout;

QPoint PayoffsWindow::PayoffsWindowPos;

PayoffsWindow::PayoffsWindow(kazoomba::Game& game, const Graphics& graphics, int digitColour, Sound& sound,
                             kazoomba::Random& random, QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      game_(game),
      graphics_(graphics),
      digitColour_(digitColour),
      sound_(sound),
      random_(random),
      sheet_(BuildPayoffsSheet(game.State(), game.Reels())),
      takesByItself_(game.AutoTakeDue()) {
    setWindowTitle(QString::fromStdString(sheet_.caption));
    setFixedSize(L::kClientWidth, L::kClientHeight);
    SetLightFace(*this, PaletteColor(Colour::Silver));
    surface_ = graphics_.NewImage(L::kClientWidth, L::kClientHeight, PaletteColor(Colour::Silver));

    auto* frame = new QGroupBox(this);
    frame->setGeometry(L::kFrameX, L::kFrameY, L::kFrameWidth, L::kFrameHeight);
    double_ = new QPushButton(QStringLiteral("&Double"), frame);
    double_->setGeometry(L::kDoubleX, L::kButtonY, L::kButtonWidth, L::kButtonHeight);
    take_ = new QPushButton(QStringLiteral("&Take"), frame);
    take_->setGeometry(L::kTakeX, L::kButtonY, L::kButtonWidth, L::kButtonHeight);
    for (QPushButton* button : {double_, take_}) button->setFont(GameFont(L::kButtonPoints, false));
    setTabOrder(take_, double_);
    take_->setFocus();
    connect(take_, &QPushButton::clicked, this, &PayoffsWindow::Take);
    connect(double_, &QPushButton::clicked, this, &PayoffsWindow::Double);

    AddReadouts();
    // What the window shows, read by a screen reader as the window opens.
    const QString bonus = game_.State().BonusMode ? BonusSpinWords(game_.State().BonusSpins) + u' ' : QString();
    setAccessibleDescription(bonus + ResultInWordsTotalFirst(sheet_, game_.State().SpinWin));

    autoTake_.setInterval(L::kAutoTakeMs);
    connect(&autoTake_, &QTimer::timeout, this, &PayoffsWindow::TimerTick);

    ShowFocusRings(*this);
    Place();
    Redraw();
}

// The painted lines, total and pool as text for assistive technology.
void PayoffsWindow::AddReadouts() {
    for (int i = 0; i < kLines; ++i) {
        if (!sheet_.lines[i].won) continue;
        const QRect panel(QPoint(L::kPanelLeft + L::LineDx(i), L::kPanelTop + L::LineDy(i)),
                          QPoint(L::kPanelRight + L::LineDx(i), L::kPanelBottom + L::LineDy(i)));
        auto* line = new Readout(QStringLiteral("Line %1").arg(i + 1), panel, this);
        line->SetValue(LineWinInWords(sheet_.lines[i]));
    }
    auto* total = new Readout(QStringLiteral("Total Won"),
                              QRect(QPoint(L::kTotalLeft, L::kTotalTop), QPoint(L::kTotalRight, L::kTotalBottom)), this);
    total->SetFigure(MoneyWords(game_.State().SpinWin), game_.State().SpinWin);
    if (sheet_.poolRow) {
        const double pool = LeadingNumber(sheet_.pool);
        auto* row = new Readout(QStringLiteral("Bonus Pool"),
                                QRect(QPoint(L::kPoolLeft, L::kPoolTop), QPoint(L::kPoolRight, L::kPoolBottom)), this);
        row->SetFigure(MoneyWords(pool), pool);
    }
}

void PayoffsWindow::PresentWin(kazoomba::Game& game, const Graphics& graphics, int digitColour, Sound& sound,
                               kazoomba::Random& random, QWidget* parent, std::function<void()> settled) {
    auto* window = new PayoffsWindow(game, graphics, digitColour, sound, random, parent);
    auto answered = [settled = std::move(settled)](QDialog&, int) {
        if (settled) settled();
    };
    // A win auto spin takes by itself leaves the keyboard with the machine, where Escape ends the run: a
    // key pressed as the window opens can neither double the win nor take it early.
    if (window->takesByItself()) OpenWindowWithoutKeyboard(window, std::move(answered));
    else OpenModalWindow(window, std::move(answered));
}

void PayoffsWindow::Place() {
    // The frame goes back where the player left it, brought inside a screen's free area if that has gone.
    const QPoint at = PayoffsWindowPos;
    if (at.x() > 0) {
        PlaceFrameAt(*this, at);
        return;
    }
    CentreOnScreen(*this, parentWidget());
}

void PayoffsWindow::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!settled_ && !autoTake_.isActive()) autoTake_.start();
}

void PayoffsWindow::TimerTick() {
    if (settled_ || !game_.AutoTakeDue()) return;
    Take();
}

void PayoffsWindow::Take() {
    if (settled_) return;
    settled_ = true;
    autoTake_.stop();
    game_.TakeWin();
    Close();
}

void PayoffsWindow::Double() {
    if (settled_) return;
    settled_ = true;
    autoTake_.stop();
    // The board holds the stake out of the game as it opens and credits what the player leaves with;
    // this window closes behind it once it has been left.
    OpenModal<BoardWindow>(new BoardWindow(game_, graphics_, sound_, random_, this),
                           [this](BoardWindow&, int) { Close(); });
}

void PayoffsWindow::reject() {
    if (takesByItself_) game_.StopAutoSpin();
    Take();
}

void PayoffsWindow::Close() {
    PayoffsWindowPos = FramePosition(*this);
    done(QDialog::Accepted);
}

void PayoffsWindow::paintEvent(QPaintEvent*) {
    Redraw();
    QPainter p(this);
    p.drawImage(0, 0, surface_);
}

void PayoffsWindow::Redraw() {
    surface_.fill(PaletteColor(Colour::Silver));
    QPainter p(&surface_);

    p.setFont(GameFont(L::kTitlePoints));
    EmbossText(p, L::kTitleX, L::kTitleY, Colour::White, Colour::Black, Colour::Silver, QStringLiteral("Your Winnings"));

    const QImage& sheet = graphics_.SymbolSheetSmall();
    for (int i = 0; i < kLines; ++i) {
        const PayoffsLine& line = sheet_.lines[i];
        const int dx = L::LineDx(i), dy = L::LineDy(i);
        const int left = L::kPanelLeft + dx, top = L::kPanelTop + dy;
        const int right = L::kPanelRight + dx, bottom = L::kPanelBottom + dy;
        DrawPanel(p, left, top, right, bottom);
        FillBox(p, left, top, right - left + 1, bottom - top + 1, Colour::Black);
        if (line.won) {
            // Measured in the title's type, which is still the painter's font.
            const QString number = QString::number(i + 1);
            const int x = L::kNumberCentreX + dx - p.fontMetrics().horizontalAdvance(number) / 2;
            EmbossText(p, x, L::kNumberY + dy, Colour::White, Colour::Grey, kLineColours[i], number);
        }
        DrawDigits(p, graphics_, L::kAmountX + dx, L::kAmountY + dy, digitColour_,
                   QString::fromStdString(line.amount), line.won ? 0 : 2);
        if (!line.won) continue;
        for (int k = 0; k < 3; ++k) {
            const int code = line.symbols[k];
            if (code < 0 || code >= kSymbolCount) continue;
            Blit(p, L::kSymbolX + dx + L::kSymbolStep * k, L::kSymbolY + dy, sheet, L::kSymbolSize * (code % 4),
                 L::kSymbolSize * (code / 4), L::kSymbolSize, L::kSymbolSize);
        }
    }

    DrawPanel(p, L::kTotalLeft, L::kTotalTop, L::kTotalRight, L::kTotalBottom);
    DrawDigits(p, graphics_, L::kTotalLeft, L::kTotalTop, digitColour_, QString::fromStdString(sheet_.total), 0);
    // Our bold type is wider than the one the window was measured for: a caption never runs into its panel.
    const auto caption = [&](double points, int x, int y, int panelLeft, const QString& text) {
        const int room = panelLeft - L::kPanelFrame - L::kCaptionGap - x - 2;  // the emboss reaches 2 px right
        p.setFont(FittedFont(GameFont(points), text, room));
        EmbossText(p, x, y, Colour::White, Colour::Black, Colour::Silver, text);
    };
    caption(L::kTotalPoints, L::kTotalLabelX, L::kTotalLabelY, L::kTotalLeft, QStringLiteral("Total Won:"));

    if (sheet_.poolRow) {
        caption(L::kPoolPoints, L::kPoolLabelX, L::kPoolLabelY, L::kPoolLeft, QStringLiteral("Bonus Pool:"));
        DrawPanel(p, L::kPoolLeft, L::kPoolTop, L::kPoolRight, L::kPoolBottom);
        DrawDigits(p, graphics_, L::kPoolLeft, L::kPoolTop, digitColour_, QString::fromStdString(sheet_.pool), 2);
    }
}

}  // namespace kazoomba::ui
