#!/bin/bash
# The real game on a private X server under a real window manager, driven with real keys through XTEST.
# Usage: desktop_test.sh GAME WM CASE [SCALE], with WM openbox or metacity and CASE one of
#   placement  quit and restart five times: the window comes back within 1 px each time; a stored
#              TopPos above the screen comes back with its title bar on the screen; a window flush against
#              the right edge comes back there, and one partly past it comes back flush against it;
#   held-keys  Enter and B held for 3 s over the machine and over windows opened from it (Statistics,
#              the Payoff Chart, Save, About, Win Stop Value, "Wager Not Allowed", Payoffs), with two busy
#              loops loading the cores: at most one spin or one coin per hold, none from a hold that began
#              in another window;
#   first-key  a window opened from a menu with the keyboard and closed with Escape: the first Enter (or B)
#              after it acts, exactly once, whichever window saw the Return that chose the menu item;
#   history    three spins, then Game History from the File menu by keys alone: the arrows, Home and End
#              choose rows, Tab and the space bar reach Save as CSV..., a file name typed and Enter write
#              the CSV, and Escape closes the window.
# SCALE is the desktop's scale factor, 1 unless given.
# Exits 77 (skipped) with a message when Xvfb, xdotool or the window manager is missing.
set -u
game=$1 wm=$2 case=$3 scale=${4:-1}
for tool in Xvfb xdotool xwininfo "$wm"; do
    if ! command -v "$tool" >/dev/null; then
        echo "SKIPPED: $tool is not installed (scripts/packages.txt [test] lists it)"
        exit 77
    fi
done

scratch=$(mktemp -d)
pids=()
cleanup() {
    for p in "${pids[@]}"; do kill "$p" 2>/dev/null; done
    wait 2>/dev/null
    rm -rf "$scratch"
}
trap cleanup EXIT
export XDG_CONFIG_HOME="$scratch/config" XDG_DATA_HOME="$scratch/data" XDG_RUNTIME_DIR="$scratch/run" SDL_AUDIODRIVER=dummy
export QT_QPA_PLATFORM=xcb
export QT_SCALE_FACTOR=$scale
mkdir -p "$XDG_CONFIG_HOME/kazoomba" "$XDG_RUNTIME_DIR" && chmod 700 "$XDG_RUNTIME_DIR"
ini="$XDG_CONFIG_HOME/kazoomba/KAZO.INI"

# Xvfb picks a free display and writes its number.
Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$scratch/display" 2>/dev/null &
pids+=($!)
for _ in $(seq 100); do [ -s "$scratch/display" ] && break; sleep 0.1; done
export DISPLAY=":$(cat "$scratch/display")"
if [ "$wm" = metacity ]; then metacity --replace >/dev/null 2>&1 & else openbox >/dev/null 2>&1 & fi
pids+=($!)
sleep 1

failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

game_pid=""
start_game() {
    "$game" >"$scratch/game.log" 2>&1 &
    game_pid=$!
    pids+=("$game_pid")
    window=""
    for _ in $(seq 200); do
        window=$(xdotool search --onlyvisible --pid "$game_pid" --name '^Kazoomba Video Slots' 2>/dev/null | head -1)
        [ -n "$window" ] && break
        sleep 0.1
    done
    [ -n "$window" ] || { fail "the game did not open its window"; cat "$scratch/game.log"; exit 1; }
    xdotool windowactivate --sync "$window" >/dev/null 2>&1
    sleep 1.5  # the window manager frames it and the game puts the frame in place
}
# Quits as at the end of a session: the game saves as at exit and closes.
quit_game() {
    kill -TERM "$game_pid"
    wait "$game_pid" 2>/dev/null
}
# Where the client area is once the window has come to rest (a busy window manager frames it late).
client_position() {
    local now before=""
    for _ in $(seq 40); do
        now=$(xwininfo -id "$window" | awk '/Absolute upper-left X/{x=$4} /Absolute upper-left Y/{y=$4} END{print x, y}')
        [ "$now" = "$before" ] && break
        before=$now
        sleep 0.5
    done
    echo "$now"
}
ini_value() { sed -n "s/^$1=//p" "$ini" | tr -d '\r' | head -1; }

