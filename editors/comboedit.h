#pragma once
// The drop-down edit: a single-line, optionally masked edit with a small button inside its
// right edge and an optional drop-down window that opens below (or above) the field without
// taking the focus, so that the field goes on receiving the keys.
//
// How a descendant hooks in:
// - Keys: override KeyDown(TKeyCode &, TShiftState) and KeyPress(QChar &). Handle what is
//   yours first (zero the key or the character to consume it), then call the base, which
//   raises OnKeyDown / OnKeyPress and handles ClickKey, Enter and Escape.
// - Text changes: override Change(); the base raises OnChange (PopupValueChanged() instead
//   while the window is shown).
// - Focus: DoEnter() runs when the field is entered (base: select all with AutoSelect, then
//   OnEnter), DoExit() when it is left (base: the field counts as left, then OnExit; an
//   override ends by calling it); TFocusEntry says what counts. To veto a leave, call
//   TakeFocusBack() and throw before that: the field stays entered, OnExit is not raised and
//   the error reaches the application's error report.
// - Painting: override paintEvent(); the base lets the line edit draw the text, then draws
//   the frame; ClientRect() is the area inside the frame.
// - Clipboard: Cut() and Paste() serve the keys and the context menu alike.
// - A drop-down window: SetPopup() and the value hand-over operations.

#include "editors/speedbutton.h"
#include "platform/gui/colors.h"
#include "platform/gui/focus.h"
#include "platform/gui/keys.h"
#include "platform/core/variant.h"

#include <QLineEdit>
#include <QPointer>

class TCustomComboEdit;

enum class TPopupAlign { epaRight, epaLeft };
enum class TGlyphKind { gkCustom, gkDefault, gkDropDown, gkEllipsis };
enum class TAlignment { taLeftJustify, taRightJustify, taCenter };
enum class TBorderStyle { bsNone, bsSingle };

using TKeyEvent = std::function<void(TObject *Sender, TKeyCode &Key, TShiftState Shift)>;
using TKeyPressEvent = std::function<void(TObject *Sender, QChar &Key)>;

// The field's button: closes an open window on the press (and then ignores the click),
// otherwise takes the focus for the field and clicks on the release.
class TEditButton : public TGlyphSpeedButton {
public:
    TEditButton(TCustomComboEdit *field, QWidget *parent);

    // Set when the press closed the window: the click of that release does nothing.
    bool SwallowClick() const { return FSwallowClick; }
    void Click() override;

protected:
    void paintEvent(QPaintEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    TCustomComboEdit *FField;
    bool FSwallowClick = false;
};

// The drop-down window: a frameless top-level of the field, shown without activation.
class TPopupWindow : public QWidget, public TComponent {
public:
    explicit TPopupWindow(TCustomComboEdit *owner);

    TCustomComboEdit *PopupOwner() const { return FPopupOwner; }
    // The owning field's answer to RequestClose.
    std::function<void(TPopupWindow *Sender, bool Accept)> CloseRequest;

    virtual TVariant ReadValue() const = 0;
    virtual void WriteValue(const TVariant &value) = 0;
    virtual void RequestClose(bool accept);

protected:
    // A left release on the window's own surface asks to close, accepting when it lies
    // inside the window.
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    TCustomComboEdit *FPopupOwner;
};

class TCustomComboEdit : public QLineEdit, public TComponent {
public:
    explicit TCustomComboEdit(TComponent *owner, QWidget *parent = nullptr);
    ~TCustomComboEdit() override;

    // The text as shown, with the separators of a mask and its empty places as blanks.
    QString Text() const;
    // What the field shows, as a screen reader reads it: no blanks after the text, and
    // nothing for a mask with nothing typed in it.
    virtual QString ShownText() const;
    // The line edit's caret and selection count in ShownText.
    virtual bool ShownTextIsEdited() const { return true; }
    void SetText(const QString &value);
    // The mask in the layouts' language ("!99/99/9999;1; ": digits 9 optional, "/" the
    // locale's date separator, after the second ";" the blank character); empty for none.
    const QString &EditMask() const { return FEditMask; }
    void SetEditMask(const QString &value);
    // Selects the whole text, only when the field takes direct input.
    void SelectAll();
    bool AutoSelect() const { return FAutoSelect; }
    void SetAutoSelect(bool value) { FAutoSelect = value; }

