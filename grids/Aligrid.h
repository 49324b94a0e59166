#pragma once
// TStringAlignGrid: a string grid whose cells take their alignment, word wrap,
// editability, background, selection colours and font from a chain of settings:
// the cell, its column (or fixed column), its row (or fixed row), then the grid.
// It edits cells under a protocol of its own messages (before-, validate-, after-
// and cancel-edit events), finds the next cell after an edit or a Tab, copies and
// pastes cell ranges as text, inserts, moves, exchanges and sorts rows and columns
// with their settings, and stores its settings in the form stream.
//
// The settings live in sparse records (TCellProperties) owned by the grid; a
// record is created on first need. Files: Aligrid.cpp (records, settings and
// their resolution), AligridStream.cpp (the stream format), AligridDrawing.cpp
// (painting and hints), AligridEditing.cpp (the editor and its protocol),
// AligridNavigation.cpp (next cell, clipboard, line operations, sorting).
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "grids/AlignGridTools.h"
#include "platform/FormStream.h"
#include "platform/Graphics.h"
#include "platform/qt/Grids.h"

class QTimer;

namespace zeko {

class TStringAlignGrid;
class THintWindow;

enum TMyAlign : uint8_t { alRight, alLeft, alCenter, alDefault };
enum T_Wordwrap : uint8_t { ww_none, ww_wordwrap, ww_ellipsis, ww_default };

// Editable values of a record: 0 not set, 1 not editable, 2 editable.
constexpr uint8_t kEditNotSet = 0;
constexpr uint8_t kEditNo = 1;
constexpr uint8_t kEditYes = 2;

// The direction of the next-cell walk: the step, then the move at the end of a line.
enum T_nextcell : uint8_t {
    nc_rightdown, nc_downright, nc_leftdown, nc_downleft,
    nc_leftup, nc_upleft, nc_rightup, nc_upright
};
// What happens past the last cell of the walk.
enum T_lastcell : uint8_t { lc_newcolrow, lc_stop, lc_first, lc_exit };

enum t_relation : uint8_t { rel_greater, rel_equal, rel_less };

// The grid's own messages; WParam and LParam are the edited cell's column and row.
constexpr uint32_t AGM_CANCELEDIT = 3024;
constexpr uint32_t AGM_ENDEDIT = 3025;
constexpr uint32_t AGM_LEAVEEDIT = 3026;
constexpr uint32_t AGM_BEGINEDIT = 3027;
constexpr uint32_t AGM_RESTOREEDITOR = 3028;
constexpr uint32_t AGM_NOTHING = 3029;

// The clipboard messages a grid takes.
constexpr uint32_t WM_CUT = 0x0300;
constexpr uint32_t WM_COPY = 0x0301;
constexpr uint32_t WM_PASTE = 0x0302;

// A font or brush that knows whether it was ever changed after its creation as a
// copy of the grid's.
class TMyFont : public TFont {
public:
    bool Changed = false;

protected:
    void NotifyChange() override;
};

class TMyBrush : public TBrush {
public:
    bool Changed = false;

protected:
    void NotifyChange() override;
};

// The settings of one cell, column or row; each field may be "not set".
class TCellProperties {
public:
    explicit TCellProperties(TStringAlignGrid* grid) : Grid(grid) {}
    virtual ~TCellProperties();
    TCellProperties(const TCellProperties&) = delete;
    TCellProperties& operator=(const TCellProperties&) = delete;

    TStringAlignGrid* Grid = nullptr;
    std::unique_ptr<TMyBrush> Brush;
    std::unique_ptr<TMyBrush> SelectedBrush;  // only its colour is used
    std::unique_ptr<TMyFont> Font;
    std::unique_ptr<TMyFont> SelectedFont;    // only its colour is used
    TMyAlign Alignment = alDefault;
    T_Wordwrap Wordwrap = ww_default;
    uint8_t Editable = kEditNotSet;