if [ "$case" = placement ]; then
    start_game
    read -r x0 y0 < <(client_position)
    echo "first start: client at $x0,$y0"
    quit_game
    for round in 1 2 3 4 5; do
        start_game
        read -r x y < <(client_position)
        echo "restart $round: client at $x,$y; LeftPos=$(ini_value LeftPos) TopPos=$(ini_value TopPos)"
        if [ $((x - x0)) -gt 1 ] || [ $((x0 - x)) -gt 1 ] || [ $((y - y0)) -gt 1 ] || [ $((y0 - y)) -gt 1 ]; then
            fail "restart $round put the window at $x,$y, not $x0,$y0"
        fi
        quit_game
    done
    # A place with the title bar above the screen: the whole window comes back on screen.
    sed -i 's/^TopPos=.*/TopPos=-600/; s/^LeftPos=.*/LeftPos=1500/' "$ini"
    start_game
    read -r x y < <(client_position)
    echo "from TopPos=-600: client at $x,$y"
    [ "$y" -gt 0 ] || fail "the client area starts at y = $y, its title bar is off the screen"
    quit_game
    [ "$(ini_value TopPos)" -ge 0 ] || fail "TopPos $(ini_value TopPos) was written back off the screen"

    # Flush against the right edge, and partly past it: the frame's right edge comes back on the screen's.
    screen_width=$(xwininfo -root | awk '/Width/{print $2}')
    start_game
    width=$(xwininfo -id "$window" | awk '/Width/{print $2}')
    read -r left right < <(xprop -id "$window" _NET_FRAME_EXTENTS | sed 's/.*= //; s/,//g' | awk '{print $1, $2}')
    quit_game
    for past in 0 60; do
        frame_left=$(awk -v s="$screen_width" -v w="$width" -v l="${left:-0}" -v r="${right:-0}" -v k="$scale" -v p="$past" \
            'BEGIN{printf "%d", ((s - w - l - r) / k + p) * 15}')
        sed -i "s/^LeftPos=.*/LeftPos=$frame_left/; s/^TopPos=.*/TopPos=1500/" "$ini"
        start_game
        read -r x y < <(client_position)
        edge=$((x + width + ${right:-0}))
        echo "flush right, $past px past the edge: client at $x,$y, frame's right edge at $edge of $screen_width"
        [ $((edge - screen_width)) -le 1 ] && [ $((screen_width - edge)) -le 1 ] ||
            fail "$past px past the right edge came back with the frame's right edge at $edge, not $screen_width"
        quit_game
    done
fi

if [ "$case" = held-keys ] || [ "$case" = first-key ] || [ "$case" = history ]; then
    # Two busy loops load the cores, as a build beside the game would, where keys are held.
    if [ "$case" != history ]; then
        for _ in 1 2; do (while :; do :; done) & pids+=($!); done
    fi
    # The game writes its state after every settled spin: the file tells what happened, and when.
    current() { awk -v k="$1" '/^\[Current Game\]/{f=1; next} /^\[/{f=0} f && index($0, k "=") == 1 {print substr($0, length(k) + 2)}' "$ini" 2>/dev/null | tr -d '\r'; }
    state() { echo "Spins=$(current Spins) TotalWagers=$(current TotalWagers)"; }
    # A spin may win, and its win waits in the Payoffs window; it may award bonus spins that play on.
    # Counting taken bets (TotalWagers) tells a leaked spin from a bonus spin, and settle() takes any
    # win the way a player would (Escape takes it) until the machine is at rest.
    wait_wagers() {  # amount: until the file shows that much wagered, or 30 s
        for _ in $(seq 300); do [ "$(current TotalWagers)" = "$1" ] && return 0; sleep 0.1; done
        return 1
    }
    settle() {
        for _ in $(seq 600); do
            local results
            results=$(xdotool search --onlyvisible --name ' Results$' 2>/dev/null | head -1)
            if [ -n "$results" ]; then
                sleep 0.5; xdotool windowactivate --sync "$results" >/dev/null 2>&1; xdotool key Escape; sleep 1
            elif [ "$(current Moment)" = Idle ]; then
                return 0
            fi
            sleep 0.1
        done
        fail "the machine did not come to rest: $(state)"
    }
    wait_window() {  # title: until a window of that name shows, or 10 s
        for _ in $(seq 100); do xdotool search --onlyvisible --name "$1" >/dev/null 2>&1 && return 0; sleep 0.1; done
        fail "the window \"$1\" did not open"
        return 1
    }
    hold() { xdotool keydown "$1"; sleep "$2"; xdotool keyup "$1"; sleep 1; }
    fresh_game() { rm -f "$ini"; start_game; }
