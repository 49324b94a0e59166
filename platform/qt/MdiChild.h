#pragma once
// The program's MDI child windows: a form in a maximised child of the main
// window's MDI area that frees itself when closed. A child smaller than the form's
// content scrolls it instead of cutting it off: the content reaches to the far
// edges of the form's child controls, or as far as the form's minimumSizeHint
// asks (a picture it paints itself).
//
// Restored from maximised (the middle button at the right of the menu bar), a child
// has its design size, the outer size of its window; a form without one gets the
// size that shows its content whole. Neither is larger than the MDI area.
#include <QSize>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace zeko {

// Adds `form` to `area` with the form's window title, maximised; `designSize` is
// the child's size when restored (empty: the size of the form's content).
QMdiSubWindow* AddMdiChild(QMdiArea* area, QWidget* form, QSize designSize = {});
// The child window that holds `form` (or any widget inside one); null outside.
QMdiSubWindow* MdiChildOf(const QWidget* form);

} // namespace zeko
