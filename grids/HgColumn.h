#pragma once
// The column model of THyperGrid: one ThgColumn item per grid column (a hidden item
// keeps its cells and width aside) and ThgHeading items for the upper headings that
// span neighbouring columns. Items only hold settings and report their changes to
// their collection's OnItemChange (action 0: Visible changed; 1: anything else
// shown); drawing and cell work belong to the grid.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "grids/HgGlobal.h"
#include "platform/Graphics.h"
#include "platform/qt/Canvas.h"

namespace zeko {

class ThgHeadings;

constexpr int hgItemVisibleChanged = 0;
constexpr int hgItemChanged = 1;

class ThgHeading {
public:
    ThgHeading();
    virtual ~ThgHeading() = default;
    ThgHeading(const ThgHeading&) = delete;
    ThgHeading& operator=(const ThgHeading&) = delete;

    ThgHeadings* Collection() const { return collection_; }
    int Index() const;

    const std::string& Caption() const { return caption_; }
    void SetCaption(const std::string& v) { Set(caption_, v); }
    const std::string& Name() const { return name_; }
    void SetName(const std::string& v) { name_ = v; }  // reports nothing
    ThgVAlignment TitleVAlignment() const { return titleVAlignment_; }
    void SetTitleVAlignment(ThgVAlignment v) { Set(titleVAlignment_, v); }
    TAlignment TitleHAlignment() const { return titleHAlignment_; }
    void SetTitleHAlignment(TAlignment v) { Set(titleHAlignment_, v); }
    TColor TitleColor() const { return titleColor_; }
    void SetTitleColor(TColor v) { Set(titleColor_, v); }
    // Changing the title font itself clears TitleParentFont.
    TFont& TitleFont() { return titleFont_; }
    const TFont& TitleFont() const { return titleFont_; }
    void SetTitleFont(const TFont& v);
    bool TitleParentFont() const { return titleParentFont_; }
    void SetTitleParentFont(bool v) { Set(titleParentFont_, v); }
    ThgClipStyle TitleClipStyle() const { return titleClipStyle_; }
    void SetTitleClipStyle(ThgClipStyle v) { Set(titleClipStyle_, v); }
    TBevelCut TitleInnerBevel() const { return titleInnerBevel_; }
    void SetTitleInnerBevel(TBevelCut v) { Set(titleInnerBevel_, v); }
    TBevelCut TitleOuterBevel() const { return titleOuterBevel_; }
    void SetTitleOuterBevel(TBevelCut v) { Set(titleOuterBevel_, v); }
    ThgBorder& TopBorder() { return topBorder_; }
    ThgBorder& BottomBorder() { return bottomBorder_; }
    ThgBorder& LeftBorder() { return leftBorder_; }
    ThgBorder& RightBorder() { return rightBorder_; }
    const ThgBorder& TopBorder() const { return topBorder_; }
    const ThgBorder& BottomBorder() const { return bottomBorder_; }
    const ThgBorder& LeftBorder() const { return leftBorder_; }
    const ThgBorder& RightBorder() const { return rightBorder_; }
    void SetTopBorder(const ThgBorder& v) { SetBorder(topBorder_, v); }
    void SetBottomBorder(const ThgBorder& v) { SetBorder(bottomBorder_, v); }
    void SetLeftBorder(const ThgBorder& v) { SetBorder(leftBorder_, v); }
    void SetRightBorder(const ThgBorder& v) { SetBorder(rightBorder_, v); }

    // Copies the heading part of another heading (not TitleParentFont, which ends
    // False because the font is copied).
    virtual void Assign(const ThgHeading& source);
    // The names of the properties a form stream keeps for this item.
    virtual std::vector<std::string> StoredProperties() const;

