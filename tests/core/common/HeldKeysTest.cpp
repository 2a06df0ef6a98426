// Held keys: the event sequences an X server sends for a held key, with and without the toolkit's
// repeat flag, and holds that began in another window.
#include <gtest/gtest.h>

#include <vector>

#include "common/HeldKeys.h"

using namespace kazoomba;

namespace {

constexpr int kEnter = 0x01000004;
constexpr int kB = 0x42;

KeyStroke Press(std::uint64_t t, bool repeat = false, bool ours = true, int key = kEnter) {
    return {KeyEventType::Press, key, t, repeat, ours};
}
KeyStroke Release(std::uint64_t t, bool repeat = false, bool ours = true, int key = kEnter) {
    return {KeyEventType::Release, key, t, repeat, ours};
}

// Counts what a run of strokes does, settling after each one as the window's short wait would
// whenever nothing else came in time (`settleAfterEach`).
struct Tally {
    int pressed = 0;
    int released = 0;
};
Tally Feed(HeldKeys& keys, const std::vector<KeyStroke>& strokes, bool settleAfterEach = false) {
    Tally t;
    for (const KeyStroke& s : strokes) {
        const KeyActs a = keys.Feed(s);
        t.pressed += a.pressed;
        t.released += a.released;
        if (settleAfterEach) t.released += static_cast<int>(keys.Settle().size());
    }
    t.released += static_cast<int>(keys.Settle().size());
    return t;
}

// A key held from `start` for `repeats` repeats 40 ms apart, as X sends it: press, then release and
// press pairs that share a timestamp, then the last release.
std::vector<KeyStroke> Hold(std::uint64_t start, int repeats, bool flagged, bool ours = true, int key = kEnter) {
    std::vector<KeyStroke> s{Press(start, false, ours, key)};
    std::uint64_t t = start + 500;
    for (int i = 0; i < repeats; ++i, t += 40) {
        s.push_back(Release(t, flagged, ours, key));
        s.push_back(Press(t, flagged, ours, key));
    }
    s.push_back(Release(t + 7, false, ours, key));
    return s;
}

}  // namespace

TEST(HeldKeys, AShortPressAndReleaseActsOnce) {
    HeldKeys keys;
    KeyActs a = keys.Feed(Press(1000));
    EXPECT_TRUE(a.pressed);
    EXPECT_TRUE(keys.HeldHere(kEnter));
    a = keys.Feed(Release(1090));
    EXPECT_FALSE(a.released) << "a release waits until no repeat press can follow";
    EXPECT_TRUE(keys.Unsettled());
    EXPECT_EQ(keys.Settle(), std::vector<int>{kEnter});
    EXPECT_FALSE(keys.HeldHere(kEnter));
    EXPECT_TRUE(keys.Settle().empty());
}

TEST(HeldKeys, ALongHoldActsOnceWhetherOrNotTheRepeatsAreFlagged) {
    for (bool flagged : {true, false}) {
        HeldKeys keys;
        const Tally t = Feed(keys, Hold(1000, 75, flagged));
        EXPECT_EQ(t.pressed, 1) << "flagged " << flagged;
        EXPECT_EQ(t.released, 1) << "flagged " << flagged;
    }
}

TEST(HeldKeys, RepeatsFlaggedOnlySometimesStillActOnce) {
    // A busy toolkit flags some pairs and not others.
    HeldKeys keys;
    std::vector<KeyStroke> s{Press(5000)};
    for (int i = 0; i < 40; ++i) {
        s.push_back(Release(5500 + 40 * i, i % 3 == 0));
        s.push_back(Press(5500 + 40 * i, i % 3 == 0));
    }
    s.push_back(Release(9000));
    const Tally t = Feed(keys, s);
    EXPECT_EQ(t.pressed, 1);
    EXPECT_EQ(t.released, 1);
}

TEST(HeldKeys, AReleaseIsKnownRealAtOnceWhenTheNextPressHasItsOwnTime) {
    HeldKeys keys;
    keys.Feed(Press(100));
    keys.Feed(Release(180));
    const KeyActs a = keys.Feed(Press(400));
    EXPECT_TRUE(a.released);
    EXPECT_TRUE(a.pressed);
    EXPECT_TRUE(keys.Settle().empty()) << "the new hold goes on";
    keys.Feed(Release(480));
    EXPECT_EQ(keys.Settle(), std::vector<int>{kEnter});
}

TEST(HeldKeys, ARepeatPressLaterThanTheWaitStillActsNoMoreThanOnce) {
    // Under load the wait may end before the repeat press arrives: the release is taken for real once,
    // and the rest of the hold does nothing.
    HeldKeys keys;
    const Tally t = Feed(keys, Hold(1000, 30, false), /*settleAfterEach=*/true);
    EXPECT_EQ(t.pressed, 1);
    EXPECT_EQ(t.released, 1);
}

