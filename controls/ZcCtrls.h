#pragma once
// The button glyph engine and the speed button.
//
// TZcButtonGlyph turns a glyph bitmap of 1 to 5 cells side by side (up, disabled,
// pressed, held down, inactive) or an image of an image list, and a caption, into
// the face of a button in one of five states, and lays glyph, caption and an
// optional drop-down mark out inside a rectangle. The image of each state is built
// once into a TGlyphList that all glyphs of one size share, from the program-wide
// GlyphCache(). TButtonImage draws a whole raised button (the picture of a button
// dragged along a speed bar).
//
// TZcSpeedButton: a windowless button with a glyph and a caption that may be flat,
// transparent, one of a group in which one button stays down, auto-repeating while
// held, and may open a drop-down menu. Its behaviour is plain code over the mouse
// handlers; it paints through the glyph engine on our canvas.
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Graphics.h"
#include "platform/Timer.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/GraphicControl.h"
#include "platform/qt/Menus.h"

namespace zeko {

// The state a face is drawn in; also the order of the cells of a glyph bitmap.
enum TGlyphState : uint8_t { gsUp, gsDisabled, gsDown, gsExclusive, gsInactive };
constexpr int GlyphStateCount = 5;

enum TButtonLayout : uint8_t { blGlyphLeft, blGlyphRight, blGlyphTop, blGlyphBottom };
enum TButtonStyle : uint8_t { bsAutoDetect, bsWin31, bsNew };
enum TZcDropDownMenuPos : uint8_t { dmpBottom, dmpRight };

// The class library's text flags for the caption: its alignment.
uint32_t AlignmentTextFlags(TAlignment alignment);

// ---------------------------------------------------------------- glyph lists

// The images of one width and height, in slots that are reused: deleting a slot
// only marks it free.
class TGlyphList : public TImageList {
public:
    TGlyphList(int width, int height) : TImageList(width, height) {}

    // Takes a slot for the image, whose pixels of the mask colour are transparent.
    int AddMasked(const QImage& image, TColor maskColor);
    void Delete(int index);
    int UsedCount() const { return usedCount_; }

private:
    int AllocateIndex();

    std::vector<bool> used_;
    int usedCount_ = 0;
};

// The program's glyph lists, one per image size.
class TGlyphCache {
public:
    // The list for that size, the most recently added one first; made when none fits.
    TGlyphList* GetList(int width, int height);
    // A list none of whose slots is used any more is freed.
    void ReturnList(TGlyphList* list);
    bool Empty() const { return lists_.empty(); }
    int ListCount() const { return static_cast<int>(lists_.size()); }

private:
    std::vector<std::unique_ptr<TGlyphList>> lists_;
};

// The program-wide cache: made by the first glyph (or the first image built), freed
// when a glyph is destroyed and the cache holds no list. Null while there is none.
TGlyphCache* GlyphCache();

// ---------------------------------------------------------------- glyph

// The gray of a pixel of an inactive face: the transparent colour and the button
// face colour stay, any other colour becomes g, g, g with
// g = (77 red + 150 green + 29 blue) >> 8.
TColor GrayPixel(TColor color, TColor transparent);

// Where CalcButtonLayout puts the glyph and the text, and the caption as drawn.
struct TButtonLayoutResult {
    TPoint GlyphPos;
    TRect TextBounds;
    std::string Caption;
};

class TZcButtonGlyph {
public:
    TZcButtonGlyph();
    ~TZcButtonGlyph();
    TZcButtonGlyph(const TZcButtonGlyph&) = delete;
    TZcButtonGlyph& operator=(const TZcButtonGlyph&) = delete;

