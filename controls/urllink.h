#pragma once
// A label that opens a link: while the pointer is over it, it shows its caption in FocusFont;
// a click hands Link to the desktop. Reachable from the keyboard as a link: Tab gives it the
// focus (shown by a dotted frame), Enter or Space clicks it.

#include "controls/label.h"
#include "platform/gui/fonts.h"

class TURLLink : public TLabel {
public:
    explicit TURLLink(TComponent *owner, QWidget *parent = nullptr);

    // The label's font, colour included; writing it sets what the label draws with.
    const TFont &Font() const { return FFont; }
    void SetFont(const TFont &value);
    // The font shown while the pointer is over the label.
    const TFont &FocusFont() const { return FFocusFont; }
    void SetFocusFont(const TFont &value) { FFocusFont = value; }
    // A web address or a "mailto:" address.
    const QString &Link() const { return FLink; }
    void SetLink(const QString &value) { FLink = value; }

    // Raised after the label has switched to FocusFont, and after it has switched back.
    TNotifyEvent OnMouseEnter;
    TNotifyEvent OnMouseLeave;

    // The click handler the label starts with: hands Link whole to the desktop when it is an
    // http, https or mailto address. Anything else, a local file or program above all, is
    // left alone; an empty link does nothing. A link no program could open is reported.
    void OpenLink(TObject *Sender);

protected:
    bool event(QEvent *event) override;
    void enterEvent(QEnterEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    static bool IsClickKey(const QKeyEvent &event);

    TFont FFont;
    TFont FFocusFont;
    // The font as it was before the pointer came in.
    TFont FNormalFont;
    QString FLink;
};
