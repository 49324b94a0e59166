#include "platform/qt/HintWindow.h"

#include <QGuiApplication>
#include <QScreen>

namespace zeko {

TSize ScreenSize() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen)
        return {800, 600};
    const QRect g = screen->geometry();
    return {g.width(), g.height()};
}

THintWindow::THintWindow()
    : QWidget(nullptr, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus) {
    setAttribute(Qt::WA_ShowWithoutActivating);
    setFocusPolicy(Qt::NoFocus);
    font_.OnChange = [this] { update(); };
}

THintWindow::~THintWindow() = default;

void THintWindow::SetCaption(const std::string& text) {
    caption_ = text;
    CaptionChanged();
    update();
}

void THintWindow::SetColor(TColor color) {
    color_ = color;
    update();
}

TRect THintWindow::CalcHintRect(int maxWidth, const std::string& text) {
    canvas_.SetFont(font_);
    TRect r{0, 0, maxWidth, 0};
    canvas_.DrawText(text, r, DT_CALCRECT | HintTextFlags);
    r.Right += 6;
    r.Bottom += 2;
    return r;
}

void THintWindow::ActivateHint(TRect r, const std::string& text) {
    SetCaption(text);
    SetBoundsRect(r);
    ShowNoActivate();
}

TRect THintWindow::BoundsRect() const { return FromQRect(geometry()); }

void THintWindow::SetBoundsRect(const TRect& r) { setGeometry(r.Left, r.Top, std::max(1, r.Width()), std::max(1, r.Height())); }

void THintWindow::ShowNoActivate() { show(); }  // kept on top by its window flags

void THintWindow::Paint(TCanvas& canvas) {
    TRect r = ClientRect();
    InflateRect(r, -1, -1);
    canvas.Brush().SetColor(color_);
    canvas.FillRect(r);
    canvas.Brush().SetStyle(bsClear);
    canvas.SetFont(font_);
    r.Left += 2;
    r.Top += 2;
    canvas.DrawText(caption_, r, HintTextFlags);
    canvas.Brush().SetStyle(bsSolid);
}

void THintWindow::paintEvent(QPaintEvent*) {
    TWidgetPaint paint(canvas_, this);
    canvas_.Brush().SetColor(clBlack);
    canvas_.FrameRect(ClientRect());
    Paint(canvas_);
}

} // namespace zeko
