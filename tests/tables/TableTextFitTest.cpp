// Every text of the table windows shows whole in the cell its layout gives it, in
// the 1024 and the 800 layout: no cell font's line is taller than the row between
// the cell margins, and in rendered pixels every glyph of every cell text, column
// caption and heading lies inside its cell. The month table's decimal comma shows
// whole and reaches below the digits, so that it does not read as a point. No word
// shows a gap between its letters wider than the face sets them.
#include "tables/MesicniTabulka.h"
#include "tables/RocniTabulka.h"
#include "tables/dennitabulka.h"

#include "LetterGaps.h"
#include "TableFixture.h"

#include <sstream>

namespace zeko::test {
namespace {

// The grid keeps this much free above and below a cell's text.
constexpr int CellTextMargin = 2;

// The pixels that differ between two pictures inside `area`, and their box.
struct TDifference {
    int Pixels = 0;
    TRect Box;
};
TDifference Difference(const QImage& a, const QImage& b, const TRect& area) {
    TDifference d;
    TRect box{1 << 30, 1 << 30, -(1 << 30), -(1 << 30)};
    for (int y = std::max(0, area.Top); y < std::min(a.height(), area.Bottom); ++y)
        for (int x = std::max(0, area.Left); x < std::min(a.width(), area.Right); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) {
                ++d.Pixels;
                box = {std::min(box.Left, x), std::min(box.Top, y), std::max(box.Right, x + 1),
                       std::max(box.Bottom, y + 1)};
            }
    if (d.Pixels > 0)
        d.Box = box;
    return d;
}

// A text of a cell, in its font, and the width a caption wraps at (0: one line).
struct TCellText {
    std::string Text;
    TFont Font;
    int WrapWidth = 0;
};

// A text drawn in its font's colour on a background, without a clip, where the
// grid draws it: at a whole pixel, so that each glyph meets the pixels as in a cell.
QImage TextPicture(const TCellText& t, TColor background) {
    QImage image(900, 200, QImage::Format_RGB32);
    image.fill(ToQColor(background));
    TCanvas canvas;
    canvas.BeginPaint(&image);
    canvas.SetFont(t.Font);
    canvas.Brush().SetStyle(bsClear);
    TRect r{10, 10, t.WrapWidth > 0 ? 10 + t.WrapWidth : 890, 190};
    canvas.DrawText(t.Text, r, DT_NOPREFIX | DT_NOCLIP | (t.WrapWidth > 0 ? DT_WORDBREAK : 0));
    canvas.EndPaint();
    return image;
}

// The pixels the glyphs of a text change on the background: the smoothed edges
// of a glyph blend with it, so the same glyph changes more pixels of one
// background than of another.
int GlyphPixels(const TCellText& t, TColor background = clWhite) {
    const QImage image = TextPicture(t, background);
    int n = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            n += PixelAt(image, x, y) != ColorToRGB(background);
    return n;
}

const TFont& TitleFontOf(THyperGrid& grid, const ThgHeading& item) {
    return item.TitleParentFont() ? grid.Font() : item.TitleFont();
}

// The font a cell's text is drawn in, as the grid gives it: the title font in the
// caption row and the fixed columns, else the column's cell font, and what the
// window changes of it (its colour, for one: smoothed glyph edges blend it with the
// background).
TFont CellFontOf(THyperGrid& grid, int col, int row) {
    const bool fixed = row < grid.FixedRows() || col < grid.FixedCols();
    TBevelCut inner = bvNone, outer = bvNone;
    THgDrawInfo info;
    TColor color = clWindow;
    ThgCellStates states;
    TFont font;
    grid.GetCellAttributes(col, row, inner, outer, info, font, color, states,
                           fixed ? TGridDrawState{gdFixed} : TGridDrawState{}, grid.ColumnFromGridIndex(col));
    return font;
}

// The text a cell shows: in the caption row its column's caption, when it has one.
std::string ShownText(const THyperGrid& grid, int col, int row) {
    const std::string& caption = grid.ColumnFromGridIndex(col)->Caption();
    return row == 0 && !caption.empty() ? caption : grid.Cells(col, row);
}

// Texts that share one area of the picture: a cell, or in the caption row a
// heading with the captions under it.
struct TTextArea {
    TRect Area;
    std::vector<TCellText> Texts;
    std::string Where;
};

// What a caption keeps beside its text: the margins and a pixel of frame on each
// side.
constexpr int CaptionRoom = 2 * CellTextMargin + 2;

bool Shown(const THyperGrid& grid, int col, int row) {
    const bool colShown = col < grid.FixedCols() || (col >= grid.LeftCol() && col < grid.LeftCol() + grid.VisibleColCount());
    const bool rowShown = row < grid.FixedRows() || (row >= grid.TopRow() && row < grid.TopRow() + grid.VisibleRowCount());
    return colShown && rowShown;
}

std::vector<TTextArea> TextAreas(THyperGrid& grid) {
    std::vector<TTextArea> areas;
    std::map<int, size_t> headingAreas;
    for (int c = 0; c < grid.ColCount(); ++c) {
        if (!Shown(grid, c, 0))
            continue;
        const ThgColumn& column = *grid.ColumnFromGridIndex(c);
        const TRect cell = grid.CellRect(c, 0);
        const int h = column.HeadingIndex();
        TTextArea* area = nullptr;
        if (h >= 0 && headingAreas.count(h) > 0) {
            area = &areas[headingAreas[h]];
            area->Area.Right = cell.Right;
        } else {
            areas.push_back({cell, {}, "caption row at column " + std::to_string(c)});
            area = &areas.back();
            if (h >= 0) {
                headingAreas[h] = areas.size() - 1;
                const ThgHeading& heading = *grid.Headings().Items(h);
                area->Texts.push_back({heading.Caption(), TitleFontOf(grid, heading)});
            }
        }
        area->Texts.push_back({ShownText(grid, c, 0), CellFontOf(grid, c, 0), cell.Width() - CaptionRoom});
    }
    for (int r = 1; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount(); ++c)
            if (Shown(grid, c, r) && !grid.Cells(c, r).empty())
                areas.push_back({grid.CellRect(c, r), {{grid.Cells(c, r), CellFontOf(grid, c, r)}},
                                 "cell " + std::to_string(c) + ", " + std::to_string(r)});
    return areas;
}

// The grid painted with its texts and painted again without them: what differs
// inside each area are the glyphs drawn there, all of them when nothing is cut.
void ExpectTextsWhole(THyperGrid& grid, const std::string& name) {
    for (int r = 1; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount(); ++c) {
            TCanvas canvas;
            canvas.SetFont(CellFontOf(grid, c, r));
            EXPECT_LE(canvas.TextHeight(grid.Cells(c, r)), grid.RowHeights(r) - 2 * CellTextMargin)
                << name << " cell " << c << ", " << r << " \"" << grid.Cells(c, r) << "\"";
        }

    const std::vector<TTextArea> areas = TextAreas(grid);
    const QImage with = grid.PaintToImage();
    for (int r = 0; r < grid.RowCount(); ++r)
        for (int c = 0; c < grid.ColCount(); ++c)
            grid.SetCells(c, r, "");
    for (int i = 0; i < grid.Columns().Count(); ++i)
        grid.Columns().Items(i)->SetCaption("");
    for (int i = 0; i < grid.Headings().Count(); ++i)
        grid.Headings().Items(i)->SetCaption("");
    const QImage without = grid.PaintToImage();

    for (const TTextArea& area : areas) {
        int glyphs = 0;
        std::ostringstream texts;
        const TColor background = MostCommonColor(without, area.Area);
        for (const TCellText& t : area.Texts) {
            glyphs += GlyphPixels(t, background);
            texts << " \"" << t.Text << "\"";
        }
        EXPECT_EQ(Difference(with, without, area.Area).Pixels, glyphs) << name << " " << area.Where << texts.str();
    }
}

// No word of a cell, caption or heading shows a gap between its letters wider than
// the face sets them.
void ExpectLettersWhole(THyperGrid& grid, const std::string& name) {
    for (const TTextArea& area : TextAreas(grid))
        for (const TCellText& t : area.Texts) {
            const std::string wider = WiderGaps(t.Font, t.Text);
            EXPECT_TRUE(wider.empty()) << name << " " << area.Where << " \"" << t.Text << "\":" << wider;
        }
}

class TableTextFit : public TableTest, public ::testing::WithParamInterface<int> {
protected:
    TableTextFit() {
        WindowWidth = GetParam();
        if (Narrow()) {
            // The MDI area of an 800 x 600 main window.
            mainForm_.resize(792, 500);
            area_->setGeometry(0, 0, 792, 500);
        }
        // Large values of the regulator's own measurement, and its reactive input.
        for (int day = 4; day <= 6; ++day)
            for (int quarter = 0; quarter < 8; ++quarter)
                Add(2024, 3, day, 9 + quarter / 4, 15 * (quarter % 4) + 5, 0,
                    {static_cast<uint16_t>(48000 + 1111 * quarter), 31000, 0, 0});
        Add(2024, 1, 9, 12, 5, 0, {60000, 45000, 0, 0});
        Save();
        SetChannelKey(1, "ZtratyTRF_v", "2,5");  // the year table's TRF column and row
    }
    bool Narrow() const { return GetParam() < 900; }
    TMesicniTabulkaForm& ShowMarch() {
        windows_.OpenMonthTable();
        Post(WM_SHOW_MONTH_TABLE, Date(2024, 3, 1), 0);
        return *windows_.MonthForm();
    }
    // A picture of the window named after it and the layout, then its grids checked.
    void KeepPictureAndCheck(TTableForm& form, const std::string& name, std::initializer_list<THyperGrid*> grids) {
        KeepPicture(form, name + (Narrow() ? "-800" : "-1024"));
        for (THyperGrid* grid : grids) {
            ExpectLettersWhole(*grid, grid->objectName().toStdString());
            ExpectTextsWhole(*grid, grid->objectName().toStdString());
        }
    }
};

TEST_P(TableTextFit, TheDayTable) {
    windows_.OpenDayTable();
    TDenniTabulkaForm& form = *windows_.DayForm();
    Post(WM_SHOW_DAY_TABLE, Date(2024, 3, 5), 0);
    ASSERT_EQ(form.Tabulka->Cells(1, 11), "53555,0");
    KeepPictureAndCheck(form, "denni-tabulka", {form.Tabulka, form.Tabulka1});
}

TEST_P(TableTextFit, TheMonthTable) {
    TMesicniTabulkaForm& form = ShowMarch();
    ASSERT_EQ(form.Tabulka->Cells(7, 5), "103777,0");
    KeepPictureAndCheck(form, "mesicni-tabulka", {form.Tabulka});
}

TEST_P(TableTextFit, TheYearTable) {
    windows_.OpenYearTable();
    TRocniTabulkaForm& form = *windows_.YearForm();
    Post(WM_SHOW_YEAR_TABLE, Date(2024, 1, 1), 0);
    ASSERT_TRUE(form.TrfShown);
    KeepPictureAndCheck(form, "rocni-tabulka", {form.Tabulka});
}

// "12 3" and "12,3" differ by the comma alone (a space is as wide): all its glyph
// shows, and its ink reaches below the ink of the digits.
TEST_P(TableTextFit, TheMonthTablesDecimalCommaShowsBelowTheDigits) {
    THyperGrid& grid = *ShowMarch().Tabulka;
    const int col = 2, row = 5;  // a working day on white
    const TRect cell = grid.CellRect(col, row);
    grid.SetCells(col, row, "12 3");
    const QImage spaced = grid.PaintToImage();
    grid.SetCells(col, row, "12,3");
    const QImage comma = grid.PaintToImage();

    const TColor background = MostCommonColor(spaced, cell);
    const TFont font = CellFontOf(grid, col, row);
    const QImage spacedAlone = TextPicture({"12 3", font}, background);
    const QImage commaAlone = TextPicture({"12,3", font}, background);
    const TDifference separator = Difference(spaced, comma, cell);
    EXPECT_EQ(separator.Pixels, Difference(spacedAlone, commaAlone, {0, 0, 900, 200}).Pixels);
    const TRect digits = InkBoxExcept(spaced, cell, background);
    ASSERT_FALSE(IsRectEmpty(digits));
    EXPECT_GT(separator.Box.Bottom, digits.Bottom);
}

INSTANTIATE_TEST_SUITE_P(Layouts, TableTextFit, ::testing::Values(1023, 800),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return info.param < 900 ? std::string("Layout800") : std::string("Layout1024");
                         });

} // namespace
} // namespace zeko::test
