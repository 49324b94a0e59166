#include "platform/qt/QtInput.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace zeko {

uint16_t VirtualKeyOf(const QKeyEvent& event) {
    const int key = event.key();
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return static_cast<uint16_t>('A' + (key - Qt::Key_A));
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return static_cast<uint16_t>('0' + (key - Qt::Key_0));
    if (event.modifiers() & Qt::KeypadModifier) {
        if (key == Qt::Key_Plus)
            return VK_ADD;
        if (key == Qt::Key_Minus)
            return VK_SUBTRACT;
    }
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return static_cast<uint16_t>(VK_F1 + (key - Qt::Key_F1));
    switch (key) {
    case Qt::Key_Backspace: return VK_BACK;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return VK_TAB;
    case Qt::Key_Return:
    case Qt::Key_Enter: return VK_RETURN;
    case Qt::Key_Shift: return VK_SHIFT;
    case Qt::Key_Control: return VK_CONTROL;
    case Qt::Key_Alt: return VK_MENU;
    case Qt::Key_Escape: return VK_ESCAPE;
    case Qt::Key_Space: return VK_SPACE;
    case Qt::Key_PageUp: return VK_PRIOR;
    case Qt::Key_PageDown: return VK_NEXT;
    case Qt::Key_End: return VK_END;
    case Qt::Key_Home: return VK_HOME;
    case Qt::Key_Left: return VK_LEFT;
    case Qt::Key_Up: return VK_UP;
    case Qt::Key_Right: return VK_RIGHT;
    case Qt::Key_Down: return VK_DOWN;
    case Qt::Key_Insert: return VK_INSERT;
    case Qt::Key_Delete: return VK_DELETE;
    case Qt::Key_Plus: return VK_OEM_PLUS;
    case Qt::Key_Comma: return VK_OEM_COMMA;
    case Qt::Key_Minus: return VK_OEM_MINUS;
    case Qt::Key_Period: return VK_OEM_PERIOD;
    default: return event.text().isEmpty() ? 0 : VK_CHARACTER;
    }
}

char32_t CharOf(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter: return CH_RETURN;
    case Qt::Key_Escape: return CH_ESCAPE;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return CH_TAB;
    case Qt::Key_Backspace: return CH_BACK;
    default: break;
    }
    if (event.modifiers() & (Qt::ControlModifier | Qt::AltModifier))
        return 0;
    const QString text = event.text();
    if (text.isEmpty())
        return 0;
    const char32_t c = text.toUcs4().value(0);
    return c >= 32 && c != 127 ? c : 0;
}

TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
    TShiftState s;
    s.Set(ssShift, modifiers & Qt::ShiftModifier);
    s.Set(ssCtrl, modifiers & Qt::ControlModifier);
    s.Set(ssAlt, modifiers & Qt::AltModifier);
    s.Set(ssLeft, buttons & Qt::LeftButton);
    s.Set(ssRight, buttons & Qt::RightButton);
    s.Set(ssMiddle, buttons & Qt::MiddleButton);
    return s;
}

TMouseButton MouseButtonOf(Qt::MouseButton button) {
    switch (button) {
    case Qt::RightButton: return mbRight;
    case Qt::MiddleButton: return mbMiddle;
    default: return mbLeft;
    }
}

TShiftState ShiftStateOf(const QMouseEvent& event) {
    return ShiftStateOf(event.modifiers(), event.buttons() | event.button());
}

void TInputHandlers::DeliverMouse(const QMouseEvent& event, QPoint p) {
    const TMouseButton button = MouseButtonOf(event.button());
    TShiftState shift = ShiftStateOf(event);
    switch (event.type()) {
    case QEvent::MouseButtonPress: MouseDown(button, shift, p.x(), p.y()); break;
    case QEvent::MouseButtonDblClick:
        shift.Include(ssDouble);
        MouseDown(button, shift, p.x(), p.y());
        DblClick();
        break;
    case QEvent::MouseMove: MouseMove(shift, p.x(), p.y()); break;
    case QEvent::MouseButtonRelease: MouseUp(button, shift, p.x(), p.y()); break;
    default: break;
    }
}

void TInputHandlers::DeliverKey(const QKeyEvent& event) {
    uint16_t key = VirtualKeyOf(event);
    char32_t ch = CharOf(event);
    if (key != 0)
        KeyDown(key, ShiftStateOf(event.modifiers()));
    if (ch != 0)
        KeyPress(ch);
}

void TInputHandlers::DeliverKeyUp(const QKeyEvent& event) {
    uint16_t key = VirtualKeyOf(event);
    KeyUp(key, ShiftStateOf(event.modifiers()));
}

} // namespace zeko
