// The date edit: its date, format and mask, its drop-down calendar or dialog, and
// the keys that change the date.
#include "controls/PickDate.h"
#include "controls/StrUtils.h"
#include "controls/ToolEdit.h"
#include "controls/ZcConst.h"
#include "platform/Exceptions.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"

#include <QEvent>

#include <cmath>

namespace zeko {
namespace {

constexpr int DateGlyphCount = 2;  // the calendar leaf, normal and disabled
constexpr size_t MostCalendarHints = 4;

} // namespace

TCustomDateEdit::TCustomDateEdit(QWidget* parent)
    : TCustomComboEdit(parent), dialogTitle_(SelectDateTitle) {
    SetDefaultNumGlyphs(DateGlyphCount);
    SetPopupButtonsEnabled(true);
    UpdateFormat();
    CreatePopup();
    SetGlyphKind(gkDefault);
}

TCustomDateEdit::~TCustomDateEdit() {
    if (Popup()) {
        Popup()->OnCloseUp = nullptr;
        Popup()->OnPopupDateChange = nullptr;
        delete Popup();
    }
}

QImage TCustomDateEdit::GetDefaultBitmap() {
    // One picture for every date edit of the program.
    static const QImage leaf = LoadZcBitmap("DEDITBMP");
    return leaf;
}

void TCustomDateEdit::CreatePopup() {
    TPopupCalendar* popup = CreatePopupCalendar(this);
    popup->OnCloseUp = [this](TPopupWindow* sender, bool accept) { PopupCloseUp(sender, accept); };
    popup->SetColor(popupColor_);
    popup->OnPopupDateChange = [this](TPopupWindow*, TDateTime date) {
        if (OnPopupDateChange)
            OnPopupDateChange(this, date);
    };
    SetPopup(popup);
}

// ---- date

TDateTime TCustomDateEdit::DefaultDate() const { return defaultToday_ ? Today() : NullDate; }

TDateTime TCustomDateEdit::Date() const { return StrToDateFmtDef(dateFormat_, Text(), DefaultDate()); }

void TCustomDateEdit::SetDate(TDateTime value) {
    if (!ValidDate(value) || value == NullDate)
        value = DefaultDate();
    const TDateTime before = Date();
    if (dateLimits_ && value != NullDate) {
        if (value > MaxDate)
            value = MaxDate;
        else if (value < MinDate)
            value = MinDate;
    }
    SetText(value == NullDate ? std::string() : FormatDateTime(dateFormat_, value));
    SetModified(Date() != before);
}

void TCustomDateEdit::ApplyDate(TDateTime date) {
    SetDate(date);
    SelectAll();
}

std::string TCustomDateEdit::GetDateMask() const { return DefDateMask(blanksChar_, FourDigits()); }

void TCustomDateEdit::UpdateMask() {
    const TDateTime kept = Date();
    const std::string oldFormat = dateFormat_;
    UpdateFormat();
    const std::string mask = GetDateMask();
    // A changed date separator changes the mask's literals, not its text.
    if (mask != EditMask() || oldFormat != dateFormat_ || TEditMask(mask).BlankText() != Mask().BlankText()) {
        SetEditMask("");
        SetEditMask(mask);
    }
    UpdatePopup();
    SetDate(kept);
}

void TCustomDateEdit::ValidateDateText() {
    const TCharSet blanks{'\0', ' ', FormatSettings().DateSeparator, blanksChar_};
    if (AllCharsIn(Text(), blanks))
        return;
    formatting_ = true;
    try {
        SetDate(StrToDateFmt(dateFormat_, Text()));
    } catch (...) {
        formatting_ = false;
        throw;
    }
    formatting_ = false;
}

void TCustomDateEdit::CheckValidDate() {
    try {
        ValidateDateText();
    } catch (const EConvertError&) {
        if (CanFocus())
            setFocus(Qt::OtherFocusReason);
        throw;
    }
}

// ---- settings

void TCustomDateEdit::SetBlanksChar(char value) {
    if (value == blanksChar_)
        return;
    blanksChar_ = value < ' ' ? ' ' : value;
    UpdateMask();
}

void TCustomDateEdit::SetYearDigits(TYearDigits value) {
    if (value == yearDigits_)
        return;
    yearDigits_ = value;
    UpdateMask();
}

void TCustomDateEdit::SetCalendarHints(const std::vector<std::string>& hints) {
    calendarHints_ = hints;
    if (calendarHints_.size() > MostCalendarHints)
        calendarHints_.resize(MostCalendarHints);
    UpdatePopup();
}

void TCustomDateEdit::UpdatePopup() {
    SetupPopupCalendar(Popup(), startOfWeek_, weekends_, calendarHints_, dataAvailableColor_, weekendColor_);
}

TColor TCustomDateEdit::PopupColor() const { return Popup() ? Popup()->Color() : popupColor_; }

void TCustomDateEdit::SetPopupColor(TColor value) {
    if (value == PopupColor())
        return;
    if (Popup())
        Popup()->SetColor(value);
    popupColor_ = value;
}

TCalendarStyle TCustomDateEdit::CalendarStyle() const { return Popup() ? csPopup : csDialog; }

void TCustomDateEdit::SetCalendarStyle(TCalendarStyle value) {
    if (value == CalendarStyle())
        return;
    if (value == csPopup) {
        CreatePopup();
        UpdatePopup();
        return;
    }
    TPopupWindow* popup = Popup();
    popup->OnCloseUp = nullptr;
    SetPopup(nullptr);
    delete popup;
}

// ---- drop-down and dialog

void TCustomDateEdit::SetPopupValue(const TPopupValue& value) {
    // An empty or unreadable text opens the calendar on today.
    TDateTime date = StrToDateFmtDef(dateFormat_, PopupValueText(value), Today());
    if (date == NullDate)
        date = Today();
    TCustomComboEdit::SetPopupValue(date);
}

bool TCustomDateEdit::AcceptPopup(TPopupValue& value) {
    if (!OnAcceptDate)
        return true;
    TDateTime date = NullDate;
    if (!IsNullOrEmpty(value)) {
        try {
            date = PopupValueDate(value);
        } catch (const EConvertError&) {
            date = DefaultDate();
        }
    }
    bool accept = true;
    OnAcceptDate(this, date, accept);
    if (accept)
        value = date;
    return accept;
}

void TCustomDateEdit::AcceptValue(const TPopupValue& value) {
    SetDate(PopupValueDate(value));
    UpdatePopupVisible();
    if (Modified())
        Change();
}

void TCustomDateEdit::ButtonClick() {
    TCustomComboEdit::ButtonClick();
    if (CalendarStyle() != csDialog)
        return;
    TDateTime date = Date();
    const bool chosen = SelectDate(date, dialogTitle_, startOfWeek_, calendarHints_, weekendColor_, weekends_);
    if (CanFocus())
        setFocus(Qt::OtherFocusReason);
    if (!chosen)
        return;
    bool accept = true;
    if (OnAcceptDate)
        OnAcceptDate(this, date, accept);
    if (!accept)
        return;
    SetDate(date);
    if (hasFocus())
        SelectAll();
}

// ---- events

void TCustomDateEdit::Change() {
    if (!formatting_)
        TCustomComboEdit::Change();
}

void TCustomDateEdit::KeyDown(uint16_t& key, TShiftState shift) {
    const bool toPopup = key == VK_PRIOR || key == VK_NEXT || key == VK_LEFT || key == VK_UP || key == VK_RIGHT ||
                         key == VK_DOWN || key == VK_ADD || key == VK_SUBTRACT;
    const bool noShiftKeys = !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
    if (PopupVisible() && toPopup) {
        Popup()->KeyDown(key, shift);
        key = 0;
    } else if (noShiftKeys && DirectInput() && (key == VK_ADD || key == VK_SUBTRACT)) {
        const TDateTime from = Date() == NullDate ? Now() : Date();
        ApplyDate(from + (key == VK_ADD ? 1 : -1));
        key = 0;
    }
    TCustomComboEdit::KeyDown(key, shift);
}

void TCustomDateEdit::KeyPress(char32_t& key) {
    const bool dateKey = key == U'+' || key == U'-' || key == U'T' || key == U't';
    if (dateKey && PopupVisible()) {
        Popup()->KeyPress(key);
        key = 0;
    } else if (dateKey && DirectInput()) {
        if (key == U'T' || key == U't')
            ApplyDate(Today());
        key = 0;
    }
    TCustomComboEdit::KeyPress(key);
}

void TCustomDateEdit::DoExit() {
    if (!checkOnExit_ || PassesExitCheck([this] { ValidateDateText(); }))
        TCustomComboEdit::DoExit();
}

void TCustomDateEdit::changeEvent(QEvent* event) {
    TCustomComboEdit::changeEvent(event);
    // The date formats may follow a changed locale.
    if (event->type() == QEvent::LocaleChange)
        UpdateMask();
}

// ---------------------------------------------------------------- TDateEdit

TDateEdit::TDateEdit(QWidget* parent) : TCustomDateEdit(parent) { UpdateMask(); }

} // namespace zeko
