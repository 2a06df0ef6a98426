#!/usr/bin/python3
# The player's side of spoken_round_test.sh: with Orca running, plays by real keys sent to the focused
# window and checks what Orca has said at each step, read from speech-dispatcher's transcript.
# Usage: spoken_round.py GAME ORCA_PID (inside the private session the test script makes).
import os
import re
import subprocess
import sys
import time

scratch = os.environ["SCRATCH"]
transcript = os.path.join(scratch, "spoken.txt")
settings = os.path.join(os.environ["XDG_CONFIG_HOME"], "kazoomba", "KAZO.INI")
game_path, orca_pid = sys.argv[1], int(sys.argv[2])
heard_upto = 0  # what has been checked already
orca_log = os.path.join(scratch, "orca-debug.log")
orca_log_upto = 0  # how much of Orca's own log the steps have been through
log = []        # every step with what was said, printed at the end and on failure


def fail(message):
    print("\n".join(log), file=sys.stderr)
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def skip(message):
    print("SKIPPED: " + message, file=sys.stderr)
    sys.exit(77)


def said():
    try:
        with open(transcript, encoding="utf-8", errors="replace") as f:
            return f.read()
    except FileNotFoundError:
        return ""


def new_speech():
    return said()[heard_upto:]


def forget_orca_log():
    global orca_log_upto
    try:
        orca_log_upto = os.path.getsize(orca_log)
    except OSError:
        orca_log_upto = 0


def cut_by_a_key(pattern):
    """What Orca sent to speech since the last step, when it matches pattern and every stop of speech
    among it was for a key press; None otherwise. Orca 48 can take a key press after the window the key
    opened has been named, and stops speech for the key: the name is cut short by Orca itself. A stop
    for anything else, such as a move of the focus, still fails the step."""
    try:
        with open(orca_log, "rb") as f:
            f.seek(orca_log_upto)
            text = f.read().decode("utf-8", "replace")
    except FileNotFoundError:
        return None
    outputs = list(re.finditer(r"^.*? - SPEECH OUTPUT: '(.*)' \{.*$", text, re.M))
    for first in range(len(outputs)):
        spoken = ""
        for last in range(first, len(outputs)):
            spoken += outputs[last].group(1) + "\n"
            if not re.search(pattern, spoken, re.S):
                continue
            # Each stop from the first of these outputs to the next output after the last: the event that
            # led to it is a key press.
            upto = outputs[last + 1].start() if last + 1 < len(outputs) else len(text)
            span = text[outputs[first].start():upto]
            stops = [m.start() for m in re.finditer(r"DEFAULT: Interrupting presentation", span)]
            if stops and all(span.rfind("ATSPI_KEY_PRESSED_EVENT", 0, stop) >
                             span.rfind("FOCUS MANAGER: Changing locus of focus", 0, stop) for stop in stops):
                return spoken
            break
    return None


def listen(what, pattern, seconds=15.0, quiet_fail=False):
    """Waits until Orca has said something matching pattern since the last step; returns all said since."""
    global heard_upto
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        text = new_speech()
        match = re.search(pattern, text, re.S)
        if match:
            time.sleep(0.4)  # what belongs to the same moment
            text = new_speech()
            heard_upto += len(text)
            forget_orca_log()
            log.append("%-22s %s" % (what + ":", " | ".join(l for l in text.splitlines() if l.strip())))
            return text
        time.sleep(0.1)
    cut = cut_by_a_key(pattern)
    if cut is not None:
        text = new_speech()
        heard_upto += len(text)
        forget_orca_log()
        log.append("%-22s %s" % (what + ":", " | ".join(l for l in text.splitlines() if l.strip())))
        log.append("%-22s %s" % ("  (Orca said", " | ".join(cut.splitlines()) + ", and cut it short for a key)"))
        return cut
    if quiet_fail:
        raise TimeoutError()
    fail("%s: Orca did not say /%s/ within %g s; it said: %r" % (what, pattern, seconds, new_speech()))


def quiet(seconds=0.6):
    """Lets speech settle and forgets it."""
    global heard_upto
    time.sleep(seconds)
    heard_upto = len(said())
    forget_orca_log()


def key(*keys, delay=80):
    subprocess.run(["xdotool", "key", "--delay", str(delay)] + list(keys), check=True)


