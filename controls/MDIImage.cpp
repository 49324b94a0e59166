#include "controls/MDIImage.h"

#include <QEvent>
#include <QMdiArea>
#include <QPainter>

namespace zeko {

namespace {

[[noreturn]] void MDIImageError(const std::string& message) { throw EMDIImageError(message); }

// Checked before the object is made, so a refused creation leaves nothing behind.
QWidget* CheckedOwner(QWidget* owner) {
    if (owner == nullptr || !owner->isWindow())
        MDIImageError("not (TMDIImage.Owner is TForm)!");
    for (QObject* child : owner->children())
        if (dynamic_cast<TMDIImage*>(child) != nullptr)
            MDIImageError("Only one instance of TMDIImage allowed");
    return owner;
}

QWidget* ClientWindowOf(QWidget* form) {
    if (auto* area = form->findChild<QMdiArea*>())
        return area->viewport();
    return form;
}

} // namespace

TMDIImage::TMDIImage(QWidget* owner) : QObject(CheckedOwner(owner)), client_(ClientWindowOf(owner)) {
    client_->installEventFilter(this);
}

TMDIImage::~TMDIImage() {
    if (client_)
        client_->removeEventFilter(this);
}

bool TMDIImage::eventFilter(QObject* watched, QEvent* event) {
    if (watched != client_.data() || event->type() != QEvent::Paint || bitmap_.Height() <= 0 || bitmap_.Width() < 1)
        return false;
    PaintBackground(client_);
    return true;
}

void TMDIImage::PaintBackground(QWidget* client) {
    const QColor formColor = static_cast<QWidget*>(parent())->palette().color(QPalette::Window);
    QPainter painter(client);
    TCanvas canvas;
    canvas.BeginPaint(&painter);
    canvas.Brush().SetColor(RGB(formColor.red(), formColor.green(), formColor.blue()));
    const int w = client->width();
    const int h = client->height();
    canvas.FillRect({0, 0, w, h});
    if (center_) {
        left_ = w / 2 - bitmap_.Width() / 2;
        top_ = h / 2 - bitmap_.Height() / 2;
    }
    canvas.Draw(left_, top_, bitmap_);
    canvas.EndPaint();
}

} // namespace zeko
