// The watchdog every window test runs under: a modal window nobody answers is closed and fails the test.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QDialog>

#include "support/ModalWatchdog.h"
#include "support/QtApp.h"

using namespace kazoomba::testing;

namespace {

// A modal window the test forgot to answer.
void OpenAndLeave() {
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Left open"));
    dialog.exec();
}

// One that ignores its close button as well: the watchdog still ends its loop.
void OpenStubbornAndLeave() {
    class Stubborn : public QDialog {
    protected:
        void closeEvent(QCloseEvent* e) override { e->ignore(); }
    public:
        void reject() override {}
    } dialog;
    dialog.exec();
}

class ModalWatchdogTest : public ::testing::Test {
protected:
    void SetUp() override {
        App();
        before_ = ModalWatchdog::Instance().LimitMs();
        ModalWatchdog::Instance().SetLimitMs(300);
    }
    void TearDown() override { ModalWatchdog::Instance().SetLimitMs(before_); }
    int before_ = 0;
};

}  // namespace

TEST_F(ModalWatchdogTest, ClosesAModalWindowLeftOpenAndFailsTheTest) {
    EXPECT_NONFATAL_FAILURE(OpenAndLeave(), "(\"Left open\", QDialog) was still open after 300 ms");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    EXPECT_NONFATAL_FAILURE(OpenStubbornAndLeave(), "was still open after 300 ms");
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
