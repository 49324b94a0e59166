// The button glyph engine: glyph lists and their cache, the images of the five
// states, the layout of glyph, caption and drop-down mark, and TButtonImage.
#include "controls/ZcCtrls.h"

#include "controls/MaxMin.h"
#include "controls/VCLUtils.h"

#include <QString>

#include <algorithm>

namespace zeko {

namespace {

constexpr int MaxCaptionLength = 255;
constexpr int MaxGlyphCells = 5;
constexpr int PopupMarkRoom = 9;        // the mark after the text
constexpr int PopupMarkGlyphRoom = 6;   // the mark after the glyph

std::unique_ptr<TGlyphCache>& CacheSlot() {
    static std::unique_ptr<TGlyphCache> cache;
    return cache;
}

TGlyphCache& EnsureCache() {
    auto& cache = CacheSlot();
    if (!cache)
        cache = std::make_unique<TGlyphCache>();
    return *cache;
}

TColor PixelColor(const QImage& image, int x, int y) {
    const QRgb p = image.pixel(x, y);
    return RGB(qRed(p), qGreen(p), qBlue(p));
}

QImage Grayed(QImage image, TColor transparent) {
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const TColor c = GrayPixel(PixelColor(image, x, y), transparent);
            image.setPixel(x, y, qRgb(GetRValue(c), GetGValue(c), GetBValue(c)));
        }
    return image;
}

std::string FirstChars(const std::string& text, int count) {
    const QString s = QString::fromStdString(text);
    return s.size() <= count ? text : s.left(count).toStdString();
}

std::string TrimRight(std::string s) {
    while (!s.empty() && static_cast<unsigned char>(s.back()) <= ' ')
        s.pop_back();
    return s;
}

} // namespace

uint32_t AlignmentTextFlags(TAlignment alignment) {
    switch (alignment) {
    case taLeftJustify: return DT_LEFT;
    case taRightJustify: return DT_RIGHT;
    default: return DT_CENTER;
    }
}

// ---------------------------------------------------------------- TGlyphList

int TGlyphList::AllocateIndex() {
    const auto free = std::find(used_.begin(), used_.end(), false);
    if (free != used_.end())
        return static_cast<int>(free - used_.begin());
    QImage empty(Width(), Height(), QImage::Format_ARGB32);
    empty.fill(Qt::transparent);
    Add(empty);
    used_.resize(static_cast<size_t>(Count()), false);
    return Count() - 1;
}

int TGlyphList::AddMasked(const QImage& image, TColor maskColor) {
    const int index = AllocateIndex();
    Replace(index, TransparentImage(image, maskColor));
    used_[static_cast<size_t>(index)] = true;
    ++usedCount_;
    return index;
}

void TGlyphList::Delete(int index) {
    if (index < 0 || index >= static_cast<int>(used_.size()) || !used_[static_cast<size_t>(index)])
        return;
    used_[static_cast<size_t>(index)] = false;
    --usedCount_;
}

// ---------------------------------------------------------------- TGlyphCache

TGlyphList* TGlyphCache::GetList(int width, int height) {
    for (auto it = lists_.rbegin(); it != lists_.rend(); ++it)
        if ((*it)->Width() == width && (*it)->Height() == height)
            return it->get();
    lists_.push_back(std::make_unique<TGlyphList>(width, height));
    return lists_.back().get();
}

void TGlyphCache::ReturnList(TGlyphList* list) {
    if (!list || list->UsedCount() != 0)
        return;
    lists_.erase(std::remove_if(lists_.begin(), lists_.end(), [list](const auto& l) { return l.get() == list; }),
                 lists_.end());
}

TGlyphCache* GlyphCache() { return CacheSlot().get(); }

TColor GrayPixel(TColor color, TColor transparent) {
    const TColor rgb = ColorToRGB(color);
    if (rgb == ColorToRGB(transparent) || rgb == ColorToRGB(clBtnFace))
        return color;
    const int g = (77 * GetRValue(rgb) + 150 * GetGValue(rgb) + 29 * GetBValue(rgb)) >> 8;
    return RGB(g, g, g);
}

// ---------------------------------------------------------------- TZcButtonGlyph

TZcButtonGlyph::TZcButtonGlyph() {
    indexes_.fill(-1);
    EnsureCache();
}

TZcButtonGlyph::~TZcButtonGlyph() {
    Invalidate();
    if (GlyphCache() && GlyphCache()->Empty())
        CacheSlot().reset();
}

