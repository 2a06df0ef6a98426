// The watchdog every window test runs under: a modal window nobody answers is closed and fails the test.
#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <QCloseEvent>
#include <QDialog>

#include "dialogs/Modal.h"
#include "support/ModalWatchdog.h"
#include "support/QtApp.h"
#include "support/WindowTesting.h"

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

// The game's own windows open through OpenModal and nothing waits in a loop of theirs: the same watchdog
// closes one nobody answers, and what the game does when it closes goes on.
TEST_F(ModalWatchdogTest, ClosesAWindowOpenedThroughOpenModalAndTheGameGoesOn) {
    QWidget machine;
    machine.show();
    bool answered = false;
    auto* window = new QDialog(&machine);
    window->setWindowTitle(QStringLiteral("Nobody answers"));
    kazoomba::ui::OpenModal<QDialog>(window, [&answered](QDialog&, int) { answered = true; });
    EXPECT_NONFATAL_FAILURE(AwaitModalsClosed(5000), "(\"Nobody answers\", QDialog) was still open after 300 ms");
    EXPECT_TRUE(answered);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
}
