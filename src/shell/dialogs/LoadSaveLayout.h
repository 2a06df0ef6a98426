// Geometry and colours of the load/save dialog, in twips as the dialog was drawn, and in pixels.
#pragma once

#include <QColor>
#include <QRect>
#include <QSize>
#include <array>

namespace kazoomba::loadsave {

inline constexpr int kTwipsPerPixel = 15;
constexpr QRect Twips(int left, int top, int width, int height) {
    return QRect(left / kTwipsPerPixel, top / kTwipsPerPixel, width / kTwipsPerPixel, height / kTwipsPerPixel);
}

// The dialog's size is taken as its client area, so the buttons at its foot are not cut off by a frame.
inline constexpr QSize kDialogSize(4680 / kTwipsPerPixel, 4095 / kTwipsPerPixel);
inline constexpr QRect kNameLabel = Twips(120, 120, 1935, 375);
inline constexpr QRect kNameField = Twips(2160, 120, 2415, 285);
inline constexpr std::array<int, 5> kSlotTops = {600, 1080, 1560, 2040, 2520};
inline constexpr int kSlotLeftColumn = 120;
inline constexpr int kSlotRightColumn = 2400;
constexpr QRect SlotRect(int slot) {
    return Twips(slot < 5 ? kSlotLeftColumn : kSlotRightColumn, kSlotTops[slot % 5], 2175, 375);
}
inline constexpr QRect kCancelButton = Twips(360, 3360, 1695, 495);
inline constexpr QRect kOkButton = Twips(2640, 3360, 1695, 495);

inline constexpr double kTextPoints = 8.25;
inline constexpr double kNameLabelPoints = 9.75;
inline const QColor kBackground(192, 192, 192);
inline const QColor kNameLabelText(0, 0, 255);

}  // namespace kazoomba::loadsave
