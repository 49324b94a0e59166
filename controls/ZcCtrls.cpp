// The speed button: its properties, group behaviour, mouse state machine, repeat,
// drop-down menu and painting. The glyph engine is in ZcCtrlsGlyph.cpp.
#include "controls/ZcCtrls.h"

#include "controls/VCLUtils.h"
#include "platform/qt/Forms.h"

#include <QKeySequence>
#include <QShortcutEvent>

namespace zeko {

namespace {

// The character after the first single "&" of a caption, or 0.
char32_t AcceleratorOf(const std::string& caption) {
    const QString s = QString::fromStdString(caption);
    for (int i = 0; i + 1 < s.size(); ++i) {
        if (s[i] != '&')
            continue;
        if (s[i + 1] != '&')
            return s[i + 1].toUpper().unicode();
        ++i;
    }
    return 0;
}

// The fine checker of a button held down: button highlight and button face.
void FillChecker(TCanvas& canvas, const TRect& r) {
    if (IsRectEmpty(r))
        return;
    QImage checker(r.Width(), r.Height(), QImage::Format_RGB32);
    const QRgb light = ToQColor(clBtnHighlight).rgb();
    const QRgb face = ToQColor(clBtnFace).rgb();
    for (int y = 0; y < r.Height(); ++y)
        for (int x = 0; x < r.Width(); ++x)
            checker.setPixel(x, y, ((r.Left + x + r.Top + y) % 2 == 0) ? light : face);
    canvas.Draw(r.Left, r.Top, checker);
}

} // namespace

TRect DrawButtonFrame(TCanvas& canvas, const TRect& client, bool down, TButtonStyle style, bool flat) {
    TRect r = client;
    // This system always has the new-style (3-D) look, so automatic detection picks it.
    const bool newStyle = style != bsWin31;
    auto ring = [&](TColor topLeft, TColor bottomRight) { Frame3D(canvas, r, topLeft, bottomRight, 1); };
    if (!down) {
        if (newStyle && !flat) {
            ring(clBtnHighlight, clWindowFrame);
            ring(clBtnFace, clBtnShadow);
        } else if (newStyle) {
            ring(clBtnHighlight, clBtnShadow);
        } else if (!flat) {
            ring(clWindowFrame, clWindowFrame);
            ring(clBtnHighlight, clBtnShadow);
        } else {
            ring(clBtnHighlight, clWindowFrame);
        }
    } else if (newStyle) {
        ring(clWindowFrame, clBtnHighlight);
        if (!flat)
            ring(clBtnShadow, clBtnFace);
    } else if (!flat) {
        ring(clWindowFrame, clWindowFrame);
        canvas.Pen().SetColor(clBtnShadow);
        canvas.Pen().SetStyle(psSolid);
        canvas.MoveTo(r.Left, r.Bottom - 1);
        canvas.LineTo(r.Left, r.Top);
        canvas.LineTo(r.Right, r.Top);
    } else {
        ring(clWindowFrame, clBtnHighlight);
    }
    InflateRect(r, -1, -1);
    return r;
}

// ---------------------------------------------------------------- TZcSpeedButton

TZcSpeedButton::TZcSpeedButton(QWidget* parent) : TGraphicControl(parent) {
    SetBounds(0, 0, 25, 25);
    setAttribute(Qt::WA_OpaquePaintEvent);
    setMouseTracking(true);
    SetShowHint(true);
    glyph_.OnChange = [this] { Invalidate(); };
}

TZcSpeedButton::~TZcSpeedButton() = default;

// ---- properties

void TZcSpeedButton::SetGroupIndex(int value) {
    if (value == groupIndex_)
        return;
    groupIndex_ = value;
    UpdateExclusive();
}

void TZcSpeedButton::SetAllowAllUp(bool value) {
    if (value == allowAllUp_)
        return;
    allowAllUp_ = value;
    UpdateExclusive();
}

void TZcSpeedButton::SetDown(bool value) {
    if (groupIndex_ == 0)
        value = false;
    if (value == down_)
        return;
    if (down_ && !allowAllUp_)
        return;
    down_ = value;
    if (value) {
        if (state_ == gsUp)
            Invalidate();
        state_ = gsExclusive;
    } else {
        state_ = gsUp;
        Repaint();
    }
    if (value)
        UpdateExclusive();
    Invalidate();
}

namespace {

template <typename T>
void StoreAndInvalidate(TZcSpeedButton& button, T& field, T value) {
    if (field == value)
        return;
    field = value;
    button.Invalidate();
}

} // namespace

void TZcSpeedButton::SetFlat(bool value) { StoreAndInvalidate(*this, flat_, value); }

void TZcSpeedButton::SetStyle(TButtonStyle value) { StoreAndInvalidate(*this, style_, value); }

void TZcSpeedButton::SetLayout(TButtonLayout value) { StoreAndInvalidate(*this, layout_, value); }

void TZcSpeedButton::SetSpacing(int value) { StoreAndInvalidate(*this, spacing_, value); }

void TZcSpeedButton::SetMarkDropDown(bool value) { StoreAndInvalidate(*this, markDropDown_, value); }

void TZcSpeedButton::SetGrayedInactive(bool value) { StoreAndInvalidate(*this, grayedInactive_, value); }

void TZcSpeedButton::SetMargin(int value) {
    if (value >= -1)
        StoreAndInvalidate(*this, margin_, value);
}

void TZcSpeedButton::SetTransparent(bool value) {
    // What lies behind a transparent button shows through the face it leaves unpainted.
    setAttribute(Qt::WA_OpaquePaintEvent, !value);
    StoreAndInvalidate(*this, transparent_, value);
}

void TZcSpeedButton::SetDropDownMenu(TPopupMenu* menu) {
    dropDownMenu_ = menu;
    if (markDropDown_)
        Invalidate();
}

void TZcSpeedButton::SetAllowTimer(bool value) {
    allowTimer_ = value;
    if (!value)
        repeat_.Free();
}

void TZcSpeedButton::SetAlignment(TAlignment value) {
    if (value == glyph_.Alignment())
        return;
    glyph_.SetAlignment(value);
    Invalidate();
}

void TZcSpeedButton::SetGlyph(const QImage& picture) {
    glyph_.SetGlyph(picture);
    Invalidate();
}

void TZcSpeedButton::SetNumGlyphs(int value) {
    value = std::min(value, 5);
    if (value == glyph_.NumGlyphs())
        return;
    glyph_.SetNumGlyphs(value);
    Invalidate();
}

void TZcSpeedButton::SetWordWrap(bool value) {
    if (value == glyph_.WordWrap())
        return;
    glyph_.SetWordWrap(value);
    Invalidate();
}

// ---- group

void TZcSpeedButton::UpdateExclusive() {
    if (groupIndex_ == 0 || !parentWidget())
        return;
    TMessage message{CM_GROUPBUTTONPRESSED, static_cast<uintptr_t>(groupIndex_),
                     reinterpret_cast<intptr_t>(static_cast<QObject*>(this))};
    Broadcast(parentWidget(), message);
}

void TZcSpeedButton::HandleControlMessage(TMessage& message) {
    if (message.Msg != CM_GROUPBUTTONPRESSED || message.WParam != static_cast<uintptr_t>(groupIndex_) ||
        !parentWidget())
        return;
    auto* sender = dynamic_cast<TZcSpeedButton*>(reinterpret_cast<QObject*>(message.LParam));
    if (!sender || sender == this)
        return;
    if (sender->down_ && down_) {
        down_ = false;
        state_ = gsUp;
        Repaint();
    }
    allowAllUp_ = sender->allowAllUp_;
}

// ---- click and menu

void TZcSpeedButton::Click() {
    // A result of 0 would tell a modal form to go on, which it does anyway.
    if (auto* form = dynamic_cast<TDialogForm*>(window()); form && modalResult_ != 0)
        form->SetModalResult(modalResult_);
    TGraphicControl::Click();
}

TPoint TZcSpeedButton::GetDropDownMenuPos() const {
    if (!dropDownMenu_)
        return {};
    const TPopupAlignment alignment = dropDownMenu_->Alignment();
    if (menuPosition_ == dmpBottom) {
        switch (alignment) {
        case paLeft: return {-1, Height()};
        case paRight: return {Width() + 1, Height()};
        default: return {Width() / 2, Height()};
        }
    }
    switch (alignment) {
    case paLeft: return {Width(), -1};
    case paRight: return {-1, -1};
    default: return {Width() / 2, Height()};
    }
}

bool TZcSpeedButton::CheckMenuDropDown(TPoint point, bool manual) {
    if (!dropDownMenu_ || (!manual && !dropDownMenu_->AutoPopup()))
        return false;
    // The form leaves any mouse mode: the menu takes the mouse from here on.
    SetMouseCapture(false);
    dropDownMenu_->SetPopupComponent(this);
    const QPoint screen = mapToGlobal(QPoint(point.X, point.Y));
    dropDownMenu_->Popup(screen.x(), screen.y());
    return true;
}

bool TZcSpeedButton::DialogChar(char32_t key) {
    const char32_t accelerator = AcceleratorOf(Caption());
    if (accelerator == 0 || QChar::toUpper(key) != accelerator || !Enabled())
        return false;
    Click();
    return true;
}

void TZcSpeedButton::GrabAccelerator() {
    if (accelerator_ != 0)
        releaseShortcut(accelerator_);
    accelerator_ = 0;
    if (AcceleratorOf(Caption()) != 0)
        accelerator_ = grabShortcut(QKeySequence::mnemonic(QString::fromStdString(Caption())));
}

bool TZcSpeedButton::event(QEvent* event) {
    if (event->type() == QEvent::Shortcut && static_cast<QShortcutEvent*>(event)->shortcutId() == accelerator_) {
        DialogChar(AcceleratorOf(Caption()));
        return true;
    }
    return TGraphicControl::event(event);
}

// ---- mouse

bool TZcSpeedButton::Inside(int x, int y) const { return x >= 0 && x < width() && y >= 0 && y <= height(); }

void TZcSpeedButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (menuTracking_)
        return;
    TGraphicControl::MouseDown(button, shift, x, y);
    if (!mouseInControl_ && Enabled()) {
        mouseInControl_ = true;
        Repaint();
    }
    if (button == mbRight)
        UpdateTracking();
    if (button != mbLeft || !Enabled())
        return;
    if (!down_) {
        state_ = gsDown;
        Repaint();
    }
    dragging_ = true;
    menuTracking_ = true;
    if (CheckMenuDropDown(GetDropDownMenuPos(), false))
        MouseUp(mbLeft, shift, x, y);  // clicks nothing while the menu is tracked
    menuTracking_ = false;
    if (allowTimer_)
        repeat_.Start(initPause_, repeatInterval_, [this] { return state_ == gsDown && MouseCapture(); },
                      [this] { Click(); });
}

