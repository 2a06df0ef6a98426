// Helpers for window tests: answering modal windows as they open, and reading pixels.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "dialogs/Modal.h"
#include "support/QtApp.h"

namespace kazoomba::testing {

// The same application as App(); the name some window tests already use.
inline QApplication& TestApplication() { return App(); }

// The owner of a test's pending waits: it goes when the test ends, and with it every wait the test left
// running, so that no later test's window is answered with an earlier test's gone variables.
class TestScope : public ::testing::EmptyTestEventListener {
public:
    static QObject* Context() {
        QObject*& context = Instance().context_;
        if (!context) context = new QObject;
        return context;
    }

private:
    static TestScope& Instance() {
        static TestScope* scope = [] {
            auto* made = new TestScope;
            ::testing::UnitTest::GetInstance()->listeners().Append(made);  // gtest owns it
            return made;
        }();
        return *scope;
    }
    void OnTestEnd(const ::testing::TestInfo&) override {
        delete context_;
        context_ = nullptr;
    }
    QObject* context_ = nullptr;
};

// Runs act on the first modal window other than `except` that shows up in the event loop, as a player
// answers a window the moment it opens. Gives up after about two seconds, or when the test ends.
inline void WhenModalOpens(std::function<void(QWidget*)> act, QWidget* except = nullptr, int triesLeft = 200) {
    QTimer::singleShot(10, TestScope::Context(), [act = std::move(act), except, triesLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != except)
            act(modal);
        else if (triesLeft > 0)
            WhenModalOpens(std::move(act), except, triesLeft - 1);
    });
}

// Runs events until no modal window is open any more and the windows closed have gone, as a player
// answers them; false (and a failed test) when one is still open after `limitMs` of real time.
inline bool AwaitModalsClosed(int limitMs = 10000) {
    QElapsedTimer real;
    real.start();
    for (;;) {
        QCoreApplication::processEvents();
        if (!QApplication::activeModalWidget()) break;
        if (real.elapsed() > limitMs) {
            ADD_FAILURE() << "a window was still open after " << limitMs << " ms";
            return false;
        }
        QEventLoop wait;
        QTimer::singleShot(2, &wait, &QEventLoop::quit);
        wait.exec();
    }
    // Closed windows are deleted later: let them go before the test reads what they left.
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QCoreApplication::processEvents();
    return true;
}

// A widget as the screen shows it, one image pixel per window pixel.
inline QImage Snapshot(QWidget& widget) {
    QImage image = widget.grab().toImage();
    if (image.devicePixelRatio() != 1.0) image = image.scaled(widget.size());
    return image.convertToFormat(QImage::Format_RGB32);
}

inline QColor PixelAt(const QImage& image, int x, int y) { return QColor(image.pixel(x, y)); }

// Counts the pixels of a rectangle that have exactly the given colour.
inline int CountColour(const QImage& image, QRect area, const QColor& colour) {
    int n = 0;
    area = area.intersected(image.rect());
    for (int y = area.top(); y <= area.bottom(); ++y)
        for (int x = area.left(); x <= area.right(); ++x)
            if (image.pixel(x, y) == colour.rgb()) ++n;
    return n;
}

}  // namespace kazoomba::testing
