#pragma once
// The grid controls the program's grids derive from, painted by ourselves on a Qt
// scroll area: TCustomGrid (cells, fixed rows and columns, widths and heights,
// whole-cell scrolling, the current cell and the selection, sizing and moving,
// keys, mouse and the in-place editor), TDrawGrid (the drawing and cell events) and
// TStringGrid (a text and an object per cell).
//
// Coordinates are client coordinates of the grid (the scroll area's viewport).
// A cell's rectangle leaves out the grid lines, which lie right of and below it,
// GridLineWidth pixels thick. The event handlers (KeyDown, MouseDown, DoEnter, ...)
// are called from Qt's events and may be called by tests in the same way.
#include <QAbstractScrollArea>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/GridAxis.h"
#include "platform/Graphics.h"
#include "platform/Keys.h"
#include "platform/WindowMessages.h"
#include "platform/qt/Canvas.h"
#include "platform/qt/QtInput.h"

class QLineEdit;
class QScrollBar;
class QPlainTextEdit;

namespace zeko {

enum TGridOption : uint8_t {
    goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect,
    goDrawFocusSelected, goRowSizing, goColSizing, goRowMoving, goColMoving,
    goEditing, goTabs, goRowSelect, goAlwaysShowEditor, goThumbTracking
};
using TGridOptions = TSet<TGridOption>;

// Bits 0..2 are relied on by descendants that add states of their own.
enum TGridDrawStateItem : uint8_t { gdSelected, gdFocused, gdFixed };
using TGridDrawState = TSet<TGridDrawStateItem>;

struct TGridCoord {
    int X = 0, Y = 0;
    friend bool operator==(const TGridCoord&, const TGridCoord&) = default;
};
// A block of cells, all four edges inclusive.
struct TGridRect {
    int Left = 0, Top = 0, Right = 0, Bottom = 0;
    friend bool operator==(const TGridRect&, const TGridRect&) = default;
};

enum TScrollStyle : uint8_t { ssNone, ssHorizontal, ssVertical, ssBoth };
enum TBorderStyle : uint8_t { bsNone, bsSingle };
enum TComponentStateItem : uint8_t { csLoading, csDesigning, csDestroying };
using TComponentState = TSet<TComponentStateItem>;

// The system's scroll-bar thickness (the width of a vertical bar).
int GetScrollBarWidth();
// Plays the system's short warning sound (a refused key).
void MessageBeep();

class TCustomGrid;

// The cell editor: a child of the grid that covers the current cell and holds a
// text control inside its format rectangle. Descendants paint around the text
// (Paint) and add buttons; they filter keys in KeyDown and KeyPress (set the key to
// 0 to consume it). The text control is a one-line edit, or a multi-line one after
// SetMultiline(true).
class TInplaceEdit : public QWidget, public TInputHandlers {
public:
    explicit TInplaceEdit(TCustomGrid* grid);
    ~TInplaceEdit() override;

    TCustomGrid* Grid() const { return grid_; }

