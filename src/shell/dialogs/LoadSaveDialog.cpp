// The load/save dialog and the Load and Save menu commands.
#include "dialogs/Placement.h"
#include "dialogs/LoadSaveDialog.h"

#include <QFocusEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "dialogs/LoadSaveLayout.h"
#include "dialogs/Modal.h"
#include "dialogs/SaveFailure.h"
#include "dialogs/UnusableSettings.h"
#include "art/Drawing.h"
#include "access/EntryField.h"
#include "access/FocusRing.h"

namespace kazoomba {

using namespace loadsave;

void GameNameField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    setSelection(0, static_cast<int>(text().trimmed().size()));
}

namespace {

// A name is shown as it stands: an "&" in it must not become an access key.
QString Caption(const QString& name) {
    QString caption = name;
    return caption.replace(u'&', QStringLiteral("&&"));
}

}  // namespace

LoadSaveDialog::LoadSaveDialog(Mode mode, ProfileFile& file, const Game& game, const MenuSelections& menus,
                               QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint),
      mode_(mode), file_(file), game_(game), menus_(menus) {
    setWindowTitle(mode == Mode::Load ? QStringLiteral("Load a Game") : QStringLiteral("Save a Game"));
    setFixedSize(kDialogSize);
    ui::SetLightFace(*this, kBackground);
    setAutoFillBackground(true);
    setFont(ui::GameFont(kTextPoints, true));

    // Created in tab order: the name field, the slots, Cancel, OK.
    nameField_ = new GameNameField(this);
    nameField_->setGeometry(kNameField);
    nameField_->setEnabled(false);
    // The save keeps 40 characters; a field that took more would cut the name without a word.
    nameField_->setMaxLength(kGameNameLength);

    nameLabel_ = new QLabel(QStringLiteral("Name of Game:"), this);
    nameLabel_->setGeometry(kNameLabel);
    nameLabel_->setFont(ui::GameFont(kNameLabelPoints, true));
    QPalette labelPal = nameLabel_->palette();
    labelPal.setColor(QPalette::WindowText, kNameLabelText);
    nameLabel_->setPalette(labelPal);
    nameLabel_->hide();
    // The caption names the field for assistive technology, shown or not.
    nameLabel_->setBuddy(nameField_);
    nameField_->setAccessibleName(QStringLiteral("Name of Game"));
    ui::MakeFieldReadable(*nameField_);

    for (int slot = 0; slot < kSlotCount; ++slot) {
        names_[slot] = ReadGameName(file_, slot);
        auto* button = new QPushButton(Caption(names_[slot]), this);
        button->setGeometry(SlotRect(slot));
        button->setFont(ui::GameFont(kTextPoints, false));
        // Enter belongs to OK; a slot button is pressed by a click or the space bar.
        button->setAutoDefault(false);
        connect(button, &QPushButton::clicked, this, [this, slot] { SlotPressed(slot); });
        slotButtons_[slot] = button;
    }

    cancelButton_ = new QPushButton(QStringLiteral("&Cancel"), this);
    cancelButton_->setGeometry(kCancelButton);
    cancelButton_->setAutoDefault(false);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    okButton_ = new QPushButton(QStringLiteral("&OK"), this);
    okButton_->setGeometry(kOkButton);
    okButton_->setEnabled(false);
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, [this] { OkPressed(); });

    ui::ShowFocusRings(*this);
    ui::CentreOnScreen(*this, parent);
}

void LoadSaveDialog::SlotPressed(int slot) {
    if (mode_ == Mode::Load) {
        loadSlot_ = slot;
        accept();
        return;
    }
    saveSlot_ = slot;
    nameLabel_->show();
    okButton_->setEnabled(true);
    // The field takes the keyboard before the name: a screen reader that hears of a new name in a field
    // first takes that field for the one it is on already, and never says what it is.
    nameField_->setEnabled(true);
    nameField_->setFocus(Qt::OtherFocusReason);
    nameField_->setText(names_[slot]);
    // Selected however the focus came (it may have been in the field already), so typing replaces it.
    if (nameField_->hasFocus()) nameField_->setSelection(0, static_cast<int>(nameField_->text().trimmed().size()));
}

void LoadSaveDialog::OkPressed() {
    const QString name = nameField_->text().trimmed();
    // A save that fails says why and leaves the dialog open, to try again or cancel.
    if (mode_ == Mode::Save && saveSlot_ >= 0 && !name.isEmpty() && !SaveGame(file_, game_, menus_, saveSlot_, name)) {
        TellSaveFailed(file_.LastError(), this);
        return;
    }
    saved_ = mode_ == Mode::Save && saveSlot_ >= 0 && !name.isEmpty();
    accept();
}

void LoadSaveCommand(int index, ProfileFile& file, Game& game, MenuSelections& menus, std::function<void()> loaded,
                     QWidget* parent) {
    if (index != 0 && index != 1) return;
    EnsureSettingsFile(file);
    const auto mode = index == 0 ? LoadSaveDialog::Mode::Load : LoadSaveDialog::Mode::Save;
    ui::OpenModal<LoadSaveDialog>(
        new LoadSaveDialog(mode, file, game, menus, parent),
        [mode, &file, &game, &menus, loaded = std::move(loaded), parent](LoadSaveDialog& dialog, int) {
            if (mode != LoadSaveDialog::Mode::Load) return;
            QStringList unreadable;
            if (const int slot = dialog.ChosenLoadSlot(); slot >= 0) LoadGame(file, game, menus, slot, &unreadable);
            if (loaded) loaded();
            // Told over the game as loaded, so the figures it names are the ones on the machine.
            if (!unreadable.isEmpty()) TellDamagedValues(file.Path(), unreadable, parent);
        });
}

void SaveIntoSlotBeforeQuitting(ProfileFile& file, Game& game, MenuSelections& menus, QWidget* parent,
                                std::function<void(bool saved)> done) {
    EnsureSettingsFile(file);
    ui::OpenModal<LoadSaveDialog>(new LoadSaveDialog(LoadSaveDialog::Mode::Save, file, game, menus, parent),
                                  [done = std::move(done)](LoadSaveDialog& dialog, int) { done(dialog.GameSaved()); });
}

}  // namespace kazoomba
