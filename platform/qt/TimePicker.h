#pragma once
// TTimePicker: the class library's date-time picker in its time kind, with up-down
// buttons: hours, minutes and seconds of one time of day. Its value is the fraction
// of a day the program's dates carry.
#include "platform/DateTime.h"

#include <QTimeEdit>

namespace zeko {

class TTimePicker : public QTimeEdit {
    Q_OBJECT
public:
    explicit TTimePicker(QWidget* parent = nullptr);

    // The time of day, 0 <= t < 1, to the second.
    TDateTime Time() const;
    // The time of day of `value` (its date part is left out).
    void SetTime(TDateTime value);
};

} // namespace zeko