    std::string Text() const;
    void SetText(const std::string& text);  // runs Change like typing does
    int SelStart() const;
    int SelLength() const;
    void SetSelStart(int start);
    void SetSelLength(int length);
    void SelectAll();
    void Deselect();
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int length);  // 0 = no limit
    bool ReadOnly() const { return readOnly_; }
    void SetReadOnly(bool value);
    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment value);
    bool Multiline() const { return multiline_; }
    void SetMultiline(bool value);  // rebuilds the text control, keeping text and selection
    bool Modified() const { return modified_; }
    void SetModified(bool value) { modified_ = value; }
    TFont& Font() { return font_; }
    TColor Color() const { return color_; }
    void SetColor(TColor color);

    // Client geometry of the editor: (0, 0, width, height).
    TRect ClientRect() const;
    int Width() const { return width(); }
    int Height() const { return height(); }
    // Where the text control lies; an empty rectangle means the whole client area.
    TRect FormatRect() const { return formatRect_; }
    void SetFormatRect(const TRect& r);
    QWidget* TextControl() const;  // the Qt text widget (for focus and tests)
    TPoint ClientToScreen(TPoint p) const;

    // Types one character as a key press would: KeyPress first, then the
    // character (or Backspace) goes into the text unless it was consumed.
    void TypeKey(char32_t key);
    // The text the editor held when editing of the cell began.
    const std::string& StartText() const { return startText_; }

    // ---- driven by the grid
    virtual void UpdateContents();  // text from the grid's GetEditText, limit from GetEditLimit
    void Move(const TRect& cellRect);  // places the editor over the cell and shows it
    void UpdateLoc(const TRect& cellRect);  // places it without showing
    virtual void BoundsChanged();  // after every move or resize
    void Invalidate() { update(); }
    bool Visible() const { return !isHidden(); }  // shown over its cell
    void Hide();
    void SetFocus();
    bool HasFocus() const;  // the editor or its text control has the focus

    // ---- handlers (called from Qt's events of the editor and its text control)
    void KeyDown(uint16_t& key, TShiftState shift) override;  // navigation keys go to the grid
    void KeyPress(char32_t& key) override;  // Enter ends editing, Escape gives the text back
    // After every change of the text: the grid stores it (SetEditText) and hears
    // of it (EditChanged).
    virtual void Change();
    // Paints the editor's own area (background, pictures, buttons) around the
    // text control; the default fills the client area with Color.
    virtual void Paint(TCanvas& canvas);
    TCanvas& Canvas() { return canvas_; }

protected:
    // From KeyDown: the character the key would type is not delivered.
    void DropKeyPress() { dropKeyPress_ = true; }

    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    friend class TCustomGrid;
    friend class TStringGrid;
    void BuildTextControl();
    void ApplyLook();
    void PlaceTextControl();
    void TextControlChanged();
    void InsertText(const std::string& text);
    int TextLength() const;  // in the text control's characters, as selections count
    // Shows a text the grid stored into the edited cell, without Change.
    void ShowGridText(const std::string& text);
    bool HandleTextKey(QKeyEvent* event);

    TCustomGrid* grid_ = nullptr;
    QLineEdit* line_ = nullptr;
    QPlainTextEdit* multi_ = nullptr;
    TFont font_;
    TColor color_ = clWindow;
    TAlignment alignment_ = taLeftJustify;
    int maxLength_ = 0;
    bool readOnly_ = false;
    bool multiline_ = false;
    bool modified_ = false;
    bool settingText_ = false;
    bool dropKeyPress_ = false;
    bool forwarding_ = false;
    std::string startText_;
    TRect formatRect_;
    TCanvas canvas_;
};

class TCustomGrid : public QAbstractScrollArea, public TInputHandlers {
    Q_OBJECT
public:
    explicit TCustomGrid(QWidget* parent = nullptr);
    ~TCustomGrid() override;

