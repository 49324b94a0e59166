#pragma once
// The screen as the controls ask about it (size in pixels, pixels per inch, the
// work areas of the monitors there are now), and a window's placement: its show
// command, its restored (normal) rectangle in screen coordinates and the minimized
// and maximized positions the window system keeps for it. Tests set the screen they
// want.
#include <QWidget>

#include <optional>
#include <vector>

#include "platform/Graphics.h"

namespace zeko {

struct TScreenInfo {
    int Width = 0;   // of the primary screen
    int Height = 0;
    int PixelsPerInch = 96;
    std::vector<TRect> WorkAreas;  // every monitor, the primary one first
};

TScreenInfo ScreenInfo();
void SetScreenInfoForTest(std::optional<TScreenInfo> info);

// The rectangle moved (and cut where it is larger) onto the work area it overlaps
// most, or onto the first one when it overlaps none: a window stored on a monitor
// that has gone opens on one that is there.
TRect ClampToWorkAreas(const TRect& r, const std::vector<TRect>& areas);

// Gives a top-level window the size and place wanted (its own size, the place of
// its frame), moved, and made smaller where it is larger, so that the whole of it,
// frame included, lies on the work area it overlaps most: a size and place stored
// on a larger screen, or a default larger than the screen, leave no edge of the
// window out of reach. A window not framed yet is fitted again once the window
// system has framed it.
void PlaceOnWorkArea(QWidget* window, const QRect& wanted);

// Show commands and placement flags as the window system numbers them.
constexpr int SW_HIDE = 0;
constexpr int SW_SHOWNORMAL = 1;
constexpr int SW_SHOWMINIMIZED = 2;
constexpr int SW_SHOWMAXIMIZED = 3;
constexpr int WPF_SETMINPOSITION = 1;

struct TWindowPlacement {
    int Flags = 0;
    int ShowCmd = SW_SHOWNORMAL;
    TPoint MinPosition{-1, -1};
    TPoint MaxPosition{-1, -1};
    TRect NormalPosition;  // the restored rectangle of the window's client area
};

TWindowPlacement GetWindowPlacement(const QWidget* window);
// Applies the normal rectangle (clamped onto the screens there are) and keeps the
// minimized and maximized positions; SW_HIDE leaves the window's visibility alone,
// any other show command applies its state.
void SetWindowPlacement(QWidget* window, const TWindowPlacement& placement);
// Only the maximized position of the placement.
void SetMaximizedPosition(QWidget* window, TPoint position);
// The width and height of the frame the window system draws around the window.
TPoint WindowFrameSize(const QWidget* window);

} // namespace zeko
