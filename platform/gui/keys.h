#pragma once
// The platform's key model, which the controls' key handling is written in: a key-down step
// with a virtual key code and the modifier state, in which a handler may replace the code or
// zero it to consume the key, then a key-press step with the typed character, which a
// handler may replace or zero. Qt's key events are mapped onto it here and nowhere else.

#include <QChar>
#include <QtGlobal>
#include <functional>

class QKeyEvent;

using TKeyCode = quint16;

// Virtual key codes; digits and letters are their upper-case ASCII codes.
enum : TKeyCode {
    VK_BACK = 8,
    VK_TAB = 9,
    VK_RETURN = 13,
    VK_SHIFT = 16,
    VK_CONTROL = 17,
    VK_MENU = 18,
    VK_ESCAPE = 27,
    VK_SPACE = 32,
    VK_PRIOR = 33,
    VK_NEXT = 34,
    VK_END = 35,
    VK_HOME = 36,
    VK_LEFT = 37,
    VK_UP = 38,
    VK_RIGHT = 39,
    VK_DOWN = 40,
    VK_INSERT = 45,
    VK_DELETE = 46,
    VK_NUMPAD0 = 96,
    VK_MULTIPLY = 106,
    VK_ADD = 107,
    VK_SUBTRACT = 109,
    VK_DECIMAL = 110,
    VK_DIVIDE = 111,
    VK_F1 = 112,
    VK_F4 = 115,
    VK_OEM_PLUS = 187,
    VK_OEM_COMMA = 188,
    VK_OEM_MINUS = 189,
    VK_OEM_PERIOD = 190,
};

enum TShiftFlag : unsigned { ssShift = 1, ssAlt = 2, ssCtrl = 4 };
using TShiftState = unsigned;

// A key with its modifiers in 16 bits, as short-cut properties hold it.
using TShortCut = quint16;
enum : TShortCut { scShift = 0x2000, scCtrl = 0x4000, scAlt = 0x8000 };
constexpr TShortCut ShortCut(TKeyCode key, TShiftState shift) {
    return TShortCut((key & 0xFF) | (shift & ssShift ? scShift : 0) |
                     (shift & ssCtrl ? scCtrl : 0) | (shift & ssAlt ? scAlt : 0));
}

TKeyCode VirtualKeyOf(const QKeyEvent &event);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers);
// The character the key types: printable text, Enter 13, Escape 27, Backspace 8, Ctrl+letter
// the control character (Ctrl+V 22); none (a null QChar) for Alt combinations and keys that
// type nothing.
QChar KeyCharOf(const QKeyEvent &event);

using TKeyDownStep = std::function<void(TKeyCode &key, TShiftState shift)>;
using TKeyPressStep = std::function<void(QChar &key)>;
using TNativeKeyStep = std::function<void(QKeyEvent *event)>;

// Runs a Qt key press through the model: keyDown, then keyPress when the key types a
// character (also after keyDown consumed the key: the character was typed all the same), then
// the native handling, unless keyDown replaced or zeroed the code or keyPress zeroed the
// character; a replaced character reaches the native handling as if typed. The event is
// accepted in any case.
void DispatchKey(QKeyEvent *event, const TKeyDownStep &keyDown, const TKeyPressStep &keyPress,
                 const TNativeKeyStep &native);