void TZcButtonGlyph::SetGlyph(const QImage& picture) {
    Invalidate();
    glyph_.Assign(picture);
    GlyphChanged();
}

void TZcButtonGlyph::SetGlyph(const TBitmap& picture) {
    Invalidate();
    glyph_.Assign(picture);
    GlyphChanged();
}

void TZcButtonGlyph::GlyphChanged() {
    Invalidate();
    if (glyph_.Height() > 0) {
        if (!glyph_.Empty())
            transparentColor_ = glyph_.TransparentColor();
        if (glyph_.Width() % glyph_.Height() == 0) {
            const int cells = glyph_.Width() / glyph_.Height();
            // A bitmap 0 pixels wide still has one cell, so no width is ever divided by 0.
            numGlyphs_ = cells > MaxGlyphCells || cells < 1 ? 1 : cells;
        }
    }
    if (OnChange)
        OnChange();
}

void TZcButtonGlyph::SetNumGlyphs(int value) {
    value = Min(value, MaxGlyphCells);
    if (value < 1 || value == numGlyphs_)
        return;
    Invalidate();
    numGlyphs_ = value;
}

void TZcButtonGlyph::Invalidate() {
    for (int& index : indexes_) {
        if (index >= 0 && list_)
            list_->Delete(index);
        index = -1;
    }
    if (list_ && GlyphCache())
        GlyphCache()->ReturnList(list_);
    list_ = nullptr;
}

TGlyphList* TZcButtonGlyph::ListFor(int width, int height) {
    if (!list_)
        list_ = EnsureCache().GetList(width, height);
    return list_;
}

void TZcButtonGlyph::DropImagesOfOldColours() {
    if (colourGeneration_ == SysColorGeneration())
        return;
    Invalidate();
    colourGeneration_ = SysColorGeneration();
}

int TZcButtonGlyph::CreateButtonGlyph(TGlyphState state) {
    DropImagesOfOldColours();
    if (state == gsDown && numGlyphs_ < 3)
        state = gsUp;
    if (indexes_[state] >= 0)
        return indexes_[state];
    if (glyph_.Width() == 0 || glyph_.Height() == 0 || glyph_.Empty())
        return -1;
    const int w = glyph_.Width() / numGlyphs_;
    const int h = glyph_.Height();
    TGlyphList* list = ListFor(w, h);
    const int cell = state < numGlyphs_ ? state : 0;
    auto cellImage = [&](int n) { return glyph_.Image().copy(n * w, 0, w, h); };
    int index = -1;
    switch (state) {
    case gsDisabled:
        if (numGlyphs_ == 1)
            index = list->AddMasked(MakeDisabledBitmap(glyph_, clBlack)->Image(), ColorToRGB(clBtnFace));
        else
            index = list->AddMasked(cellImage(1), transparentColor_);
        break;
    case gsInactive:
        index = list->AddMasked(numGlyphs_ == MaxGlyphCells ? cellImage(4) : Grayed(cellImage(0), transparentColor_),
                                transparentColor_);
        break;
    default: index = list->AddMasked(cellImage(cell), transparentColor_); break;
    }
    indexes_[state] = index;
    return index;
}

int TZcButtonGlyph::CreateImageGlyph(TGlyphState state, const TImageList* images, int index) {
    if (state != gsInactive)
        return -1;
    DropImagesOfOldColours();
    if (indexes_[state] >= 0)
        return indexes_[state];
    if (!images || images->Width() == 0 || images->Height() == 0 || index < 0 || index >= images->Count())
        return -1;
    TGlyphList* list = ListFor(images->Width(), images->Height());
    QImage face(images->Width(), images->Height(), QImage::Format_RGB32);
    face.fill(ToQColor(clBtnFace));
    {
        TCanvas canvas;
        canvas.BeginPaint(&face);
        images->Draw(canvas, 0, 0, index);
    }
    indexes_[state] = list->AddMasked(Grayed(face, transparentColor_), ColorToRGB(clBtnFace));
    return indexes_[state];
}

TSize TZcButtonGlyph::DrawButtonGlyph(TCanvas& canvas, int x, int y, TGlyphState state) {
    if (glyph_.Width() == 0 || glyph_.Height() == 0 || glyph_.Empty())
        return {};
    const int index = CreateButtonGlyph(state);
    if (index < 0)
        return {};
    canvas.Draw(x, y, list_->Image(index));
    return {list_->Width(), list_->Height()};
}

