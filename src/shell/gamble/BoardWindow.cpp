// The Vaz Ivero board window.
#include "dialogs/Modal.h"
#include "dialogs/Placement.h"
#include "gamble/BoardWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScreen>

#include "QtText.h"
#include "common/NumberPicture.h"
#include "gamble/BoardWindowLayout.h"
#include "access/Accessible.h"
#include "access/Herald.h"
#include "art/Drawing.h"
#include "art/Graphics.h"
#include "art/Palette.h"
#include "art/UnderlinedButton.h"
#include "sound/Sound.h"
#include "art/TextFit.h"
#include "access/FocusRing.h"

namespace kazoomba::ui {

namespace BL = board_layout;

namespace {

QRect ToRect(const BL::Box& b) { return QRect(b.x, b.y, b.w, b.h); }

struct BoxLook {
    QString caption;
    Colour background, text;
    double points;
};

BoxLook LookOf(int content) {
    switch (KindOf(content)) {
        case BoxKind::Multiplier:
            if (content == FiveX) return {QStringLiteral("5X"), Colour::Blue, Colour::White, 24};
            return {content == ThreeX ? QStringLiteral("3X") : QStringLiteral("2X"), Colour::Red, Colour::Yellow, 24};
        case BoxKind::TryAgain: return {QStringLiteral("Try\nAgain"), Colour::Green, Colour::Yellow, 10};
        case BoxKind::Hint: return {QStringLiteral("Hint\n!"), Colour::Magenta, Colour::Black, 12};
        case BoxKind::Losing: break;
    }
    return {};
}

// A box's single-line border, sunk into the black like the game's other panels.
void DrawBorder(QPainter& p, const QRect& r) {
    p.setPen(PaletteColor(Colour::Grey));
    p.drawLine(r.left(), r.top(), r.right(), r.top());
    p.drawLine(r.left(), r.top(), r.left(), r.bottom());
    p.setPen(PaletteColor(Colour::White));
    p.drawLine(r.left(), r.bottom(), r.right(), r.bottom());
    p.drawLine(r.right(), r.top(), r.right(), r.bottom());
}

// The keyboard's place: a white ring clear of the box, seen on the black board and beside any box colour.
void DrawFocusRing(QPainter& p, const QRect& box) {
    p.setPen(QPen(PaletteColor(Colour::White), 2, Qt::SolidLine));
    p.setBrush(Qt::NoBrush);
    p.drawRect(box.adjusted(-4, -4, 4, 4));
}

// What an opened box holds, as a listener hears it.
QString ContentWords(int content) { return ToQString(BoxContentName(content)); }

}  // namespace

namespace {
constexpr int kInstructionsFlags = Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap;
QString ShownInstructions() {
    return QString(BoardWindow::InstructionsText()).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}
}  // namespace

QRect BoardWindow::InstructionsRoom() {
    // The instructions may run a line past their panel; the space above Quit takes it.
    const QRect panel = ToRect(BL::kInstructions);
    return panel.adjusted(0, 0, 0, BL::kQuitButton.y - panel.bottom() - 2);
}

QFont BoardWindow::InstructionsFont(const QRect& room) {
    // Our type sets wider than the one the board was measured for: the text steps down until its last
    // word clears Quit.
    for (double points = 9.75; points > 6.0; points -= 0.25) {
        const QFont font = GameFont(points);
        if (QFontMetrics(font).boundingRect(room, kInstructionsFlags, ShownInstructions()).height() <= room.height())
            return font;
    }
    return GameFont(6.0);
}

const QString& BoardWindow::InstructionsText() {
    static const QString text = QStringLiteral(
        "Instructions\r\n\r\n"
        "Click on any of the 15 boxes.  You can continue to select boxes until you lose, or you can quit at any "
        "time.  One box contains a 5X multiplier, one conatins a 3X multiplier, and another contains a 2X "
        "multiplier.  Two boxes contain hints.  Three boxes ask you to Try Again.  And seven of the boxes will "
        "cost you your winnings.");
    return text;
}

BoardWindow::BoardWindow(kazoomba::Game& game, const Graphics& graphics, Sound& sound, kazoomba::Random& random,
                         QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint),
      game_(game),
      board_(game.OpenedBoard() ? *game.OpenedBoard() : game.OpenBoard(random)),
      graphics_(graphics),
      sound_(sound) {
    setWindowTitle(QStringLiteral("Vaz Ivero Board"));
    setFixedSize(BL::kClientWidth, BL::kClientHeight);
    SetBackground(*this, PaletteColor(Colour::Black));

    quit_ = new UnderlinedButton(QStringLiteral("&Quit"), this);
    quit_->setGeometry(ToRect(BL::kQuitButton));
    quit_->setFont(GameFont(18));
    quit_->setPalette(QApplication::palette());
    connect(quit_, &QPushButton::clicked, this, &BoardWindow::Quit);
    BuildKeyboardBoxes();
    // A board brought back after a loss is laid open, as the loss left it.
    revealed_ = !board_.BoardLive();

    ShowWinnings();
    // The stake, the rules and the keys, read by a screen reader as the board opens.
    setAccessibleDescription(QStringLiteral("Winnings: %1. ").arg(winningsText_) +
                             QString(InstructionsText()).section(QStringLiteral("\r\n\r\n"), 1) +
                             QStringLiteral(" Keys: type a box's number, or move with the arrows and press Space; "
                                            "Escape quits with the winnings."));

    ShowFocusRings(*this);
    CentreOnScreen(*this, parent);
}

BoardWindow::~BoardWindow() { Leave(); }

void BoardWindow::Leave() {
    game_.QuitBoard();
}

void BoardWindow::ShowWinnings() {
    winningsText_ = QString::fromStdString(FormatPicture(board_.Winnings(), "$##,##0.00"));
    winningsReadout_->SetFigure(winningsText_, board_.Winnings());
    DescribeBoxes();
    update();
}

int BoardWindow::BoxAt(QPoint point) const {
    for (int box = 1; box <= kBoxes; ++box)
        if (ToRect(BL::BoxRect(box)).contains(point)) return box;
    return 0;
}

void BoardWindow::mousePressEvent(QMouseEvent* event) {
    pressedBox_ = event->button() == Qt::LeftButton ? BoxAt(event->position().toPoint()) : 0;
    QDialog::mousePressEvent(event);
}

// A box counts as clicked when the button goes down and comes up over it.
void BoardWindow::mouseReleaseEvent(QMouseEvent* event) {
    const int box = event->button() == Qt::LeftButton ? BoxAt(event->position().toPoint()) : 0;
    const int pressed = pressedBox_;
    pressedBox_ = 0;
    if (box != 0 && box == pressed) Pick(box);
    QDialog::mouseReleaseEvent(event);
}

void BoardWindow::Pick(int box) {
    if (unsavedBox_) return;  // the box before it is not shown yet
    const PickResult result = game_.PickBox(box);
    if (!result.opened) return;
    // What the box holds is shown once the board is on the disk: a crash can never take back a box seen.
    unsavedBox_ = box;
    game_.WhenSaved([self = QPointer<BoardWindow>(this), box, result] {
        if (self) self->ShowPick(box, result);
    });
}

void BoardWindow::ShowPick(int box, const PickResult& result) {
    unsavedBox_ = 0;
    // A hint's window speaks for itself first; the box is told once the board is back in front.
    if (KindOf(result.content) != BoxKind::Hint) TellPick(box, result.content);
    switch (KindOf(result.content)) {
        case BoxKind::Multiplier:
            sound_.Play(result.content == FiveX ? SoundCue::FiveX : WinCue(1));
            break;
        case BoxKind::Losing: {
            // The toilet shows while the flush plays; then the whole board is laid open, and the figure
            // changes last.
            update();
            const int ms = sound_.Play(SoundCue::Flush);
            if (ms > 0) {
                flushing_.start(ms);
                return;
            }
            RevealBoard();
            break;
        }
        case BoxKind::TryAgain:
            break;
        case BoxKind::Hint:
            repaint();
            // The board comes back to the front when the hint is read: the rules have been heard by then,
            // so it says only what is new.
            setAccessibleDescription(QStringLiteral("Winnings: %1.").arg(winningsText_));
            // Told before the hint's window, the box's news would be covered by it before a screen reader
            // had said it, and counted as heard.
            pickedBox_ = box;
            ShowMessageBox(QMessageBox::Information, QStringLiteral("Hint"), QString::fromStdString(result.hint), this,
                           [self = QPointer<BoardWindow>(this), box, content = result.content] {
                               if (self) self->TellPick(box, content);
                           });
            break;
    }
    // The figure changes last: a loss keeps showing the stake while the flush plays and the board opens.
    ShowWinnings();
}

void BoardWindow::RevealBoard() {
    revealed_ = true;
    DescribeBoxes();
    update();
}

void BoardWindow::FlushHeard() {
    RevealBoard();
    ShowWinnings();
    // A Quit pressed while the flush played is carried out now that it has been heard.
    if (leaveAfterFlush_ == QDialog::Accepted) Quit();
    else if (leaveAfterFlush_ == QDialog::Rejected) reject();
}

void BoardWindow::Quit() {
    if (flushing_.isActive()) {
        leaveAfterFlush_ = QDialog::Accepted;
        return;
    }
    Leave();
    QDialog::accept();
}

void BoardWindow::reject() {
    if (flushing_.isActive()) {
        if (leaveAfterFlush_ < 0) leaveAfterFlush_ = QDialog::Rejected;
        return;
    }
    Leave();
    QDialog::reject();
}

void BoardWindow::DrawBox(QPainter& p, int box) const {
    const QRect r = ToRect(BL::BoxRect(box));
    const int i = box - 1;
    const bool shown = revealed_ || (board_.BoxOpened()[i] && box != unsavedBox_);
    if (!shown) {
        FillBox(p, r.x(), r.y(), r.width(), r.height(), Colour::Yellow);
        DrawBorder(p, r);
        p.setFont(GameFont(24));
        p.setPen(PaletteColor(Colour::Black));
        p.drawText(r, Qt::AlignCenter, QString::number(box));
        return;
    }
    const int content = board_.BoxContent()[i];
    if (KindOf(content) == BoxKind::Losing) {
        Blit(p, r.x() + BL::kToiletOffset, r.y(), graphics_.Toilet(), 0, 0, BL::kToiletSize, BL::kToiletSize);
        return;
    }
    const BoxLook look = LookOf(content);
    FillBox(p, r.x(), r.y(), r.width(), r.height(), look.background);
    DrawBorder(p, r);
    p.setFont(GameFont(look.points));
    p.setPen(PaletteColor(look.text));
    p.drawText(r, Qt::AlignCenter, look.caption);
}

void BoardWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    FillBox(p, 0, 0, width(), height(), Colour::Black);

