// Painting the grids: lines and cells, repainting parts of them.
#include "platform/qt/Grids.h"

#include <QPaintEvent>

#include <algorithm>

namespace zeko {

// ---------------------------------------------------------------- repainting

void TCustomGrid::InvalidateCell(int col, int row) { InvalidateRect(CellRect(col, row)); }

void TCustomGrid::InvalidateCol(int col) {
    if (col < 0 || col >= ColCount())
        return;  // no such column on the screen
    const int left = ColumnLeft(col);
    InvalidateRect({left, 0, left + ColWidths(col) + VertLineWidth(), ClientHeight()});
}

void TCustomGrid::InvalidateRow(int row) {
    if (row < 0 || row >= RowCount())
        return;
    const int top = RowTop(row);
    InvalidateRect({0, top, ClientWidth(), top + RowHeights(row) + HorzLineWidth()});
}

void TCustomGrid::InvalidateGrid() { viewport()->update(); }

void TCustomGrid::InvalidateRect(const TRect& r) {
    if (!IsRectEmpty(r))
        viewport()->update(ToQRect(r));
}

QImage TCustomGrid::PaintToImage() {
    UpdateScrollRange();
    QImage image(size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    render(&image);
    return image;
}

void TCustomGrid::paintEvent(QPaintEvent* event) {
    TWidgetPaint paint(canvas_, viewport());
    paintRect_ = FromQRect(event->rect());
    Paint();
    paintRect_.reset();
}

void TCustomGrid::Paint() {
    DrawLines();
    DrawCells();
}

namespace {
// Calls f(index, start) for each line in view: the fixed ones, then the scrolled
// ones from the first shown, until the client room ends. The starts are summed
// on the way, as Start would give them.
template <typename F>
void ForEachShown(const GridAxis& axis, int line, int client, F f) {
    int start = 0;
    for (int i = 0; i < axis.Count(); ++i) {
        if (axis.ScrolledOut(i))
            continue;
        if (start >= client)
            break;
        f(i, start);
        start += axis.sizes[i] + line;
    }
}
} // namespace

void TCustomGrid::DrawLines() {
    TCanvas& c = canvas_;
    const int cw = ClientWidth(), ch = ClientHeight();
    const int vlw = VertLineWidth(), hlw = HorzLineWidth();
    // Room right of and below the last cells.
    const int right = std::min(cw, ColumnLeft(ColCount()));
    const int bottom = std::min(ch, RowTop(RowCount()));
    c.Brush().SetStyle(bsSolid);
    c.Brush().SetColor(color_);
    c.FillRect({right, 0, cw, ch});
    c.FillRect({0, bottom, right, ch});
    const int fixedW = FixedWidth(), fixedH = FixedHeight();
    // A gap with its line, or, with the line switched off, in the cells' colour.
    auto gap = [&](const TRect& r, bool fixed, bool on) {
        if (IsRectEmpty(r))
            return;
        c.Brush().SetColor(on ? (fixed ? clBlack : (ctl3D_ ? clSilver : clBlack)) : (fixed ? fixedColor_ : color_));
        c.FillRect(r);
    };
    // In the fixed rows (columns) every line is a fixed line; beyond them it
    // follows its own column (row).
    if (vlw > 0)
        ForEachShown(cols_, vlw, cw, [&](int col, int start) {
            const int x = start + cols_.sizes[col];
            const bool fixed = col < cols_.fixed;
            gap({x, 0, x + vlw, std::min(fixedH, bottom)}, true, options_.Contains(goFixedVertLine));
            gap({x, fixedH, x + vlw, bottom}, fixed, options_.Contains(fixed ? goFixedVertLine : goVertLine));
        });
    if (hlw > 0)
        ForEachShown(rows_, hlw, ch, [&](int row, int start) {
            const int y = start + rows_.sizes[row];
            const bool fixed = row < rows_.fixed;
            gap({0, y, std::min(fixedW, right), y + hlw}, true, options_.Contains(goFixedHorzLine));
            gap({fixedW, y, right, y + hlw}, fixed, options_.Contains(fixed ? goFixedHorzLine : goHorzLine));
        });
}

void TCustomGrid::DrawCells() {
    TCanvas& c = canvas_;
    const bool focused = Focused();
    const bool editing = editor_ && editor_->Visible();
    const int cw = ClientWidth(), ch = ClientHeight();
    // The columns in view with their left edges, the same in every row.
    std::vector<std::pair<int, int>> shownCols;
    ForEachShown(cols_, VertLineWidth(), cw, [&](int col, int x) { shownCols.emplace_back(col, x); });
    // Only the cells the paint is for: a cell with the grid lines round it (a
    // heading paints over the lines between the columns it spans) that meets it.
    const int vlw = VertLineWidth(), hlw = HorzLineWidth();
    const auto outsidePaint = [&](const TRect& r) {
        if (!paintRect_)
            return false;
        const TRect& p = *paintRect_;
        return r.Right + vlw <= p.Left || r.Left - vlw >= p.Right || r.Bottom + hlw <= p.Top || r.Top - hlw >= p.Bottom;
    };
    ForEachShown(rows_, hlw, ch, [&](int row, int y) {
        for (const auto& [col, x] : shownCols) {
            const TRect r{x, y, x + cols_.sizes[col], y + rows_.sizes[row]};  // CellRect(col, row)
            if (outsidePaint(r))
                continue;
            TGridDrawState state;
            const bool fixed = col < cols_.fixed || row < rows_.fixed;
            if (fixed) {
                state.Include(gdFixed);
            } else {
                state.Set(gdSelected, IsCellSelected(col, row));
                state.Set(gdFocused, focused && col == Col() && row == Row());
            }
            c.ResetClip();
            c.Pen().SetColor(clBlack);
            c.Pen().SetWidth(1);
            c.Pen().SetStyle(psSolid);
            c.Pen().SetMode(pmCopy);
            c.Brush().SetStyle(bsSolid);
            c.SetFont(font_);
            c.SetCopyMode(cmSrcCopy);
            c.Brush().SetColor(fixed ? fixedColor_ : color_);
            if (defaultDrawing_) {
                if (DrawsHighlighted(state)) {
                    c.Brush().SetColor(clHighlight);
                    c.Font().SetColor(clHighlightText);
                }
                c.FillRect(r);
            }
            DrawCell(col, row, r, state);
            if (!defaultDrawing_)
                continue;
            c.ResetClip();
            if (fixed && ctl3D_ && (options_.Contains(goFixedVertLine) || options_.Contains(goFixedHorzLine))) {
                TRect edge = r;
                DrawEdge(c, edge, BDR_RAISEDINNER, BF_RECT);
            }
            if (state.Contains(gdFocused) && !editing && !options_.Contains(goRowSelect))
                c.DrawFocusRect(r);
        }
    });
    if (defaultDrawing_ && focused && options_.Contains(goRowSelect) && Row() < RowCount()) {
        const int top = RowTop(Row());
        c.ResetClip();
        c.DrawFocusRect({FixedWidth(), top, std::min(cw, ColumnLeft(ColCount())), top + RowHeights(Row())});
    }
}

} // namespace zeko
