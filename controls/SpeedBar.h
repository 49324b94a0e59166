#pragma once
// The speed bar: a panel docked at one side of its form that carries command
// buttons (TSpeedItem) in named sections (TSpeedbarSection), placed on a grid that
// follows the button size, with optional lines along its edges (BoundLines), a
// wallpaper and an image list for the buttons. It is an ordinary container too:
// aligned child controls are kept clear of its lines.
//
// Interactive and stored side (SpeedBarDocking.cpp): the bar may be dragged to
// another side of its parent and resized in whole rows; while a customising window
// is attached, items are dragged about with a TBtnControl as their picture; the
// layout (side, thickness, the items shown and where) is kept in the storage of a
// TFormPlacement, section <root><form class><bar name>:
//   Position (1 top, 2 bottom, 3 left, 4 right), Width, Version, PixelsPerInch,
//   BtnWidth, BtnHeight, Button1.. ("name,left,top"), Count.
#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QWidget>

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "controls/AppUtils.h"
#include "controls/ZcCtrls.h"
#include "platform/FormStream.h"
#include "platform/Sets.h"
#include "platform/qt/Align.h"

namespace zeko {

class TFormPlacement;
class TIniLink;
class TSpeedBar;
class TSpeedItem;

class ESpeedbarError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

enum TBoundLine : uint8_t { blTop, blBottom, blLeft, blRight };
using TBoundLines = TSet<TBoundLine>;
enum TBarPosition : uint8_t { bpAuto, bpCustom };
enum TBarOrientation : uint8_t { boHorizontal, boVertical };
enum TSpeedbarOption : uint8_t { sbAllowDrag, sbAllowResize, sbFlatBtns, sbGrayedBtns, sbTransparentBtns, sbStretchBitmap };
using TSpeedbarOptions = TSet<TSpeedbarOption>;

// Sent to the customising window (WParam as below, LParam the bar or the item).
constexpr int CM_SPEEDBARCHANGED = 0xB050;
constexpr int SBR_CHANGED = 0;          // an item left the bar, or its drop was refused
constexpr int SBR_DESTROYED = 1;        // the bar is going
constexpr int SBR_BTNSELECT = 2;        // an item was dropped and placed
constexpr int SBR_BTNSIZECHANGED = 3;   // the button size or the orientation changed

class TSpeedbarChangedEvent : public QEvent {
public:
    TSpeedbarChangedEvent(int wParam, QObject* lParam)
        : QEvent(static_cast<QEvent::Type>(CM_SPEEDBARCHANGED)), WParam(wParam), LParam(lParam) {}
    int WParam;
    QObject* LParam = nullptr;
};

// ---------------------------------------------------------------- rules without a bar

// The step along the bar for a button of that size: a divisor of it from 1 to 8
// where one fits, else its largest divisor below it (1 for a prime).
int SpeedbarGridStep(int buttonSize);
// The side a point of a parent of that client size lies nearest to: the two
// diagonals split the parent into a triangle per side. A parent without area has
// no side: the fallback.
TAlign DockSideAt(TPoint p, int parentWidth, int parentHeight, TAlign fallback);
// The thickness of a bar resized by the pointer at p (parent client coordinates):
// whole rows of buttons plus the offsets on both sides, at least one row, at most
// the parent's size. Buttons and offsets are taken across the bar.
int RowsThickness(TAlign align, TPoint p, int parentWidth, int parentHeight, int buttonSize, int offset);
// A point put on the bar's grid: rounded along the bar (halves to even), cut
// across it.
TPoint SnapToGrid(TPoint p, TBarOrientation orientation, TPoint offset, TPoint step);

// ---------------------------------------------------------------- sections

class TSpeedbarSection : public QObject {
public:
    explicit TSpeedbarSection(QObject* owner = nullptr);
    ~TSpeedbarSection() override;  // frees its items

    const std::string& Caption() const { return caption_; }
    // ESpeedbarError "String list does not allow duplicates" when another section of
    // the bar has it (not while the bar is loading).
    void SetCaption(const std::string& value);
    int Index() const;
    void SetIndex(int value);
    TSpeedBar* SpeedBar() const { return bar_; }
    // Detaches from the old bar and joins the new one.
    void SetSpeedBar(TSpeedBar* bar);

    int Count() const { return static_cast<int>(items_.size()); }
    TSpeedItem* Items(int index) const { return items_.at(static_cast<size_t>(index)); }

private:
    friend class TSpeedBar;
    std::vector<TSpeedItem*> items_;
    std::string caption_;
    TSpeedBar* bar_ = nullptr;
};

// ---------------------------------------------------------------- items

// The button an item shows itself through on the bar.
class TSpeedbarButton : public TZcSpeedButton {
public:
    explicit TSpeedbarButton(TSpeedItem* item);
    TSpeedItem* Item() const { return item_; }
    // Keeps a button on a horizontal bar below the top offset, on a vertical one
    // right of the left offset.
    void PlaceAt(int left, int top, int width, int height);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    QWidget* DragImage() const { return dragImage_; }

protected:
    void PaintGlyph(TCanvas& canvas, const TRect& r, bool drawMark, TGlyphState state) override;
    void Paint() override;

private:
    TSpeedItem* item_ = nullptr;
    QPointer<QWidget> dragImage_;
};

class TSpeedItem : public QObject {
public:
    explicit TSpeedItem(QObject* owner = nullptr);
    ~TSpeedItem() override;