    const QRect instructions = ToRect(BL::kInstructions);
    p.setFont(InstructionsFont(InstructionsRoom()));
    p.setPen(PaletteColor(Colour::White));
    p.drawText(InstructionsRoom(), kInstructionsFlags, ShownInstructions());

    // The caption may stand out to the left of its box, where the window is empty.
    const QRect caption = ToRect(BL::kWinningsCaption);
    p.setFont(GameFont(18));
    p.setPen(PaletteColor(Colour::Red));
    p.drawText(caption.adjusted(-caption.x() + instructions.right() + 2, 0, 0, 0), Qt::AlignRight | Qt::AlignTop,
               QStringLiteral("Winnings:"));
    const QRect figure = ToRect(BL::kWinningsFigure);
    p.setFont(FittedFont(GameFont(13.5), winningsText_, figure.width()));
    p.setPen(PaletteColor(Colour::Yellow));
    p.drawText(figure, Qt::AlignRight | Qt::AlignTop, winningsText_);

    for (int box = 1; box <= kBoxes; ++box) DrawBox(p, box);
    if (const int box = FocusedBox()) DrawFocusRing(p, ToRect(BL::BoxRect(box)));
}

void BoardWindow::BuildKeyboardBoxes() {
    clock_ = [] { return QDateTime::currentMSecsSinceEpoch(); };
    flushing_.setSingleShot(true);
    connect(&flushing_, &QTimer::timeout, this, &BoardWindow::FlushHeard);
    typingPause_.setSingleShot(true);
    typingPause_.setInterval(static_cast<int>(BoxTyping::kPauseMs));
    connect(&typingPause_, &QTimer::timeout, this, &BoardWindow::TypingPause);

    herald_ = std::make_unique<Herald>(QStringLiteral("Vaz Ivero Board"), *this);
    winningsReadout_ = new Readout(QStringLiteral("Winnings"), ToRect(BL::kWinningsFigure), this);
    QWidget* previous = quit_;
    for (int number = 1; number <= kBoxes; ++number) {
        auto* b = new BoardBox(number, ToRect(BL::BoxRect(number)), this);
        b->setAccessibleName(QStringLiteral("Box %1").arg(number));
        MakePressable(
            *b, [this, number] { Pick(number); },
            [this, number] { return board_.BoardLive() && !board_.BoxOpened()[number - 1]; });
        connect(b, &BoardBox::Picked, this, &BoardWindow::Pick);
        connect(b, &BoardBox::MoveTo, this, [this](int to) { boxes_[to - 1]->setFocus(Qt::TabFocusReason); });
        // Tab goes from Quit through the boxes in their order.
        setTabOrder(previous, b);
        previous = b;
        boxes_[number - 1] = b;
    }
}

