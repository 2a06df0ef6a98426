// The start-up message about a settings file the game cannot use.
#include "dialogs/UnusableSettings.h"

#include "dialogs/Modal.h"

namespace kazoomba {

QString UnusableSettingsText(const QString& reason) {
    // The path starts a line of its own, so the message breaks its lines around it rather than inside it.
    return QStringLiteral("The settings file cannot be used:\n%1\n\n"
                          "A new game starts. The game will not save into that file while it runs, so the "
                          "games in it stay as they are; fix it and start the game again to play them.")
        .arg(reason);
}

void TellSettingsFileUnusable(const QString& reason, QWidget* parent) {
    // Told before the machine comes on, and read before it does.
    ui::RunModal(new QMessageBox(QMessageBox::Warning, QString::fromLatin1(kUnusableSettingsTitle),
                                 UnusableSettingsText(reason), QMessageBox::Ok, parent));
}

}  // namespace kazoomba
