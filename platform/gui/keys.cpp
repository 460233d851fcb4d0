#include "platform/gui/keys.h"

#include <QKeyEvent>

namespace {

struct TKeyMapping {
    int QtKey;
    TKeyCode Code;
};

const TKeyMapping Mappings[] = {
    {Qt::Key_Backspace, VK_BACK},  {Qt::Key_Tab, VK_TAB},         {Qt::Key_Backtab, VK_TAB},
    {Qt::Key_Return, VK_RETURN},   {Qt::Key_Enter, VK_RETURN},    {Qt::Key_Shift, VK_SHIFT},
    {Qt::Key_Control, VK_CONTROL}, {Qt::Key_Alt, VK_MENU},        {Qt::Key_Escape, VK_ESCAPE},
    {Qt::Key_Space, VK_SPACE},     {Qt::Key_PageUp, VK_PRIOR},    {Qt::Key_PageDown, VK_NEXT},
    {Qt::Key_End, VK_END},         {Qt::Key_Home, VK_HOME},       {Qt::Key_Left, VK_LEFT},
    {Qt::Key_Up, VK_UP},           {Qt::Key_Right, VK_RIGHT},     {Qt::Key_Down, VK_DOWN},
    {Qt::Key_Insert, VK_INSERT},   {Qt::Key_Delete, VK_DELETE},   {Qt::Key_Plus, VK_OEM_PLUS},
    {Qt::Key_Comma, VK_OEM_COMMA}, {Qt::Key_Minus, VK_OEM_MINUS}, {Qt::Key_Period, VK_OEM_PERIOD},
};

// The keypad's own keys have codes of their own; its Enter is Enter.
TKeyCode KeypadCodeOf(int key) {
    if (key >= Qt::Key_0 && key <= Qt::Key_9) return TKeyCode(VK_NUMPAD0 + key - Qt::Key_0);
    switch (key) {
    case Qt::Key_Asterisk:
        return VK_MULTIPLY;
    case Qt::Key_Plus:
        return VK_ADD;
    case Qt::Key_Minus:
        return VK_SUBTRACT;
    case Qt::Key_Period:
    case Qt::Key_Comma:
        return VK_DECIMAL;
    case Qt::Key_Slash:
        return VK_DIVIDE;
    default:
        return 0;
    }
}

} // namespace

TKeyCode VirtualKeyOf(const QKeyEvent &event) {
    const int key = event.key();
    if (event.modifiers() & Qt::KeypadModifier)
        if (const TKeyCode code = KeypadCodeOf(key)) return code;
    if ((key >= Qt::Key_0 && key <= Qt::Key_9) || (key >= Qt::Key_A && key <= Qt::Key_Z))
        return TKeyCode(key);
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24) return TKeyCode(VK_F1 + key - Qt::Key_F1);
    for (const TKeyMapping &mapping : Mappings)
        if (mapping.QtKey == key) return mapping.Code;
    return 0;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers) {
    TShiftState shift = 0;
    if (modifiers & Qt::ShiftModifier) shift |= ssShift;
    if (modifiers & Qt::AltModifier) shift |= ssAlt;
    if (modifiers & Qt::ControlModifier) shift |= ssCtrl;
    return shift;
}

QChar KeyCharOf(const QKeyEvent &event) {
    const Qt::KeyboardModifiers modifiers = event.modifiers();
    if (modifiers & Qt::AltModifier) return {};
    const int key = event.key();
    if (modifiers & Qt::ControlModifier) {
        if (key >= Qt::Key_A && key <= Qt::Key_Z) return QChar(key - Qt::Key_A + 1);
        return {};
    }
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Escape:
        return QChar(27);
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Delete:
        return {};
    default:
        break;
    }
    const QString text = event.text();
    if (text.isEmpty() || text.front().unicode() < 32 || text.front().unicode() == 127) return {};
    return text.front();
}

void DispatchKey(QKeyEvent *event, const TKeyDownStep &keyDown, const TKeyPressStep &keyPress,
                 const TNativeKeyStep &native) {
    event->accept();
    const TKeyCode original = VirtualKeyOf(*event);
    TKeyCode key = original;
    keyDown(key, ShiftStateOf(event->modifiers()));
    const QChar typed = KeyCharOf(*event);
    QChar ch = typed;
    if (!typed.isNull()) keyPress(ch);
    if (key != original) return;
    if (!typed.isNull() && ch.isNull()) return;
    if (ch == typed) {
        native(event);
        return;
    }
    QKeyEvent replaced(event->type(), Qt::Key_unknown, event->modifiers(), QString(ch),
                       event->isAutoRepeat(), ushort(event->count()));
    native(&replaced);
}
