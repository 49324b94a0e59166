// The select-date dialog, built in code.
#include "controls/PickDate.h"

#include "controls/VCLUtils.h"
#include "platform/qt/QtText.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPushButton>
#include <QScreen>

namespace zeko {
namespace {

constexpr int DialogWidth = 222;
constexpr int DialogHeight = 154;
constexpr int TopHeight = 22;
constexpr int BottomHeight = 21;
constexpr int TitleButtonSize = 16;

} // namespace

const char* const SelectDateTitle = "Vyberte datum";

TSelectDateDlg::TSelectDateDlg(QWidget* parent) : TDialogForm(parent) {
    setWindowTitle(U(ResString(SelectDateTitle)));
    setWindowFlags(Qt::Tool | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(DialogWidth, DialogHeight);
    TFont font;
    FontSetDefault(font);
    setFont(ToQFont(font));
    QPalette look = palette();
    look.setColor(QPalette::Window, ToQColor(clBtnFace));
    setPalette(look);
    setAutoFillBackground(true);

    auto* top = new TCalendarPanel(this, clBtnFace, bvRaised, bvLowered);
    top->setGeometry(0, 0, DialogWidth, TopHeight);
    TitleLabel = new TCalendarTitle(top);
    TitleLabel->SetBounds(35, 4, 152, 14);
    TitleLabel->Font().Assign(font);
    TitleLabel->Font().SetColor(clBlue);
    TitleLabel->Font().SetStyle({fsBold});
    TitleLabel->OnDblClick = [this](TGraphicControl*) { SetDate(Today()); };
    const int s = TitleButtonSize;
    Buttons = CreateCalendarButtons(top, {Bounds(3, 3, s, s), Bounds(18, 3, s, s), Bounds(188, 3, s, s), Bounds(203, 3, s, s)},
                                    [this](TCalendarButton which) { StepCalendar(*Calendar, which); });

    auto* bottom = new TCalendarPanel(this, clBtnFace, bvNone, bvNone);
    bottom->setGeometry(0, DialogHeight - BottomHeight, DialogWidth, BottomHeight);
    OkButton = new QPushButton(QStringLiteral("OK"), bottom);
    OkButton->setGeometry(0, 0, 112, BottomHeight);
    CancelButton = new QPushButton(U("Zrušit"), bottom);
    CancelButton->setGeometry(111, 0, 111, BottomHeight);
    connect(OkButton, &QPushButton::clicked, this, [this] { SetModalResult(ModalResults::Ok); });
    connect(CancelButton, &QPushButton::clicked, this, [this] { SetModalResult(ModalResults::Cancel); });

    auto* client = new TCalendarPanel(this, clBtnFace, bvRaised, bvLowered);
    client->setGeometry(0, TopHeight, DialogWidth, DialogHeight - TopHeight - BottomHeight);
    Calendar = new TZcCalendar(client);
    const int b = client->BevelWidth();
    Calendar->setGeometry(b, b, client->width() - 2 * b, client->height() - 2 * b);
    Calendar->Font().Assign(font);
    Calendar->SetColor(clWhite);
    Calendar->SetUseCurrentDate(false);
    Calendar->OnChange = [this](TZcCalendar*) { CalendarChange(); };
    Calendar->OnDblClick = [this](TCustomGrid*) { SetModalResult(ModalResults::Ok); };

    for (QObject* watched : std::initializer_list<QObject*>{this, Calendar, OkButton, CancelButton})
        watched->installEventFilter(this);
    Calendar->SetCalendarDate(Today());
    CalendarChange();
    Calendar->setFocus(Qt::OtherFocusReason);
}

void TSelectDateDlg::SetDate(TDateTime value) {
    if (value == NullDate || !ValidDate(value))
        value = Today();
    Calendar->SetCalendarDate(value);
    CalendarChange();
}

void TSelectDateDlg::CalendarChange() { TitleLabel->SetCaption(CalendarTitle(Calendar->CalendarDate())); }

void TSelectDateDlg::FormKeyDown(uint16_t& key, TShiftState shift) {
    const bool ctrl = shift.Contains(ssCtrl);
    std::optional<TCalendarButton> step;
    switch (key) {
    case VK_RETURN: SetModalResult(ModalResults::Ok); break;
    case VK_ESCAPE: SetModalResult(ModalResults::Cancel); break;
    case VK_NEXT: step = ctrl ? cbNextYear : cbNextMonth; break;
    case VK_PRIOR: step = ctrl ? cbPrevYear : cbPrevMonth; break;
    case VK_TAB: step = shift == TShiftState{ssShift} ? cbPrevMonth : cbNextMonth; break;
    default: return;
    }
    key = 0;
    if (step) {
        StepCalendar(*Calendar, *step);
        TitleLabel->Repaint();
    }
}

bool TSelectDateDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        auto* keyEvent = static_cast<QKeyEvent*>(event);
        uint16_t key = VirtualKeyOf(*keyEvent);
        if (key != 0) {
            FormKeyDown(key, ShiftStateOf(keyEvent->modifiers()));
            if (key == 0)
                return true;
        }
    }
    return TDialogForm::eventFilter(watched, event);
}

std::unique_ptr<TSelectDateDlg> CreateDateDialog(const std::string& caption) {
    auto dialog = std::make_unique<TSelectDateDlg>();
    if (!caption.empty())
        dialog->setWindowTitle(U(caption));
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const QRect area = screen->geometry();
        dialog->move(area.width() / 2 - dialog->width() / 2, area.height() / 2 - dialog->height() / 2);
    }
    return dialog;
}

bool SelectDate(TDateTime& date, const std::string& caption, TDayOfWeekName startOfWeek,
                const std::vector<std::string>& hints, TColor weekendColor, TDaysOfWeek weekends) {
    const std::unique_ptr<TSelectDateDlg> dialog = CreateDateDialog(caption);
    dialog->SetDate(date);
    dialog->Calendar->SetStartOfWeek(startOfWeek);
    dialog->Calendar->SetWeekends(weekends);
    dialog->Calendar->SetWeekendColor(weekendColor);
    SetCalendarButtonHints(dialog->Buttons, hints);
    if (dialog->ShowModal() != ModalResults::Ok)
        return false;
    date = dialog->Calendar->CalendarDate();
    return true;
}

} // namespace zeko
