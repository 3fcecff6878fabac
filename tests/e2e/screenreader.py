#!/usr/bin/python3
"""What a screen reader reads of a running program, and its presses, through AT-SPI.

  screenreader.py PID tree          one line of JSON for each object of the program's windows
  screenreader.py PID press NAME    the Press action of the showing object of that name
  screenreader.py PID listen        from then on, one line of JSON for each change of an object's
                                    name that the program tells (what a screen reader speaks)

The program is found by its process id; it may still be registering, so the script waits for it
for a while. Exit status 0 on success, 1 with the reason on standard error. Debian's python3
(python3-pyatspi) runs it.
"""
import json
import sys
import time

import pyatspi

REGISTER_SECONDS = 20


def application(pid):
    deadline = time.monotonic() + REGISTER_SECONDS
    while True:
        for app in pyatspi.Registry.getDesktop(0):
            try:
                if app is not None and app.get_process_id() == pid and app.childCount > 0:
                    return app
            except Exception:  # an application that ends while it is asked
                pass
        if time.monotonic() > deadline:
            sys.exit(f"no application of process {pid} on the accessibility bus")
        time.sleep(0.05)


def states(node):
    return sorted(pyatspi.stateToString(s) for s in node.getState().getStates())


def actions(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def walk(node, depth=0):
    yield depth, node
    for child in node:
        if child is not None:
            yield from walk(child, depth + 1)


def headers(node):
    """For a table, how many of its columns and rows have a header a screen reader can read."""
    try:
        table = node.queryTable()
    except NotImplementedError:
        return None

    def named(header):
        return header is not None and bool(header.name)

    def column_named(column):
        # A table without rows has no cell to find its headers by: its columns' descriptions stand.
        if table.nRows == 0:
            return bool(table.getColumnDescription(column))
        return named(table.getColumnHeader(column))

    return {
        "rows": table.nRows,
        "columns": table.nColumns,
        "column_headers": sum(column_named(c) for c in range(table.nColumns)),
        "row_headers": sum(named(table.getRowHeader(r)) for r in range(table.nRows)),
    }


def describe(depth, node):
    described = {
        "depth": depth,
        "role": node.getRoleName(),
        "name": node.name,
        "description": node.description,
        "states": states(node),
        "actions": actions(node),
    }
    table = headers(node)
    if table is not None:
        described["table"] = table
    return described


def listen(pid):
    def heard(event):
        try:
            if event.host_application.get_process_id() != pid:
                return
            print(json.dumps({"role": event.source.getRoleName(), "name": event.source.name}), flush=True)
        except Exception:  # an object gone before it is read
            pass

    pyatspi.Registry.registerEventListener(heard, "object:property-change:accessible-name")
    print(json.dumps({"role": "listening", "name": ""}), flush=True)
    pyatspi.Registry.start()


def press(app, name):
    for _, node in walk(app):
        if node.name == name and "showing" in states(node):
            names = actions(node)
            if "Press" not in names:
                sys.exit(f"{name} has no Press action, only {names}")
            node.queryAction().doAction(names.index("Press"))
            return
    sys.exit(f"nothing named {name!r} shows")


def main():
    pid = int(sys.argv[1])
    app = application(pid)
    if sys.argv[2] == "tree":
        for depth, node in walk(app):
            print(json.dumps(describe(depth, node)))
    elif sys.argv[2] == "press":
        press(app, sys.argv[3])
    elif sys.argv[2] == "listen":
        listen(pid)
    else:
        sys.exit(f"unknown command {sys.argv[2]}")


if __name__ == "__main__":
    main()
