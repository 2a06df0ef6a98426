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

namespace PL = payoffs_layout;

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
    setFixedSize(PL::kClientWidth, PL::kClientHeight);
    SetLightFace(*this, PaletteColor(Colour::Silver));
    surface_ = graphics_.NewImage(PL::kClientWidth, PL::kClientHeight, PaletteColor(Colour::Silver));

    auto* frame = new QGroupBox(this);
    frame->setGeometry(PL::kFrameX, PL::kFrameY, PL::kFrameWidth, PL::kFrameHeight);
    double_ = new QPushButton(QStringLiteral("&Double"), frame);
    double_->setGeometry(PL::kDoubleX, PL::kButtonY, PL::kButtonWidth, PL::kButtonHeight);
    take_ = new QPushButton(QStringLiteral("&Take"), frame);
    take_->setGeometry(PL::kTakeX, PL::kButtonY, PL::kButtonWidth, PL::kButtonHeight);
    for (QPushButton* button : {double_, take_}) button->setFont(GameFont(PL::kButtonPoints, false));
    setTabOrder(take_, double_);
    take_->setFocus();
    connect(take_, &QPushButton::clicked, this, &PayoffsWindow::Take);
    connect(double_, &QPushButton::clicked, this, &PayoffsWindow::Double);

    AddReadouts();
    // What the window shows, read by a screen reader as the window opens.
    const QString bonus = game_.State().BonusMode ? BonusSpinWords(game_.State().BonusSpins) + u' ' : QString();
    setAccessibleDescription(bonus + ResultInWordsTotalFirst(sheet_, game_.State().SpinWin));

    autoTake_.setInterval(PL::kAutoTakeMs);
    connect(&autoTake_, &QTimer::timeout, this, &PayoffsWindow::TimerTick);

    ShowFocusRings(*this);
    Place();
    Redraw();
}

// The painted lines, total and pool as text for assistive technology.
void PayoffsWindow::AddReadouts() {
    for (int i = 0; i < kLines; ++i) {
        if (!sheet_.lines[i].won) continue;
        const QRect panel(QPoint(PL::kPanelLeft + PL::LineDx(i), PL::kPanelTop + PL::LineDy(i)),
                          QPoint(PL::kPanelRight + PL::LineDx(i), PL::kPanelBottom + PL::LineDy(i)));
        auto* line = new Readout(QStringLiteral("Line %1").arg(i + 1), panel, this);
        line->SetValue(LineWinInWords(sheet_.lines[i]));
    }
    auto* total = new Readout(QStringLiteral("Total Won"),
                              QRect(QPoint(PL::kTotalLeft, PL::kTotalTop), QPoint(PL::kTotalRight, PL::kTotalBottom)), this);
    total->SetFigure(MoneyWords(game_.State().SpinWin), game_.State().SpinWin);
    if (sheet_.poolRow) {
        const double pool = LeadingNumber(sheet_.pool);
        auto* row = new Readout(QStringLiteral("Bonus Pool"),
                                QRect(QPoint(PL::kPoolLeft, PL::kPoolTop), QPoint(PL::kPoolRight, PL::kPoolBottom)), this);
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

    p.setFont(GameFont(PL::kTitlePoints));
    EmbossText(p, PL::kTitleX, PL::kTitleY, Colour::White, Colour::Black, Colour::Silver, QStringLiteral("Your Winnings"));

    const QImage& sheet = graphics_.SymbolSheetSmall();
    for (int i = 0; i < kLines; ++i) {
        const PayoffsLine& line = sheet_.lines[i];
        const int dx = PL::LineDx(i), dy = PL::LineDy(i);
        const int left = PL::kPanelLeft + dx, top = PL::kPanelTop + dy;
        const int right = PL::kPanelRight + dx, bottom = PL::kPanelBottom + dy;
        DrawPanel(p, left, top, right, bottom);
        FillBox(p, left, top, right - left + 1, bottom - top + 1, Colour::Black);
        if (line.won) {
            // Measured in the title's type, which is still the painter's font.
            const QString number = QString::number(i + 1);
            const int x = PL::kNumberCentreX + dx - p.fontMetrics().horizontalAdvance(number) / 2;
            EmbossText(p, x, PL::kNumberY + dy, Colour::White, Colour::Grey, kLineColours[i], number);
        }
        DrawDigits(p, graphics_, PL::kAmountX + dx, PL::kAmountY + dy, digitColour_,
                   QString::fromStdString(line.amount), line.won ? 0 : 2);
        if (!line.won) continue;
        for (int k = 0; k < 3; ++k) {
            const int code = line.symbols[k];
            if (code < 0 || code >= kSymbolCount) continue;
            Blit(p, PL::kSymbolX + dx + PL::kSymbolStep * k, PL::kSymbolY + dy, sheet, PL::kSymbolSize * (code % 4),
                 PL::kSymbolSize * (code / 4), PL::kSymbolSize, PL::kSymbolSize);
        }
    }

    DrawPanel(p, PL::kTotalLeft, PL::kTotalTop, PL::kTotalRight, PL::kTotalBottom);
    DrawDigits(p, graphics_, PL::kTotalLeft, PL::kTotalTop, digitColour_, QString::fromStdString(sheet_.total), 0);
    // Our bold type is wider than the one the window was measured for: a caption never runs into its panel.
    const auto caption = [&](double points, int x, int y, int panelLeft, const QString& text) {
        const int room = panelLeft - PL::kPanelFrame - PL::kCaptionGap - x - 2;  // the emboss reaches 2 px right
        p.setFont(FittedFont(GameFont(points), text, room));
        EmbossText(p, x, y, Colour::White, Colour::Black, Colour::Silver, text);
    };
    caption(PL::kTotalPoints, PL::kTotalLabelX, PL::kTotalLabelY, PL::kTotalLeft, QStringLiteral("Total Won:"));

    if (sheet_.poolRow) {
        caption(PL::kPoolPoints, PL::kPoolLabelX, PL::kPoolLabelY, PL::kPoolLeft, QStringLiteral("Bonus Pool:"));
        DrawPanel(p, PL::kPoolLeft, PL::kPoolTop, PL::kPoolRight, PL::kPoolBottom);
        DrawDigits(p, graphics_, PL::kPoolLeft, PL::kPoolTop, digitColour_, QString::fromStdString(sheet_.pool), 2);
    }
}

}  // namespace kazoomba::ui