QString BoardWindow::BoxName(int number) const {
    const bool shown = revealed_ || board_.BoxOpened()[number - 1];
    if (!shown) return QStringLiteral("Box %1").arg(number);
    return QStringLiteral("Box %1: %2").arg(number).arg(ContentWords(board_.BoxContent()[number - 1]));
}

void BoardWindow::DescribeBoxes() {
    for (int number = 1; number <= kBoxes; ++number) {
        BoardBox* b = boxes_[number - 1];
        const QString name = BoxName(number);
        if (b->accessibleName() != name) {
            b->setAccessibleName(name);
            AnnounceAvailability(*b);
        }
    }
}

// What the picked box held and the winnings now, spoken as the box opens. The keyboard's place stays on
// that box: the arrows go on from it.
void BoardWindow::TellPick(int number, int content) {
    pickedBox_ = number;
    // Where news is announced rather than spoken by the focus, the keyboard's place is the box itself.
    if (Herald::kAnnounces && !boxes_[number - 1]->hasFocus()) boxes_[number - 1]->setFocus(Qt::OtherFocusReason);
    herald_->Say(QStringLiteral("Box %1: %2. Winnings: %3.")
                     .arg(number)
                     .arg(ContentWords(content))
                     .arg(QString::fromStdString(FormatPicture(board_.Winnings(), "$##,##0.00"))));
    update();
}

