#pragma once
// TDataComboBox: a combo box that keeps, next to its visible items, a list of value
// strings matched to the items by position, so that the chosen item gives a value
// (a channel id, a key) without parsing its text.
#include <QComboBox>

#include <string>
#include <vector>

namespace zeko {

class TDataComboBox : public QComboBox {
    Q_OBJECT
public:
    explicit TDataComboBox(QWidget* parent = nullptr);

    const std::vector<std::string>& ValueList() const { return values_; }
    void SetValueList(const std::vector<std::string>& lines) { values_ = lines; }

    // The value of the selected item (empty when nothing is selected or the item
    // has no value); it is also kept as the actual value.
    std::string Actual();
    // The actual value as last read through Actual, as an integer (0 when no number).
    int ActualInt() const;
    // The number of values.
    int Count() const { return static_cast<int>(values_.size()); }

    // The value at index; an index past the values gives the first value, or "0"
    // when there is none. A negative index raises EListError.
    std::string GetValue(int index) const;
    // GetValue as an integer; 0 when it is no number or GetValue fails.
    int GetValueInt(int index) const;
    // Appends the value's decimal text; the index does not place it.
    void AddValue(int index, int value);
    void ClearAll();

private:
    std::vector<std::string> values_;
    std::string actual_;
};

} // namespace zeko
