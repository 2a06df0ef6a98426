// Coloured labels.
#include "art/Label.h"

namespace kazoomba::ui {

QLabel* ColouredLabel(QWidget* parent, const QRect& where, const QFont& font, Colour colour, Qt::Alignment alignment) {
    auto* label = new QLabel(parent);
    label->setGeometry(where);
    label->setFont(font);
    label->setAlignment(alignment);
    QPalette pal = label->palette();
    pal.setColor(QPalette::WindowText, PaletteColor(colour));
    label->setPalette(pal);
    return label;
}

}  // namespace kazoomba::ui
