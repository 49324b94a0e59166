#include "platform/qt/WindowPlacement.h"

#include "platform/qt/Canvas.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QVariant>

#include <algorithm>

namespace zeko {

namespace {

std::optional<TScreenInfo>& ScreenOverride() {
    static std::optional<TScreenInfo> info;
    return info;
}

int Overlap(const TRect& a, const TRect& b) {
    const int w = std::min(a.Right, b.Right) - std::max(a.Left, b.Left);
    const int h = std::min(a.Bottom, b.Bottom) - std::max(a.Top, b.Top);
    return w > 0 && h > 0 ? w * h : 0;
}

// Places the span [start, start + size) inside [low, high), cutting it when larger.
void ClampSpan(int& start, int& size, int low, int high) {
    size = std::min(size, high - low);
    start = std::clamp(start, low, high - size);
}

// The minimized and maximized positions have no place in Qt's window state; the
// window keeps them as properties so that they come back as they were written.
constexpr const char* MinPositionProperty = "zekoMinPosition";
constexpr const char* MaxPositionProperty = "zekoMaxPosition";
constexpr const char* FlagsProperty = "zekoPlacementFlags";

TPoint PointProperty(const QWidget* window, const char* name) {
    const QVariant v = window->property(name);
    return v.isValid() ? TPoint{v.toPoint().x(), v.toPoint().y()} : TPoint{-1, -1};
}

// Before the window system has framed the window its frame is the window itself.
bool HasFrame(const QWidget* window) { return window->frameGeometry().size() != window->size(); }

// The wanted size and place (the window's own size, the place of its frame), moved
// and cut onto the work area with the frame the window has now.
void FitOnWorkArea(QWidget* window, const QRect& wanted) {
    const QSize frame = window->frameGeometry().size() - window->size();
    const QRect outer(wanted.topLeft(), wanted.size() + frame);
    const QRect fitted = ToQRect(ClampToWorkAreas(FromQRect(outer), ScreenInfo().WorkAreas));
    window->resize(fitted.size() - frame);
    window->move(fitted.topLeft());
}

// Places the window once more at the first move or resize that comes with its
// frame: a window system that frames a window after it is shown may also give it
// back the size it was shown with.
class TPlaceWhenFramed : public QObject {
public:
    TPlaceWhenFramed(QWidget* window, const QRect& wanted) : QObject(window), window_(window), wanted_(wanted) {
        window->installEventFilter(this);
    }
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == window_ && (event->type() == QEvent::Move || event->type() == QEvent::Resize) &&
            HasFrame(window_)) {
            window_->removeEventFilter(this);
            FitOnWorkArea(window_, wanted_);
            deleteLater();
        }
        return false;
    }

private:
    QWidget* window_;
    QRect wanted_;
};

} // namespace

TScreenInfo ScreenInfo() {
    if (ScreenOverride())
        return *ScreenOverride();
    TScreenInfo info;
    const QScreen* primary = QGuiApplication::primaryScreen();
    if (primary == nullptr)
        return info;
    info.Width = primary->geometry().width();
    info.Height = primary->geometry().height();
    info.PixelsPerInch = qRound(primary->logicalDotsPerInch());
    info.WorkAreas.push_back(FromQRect(primary->availableGeometry()));
    for (const QScreen* screen : QGuiApplication::screens())
        if (screen != primary)
            info.WorkAreas.push_back(FromQRect(screen->availableGeometry()));
    return info;
}

void SetScreenInfoForTest(std::optional<TScreenInfo> info) { ScreenOverride() = std::move(info); }

TRect ClampToWorkAreas(const TRect& r, const std::vector<TRect>& areas) {
    if (areas.empty())
        return r;
    const TRect* best = &areas.front();
    int bestOverlap = 0;
    for (const TRect& area : areas)
        if (const int o = Overlap(r, area); o > bestOverlap) {
            bestOverlap = o;
            best = &area;
        }
    int left = r.Left, top = r.Top;
    int width = std::max(0, r.Right - r.Left), height = std::max(0, r.Bottom - r.Top);
    ClampSpan(left, width, best->Left, best->Right);
    ClampSpan(top, height, best->Top, best->Bottom);
    return {left, top, left + width, top + height};
}

void PlaceOnWorkArea(QWidget* window, const QRect& wanted) {
    FitOnWorkArea(window, wanted);
    if (!HasFrame(window))
        new TPlaceWhenFramed(window, wanted);
}

TWindowPlacement GetWindowPlacement(const QWidget* window) {
    TWindowPlacement p;
    if (window->isHidden())
        p.ShowCmd = SW_HIDE;
    else if (window->isMinimized())
        p.ShowCmd = SW_SHOWMINIMIZED;
    else if (window->isMaximized())
        p.ShowCmd = SW_SHOWMAXIMIZED;
    const QRect normal = window->isMinimized() || window->isMaximized() ? window->normalGeometry() : window->geometry();
    p.NormalPosition = FromQRect(normal.isValid() ? normal : window->geometry());
    p.MinPosition = PointProperty(window, MinPositionProperty);
    p.MaxPosition = PointProperty(window, MaxPositionProperty);
    p.Flags = window->property(FlagsProperty).toInt();
    return p;
}

void SetWindowPlacement(QWidget* window, const TWindowPlacement& placement) {
    window->setProperty(MinPositionProperty, QPoint(placement.MinPosition.X, placement.MinPosition.Y));
    window->setProperty(MaxPositionProperty, QPoint(placement.MaxPosition.X, placement.MaxPosition.Y));
    window->setProperty(FlagsProperty, placement.Flags);
    const TRect r = ClampToWorkAreas(placement.NormalPosition, ScreenInfo().WorkAreas);
    window->setGeometry(ToQRect(r));
    switch (placement.ShowCmd) {
    case SW_HIDE: break;
    case SW_SHOWMINIMIZED: window->showMinimized(); break;
    case SW_SHOWMAXIMIZED: window->showMaximized(); break;
    default: window->showNormal(); break;
    }
}

} // namespace zeko

namespace zeko {

void SetMaximizedPosition(QWidget* window, TPoint position) {
    window->setProperty(MaxPositionProperty, QPoint(position.X, position.Y));
}

TPoint WindowFrameSize(const QWidget* window) {
    return {window->geometry().x() - window->frameGeometry().x(), window->geometry().y() - window->frameGeometry().y()};
}

} // namespace zeko
