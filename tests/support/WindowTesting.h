// Helpers for window tests: answering modal windows as they open, and reading pixels.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QColor>
#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "dialogs/Modal.h"
#include "support/QtApp.h"

namespace kazoomba::testing {

// The watchdog on every modal window the game runs: one still open after this long fails the test and is
// closed, so a window nobody answers cannot hang the run.
inline constexpr int kModalWatchdogMs = 15000;

inline void WatchModal(QDialog& window) {
    QTimer::singleShot(kModalWatchdogMs, [open = QPointer<QDialog>(&window)] {
        if (!open || !open->isVisible()) return;
        ADD_FAILURE() << "a modal window was left open: \"" << open->windowTitle().toStdString() << "\"";
        open->done(QDialog::Rejected);
    });
}

inline const bool kModalWatchdogInstalled = (ui::SetModalWatch(WatchModal), true);

// The same application as App(); the name some window tests already use.
inline QApplication& TestApplication() { return App(); }

// Runs act on the first modal window other than `except` that shows up in the event loop, as a player
// answers a window the moment it opens. Gives up after about two seconds.
inline void WhenModalOpens(std::function<void(QWidget*)> act, QWidget* except = nullptr, int triesLeft = 200) {
    QTimer::singleShot(10, [act = std::move(act), except, triesLeft]() mutable {
        QWidget* modal = QApplication::activeModalWidget();
        if (modal && modal != except)
            act(modal);
        else if (triesLeft > 0)
            WhenModalOpens(std::move(act), except, triesLeft - 1);
    });
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
