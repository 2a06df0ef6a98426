// The two widgets of the machine's face: the view that shows the off-screen surface, and the picture
// buttons Spin, Bet 1 and Bet 8.
#pragma once

#include <QImage>
#include <QWidget>
#include <functional>

namespace kazoomba::ui {

// The client area: shows the off-screen surface the game draws into.
class MachineView : public QWidget {
public:
    MachineView(const QImage& surface, QWidget* parent);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const QImage& surface_;
};

// What a picture button does with the mouse and a screen reader's press; the window decides.
struct PictureButtonActions {
    std::function<void()> press;      // the mouse button went down over it
    std::function<void()> release;    // the mouse button came up, over it or not
    std::function<void()> command;    // a click: released over the button
    std::function<bool()> available;  // whether a screen reader's press may act now
};

// A picture control showing one of three stored pictures: raised, pressed or greyed. Tab reaches it, and
// Space presses it as the mouse does: down on the press, the command on the release of that press.
class PictureButton : public QWidget {
public:
    PictureButton(const QString& name, PictureButtonActions actions, QWidget* parent);

    void SetPicture(const QImage& image, int state);
    int state() const { return state_; }

protected:
    void paintEvent(QPaintEvent*) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;
    void focusOutEvent(QFocusEvent* e) override;

private:
    PictureButtonActions actions_;
    bool spaceDown_ = false;  // Space went down here: its release is a press of the button
    QImage image_;
    int state_ = 0;
};

}  // namespace kazoomba::ui
