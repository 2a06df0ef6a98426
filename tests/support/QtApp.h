// One QApplication for a window test program, made on first use.
#pragma once

#include <QApplication>

namespace kazoomba::testing {

inline QApplication& App() {
    static int argc = 1;
    static char name[] = "kazoomba-tests";
    static char* argv[] = {name, nullptr};
    static QApplication app(argc, argv);
    return app;
}

}  // namespace kazoomba::testing