    const TBitmap& Glyph() const { return glyph_; }
    // Gives back the built images and copies the picture in; the transparent colour
    // becomes its bottom-left pixel and a bitmap whose width is a whole multiple of
    // its height is split into that many cells (1 beyond 5).
    void SetGlyph(const QImage& picture);
    void SetGlyph(const TBitmap& picture);
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);  // 0 and the current value are ignored; held to 1..5
    TColor TransparentColor() const { return transparentColor_; }
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool value) { wordWrap_ = value; }
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value) { alignment_ = value; }
    std::function<void()> OnChange;  // after the glyph bitmap changed

    // Gives every built image back; the list goes back to the cache.
    void Invalidate();
    // The image of the state, built on first use; -1 when there is no glyph.
    int CreateButtonGlyph(TGlyphState state);
    // The gray image of an image of a list (only for gsInactive); -1 when none.
    int CreateImageGlyph(TGlyphState state, const TImageList* images, int index);
    // Draws the state's image at (x, y) and answers its size; (0, 0) when nothing.
    TSize DrawButtonGlyph(TCanvas& canvas, int x, int y, TGlyphState state);
    // Draws an image of a list in the state; (0, 0) when the index is outside it.
    TSize DrawButtonImage(TCanvas& canvas, int x, int y, TGlyphState state, const TImageList* images, int index);

    // The caption cut to 255 characters; without word wrap each line shortened
    // with "..." to the width and trailing line breaks and blanks removed.
    std::string MinimizeCaption(const TCanvas& canvas, const std::string& caption, int width) const;
    void DrawButtonText(TCanvas& canvas, const std::string& caption, const TRect& r, TGlyphState state,
                        uint32_t textFlags) const;
    // margin and spacing -1 mean automatic.
    TButtonLayoutResult CalcButtonLayout(TCanvas& canvas, const TRect& client, const std::string& caption,
                                         TButtonLayout layout, int margin, int spacing, bool popupMark,
                                         uint32_t textFlags, const TImageList* images, int index) const;
    // The drop-down mark: a downward triangle 7 pixels wide whose top row is y - 1.
    static void DrawPopupMark(TCanvas& canvas, int x, int y, TGlyphState state);

    // Draws glyph (or the list's image), caption and mark; answers the text rectangle.
    TRect DrawEx(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout, int margin,
                 int spacing, bool popupMark, const TImageList* images, int index, TGlyphState state,
                 uint32_t textFlags);
    TRect Draw(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout, int margin,
               int spacing, bool popupMark, TGlyphState state, uint32_t textFlags);

    // What has been built (tests).
    int ImageIndex(TGlyphState state) const { return indexes_[state]; }
    TGlyphList* GlyphList() const { return list_; }

private:
    void GlyphChanged();
    // The images built in an earlier colour scheme go (the disabled and inactive
    // faces carry the button colours).
    void DropImagesOfOldColours();
    TGlyphList* ListFor(int width, int height);
    TSize GlyphSize(const TImageList* images, int index) const;

    TBitmap glyph_;
    TGlyphList* list_ = nullptr;
    std::array<int, GlyphStateCount> indexes_;
    TColor transparentColor_ = clFuchsia;
    int numGlyphs_ = 1;
    bool wordWrap_ = false;
    TAlignment alignment_ = taCenter;
    unsigned colourGeneration_ = SysColorGeneration();
};

// A whole raised button: face, two-pixel frame, glyph and caption in the up state.
class TButtonImage {
public:
    TZcButtonGlyph& Glyph() { return glyph_; }
    TSize ButtonSize = {24, 23};
    std::string Caption;

    void DrawEx(TCanvas& canvas, int x, int y, int margin, int spacing, TButtonLayout layout, const TFont* font,
                const TImageList* images, int index, uint32_t textFlags);

private:
    TZcButtonGlyph glyph_;
};

// ---------------------------------------------------------------- speed button

// Sent among the buttons of a parent when one of a group goes down: WParam = the
// group index, LParam = the button.
constexpr uint32_t CM_GROUPBUTTONPRESSED = 0xB051;

// Draws the frame of a button and answers the rectangle inside it.
TRect DrawButtonFrame(TCanvas& canvas, const TRect& client, bool down, TButtonStyle style, bool flat);

