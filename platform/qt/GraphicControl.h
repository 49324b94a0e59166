#pragma once
// TGraphicControl: the class library's windowless control, which paints itself on
// a canvas and takes the mouse, as a Qt widget. Qt's events arrive as the class
// library's handlers (MouseDown, MouseMove, MouseUp, DblClick) and notifications
// (mouse entering and leaving, enabled, visibility, font and caption changed). The
// left button captures the mouse from its press to its release, so every move and
// the release reach the pressed control, also outside it.
//
// Controls also take the class library's control messages (HandleControlMessage):
// Broadcast sends one to every control on a parent, as a group of buttons needs.
#include <QWidget>

#include <functional>
#include <string>

#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "platform/WindowMessages.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/QtInput.h"

namespace zeko {

// Receives the control messages of the class library's private range.
class TControlMessageTarget {
public:
    virtual ~TControlMessageTarget() = default;
    virtual void HandleControlMessage(TMessage& message) = 0;
};

// Sends the message to every control placed directly on `parent`.
void Broadcast(QWidget* parent, TMessage& message);

// The control under the mouse pointer, or null outside the program's windows.
QWidget* ControlAtCursor();
// Whether the left mouse button is held down as the window system last reported.
bool LeftButtonHeld();

class TGraphicControl : public QWidget, public TInputHandlers, public TControlMessageTarget {
public:
    explicit TGraphicControl(QWidget* parent = nullptr);

    int Left() const { return x(); }
    int Top() const { return y(); }
    int Width() const { return width(); }
    int Height() const { return height(); }
    void SetBounds(int left, int top, int width, int height) { setGeometry(left, top, width, height); }
    TRect ClientRect() const { return {0, 0, width(), height()}; }

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& caption);
    TFont& Font() { return font_; }  // a change repaints
    const std::string& Hint() const { return hint_; }
    void SetHint(const std::string& hint);
    bool ShowHint() const { return showHint_; }
    void SetShowHint(bool value);
    bool Enabled() const { return isEnabled(); }
    void SetEnabled(bool value) { setEnabled(value); }
    bool Visible() const { return !isHidden(); }
    void SetVisible(bool value) { setVisible(value); }

    void Invalidate() { update(); }
    void Repaint() { repaint(); }
    TCanvas& Canvas() { return canvas_; }

    // Held from a press of the left button until its release.
    bool MouseCapture() const { return mouseCapture_; }
    void SetMouseCapture(bool value) { mouseCapture_ = value; }

    std::function<void(TGraphicControl*)> OnClick, OnDblClick;
    std::function<void(TGraphicControl*, TMouseButton, TShiftState, int x, int y)> OnMouseDown, OnMouseUp;
    std::function<void(TGraphicControl*, TShiftState, int x, int y)> OnMouseMove;

    // Runs OnClick.
    virtual void Click();

    // The default handlers raise the mouse events.
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;

    void HandleControlMessage(TMessage&) override {}

protected:
    // Paints the whole control through Canvas().
    virtual void Paint() {}
    // The class library's notifications.
    virtual void MouseEntered() {}
    virtual void MouseLeft() {}
    virtual void EnabledChanged() {}
    virtual void VisibleChanged() {}
    virtual void FontChanged() { Invalidate(); }
    virtual void CaptionChanged() { Invalidate(); }

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void changeEvent(QEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    void UpdateToolTip();

    std::string caption_;
    std::string hint_;
    bool showHint_ = false;
    TFont font_;
    TCanvas canvas_;
    bool mouseCapture_ = false;
};

} // namespace zeko
