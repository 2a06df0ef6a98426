#!/usr/bin/python3
# A run of auto spins heard through Orca with speech paced like a real voice: switched on and stopped by
# real keys, at the fastest speed. What the run says must fit what a voice can say: no more than one piece a
# spin, nothing left for Orca to drop as a flood, and its summary heard when Escape ends it. The game is
# saved one Globe line from the pool and one Smile line from a SMILE award, and the run goes on until both
# have come: each is heard in full, credits included.
# Usage (inside the session spoken_round_test.sh makes, with KAZOOMBA_PACED_SPEECH=1): spoken_autospin.py GAME ORCA_PID
import os
import re
import time

import spoken_round as sr


def in_file(key, default=0.0):
    try:
        with open(sr.settings, encoding="latin-1") as f:
            found = re.search(r"^%s=([-0-9.]+)" % key, f.read(), re.M)
            return float(found.group(1)) if found else default
    except FileNotFoundError:
        return default


def spins_in_file():
    return int(in_file("Spins"))


# The pool has fallen once PoolPts counts it; a SMILE award sets the Smiles still needed back to six.
def pool_and_smile_came():
    return in_file("PoolPts") > 0 and in_file("Smiles", 1) > 1


def main():
    sr.wait_for_orca()
    sr.write_settings({"Speed": "0", "Coins": "2", "BannerOn": "0", "Credits": "1000", "Bells": "1", "Smiles": "1"})
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
    # A Globe line comes about one paid spin in 27 and a Smile line one in 30: both within a run's 200 spins
    # all but a few times in a thousand.
    end = time.monotonic() + 540
    while spins_in_file() < 30 or not pool_and_smile_came():
        if time.monotonic() > end or spins_in_file() >= 195:
            sr.fail("the run played %d spins in %d s without both the pool and a SMILE award (PoolPts %g, Smiles %g)"
                    % (spins_in_file(), 540 - (end - time.monotonic()), in_file("PoolPts"), in_file("Smiles", 1)))
        time.sleep(0.5)
    # The last of them is heard to its end, as the run goes on.
    ends = (r"Bonus pool: \$[0-9,.]+\.\s+Total won: \$[0-9,.]+\.(\s+Bonus spins won: \d+\.)?\s+Credits \$",
            r"Bonus spins won: 3\.\s+Credits \$[0-9,.]+\.")
    end = time.monotonic() + 60
    while not all(re.search(e, sr.said()[start:]) for e in ends) and time.monotonic() < end:
        time.sleep(0.2)
    run = sr.said()[start:]
    sr.key("Escape")
    ended = r"Auto Spin off\.\s+\d+ spins?, won \$[0-9,.]+, credits \$[0-9,.]+\."
    summary = ""
    for _ in range(4):
        heard = sr.listen("Escape", ended + r"|Results dialog", 30)
        if re.search(ended, heard):
            summary = heard
            break
        # Bonus spins the run won play on after it stops; a win among them waits for the player, who takes it.
        sr.key("Escape")
    if not summary:
        sr.fail("the run's summary was not heard after Escape")
    played = int(re.search(r"Auto Spin off\.\s+(\d+) spin", summary).group(1))
    # Orca says a message a sentence at a time: the sentences after its first begin with a space.
    spoken = [line for line in run.splitlines() if line.strip()]
    utterances = [line for line in spoken if not line[0].isspace()]
    sr.log.append("run of %d spins: %d utterances: %s" % (played, len(utterances), " | ".join(spoken)))
    if played < 30 or played != spins_in_file():
        sr.fail("the summary counted %d spins; the game holds %d" % (played, spins_in_file()))
    if len(utterances) > played + 2:
        sr.fail("%d utterances for %d spins: more than a voice can keep up with" % (len(utterances), played))
    if not any(re.search(r"No win|Won \$", line) for line in spoken):
        sr.fail("no spin of the run was heard")
    pool = re.search(r"Line \d: [^\n]*Globe[^\n]*\n(\s+Line \d: [^\n]*\n)*\s+Bonus pool: \$[0-9,.]+\.\s+Total won: \$[0-9,.]+\.", run)
    if not pool:
        sr.fail("the pool's win was not heard with its lines, the pool and the total")
    if not re.search(r"Line \d: [^\n]*Smile[^\n]*\n(\s+[^\n]*\n)*?\s+Bonus spins won: 3\.\s+Credits \$[0-9,.]+\.", run):
        sr.fail("the SMILE award was not heard with its line and the credits")
    with open(os.path.join(sr.scratch, "orca-debug.log"), errors="replace") as f:
        floods = sum("FLOOD" in line for line in f)
    if floods:
        sr.fail("Orca's log says FLOOD %d times" % floods)
    sr.stop_game(game)
    print("\n".join(sr.log))


if __name__ == "__main__":
    main()