class TZcSpeedButton : public TGraphicControl {
public:
    explicit TZcSpeedButton(QWidget* parent = nullptr);
    ~TZcSpeedButton() override;

    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    TButtonStyle Style() const { return style_; }
    void SetStyle(TButtonStyle value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    int Margin() const { return margin_; }
    void SetMargin(int value);  // -1 (automatic) or more
    int ModalResult() const { return modalResult_; }
    void SetModalResult(int value) { modalResult_ = value; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool MarkDropDown() const { return markDropDown_; }
    void SetMarkDropDown(bool value);
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* menu);  // cleared when the menu is destroyed
    TZcDropDownMenuPos MenuPosition() const { return menuPosition_; }
    void SetMenuPosition(TZcDropDownMenuPos value) { menuPosition_ = value; }
    bool GrayedInactive() const { return grayedInactive_; }
    void SetGrayedInactive(bool value);
    bool AllowTimer() const { return allowTimer_; }
    void SetAllowTimer(bool value);
    uint16_t InitPause() const { return initPause_; }
    void SetInitPause(uint16_t ms) { initPause_ = ms; }
    uint16_t RepeatInterval() const { return repeatInterval_; }
    void SetRepeatInterval(uint16_t ms) { repeatInterval_ = ms; }

    TAlignment Alignment() const { return glyph_.Alignment(); }
    void SetAlignment(TAlignment value);
    const TBitmap& Glyph() const { return glyph_.Glyph(); }
    void SetGlyph(const QImage& picture);
    int NumGlyphs() const { return glyph_.NumGlyphs(); }
    void SetNumGlyphs(int value);  // above 5 counts as 5
    bool WordWrap() const { return glyph_.WordWrap(); }
    void SetWordWrap(bool value);
    TZcButtonGlyph& ButtonGlyph() { return glyph_; }

    TGlyphState State() const { return state_; }
    bool MouseInControl() const { return mouseInControl_; }
    bool Dragging() const { return dragging_; }

    std::function<void(TZcSpeedButton*)> OnMouseEnter, OnMouseLeave;

    // Sets the form's modal result from ModalResult, then runs OnClick.
    void Click() override;
    // Where the drop-down menu opens, in client coordinates.
    TPoint GetDropDownMenuPos() const;
    // Opens the drop-down menu at the client point when it may open; answers
    // whether it did (after it closed).
    bool CheckMenuDropDown(TPoint point, bool manual);
    // The accelerator key of the caption clicks an enabled button.
    bool DialogChar(char32_t key);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void HandleControlMessage(TMessage& message) override;
    // Whether the mouse is over the button; the flag follows it.
    void UpdateTracking();

protected:
    // Draws glyph, caption and mark into the rectangle; descendants draw other pictures.
    virtual void PaintGlyph(TCanvas& canvas, const TRect& r, bool drawMark, TGlyphState state);
    virtual void MouseEnter();
    virtual void MouseLeave();

    void Paint() override;
    void MouseEntered() override;
    void MouseLeft() override;
    void EnabledChanged() override;
    void VisibleChanged() override;
    void CaptionChanged() override;
    bool event(QEvent* event) override;

private:
    // Inside for the mouse routines: the row just below the button counts.
    bool Inside(int x, int y) const;
    void Release(bool leftWhileDragging, int x, int y);
    void UpdateExclusive();
    void SetMouseInControl(bool inside);
    void PrepareImage();
    void GrabAccelerator();

    int groupIndex_ = 0;
    TButtonStyle style_ = bsAutoDetect;
    TZcButtonGlyph glyph_;
    bool down_ = false;
    bool dragging_ = false;
    bool flat_ = false;
    bool mouseInControl_ = false;
    bool allowAllUp_ = false;
    TButtonLayout layout_ = blGlyphTop;
    int spacing_ = 1;
    int margin_ = -1;
    int modalResult_ = 0;
    bool transparent_ = false;
    bool markDropDown_ = true;
    QPointer<TPopupMenu> dropDownMenu_;
    TZcDropDownMenuPos menuPosition_ = dmpBottom;
    bool grayedInactive_ = true;
    bool menuTracking_ = false;
    TRepeatTimer repeat_;
    bool allowTimer_ = false;
    uint16_t initPause_ = 500;
    uint16_t repeatInterval_ = 100;
    TGlyphState state_ = gsUp;
    int accelerator_ = 0;  // the grabbed shortcut of the caption's accelerator
};

} // namespace zeko
