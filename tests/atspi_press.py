#!/usr/bin/python3
"""Presses the button of the program's window with the given accessible name,
as a screen reader's user or a switch device would: for compositors that take
no input from a test. Waits up to 20 s for the button to appear.
Usage: atspi_press.py APPLICATION BUTTON"""
import sys
import time

import pyatspi

application, name = sys.argv[1:3]


def button():
    for app in pyatspi.Registry.getDesktop(0):
        if app is None or app.name != application:
            continue
        found = pyatspi.findDescendant(
            app, lambda a: a.getRole() == pyatspi.ROLE_PUSH_BUTTON and a.name == name and
            a.getState().contains(pyatspi.STATE_SHOWING))
        if found:
            return found
    return None


deadline = time.monotonic() + 20
while (found := button()) is None:
    if time.monotonic() > deadline:
        sys.exit(f"no button {name!r} shown by {application}")
    time.sleep(0.2)
found.queryAction().doAction(0)
