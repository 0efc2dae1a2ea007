#!/usr/bin/python3
"""Reads Kelvaris as a screen reader does, through AT-SPI (python3-pyatspi), while
check-gui-accessibility.sh runs it under a virtual display: the main window, the planning dialog
(its grid a table of quarter hours by days whose focused cell follows the keys) and the shifts
editor. Every control a person can reach must have a name. In the planning dialog it also plans
with the mouse (xdotool): a click on a receiver in the list, a drag down the grid, which must mark
the cells. Exits 1 with what is missing."""
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

failures = []


def fail(text):
    failures.append(text)
    print("check-gui-accessibility: " + text, file=sys.stderr)


def wait_for(find, what, seconds=20):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        found = find()
        if found is not None:
            return found
        time.sleep(0.2)
    fail("no " + what + " after %d s" % seconds)
    sys.exit(1)


def application():
    desktop = pyatspi.Registry.getDesktop(0)
    for app in desktop:
        if app is not None and app.name and "kelvaris" in app.name.lower():
            return app
    return None


def window(app, title_part, role=None):
    for win in app:
        if win is None or title_part not in (win.name or ""):
            continue
        if role is None or win.getRole() == role:
            return win
    return None


def walk(node, depth=0):
    yield node, depth
    if depth > 40:
        return
    for index in range(node.childCount):
        child = node.getChildAtIndex(index)
        if child is None:
            continue
        if child.getRole() == pyatspi.ROLE_TABLE_CELL or child.getRole() == pyatspi.ROLE_LIST_ITEM:
            continue  # the items of a view are named by their text
        yield from walk(child, depth + 1)


REACHABLE = {
    pyatspi.ROLE_PUSH_BUTTON, pyatspi.ROLE_CHECK_BOX, pyatspi.ROLE_RADIO_BUTTON,
    pyatspi.ROLE_COMBO_BOX, pyatspi.ROLE_TEXT, pyatspi.ROLE_SPIN_BUTTON, pyatspi.ROLE_LIST,
    pyatspi.ROLE_TABLE, pyatspi.ROLE_TREE, pyatspi.ROLE_TREE_TABLE, pyatspi.ROLE_PAGE_TAB,
    pyatspi.ROLE_SLIDER,
}


def check_names(root, where):
    """Every focusable control that shows has a name; returns how many were read."""
    count = 0
    for node, _ in walk(root):
        states = node.getState()
        if node.getRole() not in REACHABLE or not states.contains(pyatspi.STATE_FOCUSABLE):
            continue
        if not states.contains(pyatspi.STATE_SHOWING):
            continue
        count += 1
        if not (node.name or "").strip():
            fail("%s: a %s has no name" % (where, node.getRoleName()))
    return count


def find(root, role, name=None):
    for node, _ in walk(root):
        if node.getRole() == role and (name is None or node.name == name):
            return node
    return None


def key(*keys):
    subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)
    time.sleep(0.4)


