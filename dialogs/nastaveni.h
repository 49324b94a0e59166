#pragma once
// TNastaveniForm: the modal dialog "Nastavení regulátoru" in which the user edits the
// regulator's settings. It works on the settings being edited (`edited`, which the
// main window has just filled from the settings as read, `current`): LoadControls
// shows them, StoreControls takes the controls back into them. Every edit checks and
// normalises its text when it is left; "Ulož nast." and "Načti nast." save and load
// settings files of the user's choice. Which groups then go to the regulator is the
// conversation's business (app/ChangedSettings.h).
//
// Files: nastaveni.cpp (the pages and their controls), nastaveniControls.cpp (filling
// and storing, the checks, the file buttons), nastaveniChecks.h (the checks without
// controls), nastaveniFile.h (a settings file loaded only when it passes them).
//
// A list item or radio button stands for each value the regulator may hold; a byte
// that no item shows (an input function above 5, say) leaves its list without a
// choice and is kept as it was unless the user chooses an item, so that a confirm
// without an edit writes nothing.
#include "dialogs/nastaveniChecks.h"
#include "platform/qt/Forms.h"
#include "platform/qt/MaskEdit.h"

#include <array>
#include <functional>

class QComboBox;
class QLabel;
class QPushButton;
class QTabWidget;

namespace zeko {

class THyperGrid;
class TRadioGroup;
class TStringAlignGrid;
class TZEKO;

// An edit whose text is checked when it is left: a check that raises the conversion
// error keeps the focus in the edit and shows the error. Enter moves on to the next
// control; KeyFilter says which characters may be typed. It has a meta object of its
// own, so that the form's findChildren finds its checked edits and no other line
// edit (such as a grid's cell editor).
class TCheckedEdit : public TCustomMaskEdit {
    Q_OBJECT
public:
    explicit TCheckedEdit(const char* name, QWidget* parent);

    std::function<void()> ExitCheck;
    std::function<bool(char32_t)> KeyFilter;
    // The error of a text that leaves a place of the mask blank; empty: the masked
    // edit's own.
    std::string IncompleteError;
    // The last check refused the text; the edit keeps it until it passes.
    bool Refused() const { return refused_; }
    // Runs the check now, as leaving the edit would; false (with the error shown)
    // when it refuses the text.
    bool CheckNow();

    void DoExit() override;
    void KeyPress(char32_t& key) override;

private:
    // The mask's places, then ExitCheck.
    void RunCheck();

    bool refused_ = false;
};

class TNastaveniForm : public TDialogForm {
    Q_OBJECT
public:
    TNastaveniForm(TZEKO& edited, const TZEKO& current, QWidget* parent = nullptr);
    ~TNastaveniForm() override;

    QTabWidget* PageControl1 = nullptr;
    QWidget* TabRegulace = nullptr;
    QWidget* TabVstupy = nullptr;
    QWidget* TabVystupy = nullptr;
    QWidget* TabVystupy2 = nullptr;  // hidden, disabled and empty
    QWidget* TabKomunikace = nullptr;

    // "Regulace"
    TCheckedEdit* Edt_Dolni = nullptr;
    TCheckedEdit* Edt_Stred = nullptr;
    TCheckedEdit* Edt_Horni = nullptr;
    TCheckedEdit* Edt_Dolni2 = nullptr;
    TCheckedEdit* Edt_Stred2 = nullptr;
    TCheckedEdit* Edt_Horni2 = nullptr;
    TCheckedEdit* Edt_CasNedokompenzovano = nullptr;
    QComboBox* Cmb_TypNedokompenzovano = nullptr;
    TCheckedEdit* Edt_CasPrekompenzovano = nullptr;
    QComboBox* Cmb_TypPrekompenzovano = nullptr;
    TRadioGroup* Rgp_PouzijP2 = nullptr;
    TCheckedEdit* Edt_ZacatekP2 = nullptr;
    TCheckedEdit* Edt_KonecP2 = nullptr;
    QComboBox* Cmb_Citlivost = nullptr;
    QComboBox* Cmb_Prodleva = nullptr;
    // "Vstupy"
    std::array<QComboBox*, 4> Cmb_Vstup{};
    std::array<TCheckedEdit*, 4> Edt_Konstanta{};
    QComboBox* Cmb_Prumer = nullptr;
    TCheckedEdit* Edt_Neprumerovatelnadelka = nullptr;
    // "Výstupy"
    QComboBox* Cmb_PocetVystupu = nullptr;
    THyperGrid* Hg_Typ = nullptr;
    TStringAlignGrid* Grd_Hodnota = nullptr;
    TStringAlignGrid* Grd_Cas = nullptr;
    TRadioGroup* Rgp_VystupPoruchy = nullptr;
    TCheckedEdit* Edt_ZpozdeniPoruchy = nullptr;
    // "Komunikace"
    TRadioGroup* Cmb_VystupniExpander = nullptr;

    QPushButton* Btn_ZapisNastaveni = nullptr;   // "&Zapiš nastavení reg.", OK
    QPushButton* BitBtn2 = nullptr;              // "&Nezapisuj nastavení", Cancel
    QPushButton* Btn_UlozNastaveni = nullptr;    // "Ulož nast."
    QPushButton* Btn_NactiNastaveni = nullptr;   // "Načti nast."
    QPushButton* Btn_TiskniNastaveni = nullptr;  // disabled
    QPushButton* Btn_OdesliNastaveni = nullptr;  // disabled

    // Every control from the settings being edited.
    void LoadControls();
    // Every control into the settings being edited; EConvertError for a text that is
    // no number (nothing is stored then), or for a second-band time outside the day.
    void StoreControls();
    bool BandsLoaded() const { return bandsLoaded_; }

    void Btn_ZapisNastaveniClick();
    void Btn_UlozNastaveniClick();
    void Btn_NactiNastaveniClick();
    // The inductive outputs form the first block: an "L" in `row` makes the rows
    // above "L", a "C" the rows below "C".
    void MakeTypesContiguous(int row);
    // The fault delay is edited only while the last output serves as fault output.
    void ApplyFaultOutputRule();

    static constexpr int ClientWidth = 386;
    static constexpr int ClientHeight = 438;
    static constexpr int OutputRowHeight = 16;

private:
    void CreateRegulacePage();
    void CreateVstupyPage();
    void CreateVystupyPage();
    void CreateKomunikacePage();
    void CreateButtons();
    void SetUpBandEdit(TCheckedEdit* edit, TBandEdge edge, TCheckedEdit* neighbour);
    void SetUpNumberEdit(TCheckedEdit* edit, const TNumberCheck& check);
    void SetUpTimeEdit(TCheckedEdit* edit);
    void StoreControlsInto(TZEKO& settings) const;
    // The control that has the focus is left, as a click elsewhere would leave it;
    // false when its check refuses its text.
    bool LeaveFocusedControl();
    // Texts of the dialog are checked before they are stored; the error is shown.
    bool ControlsStore() const;

    TZEKO& edited_;
    const TZEKO& current_;
    bool bandsLoaded_ = false;
};

} // namespace zeko
