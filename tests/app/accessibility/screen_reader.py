#!/usr/bin/python3
# Reads the running game through the accessibility bus as a screen reader does: the machine's three
# buttons and their actions, the credits, then a spin pressed through its action and the result it reads.
# With --dump it prints the tree of every window instead, as a listener's tools show it. With --mid-spin it
# presses New Game, Load, Save and a loan while a spin runs, and Spin while the Save dialog is open, and
# checks that the settings file only ever holds settled games.
import os
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

# What a listener has heard: (event type, source name, first detail). States and values are cached on this side of the
# bus and kept fresh by these events, as in a real screen reader.
heard = []


def listen(event):
    heard.append((event.type, event.source.name if event.source else "", event.detail1))


def pump():
    while GLib.MainContext.default().iteration(False):
        pass


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def wait_for(what, find, seconds=20.0):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump()
        found = find()
        if found:
            return found
        time.sleep(0.1)
    fail("no %s after %g s; heard: %s" % (what, seconds, heard))


def settle(seconds):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        pump()
        time.sleep(0.05)


def game():
    desktop = pyatspi.Registry.getDesktop(0)
    for i in range(desktop.childCount):
        app = desktop.getChildAtIndex(i)
        if app is not None and app.name.lower() == "kazoomba":
            return app
    return None


def walk(node, depth=0):
    yield node, depth
    for i in range(node.childCount):
        child = node.getChildAtIndex(i)
        if child is not None:
            yield from walk(child, depth + 1)


# Roles are compared as AT-SPI's numbers: their names are only words for people, and change between
# versions ("push button" became "button").
def find(root, role, name):
    for node, _ in walk(root):
        if node.getRole() == role and node.name == name:
            return node
    return None


def text_of(node):
    try:
        t = node.queryText()
        return t.getText(0, t.characterCount)
    except NotImplementedError:
        return None


def value_of(node):
    try:
        return node.queryValue().currentValue
    except NotImplementedError:
        return None


def actions_of(node):
    try:
        a = node.queryAction()
        return [a.getName(i) for i in range(a.nActions)]
    except NotImplementedError:
        return []


def do_action(node, name):
    a = node.queryAction()
    for i in range(a.nActions):
        if a.getName(i) == name:
            return a.doAction(i)
    fail("%s has no action %s" % (node.name, name))


def unavailable(node):
    return not node.getState().contains(pyatspi.STATE_ENABLED)


def describe(node, depth):
    line = "  " * depth + "[%s] \"%s\"" % (node.getRoleName(), node.name)
    if node.description:
        line += " description=\"%s\"" % node.description
    value = value_of(node)
    if value is not None:
        line += " value=%g" % value
    text = text_of(node)
    if text and text != node.name:
        line += " text=\"%s\"" % text
    actions = actions_of(node)
    if actions:
        line += " actions=" + ",".join(actions)
    if unavailable(node):
        line += " (unavailable)"
    return line


def dump(root):
    for node, depth in walk(root):
        print(describe(node, depth))


def dialog(app, words):
    return next((w for w, _ in walk(app) if w.getRole() == pyatspi.ROLE_DIALOG and words in w.name), None)


# Plays until a spin wins, shows the Payoffs window and the board as read, picks a box and quits.
def dump_board(app, machine):
    do_action(find(find(machine, pyatspi.ROLE_MENU_ITEM, "Sound"), pyatspi.ROLE_CHECK_BOX, "Off"), "Press")
    do_action(find(find(machine, pyatspi.ROLE_MENU_ITEM, "Spin Speed"), pyatspi.ROLE_CHECK_BOX, "Very Fast"), "Press")
    spin, bet = find(machine, pyatspi.ROLE_PUSH_BUTTON, "Spin"), find(machine, pyatspi.ROLE_PUSH_BUTTON, "Bet 8")
    for _ in range(60):
        wait_for("Bet 8 available", lambda: not unavailable(bet))
        do_action(bet, "Press")
        settle(0.3)
        spins = find(machine, pyatspi.ROLE_LABEL, "Spins")
        before = value_of(spins)
        do_action(spin, "Press")
        wait_for("a spin", lambda: value_of(spins) != before)
        payoffs = wait_for("the spin's end", lambda: dialog(app, "Results") or (not unavailable(spin) and "idle"))
        if payoffs != "idle":
            break
    print("== Payoffs window")
    dump(payoffs)
    do_action(find(payoffs, pyatspi.ROLE_PUSH_BUTTON, "Double"), "Press")
    board = wait_for("board", lambda: dialog(app, "Vaz Ivero"))
    print("== Board as it opens")
    dump(board)
    do_action(find(board, pyatspi.ROLE_PUSH_BUTTON, "Box 7"), "Press")
    settle(1.0)
    print("== Board after box 7 was pressed")
    dump(board)
    do_action(find(board, pyatspi.ROLE_PUSH_BUTTON, "Quit"), "Press")
    settle(1.0)
    print("== Main window after the round")
    dump(machine)


