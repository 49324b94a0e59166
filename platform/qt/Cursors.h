#pragma once
// The screen's cursor table: the shapes of the mouse pointer by number, as the
// class library's controls choose them. Numbers nobody registered give the arrow.
#include <QCursor>

namespace zeko {

constexpr int crDefault = 0;

void RegisterCursor(int id, const QCursor& cursor);
QCursor ScreenCursor(int id);
bool HasCursor(int id);

} // namespace zeko
