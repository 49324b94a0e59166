#pragma once
// The program's own window messages (WParam: a date as a whole day number, 0 = ask
// the user; LParam: a channel id unless noted).
#include "platform/WindowMessages.h"

namespace zeko {

constexpr uint32_t WM_ONLINE_REFRESH = WM_USER + 400;     // 1424, to the live-values window
constexpr uint32_t WM_OPEN_ONLINE = WM_USER + 401;        // 1425
constexpr uint32_t WM_SHOW_DAY_TABLE = WM_USER + 402;     // 1426
constexpr uint32_t WM_SHOW_MONTH_TABLE = WM_USER + 403;   // 1427
constexpr uint32_t WM_SHOW_YEAR_TABLE = WM_USER + 404;    // 1428
constexpr uint32_t WM_OPEN_MONTH_TABLE = WM_USER + 405;   // 1429
constexpr uint32_t WM_OPEN_YEAR_TABLE = WM_USER + 406;    // 1430
constexpr uint32_t WM_OPEN_DAY_TABLE = WM_USER + 407;     // 1431
// LParam: channel id, plus ArchiveMenuItemFactor × the archive-choice menu item.
constexpr uint32_t WM_SHOW_ARCHIVE = WM_USER + 408;       // 1432
constexpr intptr_t ArchiveMenuItemFactor = 100000;

// The main window's class name, under which the other windows find it.
constexpr const char* MainWindowClass = "THlavniForm";
// The archive window's, to which the main window passes WM_SHOW_ARCHIVE on.
constexpr const char* ArchiveWindowClass = "TArchivForm";

} // namespace zeko
