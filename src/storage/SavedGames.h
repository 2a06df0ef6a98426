// The saved games of the settings file (ten slots and the game at exit), the window position and the banner text.
#pragma once

#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>
#include <optional>
#include <string_view>

#include "play/Game.h"
#include "ProfileFile.h"

namespace kazoomba {

// The menu choices that travel with a saved game; the main window implements it.
class MenuSelections {
public:
    virtual ~MenuSelections() = default;
    virtual int SpeedIndex() const = 0;   // checked Spin Speed item, 0 to 3
    virtual int BannerIndex() const = 0;  // checked Banner item, 0 = "On", 1 = "Off"
    virtual void SetSpinSpeed(int index) = 0;
    virtual void SetBanner(int index) = 0;
};

inline constexpr int kSlotCount = 10;
inline constexpr int kCurrentGameSlot = 99;
inline constexpr int kGameNameLength = 40;
inline constexpr int kTwipsPerPixel = 15;
inline constexpr std::string_view kCurrentGameName = "Current Game Settings";

// "Saved Game #1" to "Saved Game #10" for slots 0 to 9, "Current Game" for 99, empty for any other.
QString SectionName(int slotIndex);
// The name a slot's button shows when the slot holds none.
QString DefaultGameName(int slotIndex);

// When the file is missing or shorter than 750 bytes, writes the sections and keys of the ten slots
// that it lacks with fresh values; a saved game already there is never touched. False if the file
// could not be written.
bool EnsureSettingsFile(ProfileFile& file);
// Writes the game under the slot with the name cut or padded to 40 characters; false if the file
// could not be written (the old one is then kept, and file.LastError() says why). Coins placed but
// not yet spun are saved as credits: they are counted back into Credits and out of TotalWagers,
// while the game in play keeps its bet.
bool SaveGame(ProfileFile& file, const Game& game, const MenuSelections& menus, int slotIndex,
              const QString& name);
// What SaveGame writes, as one replacement of the file; empty for a slot that does not exist.
std::vector<ProfileWrite> GameWrites(const Game& game, const MenuSelections& menus, int slotIndex,
                                     const QString& name);
// Replaces the game and the menu choices with the slot's; missing or unusable values keep the game's
// own. The file is read once and all of it checked before the game changes. The game in play ("Current
// Game") also brings back the moment of its spin, or why that moment cannot be true, for
// Game::ResumeMoment; a game from one of the ten slots is marked in the game history instead. Returns
// the name read. Every value present that the game cannot take as it is written (no number, more than a
// number, out of range, cut by its read limit) still falls back as above, and `unreadable`, when given, gets a line for each, naming the key, its text, why, and what
// was used instead; for the game in play also a spin's moment kept where the game never reads it.
QString LoadGame(const ProfileFile& file, Game& game, MenuSelections& menus, int slotIndex,
                 QStringList* unreadable = nullptr);

// The game's name for a slot's button: the stored name without blanks around it, or the default.
QString ReadGameName(const ProfileFile& file, int slotIndex);

// The marquee text of the "Settings" section; stored on one line.
QString DefaultBannerText();
QString ReadBannerText(const ProfileFile& file);
bool WriteBannerText(ProfileFile& file, const QString& text);

// Window position, stored in twips. Screen and window sizes and positions are in pixels, the window's
// frame included. A stored edge off the screen's far side, or so far off its near side that no part
// of the window would show, gives the centred edge.
QPoint StartWindowPosition(std::string_view leftText, std::string_view topText, QSize screen, QSize window);
QPoint ReadWindowPosition(const ProfileFile& file, QSize screen, QSize window);
// Whether exit writes the position: the window's left edge inside the screen's width and top inside its height.
bool ExitWritesPosition(QPoint position, QSize screen);
bool WriteWindowPosition(ProfileFile& file, QPoint position, QSize screen);

// Start-up after the new game: the game saved at the last exit, then the window's position; what of
// the game could not be read as written goes to `unreadable` as LoadGame says.
QPoint RestoreAtStart(ProfileFile& file, Game& game, MenuSelections& menus, QSize screen, QSize window,
                      QStringList* unreadable = nullptr);
// Exit: the position, the ten slots, then the game under "Current Game". Without a position (the
// platform cannot tell where the window is) the stored one stays. False if a write failed.
bool SaveAtExit(ProfileFile& file, const Game& game, const MenuSelections& menus, std::optional<QPoint> position,
                QSize screen);
// The game in play under "Current Game" with the moment of its spin, as at every checkpoint; false if
// the write failed.
bool SaveCurrentGame(ProfileFile& file, const Game& game, const MenuSelections& menus);
// The snapshot SaveCurrentGame writes, for a writer that writes it later.
std::vector<ProfileWrite> CurrentGameWrites(const Game& game, const MenuSelections& menus);
// Whether a window on this platform (QGuiApplication::platformName()) can learn its own position:
// a Wayland session cannot.
bool PlatformReportsWindowPosition(QStringView platformName);

}  // namespace kazoomba
