#include "controls/DataComboBox.h"

#include "platform/Exceptions.h"
#include "platform/FormatSettings.h"

namespace zeko {

TDataComboBox::TDataComboBox(QWidget* parent) : QComboBox(parent) {}

std::string TDataComboBox::Actual() {
    actual_.clear();
    const int index = currentIndex();
    if (index != -1 && static_cast<int>(values_.size()) > index)
        actual_ = values_[static_cast<size_t>(index)];
    return actual_;
}

int TDataComboBox::ActualInt() const { return static_cast<int>(StrToIntDef(actual_, 0)); }

std::string TDataComboBox::GetValue(int index) const {
    if (index < 0)
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    if (index >= Count())
        return values_.empty() ? "0" : values_.front();
    return values_[static_cast<size_t>(index)];
}

int TDataComboBox::GetValueInt(int index) const {
    try {
        return static_cast<int>(StrToIntDef(GetValue(index), 0));
    } catch (const EListError&) {
        return 0;
    }
}

void TDataComboBox::AddValue(int /*index*/, int value) { values_.push_back(std::to_string(value)); }

void TDataComboBox::ClearAll() {
    clear();
    values_.clear();
}

} // namespace zeko