    // Reports action 1 to the collection's OnItemChange.
    void Changed();

protected:
    friend class ThgHeadings;
    template <typename T>
    void Set(T& field, const T& value) {
        if (!(field == value)) {
            field = value;
            Changed();
        }
    }
    void SetBorder(ThgBorder& border, const ThgBorder& value) {
        border.Assign(value);
        Changed();
    }
    void ReportVisibleChanged();

private:
    void Report(int action);  // to the collection's OnItemChange
    ThgHeadings* collection_ = nullptr;
    std::string caption_;
    std::string name_;
    ThgVAlignment titleVAlignment_ = hgvaCenter;
    TAlignment titleHAlignment_ = taCenter;
    TColor titleColor_ = clBtnFace;
    TFont titleFont_;
    bool titleParentFont_ = true;
    ThgClipStyle titleClipStyle_ = hgclpWrap;
    TBevelCut titleInnerBevel_ = bvNone;
    TBevelCut titleOuterBevel_ = bvRaised;
    ThgBorder topBorder_, bottomBorder_, leftBorder_, rightBorder_;
};

class ThgColumn : public ThgHeading {
public:
    ThgColumn();

    int SavedWidth() const { return savedWidth_; }
    void SetSavedWidth(int v) { savedWidth_ = v; }
    bool Visible() const { return visible_; }
    void SetVisible(bool v);  // reports action 0 instead of 1
    std::vector<std::string>& HiddenCells() { return hiddenCells_; }
    const std::vector<std::string>& HiddenCells() const { return hiddenCells_; }
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool v) { Set(readOnly_, v); }
    int MaxTextLength() const { return maxTextLength_; }
    void SetMaxTextLength(int v) { Set(maxTextLength_, v); }
    ThgVAlignment ColumnVAlignment() const { return columnVAlignment_; }
    void SetColumnVAlignment(ThgVAlignment v) { Set(columnVAlignment_, v); }
    TAlignment ColumnHAlignment() const { return columnHAlignment_; }
    void SetColumnHAlignment(TAlignment v) { Set(columnHAlignment_, v); }
    TColor ColumnColor() const { return columnColor_; }
    void SetColumnColor(TColor v) { Set(columnColor_, v); }
    // Changing the column font itself clears ColumnParentFont.
    TFont& ColumnFont() { return columnFont_; }
    const TFont& ColumnFont() const { return columnFont_; }
    void SetColumnFont(const TFont& v);
    bool ColumnParentFont() const { return columnParentFont_; }
    void SetColumnParentFont(bool v) { Set(columnParentFont_, v); }
    ThgClipStyle ColumnClipStyle() const { return columnClipStyle_; }
    void SetColumnClipStyle(ThgClipStyle v) { Set(columnClipStyle_, v); }
    TBevelCut ColumnInnerBevel() const { return columnInnerBevel_; }
    void SetColumnInnerBevel(TBevelCut v) { Set(columnInnerBevel_, v); }
    TBevelCut ColumnOuterBevel() const { return columnOuterBevel_; }
    void SetColumnOuterBevel(TBevelCut v) { Set(columnOuterBevel_, v); }
    ThgControlTypes ControlType() const { return controlType_; }
    void SetControlType(ThgControlTypes v) { Set(controlType_, v); }
    const std::vector<std::string>& Items() const { return items_; }
    void SetItems(const std::vector<std::string>& v) { items_ = v; }  // reports nothing
    bool AutoSuggest() const { return autoSuggest_; }
    void SetAutoSuggest(bool v) { Set(autoSuggest_, v); }
    bool ComboMaxWidth() const { return comboMaxWidth_; }
    void SetComboMaxWidth(bool v) { Set(comboMaxWidth_, v); }
    int DropDownCount() const { return dropDownCount_; }
    void SetDropDownCount(int v) { Set(dropDownCount_, v); }
    bool DropDownList() const { return dropDownList_; }
    void SetDropDownList(bool v) { Set(dropDownList_, v); }
    ThgButtonStyle ButtonStyle() const { return buttonStyle_; }
    void SetButtonStyle(ThgButtonStyle v) { Set(buttonStyle_, v); }
    TPicture& ButtonPicture() { return buttonPicture_; }
    const TPicture& ButtonPicture() const { return buttonPicture_; }
    void SetButtonPicture(const TPicture& v);
    bool DrawButtonface() const { return drawButtonface_; }
    void SetDrawButtonface(bool v) { Set(drawButtonface_, v); }
    ThgVAlignment ButtonVAlignment() const { return buttonVAlignment_; }
    void SetButtonVAlignment(ThgVAlignment v) { Set(buttonVAlignment_, v); }
    int HeadingIndex() const { return headingIndex_; }
    void SetHeadingIndex(int v) { Set(headingIndex_, v); }
    ThgFormatType FormatType() const { return formatType_; }
    void SetFormatType(ThgFormatType v) { Set(formatType_, v); }
    int Decimals() const { return decimals_; }
    void SetDecimals(int v) { Set(decimals_, v); }
    const std::string& Prefix() const { return prefix_; }
    void SetPrefix(const std::string& v) { Set(prefix_, v); }
    bool ThousandsSeparator() const { return thousandsSeparator_; }
    void SetThousandsSeparator(bool v) { Set(thousandsSeparator_, v); }
    bool NegativeParenthesis() const { return negativeParenthesis_; }
    void SetNegativeParenthesis(bool v) { Set(negativeParenthesis_, v); }
    int DateFormat() const { return dateFormat_; }
    void SetDateFormat(int v) { Set(dateFormat_, v); }
    int TimeFormat() const { return timeFormat_; }
    void SetTimeFormat(int v) { Set(timeFormat_, v); }

