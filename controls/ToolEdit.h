#pragma once
// The combo edit and the date edit.
//
// TCustomComboEdit: a masked edit with a button at its right edge that drops down
// a TPopupWindow below the edit (or raises OnButtonClick). The drop-down is a Qt
// popup: it closes on a press outside it (accepting when the press lands on the
// edit's button, rejecting elsewhere) and hands the keys it gets to the edit, so
// the focus and the key handling stay with the edit as before. It opens on the
// edit's screen and stays on it (PopupPosition).
//
// TCustomDateEdit / TDateEdit: a masked edit for one date with a calendar button
// that drops down the popup calendar or runs the select-date dialog. Dates are
// shown and read with four-digit years unless two digits are asked for.
#include <QImage>
#include <QPointer>

#include <cstdint>
#include <functional>
#include <string>
#include <variant>
#include <vector>

#include "controls/DateUtil.h"
#include "controls/ZcCtrls.h"
#include "platform/Graphics.h"
#include "platform/qt/MaskEdit.h"

namespace zeko {

enum TPopupAlign : uint8_t { epaRight, epaLeft };
enum TGlyphKind : uint8_t { gkCustom, gkDefault, gkDropDown, gkEllipsis };
enum TYearDigits : uint8_t { dyDefault, dyFour, dyTwo };
enum TCalendarStyle : uint8_t { csPopup, csDialog };

// A key with its Shift, Ctrl and Alt as one 16-bit number.
using TShortCut = uint16_t;
constexpr TShortCut scShift = 0x2000;
constexpr TShortCut scCtrl = 0x4000;
constexpr TShortCut scAlt = 0x8000;
TShortCut ShortCut(uint16_t key, TShiftState shift);

// The top-left corner of a drop-down for an edit at `edit` (screen coordinates):
// below the edit, or above it when the screen ends below; right-aligned with the
// edit (epaRight) or left-aligned, whichever keeps it on the screen; always held
// inside `screen`.
TPoint PopupPosition(const TRect& edit, TSize popup, const TRect& screen, TPopupAlign align);

// A drop-down's value: nothing, a text or a date.
using TPopupValue = std::variant<std::monostate, std::string, TDateTime>;
bool IsNullOrEmpty(const TPopupValue& value);
std::string PopupValueText(const TPopupValue& value);  // a date in the short date format
TDateTime PopupValueDate(const TPopupValue& value);    // EConvertError for a text that is no date

class TCustomComboEdit;

// The borderless drop-down. It belongs to its editor (a combo edit) and opens as
// a popup window over everything.
class TPopupWindow : public QWidget, public TInputHandlers {
public:
    explicit TPopupWindow(TCustomComboEdit* editor);

    TCustomComboEdit* Editor() const { return editor_; }
    TColor Color() const { return color_; }
    virtual void SetColor(TColor color);

    virtual TPopupValue GetValue() = 0;
    virtual void SetValue(const TPopupValue& value) = 0;
    // Raises OnCloseUp.
    virtual void CloseUp(bool accept);
    virtual std::string GetPopupText() { return {}; }

    // Hides the window; the editor decides what that means (it is the editor's close-up).
    void Hide();
    // Shows the window with its top-left corner at the screen point.
    void Show(TPoint origin);
    bool Visible() const { return isVisible(); }

    std::function<void(TPopupWindow*, bool accept)> OnCloseUp;
    std::function<void(TPopupWindow*, TDateTime)> OnPopupDateChange;

    // The left button released over the window: a close-up, accepting inside it.
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

protected:
    // Raises OnPopupDateChange.
    void DateChanged(TDateTime date);

    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void hideEvent(QHideEvent* event) override;

private:
    // A press outside the window while it is open.
    void PressOutside(QPoint global);

    TCustomComboEdit* editor_ = nullptr;
    TColor color_ = clBtnFace;
    TCanvas canvas_;
    bool hiding_ = false;
};

// The button inside a combo edit.
class TEditButton : public TZcSpeedButton {
public:
    TEditButton(TCustomComboEdit* edit, QWidget* parent);

    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void Click() override;

protected:
    void Paint() override;

private:
    TCustomComboEdit* edit_ = nullptr;
    bool noAction_ = false;  // the press closed a drop-down; its click opens nothing
};

class TCustomComboEdit : public TCustomMaskEdit {
public:
    explicit TCustomComboEdit(QWidget* parent = nullptr);
    ~TCustomComboEdit() override;

