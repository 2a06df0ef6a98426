// The "Change the Banner Text" dialog.
#pragma once

#include <QDialog>
#include <QString>

class QPlainTextEdit;

namespace kazoomba::ui {

class BannerTextDialog : public QDialog {
    Q_OBJECT
public:
    BannerTextDialog(const QString& current, QWidget* parent = nullptr);
    // The confirmed text: trimmed, kept on one line, with 20 blanks appended.
    QString Result() const { return result_; }
    QPlainTextEdit* box() const { return box_; }

    // What OK makes of the box's text.
    static QString Confirmed(const QString& typed);

private:
    QPlainTextEdit* box_;
    QString result_;
};

}  // namespace kazoomba::ui