    const std::string& Name() const { return name_; }
    // A caption that is the old name follows the new one.
    void SetName(const std::string& value);
    const std::string& Caption() const { return caption_; }
    // The hint keeps the caption as its short part (before "|").
    void SetCaption(const std::string& value);
    const std::string& Hint() const;
    void SetHint(const std::string& value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);
    bool Stored() const { return stored_; }
    void SetStored(bool value) { stored_ = value; }
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int Tag() const { return tag_; }
    void SetTag(int value);
    int Left() const;
    void SetLeft(int value);
    int Top() const;
    void SetTop(int value);
    bool Editing() const { return editing_; }
    void SetEditing(bool value);

    TSpeedbarButton* Button() const { return button_; }
    TSpeedBar* SpeedBar() const { return bar_; }
    int Section() const { return section_; }
    const std::string& SectionName() const { return sectionName_; }
    void SetSectionName(const std::string& value) { sectionName_ = value; }
    // Joins the bar, in the section its section name names (or the one it has).
    void SetSpeedBar(TSpeedBar* bar);
    // After reading the item from a form: the bar of the reader takes it into the
    // section named by "SectionName" (section 0 when none of that name).
    void ReadFromForm(TSpeedBar* bar);

    std::function<void(TSpeedItem*)> OnClick;
    virtual void ButtonClick();

    // "Section" (read only, older forms) and "SectionName".
    void DefineProperties(TFiler& filer);

private:
    friend class TSpeedBar;
    bool KeepsHintInStep() const;

    std::string name_;
    std::string caption_;
    bool editing_ = false;
    bool enabled_ = true;
    TSpeedbarButton* button_ = nullptr;
    bool visible_ = false;
    bool stored_ = true;
    TSpeedBar* bar_ = nullptr;
    int section_ = -1;
    std::string sectionName_;
    int imageIndex_ = -1;
    int tag_ = 0;
};

// ---------------------------------------------------------------- the bar

class TSpeedBar : public QWidget, public TAlignContainer {
public:
    explicit TSpeedBar(QWidget* parent = nullptr);
    ~TSpeedBar() override;

    // ---- sections
    int AddSection(TSpeedbarSection* section);
    int AppendSection(const std::string& caption);
    int SearchSection(const std::string& caption) const;
    void RemoveSection(int index);
    void DeleteSection(int index);
    void ClearSections();
    int SectionCount() const { return static_cast<int>(sections_.size()); }
    TSpeedbarSection* Sections(int index) const { return sections_.at(static_cast<size_t>(index)); }
    void MoveSection(TSpeedbarSection* section, int index);

    // ---- items
    void AddItem(int section, TSpeedItem* item);
    void SetItemParams(TSpeedItem* item, bool initBounds);
    void RemoveItem(TSpeedItem* item);
    bool FindItem(const TSpeedItem* item, int& section, int& position) const;
    TSpeedItem* SearchItem(const std::string& name) const;
    virtual void ForEachItem(const std::function<void(TSpeedItem*)>& proc) const;
    int ItemsCount() const;

    // ---- properties
    TBarPosition Position() const { return position_; }
    void SetPosition(TBarPosition value);
    TBarOrientation Orientation() const;
    void SetOrientation(TBarOrientation value);
    TAlign Align() const { return align_; }
    // ESpeedbarError for none or client while Position is bpAuto.
    void SetAlign(TAlign value);
    int BtnWidth() const { return btnSize_.X; }
    void SetBtnWidth(int value);
    int BtnHeight() const { return btnSize_.Y; }
    void SetBtnHeight(int value);
    int BtnOffsetHorz() const { return offset_.X; }
    void SetBtnOffsetHorz(int value);
    int BtnOffsetVert() const { return offset_.Y; }
    void SetBtnOffsetVert(int value);
    TButtonStyle ButtonStyle() const { return buttonStyle_; }
    TPoint GridStep() const { return gridStep_; }
    TSpeedbarOptions Options() const { return options_; }
    void SetOptions(TSpeedbarOptions value);
    TBoundLines BoundLines() const { return boundLines_; }
    void SetBoundLines(TBoundLines value);
    int Version() const { return version_; }
    void SetVersion(int value) { version_ = value; }
    TPicture& Wallpaper() { return wallpaper_; }
    void SetWallpaper(const TPicture& picture) { wallpaper_.Assign(picture); }
    TImageList* Images() const { return images_; }
    void SetImages(TImageList* images);
    // Tells the item buttons that the image list changed.
    void ImagesChanged();
    TBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TBevelCut value);
    TBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TBevelCut value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TColor Color() const { return color_; }
    void SetColor(TColor value);
    TFont& Font() { return font_; }
    TFormPlacement* IniStorage() const;
    void SetIniStorage(TFormPlacement* storage);

