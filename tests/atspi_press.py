#!/usr/bin/python3
"""Presses the button of Corvane's with the given accessible name, as a switch
device would, for a compositor that takes no input from a test; with --wait,
only waits for it to show, and prints its window's size. Gives up after 20 s.
Usage: atspi_press.py [--wait] BUTTON"""
import sys
import time

import pyatspi

name = sys.argv[-1]
deadline = time.monotonic() + 20
while True:
    try:  # the tree changes under us while a window closes or opens
        apps = [a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "Corvane"]
        found = [b for a in apps for b in pyatspi.findAllDescendants(a, lambda o: (
            o.name == name and o.getRole() == pyatspi.ROLE_PUSH_BUTTON and
            o.getState().contains(pyatspi.STATE_SHOWING)))]
    except Exception:
        found = []
    if found:
        break
    if time.monotonic() > deadline:
        sys.exit(f"no button {name!r} shown")
    time.sleep(0.2)
if sys.argv[1] != "--wait":
    found[0].queryAction().doAction(0)
    sys.exit()
window = found[0]
while window.parent.getRole() != pyatspi.ROLE_APPLICATION:
    window = window.parent
print(*window.queryComponent().getSize())