    virtual void WriteToStream(TWriter& writer) const;
    // Reads the value of one tag; an unknown tag reads nothing.
    virtual void ReadTag(int tag, TReader& reader, TStringAlignGrid* grid);
    // Copies every field (nullptr: resets every field).
    virtual void Assign(const TCellProperties* source);
    virtual bool IsEmpty() const;
    virtual std::unique_ptr<TCellProperties> Clone() const;
    // Tag by tag up to the tag 0.
    void ReadFromStream(TReader& reader);
};

// Makes `object` repaint the grid on every change (nothing without a grid).
void RepaintOnChange(TGraphicsObject& object, TStringAlignGrid* grid);

using TPropList = TObjectList<TCellProperties>;
using TPropCellList = TCellList<TCellProperties>;
using TStringCellList = TCellList<std::string>;

// What the hint request hands the application (the hint's place and look).
struct TCellHintInfo {
    TPoint HintPos;          // screen point of the hint's top-left corner
    int HintMaxWidth = 0;    // 0 = no limit
    TColor HintColor = clInfoBk;
    TRect CursorRect;        // the cell, in client coordinates
};

class TNewInplaceEdit : public TInplaceEdit {
public:
    explicit TNewInplaceEdit(TStringAlignGrid* grid);

    TMyAlign EditAlignment = alLeft;
    int EditCol = -1;
    int EditRow = -1;
    bool Started = false;
    std::string OldText;

    // Takes the alignment; a change rebuilds the text control in place.
    void SetEditAlignment(TMyAlign align);
    bool HasCell() const { return EditCol >= 0 && EditRow >= 0; }
    void ResetCell() { EditCol = EditRow = -1; }

    void UpdateContents() override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;

private:
    TStringAlignGrid* alignGrid_ = nullptr;
};

class TStringAlignGrid : public TStringGrid {
public:
    using TCellEvent = std::function<void(TStringAlignGrid*, int col, int row)>;
    using TCellEventBool = std::function<void(TStringAlignGrid*, int col, int row, bool& result)>;
    using TShowHintCellProc = std::function<void(TStringAlignGrid*, int col, int row,
                                                 std::string& hintStr, bool& canShow,
                                                 TCellHintInfo& hintInfo)>;
    // colrow: the column (row) whose cells decide; compare1, compare2: the two rows
    // (columns) compared.
    using TCompareFunction = std::function<t_relation(TStringAlignGrid*, int colrow,
                                                      int compare1, int compare2)>;
    using TNotifyEvent = std::function<void(TStringAlignGrid*)>;
    using TColEvent = std::function<void(TStringAlignGrid*, int col)>;
    using TRowEvent = std::function<void(TStringAlignGrid*, int row)>;

    explicit TStringAlignGrid(QWidget* parent = nullptr);
    ~TStringAlignGrid() override;

    // ---- grid-wide properties
    TMyAlign Alignment() const { return alignment_; }
    void SetAlignment(TMyAlign value);
    T_Wordwrap Wordwrap() const { return wordwrap_; }
    void SetWordwrap(T_Wordwrap value);
    bool Editable() const { return editable_; }
    void SetEditable(bool value);
    TColor FixedColor() const { return TStringGrid::FixedColor(); }
    void SetFixedColor(TColor color);  // also the colour of the fixed-cell brush
    TColor SelectedCellColor() const { return selectedCellColor_; }
    void SetSelectedCellColor(TColor color);
    TColor SelectedFontColor() const { return selectedFontColor_; }
    void SetSelectedFontColor(TColor color);
    bool ShowCellHints() const { return showCellHints_; }
    void SetShowCellHints(bool value) { showCellHints_ = value; }
    bool SelectEditText() const { return selectEditText_; }
    void SetSelectEditText(bool value) { selectEditText_ = value; }
    bool EditMultiline() const { return editMultiline_; }
    void SetEditMultiline(bool value) { editMultiline_ = value; }
    bool AutoEditNextCell() const { return autoEditNextCell_; }
    void SetAutoEditNextCell(bool value) { autoEditNextCell_ = value; }
    T_nextcell NextCellEdit() const { return nextCellEdit_; }
    void SetNextCellEdit(T_nextcell value) { nextCellEdit_ = value; }
    T_nextcell NextCellTab() const { return nextCellTab_; }
    void SetNextCellTab(T_nextcell value) { nextCellTab_ = value; }
    T_lastcell AfterLastCellEdit() const { return afterLastCellEdit_; }
    void SetAfterLastCellEdit(T_lastcell value) { afterLastCellEdit_ = value; }
    T_lastcell AfterLastCellTab() const { return afterLastCellTab_; }
    void SetAfterLastCellTab(T_lastcell value) { afterLastCellTab_ = value; }
    bool DrawSelection() const { return drawSelection_; }
    void SetDrawSelection(bool value);
    bool AutoAdjustLastCol() const { return autoAdjustLastCol_; }
    void SetAutoAdjustLastCol(bool value);
    int GridLineWidth() const { return TStringGrid::GridLineWidth(); }
    void SetGridLineWidth(int width);  // re-adjusts the last column
    bool RedrawWhileScroll() const { return redrawWhileScroll_; }
    // The grid follows the scroll thumb while it is dragged.
    void SetRedrawWhileScroll(bool value) { redrawWhileScroll_ = value; }
    // The font of fixed cells without one of their own; it follows the grid's
    // Font until it is changed itself.
    TMyFont& FixedFont() { return fixedFont_; }
    // Every cell counts as editable for showing the editor.
    bool EditAll() const { return editAll_; }
    void SetEditAll(bool value) { editAll_ = value; }
    // Whether the tab key stops in the column (all columns do at first).
    bool TabStops(int col) const;
    void SetTabStops(int col, bool value);

