#include "platform/qt/QtNotifier.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>

#include <memory>
#include <vector>

#include "platform/ProgramDir.h"
#include "platform/qt/StandardDialogs.h"

namespace zeko {
namespace {

QString Q(const std::string& text) { return QString::fromStdString(text); }

struct ButtonInfo {
    const char* Caption;
    QMessageBox::ButtonRole Role;
    TModalResult Result;
};

std::vector<ButtonInfo> ButtonsOf(TMsgDlgButtons buttons) {
    const ButtonInfo yes{"&Ano", QMessageBox::YesRole, TModalResult::mrYes};
    const ButtonInfo no{"&Ne", QMessageBox::NoRole, TModalResult::mrNo};
    const ButtonInfo ok{"OK", QMessageBox::AcceptRole, TModalResult::mrOk};
    const ButtonInfo cancel{"Zrušit", QMessageBox::RejectRole, TModalResult::mrCancel};
    switch (buttons) {
    case TMsgDlgButtons::mbOKCancel: return {ok, cancel};
    case TMsgDlgButtons::mbYesNo: return {yes, no};
    case TMsgDlgButtons::mbYesNoCancel: return {yes, no, cancel};
    case TMsgDlgButtons::mbOK: break;
    }
    return {ok};
}

QString TitleOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning: return QStringLiteral("Varování");
    case TMsgDlgType::mtError: return QStringLiteral("Chyba");
    case TMsgDlgType::mtInformation: return QStringLiteral("Informace");
    case TMsgDlgType::mtConfirmation: return QStringLiteral("Potvrzení");
    }
    return QApplication::applicationDisplayName();
}

QMessageBox::Icon IconOf(TMsgDlgType type) {
    switch (type) {
    case TMsgDlgType::mtWarning: return QMessageBox::Warning;
    case TMsgDlgType::mtError: return QMessageBox::Critical;
    case TMsgDlgType::mtInformation: return QMessageBox::Information;
    case TMsgDlgType::mtConfirmation: return QMessageBox::Question;
    }
    return QMessageBox::NoIcon;
}

QWidget* DialogParent() { return QApplication::activeWindow(); }

} // namespace

TModalResult QtNotifier::MessageDlg(const std::string& text, TMsgDlgType type, TMsgDlgButtons buttons) {
    QMessageBox box(IconOf(type), TitleOf(type), Q(text), QMessageBox::NoButton, DialogParent());
    std::vector<std::pair<QAbstractButton*, TModalResult>> made;
    for (const ButtonInfo& info : ButtonsOf(buttons))
        made.emplace_back(box.addButton(QString::fromUtf8(info.Caption), info.Role), info.Result);
    box.exec();
    for (const auto& [button, result] : made)
        if (box.clickedButton() == button)
            return result;
    // Closed with Escape or the title bar: the class library answers Cancel.
    return TModalResult::mrCancel;
}

bool QtNotifier::InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
    bool ok = false;
    const QString text = QInputDialog::getText(DialogParent(), Q(caption), Q(prompt), QLineEdit::Normal, Q(value), &ok);
    if (ok)
        value = text.toStdString();
    return ok;
}

std::string QtFileFilter(const std::string& filter) {
    std::vector<std::string> parts;
    size_t start = 0;
    while (start <= filter.size()) {
        const size_t bar = filter.find('|', start);
        parts.push_back(filter.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos)
            break;
        start = bar + 1;
    }
    std::string out;
    for (size_t i = 0; i + 1 < parts.size(); i += 2) {
        std::string patterns = parts[i + 1];
        for (char& c : patterns)
            if (c == ';')
                c = ' ';
        if (!out.empty())
            out += ";;";
        out += parts[i] + " (" + patterns + ")";
    }
    return out;
}

namespace {

std::unique_ptr<QFileDialog> MakeFileDialog(const TFileDialogRequest& request, bool save, QWidget* parent) {
    auto dialog = std::make_unique<QFileDialog>(parent, Q(request.Title), Q(request.InitialDir),
                                                Q(QtFileFilter(request.Filter)));
    dialog->setAcceptMode(save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog->setFileMode(save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    // Qt's own dialog, in Czech: the desktop's dialog would speak the session's
    // language and match the patterns case by case. Patterns match names without
    // regard to letter case ("m*zek" finds "Mesic03.zek", "*.SET" finds "a.set"),
    // as the data folders' names are found.
    dialog->setOption(QFileDialog::DontUseNativeDialog);
    // The user sees the filter's description alone, as it is written (it names its
    // patterns itself: "Záložní soubory nastavení (*.set)").
    dialog->setOption(QFileDialog::HideNameFilterDetails);
    dialog->setFilter(dialog->filter() & ~QDir::CaseSensitive);
    FitFileDialog(*dialog);
    if (!request.FileName.empty())
        dialog->selectFile(Q(request.FileName));
    return dialog;
}

} // namespace

std::unique_ptr<QFileDialog> MakeOpenFileDialog(const TFileDialogRequest& request, QWidget* parent) {
    return MakeFileDialog(request, false, parent);
}

std::unique_ptr<QFileDialog> MakeSaveFileDialog(const TFileDialogRequest& request, QWidget* parent) {
    std::unique_ptr<QFileDialog> dialog = MakeFileDialog(request, true, parent);
    dialog->setDefaultSuffix(Q(request.DefaultExt));
    // The question comes in Czech from ConfirmOverwrite, as in the scripted dialogs.
    dialog->setOption(QFileDialog::DontConfirmOverwrite, true);
    return dialog;
}

bool QtNotifier::OpenFileDialog(const TFileDialogRequest& request, std::string& fileName) {
    const std::unique_ptr<QFileDialog> dialog = MakeOpenFileDialog(request, DialogParent());
    if (dialog->exec() != QDialog::Accepted || dialog->selectedFiles().isEmpty())
        return false;
    fileName = dialog->selectedFiles().front().toStdString();
    return true;
}

bool QtNotifier::SaveFileDialog(const TFileDialogRequest& request, std::string& fileName) {
    const std::unique_ptr<QFileDialog> dialog = MakeSaveFileDialog(request, DialogParent());
    while (dialog->exec() == QDialog::Accepted && !dialog->selectedFiles().isEmpty()) {
        const std::string chosen = dialog->selectedFiles().front().toStdString();
        if (!request.OverwritePrompt || !FileExists(chosen) || ConfirmOverwrite(chosen)) {
            fileName = chosen;
            return true;
        }
    }
    return false;
}

} // namespace zeko
