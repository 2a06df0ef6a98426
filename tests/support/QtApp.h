// One QApplication for a window test program, made on first use.
#pragma once

#include <QApplication>

namespace kazoomba::testing {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "kazoomba-tests";
    static char* argv[] = {name, nullptr};
    // Never destroyed: at exit QTest's input devices would outlive a static application and crash.
    static QApplication* app = [] {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QCoreApplication::setApplicationName(QStringLiteral("kazoomba"));
        return new QApplication(argc, argv);
    }();
    return *app;
}

}  // namespace kazoomba::testing
