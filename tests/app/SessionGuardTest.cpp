// The session guard: a signal raised in the process becomes one call on the GUI thread.
#include <QTest>
#include <csignal>
#include <gtest/gtest.h>

#include "storage/StorageSupport.h"
#include "support/QtApp.h"
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
    int ended = 0, forward = 0;
    SessionGuard guard([&](int) { ++ended; }, [&] { ++forward; });
    ASSERT_TRUE(guard.Installed());
    for (int i = 1; i <= 2; ++i) {
        ASSERT_TRUE(AskToComeForward(QCoreApplication::applicationPid()));
        EXPECT_TRUE(QTest::qWaitFor([&] { return forward == i; }, 5000));
    }
    EXPECT_EQ(ended, 0);
    EXPECT_NE(Handler(SIGUSR1), SIG_DFL);
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
