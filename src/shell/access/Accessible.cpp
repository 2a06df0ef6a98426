// Readouts and pressable controls for assistive technology.
#include "access/Accessible.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QEvent>
#include <QAction>
#include <QAccessibleWidget>
#include <QPointer>

#include "access/EntryField.h"
#include "access/MenuAccessible.h"
#include "access/ReadingPane.h"

namespace kazoomba::ui {

namespace {

// Rides on a pressable control as a child object, holding what pressing it does.
class PressHandle : public QObject {
public:
    PressHandle(QObject* control, std::function<void()> press, std::function<bool()> available)
        : QObject(control), press_(std::move(press)), available_(std::move(available)) {}
    std::function<void()> press_;
    std::function<bool()> available_;
};

PressHandle* HandleOf(QObject* object) {
    for (QObject* child : object->children())
        if (auto* handle = dynamic_cast<PressHandle*>(child)) return handle;
    return nullptr;
}

class PressableAccessible : public QAccessibleWidget {
public:
    PressableAccessible(QWidget* control, PressHandle* handle)
        : QAccessibleWidget(control, QAccessible::Button), handle_(handle) {}

    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (!Available()) s.disabled = true;
        return s;
    }
    QStringList actionNames() const override {
        QStringList names = QAccessibleWidget::actionNames();
        if (Available()) names.prepend(pressAction());
        return names;
    }
    void doAction(const QString& name) override {
        if (name != pressAction()) {
            QAccessibleWidget::doAction(name);
            return;
        }
        if (!Available()) return;
        // Queued: a press may run a whole spin with its windows, and the request must be answered first.
        QPointer<PressHandle> handle = handle_;
        QMetaObject::invokeMethod(
            widget(), [handle] { if (handle && handle->available_()) handle->press_(); }, Qt::QueuedConnection);
    }
    QStringList keyBindingsForAction(const QString&) const override { return {}; }

private:
    bool Available() const { return handle_ && widget()->isEnabled() && handle_->available_(); }
    QPointer<PressHandle> handle_;
};

class ReadoutAccessible : public QAccessibleWidget, public QAccessibleValueInterface, public QAccessibleTextInterface {
public:
    explicit ReadoutAccessible(Readout* readout) : QAccessibleWidget(readout, QAccessible::StaticText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::ValueInterface && readout()->Numeric())
            return static_cast<QAccessibleValueInterface*>(this);
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return readout()->Text();
        return QAccessibleWidget::text(t);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        return s;
    }

    // Value.
    QVariant currentValue() const override { return readout()->Number(); }
    void setCurrentValue(const QVariant&) override {}
    QVariant maximumValue() const override { return readout()->Number(); }
    QVariant minimumValue() const override { return 0.0; }
    QVariant minimumStepSize() const override { return 0.01; }

    // Text: the caption's line, read only, without selection or caret.
    void selection(int, int* start, int* end) const override { *start = *end = 0; }
    int selectionCount() const override { return 0; }
    void addSelection(int, int) override {}
    void removeSelection(int) override {}
    void setSelection(int, int, int) override {}
    int cursorPosition() const override { return 0; }
    void setCursorPosition(int) override {}
    QString text(int start, int end) const override { return readout()->Line().mid(start, end - start); }
    int characterCount() const override { return static_cast<int>(readout()->Line().size()); }
    QRect characterRect(int) const override { return rect(); }
    int offsetAtPoint(const QPoint&) const override { return -1; }
    void scrollToSubstring(int, int) override {}
    // No attributes: the whole line is one run of them, so that a screen reader reads it to its end.
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

private:
    Readout* readout() const { return static_cast<Readout*>(widget()); }
};

// Rides on a list, telling its chosen row when the list takes the keyboard.
class RowTeller : public QObject {
public:
    explicit RowTeller(QAbstractItemView& list) : QObject(&list), list_(list) { list.installEventFilter(this); }
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::FocusIn) QMetaObject::invokeMethod(this, [this] { Tell(); }, Qt::QueuedConnection);
        return false;
    }

