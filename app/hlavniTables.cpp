// The main window's commands for the table windows and the record-file viewer, and
// its answer to the archive request; the table requests are answered by
// app/TableWindows.h.
#include "app/hlavni.h"

#include "app/TableWindows.h"
#include "core/ProgramGlobals.h"
#include "core/ZekoMessages.h"
#include "dialogs/zaznamyservis.h"
#include "grids/HgGrid.h"
#include "platform/qt/MdiChild.h"
#include "platform/qt/RadioGroup.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace zeko {

void THlavniForm::cmDennitabulkaClick() { tables_->OpenDayTable(); }
void THlavniForm::cmMesicniTabulkaClick() { tables_->OpenMonthTable(); }
void THlavniForm::cmRocniTabulkaClick() { tables_->OpenYearTable(); }
void THlavniForm::Btn_DenniTabulkaClick() { tables_->OpenDayTable(); }
void THlavniForm::Btn_MesicniTabulkaClick() { tables_->OpenMonthTable(); }
void THlavniForm::Btn_RocniTabulkaClick() { tables_->OpenYearTable(); }

TZaznamyServisForm* THlavniForm::ServiceViewer() const { return serviceViewer_; }

void THlavniForm::cmNactiZaznamyZeSouboruClick() {
    if (ServiceViewerOpen && serviceViewer_) {
        if (QMdiSubWindow* child = MdiChildOf(serviceViewer_))
            mdiArea_->setActiveSubWindow(child);
        return;
    }
    auto* form = new TZaznamyServisForm;
    serviceViewer_ = form;
    // Laid out for the whole area, it is restored to the area.
    AddMdiChild(mdiArea_, form, mdiArea_->viewport()->size());
    // Laid out in the size the maximised window got.
    const int width = form->width(), height = form->height();
    form->HyperGrid1->resize(width - 30, height - 80);
    form->HyperGrid1->SetColWidths(0, form->HyperGrid1->width());
    form->Otevri->move(form->Otevri->x(), height - 70);
    form->Rgp_Razeni->move(form->Rgp_Razeni->x(), form->Otevri->y() - 5);
}

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
