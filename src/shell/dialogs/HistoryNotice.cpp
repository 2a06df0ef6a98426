// The game history's notices.
#include "dialogs/HistoryNotice.h"

#include <QDir>
#include <QMessageBox>
#include <algorithm>
#include <cstdio>

namespace kazoomba {

namespace {

// Not modal: the machine, a Payoffs window or auto spin go on while it is up.
void Notice(const char* title, const QString& text, QWidget* parent) {
    if (!parent) {
        std::fprintf(stderr, "kazoomba: %s\n", qPrintable(QString(text).replace(u'\n', u' ')));
        std::fflush(stderr);
        return;
    }
    auto* box = new QMessageBox(QMessageBox::Information, QString::fromLatin1(title), text, QMessageBox::Ok, parent);
    box->setAttribute(Qt::WA_DeleteOnClose);
    box->setWindowModality(Qt::NonModal);
    box->show();
}

}  // namespace

QString HistoryFileText(const QString& path, const HistoryOpened& opened) {
    const QString file = QDir::toNativeSeparators(path);
    if (!opened.damaged.isEmpty()) {
        const int spins = static_cast<int>(std::count_if(opened.entries.begin(), opened.entries.end(),
                                                         [](const HistoryEntry& e) { return e.IsSpin(); }));
        return QStringLiteral("The game history in\n%1\ncould not be read whole: %2.\n\nIt has been kept as\n%3\nand a "
                              "new history begun with the %4 that could be read.")
            .arg(file, opened.damaged, QDir::toNativeSeparators(opened.keptAs),
                 spins == 1 ? QStringLiteral("one spin") : QStringLiteral("%1 spins").arg(spins));
    }
    return QStringLiteral("The game history in\n%1\ncannot be used: %2.\n\nThe file is left as it is; the spins you "
                          "play are kept until the game closes.")
        .arg(file, opened.unusable);
}

void TellHistoryFile(const QString& path, const HistoryOpened& opened, QWidget* parent) {
    Notice(opened.damaged.isEmpty() ? kHistoryNotKeptTitle : kHistorySetAsideTitle, HistoryFileText(path, opened), parent);
}

void ReportHistoryNotWritten(const QString& reason, QWidget* parent) {
    Notice(kHistoryNotKeptTitle,
           QStringLiteral("The game history could not be written to\n%1\n\nPlay goes on, and the spins you play are "
                          "kept until the game closes.").arg(reason),
           parent);
}

}  // namespace kazoomba
