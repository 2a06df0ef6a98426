// The Game History window: the spins of the last thousand, newest first; the chosen one's reels as the
// machine showed them at rest with its winning lines, and the spin in words; and the history saved as CSV.
#pragma once

#include <QDialog>
#include <QImage>
#include <QString>
#include <array>
#include <vector>

#include "play/History.h"

class QLabel;
class QListView;
class QPushButton;
class QTextEdit;

namespace kazoomba::ui {

class Graphics;

class HistoryWindow : public QDialog {
    Q_OBJECT
public:
    // The window shows the history as it was when opened.
    HistoryWindow(const kazoomba::GameHistory& history, const Graphics& graphics, QWidget* parent = nullptr);

    QListView* list() const { return list_; }
    // The entry of a row of the list, newest first.
    const kazoomba::HistoryEntry& EntryAt(int row) const;
    int Rows() const { return static_cast<int>(entries_.size()); }
    // The row chosen; -1 with an empty history.
    int ChosenRow() const;
    // The chosen spin's reels, as the window shows them at (kReelsX, kReelsY).
    const QImage& ReelsPicture() const { return reels_; }
    QString WordsText() const;
    QPushButton* SaveButton() const { return save_; }
    QString StatusText() const;

    // A row's texts as its columns show them.
    static std::array<QString, 5> ColumnTexts(const kazoomba::HistoryEntry& entry);
    // The entry in words, as the chosen row's pane tells it: its time, then the spin in full.
    static QString EntryWords(const kazoomba::HistoryEntry& entry);

public slots:
    // "Save as CSV...": asks where, in a window of its own, then writes the whole history there.
    void SaveAsCsv();
    // Writes the history as CSV to `path` and says so under the buttons, or says why it could not.
    bool SaveCsvTo(const QString& path);

protected:
    void paintEvent(QPaintEvent* event) override;
    // Enter presses a button that has the keyboard; in the list or the words it does nothing.
    void keyPressEvent(QKeyEvent* event) override;

private:
    void Choose(int row);
    void DrawReels(const kazoomba::HistoryEntry* entry);
    const std::array<QImage, kStrips>& Strips(bool bonusSet);

    const Graphics& graphics_;
    std::vector<kazoomba::HistoryEntry> entries_;  // oldest first, as the history keeps them
    QListView* list_ = nullptr;
    QTextEdit* words_ = nullptr;
    QPushButton* save_ = nullptr;
    QLabel* status_ = nullptr;
    QImage reels_;
    std::array<std::array<QImage, kStrips>, 2> strips_;  // regular and bonus strips, made when first shown
};

// The File menu's "Game History": the window, modal over the machine, discarded when it closes.
void ShowGameHistory(const kazoomba::GameHistory& history, const Graphics& graphics, QWidget* parent);

}  // namespace kazoomba::ui
