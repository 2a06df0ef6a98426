// The image store: every stored picture, rendered once from our SVG art at the screen's pixel ratio.
#pragma once

#include <QImage>
#include <QString>
#include <array>

class QSvgRenderer;

#include "engine/Reels.h"

namespace kazoomba::ui {

// A strip picture is one large symbol wide.
inline constexpr int kStripWidth = 64;

enum ButtonIndex { SpinButton = 0, Bet1Button = 1, Bet8Button = 2 };
enum ButtonState { Raised = 0, Pressed = 1, Greyed = 2 };

class Graphics {
public:
    // Renders the art at the given device pixel ratio (1 on a standard screen, 2 at 200 %).
    explicit Graphics(qreal devicePixelRatio = 1.0);

    qreal ratio() const { return ratio_; }

    // 4 x 3 cells of 64 px on white (strips) and of 32 px on black (pay chart, markers, Payoffs window).
    const QImage& SymbolSheetLarge() const { return sheetLarge_; }
    const QImage& SymbolSheetSmall() const { return sheetSmall_; }

    // The 64 x 1408 strip picture of strip i, built from the strips in force.
    const QImage& SlotWheel(int strip) const { return slotWheel_[strip]; }
    void BuildSlotWheels(const StripSet& strips);
    // The picture of one strip as the wheels show it: its stops from the large symbol sheet, 66 rows apart.
    QImage StripPicture(const std::array<kazoomba::Symbol, kStops>& strip) const;

    const QImage& Digits() const { return digits_; }
    const QImage& Coins() const { return coins_; }
    const QImage& Button(int button, int state) const { return buttons_[button][state]; }
    const QImage& Logo() const { return logo_; }
    const QImage& Icon() const { return icon_; }
    const QImage& BlankSpace() const { return blank_; }
    const QImage& Toilet() const { return toilet_; }

    // A blank picture of the given logical size at the store's ratio.
    QImage NewImage(int w, int h, const QColor& fill) const;

    // True when every art file was found and parsed.
    bool complete() const { return missing_.isEmpty(); }
    const QStringList& missing() const { return missing_; }

private:
    QImage Render(const QString& file, int w, int h, const QColor& background = Qt::transparent);
    void RenderSymbolInto(QImage& target, int code, int cell, const QColor& background);
    // Loads an art file into the renderer, or notes it as missing and returns false.
    bool LoadArt(QSvgRenderer& renderer, const QString& file);

    qreal ratio_;
    QStringList missing_;
    QImage sheetLarge_, sheetSmall_, digits_, coins_, logo_, icon_, blank_, toilet_;
    std::array<QImage, 3> slotWheel_;
    std::array<std::array<QImage, 3>, 3> buttons_;
};

// The symbol art files, indexed by symbol code.
const std::array<const char*, 12>& SymbolFiles();

}  // namespace kazoomba::ui
