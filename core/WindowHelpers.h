#pragma once
// Posting to a window found by its class name, and the layout width of the tables.
#include <cstdint>
#include <string>

namespace zeko {

// Posts the message to the window of that class when there is one; false otherwise.
bool PostToWindow(const std::string& className, uint32_t msg, uintptr_t wParam, intptr_t lParam);

// 800 while the main window (WindowWidth) is narrower than 900 pixels, else 1024:
// picks the column-width key and the row heights of the table windows.
int LayoutWidth();

} // namespace zeko
