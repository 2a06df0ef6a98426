#!/usr/bin/python3
# A player with Orca running, by real keys: arrows over Options > Digit Colors and hears each colour's
# mark, "checked" or "not checked", then opens the manual with F1, reads a line, follows a link and goes
# back, hearing each page by its title. Usage: spoken_marks_and_manual.py GAME ORCA_PID (inside the private
# session spoken_round_test.sh makes).
from spoken_round import fail, key, listen, log, quiet, start_game, stop_game, wait_for_orca, write_settings


def main():
    wait_for_orca()
    write_settings({"Speed": "0", "BannerOn": "0"})
    game = start_game()
    quiet(1.5)

    # Options > Digit Colors: Green is marked, the others are not, and each says so.
    key("alt+o")
    listen("Alt+O", r"Bet Amount")
    key("Down")
    listen("Down", r"Digit Colors")
    key("Right")
    listen("Right", r"Blue check box not checked")
    key("Down")
    listen("Down", r"Cyan check box not checked")
    key("Down")
    heard = listen("Down", r"Green check box checked")
    if "not checked" in heard:
        fail("the marked colour was heard as not checked: %r" % heard)
    key("Escape", "Escape", "Escape", delay=300)
    quiet(1.0)

    # The manual: a named window, its page a document read by line, and each new page by its title.
    key("F1")
    listen("F1", r"Kazoomba Manual - Contents frame.*Contents read only document", 20)
    key("Down")
    listen("Down", r"Welcome to Kazoomba")
    key("Tab")
    quiet(1.0)
    key("Return")
    listen("Tab, Enter (a link)", r"Playing a spin read only document")
    key("alt+b")
    listen("Alt+B (Back)", r"Contents read only document")
    key("alt+f")
    listen("Alt+F (Forward)", r"Playing a spin read only document")
    key("Escape")
    quiet(1.0)
    stop_game(game)
    print("\n".join(log))


if __name__ == "__main__":
    main()
