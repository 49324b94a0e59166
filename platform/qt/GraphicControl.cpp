#include "platform/qt/GraphicControl.h"

#include <QApplication>
#include <QCursor>
#include <QMouseEvent>

namespace zeko {

void Broadcast(QWidget* parent, TMessage& message) {
    if (!parent)
        return;
    // A copy: a control may leave the parent while it handles the message.
    const QObjectList children = parent->children();
    for (QObject* child : children)
        if (auto* target = dynamic_cast<TControlMessageTarget*>(child))
            target->HandleControlMessage(message);
}

QWidget* ControlAtCursor() { return QApplication::widgetAt(QCursor::pos()); }

bool LeftButtonHeld() { return QGuiApplication::mouseButtons().testFlag(Qt::LeftButton); }

TGraphicControl::TGraphicControl(QWidget* parent) : QWidget(parent) {
    font_.OnChange = [this] { FontChanged(); };
}

void TGraphicControl::SetCaption(const std::string& caption) {
    if (caption == caption_)
        return;
    caption_ = caption;
    CaptionChanged();
}

void TGraphicControl::SetHint(const std::string& hint) {
    hint_ = hint;
    UpdateToolTip();
}

void TGraphicControl::SetShowHint(bool value) {
    showHint_ = value;
    UpdateToolTip();
}

void TGraphicControl::UpdateToolTip() {
    // The short part of a hint goes before "|".
    const std::string shortHint = hint_.substr(0, hint_.find('|'));
    setToolTip(showHint_ ? QString::fromStdString(shortHint) : QString());
}

void TGraphicControl::Click() {
    if (OnClick)
        OnClick(this);
}

void TGraphicControl::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseDown)
        OnMouseDown(this, button, shift, x, y);
}

void TGraphicControl::MouseMove(TShiftState shift, int x, int y) {
    if (OnMouseMove)
        OnMouseMove(this, shift, x, y);
}

void TGraphicControl::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    if (OnMouseUp)
        OnMouseUp(this, button, shift, x, y);
}

void TGraphicControl::DblClick() {
    if (OnDblClick)
        OnDblClick(this);
}

void TGraphicControl::paintEvent(QPaintEvent*) {
    TWidgetPaint bind(canvas_, this);
    Paint();
}

void TGraphicControl::mousePressEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        mouseCapture_ = true;
    event->accept();
    DeliverMouse(*event, event->position().toPoint());
}

void TGraphicControl::mouseDoubleClickEvent(QMouseEvent* event) { mousePressEvent(event); }

void TGraphicControl::mouseMoveEvent(QMouseEvent* event) { DeliverMouse(*event, event->position().toPoint()); }

void TGraphicControl::mouseReleaseEvent(QMouseEvent* event) {
    if (event->button() == Qt::LeftButton)
        mouseCapture_ = false;
    DeliverMouse(*event, event->position().toPoint());
}

void TGraphicControl::enterEvent(QEnterEvent*) { MouseEntered(); }

void TGraphicControl::leaveEvent(QEvent*) { MouseLeft(); }

void TGraphicControl::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange)
        EnabledChanged();
    QWidget::changeEvent(event);
}

void TGraphicControl::showEvent(QShowEvent*) { VisibleChanged(); }

void TGraphicControl::hideEvent(QHideEvent*) { VisibleChanged(); }

} // namespace zeko
