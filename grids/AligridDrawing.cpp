// Painting of the alignment grid's cells from their resolved settings, the cell
// hints, and the clicks on fixed cells.
#include <QHelpEvent>
#include <QTimer>

#include "grids/Aligrid.h"
#include "platform/qt/HintWindow.h"

namespace zeko {

namespace {

constexpr int kTextMargin = 2;
constexpr int kHintBelowCell = 6;
constexpr int kHintHidePauseMs = 2500;
constexpr int kHintMaxWidth = 300;

uint32_t TextFlags(TMyAlign align, T_Wordwrap wrap) {
    uint32_t flags = DT_NOPREFIX;
    if (align == alRight)
        flags |= DT_RIGHT;
    else if (align == alCenter)
        flags |= DT_CENTER;
    if (wrap == ww_wordwrap)
        flags |= DT_WORDBREAK;
    else if (wrap == ww_ellipsis)
        flags |= DT_END_ELLIPSIS;
    return flags;
}

} // namespace

void TStringAlignGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    TRect r = rect;
    PrepareCellCanvas(col, row, state, r);
    DrawCellText(col, row, state, r);
    if (OnDrawCell)
        OnDrawCell(this, col, row, r, state);
}

void TStringAlignGrid::PrepareCellCanvas(int col, int row, TGridDrawState state, TRect& rect) {
    TCanvas& canvas = Canvas();
    canvas.SetFont(GetCellFont(col, row));
    canvas.Brush().Assign(GetCellBrush(col, row));
    if (drawSelection_ && DrawsHighlighted(state)) {
        canvas.Brush().SetColor(GetSelectedColorCell(col, row));
        canvas.Font().SetColor(GetSelectedFontColorCell(col, row));
    }
    if (!DefaultDrawing())
        return;
    canvas.FillRect(rect);
    // Where no grid line is drawn the text may use the line's room too.
    const bool fixed = state.Contains(gdFixed);
    if (!Options().Contains(fixed ? goFixedVertLine : goVertLine))
        rect.Right += GridLineWidth();
    if (!Options().Contains(fixed ? goFixedHorzLine : goHorzLine))
        rect.Bottom += GridLineWidth();
}

void TStringAlignGrid::DrawCellText(int col, int row, TGridDrawState state, TRect& rect) {
    if (!DefaultDrawing())
        return;
    InflateRect(rect, -kTextMargin, -kTextMargin);
    TCanvas& canvas = Canvas();
    // The text goes over the filled cell without a background of its own; the
    // brush comes back for OnDrawCell.
    const TBrushStyle style = canvas.Brush().Style();
    canvas.Brush().SetStyle(bsClear);
    TRect textRect = rect;
    canvas.DrawText(Cells(col, row), textRect, TextFlags(GetAlignCell(col, row), GetWordwrapCell(col, row)));
    canvas.Brush().SetStyle(style);
}

// ---------------------------------------------------------------- hints

bool TStringAlignGrid::CellHintRequest(TPoint client, std::string& hintStr, TCellHintInfo& hintInfo) {
    if (!showCellHints_)
        return false;
    const TGridCoord cell = MouseCoord(client.X, client.Y);
    lastHintCell_ = cell;
    if (cell.X < 0 || cell.Y < 0)
        return false;
    const TRect r = CellRect(cell.X, cell.Y);
    hintInfo.CursorRect = r;
    hintInfo.HintPos = ClientToScreen({r.Left, r.Bottom + kHintBelowCell});
    hintStr = GetHintCell(cell.X, cell.Y);
    bool canShow = true;
    if (OnShowHintCell)
        OnShowHintCell(this, cell.X, cell.Y, hintStr, canShow, hintInfo);
    return canShow && !hintStr.empty();
}

void TStringAlignGrid::ShowHintWindow(const std::string& text, const TCellHintInfo& info) {
    if (!hintWindow_) {
        hintWindow_ = std::make_unique<THintWindow>();
        hintTimer_ = new QTimer(hintWindow_.get());
        hintTimer_->setSingleShot(true);
        QObject::connect(hintTimer_, &QTimer::timeout, hintWindow_.get(), [this] { HideHintWindow(); });
    }
    hintWindow_->SetColor(info.HintColor);
    TRect r = hintWindow_->CalcHintRect(info.HintMaxWidth > 0 ? info.HintMaxWidth : kHintMaxWidth, text);
    OffsetRect(r, info.HintPos.X, info.HintPos.Y);
    hintWindow_->ActivateHint(r, text);
    hintTimer_->start(kHintHidePauseMs);
}

void TStringAlignGrid::HideHintWindow() {
    if (hintWindow_ && hintWindow_->Visible())
        hintWindow_->ReleaseHandle();
}

bool TStringAlignGrid::viewportEvent(QEvent* event) {
    if (event->type() == QEvent::ToolTip) {
        const auto* help = static_cast<QHelpEvent*>(event);
        std::string text;
        TCellHintInfo info;
        if (CellHintRequest({help->pos().x(), help->pos().y()}, text, info))
            ShowHintWindow(text, info);
        else
            HideHintWindow();
        return true;
    }
    return TStringGrid::viewportEvent(event);
}

void TStringAlignGrid::MouseMove(TShiftState shift, int x, int y) {
    if (lastHintCell_.X >= 0 && lastHintCell_.Y >= 0 && !(MouseCoord(x, y) == lastHintCell_)) {
        HideHintWindow();
        lastHintCell_ = {-1, -1};
    }
    TStringGrid::MouseMove(shift, x, y);
}

void TStringAlignGrid::MouseLeave() {
    HideHintWindow();
    TStringGrid::MouseLeave();
}

// ---------------------------------------------------------------- clicks

void TStringAlignGrid::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    HideHintWindow();
    const TGridCoord cell = MouseCoord(x, y);  // (-1, -1) outside the cells
    if (cell.X >= 0) {
        const bool inFixedCol = cell.X < FixedCols();
        const bool inFixedRow = cell.Y < FixedRows();
        if (inFixedCol && !inFixedRow) {
            if (OnFixedRowClick)
                OnFixedRowClick(this, cell.Y);
        } else if (inFixedRow && !inFixedCol) {
            if (OnFixedColClick)
                OnFixedColClick(this, cell.X);
        }
    }
    TStringGrid::MouseDown(button, shift, x, y);
}

void TStringAlignGrid::MouseUp(TMouseButton button, TShiftState shift, int x, int y) {
    TStringGrid::MouseUp(button, shift, x, y);
    if (autoAdjustLastCol_)
        AdjustLastCol();
}

} // namespace zeko
