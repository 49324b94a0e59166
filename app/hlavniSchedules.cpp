// The main window's commands "Směny" and "Tarify": the schedule editors shown
// modally and, on OK, the edited history saved and the names, abbreviations and
// the holiday switch written to "Zeko.ini". The evaluations read the history files
// at each request, so what is saved here applies to the next one.
#include "app/hlavni.h"

#include "core/ProgramGlobals.h"
#include "core/Schedules.h"
#include "dialogs/Smenyunit.h"
#include "dialogs/Tarifyunit.h"
#include "platform/IniFile.h"
#include "platform/Notifier.h"
#include "platform/ProgramDir.h"
#include "platform/qt/QtText.h"

#include <QCheckBox>

#include <exception>
#include <memory>

namespace zeko {

namespace {

constexpr const char* IniFileName = "Zeko.ini";

// What was done before a failure stays done (the history may be saved while the
// names are not).
template <typename Command>
void RunScheduleCommand(Command command) {
    try {
        command();
    } catch (const std::exception&) {
        MessageDlg("Chyba při zpracování údajů, kontaktujte výrobce systému!", TMsgDlgType::mtError,
                   TMsgDlgButtons::mbOK);
    }
}

void WriteNames(TIniFile& ini, const char* section, const char* key, const std::array<std::string, 4>& names,
                const std::array<std::string, 4>& abbrevs) {
    for (size_t n = 1; n <= 3; ++n) {
        const std::string name = key + std::to_string(n);
        ini.WriteString(section, name, names[n]);
        ini.WriteString(section, name + "Zkratka", abbrevs[n]);
    }
}

} // namespace

void THlavniForm::cmSmenyClick() {
    RunScheduleCommand([this] {
        const auto form = std::make_unique<TSmenyForm>(this);
        if (!form->HistoryReadable())
            return;
        form->setWindowTitle(U("Směny"));
        ShiftNamesEdit = ShiftNames;
        ShiftAbbrevsEdit = ShiftAbbrevs;
        if (form->ShowModal() != ModalResults::Ok)
            return;
        form->StoreShownRecord();
        if (form->MaySaveHistory())
            SaveHistory(form->History, ProgramFile(ShiftHistoryFile));
        ShiftNames = ShiftNamesEdit;
        ShiftAbbrevs = ShiftAbbrevsEdit;
        WriteIniValues(ProgramFile(IniFileName),
                       [this](TIniFile& ini) { WriteNames(ini, "Smeny", "Smena", ShiftNames, ShiftAbbrevs); });
    });
}

void THlavniForm::cmTarifyClick() {
    RunScheduleCommand([this] {
        const auto form = std::make_unique<TTarifyForm>(this);
        if (!form->HistoryReadable())
            return;
        form->setWindowTitle(U("Tarify"));
        form->TariffNames = TariffNames;
        form->TariffAbbrevs = TariffAbbrevs;
        form->Chk_Svatky->setChecked(PouzivejSvatky);
        form->RefreshGrid();
        if (form->ShowModal() != ModalResults::Ok)
            return;
        form->StoreShownRecord();
        if (form->MaySaveHistory())
            SaveHistory(form->History, ProgramFile(TariffHistoryFile));
        TariffNames = form->TariffNames;
        TariffAbbrevs = form->TariffAbbrevs;
        PouzivejSvatky = form->Chk_Svatky->isChecked();
        WriteIniValues(ProgramFile(IniFileName), [this](TIniFile& ini) {
            WriteNames(ini, "Tarify", "Tarif", TariffNames, TariffAbbrevs);
            ini.WriteBool("Tarify", "PouzivejSvatky", PouzivejSvatky);
        });
    });
}

} // namespace zeko