    // A column source copies every column setting; any other heading only the
    // heading part.
    void Assign(const ThgHeading& source) override;
    std::vector<std::string> StoredProperties() const override;

private:
    int savedWidth_ = 64;
    bool visible_ = true;
    std::vector<std::string> hiddenCells_;
    bool readOnly_ = false;
    int maxTextLength_ = 0;
    ThgVAlignment columnVAlignment_ = hgvaTop;
    TAlignment columnHAlignment_ = taLeftJustify;
    TColor columnColor_ = clWindow;
    TFont columnFont_;
    bool columnParentFont_ = true;
    ThgClipStyle columnClipStyle_ = hgclpEllipsis;
    TBevelCut columnInnerBevel_ = bvNone;
    TBevelCut columnOuterBevel_ = bvNone;
    ThgControlTypes controlType_;
    std::vector<std::string> items_;
    bool autoSuggest_ = true;
    bool comboMaxWidth_ = false;
    int dropDownCount_ = 8;
    bool dropDownList_ = false;
    ThgButtonStyle buttonStyle_ = hgbstEllipsis;
    TPicture buttonPicture_;
    bool drawButtonface_ = true;
    ThgVAlignment buttonVAlignment_ = hgvaCenter;
    int headingIndex_ = -1;
    ThgFormatType formatType_ = hgfmtNone;
    int decimals_ = 2;
    std::string prefix_;
    bool thousandsSeparator_ = true;
    bool negativeParenthesis_ = false;
    int dateFormat_ = 2;
    int timeFormat_ = -1;
};

// An ordered, owning collection of headings; each new item is named "Column N"
// with the first N no item carries.
class ThgHeadings {
public:
    ThgHeadings() = default;
    virtual ~ThgHeadings();
    ThgHeadings(const ThgHeadings&) = delete;
    ThgHeadings& operator=(const ThgHeadings&) = delete;

    int Count() const { return static_cast<int>(items_.size()); }
    ThgHeading* Add();
    ThgHeading* Items(int index) const;  // null outside the collection
    int IndexOf(const ThgHeading* item) const;
    void Delete(int index);
    void Clear();
    void Move(int fromIndex, int toIndex);
    // Replaces the items by copies of the other collection's items.
    void Assign(const ThgHeadings& other);

    // (item, action): 0 its Visible changed, 1 another shown setting changed.
    std::function<void(ThgHeading* item, int action)> OnItemChange;

protected:
    virtual std::unique_ptr<ThgHeading> CreateItem() const { return std::make_unique<ThgHeading>(); }

private:
    std::string FreeName() const;
    std::vector<std::unique_ptr<ThgHeading>> items_;
};

class ThgColumns : public ThgHeadings {
public:
    ThgColumn* Add() { return static_cast<ThgColumn*>(ThgHeadings::Add()); }
    ThgColumn* Items(int index) const { return static_cast<ThgColumn*>(ThgHeadings::Items(index)); }

protected:
    std::unique_ptr<ThgHeading> CreateItem() const override { return std::make_unique<ThgColumn>(); }
};

} // namespace zeko
