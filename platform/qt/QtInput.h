#pragma once
// Qt's key and mouse events in the controls' own terms: virtual key codes, shift
// states, mouse buttons and the character a key types.
#include <Qt>

#include <cstdint>

#include "platform/Keys.h"

class QKeyEvent;
class QMouseEvent;

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

} // namespace zeko
