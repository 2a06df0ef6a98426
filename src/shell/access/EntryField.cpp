// A one-line entry field for assistive technology.
#include "access/EntryField.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QLineEdit>
#include <QValidator>
#include <algorithm>

#include "access/Accessible.h"

namespace kazoomba::ui {

namespace {

constexpr char kReadableField[] = "kazoombaReadableField";

class EntryFieldAccessible : public QAccessibleWidget,
                             public QAccessibleTextInterface,
                             public QAccessibleEditableTextInterface {
public:
    explicit EntryFieldAccessible(QLineEdit* field) : QAccessibleWidget(field, QAccessible::EditableText) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        if (type == QAccessible::EditableTextInterface && !field()->isReadOnly())
            return static_cast<QAccessibleEditableTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QString text(QAccessible::Text t) const override {
        if (t == QAccessible::Value) return field()->displayText();
        return QAccessibleWidget::text(t);
    }
    void setText(QAccessible::Text t, const QString& text) override {
        if (t != QAccessible::Value) {
            QAccessibleWidget::setText(t, text);
            return;
        }
        QString fixed = text;
        int position = 0;
        if (field()->validator() && field()->validator()->validate(fixed, position) != QValidator::Acceptable) return;
        field()->setText(fixed);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        if (field()->isReadOnly()) s.readOnly = true;
        else s.editable = true;
        s.selectableText = true;
        if (field()->echoMode() != QLineEdit::Normal) s.passwordEdit = true;
        return s;
    }

    // Selection: the field's own, at most one.
    void selection(int index, int* start, int* end) const override {
        *start = *end = 0;
        if (index != 0 || !field()->hasSelectedText()) return;
        *start = field()->selectionStart();
        *end = field()->selectionEnd();
    }
    int selectionCount() const override { return field()->hasSelectedText() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index == 0) field()->deselect();
    }
    void setSelection(int index, int start, int end) override {
        if (index != 0) return;
        start = Clamp(start);
        field()->setSelection(start, Clamp(end) - start);
    }

    // The caret.
    int cursorPosition() const override { return field()->cursorPosition(); }
    void setCursorPosition(int position) override { field()->setCursorPosition(Clamp(position)); }

    // The text as shown: a password's dots, never what they hide.
    QString text(int start, int end) const override {
        start = Clamp(start);
        return field()->displayText().mid(start, std::max(0, Clamp(end) - start));
    }
    int characterCount() const override { return static_cast<int>(field()->displayText().size()); }
    QRect characterRect(int offset) const override {
        const QString shown = field()->displayText();
        const QRect caret = field()->inputMethodQuery(Qt::ImCursorRectangle).toRect();
        const QFontMetrics metrics = field()->fontMetrics();
        // The caret's rectangle stands where the caret is; a character is measured from it.
        const int from = metrics.horizontalAdvance(shown.left(field()->cursorPosition()));
        const int x = caret.center().x() - from + metrics.horizontalAdvance(shown.left(Clamp(offset)));
        const int width = offset < characterCount() ? metrics.horizontalAdvance(shown.at(offset)) : 1;
        return QRect(field()->mapToGlobal(QPoint(x, caret.top())), QSize(width, caret.height()));
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint inside = field()->mapFromGlobal(point);
        if (!field()->rect().contains(inside)) return -1;
        return field()->cursorPositionAt(inside);
    }
    void scrollToSubstring(int, int) override {}
    // No attributes: the whole text is one run of them.
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Editing, as typing would.
    void deleteText(int start, int end) override {
        QString t = field()->text();
        start = Clamp(start);
        t.remove(start, std::max(0, Clamp(end) - start));
        field()->setText(t);
    }
    void insertText(int offset, const QString& text) override {
        QString t = field()->text();
        t.insert(Clamp(offset), text);
        field()->setText(t);
    }
    void replaceText(int start, int end, const QString& text) override {
        QString t = field()->text();
        start = Clamp(start);
        t.replace(start, std::max(0, Clamp(end) - start), text);
        field()->setText(t);
    }

private:
    QLineEdit* field() const { return static_cast<QLineEdit*>(widget()); }
    int Clamp(int position) const { return std::clamp(position, 0, characterCount()); }
};

}  // namespace

void MakeFieldReadable(QLineEdit& field) {
    InstallAccessibility();
    field.setProperty(kReadableField, true);
    // An interface made for the field before it became readable is dropped, so the next one asked for is ours.
    if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(&field))
        if (!dynamic_cast<EntryFieldAccessible*>(old)) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
}

QAccessibleInterface* EntryFieldInterface(QObject* object) {
    auto* field = qobject_cast<QLineEdit*>(object);
    if (!field || !field->property(kReadableField).toBool()) return nullptr;
    return new EntryFieldAccessible(field);
}

}  // namespace kazoomba::ui
