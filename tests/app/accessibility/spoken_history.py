#!/usr/bin/python3
# A player with Orca running, by real keys: opens File > Game History over a game with a history of its own
# and hears the window, then each row chosen with the arrows, Home and End as one sentence, and the spin in
# words after Tab. Usage: spoken_history.py GAME ORCA_PID (inside the private session spoken_round_test.sh
# makes).
import os

from spoken_round import fail, key, listen, log, quiet, start_game, stop_game, wait_for_orca, write_settings

# Three spins and a game begun, as the game writes its history: the last won line 8 and the pool.
HISTORY = """Kazoomba game history 1
new 1712345000
spin 1712345100 1202 0 0.25 8 1,9,3,1,1,1,1,1,1 0 0,0,0,0,0,0,0,0 0.00 0.00 0 none - 0.00 0.00 946.25
spin 1712345160 1203 0 0.25 8 6,6,6,1,1,1,1,1,1 0 25,0,0,0,0,0,0,0 0.00 0.00 0 double 3:2,4:3 6.25 0.00 944.25
spin 1712345220 1204 0 0.25 8 1,1,9,1,9,1,9,1,1 0 0,0,0,0,0,0,0,20 0.00 57.00 0 take - 62.00 62.00 1004.25
"""


def main():
    wait_for_orca()
    history = os.path.join(os.environ["XDG_DATA_HOME"], "kazoomba", "game-history.txt")
    os.makedirs(os.path.dirname(history), exist_ok=True)
    with open(history, "w", encoding="utf-8") as f:
        f.write(HISTORY)
    write_settings({"Speed": "0", "BannerOn": "1", "Spins": "1204", "Credits": "1004.25"})
    game = start_game()
    quiet(1.5)

    key("alt+f")
    listen("Alt+F", r"New Game")
    key("Down", "Down", "Down", "Down", delay=300)
    listen("Down x4", r"Game History")
    key("Return")
    listen("Enter (Game History)",
           r"Game History.*Spin 1,204, 8 coins of 25¢, won \$62\.00 on line 8, pool won, credits \$1,004\.25", 20)
    key("Down")
    listen("Down", r"Spin 1,203, 8 coins of 25¢, won \$6\.25 on line 1, doubled and lost, credits \$944\.25")
    key("End")
    listen("End", r"New game")
    key("Up")
    listen("Up", r"Spin 1,202, 8 coins of 25¢, no win, credits \$946\.25")
    key("Home")
    listen("Home", r"Spin 1,204")
    key("Tab")
    listen("Tab (the spin in words)", r"The spin in words")
    key("Escape")
    listen("Escape", r"Kazoomba Video Slots")
    quiet(1.0)
    stop_game(game)
    print("\n".join(log))


if __name__ == "__main__":
    main()
