// The "Change the Banner Text" dialog.
#include "dialogs/BannerTextDialog.h"

#include <QGuiApplication>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>

#include "art/Drawing.h"
#include "dialogs/Placement.h"
#include "access/FocusRing.h"

namespace kazoomba::ui {

QString BannerTextDialog::Confirmed(const QString& typed) {
    // A line break would break the settings file's layout; the banner is one line anyway.
    QString text = typed;
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (QChar& c : text)
        if (c == QLatin1Char('\n') || c == QLatin1Char('\r') || c.category() == QChar::Other_Control) c = QLatin1Char(' ');
    return text.trimmed() + QString(20, QLatin1Char(' '));
}

BannerTextDialog::BannerTextDialog(const QString& current, QWidget* parent) : QDialog(parent) {
    setWindowTitle(QStringLiteral("Change the Banner Text"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setFixedSize(491, 150);
    box_ = new QPlainTextEdit(this);
    box_->setGeometry(16, 8, 457, 97);
    box_->setFont(GameFont(12, false));
    box_->setPlainText(current);
    box_->setAccessibleName(QStringLiteral("Banner text"));
    // The banner is one line: Tab moves on to OK instead of typing a tab.
    box_->setTabChangesFocus(true);
    auto* ok = new QPushButton(QStringLiteral("&OK"), this);
    ok->setGeometry(96, 112, 297, 33);
    ok->setFont(GameFont(12, true));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, [this] {
        result_ = Confirmed(box_->toPlainText());
        accept();
    });
    ShowFocusRings(*this);
    CentreOnScreen(*this, parent);
}

}  // namespace kazoomba::ui