def write_settings(current_game):
    os.makedirs(os.path.dirname(settings), exist_ok=True)
    with open(settings, "w", encoding="latin-1") as f:
        f.write("[Current Game]\r\n")
        for k, v in current_game.items():
            f.write("%s=%s\r\n" % (k, v))


def diagnose(process):
    """What the desktop knew when Orca said nothing: the game, its windows, what Orca heard from it; and
    how many events Orca had from the game."""
    lines = ["game: " + ("running" if process.poll() is None else "ended with %s" % process.returncode)]
    for what, command in (("windows named Kazoomba", ["xdotool", "search", "--name", "Kazoomba"]),
                          ("active window", ["xdotool", "getactivewindow", "getwindowname"])):
        done = subprocess.run(command, capture_output=True, text=True)
        lines.append("%s: %s" % (what, (done.stdout + done.stderr).strip().replace("\n", " | ")))
    for name, keep in (("game.log", 15), ("openbox.log", 5), ("speechd.log", 5)):
        try:
            with open(os.path.join(scratch, name), errors="replace") as f:
                lines += ["%s: %s" % (name, l.rstrip()) for l in f.readlines()[-keep:]]
        except FileNotFoundError:
            lines.append(name + ": none")
    heard = []
    try:
        with open(os.path.join(scratch, "orca-debug.log"), errors="replace") as f:
            heard = [l.rstrip() for l in f if "kazoomba" in l and "EVENT MANAGER" in l]
        lines.append("Orca heard %d events from the game; the last:" % len(heard))
        lines += heard[-8:]
    except FileNotFoundError:
        lines.append("no Orca debug log")
    return "\n".join(lines), len(heard)


def start_game(first_words=r"Kazoomba Video Slots \(32-bit version\)"):
    """Starts the game and waits until Orca has said first_words: the window's title, or a window that the
    game opens at once over it."""
    environment = dict(os.environ, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       QT_QPA_PLATFORM="xcb", QT_SCALE_FACTOR="1", SDL_AUDIODRIVER="dummy")
    with open(os.path.join(scratch, "game.log"), "ab") as errors:
        process = subprocess.Popen([game_path], env=environment, stdout=subprocess.DEVNULL, stderr=errors)
    try:
        listen("game window", first_words, 60, quiet_fail=True)
    except TimeoutError:
        # What a player does when a window comes up unannounced: bring it to the front. A window manager
        # that did not give the new window the keyboard is not the game's fault; a game that has it and
        # says nothing is.
        log.append("Orca said nothing of the game within 60 s:\n" + diagnose(process)[0])
        window = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^Kazoomba Video Slots"],
                                capture_output=True, text=True)
        for found in window.stdout.split()[:1]:
            subprocess.run(["xdotool", "windowactivate", "--sync", found], capture_output=True, timeout=10)
        try:
            listen("game window (raised)", first_words, 20, quiet_fail=True)
        except TimeoutError:
            state, events = diagnose(process)
            if process.poll() is None and events == 0:
                # The game runs, yet not one of its events reached Orca: this desktop's accessibility bus
                # does not join them (the tree itself is checked by the pyatspi tests).
                skip("Orca had no event at all from the running game; what the desktop knew:\n" + state)
            fail("Orca did not say /%s/ of the game, even once raised; it said: %r\n%s"
                 % (first_words, new_speech(), state))
    return process


def stop_game(process):
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()
    quiet()


def menus_open():
    """How many of the game's menus are on the screen."""
    shown = subprocess.run(["xdotool", "search", "--onlyvisible", "--class", "kazoomba"],
                           capture_output=True, text=True)
    return len(shown.stdout.split()) - 1  # the machine's own window


def money(text):
    return re.search(r"\$[0-9,]+\.[0-9]{2}", text)


def last_is_dialog(text):
    """Whether the latest thing said is a Payoffs window waiting for Take or Double."""
    return text.rfind("Results dialog") > max(text.rfind("No win"), text.rfind("Credits $"))


def wait_for_orca():
    """Returns once Orca has said it is on through speech-dispatcher; skips when it cannot start."""
    end = time.monotonic() + 30
    while "Screen reader on" not in said():
        try:
            os.kill(orca_pid, 0)
        except OSError:
            skip("Orca could not start (see its log): " + open(os.path.join(scratch, "orca.log")).read()[-400:])
        if time.monotonic() > end:
            skip("Orca did not speak within 30 s; speech-dispatcher: "
                 + open(os.path.join(scratch, "speechd.log")).read()[-400:])
        time.sleep(0.2)
    quiet(1.0)


