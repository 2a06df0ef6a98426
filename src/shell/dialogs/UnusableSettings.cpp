// The start-up messages about a settings file the game cannot use, or a saved game it cannot read whole.
#include "dialogs/UnusableSettings.h"

#include <QDir>

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

QString DamagedValuesText(const QString& path, const QStringList& lines) {
    QString text = QStringLiteral("Some values of the game saved in\n%1\ncannot be read as they are written, so the game "
                                  "used others:\n")
                       .arg(QDir::toNativeSeparators(path));
    for (const QString& line : lines) text += QStringLiteral("\n\u2022 ") + line + u'.';
    text += QStringLiteral("\n\nPlay goes on with what the game used.");
    return text;
}

void TellDamagedValues(const QString& path, const QStringList& lines, QWidget* parent, std::function<void()> read) {
    ui::ShowMessageBox(QMessageBox::Warning, QString::fromLatin1(kDamagedValuesTitle), DamagedValuesText(path, lines),
                       parent, std::move(read));
}

}  // namespace kazoomba