    // ---- events
    TShowHintCellProc OnShowHintCell;
    TCellEvent OnAfterEdit, OnCancelEdit, OnBeforeEdit;
    TCellEventBool OnValidateEdit;
    TCompareFunction OnCompareRow, OnCompareCol;
    TNotifyEvent OnColWidthsChanged, OnRowHeightsChanged;
    TColEvent OnFixedColClick;  // a press in a fixed row: a column's header
    TRowEvent OnFixedRowClick;  // a press in a fixed column: a row's header

    // ---- settings by cell, column and row (each setter repaints)
    void SetAlignCell(int col, int row, TMyAlign value);
    void SetAlignCol(int col, TMyAlign value);
    void SetAlignRow(int row, TMyAlign value);
    void SetAlignFixedCol(int col, TMyAlign value);
    void SetAlignFixedRow(int row, TMyAlign value);
    TMyAlign GetAlignCell(int col, int row) const;  // never alDefault

    void SetWordwrapCell(int col, int row, T_Wordwrap value);
    void SetWordwrapCol(int col, T_Wordwrap value);
    void SetWordwrapRow(int row, T_Wordwrap value);
    void SetWordwrapFixedCol(int col, T_Wordwrap value);
    void SetWordwrapFixedRow(int row, T_Wordwrap value);
    T_Wordwrap GetWordwrapCell(int col, int row) const;  // never ww_default

    void SetEditCell(int col, int row, bool value);
    void SetEditCol(int col, bool value);
    void SetEditRow(int row, bool value);
    bool GetEditCell(int col, int row) const;

    // The line's or cell's own font or brush, made (as a copy of the grid's) when
    // missing; a change of it repaints the grid.
    TMyFont& GetFontCell(int col, int row);
    TMyFont& GetFontCol(int col);
    TMyFont& GetFontRow(int row);
    TMyFont& GetFontFixedCol(int col);
    TMyFont& GetFontFixedRow(int row);
    const TFont& GetCellFont(int col, int row) const;
    TMyBrush& GetBrushCell(int col, int row);
    TMyBrush& GetBrushCol(int col);
    TMyBrush& GetBrushRow(int row);
    TMyBrush& GetBrushFixedCol(int col);
    TMyBrush& GetBrushFixedRow(int row);
    const TBrush& GetCellBrush(int col, int row) const;

    void SetColorCell(int col, int row, TColor color);
    TColor GetColorCell(int col, int row) const;
    void SetSelectedColorCell(int col, int row, TColor color);
    void SetSelectedColorCol(int col, TColor color);
    void SetSelectedColorRow(int row, TColor color);
    TColor GetSelectedColorCell(int col, int row) const;
    TColor GetSelectedFontColorCell(int col, int row) const;

