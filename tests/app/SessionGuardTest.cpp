// The session guard: a signal raised in the process becomes one call on the GUI thread.
#include <QMessageBox>
#include <QTemporaryDir>
#include <QTest>
#include <atomic>
#include <csignal>
#include <gtest/gtest.h>
#include <thread>

#include "storage/StorageSupport.h"
#include "support/QtApp.h"
#include "support/WindowTesting.h"
#include "SessionGuard.h"
#include "SessionLock.h"

namespace kazoomba::testing {
namespace {

class Guard : public ::testing::TestWithParam<int> {
protected:
    static void SetUpTestSuite() { App(); }
};

void (*Handler(int signal))(int) {
    struct sigaction now {};
    sigaction(signal, nullptr, &now);
    return now.sa_handler;
}

TEST_P(Guard, ASignalBecomesACallOnTheEventLoopAndTheNextOneIsFatalAgain) {
    const int signal = GetParam();
    const auto before = Handler(signal);
    std::vector<int> calls;
    {
        SessionGuard guard([&](int s) { calls.push_back(s); });
        ASSERT_TRUE(guard.Installed());
        raise(signal);
        EXPECT_TRUE(calls.empty());  // nothing runs inside the handler
        EXPECT_TRUE(QTest::qWaitFor([&] { return !calls.empty(); }, 5000));
        EXPECT_EQ(calls, std::vector<int>{signal});
        // A second signal would end a program that hangs.
        EXPECT_EQ(Handler(signal), SIG_DFL);
        QCoreApplication::processEvents();
        EXPECT_EQ(calls.size(), 1u);
    }
    EXPECT_EQ(Handler(signal), before);
}

INSTANTIATE_TEST_SUITE_P(SessionGuard, Guard, ::testing::Values(SIGTERM, SIGINT, SIGHUP));

TEST(SessionGuardOnly, ASecondGameAsksTheRunningOneToComeForwardAsOftenAsItLikes) {
    App();
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    const QString settings = runtime.filePath(QStringLiteral("KAZO.INI"));
    int ended = 0, forward = 0;
    SessionGuard guard([&](int) { ++ended; });
    ComeForwardListener listener(settings, [&] { ++forward; });
    ASSERT_TRUE(listener.Listening());
    for (int i = 1; i <= 2; ++i) {
        // The second start runs apart from this event loop, as a second process would.
        std::atomic<int> answered = -1;
        std::thread second([&] { answered = AskToComeForward(settings) ? 1 : 0; });
        EXPECT_TRUE(QTest::qWaitFor([&] { return answered >= 0; }, 10000));
        second.join();
        EXPECT_EQ(answered, 1);
        EXPECT_EQ(forward, i);
    }
    EXPECT_EQ(ended, 0);
    // No signal is part of it any more: one sent by mistake would end an unrelated process.
    EXPECT_EQ(Handler(SIGUSR1), SIG_DFL);
    qunsetenv("XDG_RUNTIME_DIR");
}

// A start with nobody listening learns that nothing came forward, and says no more than that.
TEST(SessionGuardOnly, ASecondStartWithNoGameListeningIsToldNothingCameForward) {
    App();
    QTemporaryDir runtime;
    qputenv("XDG_RUNTIME_DIR", runtime.path().toUtf8());
    EXPECT_FALSE(AskToComeForward(runtime.filePath(QStringLiteral("KAZO.INI")), 500));
    qunsetenv("XDG_RUNTIME_DIR");
}

// A message at start, before the game's guard, ends on each signal as its escape button would.
TEST_P(Guard, AStartMessageEndsOnTheSignal) {
    const int signal = GetParam();
    QMessageBox* seen = nullptr;
    WhenModalOpens([&](QWidget* modal) {
        seen = qobject_cast<QMessageBox*>(modal);
        raise(signal);
    });
    const int ended = ShowUntilSignal([&] {
        QMessageBox box(QMessageBox::Information, "Kazoomba Video Slots", "already running", QMessageBox::Ok);
        box.exec();
    });
    EXPECT_NE(seen, nullptr);
    EXPECT_EQ(ended, signal);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}

TEST(SessionGuardOnly, OneGuardAtATime) {
    App();
    SessionGuard first([](int) {});
    SessionGuard second([](int) {});
    EXPECT_TRUE(first.Installed());
    EXPECT_FALSE(second.Installed());
}

}  // namespace
}  // namespace kazoomba::testing
