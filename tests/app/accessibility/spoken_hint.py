#!/usr/bin/python3
# A player with Orca running picks a hint box on the Vaz Ivero board, by real keys: the hint's window is
# heard first, and once it is read away, the board's name and the box picked with the winnings; the next
# pick is heard as before. The game starts on a board kept from last time, with box 7 a hint and box 1 the
# 5X multiplier. Usage: spoken_hint.py GAME ORCA_PID (inside the private session spoken_round_test.sh makes).
from spoken_round import fail, key, listen, log, quiet, start_game, stop_game, wait_for_orca, write_settings

BOARD = {
    "Speed": "0", "BannerOn": "0", "Credits": "998.00", "LastBet": "2.00", "TotalWagers": "2.00", "Spins": "1",
    "Coins": "2", "Moment": "Board", "Stops": "6,6,6,1,1,1,1,1,1", "BonusReels": "0", "BonusSpins": "0",
    "SpinWin": "6.25", "LinePays": "25,0,0,0,0,0,0,0", "PoolWon": "0.00", "PoolBells": "0",
    # Box n holds content n - 1 but for box 7, which holds the odd-or-even hint (13).
    "Boxes": "0,1,2,3,4,5,13,6,7,8,9,10,11,12,14", "BoxesOpened": ",".join(["0"] * 15), "Winnings": "6.25",
}


def main():
    wait_for_orca()
    write_settings(BOARD)
    game = start_game(r"Vaz Ivero Board dialog Winnings: \$6\.25")
    quiet(1.5)

    key("7")
    heard = listen("7 (a hint)", r"alert Hint.*odd-numbered boxes")
    if "Box 7" in heard:
        fail("the box was told under its hint's window, where the window covers it: %r" % heard)
    key("Return")
    heard = listen("Enter (hint read)", r"Box 7: Hint\.\s*Winnings: \$6\.25\.")
    if heard.find("Vaz Ivero Board") > heard.find("Box 7: Hint"):
        fail("the box was heard before the board's name: %r" % heard)
    key("1")
    listen("1 (5X)", r"Box 1: 5X\.\s*Winnings: \$31\.25\.")
    key("Escape")
    listen("Escape (quit)", r"Credits \$1,029\.25")
    quiet(1.0)
    stop_game(game)
    print("\n".join(log))


if __name__ == "__main__":
    main()
