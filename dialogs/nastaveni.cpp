#include "dialogs/nastaveni.h"

#include "core/Zeko.h"
#include "grids/Aligrid.h"
#include "grids/HgGrid.h"
#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"
#include "platform/Keys.h"
#include "platform/Notifier.h"
#include "platform/qt/FontTable.h"
#include "platform/qt/QtText.h"
#include "platform/qt/RadioGroup.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>

namespace zeko {

namespace {

// The form's face: "MS Sans Serif" of 8 points.
constexpr int FormFontPixels = 11;
constexpr int EditHeight = 21;
constexpr int RowStep = 26;

QLabel* AddLabel(QWidget* page, const char* text, int x, int y, int w, int h = EditHeight) {
    auto* label = new QLabel(U(text), page);
    label->setGeometry(x, y, w, h);
    return label;
}

QComboBox* AddList(QWidget* page, const char* name, const QStringList& items, int x, int y, int w) {
    auto* list = new QComboBox(page);
    list->setObjectName(name);
    list->addItems(items);
    list->setMaxVisibleItems(items.size());
    list->setGeometry(x, y, w, EditHeight);
    return list;
}

TCheckedEdit* AddEdit(QWidget* page, const char* name, int x, int y, int w) {
    auto* edit = new TCheckedEdit(name, page);
    edit->setGeometry(x, y, w, EditHeight);
    return edit;
}

QStringList Numbers(int first, int last) {
    QStringList items;
    for (int n = first; n <= last; ++n)
        items << QString::number(n);
    return items;
}

bool IsDigit(char32_t key) { return key >= U'0' && key <= U'9'; }
bool IsDecimalSeparator(char32_t key) { return key == static_cast<char32_t>(FormatSettings().DecimalSeparator); }

} // namespace

// ---------------------------------------------------------------- the checked edit

TCheckedEdit::TCheckedEdit(const char* name, QWidget* parent) : TCustomMaskEdit(parent) { setObjectName(name); }

void TCheckedEdit::RunCheck() {
    try {
        ValidateEdit();
    } catch (const EConvertError&) {
        if (IncompleteError.empty())
            throw;
        throw EConvertError(IncompleteError);
    }
    if (ExitCheck)
        ExitCheck();
}

void TCheckedEdit::DoExit() {
    refused_ = !PassesExitCheck([this] { RunCheck(); });
    if (!refused_)
        TCustomEdit::DoExit();
}

bool TCheckedEdit::CheckNow() {
    try {
        RunCheck();
        refused_ = false;
    } catch (const EConvertError& error) {
        refused_ = true;
        setFocus(Qt::OtherFocusReason);
        ShowException(error);
    }
    return !refused_;
}

void TCheckedEdit::KeyPress(char32_t& key) {
    if (key == CH_RETURN) {
        key = 0;
        focusNextChild();
        return;
    }
    if (KeyFilter && EditsText(key) && !KeyFilter(key))
        key = 0;
    TCustomMaskEdit::KeyPress(key);
}

// ---------------------------------------------------------------- the form

TNastaveniForm::TNastaveniForm(TZEKO& edited, const TZEKO& current, QWidget* parent)
    : TDialogForm(parent), edited_(edited), current_(current) {
    setObjectName("NastaveniForm");
    setWindowTitle(U("Nastavení regulátoru"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(ClientWidth, ClientHeight);
    setFont(StandInQFont("MS Sans Serif", FormFontPixels));

    PageControl1 = new QTabWidget(this);
    PageControl1->setObjectName("PageControl1");
    PageControl1->setGeometry(4, 4, ClientWidth - 8, 354);
    const auto addPage = [this](const char* name, const char* caption) {
        auto* page = new QWidget;
        page->setObjectName(name);
        PageControl1->addTab(page, U(caption));
        return page;
    };
    TabRegulace = addPage("TabRegulace", "Regulace");
    TabVstupy = addPage("TabVstupy", "Vstupy");
    TabVystupy = addPage("TabVystupy", "Výstupy");
    TabVystupy2 = addPage("TabVystupy2", "Výstupy 2");
    TabKomunikace = addPage("TabKomunikace", "Komunikace");
    const int hidden = PageControl1->indexOf(TabVystupy2);
    PageControl1->setTabVisible(hidden, false);
    PageControl1->setTabEnabled(hidden, false);

    CreateRegulacePage();
    CreateVstupyPage();
    CreateVystupyPage();
    CreateKomunikacePage();
    CreateButtons();

    // FormCreate
    PageControl1->setCurrentWidget(TabRegulace);
    for (int row = 0; row < MaxOutputs; ++row)
        Hg_Typ->SetRowHeights(row, OutputRowHeight);
}

TNastaveniForm::~TNastaveniForm() {
    // The focus leaves its edit while the dialog's bases hide it: the checks, which
    // read this form, are not run then.
    for (TCheckedEdit* edit : findChildren<TCheckedEdit*>())
        edit->ExitCheck = nullptr;
}

void TNastaveniForm::CreateRegulacePage() {
    QWidget* p = TabRegulace;
    AddLabel(p, "1. pásmo", 80, 4, 60);
    AddLabel(p, "2. pásmo", 146, 4, 60);
    const char* edges[] = {"Dolní:  >", "Střed:  =", "Horní:  <"};
    for (int i = 0; i < 3; ++i)
        AddLabel(p, edges[i], 8, 24 + i * RowStep, 70);
    Edt_Dolni = AddEdit(p, "Edt_Dolni", 80, 24, 58);
    Edt_Stred = AddEdit(p, "Edt_Stred", 80, 24 + RowStep, 58);
    Edt_Horni = AddEdit(p, "Edt_Horni", 80, 24 + 2 * RowStep, 58);
    Edt_Dolni2 = AddEdit(p, "Edt_Dolni2", 146, 24, 58);
    Edt_Stred2 = AddEdit(p, "Edt_Stred2", 146, 24 + RowStep, 58);
    Edt_Horni2 = AddEdit(p, "Edt_Horni2", 146, 24 + 2 * RowStep, 58);
    SetUpBandEdit(Edt_Dolni, TBandEdge::Lower, Edt_Stred);
    SetUpBandEdit(Edt_Stred, TBandEdge::Centre, Edt_Dolni);
    SetUpBandEdit(Edt_Horni, TBandEdge::Upper, Edt_Stred);
    SetUpBandEdit(Edt_Dolni2, TBandEdge::Lower, Edt_Stred2);
    SetUpBandEdit(Edt_Stred2, TBandEdge::Centre, Edt_Dolni2);
    SetUpBandEdit(Edt_Horni2, TBandEdge::Upper, Edt_Stred2);

    Rgp_PouzijP2 = new TRadioGroup("Rgp_PouzijP2", U("Použít 2. pásmo:"), {"ANO", "NE"}, 2, p);
    Rgp_PouzijP2->setGeometry(222, 2, 140, 46);
    AddLabel(p, "Začátek:", 222, 24 + RowStep, 60);
    AddLabel(p, "Konec:", 222, 24 + 2 * RowStep, 60);
    Edt_ZacatekP2 = AddEdit(p, "Edt_ZacatekP2", 290, 24 + RowStep, 50);
    Edt_KonecP2 = AddEdit(p, "Edt_KonecP2", 290, 24 + 2 * RowStep, 50);
    SetUpTimeEdit(Edt_ZacatekP2);
    SetUpTimeEdit(Edt_KonecP2);

    const int speeds = 112;
    AddLabel(p, "Základní čas reg:", 120, speeds, 120, 16);
    const QStringList kinds = {U("Lineární"), U("Exponenciální")};
    AddLabel(p, "Nedokompenzováno:", 8, speeds + 18, 110);
    Edt_CasNedokompenzovano = AddEdit(p, "Edt_CasNedokompenzovano", 120, speeds + 18, 60);
    Cmb_TypNedokompenzovano = AddList(p, "Cmb_TypNedokompenzovano", kinds, 188, speeds + 18, 118);
    AddLabel(p, "Překompenzováno:", 8, speeds + 18 + RowStep, 110);
    Edt_CasPrekompenzovano = AddEdit(p, "Edt_CasPrekompenzovano", 120, speeds + 18 + RowStep, 60);
    Cmb_TypPrekompenzovano = AddList(p, "Cmb_TypPrekompenzovano", kinds, 188, speeds + 18 + RowStep, 118);
    SetUpNumberEdit(Edt_CasNedokompenzovano, NumberChecks::RegulationTime);
    SetUpNumberEdit(Edt_CasPrekompenzovano, NumberChecks::RegulationTime);

    const int sensitivity = 196;
    AddLabel(p, "Nastav citlivost regulace při poklesu činného výkonu:", 8, sensitivity, 356, 16);
    Cmb_Citlivost = AddList(p, "Cmb_Citlivost", {"--------", "1/100", "1/50", "1/20", "1/10", "1/5", "1/2", "1/1"}, 8,
                            sensitivity + 18, 100);
    const int wait = 246;
    AddLabel(p, "Po regulaci z důvodu nedokompenzování čekej X", 8, wait, 356, 16);
    AddLabel(p, "jalových impulsů do další regulace:", 8, wait + 15, 356, 16);
    Cmb_Prodleva = AddList(p, "Cmb_Prodleva",
                           {"1 impuls", "2 impulsy", "3 impulsy", "4 impulsy", U("5 impulsů"), U("6 impulsů"),
                            U("7 impulsů"), U("8 impulsů"), U("9 impulsů"), ""},
                           8, wait + 33, 100);
}

void TNastaveniForm::CreateVstupyPage() {
    QWidget* p = TabVstupy;
    const QStringList functions = {U("Činný"), U("Jalový"), U("Jal. dodávka"), U("1. podružný"), U("Záznam"),
                                   U("Nepřiřazeno")};
    static const char* const lists[] = {"Cmb_Vstup1", "Cmb_Vstup2", "Cmb_Vstup3", "Cmb_Vstup4"};
    static const char* const constants[] = {"Edt_Konstanta1", "Edt_Konstanta2", "Edt_Konstanta3", "Edt_Konstanta4"};
    for (size_t i = 0; i < Cmb_Vstup.size(); ++i) {
        const int y = 12 + static_cast<int>(i) * 30;
        AddLabel(p, ("Vstup " + std::to_string(i + 1) + ":").c_str(), 8, y, 56);
        Cmb_Vstup[i] = AddList(p, lists[i], functions, 66, y, 112);
        AddLabel(p, "Konstanta:", 192, y, 64);
        Edt_Konstanta[i] = AddEdit(p, constants[i], 258, y, 96);
        SetUpNumberEdit(Edt_Konstanta[i], NumberChecks::MeterConstant);
    }
    AddLabel(p, "Vypočti výkon z  průměru 1-X posledních impulsů:", 8, 142, 286);
    Cmb_Prumer = AddList(p, "Cmb_Prumer", Numbers(1, 8), 298, 142, 56);
    AddLabel(p, "Délka neprůměrovatelného impulsu:", 8, 174, 230);
    Edt_Neprumerovatelnadelka = AddEdit(p, "Edt_Neprumerovatelnadelka", 240, 174, 56);
    AddLabel(p, "s", 302, 174, 20);
    SetUpNumberEdit(Edt_Neprumerovatelnadelka, NumberChecks::NonAveragedPulse);
}

void TNastaveniForm::CreateVystupyPage() {
    QWidget* p = TabVystupy;
    constexpr int gridTop = 40;
    const int rowStep = OutputRowHeight + 1;  // a row and its grid line
    const int gridHeight = MaxOutputs * rowStep + 3;
    for (int row = 0; row < MaxOutputs; ++row) {
        QLabel* number = AddLabel(p, (std::to_string(row + 1) + ".").c_str(), 2, gridTop + 2 + row * rowStep, 24,
                                  OutputRowHeight);
        number->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    }
    AddLabel(p, "Typ:", 32, gridTop - 18, 34, 16);

    Hg_Typ = new THyperGrid(p);
    Hg_Typ->setObjectName("Hg_Typ");
    Hg_Typ->setGeometry(30, gridTop, 36, gridHeight);
    Hg_Typ->SetColCount(1);
    Hg_Typ->SetRowCount(MaxOutputs);
    Hg_Typ->SetFixedCols(0);
    Hg_Typ->SetFixedRows(0);
    Hg_Typ->SetScrollBars(ssNone);
    Hg_Typ->SetOptions(Hg_Typ->Options() + goEditing);
    Hg_Typ->SetColWidths(0, 32);
    ThgColumn* type = Hg_Typ->Columns().Items(0);
    type->SetControlType({hgctlComboBox});
    type->SetItems({"L", "C"});
    type->SetDropDownList(true);
    type->SetColumnHAlignment(taCenter);
    Hg_Typ->OnSelectCell = [this](TCustomGrid*, int, int row, bool&) { MakeTypesContiguous(row); };
    Hg_Typ->OnSetEditText = [this](TCustomGrid*, int, int row, const std::string&) { MakeTypesContiguous(row); };

    const auto valueGrid = [&](const char* name, int x, int w) {
        auto* grid = new TStringAlignGrid(p);
        grid->setObjectName(name);
        grid->setGeometry(x, gridTop, w, gridHeight);
        grid->SetColCount(1);
        grid->SetRowCount(MaxOutputs);
        grid->SetFixedCols(0);
        grid->SetFixedRows(0);
        grid->SetDefaultRowHeight(OutputRowHeight);
        grid->SetScrollBars(ssNone);
        grid->SetOptions(grid->Options() + goEditing);
        grid->SetColWidths(0, w - 4);
        grid->SetAlignment(alRight);
        // Both grids take the same characters.
        grid->OnKeyPress = [](TCustomGrid*, char32_t& key) {
            if (EditsText(key) && !(IsDigit(key) || key == CH_BACK || IsDecimalSeparator(key)))
                key = 0;
        };
        return grid;
    };
    AddLabel(p, "Hodnota výstupu:", 70, 4, 100, 16);
    AddLabel(p, "[kVArh]", 70, gridTop - 18, 84, 16);
    Grd_Hodnota = valueGrid("Grd_Hodnota", 70, 84);
    Grd_Hodnota->OnAfterEdit = [](TStringAlignGrid* grid, int col, int row) {
        grid->SetCells(col, row, CheckNumber(grid->Cells(col, row), NumberChecks::OutputValue));
    };
    AddLabel(p, "Vybíjecí čas:", 172, 4, 80, 16);
    AddLabel(p, "[s]", 172, gridTop - 18, 80, 16);
    Grd_Cas = valueGrid("Grd_Cas", 172, 64);
    Grd_Cas->OnAfterEdit = [](TStringAlignGrid* grid, int col, int row) {
        grid->SetCells(col, row, CheckNumber(grid->Cells(col, row), NumberChecks::DischargeTime));
    };

    constexpr int right = 246;
    AddLabel(p, "Počet výstupů:", right, gridTop - 18, 120, 16);
    Cmb_PocetVystupu = AddList(p, "Cmb_PocetVystupu", Numbers(1, 16), right, gridTop, 56);
    Rgp_VystupPoruchy = new TRadioGroup("Rgp_VystupPoruchy", U("Použít poslední výstup\npro poruchu:"),
                                        {"ANO", "NE"}, 2, p);
    Rgp_VystupPoruchy->setGeometry(right, gridTop + 36, 120, 62);
    Rgp_VystupPoruchy->OnClick = [this](TRadioGroup*) { ApplyFaultOutputRule(); };
    AddLabel(p, "Zpoždění poruchy [s]:", right, gridTop + 108, 120, 16);
    Edt_ZpozdeniPoruchy = AddEdit(p, "Edt_ZpozdeniPoruchy", right, gridTop + 126, 56);
    SetUpNumberEdit(Edt_ZpozdeniPoruchy, NumberChecks::FaultDelay);
}

void TNastaveniForm::CreateKomunikacePage() {
    Cmb_VystupniExpander = new TRadioGroup("Cmb_VystupniExpander", U("Výstupní expander EX-9:"), {"NE", "ANO"}, 2,
                                           TabKomunikace);
    Cmb_VystupniExpander->setGeometry(8, 8, 180, 46);
}

void TNastaveniForm::CreateButtons() {
    const auto button = [this](const char* name, const char* caption, int x, int y, int w, int h) {
        auto* b = new QPushButton(U(caption), this);
        b->setObjectName(name);
        b->setGeometry(x, y, w, h);
        // Enter belongs to the edits (it moves on); no button takes it.
        b->setAutoDefault(false);
        return b;
    };
    constexpr int small = 92, row1 = 364, row2 = 398;
    Btn_UlozNastaveni = button("Btn_UlozNastaveni", "Ulož nast.", 4, row1, small, 26);
    Btn_NactiNastaveni = button("Btn_NactiNastaveni", "Načti nast.", 4 + (small + 2), row1, small, 26);
    Btn_TiskniNastaveni = button("Btn_TiskniNastaveni", "Tiskni nast.", 4 + 2 * (small + 2), row1, small, 26);
    Btn_OdesliNastaveni = button("Btn_OdesliNastaveni", "Odešli e-mail", 4 + 3 * (small + 2), row1, small, 26);
    Btn_TiskniNastaveni->setEnabled(false);
    Btn_OdesliNastaveni->setEnabled(false);
    const int wide = (ClientWidth - 8 - 6) / 2;
    Btn_ZapisNastaveni = button("Btn_ZapisNastaveni", "&Zapiš nastavení reg.", 4, row2, wide, 34);
    BitBtn2 = button("BitBtn2", "&Nezapisuj nastavení", ClientWidth - 4 - wide, row2, wide, 34);
    connect(Btn_ZapisNastaveni, &QPushButton::clicked, this, [this] { Btn_ZapisNastaveniClick(); });
    connect(BitBtn2, &QPushButton::clicked, this, [this] { SetModalResult(ModalResults::Cancel); });
    connect(Btn_UlozNastaveni, &QPushButton::clicked, this, [this] { Btn_UlozNastaveniClick(); });
    connect(Btn_NactiNastaveni, &QPushButton::clicked, this, [this] { Btn_NactiNastaveniClick(); });
}

void TNastaveniForm::SetUpBandEdit(TCheckedEdit* edit, TBandEdge edge, TCheckedEdit* neighbour) {
    edit->KeyFilter = [](char32_t key) { return IsDigit(key) || key == U'-' || key == CH_BACK || IsDecimalSeparator(key); };
    edit->ExitCheck = [this, edit, edge, neighbour] {
        if (!bandsLoaded_)
            return;
        const double typed = NumberOf(edit->Text());
        edit->SetText(FormatFixed(CheckBandValue(edge, typed, NumberOf(neighbour->Text())), 3));
    };
}

void TNastaveniForm::SetUpNumberEdit(TCheckedEdit* edit, const TNumberCheck& check) {
    // A number shown with decimals takes the decimal separator too.
    edit->KeyFilter = [decimals = check.Decimals > 0](char32_t key) {
        return IsDigit(key) || key == CH_BACK || (decimals && IsDecimalSeparator(key));
    };
    edit->ExitCheck = [edit, check] { edit->SetText(CheckNumber(edit->Text(), check)); };
}

void TNastaveniForm::SetUpTimeEdit(TCheckedEdit* edit) {
    edit->SetEditMask("!90:00;1;_");
    edit->IncompleteError = BandTimeIncomplete;
    edit->ExitCheck = [edit] { edit->SetText(BandTimeText(BandTimeOf(edit->Text()))); };
}

} // namespace zeko