private:
    void Tell() {
        if (!list_.hasFocus() || !list_.currentIndex().isValid()) return;
        QAccessibleEvent told(&list_, QAccessible::Focus);
        told.setChild(list_.currentIndex().row());
        Announce(told);
    }
    QAbstractItemView& list_;
};

std::function<void(QAccessibleEvent*)>& Witness() {
    static std::function<void(QAccessibleEvent*)> witness;
    return witness;
}

QAccessibleInterface* Factory(const QString&, QObject* object) {
    if (QAccessibleInterface* menu = MenuInterface(object)) return menu;
    if (QAccessibleInterface* pane = ReadingPaneInterface(object)) return pane;
    if (QAccessibleInterface* field = EntryFieldInterface(object)) return field;
    if (auto* readout = qobject_cast<Readout*>(object)) return new ReadoutAccessible(readout);
    if (object && object->isWidgetType())
        if (PressHandle* handle = HandleOf(object)) return new PressableAccessible(static_cast<QWidget*>(object), handle);
    return nullptr;
}

}  // namespace

Readout::Readout(const QString& caption, const QRect& area, QWidget* parent) : QWidget(parent) {
    InstallAccessibility();
    setAccessibleName(caption);
    setGeometry(area);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
}

QString Readout::Line() const {
    const QString value = heard_.isEmpty() ? text_ : heard_;
    return value.isEmpty() ? QString() : accessibleName() + QStringLiteral(": ") + value;
}

void Readout::SetValue(const QString& text, bool always) {
    const bool changed = always || text != text_ || numeric_;
    const QString old = Line();
    text_ = text;
    heard_.clear();
    numeric_ = false;
    if (!changed) return;
    QAccessibleTextUpdateEvent event(this, 0, old, Line());
    Announce(event);
}

void Readout::SetFigure(const QString& text, double number, const QString& heard) {
    const bool changed = text != text_ || !numeric_ || number != number_;
    text_ = text;
    heard_ = heard;
    number_ = number;
    numeric_ = true;
    if (!changed) return;
    QAccessibleValueChangeEvent event(this, number);
    Announce(event);
}

void MakePressable(QWidget& control, std::function<void()> press, std::function<bool()> available) {
    InstallAccessibility();
    new PressHandle(&control, std::move(press), std::move(available));
    // An interface made for the control before it became pressable is dropped, so the next one asked for
    // is a button.
    if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(&control))
        if (old->role() != QAccessible::Button) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
}

void TellCurrentRowOnFocus(QAbstractItemView& list) { new RowTeller(list); }

void AnnounceAvailability(QWidget& control) {
    QAccessible::State changed;
    changed.disabled = true;
    QAccessibleStateChangeEvent event(&control, changed);
    Announce(event);
}

void AnnounceAvailability(QAction& item) {
    // A menu item has no widget of its own: it is told through the item its menu shows for it.
    for (QObject* owner : item.associatedObjects()) {
        auto* menu = qobject_cast<QWidget*>(owner);
        QAccessibleInterface* m = menu ? QAccessible::queryAccessibleInterface(menu) : nullptr;
        for (int i = 0; m && i < m->childCount(); ++i) {
            QAccessibleInterface* child = m->child(i);
            if (!child || child->object() != &item) continue;
            QAccessible::State changed;
            changed.disabled = true;
            QAccessibleStateChangeEvent event(child, changed);
            Announce(event);
        }
    }
}

void Announce(QAccessibleEvent& event) {
    if (Witness()) Witness()(&event);
    QAccessible::updateAccessibility(&event);
}

void SetAccessibilityWitness(std::function<void(QAccessibleEvent*)> witness) { Witness() = std::move(witness); }

void InstallAccessibility() {
    static const bool installed = [] {
        QAccessible::installFactory(&Factory);
        return true;
    }();
    (void)installed;
}

}  // namespace kazoomba::ui
