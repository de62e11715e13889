"""Reads and works the program through the accessibility bus, as a screen reader does.

Run in the test session's environment (its own session bus):
    atspi_probe.py tree                       the program's windows and controls as JSON
    atspi_probe.py press WINDOW NAME          presses the control NAME inside WINDOW
    atspi_probe.py text WINDOW NAME           prints the text of the control NAME inside WINDOW
    atspi_probe.py activate NAME              activates the showing menu entry NAME
    atspi_probe.py choose NAME                moves through an open popup menu with Down, as
                                              a reader's user does, and activates NAME when
                                              it has the focus (popups are reached by focus)
"""

import json
import subprocess
import sys

import pyatspi


def application():
    for app in pyatspi.Registry.getDesktop(0):
        if app is not None and app.name.lower() == "brightpost":
            return app
    return None


def node(acc, depth=0):
    states = acc.getState()
    item = {
        "role": acc.getRoleName(),
        "name": acc.name,
        "description": acc.description,
        "showing": states.contains(pyatspi.STATE_SHOWING),
        "checked": states.contains(pyatspi.STATE_CHECKED),
        "actions": [],
        "children": [],
    }
    try:
        action = acc.queryAction()
        item["actions"] = [action.getName(i) for i in range(action.nActions)]
    except NotImplementedError:
        pass
    if depth < 12:
        item["children"] = [node(child, depth + 1) for child in acc if child is not None]
    return item


def find(acc, predicate, depth=0):
    if predicate(acc):
        return acc
    if depth >= 12:
        return None
    for child in acc:
        if child is None:
            continue
        found = find(child, predicate, depth + 1)
        if found is not None:
            return found
    return None


def window(app, name):
    for top in app:
        if top is not None and top.name == name:
            return top
    return None


def press(acc):
    action = acc.queryAction()
    for i in range(action.nActions):
        if action.getName(i) in ("press", "click", "Press"):
            return action.doAction(i)
    return action.doAction(0)


def main(argv):
    app = application()
    if app is None:
        print("null")
        return 1
    command = argv[1]
    if command == "tree":
        print(json.dumps([node(top) for top in app if top is not None]))
        return 0
    if command in ("press", "text"):
        top = window(app, argv[2])
        target = top and find(top, lambda a: a.name == argv[3])
        if target is None:
            return 2
        if command == "press":
            return 0 if press(target) else 3
        text = target.queryText()
        print(json.dumps(text.getText(0, text.characterCount)))
        return 0
    if command == "activate":
        target = find(app, lambda a: a.name == argv[2] and a.getRoleName() == "menu item"
                      and a.getState().contains(pyatspi.STATE_SHOWING))
        if target is None:
            return 2
        return 0 if press(target) else 3
    if command == "choose":
        return choose(argv[2])
    return 4


def choose(name):
    from gi.repository import GLib

    state = {"chosen": False, "steps": 0}

    def focused(event):
        if event.detail1 != 1 or state["chosen"]:
            return
        source = event.source
        if source is not None and source.name == name:
            state["chosen"] = bool(press(source))
            pyatspi.Registry.stop()

    def step():
        if state["chosen"] or state["steps"] >= 30:
            pyatspi.Registry.stop()
            return False
        state["steps"] += 1
        subprocess.run(["xdotool", "key", "Down"])
        return True

    pyatspi.Registry.registerEventListener(focused, "object:state-changed:focused")
    GLib.timeout_add(400, step)
    pyatspi.Registry.start()
    return 0 if state["chosen"] else 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
