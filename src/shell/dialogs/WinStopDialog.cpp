// The "Win Stop Value" dialog.
#include "dialogs/Placement.h"
#include "dialogs/WinStopDialog.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>

#include "art/Drawing.h"
#include "art/Label.h"
#include "art/Palette.h"
#include "dialogs/Modal.h"
#include "dialogs/WinStopLayout.h"
#include "access/EntryField.h"
#include "access/FocusRing.h"

namespace kazoomba::ui {

namespace WL = win_stop_layout;

namespace {

bool IsBlank(QChar c) { return c == QLatin1Char(' ') || c == QLatin1Char('\t'); }

// Gaining the focus selects the value so that typing replaces it. The selection starts at the value's
// first character, not at the first character of the text: starting at 0 with blanks in front would
// leave the value's last figures behind the typing.
class WinStopEntry : public QLineEdit {
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override {
        QLineEdit::focusInEvent(event);
        const QString t = text();
        qsizetype start = 0, end = t.size();
        while (start < end && IsBlank(t[start])) ++start;
        while (end > start && IsBlank(t[end - 1])) --end;
        if (start == end) {
            deselect();  // a zero-length selection would leave the focus's select-all standing
            setCursorPosition(0);
            return;
        }
        setSelection(static_cast<int>(start), static_cast<int>(end - start));
    }
};

QLabel* MakeLabel(QWidget* parent, const QString& text, const QRect& where, double points, bool bold, Colour colour) {
    QLabel* label = ColouredLabel(parent, where, GameFont(points, bold), colour, Qt::AlignLeft | Qt::AlignVCenter);
    label->setTextFormat(Qt::PlainText);
    label->setText(text);
    return label;
}

}  // namespace

const QString& WinStopDialog::ExplanationText() {
    static const QString text = QStringLiteral(
        "If you would like the game to pause when you win over a certain amount on a spin, then fill in that "
        "value below.  For example:  if you would like the the game to pause when you win $1,000 or more on a "
        "spin, then fill in 1000 below.  If you do not want the game to pause no matter how much you win, then "
        "enter 0 below.");
    return text;
}

WinStopDialog::WinStopDialog(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint) {
    setWindowTitle(QStringLiteral("Win Stop Value"));
    setFixedSize(WL::kClientWidth, WL::kClientHeight);
    SetBackground(*this, PaletteColor(WL::kBackground));

    QLabel* text = MakeLabel(this, ExplanationText(), WL::kText, WL::kTextPoints, false, WL::kTextColour);
    text->setWordWrap(true);
    text->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    QLabel* label = MakeLabel(this, QStringLiteral("Win Stop Value:"), WL::kLabel, WL::kLabelPoints, true, WL::kLabelColour);
    label->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    entry_ = new WinStopEntry(QStringLiteral("0"), this);
    entry_->setGeometry(WL::kEntry);
    entry_->setFont(GameFont(WL::kEntryPoints));
    entry_->setAlignment(Qt::AlignRight);
    entry_->setPalette(QGuiApplication::palette());
    // The caption names the entry for assistive technology; the explanation describes it.
    label->setBuddy(entry_);
    entry_->setAccessibleDescription(ExplanationText());
    MakeFieldReadable(*entry_);

    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setGeometry(WL::kOkButton);
    ok->setFont(GameFont(WL::kOkPoints));
    ok->setPalette(QGuiApplication::palette());
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    setTabOrder(entry_, ok);
    entry_->setFocus();

    ShowFocusRings(*this);
    CentreOnScreen(*this, parent);
}

QString WinStopDialog::value() const { return entry_->text(); }

void WinStopDialog::reject() { accept(); }

void AskWinStopValue(QWidget* parent, std::function<void(const QString&)> answer) {
    OpenModal<WinStopDialog>(new WinStopDialog(parent), [answer = std::move(answer)](WinStopDialog& dialog, int) {
        if (answer) answer(dialog.value());
    });
}

}  // namespace kazoomba::ui
