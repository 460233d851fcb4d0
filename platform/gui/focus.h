#pragma once
// The posted focus move: the next (or previous) tab stop of the window that holds a control
// takes the focus once the current event has been handled, as a next-control request posted
// to the window does.

class QFocusEvent;
class QWidget;

void PostFocusMove(QWidget *from, bool forward = true);

// A control's entering and leaving as the platform's focus notifications give them: the first
// focus enters the control, also the one its window's activation gives; a window that merely
// goes inactive or opens a popup keeps its control entered; focus that passes through a control
// that was never entered (another control's refused leave takes it back) is no leave.
class TFocusEntry {
public:
    bool Entered() const { return FEntered; }
    // Whether this focus-in enters the control; it counts as entered from now on.
    bool Enters();
    // Whether this focus-out leaves the control; it counts as left only once Left() is
    // called, so that a leave refused by an error keeps it entered.
    bool Leaves(const QFocusEvent &event) const;
    void Left() { FEntered = false; }

private:
    bool FEntered = false;
};
