#!/usr/bin/python3
# A player with Orca running, by real keys: the Save dialog's name field heard as a labelled field with the
# whole name, the Payoff Chart's tables row by row, the About box's description as it opens, and the
# symbols on the reels asked for with R. Usage: spoken_info_windows.py GAME ORCA_PID (inside the private
# session spoken_round_test.sh makes).
from spoken_round import fail, key, listen, log, quiet, start_game, stop_game, wait_for_orca, write_settings


def main():
    wait_for_orca()
    write_settings({"Speed": "0", "BannerOn": "0"})
    game = start_game()
    quiet(1.5)

    # The reels at rest, without a spin: the machine starts on FULMINA in the corners and the centre.
    key("r")
    listen("R", r"Row 1: Fulmina, Globe, Fulmina\.\s*Row 2: Globe, Fulmina, Globe\.\s*Row 3: Fulmina, Globe, Fulmina")

    # File > Save: the first slot by Space, a name typed over the one chosen, and the field left and found
    # again with Tab and Shift+Tab; each time the field is named and its whole text heard.
    key("alt+f")
    listen("Alt+F", r"New Game")
    key("Down", "Down", delay=300)
    listen("Down x2", r"Save")
    key("Return")
    # AT-SPI names a push button's role "push button" in 2.46 (Debian 12) and "button" in 2.56 (Debian 13).
    listen("Enter (Save)", r"Save a Game dialog.*Game #1 (push )?button")
    key("space")
    listen("Space (slot 1)", r"Name of Game: text\.\s*Game #1 selected")
    key("O", "r", "c", "a", "space", "t", "e", "s", "t", delay=150)
    quiet(1.5)
    key("Tab")
    listen("Tab", r"Game #1 (push )?button")
    key("shift+Tab")
    heard = listen("Shift+Tab", r"Name of Game: text\.\s*Orca test selected")
    if "Orca tes selected" in heard:
        fail("the name was heard cut short: %r" % heard)
    key("Escape")
    listen("Escape", r"Kazoomba Video Slots")
    quiet(1.0)

    # Help > Payoff Chart opens on the regular table's first row; the arrows and Tab read the rest.
    key("alt+h")
    listen("Alt+H", r"About")
    key("Up")
    listen("Up", r"Payoff Chart")
    key("Return")
    listen("Enter (Payoff Chart)", r"Payoff Chart dialog.*Regular Payoffs.*Three Fulminas: pays 150 coins", 20)
    key("Down", "Down", delay=400)
    listen("Down x2", r"Three Globes: pays 20 coins")
    key("Tab")
    listen("Tab", r"Bonus Payoffs.*Three Targets: pays 100 coins")
    key("End")
    listen("End", r"Any three Bars: pays 10 coins")
    key("Escape")
    listen("Escape", r"Kazoomba Video Slots")
    quiet(1.0)

    # Help > About reads the box's title and description as it opens, and Enter closes it.
    key("alt+h")
    listen("Alt+H", r"About")
    key("Return")
    listen("Enter (About)", r"About Kazoomba Video Slots dialog.*Kazoomba is not your grandmother's slot machine", 20)
    key("Return")
    listen("Enter (OK)", r"Kazoomba Video Slots")
    quiet(1.0)
    stop_game(game)
    print("\n".join(log))


if __name__ == "__main__":
    main()
