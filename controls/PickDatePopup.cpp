// The popup calendar of the date edit, its title buttons and panels.
#include "controls/PickDate.h"

#include "controls/StrUtils.h"
#include "controls/VCLUtils.h"
#include "controls/ZcConst.h"
#include "platform/Exceptions.h"
#include "platform/FormatPatterns.h"
#include "platform/FormatSettings.h"
#include "platform/TextFiles.h"

namespace zeko {
namespace {

constexpr int TitleHeight = 18;
constexpr int TitleButtonSize = 14;
constexpr int TitleLabelLeft = 29;

struct TitleButtonLook {
    const char* glyph;
    const char* hint;
};
constexpr std::array<TitleButtonLook, CalendarButtonCount> TitleButtons = {{
    {"PREV2", "Předchozí rok|"},
    {"PREV1", "Předchozí měsíc|"},
    {"NEXT1", "Následující měsíc|"},
    {"NEXT2", "Následující rok|"},
}};

bool NoShiftKeys(TShiftState shift) {
    return !shift.Contains(ssShift) && !shift.Contains(ssCtrl) && !shift.Contains(ssAlt);
}

} // namespace

std::string CalendarTitle(TDateTime date) { return FormatDateTime("MMMM, YYYY", date); }

// ---------------------------------------------------------------- parts

TZcTimerSpeedButton::TZcTimerSpeedButton(QWidget* parent) : TZcSpeedButton(parent) {
    SetStyle(bsWin31);
    SetAllowTimer(true);
}

std::array<TZcTimerSpeedButton*, CalendarButtonCount> CreateCalendarButtons(
    QWidget* parent, const std::array<TRect, CalendarButtonCount>& bounds,
    const std::function<void(TCalendarButton)>& click) {
    std::array<TZcTimerSpeedButton*, CalendarButtonCount> buttons{};
    for (int i = 0; i < CalendarButtonCount; ++i) {
        auto* button = new TZcTimerSpeedButton(parent);
        const TRect& r = bounds[i];
        button->SetBounds(r.Left, r.Top, r.Width(), r.Height());
        button->SetGlyph(LoadZcBitmap(TitleButtons[i].glyph));
        button->SetHint(ResString(TitleButtons[i].hint));
        button->SetShowHint(true);
        button->OnClick = [click, i](TGraphicControl*) { click(static_cast<TCalendarButton>(i)); };
        buttons[i] = button;
    }
    return buttons;
}

void StepCalendar(TZcCalendar& calendar, TCalendarButton which) {
    switch (which) {
    case cbPrevYear: calendar.PrevYear(); break;
    case cbPrevMonth: calendar.PrevMonth(); break;
    case cbNextMonth: calendar.NextMonth(); break;
    case cbNextYear: calendar.NextYear(); break;
    }
}

void SetCalendarButtonHints(const std::array<TZcTimerSpeedButton*, CalendarButtonCount>& buttons,
                            const std::vector<std::string>& hints) {
    for (size_t i = 0; i < buttons.size() && i < hints.size(); ++i)
        if (!hints[i].empty())
            buttons[i]->SetHint(hints[i]);
}

TCalendarPanel::TCalendarPanel(QWidget* parent, TColor color, TBevelCut outer, TBevelCut inner)
    : QWidget(parent), color_(color), outer_(outer), inner_(inner) {
    // A panel keeps its clicks: they are not the popup's close-up.
    setAttribute(Qt::WA_NoMousePropagation);
}

void TCalendarPanel::SetColor(TColor color) {
    color_ = color;
    update();
}

int TCalendarPanel::BevelWidth() const { return (outer_ != bvNone ? 1 : 0) + (inner_ != bvNone ? 1 : 0); }

void TCalendarPanel::paintEvent(QPaintEvent*) {
    TWidgetPaint paint(canvas_, this);
    TRect r{0, 0, width(), height()};
    canvas_.Brush().SetStyle(bsSolid);
    canvas_.Brush().SetColor(color_);
    canvas_.FillRect(r);
    for (TBevelCut bevel : {outer_, inner_})
        if (bevel != bvNone)
            Frame3D(canvas_, r, bevel == bvLowered ? clBtnShadow : clBtnHighlight,
                    bevel == bvLowered ? clBtnHighlight : clBtnShadow, 1);
}

void TCalendarTitle::Paint() {
    TCanvas& c = Canvas();
    c.SetFont(Font());
    c.Brush().SetStyle(bsClear);
    c.TextOut((Width() - c.TextWidth(Caption())) / 2, 0, Caption());
}

// ---------------------------------------------------------------- TPopupCalendar

TPopupCalendar::TPopupCalendar(TCustomComboEdit* editor) : TPopupWindow(editor) {
    resize(PopupCalendarWidth, PopupCalendarHeight);
    TFont font;
    FontSetDefault(font);
    back_ = new TCalendarPanel(this, Color(), bvRaised, bvNone);
    back_->setGeometry(1, 1, width() - 2, height() - 2);
    const int inset = back_->BevelWidth();
    const int topWidth = width() - 4;
    top_ = new TCalendarPanel(back_, Color(), bvNone, bvNone);
    top_->setGeometry(inset, inset, topWidth, TitleHeight);
    calendar_ = new TLocCalendar(back_);
    calendar_->setGeometry(inset, inset + TitleHeight, topWidth, back_->height() - 2 * inset - TitleHeight);
    calendar_->Font().Assign(font);
    calendar_->TakeParentColor(Color());
    calendar_->OnChange = [this](TZcCalendar*) { CalendarChange(); };
    calendar_->OnMouseUp = [this](TCustomGrid*, TMouseButton button, TShiftState shift, int x, int y) {
        const TGridCoord cell = calendar_->MouseCoord(x, y);
        if (button == mbLeft && NoShiftKeys(shift) && cell.Y > 0 && !calendar_->CellText(cell.X, cell.Y).empty())
            CloseUp(true);
    };
    const int s = TitleButtonSize;
    buttons_ = CreateCalendarButtons(
        top_, {Bounds(-1, -1, s, s), Bounds(12, -1, s, s), Bounds(topWidth - 26, -1, s, s), Bounds(topWidth - 13, -1, s, s)},
        [this](TCalendarButton which) { StepCalendar(*calendar_, which); });
    title_ = new TCalendarTitle(top_);
    title_->SetBounds(TitleLabelLeft, 1, topWidth - 2 * TitleLabelLeft, s);
    title_->Font().Assign(font);
    title_->OnDblClick = [this](TGraphicControl*) { calendar_->SetCalendarDate(Today()); };
    CalendarChange();
}

void TPopupCalendar::CalendarChange() {
    title_->SetCaption(CalendarTitle(calendar_->CalendarDate()));
    DateChanged(calendar_->CalendarDate());
}

TPopupValue TPopupCalendar::GetValue() { return calendar_->CalendarDate(); }

void TPopupCalendar::SetValue(const TPopupValue& value) {
    TDateTime date = Today();
    const std::string separator(1, FormatSettings().DateSeparator);
    if (!IsNullOrEmpty(value) && !TrimBlanks(ReplaceAll(PopupValueText(value), separator, "")).empty()) {
        try {
            date = PopupValueDate(value);
        } catch (const EConvertError&) {
            date = Today();
        }
    }
    calendar_->SetCalendarDate(date);
    CalendarChange();
}

void TPopupCalendar::SetColor(TColor color) {
    TPopupWindow::SetColor(color);
    back_->SetColor(color);
    top_->SetColor(color);
    calendar_->TakeParentColor(color);
}

void TPopupCalendar::KeyDown(uint16_t& key, TShiftState shift) {
    TPopupWindow::KeyDown(key, shift);
    const bool ctrl = shift.Contains(ssCtrl);
    switch (key) {
    case VK_NEXT:
        StepCalendar(*calendar_, ctrl ? cbNextYear : cbNextMonth);
        key = 0;
        break;
    case VK_PRIOR:
        StepCalendar(*calendar_, ctrl ? cbPrevYear : cbPrevMonth);
        key = 0;
        break;
    default: calendar_->KeyDown(key, shift); break;
    }
}

void TPopupCalendar::KeyPress(char32_t& key) { calendar_->KeyPress(key); }

// ---------------------------------------------------------------- set-up

TPopupCalendar* CreatePopupCalendar(TCustomComboEdit* owner) { return new TPopupCalendar(owner); }

void SetupPopupCalendar(TPopupWindow* popup, TDayOfWeekName startOfWeek, TDaysOfWeek weekends,
                        const std::vector<std::string>& hints, TColor dataAvailableColor, TColor weekendColor) {
    auto* calendar = dynamic_cast<TPopupCalendar*>(popup);
    if (!calendar)
        return;
    TLocCalendar* grid = calendar->Calendar();
    grid->SetStartOfWeek(startOfWeek);
    grid->SetWeekendColor(weekendColor);
    grid->SetDataAvailableColor(dataAvailableColor);
    grid->SetWeekends(weekends);
    SetCalendarButtonHints(calendar->Buttons(), hints);
}

void EnablePopupCalendarButtons(TPopupWindow* popup, bool enabled) {
    if (auto* calendar = dynamic_cast<TPopupCalendar*>(popup))
        for (TZcTimerSpeedButton* button : calendar->Buttons())
            button->SetEnabled(enabled);
}

} // namespace zeko
