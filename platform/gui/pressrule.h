#pragma once
// The click rule of the pressable controls: a left press holds the control (Qt grabs the
// pointer for the pressed widget, as the platform's capture does), the control shows pressed
// while the pointer is over it, and a release over it clicks. With a repeat, a press held over
// the control also clicks on a timer: first after a pause, then at each interval.

#include <functional>

class QMouseEvent;
class QTimer;
class QWidget;

class TPressRule {
public:
    explicit TPressRule(QWidget &control) : FControl(control) {}

    // What the control does with the rule's decisions.
    std::function<void(bool Pressed)> ShowPressed;
    std::function<void()> Click;

    bool Held() const { return FHeld; }

    // The control's mouse events; false for an event that is not the rule's (another button,
    // a release without a press), which the control may pass on.
    bool Press(const QMouseEvent &event);
    void Move(const QMouseEvent &event);
    bool Release(const QMouseEvent &event);
    // Lets go without a click, as when the control is disabled.
    void Cancel();

    // 0 for no repeat. The timer is made at the first press that repeats.
    void SetRepeat(int pause, int interval);
    const QTimer *RepeatTimer() const { return FTimer; }
    // One tick of the repeat timer, as the timer gives it.
    void Tick();
    void StopRepeat();

private:
    void SetOver(bool over);

    QWidget &FControl;
    bool FHeld = false;
    bool FOver = false;
    int FPause = 0;
    int FInterval = 0;
    QTimer *FTimer = nullptr;
};