    // ---- layout
    int ColCount() const { return cols_.Count(); }
    void SetColCount(int count) { SetCount(cols_, count); }
    int RowCount() const { return rows_.Count(); }
    void SetRowCount(int count) { SetCount(rows_, count); }
    int FixedCols() const { return cols_.fixed; }
    void SetFixedCols(int count) { SetFixed(cols_, count); }  // at most ColCount - 1
    int FixedRows() const { return rows_.fixed; }
    void SetFixedRows(int count) { SetFixed(rows_, count); }  // at most RowCount - 1
    int DefaultColWidth() const { return cols_.defaultSize; }
    void SetDefaultColWidth(int width) { SetDefaultSize(cols_, width); }  // every column takes it
    int DefaultRowHeight() const { return rows_.defaultSize; }
    void SetDefaultRowHeight(int height) { SetDefaultSize(rows_, height); }  // every row takes it
    int ColWidths(int col) const { return cols_.Size(col); }
    void SetColWidths(int col, int width) { SetSize(cols_, col, width); }  // a negative width counts as 0
    int RowHeights(int row) const { return rows_.Size(row); }
    void SetRowHeights(int row, int height) { SetSize(rows_, row, height); }
    int GridLineWidth() const { return gridLineWidth_; }
    void SetGridLineWidth(int width);
    TGridOptions Options() const { return options_; }
    void SetOptions(TGridOptions options);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle style);
    TBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TBorderStyle style);
    bool DefaultDrawing() const { return defaultDrawing_; }
    void SetDefaultDrawing(bool value);
    bool Ctl3D() const { return ctl3D_; }
    void SetCtl3D(bool value);
    TColor Color() const { return color_; }
    void SetColor(TColor color);
    TColor FixedColor() const { return fixedColor_; }
    void SetFixedColor(TColor color);
    TFont& Font() { return font_; }  // a change repaints
    TCanvas& Canvas() { return canvas_; }

    // ---- geometry (client coordinates)
    int ClientWidth() const;
    int ClientHeight() const;
    TRect ClientRect() const { return {0, 0, ClientWidth(), ClientHeight()}; }
    TPoint ClientToScreen(TPoint p) const;
    TPoint ScreenToClient(TPoint p) const;
    // The cell's rectangle, or an empty one when the cell is scrolled out of view.
    TRect CellRect(int col, int row) const;
    // The cell under a client point; (-1, -1) outside every cell.
    TGridCoord MouseCoord(int x, int y) const;
    void MouseToCell(int x, int y, int& col, int& row) const;

    // ---- scrolling by whole cells
    int TopRow() const { return rows_.first; }
    void SetTopRow(int row) { SetFirst(rows_, row); }
    int LeftCol() const { return cols_.first; }
    void SetLeftCol(int col) { SetFirst(cols_, col); }
    // Scrollable columns (rows) shown whole from LeftCol (TopRow).
    int VisibleColCount() const;
    int VisibleRowCount() const;

    // ---- current cell and selection
    int Col() const { return cols_.current; }
    void SetCol(int col);
    int Row() const { return rows_.current; }
    void SetRow(int row);
    // Moves the current cell when SelectCell agrees; the anchor of a range
    // selection follows unless extend is set. Answers whether it moved.
    bool FocusCell(int col, int row, bool extend = false);
    TGridRect Selection() const;
    void SetSelection(const TGridRect& selection);
    bool IsCellSelected(int col, int row) const;
    // The grid or its editor holds the focus.
    bool Focused() const;

    // ---- editor
    bool EditorMode() const { return editorMode_; }
    void SetEditorMode(bool value);
    TInplaceEdit* InplaceEditor() const { return editor_; }
    void ShowEditor();
    void HideEditor();
    void InvalidateEditor();  // the editor reloads its text and place
    // Takes the editor's text into the cell now.
    void UpdateText();

    // ---- structure
    void DeleteColumn(int col);
    void DeleteRow(int row);
    void MoveColumn(int fromIndex, int toIndex) { MoveLine(cols_, fromIndex, toIndex); }
    void MoveRow(int fromIndex, int toIndex) { MoveLine(rows_, fromIndex, toIndex); }

    // ---- repainting
    void InvalidateCell(int col, int row);
    void InvalidateCol(int col);
    void InvalidateRow(int row);
    void InvalidateGrid();
    void InvalidateRect(const TRect& r);
    // Paints the whole control (frame, scroll bars, cells) into an image of the
    // widget's size.
    QImage PaintToImage();

    // ---- component life
    TComponentState ComponentState() const { return componentState_; }
    // Between BeginLoading and Loaded the form sets the grid's properties.
    void BeginLoading() { componentState_.Include(csLoading); }
    virtual void Loaded();

    // ---- messages to the grid itself, delivered through the event loop
    void PostMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    void SendMessage(uint32_t msg, uintptr_t wParam, intptr_t lParam);
    virtual void HandleMessage(const TMessage& message);
    // Delivers the messages posted so far (tests).
    void DeliverPostedMessages();

    // ---- handlers
    void KeyDown(uint16_t& key, TShiftState shift) override;
    void KeyPress(char32_t& key) override;
    void KeyUp(uint16_t& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void DblClick() override;
    void DoEnter() override;  // the focus came into the grid or its editor
    void DoExit() override;   // the focus left both
    virtual void Click();
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void Resize();
    // The class library's focus move to the next (or previous) control of the form.
    void SelectNextControl(bool forward);

    // ---- events shared by all grids
    std::function<void(TCustomGrid*)> OnClick, OnDblClick, OnEnter, OnExit;
    std::function<void(TCustomGrid*, uint16_t& key, TShiftState)> OnKeyDown, OnKeyUp;
    std::function<void(TCustomGrid*, char32_t& key)> OnKeyPress;
    std::function<void(TCustomGrid*, TMouseButton, TShiftState, int x, int y)> OnMouseDown, OnMouseUp;
    std::function<void(TCustomGrid*, TShiftState, int x, int y)> OnMouseMove;

    // ---- overridables
    virtual void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) = 0;
    // Whether the current cell may move to (col, row).
    virtual bool SelectCell(int col, int row);
    virtual void SizeChanged(int oldColCount, int oldRowCount);
    virtual void ColumnMoved(int fromIndex, int toIndex);
    virtual void RowMoved(int fromIndex, int toIndex);
    virtual void ColWidthsChanged();
    virtual void RowHeightsChanged();
    virtual void TopLeftChanged();
    virtual bool CanEditShow();
    virtual bool CanEditAcceptKey(char32_t key);
    virtual bool CanEditModify();
    virtual TInplaceEdit* CreateEditor();
    virtual std::string GetEditText(int col, int row);
    virtual void SetEditText(int col, int row, const std::string& value);
    virtual int GetEditLimit() { return 0; }
    virtual void EditChanged() {}  // after each text change in the editor
    // Paints every visible cell: lines first, then the cells.
    virtual void Paint();

protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void keyReleaseEvent(QKeyEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    bool viewportEvent(QEvent* event) override;
    bool event(QEvent* event) override;
    bool focusNextPrevChild(bool next) override;
    void scrollContentsBy(int dx, int dy) override;

    // Column (row) sizing and moving in progress; hidden from descendants' paint.
    enum class GridState { Normal, Selecting, RowSizing, ColSizing, RowMoving, ColMoving };
    GridState State() const { return gridState_; }
    // Where the sizing zone of a column (row) boundary lies under the point, or -1.
    int ColSizingAt(int x, int y) const;
    int RowSizingAt(int x, int y) const;
    // Pixel position of a column's left edge (row's top edge) in the client area,
    // as if every column were shown from LeftCol; fixed columns from 0.
    int ColumnLeft(int col) const { return cols_.Start(col, VertLineWidth()); }
    int RowTop(int row) const { return rows_.Start(row, HorzLineWidth()); }
    int FixedWidth() const { return cols_.FixedExtent(VertLineWidth()); }  // the fixed columns with their lines
    int FixedHeight() const { return rows_.FixedExtent(HorzLineWidth()); }
    int VertLineWidth() const;  // the gap right of each column (0 without vertical lines)
    int HorzLineWidth() const;  // the gap below each row
    // A selected cell takes the selection colours; the focused one only with
    // goDrawFocusSelected or goRowSelect.
    bool DrawsHighlighted(TGridDrawState state) const;
    // Stores a different value of a look property and repaints.
    template <typename T>
    void SetAndRepaint(T& field, const T& value) {
        if (field == value)
            return;
        field = value;
        InvalidateGrid();
    }

private:
    friend class TInplaceEdit;
    void SetCount(GridAxis& axis, int count);
    void SetFixed(GridAxis& axis, int count);
    void SetDefaultSize(GridAxis& axis, int size);
    void SetSize(GridAxis& axis, int index, int size);
    void SetFirst(GridAxis& axis, int first);
    void MoveLine(GridAxis& axis, int fromIndex, int toIndex);
    void SizesChanged(const GridAxis& axis);  // ColWidthsChanged or RowHeightsChanged
    void LayoutChanged();  // scroll range, repaint, editor place
    int LineWidth(const GridAxis& axis) const;
    int ClientExtent(const GridAxis& axis) const;
    QScrollBar* BarOf(const GridAxis& axis) const;
    void MoveCurrent(int col, int row, bool extend);
    void ClampInView();
    void UpdateScrollRange();
    void DrawLines();
    // The cells in view that meet the rectangle being painted.
    void DrawCells();
    void UpdateEdit();
    void UpdateEditorPlace();
    void FocusChanged(QWidget* old, QWidget* now);
    GridAxis& DragAxis();  // the axis the state sizes or moves

    GridAxis cols_{{}, 1, 1, 1, 1, 64};
    GridAxis rows_{{}, 1, 1, 1, 1, 24};
    int gridLineWidth_ = 1;
    TGridOptions options_{goFixedVertLine, goFixedHorzLine, goVertLine, goHorzLine, goRangeSelect};
    TScrollStyle scrollBars_ = ssBoth;
    TBorderStyle borderStyle_ = bsSingle;
    bool defaultDrawing_ = true;
    bool ctl3D_ = true;
    TColor color_ = clWindow;
    TColor fixedColor_ = clBtnFace;
    TFont font_;
    TCanvas canvas_;
    std::optional<TRect> paintRect_;  // the paint event's rectangle while it paints
    bool editorMode_ = false;
    TInplaceEdit* editor_ = nullptr;
    TComponentState componentState_;
    GridState gridState_ = GridState::Normal;
    int sizingIndex_ = -1;
    int sizingOrigin_ = 0;  // mouse position minus the size at the start
    int moveFrom_ = -1;
    int moveTo_ = -1;
    TPoint pressPoint_;
    bool updatingScroll_ = false;
    bool hBar_ = false;
    bool vBar_ = false;
};

