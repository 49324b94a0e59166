#include "dialogs/ScheduleEditor.h"

#include "controls/ToolEdit.h"
#include "core/Schedules.h"
#include "dialogs/Svatkyformunit.h"
#include "platform/Exceptions.h"
#include "platform/Keys.h"
#include "platform/Notifier.h"
#include "platform/Utf8.h"
#include "platform/qt/Grids.h"
#include "platform/qt/QtText.h"
#include "platform/qt/TimePicker.h"

#include <QComboBox>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include <cstdio>

namespace zeko {

namespace {

constexpr int LastHour = 23;
constexpr int LastMinute = 59;
// Places of the band text: the digits of the two times and the letter.
constexpr size_t StartHour = 0, StartMinute = 3, EndHour = 6, EndMinute = 9, LetterPlace = 13;
constexpr size_t TimesLength = 11;

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

bool IsBandKey(char32_t key) { return IsDigit(key) || key == U'N' || key == U'n'; }

int TwoDigitsAt(const std::u32string& text, size_t place) {
    return static_cast<int>(text[place] - U'0') * 10 + static_cast<int>(text[place + 1] - U'0');
}

std::string RangeMessage(const char* format, int limit) {
    char text[96];
    std::snprintf(text, sizeof text, format, limit);
    return text;
}

} // namespace

std::string BandEditHint(const std::string& what) {
    return "Formát zápisu: nejprve časový interval Od-Do (např. 12:20 - 15:20), potvrzení klávesou ENTER.\n"
           "Písmeno N na konci zápisu: " + what + " se nepoužije.\n"
           "Klávesa ESC: zadání se zruší a ponechá se původní hodnota.";
}

TBandCheck CheckBandText(const std::string& text) {
    const std::u32string t = Utf8ToUtf32(text);
    TBandCheck check;
    if (t.size() > LetterPlace && UpperChar(t[LetterPlace]) == U'N') {
        check.NotInUse = true;
        return check;
    }
    for (size_t place : {StartHour, StartMinute, EndHour, EndMinute})
        if (t.size() < TimesLength || !IsDigit(t[place]) || !IsDigit(t[place + 1])) {
            check.Error = "Neúplně zadaný čas !";
            return check;
        }
    const int startHours = TwoDigitsAt(t, StartHour), startMinutes = TwoDigitsAt(t, StartMinute);
    const int endHours = TwoDigitsAt(t, EndHour), endMinutes = TwoDigitsAt(t, EndMinute);
    if (startHours > LastHour)
        check.Error = RangeMessage("Hodiny prvního čas. údaje větší než %d !", LastHour);
    if (startMinutes > LastMinute)
        check.Error = RangeMessage("Minuty prvního čas. údaje větší než %d !", LastMinute);
    if (endHours > LastHour)
        check.Error = RangeMessage("Hodiny druhého čas. údaje větší než %d !", LastHour);
    if (endMinutes > LastMinute)
        check.Error = RangeMessage("Minuty druhého čas. údaje větší než %d !", LastMinute);
    check.Start = static_cast<uint16_t>(startHours * 60 + startMinutes);
    check.End = static_cast<uint16_t>(endHours * 60 + endMinutes);
    return check;
}

// ---------------------------------------------------------------- band editor

TBandEdit::TBandEdit(QWidget* parent) : TCustomMaskEdit(parent) {
    SetEditMask(BandEditMask);
    SetText(EmptyBandText);
}

void TBandEdit::focusOutEvent(QFocusEvent* event) {
    if (event->reason() == Qt::ActiveWindowFocusReason) {
        QLineEdit::focusOutEvent(event);
        return;
    }
    TCustomMaskEdit::focusOutEvent(event);
}

void TBandEdit::DoExit() {
    const std::string error = OnBandCheck ? OnBandCheck() : std::string();
    if (error.empty()) {
        TCustomEdit::DoExit();
        return;
    }
    // Once the focus change under way has ended; not at all when the dialog was
    // closed meanwhile.
    QMetaObject::invokeMethod(
        this,
        [this, error] {
            if (!isVisible() || !window()->isVisible())
                return;
            setFocus(Qt::OtherFocusReason);
            MessageDlg(error, TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
        },
        Qt::QueuedConnection);
}

// ---------------------------------------------------------------- the form

TScheduleEditorForm::TScheduleEditorForm(QWidget* parent, const char* name, size_t bodySize, TTexts texts)
    : TDialogForm(parent), bodySize_(bodySize), texts_(texts) {
    setObjectName(name);
    // A dialog border without border icons; only the buttons close it.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    SetUserCloseSwallowed(true);

    Label2 = new QLabel(U("Platnost od:"), this);
    Label2->setObjectName("Label2");
    Cmb_Datumy = new QComboBox(this);
    Cmb_Datumy->setObjectName("Cmb_Datumy");
    Cmb_Datumy->setEditable(false);
    Dedt_Datum = new TDateEdit(this);
    Dedt_Datum->setObjectName("Dedt_Datum");
    Dtp_Cas = new TTimePicker(this);
    Dtp_Cas->setObjectName("Dtp_Cas");
    Btn_Pridat = new QPushButton(U("Přidat"), this);
    Btn_Pridat->setObjectName("Btn_Pridat");
    Btn_Zmenit = new QPushButton(U("Změnit"), this);
    Btn_Zmenit->setObjectName("Btn_Zmenit");
    Btn_Smazat = new QPushButton(U("Smazat"), this);
    Btn_Smazat->setObjectName("Btn_Smazat");

    Label1 = new QLabel(this);
    Label1->setObjectName("Label1");
    Label1->hide();
    CasEdit = new TBandEdit(this);
    CasEdit->setObjectName("CasEdit");
    CasEdit->hide();
    CasEdit->OnBandCheck = [this] { return RunBandCheck(); };
    CasEdit->OnKeyPress = [this](TCustomEdit*, char32_t& key) { CasEditKeyPress(key); };

    BitBtn1 = new QPushButton(U("&Potvrď"), this);
    BitBtn1->setObjectName("BitBtn1");
    BitBtn2 = new QPushButton(U("&Zruš"), this);
    BitBtn2->setObjectName("BitBtn2");

    // The user's choice of another record only: the list is refilled by the program
    // without it, and choosing the record shown again keeps its edited bands.
    connect(Cmb_Datumy, &QComboBox::activated, this, [this](int index) {
        if (index != RecordIndex)
            Cmb_DatumyChange();
    });
    connect(Btn_Pridat, &QPushButton::clicked, this, [this] { Btn_PridatClick(); });
    connect(Btn_Zmenit, &QPushButton::clicked, this, [this] { Btn_ZmenitClick(); });
    connect(Btn_Smazat, &QPushButton::clicked, this, [this] { Btn_SmazatClick(); });
    connect(BitBtn1, &QPushButton::clicked, this, [this] { BitBtn1Click(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { SetModalResult(ModalResults::Cancel); });
}

TStringGrid* TScheduleEditorForm::MakeBandGrid(const char* name, int cols, int rows, int fixedCols, int colWidth) {
    auto* grid = new TStringGrid(this);
    grid->setObjectName(name);
    grid->SetColCount(cols);
    grid->SetRowCount(1 + rows);
    grid->SetFixedCols(fixedCols);
    grid->SetFixedRows(1);
    grid->SetDefaultColWidth(colWidth);
    grid->SetDefaultRowHeight(BandRowHeight);
    grid->SetScrollBars(ssNone);
    grid->setToolTip(U(BandGridHint));
    grid->OnDblClick = [this](TCustomGrid*) { EditBandCell(); };
    grid->OnKeyDown = [this](TCustomGrid*, uint16_t& key, TShiftState) { BandGridKeyDown(key); };
    grid->OnKeyPress = [this](TCustomGrid*, char32_t& key) {
        if (key == CH_RETURN) {
            key = 0;
            EditBandCell();
        }
    };
    return grid;
}

void TScheduleEditorForm::BandGridKeyDown(uint16_t& key) {
    if (key != VK_DELETE || !OnBandCell())
        return;
    key = 0;
    if (MessageDlg("Opravdu chcete hodnotu smazat?", TMsgDlgType::mtWarning, TMsgDlgButtons::mbYesNo) !=
        TModalResult::mrYes)
        return;
    Changed = true;
    MarkBandUnused();
}

void TScheduleEditorForm::SetBandKeyFocus(QWidget* afterEnter, QWidget* afterEscape) {
    focusAfterEnter_ = afterEnter;
    focusAfterEscape_ = afterEscape;
}

void TScheduleEditorForm::CasEditKeyPress(char32_t& key) {
    if (key == CH_RETURN) {
        key = 0;
        if (CheckOpenBand() && focusAfterEnter_)
            focusAfterEnter_->setFocus(Qt::OtherFocusReason);
    } else if (key == CH_ESCAPE) {
        key = 0;
        EscapePressed = true;
        if (focusAfterEscape_)
            focusAfterEscape_->setFocus(Qt::OtherFocusReason);
        // Leaving the editor ran the check, which clears EscapePressed; without a
        // focus change it runs here.
        if (EscapePressed)
            RunBandCheck();
    } else if (!IsBandKey(key)) {
        key = 0;
    }
}

THistoryRecord& TScheduleEditorForm::RecordAt(int N) {
    if (N < 0 || N >= static_cast<int>(History.size()))
        throw EListError("List index out of bounds (" + std::to_string(N) + ")");
    return History[static_cast<size_t>(N)];
}

const THistoryRecord* TScheduleEditorForm::ShownRecord() const {
    if (RecordIndex < 0 || RecordIndex >= static_cast<int>(History.size()))
        return nullptr;
    return &History[static_cast<size_t>(RecordIndex)];
}

void TScheduleEditorForm::LoadHistoryFile(const std::string& fileName) {
    loaded_ = ReadHistoryFile(History, fileName, bodySize_);
    if (!loaded_.Whole())
        MessageDlg(HistoryLoadMessage({loaded_}) +
                       (HistoryReadable() ? "\nEditor ukazuje jen nepoškozené záznamy; než soubor přepíše, zeptá se."
                                          : "\nEditor se neotevře, aby soubor nepřepsal."),
                   TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    SortHistory(History);
    RecordIndex = static_cast<int>(History.size()) - 1;
    RefillDateList();
    Changed = false;
    Cmb_DatumyChange();
}

bool TScheduleEditorForm::MaySaveHistory() const {
    if (loaded_.Whole() || History.empty())
        return true;
    return MessageDlg("Historie nebyla načtena celá:\n" + HistoryFaultText(loaded_) +
                          "\nUložením se soubor přepíše jen záznamy, které editor ukazuje, a vše ostatní, co "
                          "soubor obsahuje, se ztratí.\nPřejete si historii přesto uložit?",
                      TMsgDlgType::mtWarning, TMsgDlgButtons::mbYesNo) == TModalResult::mrYes;
}

void TScheduleEditorForm::RefillDateList() { FillDateList(*Cmb_Datumy, History, RecordIndex, {Btn_Zmenit, Btn_Smazat}); }

TDateTime TScheduleEditorForm::ShownValidFrom() const {
    return DateOf(Dedt_Datum->Date()) + TimeOf(Dtp_Cas->Time());
}

void TScheduleEditorForm::StoreShownRecord() {
    if (History.empty()) {
        if (!Changed)
            return;
        History.push_back(NewRecord());
        History.back().ValidFrom = ShownValidFrom();
        RecordIndex = 0;
    }
    StoreRecord(RecordIndex);
}

void TScheduleEditorForm::AskSaveChanges() {
    if (Changed && MessageDlg(texts_.SaveQuestion, TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) ==
                       TModalResult::mrYes)
        StoreShownRecord();
    Changed = false;
}

void TScheduleEditorForm::ShowSelectedRecord() {
    LoadRecord();
    const THistoryRecord* record = ShownRecord();
    const TDateTime validFrom = record ? record->ValidFrom : Now();
    Dedt_Datum->SetDate(DateOf(validFrom));
    Dtp_Cas->SetTime(validFrom);
}

void TScheduleEditorForm::Cmb_DatumyChange() {
    AskSaveChanges();
    RecordIndex = Cmb_Datumy->currentIndex();
    ShowSelectedRecord();
}

void TScheduleEditorForm::Btn_PridatClick() {
    History.push_back(NewRecord());
    RecordIndex = static_cast<int>(History.size()) - 1;
    // The bands shown went into the new record.
    Changed = false;
    RefillDateList();
    Cmb_DatumyChange();
}

void TScheduleEditorForm::Btn_ZmenitClick() {
    if (!ShownRecord())
        return;
    if (MessageDlg("Opravdu si přejete změnit datum platnosti?", TMsgDlgType::mtConfirmation,
                   TMsgDlgButtons::mbYesNo) != TModalResult::mrYes)
        return;
    History[static_cast<size_t>(RecordIndex)].ValidFrom = ShownValidFrom();
    RefillDateList();
}

void TScheduleEditorForm::Btn_SmazatClick() {
    if (!ShownRecord())
        return;
    if (MessageDlg(texts_.DeleteQuestion, TMsgDlgType::mtConfirmation, TMsgDlgButtons::mbYesNo) !=
        TModalResult::mrYes)
        return;
    History.erase(History.begin() + RecordIndex);
    RefillDateList();
    // The bands edited were those of the deleted record; the edits show the
    // valid-from of the record now selected, which the tariff editor stores with
    // its bands.
    Changed = false;
    ShowSelectedRecord();
}

void TScheduleEditorForm::SetBandEditorOpen(bool open) {
    bandEditorOpen_ = open;
    bandRefused_ = false;
}

std::string TScheduleEditorForm::RunBandCheck() {
    if (!bandEditorOpen_)
        return {};
    std::string error = CasEditExit();
    bandRefused_ = !error.empty();
    return error;
}

bool TScheduleEditorForm::CheckOpenBand() {
    const std::string error = RunBandCheck();
    if (error.empty())
        return true;
    MessageDlg(error, TMsgDlgType::mtError, TMsgDlgButtons::mbOK);
    CasEdit->setFocus(Qt::OtherFocusReason);
    return false;
}

void TScheduleEditorForm::BitBtn1Click() {
    if (bandEditorOpen_) {
        // A shortcut presses the button without leaving the band editor; a refused
        // band has been reported by the check of leaving it.
        if (CasEdit->hasFocus() ? !CheckOpenBand() : bandRefused_)
            return;
    }
    if (ConfirmEditing())
        return;
    SetModalResult(ModalResults::Ok);
}

void TScheduleEditorForm::keyPressEvent(QKeyEvent* event) {
    // Escape stands for "&Zruš" while that button may be used.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && BitBtn2->isEnabled()) {
        event->accept();
        BitBtn2->click();
        return;
    }
    TDialogForm::keyPressEvent(event);
}

} // namespace zeko
