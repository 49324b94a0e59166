#include "grids/HgHGrid.h"

#include <QCursor>
#include <QGuiApplication>

#include "grids/HgEdit.h"
#include "platform/TextFiles.h"

namespace zeko {

THgHintGrid::THgHintGrid(QWidget* parent) : TStringGrid(parent) {
    hintTimer_.setInterval(HintTickMs);
    QObject::connect(&hintTimer_, &QTimer::timeout, this, [this] { HintTimerTick(); });
    if (!ComponentState().Contains(csDesigning)) {
        hintWindow_ = std::make_unique<ThgHintWindow>();
        // Stands in for the hook on the application's main window: activation of
        // the application switches the hint on and off.
        QObject::connect(qApp, &QGuiApplication::applicationStateChanged, this,
                         [this](Qt::ApplicationState state) { ApplicationActivated(state == Qt::ApplicationActive); });
        mainWindowHooked_ = true;
    }
}

THgHintGrid::~THgHintGrid() {
    if (mainWindowHooked_)
        QObject::disconnect(qApp, &QGuiApplication::applicationStateChanged, this, nullptr);
    hintTimer_.stop();
}

bool THgHintGrid::FormIsActive() const { return window() && window()->isActiveWindow(); }

bool THgHintGrid::CanShowHint() const {
    if (!parentWidget() || !FormIsActive())
        return false;
    if (hintCol_ < 0 || hintCol_ >= ColCount() || hintRow_ < 0 || hintRow_ >= RowCount())
        return false;
    if (!ComponentState().Empty())
        return false;
    return hintFollowsMouse_ ? mouseInside_ : Focused();
}

void THgHintGrid::SetHintActive(bool active) {
    if (!ComponentState().Empty())
        return;
    if (active && CanShowHint()) {
        hintCountdown_ = HintDelayTicks;
        hintTimer_.start();
        return;
    }
    if (hintWindow_ && hintWindow_->Visible())
        hintWindow_->hide();
    hintShowing_ = false;
    hintTimer_.stop();
}

void THgHintGrid::RestartHint() {
    SetHintActive(false);
    SetHintActive(true);
}

void THgHintGrid::SetHintCell(TGridCoord cell) {
    if (cell.X == hintCol_ && cell.Y == hintRow_)
        return;
    hintCol_ = cell.X;
    hintRow_ = cell.Y;
    RestartHint();
}

void THgHintGrid::HintTimerTick() {
    if (--hintCountdown_ != 0)
        return;
    const TRect r = CellRect(hintCol_, hintRow_);
    TPoint topLeft = ClientToScreen({r.Right, r.Top - BothEdgesHeight(r)});
    std::string hint;
    if (OnShowCellHint) {
        topLeft.Y += 4;
        OnShowCellHint(this, hintCol_, hintRow_, hint, topLeft);
    }
    // Without a text the timer runs on below zero, so no hint follows until the
    // next activation.
    if (TrimBlanks(hint).empty() || !hintWindow_)
        return;
    hintWindow_->ActivateHint(Bounds(topLeft.X, topLeft.Y, 0, 0), hint);
    hintShowing_ = true;
    hintTimer_.stop();
}

void THgHintGrid::MouseEnter() {
    TStringGrid::MouseEnter();
    mouseInside_ = true;
    SetHintActive(true);
}

void THgHintGrid::MouseLeave() {
    TStringGrid::MouseLeave();
    const QPoint c = QCursor::pos();
    mouseInside_ = PtInRect(ClientRect(), ScreenToClient({c.x(), c.y()}));
    if (!mouseInside_ && hintFollowsMouse_)
        SetHintActive(false);
}

void THgHintGrid::MouseMove(TShiftState shift, int x, int y) {
    TStringGrid::MouseMove(shift, x, y);
    if (hintFollowsMouse_)
        SetHintCell(MouseCoord(x, y));
}

void THgHintGrid::DoEnter() {
    TStringGrid::DoEnter();
    if (!hintFollowsMouse_)
        SetHintActive(true);
}

void THgHintGrid::CancelMode(QWidget* sender) {
    TStringGrid::CancelMode(sender);
    const bool fromOwn = sender == this || (InplaceEditor() && InplaceEditor()->isAncestorOf(sender)) ||
                         sender == InplaceEditor();
    if (!fromOwn && !hintFollowsMouse_ && hintShowing_)
        SetHintActive(false);
}

void THgHintGrid::ApplicationActivated(bool active) { SetHintActive(active); }

} // namespace zeko