class TDrawGrid : public TCustomGrid {
public:
    explicit TDrawGrid(QWidget* parent = nullptr) : TCustomGrid(parent) {}

    std::function<void(TCustomGrid*, int col, int row, const TRect& rect, TGridDrawState)> OnDrawCell;
    std::function<void(TCustomGrid*, int col, int row, bool& canSelect)> OnSelectCell;
    std::function<void(TCustomGrid*, int fromIndex, int toIndex)> OnColumnMoved, OnRowMoved;
    std::function<void(TCustomGrid*)> OnTopLeftChanged;
    std::function<void(TCustomGrid*, int col, int row, std::string& value)> OnGetEditText;
    std::function<void(TCustomGrid*, int col, int row, const std::string& value)> OnSetEditText;

    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    bool SelectCell(int col, int row) override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;
    void TopLeftChanged() override;
    std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;
};

// A text and an object pointer per cell. The grid does not own the objects.
class TStringGrid : public TDrawGrid {
public:
    explicit TStringGrid(QWidget* parent = nullptr);

    const std::string& Cells(int col, int row) const;  // empty outside the grid
    void SetCells(int col, int row, const std::string& text);
    void* Objects(int col, int row) const;
    void SetObjects(int col, int row, void* object);
    std::vector<std::string> Cols(int col) const;  // one text per row
    void SetCols(int col, const std::vector<std::string>& texts);
    std::vector<std::string> Rows(int row) const;  // one text per column
    void SetRows(int row, const std::vector<std::string>& texts);

    // Draws the cell's text at (Left + 2, Top + 2) clipped to the cell when
    // DefaultDrawing is on, then OnDrawCell.
    void DrawCell(int col, int row, const TRect& rect, TGridDrawState state) override;
    void SizeChanged(int oldColCount, int oldRowCount) override;
    void ColumnMoved(int fromIndex, int toIndex) override;
    void RowMoved(int fromIndex, int toIndex) override;
    std::string GetEditText(int col, int row) override;
    void SetEditText(int col, int row, const std::string& value) override;

private:
    struct CellData {
        std::string text;
        void* object = nullptr;
    };
    const CellData* At(int col, int row) const;  // null outside the grid
    CellData* At(int col, int row);
    // Columns of rows, kept at ColCount x RowCount.
    std::vector<std::vector<CellData>> data_;
};

} // namespace zeko
