#pragma once
// A caret that blinks for ever wakes the program twice a second while nobody types. Like the
// desktops' own fields, it rests, shown, once keys, buttons and wheel have been still for a
// while, and blinks again at the next of them.

#include <QBasicTimer>
#include <QObject>

class QEvent;

class TCaretRest : public QObject {
    Q_OBJECT
public:
    explicit TCaretRest(QObject *parent);
    // Sees every event the application delivers.
    void Notice(QObject *receiver, const QEvent &event);

protected:
    void timerEvent(QTimerEvent *event) override;

private:
    void Wake();

    static constexpr int RestAfterMs = 10000;
    const int FFlashTime; // the desktop's; below 2 the caret does not blink at all
    QBasicTimer FTimer;
};
