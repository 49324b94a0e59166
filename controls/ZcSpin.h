#pragma once
// A numeric edit with a spin button.
//
// TZcSpinButton: a small windowless button split by its diagonal into a top and a
// bottom half, each with an arrow glyph; a held half clicks at once, again after
// 400 ms and then every 100 ms. TZcUpDown: the plain up-down arrows for the
// standard look. TZcSpinEdit: an edit that holds a number (Value) within limits,
// steps it by Increment through either button or the arrow keys, and takes only
// the characters of a number.
#include <QPointer>

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "platform/Timer.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/Edits.h"
#include "platform/qt/GraphicControl.h"

namespace zeko {

enum TSpinButtonState : uint8_t { sbNotDown, sbTopDown, sbBottomDown };
enum TSpinButtonKind : uint8_t { bkStandard, bkDiagonal };
enum TValueType : uint8_t { vtInteger, vtFloat };

// The half of a width × height spin button under a point: the bottom one lies
// below the diagonal from the bottom-left to the top-right corner.
TSpinButtonState SpinHalfAt(int x, int y, int width, int height);

// The first click comes with the press, the repeats after these pauses.
constexpr uint32_t SpinFirstRepeatMs = 400;
constexpr uint32_t SpinRepeatMs = 100;

class TZcSpinButton : public TGraphicControl {
public:
    explicit TZcSpinButton(QWidget* parent = nullptr);

    const TBitmap& UpGlyph() const { return upGlyph_; }
    const TBitmap& DownGlyph() const { return downGlyph_; }
    // A null picture loads the resource glyph again.
    void SetUpGlyph(const QImage& picture);
    void SetDownGlyph(const QImage& picture);
    QWidget* FocusControl() const { return focusControl_; }
    void SetFocusControl(QWidget* control) { focusControl_ = control; }  // cleared when it is destroyed

    std::function<void(TZcSpinButton*)> OnTopClick, OnBottomClick;

    TSpinButtonState State() const { return state_; }
    // The picture of the whole button with that half pressed, up to date.
    const QImage& Picture(TSpinButtonState state);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;
    void EnabledChanged() override;

private:
    void ClickHalf(TSpinButtonState half);
    void SetState(TSpinButtonState state);
    void DrawPictures();
    void DrawPicture(TBitmap& picture, TSpinButtonState state);

    TSpinButtonState state_ = sbNotDown;
    TBitmap upGlyph_;
    TBitmap downGlyph_;
    bool dragging_ = false;
    bool picturesStale_ = true;
    std::array<TBitmap, 3> pictures_;  // by TSpinButtonState
    TRepeatTimer repeat_;
    TSpinButtonState lastState_ = sbNotDown;
    QPointer<QWidget> focusControl_;
};

enum TUDBtnType : uint8_t { btNext, btPrev };

// The up-down arrows: the top arrow clicks btNext, the bottom one btPrev, with the
// same repeat as the spin button.
class TZcUpDown : public TGraphicControl {
public:
    explicit TZcUpDown(QWidget* parent = nullptr);

    std::function<void(TZcUpDown*, TUDBtnType)> OnClick;
    // A click of one arrow; a click that comes while one is handled is dropped.
    void ClickButton(TUDBtnType button);
    bool Pressed(TUDBtnType button) const { return pressed_ == static_cast<int>(button); }

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    void Paint() override;

private:
    TUDBtnType ArrowAt(int y) const { return y < height() / 2 ? btNext : btPrev; }

    int pressed_ = -1;  // the arrow shown pressed, or -1
    int held_ = -1;     // the arrow the press went down on, or -1
    bool changing_ = false;
    TRepeatTimer repeat_;
};

class TZcSpinEdit : public TCustomEdit {
public:
    explicit TZcSpinEdit(QWidget* parent = nullptr);
    ~TZcSpinEdit() override;

    double MinValue() const { return minValue_; }
    void SetMinValue(double value) { minValue_ = value; }
    double MaxValue() const { return maxValue_; }
    void SetMaxValue(double value) { maxValue_ = value; }
    double Increment() const { return increment_; }
    void SetIncrement(double value) { increment_ = value; }
    uint8_t Decimal() const { return decimal_; }
    void SetDecimal(uint8_t value);
    bool EditorEnabled() const { return editorEnabled_; }
    void SetEditorEnabled(bool value) { editorEnabled_ = value; }
    TValueType ValueType() const { return valueType_; }
    // The value is kept: it is read under the old type and written under the new.
    void SetValueType(TValueType value);
    bool ArrowKeys() const { return arrowKeys_; }
    void SetArrowKeys(bool value);
    TSpinButtonKind ButtonKind() const { return buttonKind_; }
    void SetButtonKind(TSpinButtonKind value);

    // The text as a number of the value type; MinValue (whole, for vtInteger) when
    // the text is none.
    double Value() const;
    // Limited, then written: vtFloat in fixed notation with Decimal places,
    // vtInteger rounded half to even.
    void SetValue(double value);
    // The value within MinValue..MaxValue; equal limits limit nothing.
    double CheckValue(double value) const;

    std::function<void(TZcSpinEdit*)> OnTopClick, OnBottomClick;

    virtual bool IsValidChar(char32_t key) const;
    // One step up or down (ReadOnly only beeps); OnTopClick or OnBottomClick after it.
    virtual void UpClick();
    virtual void DownClick();

    TZcSpinButton* Button() const { return button_; }
    TZcUpDown* UpDown() const { return upDown_; }
    int ButtonWidth() const;

    void Change() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void DoExit() override;

protected:
    bool CanPasteOrCut() const override { return editorEnabled_ && !ReadOnly(); }
    void Resized() override;

private:
    void Step(double delta, const std::function<void(TZcSpinEdit*)>& after);
    void RecreateButton();
    void ResizeButton();
    void UpdateEditRect();

    double minValue_ = 0;
    double maxValue_ = 0;
    double increment_ = 1;
    uint8_t decimal_ = 2;
    bool changing_ = false;
    bool editorEnabled_ = true;
    TValueType valueType_ = vtInteger;
    TZcSpinButton* button_ = nullptr;
    bool arrowKeys_ = true;
    TSpinButtonKind buttonKind_ = bkDiagonal;
    TZcUpDown* upDown_ = nullptr;
};

} // namespace zeko
