// The banner marquee: the text rendered into a picture and a moving 640-pixel window of it along the top.
#pragma once

#include <QImage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

namespace kazoomba::ui {

class Graphics;

class BannerMarquee : public QObject {
    Q_OBJECT
public:
    // Draws onto `surface` (the main window's picture) and calls `changed` after each step.
    BannerMarquee(QImage& surface, const Graphics& graphics, std::function<void()> changed, QObject* parent = nullptr);

    void SetText(const QString& text);    // renders again at the next tick
    const QString& Text() const { return text_; }
    void StartBanner();
    void StopBanner();                    // stops and blanks the strip
    // Sets the step interval without starting (the window's load with the banner off).
    void UseStepInterval() { timer_.setInterval(kStepMs); }

    // One marquee step; the timer calls it, tests may too.
    void Tick();
    int Offset() const { return offset_; }
    // In window pixels, whatever the scale: the picture holds that many times its pixel ratio.
    int PictureWidth() const { return pictureWidth_; }
    int Interval() const { return timer_.interval(); }
    void Clear();                          // blanks the picture (while its text is being edited)

    static constexpr int kFirstMs = 1500;
    static constexpr int kStepMs = 80;
    static constexpr int kStep = 10;

private:
    void Render();

    QImage& surface_;
    const Graphics& graphics_;
    std::function<void()> changed_;
    QTimer timer_;
    QString text_;
    QImage picture_;
    int pictureWidth_ = 0;
    bool built_ = false;
    int offset_ = 0;
};

}  // namespace kazoomba::ui
