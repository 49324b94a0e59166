#pragma once
// THyperGrid: a string grid whose columns are described by a collection of
// ThgColumn items. Each visible item is one grid column; a hidden item keeps its
// cells and width aside until it is shown again. A second collection of ThgHeading
// items supplies upper headings that span neighbouring columns in the upper half
// of row 0. The grid formats cell values for display, raises events for entering
// and leaving cells and rows, for clicks on fixed cells and headings and for edited
// cells, reads and writes column widths in the registry, and edits with
// THgInplaceEdit. Files: HgGrid.cpp (model, events, editing), HgGridDrawing.cpp
// (cells, headings, attributes, borders, images).
#include <functional>
#include <stdexcept>
#include <string>

#include "grids/HgColumn.h"
#include "grids/HgGlobal.h"
#include "grids/HgHGrid.h"
#include "platform/FormStream.h"
#include "platform/qt/Canvas.h"

namespace zeko {

class THgInplaceEdit;

class EhgException : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};
class EhgColumnIndexOutOfRange : public EhgException {
public:
    using EhgException::EhgException;
};
class EhgInvalidColumnName : public EhgException {
public:
    using EhgException::EhgException;
};

// What OnGetCellImage may hand back: a picture or an image list with an index,
// its place beside the text and its alignment there.
struct ThgCellImage {
    const TPicture* Picture = nullptr;
    const TImageList* ImageList = nullptr;
    int ImageIndex = -1;
    ThgImagePosition Position = hgipLeft;
    TAlignment HAlign = taCenter;
    ThgVAlignment VAlign = hgvaCenter;
    int Margin = 2;
};

class THyperGrid : public THgHintGrid {
public:
    static constexpr const char* VersionText = "2.10";

    explicit THyperGrid(QWidget* parent = nullptr);
    ~THyperGrid() override;

    // ---- the model
    ThgColumns& Columns() { return columns_; }
    const ThgColumns& Columns() const { return columns_; }
    ThgHeadings& Headings() { return headings_; }
    const ThgHeadings& Headings() const { return headings_; }
    const std::string& ColumnsRegistryKey() const { return columnsRegistryKey_; }
    void SetColumnsRegistryKey(const std::string& key) { columnsRegistryKey_ = key; }

    ThgOptions HyperOptions() const { return hyperOptions_; }
    void SetHyperOptions(ThgOptions v);
    TColor HyperHighlightColor() const { return hyperHighlightColor_; }
    void SetHyperHighlightColor(TColor v);
    TColor HyperHighlightFontColor() const { return hyperHighlightFontColor_; }
    void SetHyperHighlightFontColor(TColor v);
    bool HyperAdjustColWidth() const { return hyperAdjustColWidth_; }
    void SetHyperAdjustColWidth(bool v) { hyperAdjustColWidth_ = v; }
    bool HyperAdjustRowHeight() const { return hyperAdjustRowHeight_; }
    void SetHyperAdjustRowHeight(bool v) { hyperAdjustRowHeight_ = v; }
    bool HyperColumnClick() const { return hyperColumnClick_; }
    void SetHyperColumnClick(bool v) { hyperColumnClick_ = v; }
    bool AutoAcceptSuggestion() const { return autoAcceptSuggestion_; }
    void SetAutoAcceptSuggestion(bool v) { autoAcceptSuggestion_ = v; }
    std::string Version() const { return VersionText; }
    std::string Author() const;

    // ---- events (col and row are grid coordinates; the item is a column or heading)
    std::function<void(THyperGrid*, int col, int row)> OnButtonClick;
    std::function<void(THyperGrid*, int col, int row, ThgColumn* column, std::string& text)> OnConversionError;
    std::function<void(THyperGrid*, int col, int row, ThgColumn* column, std::string& text, bool& convert)>
        OnDisplayText;
    std::function<void(THyperGrid*, int col, int row, ThgHeading* item, ThgCellStates state, ThgBorder& top,
                       ThgBorder& right, ThgBorder& bottom, ThgBorder& left)>
        OnChangeCellBorders;
    std::function<void(THyperGrid*, int col, int row, ThgHeading* item, ThgCellStates state, TColor& color,
                       TFont& font, TAlignment& hAlign, ThgVAlignment& vAlign, TBevelCut& outer, TBevelCut& inner)>
        OnChangeCellAttributes;
    std::function<void(THyperGrid*, int col, int row, int headingIndex, TMouseButton button, TShiftState shift, int x,
                       int y)>
        OnFixedCellClick;
    std::function<void(THyperGrid*, int col, int row, const std::string& cellText, std::string& suggestion)>
        OnGetSuggestion;
    std::function<void(THyperGrid*, int col, int row, bool& readOnly)> OnGetReadOnly;
    std::function<void(THyperGrid*, int col, int row, int headingIndex, ThgCellImage& image)> OnGetCellImage;
    std::function<void(THyperGrid*, int col, int row, bool& canExit)> OnExitCell, OnExitRow;
    std::function<void(THyperGrid*, int col, int row)> OnEnterCell, OnEnterRow;
    std::function<void(THyperGrid*, int col, int row)> OnComboSelection;
    std::function<void(THyperGrid*, int col, int row)> OnCellEdited;
    std::function<void(THyperGrid*, int col, int row, int headingIndex, bool& canClick)> OnBeforeFixedCellClick;

