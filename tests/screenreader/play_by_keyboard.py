#!/usr/bin/python3
"""Plays a short game of the desktop program by keyboard alone and reads it as a screen
reader does, through the accessibility bus (AT-SPI), on a private virtual screen.

It buys a property, sells and buys it back until the police fine the fourth sale, waits for a
headline, and ends the game through File > Quit and Replay, answering every box by its keys.
On the way it prints every announcement the program makes (a notification appearing, or an
announcement event where Qt sends one) and every box it reads, and it fails unless a headline,
the fine and the end of the game were each announced exactly once, in the words the screen
shows them.

    /usr/bin/python3 tests/screenreader/play_by_keyboard.py [--probe DIR] [build/realtopia]

DIR holds gui-probe's atspi_driver.py (the environment variable GUI_PROBE names it too). See
README.md beside this file for the packages it needs.
"""
import argparse
import os
import sys
import tempfile
import time


def parse_arguments():
    parser = argparse.ArgumentParser(description=__doc__.split("\n\n")[0])
    parser.add_argument("program", nargs="?", default="build/realtopia")
    parser.add_argument("--probe", default=os.environ.get("GUI_PROBE", ""),
                        help="the directory of gui-probe's atspi_driver.py")
    return parser.parse_args()


ARGS = parse_arguments()
if ARGS.probe:
    sys.path.insert(0, ARGS.probe)
from atspi_driver import Session, states  # noqa: E402
import atspi_driver  # noqa: E402

HEARD = []  # (role, text) of every announcement, in order


def listen():
    """Registers for what a screen reader speaks without the focus moving there."""
    Atspi = atspi_driver.Atspi

    def on_event(event):
        try:
            source = event.source
            role = source.get_role_name()
            if event.type.startswith("object:state-changed:showing"):
                if event.detail1 != 1 or role != "notification":
                    return
                text = source.get_name()
            else:  # object:announcement (Qt 6.8 and later)
                text = event.any_data if isinstance(event.any_data, str) else source.get_name()
            HEARD.append((role, text))
            print(f"  >> announced: {text!r}", flush=True)
        except Exception:  # a node gone (a closed box) before its event was read: not a notice
            pass

    listener = Atspi.EventListener.new(on_event)
    listener.register("object:state-changed:showing")
    listener.register("object:announcement")
    return listener


def pump(seconds):
    """Lets the accessibility bus deliver its events for a while."""
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        atspi_driver._pump()
        time.sleep(0.05)


# What the ticker says that is not a headline.
NOT_HEADLINES = ("Press PLAY to start", "It is January", "End of the game", "Redeeming")


def ticker_text(app):
    """The ticker as a screen reader reads it: a text named by the headline it shows."""
    for node in app.find_all(role="label"):
        try:
            if node.get_description() == "News ticker":
                return node.get_name()
        except Exception:
            continue
    return None


def heard(text):
    return sum(1 for _, said in HEARD if said == text)


def answer_boxes(app, until=None, timeout=8.0):
    """Reads each box as it comes and answers it with Enter, or with Esc (No) when it asks
    `until`; returns once no box comes within `timeout` or `until` was answered."""
    while True:
        box = app.message_box(timeout)
        if box is None:
            return False
        info = app.message_box_info(box)
        print(f"  box {info['title']!r}: {info['text']!r} {info['buttons']}", flush=True)
        asked = until is not None and until in info["text"]
        app.press_key("Escape" if asked else "Return")
        if asked:  # No: the program ends
            app.wait_for(lambda: app.proc.poll() is not None, 10, "the program to end")
            pump(0.3)
            return True
        pump(0.5)


def main():
    failures = []
    with Session() as session, tempfile.TemporaryDirectory() as data:
        app = session.start_app([ARGS.program], env={"XDG_DATA_HOME": data})
        listener = listen()  # noqa: F841 (kept alive while the game runs)

        print("Splash: Enter (PLAY!), agreement: Enter (I AGREE)")
        app.press_key("Return")
        box = app.message_box(10)
        print(f"  window {box.get_name()!r}")
        app.press_key("Return")
        app.wait_for(lambda: app.message_box() is None, 10, "the agreement to close")
        app.wait_for(lambda: app.find("list", "Properties for Sale"), 10, "the main window")
        pump(0.5)

        print("Esc: PLAY")
        app.press_key("Escape")
        pump(0.5)

        forsale = app.find("list", "Properties for Sale")
        portfolio = app.find("list", "Your Portfolio")
        print("Alt+P, Home, F6: buy the first property for sale")
        app.press_key("alt+p")
        app.press_key("Home")
        name = app.rows(forsale)[0][0]
        app.press_key("F6")
        pump(0.5)
        owned = [text for text, _ in app.rows(app.find("list", "Your Portfolio"))]
        print(f"  bought {name!r}; the portfolio reads {owned}")
        if not owned or owned[0] != name:
            failures.append("the purchase did not reach the portfolio")

        print("Alt+Y, Home, F6 / Alt+P, Home, F6: sell it and buy it back until the police come")
        fine = None
        for sale in range(1, 5):
            app.press_key("alt+y")
            app.press_key("Home")
            app.press_key("F6")
            if sale == 4:
                police = app.message_box(5)
                if police is None:
                    failures.append("no police window at the fourth sale")
                    break
                info = app.message_box_info(police)
                fine = "\n".join(line for line in info["text"].split("\n")
                                 if line and line != "POLICE MESSAGE")
                print(f"  police window {info['title']!r}: {info['text']!r}")
                pump(0.5)
                app.press_key("Return")
                app.wait_for(lambda: app.message_box() is None, 5, "the police window to close")
                break
            pump(0.3)
            app.press_key("alt+p")
            app.press_key("Home")
            app.press_key("F6")
            pump(0.3)
        print("Waiting for a headline (one every eighth month)")
        end = time.monotonic() + 40
        headline = None
        while time.monotonic() < end and headline is None:
            pump(0.5)
            shown = ticker_text(app)
            if shown and not shown.startswith(NOT_HEADLINES):
                headline = shown
                print(f"  the ticker reads {headline!r}")
        pump(1.0)

        print("Alt+F, Q: Quit and Replay; every box read and answered, No to another game")
        app.press_key("alt+f")
        app.press_key("q")
        pump(0.5)
        answer_boxes(app, until="Another Game?")
        pump(1.0)

    print("\nEverything announced:")
    for role, text in HEARD:
        print(f"  [{role}] {text!r}")
    if headline is None or heard(headline) != 1:
        failures.append(f"a headline was not announced once (heard {headline!r})")
    if fine is None or sum(1 for _, said in HEARD if said.replace("\n", " ") ==
                           fine.replace("\n", " ")) != 1:
        failures.append(f"the fine was not announced once as shown ({fine!r})")
    if heard("End of the game") != 1:
        failures.append("the end of the game was not announced once")
    for failure in failures:
        print(f"FAIL: {failure}")
    print("PASS" if not failures else "")
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
