#include "platform/gui/pressrule.h"

#include <QMouseEvent>
#include <QTimer>
#include <QWidget>

bool TPressRule::Press(const QMouseEvent &event) {
    if (event.button() != Qt::LeftButton) return false;
    FHeld = true;
    SetOver(true);
    if (FPause > 0) {
        if (!FTimer) {
            FTimer = new QTimer(&FControl);
            QObject::connect(FTimer, &QTimer::timeout, &FControl, [this] { Tick(); });
        }
        FTimer->start(FPause);
    }
    return true;
}

void TPressRule::Move(const QMouseEvent &event) {
    if (FHeld) SetOver(FControl.rect().contains(event.position().toPoint()));
}

// The pressed look goes before the click is reported.
bool TPressRule::Release(const QMouseEvent &event) {
    if (event.button() != Qt::LeftButton || !FHeld) return false;
    const bool clicks = FOver && FControl.rect().contains(event.position().toPoint());
    Cancel();
    if (clicks && Click) Click();
    return true;
}

void TPressRule::Cancel() {
    FHeld = false;
    StopRepeat();
    SetOver(false);
}

void TPressRule::SetRepeat(int pause, int interval) {
    FPause = pause;
    FInterval = interval;
    if (pause <= 0) StopRepeat();
}

void TPressRule::StopRepeat() {
    if (FTimer) FTimer->stop();
}

void TPressRule::SetOver(bool over) {
    if (over == FOver) return;
    FOver = over;
    if (ShowPressed) ShowPressed(over);
}

// Ticks go on while the press is held; only those over the control click. A click that fails
// ends the repeat before the error goes on to be reported.
void TPressRule::Tick() {
    if (!FTimer) return;
    FTimer->setInterval(FInterval);
    if (!FHeld || !FOver || !Click) return;
    try {
        Click();
    } catch (...) {
        StopRepeat();
        throw;
    }
}