TEST(HeldKeys, AHoldThatBeganInADialogDoesNothingHere) {
    // Enter goes down on a dialog, which closes on it; the machine's window then gets the repeats,
    // flagged or not, and the last release.
    for (bool flagged : {true, false}) {
        HeldKeys keys;
        std::vector<KeyStroke> s{Press(2000, false, /*ours=*/false)};
        for (int i = 0; i < 50; ++i) {
            s.push_back(Release(2500 + 40 * i, flagged, i < 2 ? false : true));
            s.push_back(Press(2500 + 40 * i, flagged, i < 2 ? false : true));
        }
        s.push_back(Release(4600));
        const Tally t = Feed(keys, s);
        EXPECT_EQ(t.pressed, 0) << "flagged " << flagged;
        EXPECT_EQ(t.released, 0) << "flagged " << flagged;
        // The next press is the player's own again.
        EXPECT_TRUE(keys.Feed(Press(6000)).pressed);
    }
}

// The hold from the dialog has ended, its release still waiting to be settled, when the key goes down
// again: that press has a time of its own and is the player's, and acts once on its release.
TEST(HeldKeys, APressWithinTheWaitAfterAHoldFromADialogIsANewPress) {
    for (bool flagged : {true, false}) {
        HeldKeys keys;
        std::vector<KeyStroke> s{Press(2000, false, /*ours=*/false)};
        for (int i = 0; i < 10; ++i) {
            s.push_back(Release(2500 + 40 * i, flagged));
            s.push_back(Press(2500 + 40 * i, flagged));
        }
        s.push_back(Release(3000));
        s.push_back(Press(3030));
        s.push_back(Release(3100));
        const Tally t = Feed(keys, s);
        EXPECT_EQ(t.pressed, 1) << "flagged " << flagged;
        EXPECT_EQ(t.released, 1) << "flagged " << flagged;
    }
}

TEST(HeldKeys, AHoldFirstSeenMidwayDoesNothingHere) {
    // The press went to another program; the first the game hears is a repeat pair or the release.
    for (bool flagged : {true, false}) {
        HeldKeys keys;
        const Tally t = Feed(keys, {Release(3000, flagged), Press(3000, flagged), Release(3040, flagged),
                                   Press(3040, flagged), Release(3100)});
        EXPECT_EQ(t.pressed, 0) << "flagged " << flagged;
        EXPECT_EQ(t.released, 0) << "flagged " << flagged;
    }
    HeldKeys keys;
    EXPECT_EQ(Feed(keys, {Press(7000, /*repeat=*/true), Release(7040, true), Press(7040, true), Release(7100)}).released,
              0);
}

TEST(HeldKeys, EveryKeyHasItsOwnHold) {
    HeldKeys keys;
    keys.Feed(Press(100, false, true, kEnter));
    EXPECT_TRUE(keys.Feed(Press(120, false, true, kB)).pressed);
    keys.Feed(Release(200, false, true, kB));
    keys.Feed(Release(300, true, true, kEnter));
    keys.Feed(Press(300, true, true, kEnter));
    EXPECT_EQ(keys.Settle(), std::vector<int>{kB});
    EXPECT_TRUE(keys.HeldHere(kEnter));
}

TEST(HeldKeys, LosingTheKeyboardEndsEveryHoldWithoutActing) {
    HeldKeys keys;
    keys.Feed(Press(100));
    keys.Forget();
    EXPECT_FALSE(keys.HeldHere(kEnter));
    EXPECT_TRUE(keys.Settle().empty());
    // Back in the game with the key still down: its repeats and release do nothing.
    EXPECT_EQ(Feed(keys, {Release(900), Press(900), Release(1000)}).released, 0);
}

TEST(HeldKeys, EventsWithoutATimeFollowTheirFlag) {
    // Events a program makes (tests, assistive tools) carry no time: each press and release counts.
    HeldKeys keys;
    for (int i = 0; i < 3; ++i) {
        EXPECT_TRUE(keys.Feed(Press(0)).pressed);
        EXPECT_FALSE(keys.Feed(Press(0, /*repeat=*/true)).pressed);
        EXPECT_FALSE(keys.Feed(Release(0, /*repeat=*/true)).released);
        EXPECT_TRUE(keys.Feed(Release(0)).released);
    }
    EXPECT_FALSE(keys.Unsettled());
}

// The Return that chose a menu item goes down in the menu and comes up in the window it opened, so its
// release never reaches us; the next Enter, pressed later on the machine, is a new press, not the rest
// of that hold. A press at the very moment of the last event is still taken for a repeat.
TEST(HeldKeys, APressLaterThanAHoldWhoseReleaseWentElsewhereIsANewPress) {
    HeldKeys keys;
    EXPECT_FALSE(keys.Feed(Press(1000, false, false)).pressed);  // in the menu
    const Tally next = Feed(keys, {Press(4000), Release(4090)});
    EXPECT_EQ(next.pressed, 1);
    EXPECT_EQ(next.released, 1);

    HeldKeys ours;
    EXPECT_TRUE(ours.Feed(Press(1000)).pressed);  // a hold of ours whose release went to a dialog
    EXPECT_FALSE(ours.Feed(Press(1000)).pressed) << "the same moment again is no new press";
    const KeyActs again = ours.Feed(Press(2500));
    EXPECT_TRUE(again.pressed);
    EXPECT_FALSE(again.released) << "a release seen nowhere acts nowhere";
    // A hold still going on stays one hold: its repeats come with their releases.
    EXPECT_EQ(Feed(ours, Hold(9000, 20, false)).pressed, 1);
}
