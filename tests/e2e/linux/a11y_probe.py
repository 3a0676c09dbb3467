"""Reports what a program shows, through the desktop's accessibility bus (AT-SPI),
for the end-to-end tests of the Linux edition: its windows and dialogs with their
controls, the texts of its labels, which option is selected and which control has
the keyboard focus. Prints one JSON object: {"windows": [...]}, each node with its
role, name, states and extents (x, y, width, height on the screen) and children.

    /usr/bin/python3 a11y_probe.py APPLICATION

Runs with Debian's Python, which has the AT-SPI bindings (python3-pyatspi)."""

import json
import sys

import pyatspi

STATES = {
    "focused": pyatspi.STATE_FOCUSED,
    "checked": pyatspi.STATE_CHECKED,
    "showing": pyatspi.STATE_SHOWING,
    "enabled": pyatspi.STATE_ENABLED,
    "active": pyatspi.STATE_ACTIVE,
}


def describe(node, depth=0):
    states = node.getState()
    try:
        x, y, width, height = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    except NotImplementedError:
        x = y = width = height = 0
    return {
        "role": node.getRoleName(),
        "name": node.name or "",
        "states": [name for name, state in STATES.items() if states.contains(state)],
        "extents": [x, y, width, height],
        "children": [describe(child, depth + 1) for child in node if child is not None] if depth < 12 else [],
    }


def main(application):
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name == application:
            print(json.dumps({"windows": [describe(window) for window in app if window is not None]}))
            return 0
    print(json.dumps({"windows": []}))
    return 1


if __name__ == "__main__":
    sys.exit(main(sys.argv[1]))