    TEditButton *EditButton() const { return FButton; }
    QWidget *ButtonHolder() const { return FHolder; }
    int ButtonWidth() const;
    void SetButtonWidth(int value);
    QString ButtonHint() const;
    void SetButtonHint(const QString &value);
    const TPicture &Glyph() const;
    // Also makes the glyph kind gkCustom.
    void SetGlyph(const TPicture &value);
    int NumGlyphs() const;
    void SetNumGlyphs(int value);
    TGlyphKind GlyphKind() const { return FGlyphKind; }
    void SetGlyphKind(TGlyphKind value);
    TShortCut ClickKey() const { return FClickKey; }
    void SetClickKey(TShortCut value) { FClickKey = value; }
    bool DirectInput() const { return FDirectInput; }
    void SetDirectInput(bool value);
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool value);
    bool ButtonAlwaysEnabled() const { return FButtonAlwaysEnabled; }
    void SetButtonAlwaysEnabled(bool value) { FButtonAlwaysEnabled = value; }
    TPopupAlign PopupAlign() const { return FPopupAlign; }
    void SetPopupAlign(TPopupAlign value) { FPopupAlign = value; }
    TAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TAlignment value);
    TColor Color() const { return FColor; }
    void SetColor(TColor value);
    // Off: a flat one-pixel frame instead of the sunken two-pixel one.
    bool Ctl3D() const { return FCtl3D; }
    void SetCtl3D(bool value);
    TBorderStyle BorderStyle() const { return FBorderStyle; }
    void SetBorderStyle(TBorderStyle value);

    TPopupWindow *Popup() const { return FPopup; }
    bool PopupShown() const { return FPopupShown; }
    virtual void OpenPopup(bool disableEdit = true);
    void ClosePopup(bool accept);
    // The button's click: runs ButtonAction unless the field is read-only.
    void HandleButtonClick();
    // Opens a closed window, closes an open one accepting its value.
    virtual void ButtonAction();

    // Enabled, visible in a visible window, and accepting the focus.
    bool CanFocus() const;
    // The height below which a size change raises the field's height.
    int MinimumHeight() const;
    // Inside the frame, in the field's coordinates.
    QRect ClientRect() const;

    TNotifyEvent OnButtonClick;
    TNotifyEvent OnChange;
    TNotifyEvent OnClick;
    TNotifyEvent OnDblClick;
    TNotifyEvent OnEnter;
    TNotifyEvent OnExit;
    TKeyEvent OnKeyDown;
    TKeyPressEvent OnKeyPress;
    TKeyEvent OnKeyUp;

protected:
    virtual void KeyDown(TKeyCode &key, TShiftState shift);
    virtual void KeyPress(QChar &key);
    virtual void KeyUp(TKeyCode &key, TShiftState shift);
    virtual void Change();
    virtual void DoEnter();
    virtual void DoExit();
    virtual void Cut();
    virtual void Paste();
    // Focuses the field when it can take the focus.
    void TakeFocusBack();
    // From entering the field until a leave that was not refused.
    bool Entered() const { return FFocusEntry.Entered(); }

    // The glyph of gkDefault; the base has none.
    virtual TPicture DefaultGlyph() const { return {}; }
    void SetDefaultGlyphCount(int value) { FDefaultGlyphCount = value; }
    // Takes ownership; the window's close requests go to ClosePopup.
    void SetPopup(TPopupWindow *popup);
    void FreePopup();

    virtual void ShowPopupAt(QPoint at);
    virtual void HidePopupWindow();
    virtual bool ConfirmPopupValue(TVariant &value);
    virtual void TakePopupValue(const TVariant &value);
    virtual void PushPopupValue(const TVariant &value);
    virtual TVariant PullPopupValue();
    virtual void PopupValueChanged() {}
    // PopupShown from the window's visibility, as a value hand-over finds it.
    void UpdatePopupShown();
    virtual bool IsReadOnly() const { return FReadOnly; }

    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void changeEvent(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void CloseUp(bool accept, bool refocus);
    void PlaceButton();
    void FitTextArea();
    void RebuildGlyph();
    int BorderWidth() const;
    int TextLineHeight() const;
    void ApplyEditReadOnly();
    void ApplyPalette();
    void ShowEditCaret();
    // A press that another control takes while the window is shown.
    bool PressElsewhere(QObject *watched) const;

    QWidget *FHolder;
    TEditButton *FButton;
    QString FEditMask;
    TShortCut FClickKey = ShortCut(VK_DOWN, ssAlt);
    bool FReadOnly = false;
    bool FDirectInput = true;
    bool FButtonAlwaysEnabled = false;
    bool FAutoSelect = true;
    TAlignment FAlignment = TAlignment::taLeftJustify;
    bool FPopupShown = false;
    TPopupAlign FPopupAlign = TPopupAlign::epaRight;
    TGlyphKind FGlyphKind = TGlyphKind::gkCustom;
    TPicture FCustomGlyph;
    int FDefaultGlyphCount = 1;
    TColor FColor = clWindow;
    bool FCtl3D = true;
    TBorderStyle FBorderStyle = TBorderStyle::bsSingle;
    QPointer<TPopupWindow> FPopup;
    TFocusEntry FFocusEntry;
    bool FConstructing = true;
};
