// Modal windows: each made, watched, opened, read and deleted in one place, and messages one at a time.
#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>

#include "dialogs/Modal.h"
#include "support/WindowTesting.h"

using namespace kazoomba;

namespace {

// Takes the test's watch away however the test ends.
struct WatchGuard {
    ~WatchGuard() { ui::SetModalWatch({}); }
};

}  // namespace

TEST(OpenModal, ReturnsAtOnceAndTheWatchSeesTheWindowWhichIsReadAndDeletedOnceClosed) {
    kazoomba::testing::App();
    WatchGuard guard;
    QPointer<QDialog> watched;
    ui::SetModalWatch([&watched](QDialog& window) {
        watched = &window;
        QTimer::singleShot(0, &window, [&window] { window.done(7); });
    });
    QWidget parent;
    parent.show();
    auto* dialog = new QDialog(&parent);
    dialog->setWindowTitle(QStringLiteral("Probe"));
    QString read;
    int answer = -1, answers = 0;
    ui::OpenModal<QDialog>(dialog, [&](QDialog& closed, int a) {
        read = closed.windowTitle();
        answer = a;
        ++answers;
    });
    EXPECT_EQ(answers, 0) << "opening waited for the answer";
    EXPECT_TRUE(dialog->isVisible());
    EXPECT_EQ(dialog->windowModality(), Qt::WindowModal) << "modal to the window that opened it";
    ASSERT_TRUE(kazoomba::testing::AwaitModalsClosed());
    EXPECT_EQ(answer, 7);
    EXPECT_EQ(answers, 1);
    EXPECT_EQ(read, QStringLiteral("Probe"));
    EXPECT_TRUE(watched.isNull()) << "the window outlived its showing";
}

TEST(OpenModal, AWindowTakenAwayWithItsParentAnswersNothing) {
    kazoomba::testing::App();
    auto* parent = new QWidget;
    parent->show();
    auto* dialog = new QDialog(parent);
    bool answered = false;
    ui::OpenModal<QDialog>(dialog, [&answered](QDialog&, int) { answered = true; });
    delete parent;
    QCoreApplication::processEvents();
    EXPECT_FALSE(answered);
}

// Two messages given together (a refused bet that also ends auto spin) are read in their order, one after
// the other: never the second on top of the first.
TEST(ShowMessageBox, MessagesComeOneAfterAnotherInTheirOrder) {
    kazoomba::testing::App();
    QWidget parent;
    parent.show();
    std::vector<QString> shown, closed;
    ui::ShowMessageBox(QMessageBox::Warning, QStringLiteral("First"), QStringLiteral("one"), &parent,
                       [&] { closed.push_back(QStringLiteral("First")); });
    ui::ShowMessageBox(QMessageBox::Warning, QStringLiteral("Second"), QStringLiteral("two"), &parent,
                       [&] { closed.push_back(QStringLiteral("Second")); });
    for (int i = 0; i < 2; ++i) {
        QCoreApplication::processEvents();
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        shown.push_back(box->windowTitle());
        EXPECT_EQ(parent.findChildren<QMessageBox*>().size(), 1) << "only one message at a time";
        box->accept();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    EXPECT_EQ(shown, (std::vector<QString>{QStringLiteral("First"), QStringLiteral("Second")}));
    EXPECT_EQ(closed, shown);
}
