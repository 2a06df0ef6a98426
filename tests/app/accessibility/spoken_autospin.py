#!/usr/bin/python3
# A run of auto spins heard through Orca with speech paced like a real voice: switched on and stopped by
# real keys, at the fastest speed. What the run says must fit what a voice can say: no more than one piece a
# spin, nothing left for Orca to drop as a flood, and its summary heard when Escape ends it.
# Usage (inside the session spoken_round_test.sh makes, with KAZOOMBA_PACED_SPEECH=1): spoken_autospin.py GAME ORCA_PID
import os
import re
import time

import spoken_round as sr


def spins_in_file():
    try:
        with open(sr.settings, encoding="latin-1") as f:
            found = re.search(r"^Spins=(\d+)", f.read(), re.M)
            return int(found.group(1)) if found else 0
    except FileNotFoundError:
        return 0


def main():
    sr.wait_for_orca()
    sr.write_settings({"Speed": "0", "Coins": "2", "BannerOn": "0", "Credits": "1000"})
    game = sr.start_game()
    sr.quiet(1.5)
    sr.key("b", "b", "b", "b", "b", "b", "b", "b", delay=400)
    sr.listen("B x8", r"Wager \$2\.00")
    # F10 opens File; Left goes round to Help, then to Auto Play, whose one item is Auto Spin.
    sr.key("F10")
    sr.listen("F10", r"File")
    sr.key("Left", "Left", delay=400)
    sr.quiet(1.0)
    sr.key("Return")
    sr.listen("Auto Spin", r"Win Stop Value", 30)
    sr.key("Return")
    sr.quiet(1.0)
    sr.key("Return")
    start = len(sr.said())
    end = time.monotonic() + 240
    while spins_in_file() < 30:
        if time.monotonic() > end:
            sr.fail("the run played %d spins in 240 s" % spins_in_file())
        time.sleep(0.5)
    run = sr.said()[start:]
    sr.key("Escape")
    summary = sr.listen("Escape", r"Auto Spin off\.\s+\d+ spins?, won \$[0-9,.]+, credits \$[0-9,.]+\.", 30)
    played = int(re.search(r"Auto Spin off\.\s+(\d+) spin", summary).group(1))
    spoken = [line for line in run.splitlines() if line.strip()]
    sr.log.append("run of %d spins: %d utterances: %s" % (played, len(spoken), " | ".join(spoken)))
    if played < 30 or played != spins_in_file():
        sr.fail("the summary counted %d spins; the game holds %d" % (played, spins_in_file()))
    if len(spoken) > played + 2:
        sr.fail("%d utterances for %d spins: more than a voice can keep up with" % (len(spoken), played))
    if not any(re.search(r"No win|Won \$", line) for line in spoken):
        sr.fail("no spin of the run was heard")
    with open(os.path.join(sr.scratch, "orca-debug.log"), errors="replace") as f:
        floods = sum("FLOOD" in line for line in f)
    if floods:
        sr.fail("Orca's log says FLOOD %d times" % floods)
    sr.stop_game(game)
    print("\n".join(sr.log))


if __name__ == "__main__":
    main()
