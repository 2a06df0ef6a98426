#!/usr/bin/python3
# Asks the game one question after another over the accessibility bus (where its window is: a call the
# game itself must answer, nothing cached on this side) while it plays real spins at 8 coins on the
# fastest speed, taking each win. Each answer's time is filed under what the game was doing: a win's
# window up (its sound playing), or the rest of the spin (the reels, and the save after every spin).
import os
import statistics
import subprocess
import sys
import time

import pyatspi

settings = os.path.join(os.environ["XDG_CONFIG_HOME"], "kazoomba", "KAZO.INI")


def key(*keys):
    subprocess.run(["xdotool", "key", "--delay", "60"] + list(keys), check=True)


def game():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower() == "kazoomba":
            return app
    return None


def results_up(app):
    for i in range(app.childCount):
        w = app.getChildAtIndex(i)
        if w is not None and w.getRole() == pyatspi.ROLE_DIALOG:
            return True
    return False


def asked(frame):
    start = time.perf_counter()
    frame.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return (time.perf_counter() - start) * 1000.0


def report(name, samples):
    if not samples:
        print("%-22s no answers" % name)
        return
    s = sorted(samples)
    print("%-22s %5d answers  median %6.2f ms  99%% %6.2f ms  max %6.2f ms  over 50 ms: %d" %
          (name, len(s), statistics.median(s), s[int(len(s) * 0.99) - 1], s[-1], sum(1 for x in s if x > 50.0)))


def main():
    exe, spins = sys.argv[1], int(sys.argv[2])
    os.makedirs(os.path.dirname(settings), exist_ok=True)
    with open(settings, "w", encoding="latin-1") as f:
        f.write("[Current Game]\r\nSpeed=0\r\nCredits=100000\r\nCoins=2\r\n")
    process = subprocess.Popen([exe], stderr=subprocess.DEVNULL)
    frame = None
    for _ in range(200):
        app = game()
        if app is not None and app.childCount > 0:
            frame = app.getChildAtIndex(0)
            break
        time.sleep(0.05)
    if frame is None:
        print("FAIL: the game never came up on the accessibility bus", file=sys.stderr)
        process.kill()
        return 1
    time.sleep(1.0)
    win, spinning = [], []
    wins = 0
    key("b", "b", "b", "b", "b", "b", "b", "b")
    for _ in range(spins):
        key("Return")
        end = time.monotonic() + 2.6
        shown_at = None
        n = 0
        while time.monotonic() < end:
            n += 1
            up = results_up(app) if n % 8 == 0 else shown_at is not None
            if up and shown_at is None:
                shown_at = time.monotonic()
                wins += 1
                end = shown_at + 2.2  # the win sound, at its longest, and a little after
            (win if shown_at is not None else spinning).append(asked(frame))
            time.sleep(0.005)
        if shown_at is not None or results_up(app):
            key("Escape")
            time.sleep(0.2)
    process.terminate()
    process.wait(10)
    played = next((l.split("=")[1].strip() for l in open(settings, encoding="latin-1") if l.startswith("Spins=")), "?")
    print("%d spins asked for, %s played, %d wins, two busy loops and a disk writer beside them" % (spins, played, wins))
    report("a win's window up:", win)
    report("the rest of the spin:", spinning)
    return 0


sys.exit(main())
