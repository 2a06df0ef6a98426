// One QApplication for a window test program, made on first use, with the watchdog over its modal windows.
#pragma once

#include <QApplication>

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
        return made;
    }();
    return *app;
}

}  // namespace kazoomba::testing
