// The drop-down window of the combo edit and the values it hands over.
#include "controls/ToolEdit.h"

#include "platform/DateParsing.h"
#include "platform/FormatPatterns.h"
#include "platform/qt/GraphicControl.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

namespace zeko {

bool IsNullOrEmpty(const TPopupValue& value) {
    if (std::holds_alternative<std::monostate>(value))
        return true;
    const auto* text = std::get_if<std::string>(&value);
    return text && text->empty();
}

std::string PopupValueText(const TPopupValue& value) {
    if (const auto* text = std::get_if<std::string>(&value))
        return *text;
    if (const auto* date = std::get_if<TDateTime>(&value))
        return DateToStr(*date);
    return {};
}

TDateTime PopupValueDate(const TPopupValue& value) {
    if (const auto* date = std::get_if<TDateTime>(&value))
        return *date;
    return StrToDate(PopupValueText(value));
}

TPopupWindow::TPopupWindow(TCustomComboEdit* editor) : QWidget(editor, Qt::Popup | Qt::FramelessWindowHint), editor_(editor) {
    hide();
}

void TPopupWindow::SetColor(TColor color) {
    color_ = color;
    update();
}

void TPopupWindow::CloseUp(bool accept) {
    if (OnCloseUp)
        OnCloseUp(this, accept);
}

void TPopupWindow::Hide() {
    hiding_ = true;
    hide();
    hiding_ = false;
}

void TPopupWindow::Show(TPoint origin) {
    setAttribute(Qt::WA_NoMouseReplay, false);
    move(origin.X, origin.Y);
    show();
    raise();
}

void TPopupWindow::DateChanged(TDateTime date) {
    if (OnPopupDateChange)
        OnPopupDateChange(this, date);
}

void TPopupWindow::MouseUp(TMouseButton button, TShiftState, int x, int y) {
    if (button == mbLeft)
        CloseUp(rect().contains(x, y));
}

void TPopupWindow::paintEvent(QPaintEvent*) {
    // A thin black border round the window's colour.
    TWidgetPaint paint(canvas_, this);
    TRect r{0, 0, width(), height()};
    canvas_.Brush().SetStyle(bsSolid);
    canvas_.Brush().SetColor(clWindowFrame);
    canvas_.FrameRect(r);
    InflateRect(r, -1, -1);
    canvas_.Brush().SetColor(color_);
    canvas_.FillRect(r);
}

void TPopupWindow::mousePressEvent(QMouseEvent* event) {
    const QPoint p = event->position().toPoint();
    if (!rect().contains(p)) {
        PressOutside(event->globalPosition().toPoint());
        return;
    }
    DeliverMouse(*event, p);
}

void TPopupWindow::mouseReleaseEvent(QMouseEvent* event) { DeliverMouse(*event, event->position().toPoint()); }

void TPopupWindow::PressOutside(QPoint global) {
    // The press that closes the drop-down does nothing else: the edit's button
    // would open it again.
    setAttribute(Qt::WA_NoMouseReplay);
    QWidget* target = QApplication::widgetAt(global);
    TEditButton* button = editor_ ? editor_->Button() : nullptr;
    const bool onButton = button && target && (target == button || button->isAncestorOf(target));
    if (editor_)
        editor_->PopupCloseUp(this, onButton);
    else
        Hide();
}

void TPopupWindow::keyPressEvent(QKeyEvent* event) {
    // The keyboard comes to the open popup; the edit keeps handling it.
    if (editor_)
        QCoreApplication::sendEvent(editor_, event);
    else
        QWidget::keyPressEvent(event);
}

void TPopupWindow::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    // Closed by the window system (another window came to the front, say).
    if (!hiding_ && editor_ && editor_->PopupVisible())
        editor_->PopupCloseUp(this, false);
}

} // namespace zeko
