#!/usr/bin/python3
"""Reads Tarvo's bar through AT-SPI, as a screen reader does, and presses Berechnen.

Prints each node of the bar as depth|role|name|key binding|name of its label, then
"result|<text>" once the label that "Zinsbetrag" labels has changed (empty after 5 s).

With "buttons TITLE" it prints instead the name of each push button in the window or dialog
of that title, one a line, as a screen reader reads them."""

import sys
import time

import pyatspi


def nodes(node, depth=0):
    yield depth, node
    for child in node:
        yield from nodes(child, depth + 1)


def key_binding(node):
    try:
        action = node.queryAction()
        return action.getKeyBinding(0) if action.nActions else ""
    except NotImplementedError:
        return ""


def label(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return ""


def buttons(app, title):
    deadline = time.monotonic() + 10
    window = None
    while window is None and time.monotonic() < deadline:
        window = next((w for w in app if w and w.name == title), None)
        time.sleep(0.1)
    for _, node in nodes(window):
        if node.getRoleName() == "push button":
            print(node.name)


def main():
    deadline = time.monotonic() + 10
    app = None
    while app is None and time.monotonic() < deadline:
        app = next((a for a in pyatspi.Registry.getDesktop(0) if a and a.name == "tarvo"), None)
        time.sleep(0.1)
    if len(sys.argv) == 3 and sys.argv[1] == "buttons":
        return buttons(app, sys.argv[2])
    bar = next(w for w in app if w.getRoleName() == "frame")
    labelled, named = {}, {}
    for depth, node in nodes(bar):
        print(f"{depth}|{node.getRoleName()}|{node.name}|{key_binding(node)}|{label(node)}")
        labelled[label(node)], named[node.name] = node, node
    result, before = labelled["Zinsbetrag"], labelled["Zinsbetrag"].name
    named["Berechnen"].queryAction().doAction(0)
    deadline = time.monotonic() + 5
    while result.name == before and time.monotonic() < deadline:
        time.sleep(0.1)
        result.clear_cache()  # the client keeps what it read before
    print(f"result|{result.name if result.name != before else ''}")


if __name__ == "__main__":
    sys.exit(main())
