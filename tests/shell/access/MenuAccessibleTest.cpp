// The machine's menus as assistive technology reads them: every item with a check mark is a check box that
// says whether it is checked, and the menus keep the shape, names and commands they had: plain items,
// separators, items that open a submenu, each found in its menu and leading up to the window.
#include <gtest/gtest.h>

#include <QMainWindow>
#include <QMenuBar>

#include "machine/MachineMenus.h"
#include "support/Accessibility.h"
#include "support/QtApp.h"

using namespace kazoomba::ui;
using namespace kazoomba::testing;

namespace {

class MenuAccessibleTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { App(); }
    void SetUp() override {
        menus = BuildMachineMenus(*window.menuBar());
        window.show();
    }
    static QMenu* MenuOf(QAction* action) { return qobject_cast<QMenu*>(action->parent()); }
    // The item its menu offers for `action`.
    static QAccessibleInterface* Item(QAction* action) {
        QAccessibleInterface* menu = Accessible(MenuOf(action));
        for (int i = 0; menu && i < menu->childCount(); ++i)
            if (menu->child(i) && menu->child(i)->object() == action) return menu->child(i);
        return nullptr;
    }
    std::vector<QAction*> Marked() const {
        std::vector<QAction*> all;
        for (QAction* a : menus.bet) all.push_back(a);
        for (QAction* a : menus.digit) all.push_back(a);
        for (QAction* a : menus.lines) all.push_back(a);
        for (QAction* a : menus.banner) all.push_back(a);
        for (QAction* a : menus.speed) all.push_back(a);
        for (QAction* a : menus.sound) all.push_back(a);
        all.push_back(menus.autoSpin);
        return all;
    }

    QMainWindow window;
    MachineMenus menus;
};

}  // namespace

TEST_F(MenuAccessibleTest, EveryMarkedItemIsACheckBoxThatSaysWhetherItIsChecked) {
    for (QAction* action : Marked()) {
        QAccessibleInterface* item = Item(action);
        ASSERT_NE(item, nullptr) << action->text().toStdString();
        EXPECT_EQ(item->role(), QAccessible::CheckBox) << action->text().toStdString();
        EXPECT_EQ(item->text(QAccessible::Name), action->text());
        EXPECT_TRUE(item->state().checkable) << action->text().toStdString();
        EXPECT_EQ(item->state().checked, action->isChecked()) << action->text().toStdString();
        EXPECT_EQ(item->parent()->indexOfChild(item), MenuOf(action)->actions().indexOf(action))
            << action->text().toStdString() << " is counted in its menu";
    }
    // Green is the colour as the machine comes on; the marks as they move.
    EXPECT_FALSE(Item(menus.digit[0])->state().checked);
    EXPECT_TRUE(Item(menus.digit[2])->state().checked);
    CheckOnly(menus.digit, 0);
    EXPECT_TRUE(Item(menus.digit[0])->state().checked);
    EXPECT_FALSE(Item(menus.digit[2])->state().checked);
    menus.autoSpin->setChecked(true);
    EXPECT_TRUE(Item(menus.autoSpin)->state().checked);
}

TEST_F(MenuAccessibleTest, PlainItemsSeparatorsAndSubmenusKeepTheirShapeUpToTheWindow) {
    QAccessibleInterface* file = Accessible(menus.file);
    EXPECT_EQ(file->role(), QAccessible::PopupMenu);
    ASSERT_EQ(file->childCount(), menus.file->actions().size());
    EXPECT_EQ(file->child(0)->role(), QAccessible::MenuItem);
    EXPECT_EQ(file->child(0)->text(QAccessible::Name), "New Game");
    EXPECT_FALSE(file->child(0)->state().checkable);
    EXPECT_EQ(file->child(1)->role(), QAccessible::Separator);
    EXPECT_TRUE(HasPress(file->child(0)));

    // Blue, in Digit Colors, in Options, on the menu bar, in the window.
    QAccessibleInterface* blue = Item(menus.digit[0]);
    QAccessibleInterface* digits = blue->parent();
    ASSERT_NE(digits, nullptr);
    EXPECT_EQ(digits->object(), MenuOf(menus.digit[0]));
    QAccessibleInterface* opener = digits->parent();
    ASSERT_NE(opener, nullptr);
    EXPECT_EQ(opener->role(), QAccessible::MenuItem);
    EXPECT_EQ(opener->text(QAccessible::Name), "Digit Colors");
    EXPECT_TRUE(opener->state().hasPopup);
    EXPECT_EQ(opener->child(0), digits);
    EXPECT_TRUE(opener->actionInterface()->actionNames().contains(QAccessibleActionInterface::showMenuAction()));
    QAccessibleInterface* options = opener->parent();
    ASSERT_NE(options, nullptr);
    EXPECT_EQ(options->object(), menus.options);
    EXPECT_EQ(options->indexOfChild(opener), 1);
    QAccessibleInterface* onBar = options->parent();
    ASSERT_NE(onBar, nullptr);
    EXPECT_EQ(onBar->text(QAccessible::Name), "Options");
    ASSERT_NE(onBar->parent(), nullptr);
    EXPECT_EQ(onBar->parent()->object(), window.menuBar());
    EXPECT_EQ(onBar->parent()->parent()->object(), &window);
}

TEST_F(MenuAccessibleTest, ACheckBoxItemPressesLikeAClickAndNotWhileUnavailable) {
    int chosen = 0;
    QObject::connect(menus.sound[1], &QAction::triggered, [&] { ++chosen; });
    QAccessibleInterface* off = Item(menus.sound[1]);
    ASSERT_EQ(off->role(), QAccessible::CheckBox);
    ASSERT_TRUE(HasPress(off));
    off->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(chosen, 1);

    menus.sound[1]->setEnabled(false);  // as mid-spin
    EXPECT_TRUE(off->state().disabled);
    off->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    EXPECT_EQ(chosen, 1);
}
