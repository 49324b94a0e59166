// The main window's commands for the table windows, and its answer to the archive
// request; the table requests are answered by app/TableWindows.h.
#include "app/hlavni.h"

#include "app/TableWindows.h"
#include "core/ProgramGlobals.h"
#include "core/ZekoMessages.h"

namespace zeko {

void THlavniForm::cmDennitabulkaClick() { tables_->OpenDayTable(); }
void THlavniForm::cmMesicniTabulkaClick() { tables_->OpenMonthTable(); }
void THlavniForm::cmRocniTabulkaClick() { tables_->OpenYearTable(); }
void THlavniForm::Btn_DenniTabulkaClick() { tables_->OpenDayTable(); }
void THlavniForm::Btn_MesicniTabulkaClick() { tables_->OpenMonthTable(); }
void THlavniForm::Btn_RocniTabulkaClick() { tables_->OpenYearTable(); }

void THlavniForm::OpenArchive(bool Today) { tables_->OpenArchive(Today); }

void THlavniForm::WMShowArchive(const TMessage& message) {
    if (message.LParam / ArchiveMenuItemFactor != 0)
        return;
    OpenArchive(false);
    if (ArchiveOpen)
        PostMessageTo(FindWindowByClass(ArchiveWindowClass), WM_SHOW_ARCHIVE, message.WParam,
                      message.LParam % ArchiveMenuItemFactor);
}

} // namespace zeko