    // The smallest distance of buttons from the edge: border, button frame, bevels.
    int MinButtonsOffset() const;

    std::function<void(TSpeedBar*, TSpeedItem*)> OnAddItem;
    std::function<void(TSpeedBar*, TAlign, bool& apply)> OnApplyAlign;
    std::function<void(TSpeedBar*)> OnPosChanged, OnVisibleChanged, OnCustomize;

    // ---- customising (SpeedBarDocking.cpp)
    QObject* CustomizeWindow() const { return customizeWindow_; }
    void SetCustomizeWindow(QObject* window);
    void NotifyCustomizer(int wParam, QObject* lParam);
    bool AcceptDropItem(TSpeedItem* item, int x, int y);

    // ---- docking and resizing (SpeedBarDocking.cpp)
    // The side for a point in the bar's client coordinates, as OnApplyAlign allows
    // it; `accepted` tells whether it did.
    TAlign DockSide(TPoint clientPoint, bool* accepted = nullptr);
    // The rectangle (screen coordinates) the bar would take on the side of the
    // point; the last one while the side is refused.
    TRect DockRect(TPoint clientPoint);
    bool Dragging() const { return dragging_; }
    bool Resizing() const { return resizing_; }
    // The pointer lies on the edge that resizes the bar.
    bool OnResizeEdge(TPoint clientPoint) const;

    // ---- layout storage (SpeedBarDocking.cpp)
    void SaveLayout(const TIniObject& ini, const std::string& section);
    void LoadLayout(const TIniObject& ini, const std::string& section);
    // The section of the bar in its storage.
    std::string LayoutSection() const;

    // ---- reading from a form
    bool Loading() const { return loading_; }
    void SetLoading(bool value) { loading_ = value; }
    void Loaded();
    void DefineProperties(TFiler& filer);
    int InternalVersion() const { return internalVer_; }

    // Scales the button size and offsets by m / d.
    void ChangeScale(int m, int d);

    void RealignControls() override;
    void setVisible(bool visible) override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void childEvent(QChildEvent* event) override;
    void changeEvent(QEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    friend class TSpeedItem;
    friend class TSpeedbarSection;
    void UpdateGridStep();
    void SetOffset(int& offset, int value, int scaleFlag, bool horizontal);
    void SetButtonSize(int& size, int value, int scaleFlag);
    void FrameChanged();
    void MoveItems(int dx, int dy);
    void ResizeItemButtons();
    void ApplyOptionsToButtons();
    void ApplyItemVisibility();
    void ApplyItemEnabled();
    void ApplyAlignToWidget(TAlign value);
    TRect InnerRect() const;
    int BevelsWidth() const;
    void EndDrag(TPoint clientPoint);

    std::vector<TSpeedbarSection*> sections_;
    TBarPosition position_ = bpAuto;
    TBarOrientation orientation_ = boHorizontal;
    TAlign align_ = alTop;
    TPoint btnSize_{24, 23};
    TButtonStyle buttonStyle_ = bsNew;
    TPoint gridStep_{8, 23};
    TPoint offset_{2, 2};
    QPointer<QObject> customizeWindow_;
    TRect dragRect_;
    TAlign dragAlign_ = alTop;
    int paintLock_ = 0;
    TSpeedbarOptions options_{sbAllowDrag, sbGrayedBtns};
    int version_ = 0;
    bool dragging_ = false;
    bool resizing_ = false;
    bool pressed_ = false;
    TPoint dragStart_;
    TPicture wallpaper_;
    TBoundLines boundLines_;
    std::unique_ptr<TIniLink> iniLink_;
    int internalVer_ = 0;
    bool alignNoneLoaded_ = false;
    int scaleFlags_ = 0;
    TImageList* images_ = nullptr;
    TBevelCut bevelOuter_ = bvRaised;
    TBevelCut bevelInner_ = bvNone;
    int bevelWidth_ = 1;
    int borderWidth_ = 0;
    TColor color_ = clBtnFace;
    TFont font_;
    bool loading_ = false;
};

// The picture of an item's button dragged about while customising: a small
// topmost window that follows the pointer.
class TBtnControl : public QWidget {
public:
    explicit TBtnControl(QWidget* owner);
    TButtonImage& Image() { return image_; }
    int ImageIndex = -1;
    TImageList* Images = nullptr;
    int Margin = -1;
    int Spacing = 1;
    TButtonLayout Layout = blGlyphTop;
    TAlignment Alignment = taCenter;
    TFont Font;
    // Moves the window, topmost and not activated, to the point and shows it.
    void MoveTo(TPoint screenPoint);

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    TButtonImage image_;
    TCanvas canvas_;
};

} // namespace zeko