def main():
    wait_for_orca()

    # One whole round: a bet, spins until a win, the win doubled, one box, and the board left.
    write_settings({"Speed": "0", "Coins": "2", "BannerOn": "1"})
    game = start_game()
    quiet(1.5)
    key("b")
    listen("B", r"Wager \$0\.25")
    # Coins on every line, so that a win comes soon.
    # Paced as a player would: a screen reader that falls behind drops all but the last news of a burst.
    key("b", "b", "b", "b", "b", "b", "b", delay=400)
    listen("B x7", r"Wager \$2\.00")
    win = None
    for _ in range(60):
        key("Return")
        text = listen("Enter", r"No win|Total won: \$[0-9,.]+")
        if "Total won" in text:
            win = text
            break
    if not win:
        fail("no win in 60 spins")
    if not re.search(r"Line [1-8]: .*\$[0-9.]+", win):
        fail("the win was heard without its lines: %r" % win)
    stake = re.search(r"Total won: (\$[0-9,.]+)", win).group(1)
    key("alt+d")
    board = listen("Double", r"Vaz Ivero Board")
    if "Winnings: " + stake not in board or "5X multiplier" not in board:
        fail("the board opened without its stake %s and its rules: %r" % (stake, board))
    key("7")
    box = listen("box 7", r"Box 7: (5X|3X|2X|Try Again|Losing box)|alert Hint")
    if "alert Hint" in box:
        # A hint speaks for itself; once it is read away the box is told.
        key("Return")
        box = listen("hint closed", r"Box 7: Hint")
    if not money(box):
        fail("box 7 was heard without the winnings: %r" % box)
    key("Escape")
    listen("Escape (quit)", r"Credits \$")
    # A menu opened right after a window closed stays open: the screen reader holds the Alt of Alt+O
    # back until after the O has opened the menu.
    key("alt+o")
    listen("Alt+O", r"Bet Amount")
    time.sleep(0.5)
    if menus_open() < 1:
        fail("the Options menu closed by itself")
    key("Escape", "Escape")
    quiet()
    stop_game(game)

    # The pool and the bonus spins, from a game saved at the moment a spin scored them both: a Smile line
    # on the top row, a Globe line, with the pool one Globe from falling, on the middle one, and Don't
    # Walks below. The game opens with that spin's Payoffs window, and the three bonus spins follow it.
    write_settings({"Speed": "0", "Coins": "2", "Smiles": "6", "Bells": "1", "BonusPool": "53.60",
                    "Credits": "5000", "Spins": "1", "TotalWagers": "2.00", "LastBet": "2.00", "BannerOn": "1",
                    "Moment": "Payoffs", "Stops": "3,3,3,9,9,9,0,0,0", "BonusReels": "0", "BonusSpins": "3",
                    "SpinWin": "62.35", "LinePays": "10,20,5,0,0,0,0,0", "PoolWon": "53.60", "PoolBells": "0"})
    game = start_game(r"Results dialog.*Total won: \$[0-9,.]+")
    won = log[-1]
    for line in ("Line 1: Smile, Smile, Smile, $2.50", "Line 2: Globe, Globe, Globe, $5.00", "Bonus pool: $53.60",
                 "Total won: $62.35"):
        if line not in won:
            fail("the pool win was heard without %r: %r" % (line, won))
    key("Escape")
    heard = listen("Escape (take)", r"Bonus Spin, 2 more after this one", 30)
    # Each bonus spin that wins waits in its Payoffs window; the last one is told as the last.
    for _ in range(12):
        if last_is_dialog(heard):
            key("Escape")
        elif "Bonus Spin, the last one" in heard and re.search(r"No win|Credits \$",
                                                                 heard[heard.rfind("the last one"):]):
            break
        heard += listen("bonus spins", r"Bonus Spin|Results dialog|No win|Credits \$", 30)
    if "Bonus Spin, 1 more after this one" not in heard or "Bonus Spin, the last one" not in heard:
        fail("the bonus spins were heard without the spins left: %r" % heard)
    stop_game(game)
    print("\n".join(log))


if __name__ == "__main__":
    main()
