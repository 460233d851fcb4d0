#pragma once
// The posted focus move: the next (or previous) tab stop of the window that holds a control
// takes the focus once the current event has been handled, as a next-control request posted
// to the window does.

class QWidget;

void PostFocusMove(QWidget *from, bool forward = true);
