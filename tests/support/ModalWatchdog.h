// A watchdog for window tests: a modal window left open by a test that missed its keys or clicks is
// closed after a while and the test fails, instead of the whole program waiting for ever.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QPointer>
#include <QTimer>
#include <QWidget>

namespace kazoomba::testing {

class ModalWatchdog {
public:
    // How long one modal window may stay open; KAZOOMBA_MODAL_LIMIT_MS overrides it.
    static constexpr int kDefaultLimitMs = 20000;

    static ModalWatchdog& Instance() {
        static ModalWatchdog* dog = new ModalWatchdog;  // lives as long as the application
        return *dog;
    }
    void SetLimitMs(int ms) { limitMs_ = ms; }
    int LimitMs() const { return limitMs_; }

private:
    ModalWatchdog() {
        bool ok = false;
        const int fromEnvironment = qEnvironmentVariableIntValue("KAZOOMBA_MODAL_LIMIT_MS", &ok);
        if (ok && fromEnvironment > 0) limitMs_ = fromEnvironment;
        timer_.setInterval(100);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Check(); });
        timer_.start();
    }

    void Check() {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal != watched_) {
            watched_ = modal;
            open_.start();
            return;
        }
        if (!modal || open_.elapsed() < limitMs_) return;
        ADD_FAILURE() << "a modal window (\"" << modal->windowTitle().toStdString() << "\", "
                      << modal->metaObject()->className() << ") was still open after " << limitMs_
                      << " ms: the test missed its moment, and the watchdog closed the window";
        // Closed as a player would close it, so the code that opened it goes on and the test ends.
        if (auto* dialog = qobject_cast<QDialog*>(modal)) dialog->reject();
        else modal->close();
        if (modal->isVisible()) modal->hide();
        open_.start();
    }

    QTimer timer_;
    QElapsedTimer open_;
    QPointer<QWidget> watched_;
    int limitMs_ = kDefaultLimitMs;
};

}  // namespace kazoomba::testing
