// Where the board's boxes are on its window, for the tests that click, look at or ring them.
#pragma once

#include <QRect>

#include "gamble/BoardWindowLayout.h"

namespace kazoomba::testing {

inline QRect BoxRect(int box) {
    const ui::board_layout::Box b = ui::board_layout::BoxRect(box);
    return QRect(b.x, b.y, b.w, b.h);
}

}  // namespace kazoomba::testing