fi

if [ "$case" = first-key ]; then
    # The Return that chooses a menu item goes down in the menu and comes up in the window it opens; the
    # machine never sees that release. The player's next Enter must still spin, once.
    fresh_game
    wagered=0
    for opened in "alt+h Up Return:Payoff Chart" "alt+f Down Down Down Return:Game Statistics" \
                  "alt+h Return:About Kazoomba" "alt+f Down Down Return:Save a Game" \
                  "alt+f Down Down Down Down Return:Game History"; do
        keys=${opened%%:*} name=${opened##*:}
        xdotool key b
        sleep 0.5
        xdotool key --delay 200 $keys
        wait_window "$name" || continue
        xdotool key Escape
        sleep 1
        xdotool key Return
        wagered=$(awk -v w="$wagered" 'BEGIN { printf "%.2f", w + 0.25 }')
        wait_wagers "$wagered" || fail "the first Enter after \"$name\" did not spin: $(state)"
        settle
        sleep 2  # time for a second spin the same Enter might start
        settle
        [ "$(current TotalWagers)" = "$wagered" ] || fail "one Enter after \"$name\" spun more than once: $(state)"
        echo "Enter after \"$name\" closed: $(state)"
    done
    # B, the other key the machine takes: the first B after a window from the menu places a coin.
    xdotool key --delay 200 alt+h Up Return
    if wait_window "Payoff Chart"; then
        xdotool key Escape
        sleep 1
        xdotool key b Return
        wagered=$(awk -v w="$wagered" 'BEGIN { printf "%.2f", w + 0.25 }')
        wait_wagers "$wagered" || fail "the first B after the Payoff Chart did not bet: $(state)"
        settle
    fi
    quit_game
    echo "after every window: $(state)"
    [ "$(current TotalWagers)" = "$wagered" ] || fail "keys after windows from the menu: $(state), want $wagered wagered"
fi

if [ "$case" = history ]; then
    fresh_game
    wagered=0
    for spin in 1 2 3; do
        xdotool key b Return
        wagered=$(awk -v w="$wagered" 'BEGIN { printf "%.2f", w + 0.25 }')
        wait_wagers "$wagered" || fail "spin $spin did not start: $(state)"
        settle
    done
    history="$XDG_DATA_HOME/kazoomba/game-history.txt"
    [ "$(grep -c '^spin ' "$history" 2>/dev/null)" = 3 ] || fail "the history file does not hold the three spins"
    xdotool key --delay 200 alt+f Down Down Down Down Return
    if wait_window "^Game History$"; then
        xdotool key --delay 200 End Home Down Up
        # The list, the spin in words, then Save as CSV...: the space bar presses it.
        xdotool key --delay 200 Tab Tab space
        if wait_window "^Save the Game History as CSV$"; then
            sleep 1
            xdotool key ctrl+a
            xdotool type --delay 20 "$scratch/spins.csv"
            xdotool key Return
            for _ in $(seq 50); do [ -s "$scratch/spins.csv" ] && break; sleep 0.1; done
        fi
        rows=$(grep -c '^spin,' "$scratch/spins.csv" 2>/dev/null)
        [ "$(head -1 "$scratch/spins.csv" 2>/dev/null | tr -d '\r')" = "entry,time,spin,bonus spin,coin value,coins,bet,reels,winning lines,pool grown,pool won,bonus spins won,choice,boxes opened,won,paid,credits,game loaded" ] ||
            fail "the CSV has no header row"
        [ "$rows" = 3 ] || fail "the CSV holds $rows spins, not 3"
        sleep 0.5
        xdotool key Escape
        sleep 1
        xdotool search --onlyvisible --name "^Game History$" >/dev/null 2>&1 && fail "Escape left Game History open"
    fi
    quit_game
    echo "three spins, their history read by keys and saved as CSV: $(state)"
fi

if [ "$case" = held-keys ]; then

    # Over the machine: one hold of B places one coin; one hold of Enter spins once.
    fresh_game
    hold b 3
    xdotool key Return
    wait_wagers 0.25 && settle
    sleep 3  # time for any further spin a held key might start
    settle
    quit_game
    s=$(state); echo "B held 3 s over the machine, then Enter: $s"
    [ "$(current TotalWagers)" = 0.25 ] || fail "B held 3 s over the machine: $s, want one coin spun once"
    start_game
    hold Return 3
    wait_wagers 0.50 && settle
    sleep 3
    settle
    quit_game
    s=$(state); echo "then Enter held 3 s over the machine: $s"
    [ "$(current TotalWagers)" = 0.50 ] || fail "Enter held 3 s over the machine: $s, want one more spin"

    # Over windows opened from the machine. A B hold that began there and goes on over the machine
    # places nothing (the quick Enter after it then finds no bet to spin); an Enter hold that closes the
    # window spins nothing.
    for opened in "alt+f Down Down Down Return:Game Statistics" "alt+h Down Down Return:Payoff Chart" \
                  "alt+f Down Down Return:Save a Game" "alt+h Return:About Kazoomba"; do
        keys=${opened%%:*} name=${opened##*:}
        fresh_game
        xdotool key --delay 200 $keys
        wait_window "$name"
        xdotool keydown b; sleep 1; xdotool key Escape; sleep 2; xdotool keyup b; sleep 1
        xdotool key Return
        sleep 3
        xdotool key b Return  # one coin, one spin: now there is a last bet for a leaked Enter to repeat
        wait_wagers 0.25 && settle
        xdotool key --delay 200 $keys
        wait_window "$name"
        hold Return 3
        sleep 3
        xdotool key Escape
        quit_game
        s=$(state); echo "B and Enter held over \"$name\": $s"
        [ "$(current TotalWagers)" = 0.25 ] || fail "a hold that began over \"$name\" reached the machine: $s"
    done

    # Win Stop Value, shown as auto spin is switched on: an Enter hold that closes it must not start the run.
    fresh_game
    xdotool key b Return
    wait_wagers 0.25 && settle
    xdotool key --delay 200 F10 Left Left Return  # Auto Play > Auto Spin
    if wait_window "Win Stop Value"; then
        hold Return 3
        sleep 5
        xdotool search --onlyvisible --name "Win Stop Value" >/dev/null 2>&1 && fail "Enter held 3 s left Win Stop Value open"
    fi
    quit_game
    s=$(state); echo "Enter held over \"Win Stop Value\": $s"
    [ "$(current TotalWagers)" = 0.25 ] || fail "an Enter hold that closed \"Win Stop Value\" started auto spins: $s"

    # "Wager Not Allowed", from a coin beyond the credits: an Enter hold that closes it must not spin the
    # four coins placed, and a B hold that began over it must not try another (which brings it back).
    rm -f "$ini"
    printf '%s\r\n' "[Current Game]" Credits=1.00 Coins=2 >"$ini"
    start_game
    xdotool key --delay 200 b b b b b
    if wait_window "Wager Not Allowed"; then
        hold Return 3
        sleep 3
        xdotool key b
        if wait_window "Wager Not Allowed"; then
            xdotool keydown b; sleep 1; xdotool key Escape; sleep 2; xdotool keyup b; sleep 2
            xdotool search --onlyvisible --name "Wager Not Allowed" >/dev/null 2>&1 &&
                fail "a B hold that began over \"Wager Not Allowed\" placed a coin over the machine"
        fi
    fi
    quit_game
    s=$(state); echo "B and Enter held over \"Wager Not Allowed\": $s"
    [ "$(current TotalWagers)" = 0.00 ] || fail "an Enter hold that closed \"Wager Not Allowed\" spun: $s"

    # The Payoffs window of a win kept at exit: an Enter hold takes the win once and spins nothing.
    rm -f "$ini"
    printf '%s\r\n' "[Current Game]" Speed=0 Credits=5000 Spins=1 TotalWagers=2.00 LastBet=2.00 Coins=2 Smiles=6 \
        Bells=1 BonusPool=53.60 Moment=Payoffs Stops=3,3,3,9,9,9,0,0,0 BonusReels=0 BonusSpins=0 SpinWin=62.35 \
        LinePays=10,20,5,0,0,0,0,0 PoolWon=53.60 PoolBells=0 >"$ini"
    start_game
    if wait_window " Results$"; then
        hold Return 3
        sleep 3
    fi
    quit_game
    s="$(state) Credits=$(current Credits)"; echo "Enter held over the Payoffs window: $s"
    [ "$(current TotalWagers)" = 2.00 ] && [ "$(current Credits)" = 5062.35 ] ||
        fail "an Enter hold over the Payoffs window: $s, want the win taken once and no spin"
fi

[ "$failures" -eq 0 ] || { echo "$failures failure(s)"; exit 1; }
echo "PASS"
