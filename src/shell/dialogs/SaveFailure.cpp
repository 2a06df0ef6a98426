// The failed-save messages.
#include "dialogs/SaveFailure.h"

#include <QDir>
#include <QMessageBox>
#include <QPushButton>
#include <cstdio>

#include "dialogs/Modal.h"

namespace kazoomba {

QString SaveFailedText(const QString& reason) {
    // The path starts a line of its own, so the message breaks its lines around it rather than inside it.
    return QStringLiteral("Your game could not be saved to\n%1").arg(reason.isEmpty() ? QStringLiteral("the settings file.") : reason);
}

void TellSaveFailed(const QString& reason, QWidget* parent) {
    ui::ShowMessageBox(QMessageBox::Warning, QString::fromLatin1(kSaveFailedTitle), SaveFailedText(reason), parent);
}

void SaveBeforeQuitting(std::function<bool()> save, std::function<QString()> reason, QWidget* parent,
                        std::function<void(bool saved)> done, SaveQuestion saveInSlot) {
    if (save()) {
        done(true);
        return;
    }
    const QString advice =
        saveInSlot ? QStringLiteral("\n\nSave it into one of the ten slots, from which you can load it again, or "
                                   "quit without saving: this game is then lost.")
                   : QStringLiteral("\n\nFix what stops it and try again, or quit without saving: "
                                   "the play since the last save is then lost.");
    auto* box = new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kSaveFailedTitle),
                                SaveFailedText(reason()) + advice, QMessageBox::NoButton, parent);
    QPushButton* retry = box->addButton(saveInSlot ? QStringLiteral("Save in a &Slot...") : QStringLiteral("&Try Again"),
                                        QMessageBox::AcceptRole);
    QPushButton* quit = box->addButton(QStringLiteral("&Quit Without Saving"), QMessageBox::DestructiveRole);
    box->setDefaultButton(retry);
    box->setEscapeButton(retry);  // Escape must never throw a game away
    ui::OpenModal<QMessageBox>(box, [=, save = std::move(save), reason = std::move(reason), done = std::move(done),
                                     saveInSlot = std::move(saveInSlot)](QMessageBox& closed, int) {
        if (closed.clickedButton() == quit) {
            done(false);
            return;
        }
        const auto askAgain = [=](bool savedInSlot) {
            if (savedInSlot) done(true);
            else SaveBeforeQuitting(save, reason, parent, done, saveInSlot);
        };
        if (saveInSlot) saveInSlot(askAgain);
        else askAgain(false);
    });
}

void PlaySaveNotices::Saved(bool ok, const QString& reason, const QString& path, QWidget* parent,
                            const QString& advice) {
    if (ok == !failing_) return;
    failing_ = !ok;
    if (!ok) {
        Show(new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kSaveFailedTitle),
                             SaveFailedText(reason) + advice, QMessageBox::Ok, parent));
    } else {
        Show(new QMessageBox(QMessageBox::Information, kWorksAgainTitle,
                             QStringLiteral("Your game is being saved again to\n%1").arg(QDir::toNativeSeparators(path)),
                             QMessageBox::Ok, parent));
    }
}

void PlaySaveNotices::Show(QMessageBox* box) {
    // One notice at a time: the news that saving works again replaces the failure still on the screen.
    if (shown_) shown_->close();
    box->setAttribute(Qt::WA_DeleteOnClose);
    // Not modal: the spin, the Payoffs window and auto spin go on while it is up.
    box->setWindowModality(Qt::NonModal);
    box->show();
    shown_ = box;
}

void ReportSaveFailedOnStandardError(const QString& reason, const char* when) {
    std::fprintf(stderr, "kazoomba: %s: your game could not be saved to %s\n", when,
                 qPrintable(reason.isEmpty() ? QStringLiteral("the settings file.") : reason));
    std::fflush(stderr);
}

}  // namespace kazoomba
