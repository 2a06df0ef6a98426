// The voice of a window: news told to a screen reader as it happens, through one seam. Where Qt can ask
// for an announcement (6.8 on), the news is announced and the keyboard stays where the player put it;
// before that, it is spoken by handing the keyboard focus between silent controls named with it.
#pragma once

#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QStringList>
#include <QTimer>
#include <QWidget>
#include <QtGlobal>
#include <array>

#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
#define KAZOOMBA_ANNOUNCES 1
#else
#define KAZOOMBA_ANNOUNCES 0
#endif

namespace kazoomba::ui {

class Herald : public QObject {
public:
    // Results and news are said politely, after what the reader is saying; alerts at once.
    enum class Urgency { Polite, Assertive };

    // The voice speaks for `parent`; `greeting` is what it says when the window first comes to the front.
    Herald(const QString& greeting, QWidget& parent);

    // Speaks now when the window is in front with nothing over it; otherwise it joins the news the screen
    // reader hears when the window comes back (the latest few pieces, a piece that a later one repeats
    // and completes only once). News told while the window was away is spoken with the next.
    void Say(const QString& text, Urgency urgency = Urgency::Polite);
    // What the window says when it comes to the front while there is no news.
    void SetGreeting(const QString& text);
    QString LastSaid() const { return lastSaid_; }
    // Whether the keyboard focus is on one of the voices: only where news moves the focus.
    bool HasFocus() const;
    // Gives the keyboard to the voice that holds the latest news, where news moves the focus, unless the
    // player has moved it to a control of the window with Tab: that control has it back.
    void TakeFocus();
    // Where news moves the focus: a control of the window the keyboard is on keeps it, and the news waits
    // for the voice (for a window whose controls the player moves between by choice).
    void LeaveControlsTheFocus() { leaveControls_ = true; }
    // How the news reaches the screen reader here.
    static constexpr bool kAnnounces = KAZOOMBA_ANNOUNCES;
    // The pause after an announcement while news gathers to be said with it (below). The window tests,
    // which read each piece as it is told and do not wait on the real clock, set none.
    static void SetAnnouncementGap(int ms) { AnnouncementGap() = ms; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class HeraldVoice;
    void Heard() { unheard_.clear(); }
    bool Live() const;
    QWidget* PlayersControl() const;
    void Announce();

    static constexpr int kVoices = 7;
    static constexpr int kKeptNews = 4;
    // A screen reader drops the second of two announcements that come within about a tenth of a second:
    // news that comes closer together than this is joined and said as one.
    static constexpr int kAnnouncementGapMs = 300;
    static int& AnnouncementGap() {
        static int ms = kAnnouncementGapMs;
        return ms;
    }
    QWidget& window_;
    const QString restName_;  // a voice's name once its news has been told
    QString lastSaid_;
    QStringList unheard_;  // news since the window was last in front, not yet spoken
    Urgency urgency_ = Urgency::Polite;
    bool greetingUnheard_ = false;  // where news is announced: the greeting waits for the window
    // Where news moves the focus: a ring of voices. A screen reader that falls behind drops all but the
    // last focus change of a burst; the ring is long enough that the last one never lands on the voice it
    // spoke before. The voices are invisible, take no mouse, and are left out of the Tab chain.
    std::array<QWidget*, kVoices> voices_{};
    int current_ = 0;
    bool leaveControls_ = false;
    // Where news is announced: the pause after the last announcement, while news gathers.
    QTimer gap_;
};

}  // namespace kazoomba::ui