    std::string GetHintCell(int col, int row) const;
    void SetHintCell(int col, int row, const std::string& hint);  // "" removes it

    // The records as they stand (nullptr when there is none); for inspection.
    const TCellProperties* CellProperties(int col, int row) const { return propCell_.Get(col, row); }
    const TCellProperties* ColProperties(int col) const { return propCol_.Get(col); }
    const TCellProperties* RowProperties(int row) const { return propRow_.Get(row); }
    const TCellProperties* FixedColProperties(int col) const { return propFixedCol_.Get(col); }
    const TCellProperties* FixedRowProperties(int row) const { return propFixedRow_.Get(row); }

    // ---- the form stream
    void DefineProperties(TFiler& filer);
    void Loaded() override;
    // The grid's own named properties followed by the end of the property list.
    void WriteProperties(TStream& stream);
    // Reads them as a form is read, then completes the load (Loaded).
    void ReadProperties(TStream& stream);

    // ---- editing
    // Ends a running edit: accepted as on leaving the cell, or cancelled.
    void EndEdit(bool cancel);
    TNewInplaceEdit* AlignEditor() const;
    bool EditorShown() const { return editorShown_; }

    // ---- navigation
    // One step of the walk from (col, row); (-1, -1) when it finds no next cell.
    void NextCell(T_nextcell direction, T_lastcell afterLast, int& row, int& col);
    // Walks with NextCellEdit and AfterLastCellEdit up to an editable cell.
    void NextEditableCell(int& col, int& row);

    // ---- lines
    void InsertColumn(int col);
    void InsertRow(int row);
    void ExchangeColumns(int col1, int col2);
    void ExchangeRows(int row1, int row2);
    void DeleteColumn(int col);  // the column's settings and hints go with it
    void DeleteRow(int row);
    void SortCells(int index, int first, int last, bool sortRows, bool ascending);
    void AdjustLastCol();

    // ---- clipboard
    // Each row of the range as one line: every cell followed by the separator,
    // then CR LF. A range edge beyond the grid (or negative) is brought inside.
    void CopyToStream(TStream& stream, char separator, TGridRect range);
    std::unique_ptr<TMemoryStream> CopyToStream(char separator, TGridRect range);
    // Lines into rows and fields into cells from the range's top-left cell; a
    // right or bottom edge before its left or top means no limit. Only cells
    // inside the grid are written.
    void PasteFromStream(TStream& stream, char separator, TGridRect range);
    void CopyToClipboard(char separator, TGridRect range);
    void PasteFromClipboard(char separator, TGridRect range);
    // The cut, copy and paste messages, on the current selection.
    void CutToClipboard();
    void CopySelectionToClipboard();
    void PasteSelectionFromClipboard();

    // ---- overrides of the grid base
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    bool CanEditShow() override;
    TInplaceEdit* CreateEditor() override;
    void HandleMessage(const TMessage& message) override;
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseLeave() override;
    void DoEnter() override;
    void DoExit() override;
    void Resize() override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;
    void ColWidthsChanged() override;
    void RowHeightsChanged() override;

    // The hint request for a client point: answers whether a hint shows, with its
    // text and place; the cell becomes the last hint cell.
    bool CellHintRequest(TPoint client, std::string& hintStr, TCellHintInfo& hintInfo);
    TGridCoord LastHintCell() const { return lastHintCell_; }

protected:
    virtual void Initialize();
    virtual void PrepareCellCanvas(int col, int row, TGridDrawState state, TRect& rect);
    virtual void DrawCellText(int col, int row, TGridDrawState state, TRect& rect);
    bool viewportEvent(QEvent* event) override;

private:
    friend class TNewInplaceEdit;
    friend class TCellProperties;

