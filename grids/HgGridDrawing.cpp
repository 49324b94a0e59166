// THyperGrid's painting: the attributes of a cell or heading, its borders, fill,
// bevels, pressed look, image, text and focus rectangle, and the two-level title
// row whose headings are painted whole into one picture and copied slice by slice
// into the cells under them.
#include "grids/HgGrid.h"

namespace zeko {

namespace {

// The bevels, lowered while pressed; a pressed face moves what it holds 2 pixels
// down and right.
void DrawFace(TCanvas& canvas, TRect& r, TBevelCut outer, TBevelCut inner, bool pressed) {
    if (pressed) {
        outer = bvLowered;
        inner = bvNone;
    }
    DrawBevels(canvas, r, outer, inner);
    if (pressed) {
        r.Left += 2;
        r.Top += 2;
    }
}

} // namespace

void THyperGrid::DrawItemBorders(TCanvas& canvas, TRect& r, int col, int row, ThgHeading* item, ThgCellStates state) {
    ThgBorder top = item->TopBorder(), right = item->RightBorder(), bottom = item->BottomBorder(),
              left = item->LeftBorder();
    if (OnChangeCellBorders)
        OnChangeCellBorders(this, col, row, item, state, top, right, bottom, left);
    DrawCellBorders(canvas, r, top, left, bottom, right);
}

void THyperGrid::GetCellAttributes(int col, int row, TBevelCut& innerBevel, TBevelCut& outerBevel, THgDrawInfo& info,
                                   TFont& font, TColor& color, ThgCellStates& cellState, TGridDrawState drawState,
                                   ThgHeading* item) {
    cellState = CellStatesOf(drawState);
    auto* column = dynamic_cast<ThgColumn*>(item);
    if (!column)
        cellState.Include(hgcsHeading);
    info.Canvas = &Canvas();
    info.HMargin = 2;
    info.VMargin = 2;
    info.VAlign = hgvaTop;
    info.HAlign = taLeftJustify;
    info.Text = Cells(col, row);
    info.ClipStyle = hgclpClip;
    info.Col = col;
    info.Row = row;
    info.Grid = this;
    info.State = drawState;
    if (drawState.Contains(gdFixed) || !column) {
        if (row == 0 && !item->Caption().empty())
            info.Text = item->Caption();
        info.HAlign = item->TitleHAlignment();
        info.VAlign = item->TitleVAlignment();
        info.ClipStyle = item->TitleClipStyle();
        color = item->TitleColor();
        innerBevel = item->TitleInnerBevel();
        outerBevel = item->TitleOuterBevel();
        font.Assign(item->TitleParentFont() ? Font() : item->TitleFont());
    } else {
        info.HAlign = column->ColumnHAlignment();
        info.VAlign = column->ColumnVAlignment();
        info.ClipStyle = column->ColumnClipStyle();
        color = column->ColumnColor();
        innerBevel = column->ColumnInnerBevel();
        outerBevel = column->ColumnOuterBevel();
        font.Assign(column->ColumnParentFont() ? Font() : column->ColumnFont());
    }
    const bool focused = drawState.Contains(gdFocused);
    const bool selected = drawState.Contains(gdSelected);
    if (hyperOptions_.Contains(hgoptHighlightSelection) &&
        ((focused && Options().Contains(goDrawFocusSelected)) || (selected && !focused))) {
        color = hyperHighlightColor_;
        font.SetColor(hyperHighlightFontColor_);
    }
    if (OnChangeCellAttributes)
        OnChangeCellAttributes(this, col, row, item, cellState, color, font, info.HAlign, info.VAlign, outerBevel,
                               innerBevel);
}

void THyperGrid::DrawCellImage(int col, int row, TCanvas& canvas, bool draw, TRect& rect, int headingIndex) {
    if (!OnGetCellImage)
        return;
    ThgCellImage image;
    OnGetCellImage(this, col, row, headingIndex, image);
    int w, h;
    if (image.Picture) {
        w = image.Picture->Width();
        h = image.Picture->Height();
    } else if (image.ImageList) {
        w = image.ImageList->Width();
        h = image.ImageList->Height();
    } else {
        return;
    }
    const int m = image.Margin;
    TRect i = rect;
    switch (image.Position) {
    case hgipLeft:
        rect.Left += 2 * m + w;
        i.Right = rect.Left - 1;
        break;
    case hgipRight:
        rect.Right -= 2 * m + w;
        i.Left = rect.Right + 1;
        break;
    case hgipTop:
        rect.Top += 2 * m + h;
        i.Bottom = rect.Top - 1;
        break;
    case hgipBottom:
        rect.Bottom -= 2 * m + h;
        i.Top = rect.Bottom + 1;
        break;
    }
    if (!draw)
        return;
    if (image.Position == hgipLeft || image.Position == hgipRight) {
        i.Left += m;
        if (image.VAlign == hgvaTop)
            i.Top += m;
        else if (image.VAlign == hgvaCenter)
            i.Top += (BothEdgesHeight(i) - h) / 2;
        else
            i.Top = i.Bottom - h - m;
    } else {
        i.Top += m;
        if (image.HAlign == taLeftJustify)
            i.Left += m;
        else if (image.HAlign == taRightJustify)
            i.Left = i.Right - w - m;
        else
            i.Left += (BothEdgesWidth(i) - w) / 2;
    }
    if (image.Picture)
        canvas.Draw(i.Left, i.Top, image.Picture->Graphic());
    else
        image.ImageList->Draw(canvas, i.Left, i.Top, image.ImageIndex, true);
}

void THyperGrid::DrawCell(int col, int row, const TRect& rect, TGridDrawState state) {
    ThgColumn* column;
    try {
        column = ColumnFromGridIndex(col);
    } catch (const EhgException&) {
        return;  // a grid column without an item: nothing to paint it from
    }
    TCanvas& canvas = Canvas();
    TRect r = rect;
    const bool fixed = IsFixedCell(col, row);
    if (fixed && row == 0 && column->HeadingIndex() >= 0 && headings_.Items(column->HeadingIndex())) {
        DrawHeading(col, row, column);
        r.Top += RowHeights(0) / 2 - 1;
    }
    TBevelCut inner = bvNone, outer = bvNone;
    THgDrawInfo info;
    TColor color = clWindow;
    ThgCellStates cellState;
    GetCellAttributes(col, row, inner, outer, info, attrFont_, color, cellState, state, column);

    DrawItemBorders(canvas, r, col, row, column, cellState);
    const TRect focusRect = r;

    canvas.Brush().SetColor(color);
    canvas.Brush().SetStyle(bsSolid);
    canvas.FillRect(r);

    const bool pressed = pressHeading_ == -1 && pressing_ && pressInside_ && col == pressCol_ && row == pressRow_;
    info.Rect = r;
    DrawFace(canvas, info.Rect, outer, inner, pressed);
    DrawCellImage(col, row, canvas, true, info.Rect, -1);
    if (!fixed)
        GetDisplayText(col, row, info.Text);
    canvas.SetFont(attrFont_);
    DrawCellText(info);
    if (state.Contains(gdFocused) && hyperOptions_.Contains(hgoptDrawFocusRectangle)) {
        canvas.Brush().SetColor(color);
        canvas.Brush().SetStyle(bsSolid);
        canvas.DrawFocusRect(focusRect);
    }
    if (OnDrawCell)
        OnDrawCell(this, col, row, rect, state);
}

void THyperGrid::DrawHeading(int col, int row, ThgColumn* column) {
    ThgHeading* heading = headings_.Items(column->HeadingIndex());
    if (!heading)
        return;
    const int lw = VertLineWidth();
    int first, last;
    HeadingSpan(col, column->HeadingIndex(), first, last);
    const TRect c = CellRect(col, 0);
    int total = (last - first) * lw + 1;
    for (int i = first; i <= last; ++i)
        total += ColWidths(i);
    int offset = (col - first) * lw;
    for (int i = first; i < col; ++i)
        offset += ColWidths(i);
    const int half = RowHeights(0) / 2;

    TBevelCut inner = bvNone, outer = bvNone;
    THgDrawInfo info;
    TColor color = clBtnFace;
    ThgCellStates cellState;
    GetCellAttributes(col, row, inner, outer, info, attrFont_, color, cellState, TGridDrawState{gdFixed}, heading);
    info.Text = heading->Caption();

    headingBitmap_.SetSize(total, half);
    TCanvas& b = headingBitmap_.Canvas();
    b.Brush().Assign(Canvas().Brush());
    b.SetFont(attrFont_);
    b.Pen().Assign(Canvas().Pen());
    b.ResetClip();
    b.Brush().SetColor(color);
    b.Brush().SetStyle(bsSolid);
    info.Canvas = &b;
    info.Rect = {0, 0, headingBitmap_.Width() - 1, headingBitmap_.Height() - 1};
    b.FillRect(info.Rect);

    if (Options().Contains(goFixedHorzLine)) {
        // The grid line between the heading and the column titles.
        ThgBorder line;
        line.SetStyle(hgbrdSolid);
        line.SetWidth(GridLineWidth());
        line.SetColor(clBlack);
        info.Rect.Bottom -= DrawBorderLine(b, {total - 2, half - 2}, {-1, half - 2}, hgSideBottom, line);
    }
    DrawItemBorders(b, info.Rect, -1, -1, heading, ThgCellStates{hgcsHeading});

    const bool pressed = pressHeading_ == heading->Index() && pressing_ && pressInside_ && first <= pressCol_ &&
                         pressCol_ <= last;
    DrawFace(b, info.Rect, outer, inner, pressed);
    DrawCellImage(col, row, b, true, info.Rect, heading->Index());
    DrawCellText(info);

    // This cell's slice of the whole heading, with the grid lines between the
    // spanned columns painted over.
    TRect s{offset, 0, offset + BothEdgesWidth(c) - 1, half - 1};
    TRect d{c.Left, c.Top, c.Right, c.Top + half - 1};
    if (first < col && col > LeftCol()) {
        s.Left -= lw;
        d.Left -= lw;
    }
    if (col < last && col < LeftCol() + VisibleColCount() && col < ColCount()) {
        s.Right += lw;
        d.Right += lw;
    }
    Canvas().SetCopyMode(cmSrcCopy);
    Canvas().CopyRect(d, b, s);
}

} // namespace zeko
