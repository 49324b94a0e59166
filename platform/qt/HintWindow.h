#pragma once
// A small top-level window that shows a text over everything else without taking
// the focus: the base of cell hints and typing suggestions. It has a one-pixel
// black border; inside it descendants paint through Paint.
#include <QWidget>

#include <string>

#include "platform/Graphics.h"
#include "platform/qt/Canvas.h"

namespace zeko {

// How a hint lays out its text: from the left, broken at spaces, "&" as it stands.
constexpr uint32_t HintTextFlags = DT_LEFT | DT_WORDBREAK | DT_NOPREFIX;

// The screen's size in pixels (the primary screen).
TSize ScreenSize();

class THintWindow : public QWidget {
public:
    THintWindow();
    ~THintWindow() override;

    const std::string& Caption() const { return caption_; }
    // Stores the text, runs CaptionChanged and repaints.
    void SetCaption(const std::string& text);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TFont& Font() { return font_; }
    TCanvas& Canvas() { return canvas_; }

    // Shows the window at the screen rectangle r with the text.
    virtual void ActivateHint(TRect r, const std::string& text);
    // The rectangle the text needs at the screen origin, at most maxWidth wide.
    virtual TRect CalcHintRect(int maxWidth, const std::string& text);
    // Screen rectangle of the window.
    TRect BoundsRect() const;
    void SetBoundsRect(const TRect& r);
    bool Visible() const { return isVisible(); }
    void ShowNoActivate();
    void ReleaseHandle() { hide(); }
    TRect ClientRect() const { return {0, 0, width(), height()}; }

    // Paints the inside; the default fills it with Color and draws the caption.
    virtual void Paint(TCanvas& canvas);

protected:
    virtual void CaptionChanged() {}
    void paintEvent(QPaintEvent* event) override;

private:
    std::string caption_;
    TColor color_ = clInfoBk;
    TFont font_;
    TCanvas canvas_;
};

} // namespace zeko