    // ---- columns and grid columns
    // The item shown in grid column `index`; EhgColumnIndexOutOfRange past the last.
    ThgColumn* ColumnFromGridIndex(int index) const;
    // Visible items before the column; -1 for null, hidden, or beyond ColCount.
    int GridIndexOfColumn(const ThgColumn* column) const;
    // The first item of that name without regard to case; EhgInvalidColumnName.
    ThgColumn* ColumnByName(const std::string& name) const;
    int VisibleColumnCount() const;
    void LoadColumnWidths(const std::string& key);
    void SaveColumnWidths(const std::string& key);
    void RepaintRow(int row);
    bool IsFixedCell(int col, int row) const;
    int HeadingIndexAt(int x, int y) const;
    void GetDisplayText(int col, int row, std::string& text);
    void DoComboSelection(int col, int row);
    virtual void DoCellEdited(int col, int row);
    // Every displayed data text passes through here first.
    virtual void GetCellText(const std::string& value, std::string& text);
    void DoButtonClick(int col, int row);

    // ---- drawing
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    void GetCellAttributes(int col, int row, TBevelCut& innerBevel, TBevelCut& outerBevel, THgDrawInfo& info,
                           TFont& font, TColor& color, ThgCellStates& cellState, TGridDrawState drawState,
                           ThgHeading* item);
    void DrawCellImage(int col, int row, TCanvas& canvas, bool draw, TRect& rect, int headingIndex);
    void DrawHeading(int col, int row, ThgColumn* column);
    TFont& AttrFont() { return attrFont_; }

    // ---- form stream: "AVisibleColumnCount"; reading it sets ColCount without
    // adding or freeing items
    void DefineProperties(TFiler& filer);

    // ---- overrides of the grid
    void Loaded() override;
    bool SelectCell(int col, int row) override;
    void SizeChanged(int oldColCount, int oldRowCount) override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;
    TInplaceEdit* CreateEditor() override;
    int GetEditLimit() override;
    void EditChanged() override;
    void HandleMessage(const TMessage& message) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DoEnter() override;
    void DoExit() override;

    // ---- the press on a fixed cell or heading
    bool Pressing() const { return pressing_; }
    bool PressInside() const { return pressInside_; }
    int PressHeading() const { return pressHeading_; }
    int CurCol() const { return curCol_; }
    int CurRow() const { return curRow_; }
    THgInplaceEdit* HyperEditor() const;

protected:
    virtual void DoEnterCell();
    virtual bool DoExitCell();
    virtual void DoEnterRow();
    virtual bool DoExitRow();

private:
    // Raises an enter event with the current cell, and follows it with the hint.
    void Entered(const std::function<void(THyperGrid*, int, int)>& event);
    // Takes a shown suggestion, asks an exit event, and switches the hint off.
    bool MayExit(const std::function<void(THyperGrid*, int, int, bool&)>& event);
    void ItemChanged(ThgHeading* item, int action);
    void HideItem(ThgColumn* column);
    void ShowItem(ThgColumn* column);
    void UpdatePress(int x, int y);
    void InvalidatePressed();
    bool ShowsHeading(int col, int headingIndex) const;  // the grid column's item carries that heading
    void HeadingSpan(int col, int headingIndex, int& first, int& last) const;
    TRect HeadingVisibleRect(int col, int row, int headingIndex) const;
    // The item's borders, as OnChangeCellBorders leaves them, drawn inside r.
    void DrawItemBorders(TCanvas& canvas, TRect& r, int col, int row, ThgHeading* item, ThgCellStates state);
    std::string FormatDisplay(const ThgColumn& column, const std::string& text) const;
    int VisibleItemsBefore(const ThgColumn* column) const;

    ThgColumns columns_;
    ThgHeadings headings_;
    std::string columnsRegistryKey_;
    ThgOptions hyperOptions_{hgoptDrawFocusRectangle, hgoptHighlightSelection};
    TColor hyperHighlightColor_ = clHighlight;
    TColor hyperHighlightFontColor_ = clHighlightText;
    bool hyperAdjustColWidth_ = false;
    bool hyperAdjustRowHeight_ = false;
    bool hyperColumnClick_ = true;
    bool autoAcceptSuggestion_ = true;

    TBitmap headingBitmap_;
    int curCol_;
    int curRow_;
    TFont attrFont_;
    bool internalColChange_ = false;
    bool pressing_ = false;
    int pressCol_ = -1;
    int pressRow_ = -1;
    bool pressInside_ = false;
    int pressHeading_ = -1;
    TMouseButton pressButton_ = mbLeft;
    bool pressOver_ = false;
};

} // namespace zeko
