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
            log.append("%-22s %s" % (what + ":", " | ".join(l for l in text.splitlines() if l.strip())))
            return text
        time.sleep(0.1)
    if quiet_fail:
        raise TimeoutError()
    fail("%s: Orca did not say /%s/ within %g s; it said: %r" % (what, pattern, seconds, new_speech()))


def quiet(seconds=0.6):
    """Lets speech settle and forgets it."""
    global heard_upto
    time.sleep(seconds)
    heard_upto = len(said())


def key(*keys, delay=80):
    subprocess.run(["xdotool", "key", "--delay", str(delay)] + list(keys), check=True)


def write_settings(current_game):
    os.makedirs(os.path.dirname(settings), exist_ok=True)
    with open(settings, "w", encoding="latin-1") as f:
        f.write("[Current Game]\r\n")
        for k, v in current_game.items():
            f.write("%s=%s\r\n" % (k, v))


def start_game():
    environment = dict(os.environ, QT_ACCESSIBILITY="1", QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1",
                       QT_QPA_PLATFORM="xcb", QT_SCALE_FACTOR="1", SDL_AUDIODRIVER="dummy")
    process = subprocess.Popen([game_path], env=environment, stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    listen("game window", r"Kazoomba Video Slots \(32-bit version\)", 90)
    return process


def stop_game(process):
    process.terminate()
    try:
        process.wait(10)
    except subprocess.TimeoutExpired:
        process.kill()
    quiet()


def money(text):
    return re.search(r"\$[0-9,]+\.[0-9]{2}", text)


def last_is_dialog(text):
    """Whether the latest thing said is a Payoffs window waiting for Take or Double."""
    return text.rfind("Results dialog") > max(text.rfind("No win"), text.rfind("Credits $"))


def play_out_spin():
    """Spins by Enter and takes every win with Escape until the machine is ready again; returns all said."""
    key("Return")
    said_all = listen("Enter", r"No win|Total won: \$[0-9,.]+")
    while True:
        if last_is_dialog(said_all):
            key("Escape")
            said_all += listen("Escape (take)", r"No win|Total won: \$[0-9,.]+|Credits \$[0-9,.]+\.")
            continue
        # Free bonus spins follow by themselves; the machine is ready when nothing more comes.
        try:
            said_all += listen("more", r"No win|Total won: \$[0-9,.]+", 3.0, quiet_fail=True)
        except TimeoutError:
            return said_all


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
    stop_game(game)

    # The pool and the bonus spins: one Globe line wins the pool, one Smile line brings the bonus spins.
    # They come by chance, often only after dozens of spins at a screen reader's pace, so this part runs
    # when asked for (KAZOOMBA_SPOKEN_POOL_AND_BONUS=1) rather than in every test run.
    if os.environ.get("KAZOOMBA_SPOKEN_POOL_AND_BONUS") != "1":
        print("\n".join(log))
        print("pool and bonus spins not played: set KAZOOMBA_SPOKEN_POOL_AND_BONUS=1 to play them")
        return
    write_settings({"Speed": "0", "Coins": "2", "Smiles": "1", "Bells": "1", "BonusPool": "53.60",
                    "Credits": "5000", "BannerOn": "1"})
    game = start_game()
    quiet(1.5)
    key("b", "b", "b", "b", "b", "b", "b", "b", delay=400)
    listen("B x8", r"Wager \$2\.00")
    pool = bonus = False
    for _ in range(120):
        text = play_out_spin()
        pool = pool or "Bonus pool: $" in text
        if "Bonus Spin" in text:
            bonus = True
            if not re.search(r"Bonus Spin, (2|1) more after this one|Bonus Spin, the last one", text):
                fail("bonus spins heard without the spins left: %r" % text)
        if pool and bonus:
            break
    if not pool:
        fail("no pool win heard in 120 spins")
    if not bonus:
        fail("no bonus spins heard in 120 spins")
    stop_game(game)
    print("\n".join(log))


if __name__ == "__main__":
    main()
