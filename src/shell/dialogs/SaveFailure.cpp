// The failed-save messages.
#include "dialogs/SaveFailure.h"

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

bool SaveBeforeQuitting(const std::function<bool()>& save, const std::function<QString()>& reason, QWidget* parent) {
    while (!save()) {
        auto* box = new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kSaveFailedTitle),
                                    SaveFailedText(reason()) +
                                        QStringLiteral("\n\nFix what stops it and try again, or quit without saving: "
                                                       "the play since the last save is then lost."),
                                    QMessageBox::NoButton, parent);
        QPushButton* retry = box->addButton(QStringLiteral("&Try Again"), QMessageBox::AcceptRole);
        QPushButton* quit = box->addButton(QStringLiteral("&Quit Without Saving"), QMessageBox::DestructiveRole);
        box->setDefaultButton(retry);
        box->setEscapeButton(retry);  // Escape must never throw a game away
        bool quitChosen = false;
        ui::RunModal<QMessageBox>(box, [&](QMessageBox& closed) { quitChosen = closed.clickedButton() == quit; });
        if (quitChosen) return false;
    }
    return true;
}

void ReportSaveFailedOnStandardError(const QString& reason, const char* when) {
    std::fprintf(stderr, "kazoomba: %s: your game could not be saved to %s\n", when,
                 qPrintable(reason.isEmpty() ? QStringLiteral("the settings file.") : reason));
    std::fflush(stderr);
}

}  // namespace kazoomba
