#pragma once
// The small graphic push buttons of the editors: TGlyphSpeedButton shows a glyph (up to four
// images side by side: up, disabled, pressed, down) on a button face, clicks on a release
// over it, and can repeat its click while held; TTimerSpeedButton is the repeating kind the
// calendar's step buttons use.

#include "pictures/picture.h"
#include "platform/core/component.h"
#include "platform/gui/pressrule.h"

#include <QWidget>

enum class TButtonStyle { bsAutoDetect, bsWin31, bsNew };

class TGlyphSpeedButton : public QWidget, public TComponent {
public:
    explicit TGlyphSpeedButton(TComponent *owner, QWidget *parent = nullptr);

    const TPicture &Glyph() const { return FGlyph; }
    void SetGlyph(const TPicture &value);
    // Images in the glyph, 1 to 4.
    int NumGlyphs() const { return FNumGlyphs; }
    void SetNumGlyphs(int value);
    TButtonStyle Style() const { return FStyle; }
    void SetStyle(TButtonStyle value);
    bool AllowTimer() const { return FAllowTimer; }
    void SetAllowTimer(bool value);
    int InitPause() const { return FInitPause; }
    void SetInitPause(int value);
    int RepeatInterval() const { return FRepeatInterval; }
    void SetRepeatInterval(int value);

    // Drawn pressed: the left button went down here and the pointer is over the button.
    bool Pressed() const { return FPressed; }
    // The repeat timer; none before the first press.
    const QTimer *RepeatTimer() const { return FPress.RepeatTimer(); }
    // One tick of the repeat timer. Public so that a repeat can be driven without waiting.
    void RepeatTick();
    // Ends a running repeat; the button stays as it is drawn.
    void StopRepeat();

    // Runs the click as a release over the button does.
    virtual void Click();

    TNotifyEvent OnClick;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void SetPressed(bool value);
    void ApplyRepeat();
    // The image of the glyph for the current state, null when there is none.
    QImage GlyphImage() const;

    TPicture FGlyph;
    int FNumGlyphs = 1;
    TButtonStyle FStyle = TButtonStyle::bsAutoDetect;
    bool FAllowTimer = false;
    int FInitPause = 500;
    int FRepeatInterval = 100;
    bool FPressed = false;
    TPressRule FPress{*this};
};

// The auto-repeating step button: old-style face, repeat on.
class TTimerSpeedButton : public TGlyphSpeedButton {
public:
    explicit TTimerSpeedButton(TComponent *owner, QWidget *parent = nullptr);
};

// A glyph the program compiles in as a resource, by its resource name ("DATEGLYPH", "PREV1",
// ...), as the platform's bitmap resources are found: by name, in the running program. Empty
// when the program carries no such resource.
TPicture LoadGlyphResource(const QString &name);
