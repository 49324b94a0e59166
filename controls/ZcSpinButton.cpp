// The diagonal spin button and the up-down arrows.
#include "controls/ZcSpin.h"

#include "controls/VCLUtils.h"
#include "controls/ZcConst.h"
#include "platform/FormatSettings.h"

namespace zeko {

TSpinButtonState SpinHalfAt(int x, int y, int width, int height) {
    if (width <= 0)
        return sbTopDown;
    const double diagonal = height - static_cast<double>(height) / width * x;
    return y > diagonal ? sbBottomDown : sbTopDown;
}

namespace {

void LoadGlyph(TBitmap& glyph, const QImage& picture, const char* resource) {
    glyph.Assign(picture.isNull() ? LoadZcBitmap(resource) : picture);
}

// The class library's BrushCopy: the picture at (x, y), its transparent colour
// replaced by the brush colour.
void BrushCopy(TCanvas& canvas, int x, int y, const TBitmap& picture, TColor brushColor) {
    if (picture.Empty())
        return;
    canvas.FillPixels(Bounds(x, y, picture.Width(), picture.Height()), brushColor, pmCopy);
    canvas.Draw(x, y, TransparentImage(picture.Image(), picture.TransparentColor()));
}

void Polyline(TCanvas& canvas, TColor color, std::initializer_list<TPoint> points) {
    canvas.Pen().SetColor(color);
    canvas.Polyline(std::vector<TPoint>(points));
}

} // namespace

// ---------------------------------------------------------------- TZcSpinButton

TZcSpinButton::TZcSpinButton(QWidget* parent) : TGraphicControl(parent) {
    SetBounds(0, 0, 20, 20);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
    LoadGlyph(upGlyph_, QImage(), "ZCSPINUP");
    LoadGlyph(downGlyph_, QImage(), "ZCSPINDOWN");
    DrawPictures();
}

void TZcSpinButton::SetUpGlyph(const QImage& picture) {
    LoadGlyph(upGlyph_, picture, "ZCSPINUP");
    picturesStale_ = true;
    Invalidate();
}

void TZcSpinButton::SetDownGlyph(const QImage& picture) {
    LoadGlyph(downGlyph_, picture, "ZCSPINDOWN");
    picturesStale_ = true;
    Invalidate();
}

const QImage& TZcSpinButton::Picture(TSpinButtonState state) {
    const TBitmap& any = pictures_[sbNotDown];
    if (picturesStale_ || any.Width() != width() || any.Height() != height())
        DrawPictures();
    return pictures_[state].Image();
}

void TZcSpinButton::DrawPictures() {
    for (int s = sbNotDown; s <= sbBottomDown; ++s)
        DrawPicture(pictures_[static_cast<size_t>(s)], static_cast<TSpinButtonState>(s));
    picturesStale_ = false;
}

void TZcSpinButton::DrawPicture(TBitmap& picture, TSpinButtonState state) {
    const int w = width();
    const int h = height();
    picture.SetSize(w, h);
    if (picture.Empty())
        return;
    TCanvas& c = picture.Canvas();
    c.Pen().SetStyle(psSolid);
    c.Pen().SetWidth(1);
    c.Pen().SetColor(clWindowFrame);
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(clBtnFace);
    c.Rectangle(0, 0, w, h);
    c.MoveTo(-1, h);
    c.LineTo(w, -1);

    const bool top = state == sbTopDown;
    const bool bottom = state == sbBottomDown;
    Polyline(c, top ? clBtnShadow : clBtnHighlight, {{1, h - 4}, {1, 1}, {w - 3, 1}});
    if (!top)
        Polyline(c, clBtnShadow, {{1, h - 3}, {w - 2, 0}});
    Polyline(c, bottom ? clBtnHighlight : clBtnShadow, {{2, h - 2}, {w - 2, h - 2}, {w - 2, 1}});
    Polyline(c, bottom ? clBtnShadow : clBtnHighlight, {{2, h - 2}, {w - 1, 1}});
    if (bottom)
        Polyline(c, clBtnShadow, {{3, h - 2}, {w - 1, 2}});

    // The up arrow moves one more pixel in while its half is pressed.
    const int d = top ? 2 : 1;
    const int ux = static_cast<int>(Round(w / 4.0 - upGlyph_.Width() / 2.0)) + d;
    const int uy = static_cast<int>(Round(h / 4.0 - upGlyph_.Height() / 2.0)) + d;
    const int dx = static_cast<int>(Round(3.0 * w / 4.0 - downGlyph_.Width() / 2.0)) - 1;
    const int dy = static_cast<int>(Round(3.0 * h / 4.0 - downGlyph_.Height() / 2.0)) - 1;
    BrushCopy(c, ux, uy, upGlyph_, clBtnFace);
    BrushCopy(c, dx, dy, downGlyph_, clBtnFace);
}

void TZcSpinButton::Paint() { Canvas().Draw(0, 0, Picture(state_)); }

void TZcSpinButton::EnabledChanged() {
    if (!Enabled())
        dragging_ = false;
    picturesStale_ = true;
    Invalidate();
}

void TZcSpinButton::SetState(TSpinButtonState state) {
    if (state == state_)
        return;
    state_ = state;
    Repaint();
}

void TZcSpinButton::ClickHalf(TSpinButtonState half) {
    const auto& handler = half == sbTopDown ? OnTopClick : OnBottomClick;
    if (!handler)
        return;
    handler(this);
    // The handler may have run a dialog that took the release of the button.
    if (!LeftButtonHeld())
        state_ = sbNotDown;
}

void TZcSpinButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    if (QWidget* focus = focusControl_; focus && (focus->focusPolicy() & Qt::TabFocus) && focus->isEnabled() &&
                                        focus->isVisible() && !focus->hasFocus())
        focus->setFocus(Qt::MouseFocusReason);
    if (state_ == sbNotDown) {
        lastState_ = state_;
        const TSpinButtonState shown = state_;
        state_ = SpinHalfAt(x, y, width(), height());
        ClickHalf(state_);
        if (state_ != shown) {
            Repaint();
            lastState_ = state_;
        }
        repeat_.Start(SpinFirstRepeatMs, SpinRepeatMs, [this] { return state_ != sbNotDown && MouseCapture(); },
                      [this] { ClickHalf(state_); });
    }
    dragging_ = true;
}

void TZcSpinButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_)
        return;
    if (x < 0 || x > width() || y < 0 || y > height()) {
        SetState(sbNotDown);
        return;
    }
    const TSpinButtonState half = SpinHalfAt(x, y, width(), height());
    if (half != state_)
        SetState(half == lastState_ ? half : sbNotDown);
}

void TZcSpinButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft || !dragging_)
        return;
    dragging_ = false;
    repeat_.Stop();
    if (x >= 0 && x <= width() && y >= 0 && y <= height()) {
        lastState_ = sbNotDown;
        SetState(sbNotDown);
    }
}

// ---------------------------------------------------------------- TZcUpDown

TZcUpDown::TZcUpDown(QWidget* parent) : TGraphicControl(parent) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    setCursor(Qt::ArrowCursor);
}

void TZcUpDown::ClickButton(TUDBtnType button) {
    if (changing_ || !OnClick)
        return;
    changing_ = true;
    try {
        OnClick(this, button);
    } catch (...) {
        changing_ = false;
        throw;
    }
    changing_ = false;
}

void TZcUpDown::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseDown(button, shift, x, y);
    if (button != mbLeft || !Enabled())
        return;
    held_ = pressed_ = ArrowAt(y);
    Repaint();
    ClickButton(static_cast<TUDBtnType>(held_));
    repeat_.Start(SpinFirstRepeatMs, SpinRepeatMs, [this] { return pressed_ >= 0 && MouseCapture(); },
                  [this] { ClickButton(static_cast<TUDBtnType>(pressed_)); });
}

void TZcUpDown::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (held_ < 0)
        return;
    const bool over = x >= 0 && x < width() && y >= 0 && y < height() && ArrowAt(y) == held_;
    const int shown = over ? held_ : -1;
    if (shown != pressed_) {
        pressed_ = shown;
        Repaint();
    }
}

void TZcUpDown::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    if (button != mbLeft)
        return;
    repeat_.Stop();
    held_ = pressed_ = -1;
    Repaint();
}

void TZcUpDown::Paint() {
    const int half = height() / 2;
    const uint32_t disabled = Enabled() ? 0 : DFCS_INACTIVE;
    DrawFrameControl(Canvas(), {0, 0, width(), half}, DFC_SCROLL,
                     DFCS_SCROLLUP | disabled | (pressed_ == btNext ? DFCS_PUSHED : 0));
    DrawFrameControl(Canvas(), {0, half, width(), height()}, DFC_SCROLL,
                     DFCS_SCROLLDOWN | disabled | (pressed_ == btPrev ? DFCS_PUSHED : 0));
}

} // namespace zeko
