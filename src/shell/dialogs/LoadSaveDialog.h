// The dialog with ten slot buttons that loads or saves a named game, and the File menu's Load and Save.
#pragma once

#include <QDialog>
#include <QLineEdit>
#include <array>
#include <functional>

#include "play/Game.h"
#include "ProfileFile.h"
#include "SavedGames.h"

class QLabel;
class QPushButton;

namespace kazoomba {

// The name field: whenever it takes the focus its name is selected, so typing replaces it.
class GameNameField : public QLineEdit {
    Q_OBJECT
public:
    using QLineEdit::QLineEdit;

protected:
    void focusInEvent(QFocusEvent* event) override;
};

class LoadSaveDialog : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Load, Save };
    LoadSaveDialog(Mode mode, ProfileFile& file, const Game& game, const MenuSelections& menus,
                   QWidget* parent = nullptr);

    Mode DialogMode() const { return mode_; }
    int ChosenLoadSlot() const { return loadSlot_; }  // -1 while none was chosen
    int ChosenSaveSlot() const { return saveSlot_; }
    bool GameSaved() const { return saved_; }
    QString SlotName(int slot) const { return names_[slot]; }

    QPushButton* SlotButton(int slot) const { return slotButtons_[slot]; }
    QLineEdit* NameField() const { return nameField_; }
    QLabel* NameLabel() const { return nameLabel_; }
    QPushButton* OkButton() const { return okButton_; }
    QPushButton* CancelButton() const { return cancelButton_; }

private:
    void SlotPressed(int slot);
    void OkPressed();

    Mode mode_;
    ProfileFile& file_;
    const Game& game_;
    const MenuSelections& menus_;
    int loadSlot_ = -1;
    int saveSlot_ = -1;
    bool saved_ = false;
    std::array<QString, kSlotCount> names_;
    std::array<QPushButton*, kSlotCount> slotButtons_{};
    QLabel* nameLabel_ = nullptr;
    GameNameField* nameField_ = nullptr;
    QPushButton* okButton_ = nullptr;
    QPushButton* cancelButton_ = nullptr;
};

// The File menu's "Load " (index 0) and "Save" (index 1): makes sure the ten slots exist and opens the
// dialog; once it closes after Load, loads the chosen slot, tells any value of it that could not be read,
// and `loaded` follows whether or not one was chosen (the window redraws). The file, the game and the
// menu selections must outlive the dialog.
void LoadSaveCommand(int index, ProfileFile& file, Game& game, MenuSelections& menus, std::function<void()> loaded,
                     QWidget* parent);
// The Save dialog as the last question when the game closes; `done` follows its answer, with true when
// the game was saved into a slot. The file, the game and the selections must outlive the dialog.
void SaveIntoSlotBeforeQuitting(ProfileFile& file, Game& game, MenuSelections& menus, QWidget* parent,
                                std::function<void(bool saved)> done);

}  // namespace kazoomba
