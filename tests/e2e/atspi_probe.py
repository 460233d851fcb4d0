#!/usr/bin/python3
"""Reads Tarvo's bar through AT-SPI, as a screen reader does, then presses Berechnen through
its action and waits for the result.

Prints one line per node of the bar, depth first: depth|role|name|key binding of its first
action|name of the node that labels it. Then "result|<text>" once the label that "Zinsbetrag"
labels has changed (or "result|" after five seconds). Exits non-zero when the program or its
bar cannot be found."""

import sys
import time

import pyatspi


def application(name, seconds=10):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name.lower() == name:
                return app
        time.sleep(0.1)
    sys.exit(f"no application {name!r} on the accessibility bus")


def nodes(node, depth=0):
    yield depth, node
    for child in node:
        yield from nodes(child, depth + 1)


def key_binding(node):
    try:
        action = node.queryAction()
    except NotImplementedError:
        return ""
    return action.getKeyBinding(0) if action.nActions else ""


def labelled_by(node):
    for relation in node.getRelationSet():
        if relation.getRelationType() == pyatspi.RELATION_LABELLED_BY:
            return relation.getTarget(0).name
    return ""


def main():
    app = application(sys.argv[1] if len(sys.argv) > 1 else "tarvo")
    bar = next((window for window in app if window.getRoleName() == "frame"), None)
    if bar is None:
        sys.exit("the program shows no frame")
    result = berechnen = None
    for depth, node in nodes(bar):
        role, label = node.getRoleName(), labelled_by(node)
        print(f"{depth}|{role}|{node.name}|{key_binding(node)}|{label}", flush=True)
        if label == "Zinsbetrag":
            result = node
        if role == "push button" and node.name == "Berechnen":
            berechnen = node
    if result is None or berechnen is None:
        sys.exit("no result label or no Berechnen")
    before = result.name
    berechnen.queryAction().doAction(0)
    deadline = time.monotonic() + 5
    while time.monotonic() < deadline:
        # Read afresh: the client keeps what it read before.
        result.clear_cache()
        if result.name != before:
            print(f"result|{result.name}", flush=True)
            return
        time.sleep(0.1)
    print("result|", flush=True)


if __name__ == "__main__":
    main()