void TZcSpeedButton::MouseMove(TShiftState shift, int x, int y) {
    TGraphicControl::MouseMove(shift, x, y);
    if (!dragging_)
        return;
    const TGlyphState next = down_ ? gsExclusive : Inside(x, y) ? gsDown : gsUp;
    if (next != state_) {
        state_ = next;
        Repaint();
    }
}

void TZcSpeedButton::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TGraphicControl::MouseUp(button, shift, x, y);
    Release(button == mbLeft && dragging_, x, y);
    repeat_.Stop();
}

void TZcSpeedButton::Release(bool leftWhileDragging, int x, int y) {
    if (leftWhileDragging) {
        dragging_ = false;
        const bool click = Inside(x, y);
        if (groupIndex_ == 0) {
            state_ = gsUp;
            mouseInControl_ = false;
            if (click)
                Repaint();
            else
                Invalidate();
        } else if (click) {
            SetDown(!down_);
            if (down_)
                Repaint();
        } else {
            if (down_)
                state_ = gsExclusive;
            Repaint();
        }
        if (click && !menuTracking_)
            Click();
    }
    UpdateTracking();
}

void TZcSpeedButton::DblClick() {
    if (menuTracking_ || !down_)
        return;
    TGraphicControl::DblClick();
}

// ---- tracking