def current_game():
    # The game in play as the settings file holds it.
    path = os.path.join(os.environ["XDG_CONFIG_HOME"], "kazoomba", "KAZO.INI")
    values, inside = {}, False
    try:
        with open(path, encoding="latin-1") as f:
            for line in f:
                line = line.strip()
                if line.startswith("["):
                    inside = line == "[Current Game]"
                elif inside and "=" in line:
                    key, value = line.split("=", 1)
                    values.setdefault(key, value.strip())
    except FileNotFoundError:
        pass
    return values


def mid_spin(app, machine):
    do_action(find(find(machine, pyatspi.ROLE_MENU_ITEM, "Sound"), pyatspi.ROLE_CHECK_BOX, "Off"), "Press")
    do_action(find(find(machine, pyatspi.ROLE_MENU_ITEM, "Spin Speed"), pyatspi.ROLE_CHECK_BOX, "Very Fast"), "Press")
    spin, bet = find(machine, pyatspi.ROLE_PUSH_BUTTON, "Spin"), find(machine, pyatspi.ROLE_PUSH_BUTTON, "Bet 8")
    spins = find(machine, pyatspi.ROLE_LABEL, "Spins")
    items = [find(machine, pyatspi.ROLE_MENU_ITEM, name) for name in ("New Game", "Load ", "Save", "Statistics")]
    items.append(find(find(machine, pyatspi.ROLE_MENU_ITEM, "Borrow"), pyatspi.ROLE_MENU_ITEM, "$1000"))
    if None in items:
        fail("a File or Bank item is missing")
    # Spins are played until one wins: its Payoffs window holds the spin half settled for as long as it
    # is open, and that is when File and Bank are pressed. Each press must do nothing.
    played = 0
    for _ in range(60):
        wait_for("Bet 8 available", lambda: not unavailable(bet))
        do_action(bet, "Press")
        settle(0.3)
        before = value_of(spins)
        do_action(spin, "Press")
        played += 1
        wait_for("a spin", lambda: value_of(spins) != before)
        payoffs = wait_for("the spin's end", lambda: dialog(app, "Results") or (not unavailable(spin) and "idle"))
        if payoffs != "idle":
            break
    else:
        fail("no spin won in 60")
    for item in items:
        try:
            item.queryAction().doAction(0)
        except Exception:
            pass  # a window opened by the press would hold the answer back; the check below tells
    settle(0.5)
    for words in ("Save a Game", "Load a Game", "Statistics"):
        if dialog(app, words) is not None:
            fail("the %s window opened mid-spin" % words)
    do_action(find(payoffs, pyatspi.ROLE_PUSH_BUTTON, "Take"), "Press")
    wait_for("the spin's end", lambda: not unavailable(spin), 30.0)
    settle(1.0)
    game = current_game()
    wagered = "%.2f" % (2.0 * played)
    if game.get("Spins") != str(played) or game.get("TotalWagers") != wagered or game.get("Borrowed") != "1000":
        fail("after New Game, Load, Save and Borrow pressed mid-spin the file holds %s; want %d spins, %s wagered, "
             "1000 borrowed" % (game, played, wagered))

    # Spin pressed while the Save dialog is open does nothing; the file still holds the settled game.
    # The dialog runs inside the press, so the press is answered only when the dialog closes.
    try:
        find(machine, pyatspi.ROLE_MENU_ITEM, "Save").queryAction().doAction(0)
    except Exception:
        pass
    save = wait_for("the Save dialog", lambda: dialog(app, "Save a Game"))
    if not unavailable(spin):
        fail("Spin reads available while the Save dialog is open")
    try:
        spin.queryAction().doAction(0)
    except Exception:
        pass  # the game may answer only once the dialog has closed; what counts is that nothing spun
    settle(2.0)
    if value_of(spins) != float(played):
        fail("Spin acted while the Save dialog was open: spins read %s" % value_of(spins))
    do_action(find(save, pyatspi.ROLE_PUSH_BUTTON, "Cancel"), "Press")
    wait_for("the Save dialog closed", lambda: dialog(app, "Save a Game") is None)
    game = current_game()
    if game.get("Spins") != str(played) or game.get("TotalWagers") != wagered:
        fail("after Spin pressed over the Save dialog the file holds %s" % game)
    print("mid-spin presses did nothing; the file holds %s spins, %s wagered" % (game["Spins"], game["TotalWagers"]))


