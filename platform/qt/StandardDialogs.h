#pragma once
// The standard file and print dialogs as the program shows them, their texts
// whole. The file dialog's list gives the dates of change in Czech whatever the
// session's locale; its size, type and date columns are as wide as their texts,
// the places at the left as wide as their names, and the dialog as large as the
// screen allows. The print dialog takes the room its Czech words need when its
// options are shown or hidden again.
class QFileDialog;
class QPrintDialog;

namespace zeko {

void FitFileDialog(QFileDialog& dialog);
void FitPrintDialog(QPrintDialog& dialog);

} // namespace zeko