void TZcSpeedButton::MouseEnter() {
    if (OnMouseEnter)
        OnMouseEnter(this);
}

void TZcSpeedButton::MouseLeave() {
    if (OnMouseLeave)
        OnMouseLeave(this);
}

void TZcSpeedButton::SetMouseInControl(bool inside) {
    if (inside == mouseInControl_)
        return;
    mouseInControl_ = inside;
    if (inside) {
        if (flat_)
            Repaint();
        MouseEnter();
    } else {
        if (flat_)
            Invalidate();
        MouseLeave();
    }
}

void TZcSpeedButton::MouseEntered() {
    if (!mouseInControl_ && Enabled() && IsOwnWindowActive())
        SetMouseInControl(true);
}

void TZcSpeedButton::MouseLeft() {
    if (mouseInControl_ && Enabled() && !dragging_)
        SetMouseInControl(false);
}

void TZcSpeedButton::UpdateTracking() {
    SetMouseInControl(Enabled() && ControlAtCursor() == this && IsOwnWindowActive());
}

// ---- notifications

void TZcSpeedButton::PrepareImage() {
    glyph_.CreateButtonGlyph(!Enabled() ? gsDisabled : flat_ ? gsInactive : gsUp);
}

void TZcSpeedButton::EnabledChanged() {
    if (!Enabled()) {
        state_ = gsDisabled;
        dragging_ = false;
    } else if (state_ == gsDisabled) {
        state_ = down_ && groupIndex_ != 0 ? gsExclusive : gsUp;
    }
    PrepareImage();
    UpdateTracking();
    Repaint();
}