def centre(node):
    extents = node.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return str(extents.x + extents.width // 2), str(extents.y + extents.height // 2)


def click(node):
    subprocess.run(["xdotool", "mousemove", "--sync", *centre(node), "click", "1"], check=True)
    end = time.monotonic() + 5
    while not node.getState().contains(pyatspi.STATE_SELECTED) and time.monotonic() < end:
        time.sleep(0.1)
    time.sleep(0.3)


def drag(start, end):
    subprocess.run(["xdotool", "mousemove", "--sync", *centre(start), "mousedown", "1"], check=True)
    time.sleep(0.2)
    subprocess.run(["xdotool", "mousemove", "--sync", *centre(end)], check=True)
    time.sleep(0.2)
    subprocess.run(["xdotool", "mouseup", "1"], check=True)
    time.sleep(0.4)


def focused_after(keys):
    """Presses the keys and returns the name of the object last reported focused."""
    names = []

    def on_focus(event):
        if event.detail1 == 1:
            names.append(event.source.name)

    pyatspi.Registry.registerEventListener(on_focus, "object:state-changed:focused")
    loop = GLib.MainLoop()
    GLib.timeout_add(300, lambda: (subprocess.run(["xdotool", "key", "--clearmodifiers", *keys]), False)[1])
    GLib.timeout_add(1500, lambda: (loop.quit(), False)[1])
    loop.run()
    pyatspi.Registry.deregisterEventListener(on_focus, "object:state-changed:focused")
    return names[-1] if names else None


def main():
    app = wait_for(application, "Kelvaris application on the accessibility bus")
    main_window = wait_for(lambda: window(app, "Kelvaris", pyatspi.ROLE_FRAME), "main window")
    count = check_names(main_window, "main window")
    for name in ("Logbook", "Plan of action"):
        if find(main_window, pyatspi.ROLE_TREE_TABLE, name) is None and \
                find(main_window, pyatspi.ROLE_LIST, name) is None and \
                find(main_window, pyatspi.ROLE_TREE, name) is None:
            fail("main window: no view named \"%s\"" % name)
    print("check-gui-accessibility: main window, %d controls named" % count)

    # The planning dialog (Ctrl+E) and its grid.
    subprocess.run(["xdotool", "search", "--name", "^Kelvaris", "windowactivate", "--sync"], check=False)
    key("ctrl+e")
    dialog = wait_for(lambda: window(app, "Plan of action", pyatspi.ROLE_DIALOG), "planning dialog")
    count = check_names(dialog, "planning dialog")
    grid = find(dialog, pyatspi.ROLE_TABLE)
    if grid is None:
        fail("planning dialog: the grid is not a table")
        return
    table = grid.queryTable()
    if table.nRows != 96 or table.nColumns < 7:
        fail("planning dialog: the grid has %d rows and %d columns, not 96 by 7 or more"
             % (table.nRows, table.nColumns))
    cell = table.getAccessibleAt(32, 0)
    if cell is None or not cell.name.endswith(", 8:00 to 8:15"):
        fail("planning dialog: the cell of Monday 8:00 is named \"%s\"" % (cell.name if cell else None))
    print("check-gui-accessibility: planning dialog, %d controls named; grid %d x %d, \"%s\" (%s)"
          % (count, table.nRows, table.nColumns, cell.name if cell else "", cell.description if cell else ""))
    # Focus into the grid, then a step down: the screen reader hears the new cell.
    grid.queryComponent().grabFocus()
    time.sleep(0.5)
    heard = focused_after(["Down"])
    if not heard or " to " not in heard:
        fail("planning dialog: Down in the grid announced %r, not a cell" % heard)
    else:
        print("check-gui-accessibility: Down in the grid announced \"%s\"" % heard)

    # With the mouse, as an operator plans: a click on another receiver in the list makes its plan
    # editable at once, and a drag down the grid marks its quarter hours.
    targets = find(dialog, pyatspi.ROLE_LIST)
    item = targets.getChildAtIndex(1) if targets is not None and targets.childCount > 1 else None
    if item is None:
        fail("planning dialog: no second receiver in the list")
    else:
        click(item)
        column = 1
        first, last = table.getAccessibleAt(34, column), table.getAccessibleAt(37, column)
        rows = range(34, 38)

        def marks():
            return [table.getAccessibleAt(row, column).getState().contains(pyatspi.STATE_CHECKED) for row in rows]

        # A press on an unmarked cell marks, on a marked one unmarks: the drag turns the four cells
        # the other way from the first one, and a second drag turns them back (the demo keeps its
        # plan).
        wanted = [not marks()[0]] * len(rows)
        drag(first, last)
        end = time.monotonic() + 5
        while marks() != wanted and time.monotonic() < end:
            time.sleep(0.2)
        if marks() != wanted:
            fail("planning dialog: a mouse drag after a click on \"%s\" left the cells %s, not %s"
                 % (item.name, marks(), wanted))
        else:
            print("check-gui-accessibility: a click on \"%s\" and a drag %s \"%s\" to \"%s\" (%s)"
                  % (item.name, "marked" if wanted[0] else "unmarked", first.name, last.name,
                     first.description))
        drag(first, last)
    key("Escape")

    # One editor: the shifts (Ctrl+S).
    subprocess.run(["xdotool", "search", "--name", "^Kelvaris", "windowactivate", "--sync"], check=False)
    key("ctrl+s")
    editor = wait_for(lambda: window(app, "Shift", pyatspi.ROLE_DIALOG), "shifts editor")
    count = check_names(editor, "shifts editor")
    if find(editor, pyatspi.ROLE_PUSH_BUTTON) is None:
        fail("shifts editor: no buttons")
    print("check-gui-accessibility: shifts editor \"%s\", %d controls named" % (editor.name, count))
    key("Escape")


main()
sys.exit(1 if failures else 0)