    std::string ButtonHint() const { return button_->Hint(); }
    void SetButtonHint(const std::string& hint);
    int ButtonWidth() const { return button_->Width(); }
    void SetButtonWidth(int width);
    TShortCut ClickKey() const { return clickKey_; }
    void SetClickKey(TShortCut key) { clickKey_ = key; }
    bool DirectInput() const { return directInput_; }
    void SetDirectInput(bool value);
    const TBitmap& Glyph() const { return button_->Glyph(); }
    void SetGlyph(const QImage& picture);  // makes the glyph kind gkCustom
    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind kind);
    int NumGlyphs() const { return button_->NumGlyphs(); }
    void SetNumGlyphs(int value);
    TPopupAlign PopupAlign() const { return popupAlign_; }
    void SetPopupAlign(TPopupAlign value) { popupAlign_ = value; }
    // The combo edit's own read-only flag; the text is also read-only without
    // DirectInput.
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    // A drop-down exists and was open when last looked at.
    bool PopupVisible() const;
    TPopupWindow* Popup() const { return popup_; }
    TEditButton* Button() const { return button_; }
    QWidget* ButtonHolder() const { return holder_; }

    std::function<void(TCustomComboEdit*)> OnButtonClick;

    // The button or the click key: nothing while ReadOnly, else ButtonClick.
    void DoButtonClick();
    // Opens the drop-down under the edit.
    virtual void PopupDropDown(bool disableEdit);
    // Closes the drop-down; accepting takes its value into the edit.
    void PopupCloseUp(TPopupWindow* sender, bool accept);
    void SelectAll() override;

    void Change() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void DoExit() override;

protected:
    // The picture of the gkDefault glyph, or a null image.
    virtual QImage GetDefaultBitmap() { return {}; }
    virtual void ShowPopup(TPoint origin);
    virtual void HidePopup();
    // Whether a value from the drop-down is taken; it may be changed.
    virtual bool AcceptPopup(TPopupValue& value) { return true; }
    virtual void AcceptValue(const TPopupValue& value);
    virtual void SetPopupValue(const TPopupValue& value);
    virtual TPopupValue GetPopupValue();
    // Runs instead of Change while the drop-down is open.
    virtual void PopupChange() {}
    virtual bool GetReadOnly() const { return readOnly_; }
    // Raises OnButtonClick, then opens or closes the drop-down.
    virtual void ButtonClick();

    void SetPopup(TPopupWindow* popup) { popup_ = popup; }
    void UpdatePopupVisible();
    void SetDefaultNumGlyphs(int count) { defaultNumGlyphs_ = count; }
    // Whether a popup calendar's four buttons are enabled when it drops down.
    void SetPopupButtonsEnabled(bool value) { popupButtons_ = value; }
    // Built once the descendant can answer GetDefaultBitmap.
    void RecreateGlyph();
    bool CanPasteOrCut() const override { return directInput_ && !readOnly_; }
    void Resized() override;

private:
    void UpdateInnerReadOnly();
    void LayoutButton();

    QWidget* holder_ = nullptr;
    TEditButton* button_ = nullptr;
    TShortCut clickKey_ = scAlt | VK_DOWN;
    bool readOnly_ = false;
    bool directInput_ = true;
    bool popupVisible_ = false;
    TPopupAlign popupAlign_ = epaRight;
    TGlyphKind glyphKind_ = gkCustom;
    QPointer<TPopupWindow> popup_;
    int defaultNumGlyphs_ = 1;
    bool popupButtons_ = false;
};

class TCustomDateEdit : public TCustomComboEdit {
public:
    explicit TCustomDateEdit(QWidget* parent = nullptr);
    ~TCustomDateEdit() override;