    bool IsFixedCell(int col, int row) const { return col < FixedCols() || row < FixedRows(); }
    // The record chain of a cell: cell, (fixed) column, (fixed) row.
    struct Chain {
        const TCellProperties* cell;
        const TCellProperties* col;
        const TCellProperties* row;
    };
    Chain ChainOf(int col, int row) const;
    template <class T>
    void Store(TCellProperties& record, T TCellProperties::*field, T value);  // and repaint
    // The first value of the chain other than `notSet`.
    template <class T>
    const T* OwnSetting(int col, int row, T TCellProperties::*field, T notSet) const;
    void ShowHintWindow(const std::string& text, const TCellHintInfo& info);
    void HideHintWindow();
    TCellProperties& Record(TPropList& list, int index);
    TCellProperties& CellRecord(int col, int row);
    TCellProperties& Scratch();
    TMyFont& OwnFont(TCellProperties& record);
    TMyBrush& OwnBrush(TCellProperties& record);
    std::unique_ptr<TMyBrush> BrushOfColor(TColor color);

    // Stream helpers (AligridStream.cpp).
    void WriteLineList(TWriter& writer, TPropList& list, int count);
    void ReadLineList(TReader& reader, TPropList& list);
    void ReadPropCell(TReader& reader);
    void WriteCellStrings(TWriter& writer, const TStringCellList* list, bool fromGrid);
    void ReadCellStrings(TReader& reader, TStringCellList& list);
    void DefineOldProperties(TFiler& filer);

    // Editing protocol (AligridEditing.cpp).
    void PrepareEditor(TNewInplaceEdit& editor);
    void FinishEdit(int col, int row, bool moveOn);
    void CancelEdit(int col, int row);
    void BeginEditMessage(int col, int row);
    void RestoreEditor();

    // Line operations (AligridNavigation.cpp).
    TGridRect Normalized(TGridRect range) const;
    void PasteCells(TStream& stream, char separator, TGridRect range, bool editableOnly);
    bool UserMayChange(int col, int row) const;
    void InsertLine(bool rows, int index);
    void DeleteLine(bool rows, int index);
    void LineMoved(bool rows, int fromIndex, int toIndex);  // the records and the editor's cell follow
    void ExchangeLines(bool rows, int a, int b);
    void QuickSort(int index, int lo, int hi, bool sortRows, t_relation wanted);
    t_relation CompareLines(bool sortRows, int index, int a, int b);
    t_relation CompareText(const std::string& a, const std::string& b) const;
    void TabToNextStop(bool backwards);
    void FollowScrollThumbs();

    TPropList propCol_, propRow_, propFixedCol_, propFixedRow_;
    TPropCellList propCell_;
    bool editAll_ = false;
    TMyFont fixedFont_;
    TMyBrush fixedBrush_;
    mutable TBrush gridBrush_;  // the grid's own background (Color), for cells without a brush
    TGridCoord lastHintCell_{-1, -1};
    TStringCellList hintCell_;
    bool hasCellHints_ = false;
    std::unique_ptr<TStringCellList> loadedCells_;
    bool storeCells_ = false;
    bool editorShown_ = false;
    bool editorReturn_ = false;
    int savedSelStart_ = 0;
    int savedSelLength_ = 0;

    TMyAlign alignment_ = alLeft;
    T_Wordwrap wordwrap_ = ww_none;
    bool editable_ = true;
    TColor selectedCellColor_ = clHighlight;
    TColor selectedFontColor_ = clWhite;
    bool showCellHints_ = true;
    bool selectEditText_ = true;
    bool editMultiline_ = false;
    bool autoEditNextCell_ = false;
    T_nextcell nextCellEdit_ = nc_rightdown;
    T_nextcell nextCellTab_ = nc_rightdown;
    T_lastcell afterLastCellEdit_ = lc_newcolrow;
    T_lastcell afterLastCellTab_ = lc_first;
    bool drawSelection_ = true;
    bool autoAdjustLastCol_ = false;
    bool redrawWhileScroll_ = false;
    TObjectList<TDummyObject> noTabStop_;  // a marker in each column the tab key passes over
    bool movingCellsOnly_ = false;  // a line move of the cells alone, records stay
    std::unique_ptr<TCellProperties> scratch_;
    std::unique_ptr<THintWindow> hintWindow_;
    QTimer* hintTimer_ = nullptr;  // owned by the hint window
};

} // namespace zeko
