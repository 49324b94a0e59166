#include "platform/qt/TimePicker.h"

namespace zeko {

TTimePicker::TTimePicker(QWidget* parent) : QTimeEdit(parent) {
    setDisplayFormat(QStringLiteral("HH:mm:ss"));
    setButtonSymbols(QAbstractSpinBox::UpDownArrows);
    setWrapping(true);
}

TDateTime TTimePicker::Time() const {
    const QTime t = time();
    return EncodeTime(t.hour(), t.minute(), t.second());
}

void TTimePicker::SetTime(TDateTime value) {
    const TimeParts parts = DecodeTime(TimeOf(value));
    setTime(QTime(parts.Hour, parts.Minute, parts.Second));
}

} // namespace zeko
