#pragma once
// The program's icon, a power-factor meter, drawn at any size: the windows show it,
// and the build draws it at the sizes of the desktop's icon theme for installing.
#include <QIcon>
#include <QImage>

namespace zeko {

// The sizes of the desktop's icon theme the build draws.
inline constexpr int ProgramIconSizes[] = {16, 24, 32, 48, 64, 128, 256};

QImage DrawProgramIcon(int size);
// The installed icon of the desktop's theme, else the drawn one at the theme's sizes.
QIcon ProgramIcon();

} // namespace zeko
