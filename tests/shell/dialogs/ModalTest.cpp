// Modal windows: each made, watched, run, read and deleted in one place.
#include <gtest/gtest.h>

#include <QDialog>
#include <QPointer>
#include <QTimer>

#include "dialogs/Modal.h"
#include "support/WindowTesting.h"

using namespace kazoomba;

namespace {

// Puts the tests' own watchdog back however a test ends.
struct WatchGuard {
    ~WatchGuard() { ui::SetModalWatch(kazoomba::testing::WatchModal); }
};

}  // namespace

TEST(RunModal, TheWatchSeesTheWindowWhichIsReadAndDeletedOnceClosed) {
    kazoomba::testing::App();
    WatchGuard guard;
    QPointer<QDialog> watched;
    ui::SetModalWatch([&watched](QDialog& window) {
        watched = &window;
        QTimer::singleShot(0, &window, [&window] { window.done(7); });
    });
    auto* dialog = new QDialog;
    dialog->setWindowTitle(QStringLiteral("Probe"));
    QString read;
    const int answer = ui::RunModal<QDialog>(dialog, [&read](QDialog& closed) { read = closed.windowTitle(); });
    EXPECT_EQ(answer, 7);
    EXPECT_EQ(read, QStringLiteral("Probe"));
    EXPECT_TRUE(watched.isNull()) << "the window outlived its showing";
}

TEST(RunModal, AWindowTakenAwayWithItsParentAnswersRejectedUnread) {
    kazoomba::testing::App();
    auto* parent = new QWidget;
    auto* dialog = new QDialog(parent);
    QTimer::singleShot(0, [parent] { delete parent; });
    bool read = false;
    EXPECT_EQ(ui::RunModal<QDialog>(dialog, [&read](QDialog&) { read = true; }), QDialog::Rejected);
    EXPECT_FALSE(read);
}
