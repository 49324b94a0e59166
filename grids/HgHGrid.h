#pragma once
// THgHintGrid: the string grid under THyperGrid that shows a small hint window
// for one cell after a short delay (60 ticks of 10 ms): the cell under the mouse,
// or the current cell when HintFollowsMouse is off. The text comes from
// OnShowCellHint; without a handler no hint ever shows, but the countdown and the
// tracking of the cell still run.
#include <QTimer>

#include <functional>
#include <memory>
#include <string>

#include "platform/qt/Grids.h"

namespace zeko {

class ThgHintWindow;

class THgHintGrid : public TStringGrid {
public:
    static constexpr int HintTickMs = 10;
    static constexpr int HintDelayTicks = 60;

    explicit THgHintGrid(QWidget* parent = nullptr);
    ~THgHintGrid() override;

    bool HintFollowsMouse() const { return hintFollowsMouse_; }
    void SetHintFollowsMouse(bool v) { hintFollowsMouse_ = v; }
    // (grid, col, row, hint, top-left corner on the screen)
    std::function<void(TCustomGrid*, int col, int row, std::string& hint, TPoint& topLeft)> OnShowCellHint;

    void SetHintActive(bool active);
    void RestartHint();
    void SetHintCell(TGridCoord cell);
    bool CanShowHint() const;
    // One tick of the hint timer (the timer calls it; tests may too).
    void HintTimerTick();

    int HintCol() const { return hintCol_; }
    int HintRow() const { return hintRow_; }
    bool HintShowing() const { return hintShowing_; }
    bool MouseInside() const { return mouseInside_; }
    int HintCountdown() const { return hintCountdown_; }
    bool HintTimerRunning() const { return hintTimer_.isActive(); }
    ThgHintWindow* HintWindow() const { return hintWindow_.get(); }

    void MouseEnter() override;
    void MouseLeave() override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void CancelMode(QWidget* sender) override;
    // The application became active (true) or inactive (false).
    virtual void ApplicationActivated(bool active);

protected:
    // Whether the form that holds the grid is the active one.
    virtual bool FormIsActive() const;

private:
    bool mouseInside_ = false;
    int hintCol_ = -1;
    int hintRow_ = -1;
    bool hintShowing_ = false;
    std::unique_ptr<ThgHintWindow> hintWindow_;
    QTimer hintTimer_;
    int hintCountdown_ = HintDelayTicks;
    bool mainWindowHooked_ = false;
    bool hintFollowsMouse_ = true;
};

} // namespace zeko
