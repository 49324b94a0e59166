#include "grids/HgColumn.h"

#include <algorithm>

#include "platform/GridAxis.h"

namespace zeko {

namespace {
void Keep(std::vector<std::string>& stored, bool keep, const char* name) {
    if (keep)
        stored.push_back(name);
}
} // namespace

// ---------------------------------------------------------------- ThgHeading

ThgHeading::ThgHeading() {
    // A change made to the font itself means the item no longer follows the grid.
    titleFont_.OnChange = [this] { titleParentFont_ = false; };
}

int ThgHeading::Index() const { return collection_ ? collection_->IndexOf(this) : -1; }

void ThgHeading::SetTitleFont(const TFont& v) {
    titleFont_.Assign(v);
    Changed();
}

void ThgHeading::Report(int action) {
    if (collection_ && collection_->OnItemChange)
        collection_->OnItemChange(this, action);
}

void ThgHeading::Changed() { Report(hgItemChanged); }

void ThgHeading::ReportVisibleChanged() { Report(hgItemVisibleChanged); }

void ThgHeading::Assign(const ThgHeading& source) {
    SetCaption(source.Caption());
    SetName(source.Name());
    SetTitleHAlignment(source.TitleHAlignment());
    SetTitleVAlignment(source.TitleVAlignment());
    SetTitleColor(source.TitleColor());
    SetTitleFont(source.TitleFont());
    SetTitleClipStyle(source.TitleClipStyle());
    SetTitleInnerBevel(source.TitleInnerBevel());
    SetTitleOuterBevel(source.TitleOuterBevel());
    SetTopBorder(source.TopBorder());
    SetBottomBorder(source.BottomBorder());
    SetLeftBorder(source.LeftBorder());
    SetRightBorder(source.RightBorder());
}

std::vector<std::string> ThgHeading::StoredProperties() const {
    std::vector<std::string> out;
    auto keep = [&](bool stored, const char* name) { Keep(out, stored, name); };
    keep(!caption_.empty(), "Caption");
    keep(true, "Name");
    keep(titleVAlignment_ != hgvaCenter, "TitleVAlignment");
    keep(titleHAlignment_ != taCenter, "TitleHAlignment");
    keep(titleColor_ != clBtnFace, "TitleColor");
    keep(!titleParentFont_, "TitleFont");
    keep(!titleParentFont_, "TitleParentFont");
    keep(titleClipStyle_ != hgclpWrap, "TitleClipStyle");
    keep(titleInnerBevel_ != bvNone, "TitleInnerBevel");
    keep(titleOuterBevel_ != bvRaised, "TitleOuterBevel");
    keep(topBorder_.Style() != hgbrdNone, "TopBorder");
    keep(bottomBorder_.Style() != hgbrdNone, "BottomBorder");
    keep(leftBorder_.Style() != hgbrdNone, "LeftBorder");
    keep(rightBorder_.Style() != hgbrdNone, "RightBorder");
    return out;
}

// ---------------------------------------------------------------- ThgColumn

ThgColumn::ThgColumn() {
    columnFont_.OnChange = [this] { columnParentFont_ = false; };
}

void ThgColumn::SetVisible(bool v) {
    if (visible_ == v)
        return;
    visible_ = v;
    ReportVisibleChanged();
}

void ThgColumn::SetColumnFont(const TFont& v) {
    columnFont_.Assign(v);
    Changed();
}

void ThgColumn::SetButtonPicture(const TPicture& v) {
    buttonPicture_.Assign(v);
    Changed();
}

void ThgColumn::Assign(const ThgHeading& source) {
    ThgHeading::Assign(source);
    const auto* c = dynamic_cast<const ThgColumn*>(&source);
    if (!c)
        return;
    SetSavedWidth(c->SavedWidth());
    SetColumnHAlignment(c->ColumnHAlignment());
    SetColumnVAlignment(c->ColumnVAlignment());
    SetColumnColor(c->ColumnColor());
    SetColumnFont(c->ColumnFont());
    SetColumnClipStyle(c->ColumnClipStyle());
    SetColumnInnerBevel(c->ColumnInnerBevel());
    SetColumnOuterBevel(c->ColumnOuterBevel());
    SetControlType(c->ControlType());
    SetItems(c->Items());
    SetVisible(c->Visible());
    hiddenCells_ = c->HiddenCells();
    SetReadOnly(c->ReadOnly());
    SetMaxTextLength(c->MaxTextLength());
    SetAutoSuggest(c->AutoSuggest());
    SetComboMaxWidth(c->ComboMaxWidth());
    SetDropDownCount(c->DropDownCount());
    SetDropDownList(c->DropDownList());
    SetHeadingIndex(c->HeadingIndex());
    SetButtonStyle(c->ButtonStyle());
    SetButtonPicture(c->ButtonPicture());
    SetDrawButtonface(c->DrawButtonface());
    SetButtonVAlignment(c->ButtonVAlignment());
    SetFormatType(c->FormatType());
    SetDecimals(c->Decimals());
    SetPrefix(c->Prefix());
    SetThousandsSeparator(c->ThousandsSeparator());
    SetNegativeParenthesis(c->NegativeParenthesis());
    SetDateFormat(c->DateFormat());
    SetTimeFormat(c->TimeFormat());
}

std::vector<std::string> ThgColumn::StoredProperties() const {
    std::vector<std::string> out = ThgHeading::StoredProperties();
    auto keep = [&](bool stored, const char* name) { Keep(out, stored, name); };
    const bool combo = controlType_.Contains(hgctlComboBox);
    const bool button = controlType_.Contains(hgctlButton);
    const bool custom = button && buttonStyle_ == hgbstCustom;
    const bool formatted = formatType_ != hgfmtNone;
    const bool dated = formatType_ == hgfmtDateTime;
    keep(!visible_, "Visible");
    keep(readOnly_, "ReadOnly");
    keep(maxTextLength_ != 0, "MaxTextLength");
    keep(columnVAlignment_ != hgvaTop, "ColumnVAlignment");
    keep(columnHAlignment_ != taLeftJustify, "ColumnHAlignment");
    keep(columnColor_ != clWindow, "ColumnColor");
    keep(!columnParentFont_, "ColumnFont");
    keep(!columnParentFont_, "ColumnParentFont");
    keep(columnClipStyle_ != hgclpEllipsis, "ColumnClipStyle");
    keep(columnInnerBevel_ != bvNone, "ColumnInnerBevel");
    keep(columnOuterBevel_ != bvNone, "ColumnOuterBevel");
    keep(!controlType_.Empty(), "ControlType");
    keep(combo && !items_.empty(), "Items");
    keep(combo && !autoSuggest_, "AutoSuggest");
    keep(combo && comboMaxWidth_, "ComboMaxWidth");
    keep(combo && dropDownCount_ != 8, "DropDownCount");
    keep(combo && dropDownList_, "DropDownList");
    keep(button && buttonStyle_ != hgbstEllipsis, "ButtonStyle");
    keep(custom && !buttonPicture_.Empty(), "ButtonPicture");
    keep(custom && !drawButtonface_, "DrawButtonface");
    keep(custom && buttonVAlignment_ != hgvaCenter, "ButtonVAlignment");
    keep(headingIndex_ != -1, "HeadingIndex");
    keep(formatted, "FormatType");
    keep(formatted && decimals_ != 2, "Decimals");
    keep(formatted && !prefix_.empty(), "Prefix");
    keep(formatted && !thousandsSeparator_, "ThousandsSeparator");
    keep(formatted && negativeParenthesis_, "NegativeParenthesis");
    keep(dated && dateFormat_ != 2, "DateFormat");
    keep(dated && timeFormat_ != -1, "TimeFormat");
    return out;
}

// ---------------------------------------------------------------- collections

ThgHeadings::~ThgHeadings() {
    OnItemChange = nullptr;
    items_.clear();
}

std::string ThgHeadings::FreeName() const {
    for (int n = 1;; ++n) {
        const std::string name = "Column " + std::to_string(n);
        if (std::none_of(items_.begin(), items_.end(), [&](const auto& i) { return i->Name() == name; }))
            return name;
    }
}

ThgHeading* ThgHeadings::Add() {
    auto item = CreateItem();
    item->collection_ = this;
    item->SetName(FreeName());
    items_.push_back(std::move(item));
    return items_.back().get();
}

ThgHeading* ThgHeadings::Items(int index) const {
    return index >= 0 && index < Count() ? items_[index].get() : nullptr;
}

int ThgHeadings::IndexOf(const ThgHeading* item) const {
    for (int i = 0; i < Count(); ++i)
        if (items_[i].get() == item)
            return i;
    return -1;
}

void ThgHeadings::Delete(int index) {
    if (index >= 0 && index < Count())
        items_.erase(items_.begin() + index);
}

void ThgHeadings::Clear() { items_.clear(); }

void ThgHeadings::Move(int fromIndex, int toIndex) {
    if (fromIndex < 0 || fromIndex >= Count() || toIndex < 0 || toIndex >= Count() || fromIndex == toIndex)
        return;
    MoveItem(items_, fromIndex, toIndex);
}

void ThgHeadings::Assign(const ThgHeadings& other) {
    Clear();
    for (int i = 0; i < other.Count(); ++i)
        Add()->Assign(*other.Items(i));
}

} // namespace zeko