def main():
    # The listener is on the bus before the game starts, so the game knows from its first moment that
    # someone listens.
    pyatspi.Registry.registerEventListener(
        listen, "object:state-changed:enabled", "object:property-change:accessible-value", "object:text-changed")
    pump()
    game_process = subprocess.Popen([sys.argv[1]])
    try:
        read(game_process)
    finally:
        game_process.terminate()
        game_process.wait(10)


def read(game_process):
    app = wait_for("game on the accessibility bus", game)
    if "--dump-all" in sys.argv:
        time.sleep(3)
        dump(app)
        return
    machine = wait_for("main window", lambda: next((w for w, _ in walk(app) if w.getRole() == pyatspi.ROLE_FRAME), None))
    if "--dump" in sys.argv:
        dump(machine)
        return
    if "--dump-board" in sys.argv:
        dump_board(app, machine)
        return
    if "--mid-spin" in sys.argv:
        mid_spin(app, machine)
        return

    # Sound off through its menu, as a listener may: a sound that holds the machine would only slow this.
    sound = find(machine, pyatspi.ROLE_MENU_ITEM, "Sound")
    do_action(find(sound, pyatspi.ROLE_CHECK_BOX, "Off"), "Press")

    buttons = {}
    for name in ("Spin", "Bet 1", "Bet 8"):
        button = find(machine, pyatspi.ROLE_PUSH_BUTTON, name)
        if button is None:
            fail("no button " + name)
        if "Press" not in actions_of(button):
            fail("%s offers %s, not Press" % (name, actions_of(button)))
        buttons[name] = button

    # A display's text is its caption's line, as a review of the window reads it.
    credits = find(machine, pyatspi.ROLE_LABEL, "Credits")
    if credits is None or value_of(credits) != 1000.0 or text_of(credits) != "Credits: $1,000.00":
        fail("credits read %s / %s" % (credits and value_of(credits), credits and text_of(credits)))

    do_action(buttons["Bet 8"], "Press")
    wager = find(machine, pyatspi.ROLE_LABEL, "Wager")
    wait_for("wager of 2.00", lambda: value_of(wager) == 2.0)
    wait_for("credits change heard", lambda: any(e[:2] == ("object:property-change:accessible-value", "Credits")
                                                 for e in heard))

    spin_began = len(heard)
    do_action(buttons["Spin"], "Press")
    result = find(machine, pyatspi.ROLE_LABEL, "Result")
    # A win opens the Payoffs window; it is read and taken by its button, as a listener would. The spin
    # is over when Spin can be pressed again.
    payoffs_read = []

    def settled():
        payoffs = dialog(app, "Results")
        if payoffs is not None:
            total = find(payoffs, pyatspi.ROLE_LABEL, "Total Won")
            if total is None or not text_of(total):
                fail("the Payoffs window does not read its total")
            payoffs_read.append(text_of(total).removeprefix("Total Won: "))
            do_action(find(payoffs, pyatspi.ROLE_PUSH_BUTTON, "Take"), "Press")
            settle(0.5)
            return None
        return not unavailable(buttons["Spin"])
    wait_for("the spin's result", lambda: text_of(result))
    wait_for("the spin's end", settled, 60.0)
    said = text_of(result).removeprefix("Result: ")
    spin_states = [e[2] for e in heard[spin_began:] if e[:2] == ("object:state-changed:enabled", "Spin")]
    if 0 not in spin_states or spin_states[-1] != 1:
        fail("Spin was not told unavailable during the spin and available after it: %s" % spin_states)
    if payoffs_read:
        if not (said.startswith("Line ") and said.endswith("Total won: " + payoffs_read[0] + ".")):
            fail("after a win of %s the result reads: %s" % (payoffs_read[0], said))
    elif said != "No win":
        fail("after a spin without a Payoffs window the result reads: " + said)
    spins = find(machine, pyatspi.ROLE_LABEL, "Spins")
    if value_of(spins) != 1.0:
        fail("spins read %s" % value_of(spins))
    reels = text_of(find(machine, pyatspi.ROLE_LABEL, "Reels"))
    if not reels or not reels.startswith("Reels: Row 1: ") or "Row 3: " not in reels:
        fail("the reels read: %s" % reels)
    print("result: " + said)


if __name__ == "__main__":
    main()
