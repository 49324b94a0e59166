#pragma once
// The program's MDI child windows: a form in a maximised child of the main
// window's MDI area that frees itself when closed. A child smaller than the form's
// content scrolls it instead of cutting it off: the content reaches to the far
// edges of the form's child controls, or as far as the form's minimumSizeHint
// asks (a picture it paints itself).
class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace zeko {

// Adds `form` to `area` with the form's window title, maximised.
QMdiSubWindow* AddMdiChild(QMdiArea* area, QWidget* form);
// The child window that holds `form` (or any widget inside one); null outside.
QMdiSubWindow* MdiChildOf(const QWidget* form);

} // namespace zeko