int BoardWindow::FocusedBox() const {
    for (int number = 1; number <= kBoxes; ++number)
        if (boxes_[number - 1]->hasFocus()) return number;
    // While the board speaks of a pick, the keyboard is at the box picked.
    if (herald_->HasFocus()) return pickedBox_;
    return 0;
}

// Box numbers may be typed wherever the focus is; the other keys go on as before.
void BoardWindow::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    const bool plain = !(event->modifiers() & ~(Qt::KeypadModifier | Qt::ShiftModifier));
    if (plain && key >= Qt::Key_0 && key <= Qt::Key_9 && !event->isAutoRepeat()) {
        for (int box : typing_.Type(key - Qt::Key_0, clock_())) Pick(box);
        if (typing_.Waiting()) typingPause_.start();
        return;
    }
    // A held key's repeats do nothing: one press, one action. Without this a repeat of the Enter that
    // opened a box would reach the window's default button, Quit, and leave the board.
    if (event->isAutoRepeat() && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space)) return;
    // From Quit the arrows step onto the board; after a pick they go on from the box picked.
    if (quit_->hasFocus() && NeighbourBox(1, key)) {
        boxes_[0]->setFocus(Qt::TabFocusReason);
        return;
    }
    if (herald_->HasFocus() && pickedBox_) {
        if (const int next = NeighbourBox(pickedBox_, key)) {
            boxes_[next - 1]->setFocus(Qt::TabFocusReason);
            return;
        }
    }
    QDialog::keyPressEvent(event);
}

void BoardWindow::TypingPause() {
    if (const int box = typing_.Pause(clock_())) Pick(box);
    else if (typing_.Waiting()) typingPause_.start();
}

}  // namespace kazoomba::ui
