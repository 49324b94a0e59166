#pragma once
// TSmenyForm: the modal dialog "Směny" in which the user edits the shift schedule
// history (history records of "Smeny.his", each the start and end of three shifts,
// valid from a date and time) and the names and abbreviations of the shifts. The
// sister of the tariff editor: the history, the band text and its check are theirs
// in common (dialogs/ScheduleEditor.h).
//
// A shift is edited in place of the grid: its band, name and abbreviation edits are
// shown, the grid and "&Zruš" are disabled, and the first "&Potvrď" ends the
// editing; a second one closes the dialog. Names and abbreviations go straight into
// the program-wide ShiftNamesEdit and ShiftAbbrevsEdit, which the main window takes
// over on OK together with the history. The main window gives it its caption.
//
// With no record in the history the editor shows the default shifts (06-14, 14-22,
// 22-06), which the evaluations use then, and the empty list of dates says that
// they are not stored; an edited shift makes them the first record.
#include "dialogs/ScheduleEditor.h"

namespace zeko {

class TCustomEdit;
class TStringGrid;

class TSmenyForm : public TScheduleEditorForm {
    Q_OBJECT
public:
    explicit TSmenyForm(QWidget* parent = nullptr);

    TStringGrid* TabSmeny = nullptr;
    QLabel* NazevLabel = nullptr;  // "Název:"
    TCustomEdit* NazevEdit = nullptr;
    QLabel* ZkratkaLabel = nullptr;  // "Zkratka:"
    TCustomEdit* ZkratkaEdit = nullptr;

    // The table being edited; shift n is row n of the grid.
    TShiftTable Bands;

    // The bands into the body of record N; its valid-from stays.
    void StoreRecord(int N) override;
    void LoadRecord() override;
    void RefreshGrid() override;
    // The current shift is not in use.
    void MarkBandUnused() override;
    // The band, name and abbreviation edits with their labels.
    void ShowEditors(bool show);

    // Double click or Enter in the grid: the shift's edits.
    void EditBandCell() override;
    // A shift is being edited.
    bool Editing() const { return BandEditorOpen(); }

    static constexpr int ClientWidth = 282;
    static constexpr int ClientHeight = 225;

protected:
    THistoryRecord NewRecord() const override;
    bool OnBandCell() const override;
    std::string CasEditExit() override;
    bool ConfirmEditing() override;

private:
    std::string CellText(int row) const;

    int editedRow_ = 1;
};

} // namespace zeko
