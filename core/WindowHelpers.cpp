#include "core/WindowHelpers.h"

#include "core/ProgramGlobals.h"
#include "platform/WindowMessages.h"

namespace zeko {

bool PostToWindow(const std::string& className, uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    return PostMessageTo(FindWindowByClass(className), msg, wParam, lParam);
}

int LayoutWidth() {
    return WindowWidth < 900 ? 800 : 1024;
}

} // namespace zeko
