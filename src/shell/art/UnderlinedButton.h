// A push button that draws its own access-key underline, under the ink of its letter at every scale.
#pragma once

#include <QPainter>
#include <QPushButton>
#include <QStyleOptionButton>
#include <QStylePainter>

namespace kazoomba::ui {

// The style's underline starts at the letter's pen position, left of a round letter's ink, and at
// fractional scales it lands a pixel further off; this one spans exactly the ink of the marked letter.
class UnderlinedButton : public QPushButton {
public:
    using QPushButton::QPushButton;

protected:
    void paintEvent(QPaintEvent*) override {
        QStylePainter p(this);
        QStyleOptionButton option;
        initStyleOption(&option);
        const int mark = text().indexOf(QLatin1Char('&'));
        QString plain = text();
        if (mark >= 0 && mark + 1 < plain.size()) plain.remove(mark, 1);
        option.text.clear();
        p.drawControl(QStyle::CE_PushButton, option);  // the bevel and the focus frame, without the caption
        p.setFont(font());
        p.setPen(palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
        const QFontMetricsF m(font());
        const QRectF box = style()->subElementRect(QStyle::SE_PushButtonContents, &option, this);
        const qreal width = m.horizontalAdvance(plain);
        const QPointF origin(box.center().x() - width / 2, box.center().y() - (m.ascent() + m.descent()) / 2 + m.ascent());
        p.drawText(origin, plain);
        if (mark < 0 || mark >= plain.size() || !(style()->styleHint(QStyle::SH_UnderlineShortcut, &option, this)))
            return;
        const qreal before = m.horizontalAdvance(plain.left(mark));
        const QRectF ink = m.tightBoundingRect(plain.mid(mark, 1)).translated(origin.x() + before, origin.y());
        const qreal thickness = qMax<qreal>(1.0, m.lineWidth());
        p.fillRect(QRectF(ink.left(), origin.y() + m.underlinePos(), ink.width(), thickness), p.pen().color());
    }
};

}  // namespace kazoomba::ui
