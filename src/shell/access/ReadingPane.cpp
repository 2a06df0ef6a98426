// A read-only text view for assistive technology.
#include "access/ReadingPane.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <algorithm>

#include "access/Accessible.h"

namespace kazoomba::ui {

namespace {

constexpr char kReadablePane[] = "kazoombaReadable";
// The characters a text document holds where a table or a table cell begins and ends.
constexpr char16_t kFrameStart = 0xfdd0, kFrameEnd = 0xfdd1;

class ReadingPaneAccessible : public QAccessibleWidget, public QAccessibleTextInterface {
public:
    explicit ReadingPaneAccessible(QTextEdit* view)
        : QAccessibleWidget(view, QAccessible::Document) {}

    void* interface_cast(QAccessible::InterfaceType type) override {
        if (type == QAccessible::TextInterface) return static_cast<QAccessibleTextInterface*>(this);
        return QAccessibleWidget::interface_cast(type);
    }
    QAccessible::State state() const override {
        QAccessible::State s = QAccessibleWidget::state();
        s.readOnly = true;
        s.multiLine = true;
        s.selectableText = true;
        return s;
    }

    // Selection: the view's own, at most one.
    void selection(int index, int* start, int* end) const override {
        const QTextCursor c = view()->textCursor();
        *start = *end = 0;
        if (index != 0 || !c.hasSelection()) return;
        *start = c.selectionStart();
        *end = c.selectionEnd();
    }
    int selectionCount() const override { return view()->textCursor().hasSelection() ? 1 : 0; }
    void addSelection(int start, int end) override { setSelection(0, start, end); }
    void removeSelection(int index) override {
        if (index != 0) return;
        QTextCursor c = view()->textCursor();
        c.clearSelection();
        view()->setTextCursor(c);
    }
    void setSelection(int index, int start, int end) override {
        if (index != 0) return;
        QTextCursor c = CursorAt(start);
        c.setPosition(Clamp(end), QTextCursor::KeepAnchor);
        view()->setTextCursor(c);
    }

    // The caret.
    int cursorPosition() const override { return view()->textCursor().position(); }
    void setCursorPosition(int position) override { view()->setTextCursor(CursorAt(position)); }

    // The text as read, character for character as the view holds it: a paragraph's, a line's or a table
    // cell's end is a new line, a picture (a placeholder character) a space. Taken from the raw text, as a
    // cursor's selection across table cells would widen to whole cells.
    QString text(int start, int end) const override {
        start = Clamp(start);
        QString t = view()->document()->toRawText().mid(start, std::max(0, Clamp(end) - start));
        for (QChar& c : t) {
            switch (c.unicode()) {
            case QChar::ParagraphSeparator:
            case QChar::LineSeparator:
            case kFrameStart:
            case kFrameEnd: c = u'\n'; break;
            case QChar::Nbsp:
            case QChar::ObjectReplacementCharacter: c = u' '; break;
            default: break;
            }
        }
        return t;
    }
    int characterCount() const override { return view()->document()->characterCount() - 1; }
    QRect characterRect(int offset) const override {
        const QRect caret = view()->cursorRect(CursorAt(offset));
        const int width = view()->fontMetrics().averageCharWidth();
        return QRect(view()->viewport()->mapToGlobal(caret.topLeft()), QSize(width, caret.height()));
    }
    int offsetAtPoint(const QPoint& point) const override {
        const QPoint inside = view()->viewport()->mapFromGlobal(point);
        if (!view()->viewport()->rect().contains(inside)) return -1;
        return view()->cursorForPosition(inside).position();
    }
    void scrollToSubstring(int start, int) override {
        const QRect caret = view()->cursorRect(CursorAt(start));
        view()->verticalScrollBar()->setValue(view()->verticalScrollBar()->value() + caret.top());
    }
    QString attributes(int, int* start, int* end) const override {
        *start = 0;
        *end = characterCount();
        return {};
    }

    // Lines are the lines the eye sees, as the view has laid them out.
    QString textAtOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override {
        if (boundary != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAtOffset(offset, boundary, start, end);
        return Line(offset, start, end);
    }
    QString textBeforeOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override {
        if (boundary != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textBeforeOffset(offset, boundary, start, end);
        int lineStart = 0, lineEnd = 0;
        Line(offset, &lineStart, &lineEnd);
        if (lineStart == 0) {
            *start = *end = -1;
            return {};
        }
        return Line(lineStart - 1, start, end);
    }
    QString textAfterOffset(int offset, QAccessible::TextBoundaryType boundary, int* start, int* end) const override {
        if (boundary != QAccessible::LineBoundary)
            return QAccessibleTextInterface::textAfterOffset(offset, boundary, start, end);
        int lineStart = 0, lineEnd = 0;
        Line(offset, &lineStart, &lineEnd);
        if (lineEnd >= characterCount()) {
            *start = *end = -1;
            return {};
        }
        return Line(lineEnd, start, end);
    }

private:
    QTextEdit* view() const { return static_cast<QTextEdit*>(widget()); }
    int Clamp(int position) const { return std::clamp(position, 0, characterCount()); }
    QTextCursor CursorAt(int position) const {
        QTextCursor c(view()->document());
        c.setPosition(Clamp(position));
        return c;
    }
    // The laid-out line holding `offset`, with the break that ends it.
    QString Line(int offset, int* start, int* end) const {
        QTextCursor c = CursorAt(offset);
        c.movePosition(QTextCursor::StartOfLine);
        *start = c.position();
        c.movePosition(QTextCursor::EndOfLine);
        *end = std::min(c.position() + 1, characterCount());
        return text(*start, *end);
    }
};

}  // namespace

void MakeReadable(QTextEdit& view) {
    InstallAccessibility();
    view.setProperty(kReadablePane, true);
    view.setTextInteractionFlags(view.textInteractionFlags() | Qt::TextSelectableByKeyboard);
    // An interface made before the view became readable is dropped, so the next one asked for is a document.
    if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(&view))
        if (!dynamic_cast<ReadingPaneAccessible*>(old)) QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
}

void PresentNewPage(QTextEdit& view) {
    if (QAccessibleInterface* old = QAccessible::queryAccessibleInterface(&view))
        QAccessible::deleteAccessibleInterface(QAccessible::uniqueId(old));
    if (!view.hasFocus()) {
        view.setFocus(Qt::OtherFocusReason);  // the focus event comes with it
        return;
    }
    QAccessibleEvent focus(&view, QAccessible::Focus);
    Announce(focus);
}

QAccessibleInterface* ReadingPaneInterface(QObject* object) {
    auto* view = qobject_cast<QTextEdit*>(object);
    if (!view || !view->property(kReadablePane).toBool()) return nullptr;
    return new ReadingPaneAccessible(view);
}

}  // namespace kazoomba::ui
