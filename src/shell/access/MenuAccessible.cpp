// Menus and their items for assistive technology.
#include "access/MenuAccessible.h"

#include <QAccessible>
#include <QAccessibleWidget>
#include <QAction>
#include <QKeySequence>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QStyle>
#include <QWindow>

namespace kazoomba::ui {

namespace {

// The menu that shows an action, whose item is made here. An action on a menu bar is the bar's, as Qt
// makes it, even while the bar's overflow menu shows it too.
QMenu* MenuOf(const QAction& action) {
    QMenu* menu = nullptr;
    for (QObject* owner : action.associatedObjects()) {
        if (qobject_cast<QMenuBar*>(owner)) return nullptr;
        if (!menu) menu = qobject_cast<QMenu*>(owner);
    }
    return menu;
}

QList<QAction*> ActionsOf(QWidget* owner) { return owner ? owner->actions() : QList<QAction*>(); }

// The item that stands for `action` in its menu or menu bar, whoever made it: asking the owner for its
// child makes it where Qt makes its own.
QAccessibleInterface* ItemIn(QWidget* owner, QAction* action) {
    QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(owner);
    const int index = static_cast<int>(ActionsOf(owner).indexOf(action));
    return iface && index >= 0 ? iface->child(index) : nullptr;
}

// A caption as read: its mnemonic marks dropped, a doubled one kept as the character itself.
QString WithoutMnemonics(const QString& caption) {
    QString read;
    for (qsizetype i = 0; i < caption.size(); ++i) {
        if (caption[i] == u'&' && ++i == caption.size()) break;
        read += caption[i];
    }
    return read;
}

class MenuItemAccessible : public QAccessibleInterface, public QAccessibleActionInterface {
public:
    MenuItemAccessible(QAction* action, QMenu* menu) : action_(action), menu_(menu) {}

    bool isValid() const override { return action_ && menu_; }
    QObject* object() const override { return action_; }
    QWindow* window() const override {
        if (!menu_) return nullptr;
        if (QWindow* own = menu_->windowHandle()) return own;
        QWidget* native = menu_->nativeParentWidget();
        return native ? native->windowHandle() : nullptr;
    }
    QAccessibleInterface* parent() const override {
        return menu_ ? QAccessible::queryAccessibleInterface(menu_.data()) : nullptr;
    }
    // An item that opens a submenu holds it.
    QAccessibleInterface* child(int index) const override {
        return index == 0 && Submenu() ? QAccessible::queryAccessibleInterface(Submenu()) : nullptr;
    }
    int childCount() const override { return Submenu() ? 1 : 0; }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child && Submenu() && child->object() == Submenu() ? 0 : -1;
    }
    QAccessibleInterface* childAt(int, int) const override { return nullptr; }

    QString text(QAccessible::Text t) const override {
        if (!action_) return {};
        if (t == QAccessible::Name) return WithoutMnemonics(action_->text());
        if (t == QAccessible::Accelerator) {
            const QKeySequence key = action_->shortcut().isEmpty() ? QKeySequence::mnemonic(action_->text())
                                                                    : action_->shortcut();
            return key.toString(QKeySequence::NativeText);
        }
        return {};
    }
    void setText(QAccessible::Text, const QString&) override {}

    QRect rect() const override {
        if (!menu_) return {};
        return menu_->actionGeometry(action_).translated(menu_->mapToGlobal(QPoint(0, 0)));
    }

    QAccessible::Role role() const override {
        if (!action_) return QAccessible::MenuItem;
        if (action_->isSeparator()) return QAccessible::Separator;
        return action_->isCheckable() && !Submenu() ? QAccessible::CheckBox : QAccessible::MenuItem;
    }

    QAccessible::State state() const override {
        QAccessible::State s;
        if (!isValid()) {
            s.invalid = true;
            return s;
        }
        if (!menu_->isVisible() || !action_->isVisible()) s.invisible = true;
        if (menu_->activeAction() == action_) s.focused = true;
        if (menu_->style()->styleHint(QStyle::SH_Menu_MouseTracking)) s.hotTracked = true;
        if (action_->isSeparator() || !action_->isEnabled()) s.disabled = true;
        if (action_->isCheckable()) s.checkable = true;
        if (action_->isChecked()) s.checked = true;
        if (Submenu()) s.hasPopup = true;
        return s;
    }

    void* interface_cast(QAccessible::InterfaceType type) override {
        return type == QAccessible::ActionInterface ? static_cast<QAccessibleActionInterface*>(this) : nullptr;
    }

    QStringList actionNames() const override {
        if (!action_ || action_->isSeparator()) return {};
        return {Submenu() ? showMenuAction() : pressAction()};
    }
    // Press runs the command at once; Show Menu opens the submenu, or closes it when open.
    void doAction(const QString& name) override {
        if (!isValid() || !action_->isEnabled()) return;
        if (name == pressAction()) {
            action_->trigger();
        } else if (name == showMenuAction() && Submenu()) {
            if (Submenu()->isVisible()) Submenu()->hide();
            else menu_->setActiveAction(action_);
        }
    }
    QStringList keyBindingsForAction(const QString&) const override {
        if (!action_ || action_->shortcut().isEmpty()) return {};
        return {action_->shortcut().toString(QKeySequence::NativeText)};
    }

private:
    QMenu* Submenu() const { return action_ ? action_->menu() : nullptr; }
    QPointer<QAction> action_;
    QPointer<QMenu> menu_;
};

class PopupMenuAccessible : public QAccessibleWidget {
public:
    explicit PopupMenuAccessible(QMenu* menu) : QAccessibleWidget(menu, QAccessible::PopupMenu) {}

    int childCount() const override { return static_cast<int>(menu()->actions().size()); }
    QAccessibleInterface* child(int index) const override {
        const QList<QAction*> actions = menu()->actions();
        return index >= 0 && index < actions.size() ? QAccessible::queryAccessibleInterface(actions[index]) : nullptr;
    }
    // Every item counts, whatever its role.
    int indexOfChild(const QAccessibleInterface* child) const override {
        auto* action = child ? qobject_cast<QAction*>(child->object()) : nullptr;
        return action ? static_cast<int>(menu()->actions().indexOf(action)) : -1;
    }
    QAccessibleInterface* childAt(int x, int y) const override {
        QAction* action = menu()->actionAt(menu()->mapFromGlobal(QPoint(x, y)));
        return action ? QAccessible::queryAccessibleInterface(action) : nullptr;
    }
    // A submenu belongs to the item that opens it; a menu of its own (a context menu) to its window.
    QAccessibleInterface* parent() const override {
        if (QAction* opener = menu()->menuAction())
            for (QObject* owner : opener->associatedObjects())
                if (qobject_cast<QMenu*>(owner) || qobject_cast<QMenuBar*>(owner))
                    if (QAccessibleInterface* item = ItemIn(static_cast<QWidget*>(owner), opener)) return item;
        return QAccessibleWidget::parent();
    }

private:
    QMenu* menu() const { return static_cast<QMenu*>(widget()); }
};

}  // namespace

QAccessibleInterface* MenuInterface(QObject* object) {
    if (auto* menu = qobject_cast<QMenu*>(object)) return new PopupMenuAccessible(menu);
    if (auto* action = qobject_cast<QAction*>(object))
        if (QMenu* menu = MenuOf(*action)) return new MenuItemAccessible(action, menu);
    return nullptr;
}

}  // namespace kazoomba::ui
