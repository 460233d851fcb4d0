#pragma once
// A caret that blinks for ever wakes the program twice a second while nobody types. Like the
// desktops' own fields, it rests, shown, once keys, buttons and wheel have been still for a
// while, and blinks again at the next of them. It watches them as an event filter of the whole
// application, which it is from its making on.

#include <QBasicTimer>
#include <QObject>

class QEvent;

class TCaretRest : public QObject {
    Q_OBJECT
public:
    explicit TCaretRest(QObject *parent);

protected:
    // Sees every event the application delivers; lets each pass.
    bool eventFilter(QObject *watched, QEvent *event) override;
    void timerEvent(QTimerEvent *event) override;

private:
    void Wake();

    static constexpr int RestAfterMs = 10000;
    const int FFlashTime; // the desktop's; below 2 the caret does not blink at all
    QBasicTimer FTimer;
};
