// One QApplication for a window test program, made on first use, with the watchdog over its modal windows.
#pragma once

#include <QApplication>
#include <QWidget>

#include "access/Herald.h"
#include "support/ModalWatchdog.h"

namespace kazoomba::testing {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "kazoomba-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit QTest's input devices would outlive a static application and crash.
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QCoreApplication::setApplicationName(QStringLiteral("kazoomba"));
        auto* made = new QApplication(argc, argv);
        ModalWatchdog::Instance();
        // Each piece of news is told as it comes: the pause that gathers news for a screen reader runs on
        // the real clock, which these tests do not wait on.
        kazoomba::ui::Herald::SetAnnouncementGap(0);
        return made;
    }();
    return *app;
}

// Makes a shown window the active one, as a click on it would. QWidget::activateWindow() asks the
// platform, which answers through the event queue, so the answer is taken here before the test goes on.
// (Qt 6.5 deprecated QApplication::setActiveWindow, which set it behind the platform's back.)
inline void MakeActive(QWidget* window) {
    window->activateWindow();
    for (int round = 0; round < 100 && QApplication::activeWindow() != window; ++round)
        QCoreApplication::processEvents();
}

}  // namespace kazoomba::testing
