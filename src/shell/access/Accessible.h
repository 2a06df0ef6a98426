// What assistive technology sees of the windows the game paints itself: readouts laid over painted figures,
// and painted controls that a screen reader can press.
#pragma once

#include <QString>
#include <QWidget>
#include <functional>

class QAccessibleEvent;

class QAbstractItemView;
class QAction;

namespace kazoomba::ui {

// An invisible widget over a figure or text the window paints: it carries the caption and the value the
// eye sees, so that a screen reader reads them as one labelled value and hears each change. Its text is
// the caption with the value, "Bonus Pool: $12.50", so that a screen reader's review of the window, which
// reads text and not names, says what each figure is.
class Readout : public QWidget {
    Q_OBJECT
public:
    Readout(const QString& caption, const QRect& area, QWidget* parent);

    // Shows a new value: the text as read, and for a figure its number. A change is announced; a text
    // is announced even unchanged when `always` says so. A figure may be said otherwise than it is
    // shown: `heard` is then how its caption's line says it ("$1,000.00" for "1,000.00").
    void SetValue(const QString& text, bool always = false);
    void SetFigure(const QString& text, double number, const QString& heard = {});
    QString Text() const { return text_; }
    // The caption and the value as one line: "Credits: $1,000.00"; empty while there is no value.
    QString Line() const;
    bool Numeric() const { return numeric_; }
    double Number() const { return number_; }

protected:
    void paintEvent(QPaintEvent*) override {}

private:
    QString text_;
    QString heard_;
    double number_ = 0.0;
    bool numeric_ = false;
};

// Makes a painted control a push button to assistive technology: its press action runs `press` (after the
// request has been answered, as a click would) and it reads as unavailable whenever `available` says so.
void MakePressable(QWidget& control, std::function<void()> press, std::function<bool()> available);

// Tells assistive technology that a pressable control's availability may have changed.
void AnnounceAvailability(QWidget& control);

// The same for a menu item, whose menu may not be showing.
void AnnounceAvailability(QAction& item);

// A list whose row was chosen before it showed, when nobody listened: a screen reader that hears only of
// the list as it takes the keyboard would not read the row. Each time the list takes the keyboard, its
// chosen row is told once the list's own news is out.
void TellCurrentRowOnFocus(QAbstractItemView& list);

// Installs the interfaces above; done once, before the first window asks.
void InstallAccessibility();

// Raises an event for assistive technology, seen by the witness below as well.
void Announce(QAccessibleEvent& event);

// Sees every event the game raises for assistive technology, even where no platform bridge listens
// (window tests run offscreen, where Qt drops them). Empty by default.
void SetAccessibilityWitness(std::function<void(QAccessibleEvent*)> witness);

}  // namespace kazoomba::ui