    // The text as a date; NullDate (today with DefaultToday) when it is none.
    TDateTime Date() const;
    // Not a valid date, or NullDate, empties the edit (shows today with
    // DefaultToday); Modified tells whether the date changed.
    void SetDate(TDateTime value);
    bool DefaultToday() const { return defaultToday_; }
    void SetDefaultToday(bool value) { defaultToday_ = value; }
    bool CheckOnExit() const { return checkOnExit_; }
    void SetCheckOnExit(bool value) { checkOnExit_ = value; }
    char BlanksChar() const { return blanksChar_; }
    void SetBlanksChar(char value);
    // At most four lines: the hints of the calendar's four buttons.
    const std::vector<std::string>& CalendarHints() const { return calendarHints_; }
    void SetCalendarHints(const std::vector<std::string>& hints);
    TDayOfWeekName StartOfWeek() const { return startOfWeek_; }
    void SetStartOfWeek(TDayOfWeekName value) { SetAndUpdatePopup(startOfWeek_, value); }
    TDaysOfWeek Weekends() const { return weekends_; }
    void SetWeekends(TDaysOfWeek value) { SetAndUpdatePopup(weekends_, value); }
    TColor WeekendColor() const { return weekendColor_; }
    void SetWeekendColor(TColor value) { SetAndUpdatePopup(weekendColor_, value); }
    TColor DataAvailableColor() const { return dataAvailableColor_; }
    void SetDataAvailableColor(TColor value) { SetAndUpdatePopup(dataAvailableColor_, value); }
    TYearDigits YearDigits() const { return yearDigits_; }
    void SetYearDigits(TYearDigits value);
    TColor PopupColor() const;
    void SetPopupColor(TColor value);
    TCalendarStyle CalendarStyle() const;
    void SetCalendarStyle(TCalendarStyle value);
    const std::string& DialogTitle() const { return dialogTitle_; }
    void SetDialogTitle(const std::string& title) { dialogTitle_ = title; }
    // Limits for written dates; they apply only while switched on.
    TDateTime MinDate = NullDate;
    TDateTime MaxDate = NullDate;
    bool DateLimits() const { return dateLimits_; }
    void SetDateLimits(bool on) { dateLimits_ = on; }

    const std::string& DateFormat() const { return dateFormat_; }
    std::string GetDateMask() const;
    // EConvertError (after focusing the edit) when the text holds more than blanks
    // and is no date; else the text is written again from its date.
    void CheckValidDate();

    // The date, then all of it selected.
    virtual void ApplyDate(TDateTime date);
    // Format and mask again from the settings, keeping the date.
    virtual void UpdateMask();

    std::function<void(TCustomDateEdit*, TDateTime& date, bool& accept)> OnAcceptDate;
    std::function<void(TCustomDateEdit*, TDateTime date)> OnPopupDateChange;

    void Change() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void DoExit() override;

protected:
    QImage GetDefaultBitmap() override;
    bool AcceptPopup(TPopupValue& value) override;
    void AcceptValue(const TPopupValue& value) override;
    void SetPopupValue(const TPopupValue& value) override;
    void ButtonClick() override;
    void changeEvent(QEvent* event) override;

private:
    // Stores a different value and passes the settings to the drop-down.
    template <typename T>
    void SetAndUpdatePopup(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        UpdatePopup();
    }
    bool FourDigits() const { return yearDigits_ != dyTwo; }
    void UpdateFormat() { dateFormat_ = DefDateFormat(FourDigits()); }
    void UpdatePopup();
    void CreatePopup();
    void ValidateDateText();
    TDateTime DefaultDate() const;

    std::string dialogTitle_;
    bool defaultToday_ = false;
    TColor popupColor_ = clBtnFace;
    bool checkOnExit_ = false;
    char blanksChar_ = ' ';
    std::vector<std::string> calendarHints_;
    TDayOfWeekName startOfWeek_ = Mon;
    TDaysOfWeek weekends_{Sun};
    TColor weekendColor_ = clRed;
    TColor dataAvailableColor_ = clBlack;
    TYearDigits yearDigits_ = dyDefault;
    std::string dateFormat_;
    bool formatting_ = false;
    bool dateLimits_ = false;
};

class TDateEdit : public TCustomDateEdit {
public:
    explicit TDateEdit(QWidget* parent = nullptr);
};

} // namespace zeko
