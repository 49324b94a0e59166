#pragma once
// The pictures of the form controls, kept as resources of the program and loaded
// by name ("ZCSPINUP", "ZCSPINDOWN", "PREV2", "PREV1", "NEXT1", "NEXT2",
// "DEDITBMP"), and the two cursors the controls add to the screen's cursor table.
#include <QImage>

#include <string>

namespace zeko {

constexpr int crLinkHand = 14000;  // a hand pointing up; the hot spot at the fingertip
constexpr int crGrabHand = 14001;  // a grabbing hand; the hot spot near its centre

// Registers crLinkHand and crGrabHand (resources "ZC_HANDCUR" and "ZC_DRAGCUR");
// the program calls it once at start.
void InitZcConst();

// The bitmap resource of that name; a null image for a name that is none.
QImage LoadZcBitmap(const std::string& name);

} // namespace zeko