void TZcSpeedButton::VisibleChanged() {
    if (Visible())
        UpdateTracking();
}

void TZcSpeedButton::CaptionChanged() {
    GrabAccelerator();
    Invalidate();
}

// ---- painting

void TZcSpeedButton::PaintGlyph(TCanvas& canvas, const TRect& r, bool drawMark, TGlyphState state) {
    glyph_.Draw(canvas, r, Caption(), layout_, margin_, spacing_, drawMark, state, AlignmentTextFlags(Alignment()));
}

void TZcSpeedButton::Paint() {
    TCanvas& canvas = Canvas();
    // A control disabled with its parent hears of it from no notification of its own.
    const TGlyphState state = !Enabled()            ? gsDisabled
                              : state_ == gsDisabled ? (down_ && groupIndex_ != 0 ? gsExclusive : gsUp)
                                                     : state_;
    TGlyphState paintState = flat_ && !mouseInControl_ ? gsInactive : state;
    canvas.SetFont(Font());
    TRect r = ClientRect();
    if (!transparent_)
        canvas.FillPixels(r, clBtnFace, pmCopy);
    const bool pressed = state == gsDown || state == gsExclusive;
    if (paintState != gsInactive || state == gsExclusive)
        r = DrawButtonFrame(canvas, r, pressed, style_, flat_);
    else if (flat_)
        InflateRect(r, -2, -2);
    if (state == gsExclusive && !transparent_ && (!flat_ || paintState == gsInactive)) {
        InflateRect(r, 1, 1);
        FillChecker(canvas, r);
        InflateRect(r, -1, -1);
    }
    if (pressed)
        OffsetRect(r, 1, 1);
    if (state == gsDisabled || !grayedInactive_)
        paintState = state;
    PaintGlyph(canvas, r, markDropDown_ && dropDownMenu_, paintState);
}

} // namespace zeko
