#pragma once
// Keyboard and mouse vocabulary of the controls: virtual key codes as the program
// has always numbered them, the shift state that goes with a key or mouse event,
// and the mouse buttons. The Qt layer translates its events into these.
#include <cstdint>

#include "platform/Sets.h"

namespace zeko {

enum TShiftStateItem : uint8_t { ssShift, ssAlt, ssCtrl, ssLeft, ssRight, ssMiddle, ssDouble };
using TShiftState = TSet<TShiftStateItem>;

enum TMouseButton : uint8_t { mbLeft, mbRight, mbMiddle };

// Virtual key codes; letters and digits are their upper-case ASCII codes.
constexpr uint16_t VK_BACK = 0x08;
constexpr uint16_t VK_TAB = 0x09;
constexpr uint16_t VK_RETURN = 0x0D;
constexpr uint16_t VK_SHIFT = 0x10;
constexpr uint16_t VK_CONTROL = 0x11;
constexpr uint16_t VK_MENU = 0x12;  // Alt
constexpr uint16_t VK_ESCAPE = 0x1B;
constexpr uint16_t VK_SPACE = 0x20;
constexpr uint16_t VK_PRIOR = 0x21;  // Page Up
constexpr uint16_t VK_NEXT = 0x22;   // Page Down
constexpr uint16_t VK_END = 0x23;
constexpr uint16_t VK_HOME = 0x24;
constexpr uint16_t VK_LEFT = 0x25;
constexpr uint16_t VK_UP = 0x26;
constexpr uint16_t VK_RIGHT = 0x27;
constexpr uint16_t VK_DOWN = 0x28;
constexpr uint16_t VK_INSERT = 0x2D;
constexpr uint16_t VK_DELETE = 0x2E;
constexpr uint16_t VK_ADD = 0x6B;       // plus on the numeric pad
constexpr uint16_t VK_SUBTRACT = 0x6D;  // minus on the numeric pad
constexpr uint16_t VK_F1 = 0x70;
constexpr uint16_t VK_F2 = 0x71;
constexpr uint16_t VK_F4 = 0x73;

// The characters the control keys type, as KeyPress sees them.
constexpr char32_t CH_BACK = 8;
constexpr char32_t CH_TAB = U'\t';
constexpr char32_t CH_RETURN = U'\r';
constexpr char32_t CH_ESCAPE = 27;
// A typed key that changes a text: a character or Backspace.
constexpr bool EditsText(char32_t key) { return key >= 32 || key == CH_BACK; }

} // namespace zeko
