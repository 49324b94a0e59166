#include "platform/qt/Forms.h"

#include <QCloseEvent>
#include <QKeyEvent>

namespace zeko {

TDialogForm::TDialogForm(QWidget* parent) : QDialog(parent) {}

int TDialogForm::ShowModal() {
    modalResult_ = ModalResults::None;
    const int result = exec();
    return modalResult_ != ModalResults::None ? modalResult_ : (result == QDialog::Accepted ? ModalResults::Ok : ModalResults::Cancel);
}

void TDialogForm::SetModalResult(int result) {
    modalResult_ = result;
    done(result == ModalResults::Ok ? QDialog::Accepted : QDialog::Rejected);
}

void TDialogForm::reject() {
    if (swallowUserClose_)
        return;
    modalResult_ = ModalResults::Cancel;
    QDialog::reject();
}

bool IsAltF4(const QKeyEvent* event) {
    return event->key() == Qt::Key_F4 && (event->modifiers() & Qt::AltModifier);
}

void TDialogForm::keyPressEvent(QKeyEvent* event) {
    if (swallowUserClose_ && (IsAltF4(event) || event->key() == Qt::Key_Escape)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TDialogForm::closeEvent(QCloseEvent* event) {
    // A spontaneous close comes from the window manager (its button, Alt+F4).
    if (swallowUserClose_) {
        if (event->spontaneous()) {
            event->ignore();
            return;
        }
        // The program's own Close: past the swallowed reject().
        event->accept();
        QDialog::done(QDialog::Rejected);
        return;
    }
    QDialog::closeEvent(event);
}

} // namespace zeko
