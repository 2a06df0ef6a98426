// A menu opened by Alt and a letter while a screen reader still holds the Alt back: the Alt that arrives
// after the menu opened must not close it, but an Alt pressed once the menu is open still does.
#include <gtest/gtest.h>

#include <QKeyEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QSpontaneKeyEvent>
#include <QTest>

#include "access/LateKeys.h"
#include "support/QtApp.h"

using namespace kazoomba::ui;
using namespace kazoomba::testing;

namespace {

// The window system's side of a key press: offered at once to the window as a shortcut...
void PressReachesWindowSystem(QWindow* window, int key) {
    QKeyEvent offer(QEvent::ShortcutOverride, key, Qt::AltModifier);
    QSpontaneKeyEvent::setSpontaneous(&offer);
    QCoreApplication::instance()->notify(window, &offer);  // sendEvent would take the mark off
}

// ...and the press itself, posted again to its window once the screen reader has seen it.
void HeldBackPressArrives(QWindow* window, int key) {
    QCoreApplication::postEvent(window, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier));
    QCoreApplication::processEvents();
}

// A window whose F10 opens its menu, as the machine's does.
class MenuWindow : public QMainWindow {
public:
    MenuWindow() {
        options = menuBar()->addMenu(QStringLiteral("&Options"));
        options->addAction(QStringLiteral("Bet Amount"));
        options->addAction(QStringLiteral("Spin Speed"));
        resize(300, 200);
    }
    QMenu* options;

protected:
    void keyPressEvent(QKeyEvent* key) override {
        if (key->key() == Qt::Key_F10) options->popup(mapToGlobal(QPoint(0, 20)));
    }
};

}  // namespace

TEST(LateKeys, AnAltFromBeforeTheMenuOpenedLeavesItOpenAndANewAltClosesIt) {
    static const bool guarded = (KeepLateKeysFromMenus(App()), true);
    ASSERT_TRUE(guarded);
    MenuWindow window;
    QMenu* options = window.options;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWindow* handle = window.windowHandle();

    // Alt goes down and is held back; the O that follows opens the menu.
    PressReachesWindowSystem(handle, Qt::Key_Alt);
    PressReachesWindowSystem(handle, Qt::Key_O);
    options->popup(window.mapToGlobal(QPoint(0, 20)));
    ASSERT_TRUE(QTest::qWaitForWindowExposed(options));
    ASSERT_EQ(QApplication::activePopupWidget(), options);

    HeldBackPressArrives(handle, Qt::Key_Alt);
    EXPECT_TRUE(options->isVisible()) << "the Alt of Alt+O closed the menu it opened";

    // The player presses Alt with the menu open: that closes it, as on any desktop.
    PressReachesWindowSystem(handle, Qt::Key_Alt);
    HeldBackPressArrives(handle, Qt::Key_Alt);
    EXPECT_FALSE(options->isVisible());
}

TEST(LateKeys, KeysPressedAfterTheKeyThatOpensTheMenuReachTheMenu) {
    static const bool guarded = (KeepLateKeysFromMenus(App()), true);
    ASSERT_TRUE(guarded);
    MenuWindow window;
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    QWindow* handle = window.windowHandle();

    // F10 and Down go down quickly; both are held back, and the menu opens only when F10 arrives.
    PressReachesWindowSystem(handle, Qt::Key_F10);
    PressReachesWindowSystem(handle, Qt::Key_Down);
    HeldBackPressArrives(handle, Qt::Key_F10);
    ASSERT_EQ(QApplication::activePopupWidget(), window.options);
    HeldBackPressArrives(handle, Qt::Key_Down);
    ASSERT_NE(window.options->activeAction(), nullptr) << "the Down typed after F10 was lost";
    EXPECT_EQ(window.options->activeAction()->text(), QStringLiteral("Bet Amount"));
    window.options->close();
}
