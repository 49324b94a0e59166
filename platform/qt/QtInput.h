#pragma once
// Qt's key and mouse events in the controls' own terms: virtual key codes, shift
// states, mouse buttons and the character a key types.
#include <QPoint>
#include <Qt>

#include <cstdint>

#include "platform/Keys.h"

class QKeyEvent;
class QMouseEvent;
class QWidget;

namespace zeko {

// Punctuation keys and keys without a code of their own.
constexpr uint16_t VK_OEM_PLUS = 0xBB;
constexpr uint16_t VK_OEM_COMMA = 0xBC;
constexpr uint16_t VK_OEM_MINUS = 0xBD;
constexpr uint16_t VK_OEM_PERIOD = 0xBE;
constexpr uint16_t VK_CHARACTER = 0xE5;  // any other key that types a character

uint16_t VirtualKeyOf(const QKeyEvent& event);
// The character a key types: the event's text, or CR, Esc, Tab and Backspace for
// those keys; 0 when it types none.
char32_t CharOf(const QKeyEvent& event);
TShiftState ShiftStateOf(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons = Qt::NoButton);
TMouseButton MouseButtonOf(Qt::MouseButton button);
TShiftState ShiftStateOf(const QMouseEvent& event);

// The input handlers of the class library's controls. A control overrides the
// ones it needs; Qt's events reach them through the Deliver functions, and tests
// call them directly. Setting the key to 0 consumes it.
class TInputHandlers {
public:
    virtual ~TInputHandlers() = default;

    virtual void KeyDown(uint16_t& key, TShiftState shift) {}
    virtual void KeyPress(char32_t& key) {}
    virtual void KeyUp(uint16_t& key, TShiftState shift) {}
    virtual void MouseDown(TMouseButton button, TShiftState shift, int x, int y) {}
    virtual void MouseMove(TShiftState shift, int x, int y) {}
    virtual void MouseUp(TMouseButton button, TShiftState shift, int x, int y) {}
    virtual void DblClick() {}
    virtual void DoEnter() {}  // the focus came in
    virtual void DoExit() {}   // the focus went out
    virtual void CancelMode(QWidget* sender) {}  // another control took the focus

    // A press, double click, move or release at `p` (the control's coordinates);
    // a double click is a press with ssDouble followed by DblClick.
    void DeliverMouse(const QMouseEvent& event, QPoint p);
    // KeyDown, then KeyPress for the character the key types (also when KeyDown
    // consumed the key, as the class library's messages do).
    void DeliverKey(const QKeyEvent& event);
    void DeliverKeyUp(const QKeyEvent& event);
};

} // namespace zeko