TSize TZcButtonGlyph::DrawButtonImage(TCanvas& canvas, int x, int y, TGlyphState state, const TImageList* images,
                                      int index) {
    if (!images || index < 0 || index >= images->Count())
        return {};
    if (state == gsDisabled) {
        DrawDisabledImage(*images, canvas, x, y, index, clBtnHighlight, clBtnShadow, true);
    } else if (state == gsInactive) {
        const int gray = CreateImageGlyph(state, images, index);
        if (gray >= 0)
            canvas.Draw(x, y, list_->Image(gray));
    } else {
        images->Draw(canvas, x, y, index);
    }
    return {images->Width(), images->Height()};
}

// ---------------------------------------------------------------- caption

std::string TZcButtonGlyph::MinimizeCaption(const TCanvas& canvas, const std::string& caption, int width) const {
    std::string result = FirstChars(caption, MaxCaptionLength);
    if (wordWrap_)
        return result;
    std::string joined;
    size_t start = 0;
    for (;;) {
        const size_t end = result.find('\n', start);
        std::string line = result.substr(start, end == std::string::npos ? std::string::npos : end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (start > 0)
            joined += "\r\n";
        joined += EllipsisText(line, canvas, width);
        if (end == std::string::npos)
            break;
        start = end + 1;
    }
    return FirstChars(TrimRight(joined), MaxCaptionLength);
}

void TZcButtonGlyph::DrawButtonText(TCanvas& canvas, const std::string& caption, const TRect& r, TGlyphState state,
                                    uint32_t textFlags) const {
    canvas.Brush().SetStyle(bsClear);
    const std::string text = FirstChars(caption, MaxCaptionLength);
    const uint32_t flags = textFlags | (wordWrap_ ? DT_WORDBREAK : 0) | DT_VCENTER;
    TRect place = r;
    if (state == gsDisabled) {
        OffsetRect(place, 1, 1);
        canvas.Font().SetColor(clBtnHighlight);
        canvas.DrawText(text, place, flags);
        place = r;
        canvas.Font().SetColor(clBtnShadow);
    }
    canvas.DrawText(text, place, flags);
}

void TZcButtonGlyph::DrawPopupMark(TCanvas& canvas, int x, int y, TGlyphState state) {
    auto mark = [&canvas](int left, int top, TColor color) {
        // Rows of 7, 5, 3 and 1 pixels, each centred under the one above.
        for (int row = 0; row < 4; ++row)
            canvas.FillPixels(Bounds(left + row, top - 1 + row, 7 - 2 * row, 1), color, pmCopy);
    };
    if (state == gsDisabled) {
        mark(x + 1, y + 1, clBtnHighlight);
        mark(x, y, clBtnShadow);
    } else {
        mark(x, y, clBtnText);
    }
}

// ---------------------------------------------------------------- layout

TSize TZcButtonGlyph::GlyphSize(const TImageList* images, int index) const {
    if (images && images->Width() >= 1 && index >= 0 && index < images->Count())
        return {images->Width(), images->Height()};
    if (glyph_.Empty())
        return {};
    return {glyph_.Width() / numGlyphs_, glyph_.Height()};
}

TButtonLayoutResult TZcButtonGlyph::CalcButtonLayout(TCanvas& canvas, const TRect& client,
                                                     const std::string& caption, TButtonLayout layout, int margin,
                                                     int spacing, bool popupMark, uint32_t textFlags,
                                                     const TImageList* images, int index) const {
    TPoint c{client.Width(), client.Height()};
    const TSize glyph = GlyphSize(images, index);
    TPoint g{glyph.cx, glyph.cy};
    const bool horizontal = layout == blGlyphLeft || layout == blGlyphRight;

    // The room the text may take.
    TPoint m;
    if (horizontal) {
        m = {c.X - g.X - (margin != -1 ? margin : 0) - (spacing != -1 ? spacing : 0) - (popupMark ? PopupMarkRoom : 0),
             c.Y};
    } else {
        m = {c.X, c.Y - g.Y - (margin != -1 ? margin : 0) - (spacing != -1 ? spacing : 0)};
    }
    m.X = std::max(0, m.X);
    m.Y = std::max(0, m.Y);

    TButtonLayoutResult result;
    result.Caption = MinimizeCaption(canvas, caption, m.X);
    TRect text;
    if (!result.Caption.empty()) {
        text = {0, 0, m.X, 0};
        const uint32_t flags = textFlags | (wordWrap_ ? DT_WORDBREAK : 0) | DT_VCENTER | DT_CENTER | DT_CALCRECT;
        canvas.DrawText(result.Caption, text, flags);
    }
    text.Bottom = std::max(text.Top, text.Top + std::min(m.Y, text.Height()));
    text.Right = std::max(text.Left, text.Left + std::min(m.X, text.Width()));
    TPoint t{text.Width(), text.Height()};

    if (popupMark) {
        if (g.X == 0 || g.Y == 0 || layout == blGlyphLeft)
            t.X += PopupMarkRoom;
        else
            g.X += PopupMarkGlyphRoom;
    }

    // Components along the layout's axis (a) and across it (b).
    auto along = [horizontal](TPoint& p) -> int& { return horizontal ? p.X : p.Y; };
    auto across = [horizontal](TPoint& p) -> int& { return horizontal ? p.Y : p.X; };
    TPoint glyphPos, textPos;
    across(glyphPos) = across(c) / 2 - across(g) / 2;
    across(textPos) = across(c) / 2 - across(t) / 2;

    if (t.X == 0 || g.X == 0)
        spacing = 0;

    const int ca = along(c);
    const int ga = along(g);
    const int ta = along(t);
    if (margin == -1 && spacing == -1) {
        margin = spacing = (ca - (ga + ta)) / 3;
    } else if (margin == -1) {
        margin = ca / 2 - (ga + spacing + ta) / 2;
    } else if (spacing == -1) {
        spacing = (ca - (margin + ga)) / 2 - ta / 2;
    }

    if (layout == blGlyphLeft || layout == blGlyphTop) {
        along(glyphPos) = margin;
        along(textPos) = along(glyphPos) + ga + spacing;
    } else {
        along(glyphPos) = ca - margin - ga;
        along(textPos) = along(glyphPos) - spacing - ta;
    }

    result.GlyphPos = {glyphPos.X + client.Left, glyphPos.Y + client.Top};
    result.TextBounds = Bounds(textPos.X + client.Left, textPos.Y + client.Top, t.X, t.Y);
    return result;
}

TRect TZcButtonGlyph::DrawEx(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout,
                             int margin, int spacing, bool popupMark, const TImageList* images, int index,
                             TGlyphState state, uint32_t textFlags) {
    const TButtonLayoutResult place =
        CalcButtonLayout(canvas, client, caption, layout, margin, spacing, popupMark, textFlags, images, index);
    const bool listImage = images && index >= 0 && index < images->Count() && images->Width() >= 1;
    const TSize drawn = listImage ? DrawButtonImage(canvas, place.GlyphPos.X, place.GlyphPos.Y, state, images, index)
                                  : DrawButtonGlyph(canvas, place.GlyphPos.X, place.GlyphPos.Y, state);
    DrawButtonText(canvas, place.Caption, place.TextBounds, state, textFlags);
    if (popupMark) {
        const TRect& t = place.TextBounds;
        if (layout != blGlyphLeft && (glyph_.Width() > 0 || drawn.cx > 0)) {
            DrawPopupMark(canvas, place.GlyphPos.X + drawn.cx + 1, place.GlyphPos.Y + drawn.cy / 2, state);
        } else {
            const int x = !place.Caption.empty() ? t.Right + 3 : (client.Left + client.Right - 7) / 2;
            DrawPopupMark(canvas, x, t.Top + t.Height() / 2, state);
        }
    }
    return place.TextBounds;
}

TRect TZcButtonGlyph::Draw(TCanvas& canvas, const TRect& client, const std::string& caption, TButtonLayout layout,
                           int margin, int spacing, bool popupMark, TGlyphState state, uint32_t textFlags) {
    return DrawEx(canvas, client, caption, layout, margin, spacing, popupMark, nullptr, -1, state, textFlags);
}

// ---------------------------------------------------------------- TButtonImage

void TButtonImage::DrawEx(TCanvas& canvas, int x, int y, int margin, int spacing, TButtonLayout layout,
                          const TFont* font, const TImageList* images, int index, uint32_t textFlags) {
    const TColor brushColor = canvas.Brush().Color();
    TFont keptFont;
    keptFont.Assign(canvas.Font());
    TRect r = Bounds(x, y, ButtonSize.cx, ButtonSize.cy);
    canvas.FillPixels(r, clBtnFace, pmCopy);
    Frame3D(canvas, r, clBtnShadow, clWindowFrame, 1);
    Frame3D(canvas, r, clBtnHighlight, clBtnShadow, 1);
    if (font)
        canvas.SetFont(*font);
    glyph_.DrawEx(canvas, r, Caption, layout, margin, spacing, false, images, index, gsUp, textFlags);
    canvas.SetFont(keptFont);
    canvas.Brush().SetColor(brushColor);
}

} // namespace zeko
