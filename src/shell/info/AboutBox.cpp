// The about box.
#include "dialogs/Placement.h"
#include "info/AboutBox.h"

#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QTextEdit>

#include "common/NumberPicture.h"
#include "QtText.h"
#include "dialogs/Modal.h"
#include "info/AboutBoxLayout.h"
#include "play/GameState.h"
#include "art/Drawing.h"
#include "art/Graphics.h"
#include "access/FocusRing.h"

namespace kazoomba::ui {

namespace AL = about_layout;

namespace {

void Place(QWidget* widget, const AL::Rect& r) { widget->setGeometry(r.x, r.y, r.w, r.h); }

QLabel* IconPicture(QWidget* parent, const QImage& icon, const AL::Rect& r) {
    auto* picture = new QLabel(parent);
    Place(picture, r);
    picture->setPixmap(QPixmap::fromImage(icon));
    return picture;
}

}  // namespace

const QString& AboutBox::Description() {
    static const QString text = QStringLiteral(
        "Kazoomba is not your grandmother's slot machine!  Kazoomba is a realistic simulation of the new breed of "
        "video slot machines sweeping the U.S.  Unlike traditional slot machines, Kazoomba has nine separate "
        "spinning wheels.  This results in eight separate pay lines.  There are also a variety of bonuses that "
        "actually bring strategy to slot machine play.\n\n"
        "Every dollar here is play money, so bet boldly, borrow freely, and may the FULMINA light up your lines.");
    return text;
}

double AboutBox::TitlePoints(const QString& title) { return title.trimmed().size() > 20 ? 8.0 : 12.0; }

AboutBox::AboutBox(const QImage& icon, QWidget* parent, const QString& product, const QString& version)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowCloseButtonHint) {
    setWindowTitle(QStringLiteral("About ") + product);
    setWindowIcon(QIcon(QPixmap::fromImage(icon)));
    setFixedSize(AL::kClientWidth, AL::kClientHeight);

    auto* left = new QGroupBox(this);
    Place(left, AL::kLeftGroup);
    IconPicture(left, icon, AL::kIcon0)->setObjectName(QStringLiteral("Icon0"));
    IconPicture(left, icon, AL::kIcon1)->setObjectName(QStringLiteral("Icon1"));

    const QString titleText = product + QLatin1Char(' ') + version;
    title_ = new QLabel(titleText, left);
    title_->setObjectName(QStringLiteral("Title"));
    Place(title_, AL::kTitle);
    title_->setAlignment(Qt::AlignHCenter | Qt::AlignTop);
    title_->setFont(GameFont(TitlePoints(titleText)));

    text_ = new QTextEdit(left);
    Place(text_, AL::kText);
    text_->setAcceptRichText(false);
    // Tab moves on to the buttons; the description has no use for a tab character.
    text_->setTabChangesFocus(true);
    text_->setAccessibleName(QStringLiteral("Description"));
    text_->setFont(GameFont(9.75, false));
    QPalette pal = text_->palette();
    pal.setColor(QPalette::Base, QColor(0, 128, 128));
    pal.setColor(QPalette::Text, Qt::white);
    text_->setPalette(pal);

    auto* right = new QGroupBox(this);
    Place(right, AL::kRightGroup);
    auto* program = new QPushButton(QStringLiteral("&Program"), right);
    Place(program, AL::kProgramButton);
    program->setFont(GameFont(9.75));
    connect(program, &QPushButton::clicked, this, &AboutBox::ShowDescription);
    auto* ok = new QPushButton(QStringLiteral("&OK"), right);
    Place(ok, AL::kOkButton);
    ok->setFont(GameFont(9.75));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    // OK holds the focus at first, so Enter closes the box instead of typing into the description.
    ok->setFocus();

    ShowDescription();
    // OK has the keyboard, so a screen reader would name the box and its button and nothing else: what the
    // box shows is its description, read as it opens.
    setAccessibleDescription(titleText + QStringLiteral(". ") + Description());

    ShowFocusRings(*this);
    CentreOnScreen(*this, parent);
}

void AboutBox::ShowDescription() { text_->setPlainText(Description()); }

void ShowAbout(const Graphics& graphics, QWidget* parent) {
    auto* box = new AboutBox(graphics.Icon(), parent);
    box->setWindowTitle(QStringLiteral("About ") + ToQString(TrimBlanks(kazoomba::kGameTitle)));
    OpenModal(box);
}

}  // namespace kazoomba::ui
