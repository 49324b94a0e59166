#include "controls/SpeedBar.h"

#include "controls/Placemnt.h"

#include <QChildEvent>
#include <QEvent>
#include <QPaintEvent>
#include <QResizeEvent>

#include <algorithm>
#include <cmath>
#include <utility>

namespace zeko {

// ---------------------------------------------------------------- rules without a bar

int SpeedbarGridStep(int buttonSize) {
    const int s = std::max(1, buttonSize);
    int g = std::max(1, std::min(8, s / 3));
    while (s % g != 0)
        ++g;
    if (g == s && s > 1) {
        g = s - 1;
        while (g > 1 && s % g != 0)
            --g;
    }
    return g;
}

TAlign DockSideAt(TPoint p, int parentWidth, int parentHeight, TAlign fallback) {
    if (parentWidth <= 0 || parentHeight <= 0)
        return fallback;
    const double w = parentWidth, h = parentHeight;
    const double d1 = h / w * p.X;
    const double d2 = (1.0 - p.X / w) * h;
    const bool belowFirst = p.Y >= d1;
    const bool belowSecond = p.Y >= d2;
    if (belowFirst && belowSecond)
        return alBottom;
    if (belowFirst)
        return alLeft;
    if (belowSecond)
        return alRight;
    return alTop;
}

int RowsThickness(TAlign align, TPoint p, int parentWidth, int parentHeight, int buttonSize, int offset) {
    const int button = std::max(1, buttonSize);
    int distance = 0;
    switch (align) {
    case alTop: distance = p.Y - 2 * offset; break;
    case alBottom: distance = parentHeight - 2 * offset - p.Y; break;
    case alLeft: distance = p.X - 2 * offset; break;
    default: distance = parentWidth - 2 * offset - p.X; break;
    }
    const int rows = std::max(1, std::abs(distance) / button);
    const int limit = align == alTop || align == alBottom ? parentHeight : parentWidth;
    return std::min(button * rows + 2 * offset, limit);
}

TPoint SnapToGrid(TPoint p, TBarOrientation orientation, TPoint offset, TPoint step) {
    const auto round = [](int v, int off, int g) {
        return static_cast<int>(std::nearbyint(static_cast<double>(v - off) / g)) * g + off;
    };
    const auto cut = [](int v, int off, int g) { return static_cast<int>(static_cast<double>(v - off) / g) * g + off; };
    const int gx = std::max(1, step.X), gy = std::max(1, step.Y);
    if (orientation == boHorizontal)
        return {round(p.X, offset.X, gx), cut(p.Y, offset.Y, gy)};
    return {cut(p.X, offset.X, gx), round(p.Y, offset.Y, gy)};
}

// ---------------------------------------------------------------- the bar

TSpeedBar::TSpeedBar(QWidget* parent) : QWidget(parent), iniLink_(std::make_unique<TIniLink>()) {
    const auto storageOpen = [this] {
        return !objectName().isEmpty() && !std::holds_alternative<std::monostate>(iniLink_->IniObject());
    };
    iniLink_->OnSave = [this, storageOpen](TIniLink*) {
        if (storageOpen())
            SaveLayout(iniLink_->IniObject(), LayoutSection());
    };
    iniLink_->OnLoad = [this, storageOpen](TIniLink*) {
        if (storageOpen())
            LoadLayout(iniLink_->IniObject(), LayoutSection());
    };
    offset_ = {MinButtonsOffset(), MinButtonsOffset()};
    resize(width(), 2 * offset_.Y + btnSize_.Y);
    setAttribute(Qt::WA_OpaquePaintEvent);
    ApplyAlignToWidget(alTop);
    UpdateGridStep();
}

TSpeedBar::~TSpeedBar() {
    OnAddItem = nullptr;
    OnApplyAlign = nullptr;
    OnPosChanged = OnVisibleChanged = OnCustomize = nullptr;
    iniLink_.reset();
    NotifyCustomizer(SBR_DESTROYED, this);
    customizeWindow_ = nullptr;
    ClearSections();
}

// ---- sections

int TSpeedBar::AddSection(TSpeedbarSection* section) {
    std::string caption = section->caption_;
    for (int n = 1; SearchSection(caption) >= 0; ++n)
        caption = section->caption_ + " (" + std::to_string(n) + ")";
    section->caption_ = caption;
    sections_.push_back(section);
    section->bar_ = this;
    const int index = SectionCount() - 1;
    for (TSpeedItem* item : section->items_) {
        item->section_ = index;
        SetItemParams(item, !loading_);
    }
    return index;
}

int TSpeedBar::AppendSection(const std::string& caption) {
    auto* section = new TSpeedbarSection(this);
    section->caption_ = caption;
    return AddSection(section);
}

int TSpeedBar::SearchSection(const std::string& caption) const {
    for (int i = 0; i < SectionCount(); ++i)
        if (sections_[static_cast<size_t>(i)]->Caption() == caption)
            return i;
    return -1;
}

void TSpeedBar::RemoveSection(int index) {
    TSpeedbarSection* section = Sections(index);
    const std::vector<TSpeedItem*> items = section->items_;
    for (TSpeedItem* item : items)
        RemoveItem(item);
    section->bar_ = nullptr;
    sections_.erase(sections_.begin() + index);
}

void TSpeedBar::DeleteSection(int index) {
    TSpeedbarSection* section = Sections(index);
    while (!section->items_.empty())
        delete section->items_.back();  // takes itself off the bar and the section
    section->bar_ = nullptr;
    sections_.erase(sections_.begin() + index);
    delete section;
}

void TSpeedBar::ClearSections() {
    while (!sections_.empty())
        DeleteSection(SectionCount() - 1);
}

void TSpeedBar::MoveSection(TSpeedbarSection* section, int index) {
    const auto it = std::find(sections_.begin(), sections_.end(), section);
    if (it == sections_.end())
        return;
    sections_.erase(it);
    const int to = std::clamp(index, 0, SectionCount());
    sections_.insert(sections_.begin() + to, section);
    for (int i = 0; i < SectionCount(); ++i)
        for (TSpeedItem* item : sections_[static_cast<size_t>(i)]->items_)
            item->section_ = i;
}

// ---- items

void TSpeedBar::AddItem(int section, TSpeedItem* item) {
    if (item == nullptr)
        return;
    int oldSection = -1, position = -1;
    if (FindItem(item, oldSection, position)) {
        auto& from = Sections(oldSection)->items_;
        from.erase(from.begin() + position);
        const int to = std::clamp(section, 0, SectionCount() - 1);
        Sections(to)->items_.push_back(item);
        item->section_ = to;
        return;
    }
    if (section < 0)
        return;
    item->section_ = section;
    if (OnAddItem)
        OnAddItem(this, item);
    section = item->section_;
    if (sections_.empty())
        AppendSection("");
    section = std::clamp(section, 0, SectionCount() - 1);
    Sections(section)->items_.push_back(item);
    item->section_ = section;
    SetItemParams(item, !loading_);
    item->button_->hide();
    item->button_->setParent(this);
}

void TSpeedBar::SetItemParams(TSpeedItem* item, bool initBounds) {
    item->bar_ = this;
    TSpeedbarButton* button = item->button_;
    if (initBounds)
        button->PlaceAt(0, 0, BtnWidth(), BtnHeight());
    button->SetStyle(buttonStyle_);
    button->SetFlat(options_.Contains(sbFlatBtns));
    button->SetTransparent(options_.Contains(sbTransparentBtns));
    button->SetGrayedInactive(options_.Contains(sbGrayedBtns));
    item->editing_ = customizeWindow_ != nullptr;
}

void TSpeedBar::RemoveItem(TSpeedItem* item) {
    int section = -1, position = -1;
    if (!FindItem(item, section, position))
        return;
    item->button_->setParent(nullptr);
    item->bar_ = nullptr;
    item->section_ = -1;
    auto& items = Sections(section)->items_;
    items.erase(items.begin() + position);
}

bool TSpeedBar::FindItem(const TSpeedItem* item, int& section, int& position) const {
    for (int s = 0; s < SectionCount(); ++s) {
        const auto& items = sections_[static_cast<size_t>(s)]->items_;
        if (const auto it = std::find(items.begin(), items.end(), item); it != items.end()) {
            section = s;
            position = static_cast<int>(it - items.begin());
            return true;
        }
    }
    section = position = -1;
    return false;
}

TSpeedItem* TSpeedBar::SearchItem(const std::string& name) const {
    const QString wanted = QString::fromStdString(name);
    TSpeedItem* found = nullptr;
    ForEachItem([&](TSpeedItem* item) {
        if (found == nullptr && QString::fromStdString(item->Name()).compare(wanted, Qt::CaseInsensitive) == 0)
            found = item;
    });
    return found;
}

void TSpeedBar::ForEachItem(const std::function<void(TSpeedItem*)>& proc) const {
    for (const TSpeedbarSection* section : sections_)
        for (TSpeedItem* item : section->items_)
            proc(item);
}

int TSpeedBar::ItemsCount() const {
    int count = 0;
    ForEachItem([&count](TSpeedItem*) { ++count; });
    return count;
}

// ---- properties

void TSpeedBar::SetPosition(TBarPosition value) {
    // The bar keeps the orientation it has; only later changes of side follow the rule.
    orientation_ = Orientation();
    position_ = value;
}

TBarOrientation TSpeedBar::Orientation() const {
    if (position_ == bpCustom)
        return orientation_;
    switch (align_) {
    case alTop: case alBottom: return boHorizontal;
    case alLeft: case alRight: return boVertical;
    default: return orientation_;
    }
}

void TSpeedBar::SetOrientation(TBarOrientation value) {
    if (loading_) {
        orientation_ = value;
        return;
    }
    if (value == orientation_ && value == Orientation())
        return;
    ++paintLock_;
    orientation_ = value;
    std::swap(btnSize_.X, btnSize_.Y);
    std::swap(gridStep_.X, gridStep_.Y);
    std::swap(offset_.X, offset_.Y);
    ForEachItem([this](TSpeedItem* item) { item->button_->PlaceAt(item->Left(), item->Top(), BtnWidth(), BtnHeight()); });
    --paintLock_;
    update();
    NotifyCustomizer(SBR_BTNSIZECHANGED, this);
}

void TSpeedBar::ApplyAlignToWidget(TAlign value) {
    const bool wasVertical = align_ == alLeft || align_ == alRight;
    const bool vertical = value == alLeft || value == alRight;
    // The bar keeps its thickness when it turns to the other axis.
    if (!loading_ && wasVertical != vertical && (value != alNone && value != alClient))
        resize(height(), width());
    SetControlAlign(this, value);
}

void TSpeedBar::SetAlign(TAlign value) {
    if (loading_ && value == alNone && position_ == bpAuto)
        alignNoneLoaded_ = true;
    if (value == align_)
        return;
    if (position_ == bpAuto && (value == alNone || value == alClient))
        throw ESpeedbarError("Cannot set this property value while Position is bpAuto");
    ApplyAlignToWidget(value);
    const TBarOrientation before = Orientation();
    align_ = value;
    if (position_ == bpAuto && Orientation() != before) {
        // The stored orientation is the old one until the exchange.
        const TBarOrientation now = Orientation();
        orientation_ = before;
        SetOrientation(now);
    }
}

void TSpeedBar::SetBtnOffsetHorz(int value) { SetOffset(offset_.X, value, 1, true); }
void TSpeedBar::SetBtnOffsetVert(int value) { SetOffset(offset_.Y, value, 2, false); }

void TSpeedBar::SetOffset(int& offset, int value, int scaleFlag, bool horizontal) {
    value = std::max(value, MinButtonsOffset());
    scaleFlags_ |= scaleFlag;
    if (value == offset)
        return;
    const int delta = value - offset;
    offset = value;
    MoveItems(horizontal ? delta : 0, horizontal ? 0 : delta);
}

void TSpeedBar::SetBtnWidth(int value) { SetButtonSize(btnSize_.X, value, 4); }
void TSpeedBar::SetBtnHeight(int value) { SetButtonSize(btnSize_.Y, value, 8); }

void TSpeedBar::SetButtonSize(int& size, int value, int scaleFlag) {
    scaleFlags_ |= scaleFlag;
    size = value;
    UpdateGridStep();
    if (!loading_) {
        // A row of buttons fits across the bar.
        if (Orientation() == boHorizontal)
            resize(width(), std::max(height(), 2 * offset_.Y + btnSize_.Y));
        else
            resize(std::max(width(), 2 * offset_.X + btnSize_.X), height());
    }
    ResizeItemButtons();
    NotifyCustomizer(SBR_BTNSIZECHANGED, this);
}

void TSpeedBar::SetOptions(TSpeedbarOptions value) {
    if (value == options_)
        return;
    const bool flatChanged = value.Contains(sbFlatBtns) != options_.Contains(sbFlatBtns);
    options_ = value;
    ApplyOptionsToButtons();
    UpdateGridStep();
    if (flatChanged)
        RealignControls();  // the smallest offset depends on it
    update();
}

void TSpeedBar::SetBoundLines(TBoundLines value) {
    if (value == boundLines_)
        return;
    boundLines_ = value;
    FrameChanged();
}

void TSpeedBar::SetImages(TImageList* images) {
    images_ = images;
    ImagesChanged();
}

void TSpeedBar::ImagesChanged() {
    ForEachItem([](TSpeedItem* item) {
        item->button_->ButtonGlyph().Invalidate();
        if (item->ImageIndex() >= 0)
            item->button_->update();
    });
}

void TSpeedBar::SetBevelOuter(TBevelCut value) {
    bevelOuter_ = value;
    FrameChanged();
}

void TSpeedBar::SetBevelInner(TBevelCut value) {
    bevelInner_ = value;
    FrameChanged();
}

void TSpeedBar::SetBevelWidth(int value) {
    bevelWidth_ = std::max(1, value);
    FrameChanged();
}

void TSpeedBar::SetBorderWidth(int value) {
    borderWidth_ = std::max(0, value);
    FrameChanged();
}

// The room left for the children and the buttons' smallest offset follow the frame.
void TSpeedBar::FrameChanged() {
    RealignControls();
    update();
}

void TSpeedBar::SetColor(TColor value) {
    color_ = value;
    update();
}

TFormPlacement* TSpeedBar::IniStorage() const { return iniLink_->Storage(); }
void TSpeedBar::SetIniStorage(TFormPlacement* storage) { iniLink_->SetStorage(storage); }

int TSpeedBar::BevelsWidth() const {
    return borderWidth_ + (bevelOuter_ != bvNone ? bevelWidth_ : 0) + (bevelInner_ != bvNone ? bevelWidth_ : 0);
}

int TSpeedBar::MinButtonsOffset() const { return BevelsWidth() + (options_.Contains(sbFlatBtns) ? 0 : 2); }

void TSpeedBar::UpdateGridStep() {
    if (Orientation() == boHorizontal)
        gridStep_ = {SpeedbarGridStep(btnSize_.X), btnSize_.Y};
    else
        gridStep_ = {btnSize_.X, SpeedbarGridStep(btnSize_.Y)};
}

void TSpeedBar::MoveItems(int dx, int dy) {
    ForEachItem([&](TSpeedItem* item) {
        TSpeedbarButton* b = item->button_;
        b->PlaceAt(b->x() + dx, b->y() + dy, b->width(), b->height());
    });
}

void TSpeedBar::ResizeItemButtons() {
    ForEachItem([this](TSpeedItem* item) { item->button_->resize(BtnWidth(), BtnHeight()); });
}

void TSpeedBar::ApplyOptionsToButtons() {
    ForEachItem([this](TSpeedItem* item) {
        item->button_->SetFlat(options_.Contains(sbFlatBtns));
        item->button_->SetTransparent(options_.Contains(sbTransparentBtns));
        item->button_->SetGrayedInactive(options_.Contains(sbGrayedBtns));
    });
}

void TSpeedBar::ApplyItemVisibility() {
    ForEachItem([this](TSpeedItem* item) {
        const bool shown = item->Visible() && !isHidden();
        if (shown && item->button_->parentWidget() != this)
            item->button_->setParent(this);
        item->button_->setVisible(shown);
    });
}

void TSpeedBar::ApplyItemEnabled() {
    ForEachItem([this](TSpeedItem* item) {
        if (!item->Editing())
            item->button_->SetEnabled(item->Enabled() && isEnabled());
    });
}

void TSpeedBar::setVisible(bool visible) {
    QWidget::setVisible(visible);
    if (!loading_)
        ApplyItemVisibility();
    if (OnVisibleChanged)
        OnVisibleChanged(this);
}

void TSpeedBar::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    if (event->type() == QEvent::EnabledChange && !loading_)
        ApplyItemEnabled();
}

// ---- reading from a form

void TSpeedBar::Loaded() {
    loading_ = false;
    if (internalVer_ == 0 && alignNoneLoaded_)
        SetAlign(alTop);
    UpdateGridStep();
    ResizeItemButtons();
    ApplyItemVisibility();
}

void TSpeedBar::DefineProperties(TFiler& filer) {
    filer.DefineProperty(
        "Sections",
        [this](TReader& reader) {
            reader.ReadListBegin();
            while (!reader.EndOfList()) {
                const std::string caption = reader.ReadString();
                if (SearchSection(caption) < 0)
                    AppendSection(caption);
            }
            reader.ReadListEnd();
        },
        nullptr, false);
    filer.DefineProperty("NewStyle", [](TReader& reader) { reader.ReadBoolean(); }, nullptr, false);
    filer.DefineProperty(
        "InternalVer", [this](TReader& reader) { internalVer_ = reader.ReadInteger(); },
        [](TWriter& writer) { writer.WriteInteger(1); }, true);
    filer.DefineProperty(
        "AllowDrag", [this](TReader& reader) { options_.Set(sbAllowDrag, reader.ReadBoolean()); }, nullptr, false);
}

void TSpeedBar::ChangeScale(int m, int d) {
    if (d == 0)
        return;
    QWidget* parent = parentWidget();
    if (parent)
        DisableAlign(parent);
    const int flags = loading_ ? scaleFlags_ : 0xF;
    const auto scale = [m, d](int v) { return static_cast<int>((static_cast<int64_t>(v) * m + d / 2) / d); };
    if (flags & 4)
        btnSize_.X = scale(btnSize_.X);
    if (flags & 8)
        btnSize_.Y = scale(btnSize_.Y);
    if (flags & 1)
        offset_.X = scale(offset_.X);
    if (flags & 2)
        offset_.Y = scale(offset_.Y);
    UpdateGridStep();
    // The panel itself and the controls on it scale as any window's do.
    const auto scaled = [&scale](const QRect& r) {
        return QRect(scale(r.x()), scale(r.y()), scale(r.width()), scale(r.height()));
    };
    setGeometry(scaled(geometry()));
    for (QWidget* child : findChildren<QWidget*>(Qt::FindDirectChildrenOnly))
        child->setGeometry(scaled(child->geometry()));
    ResizeItemButtons();
    ForEachItem([this](TSpeedItem* item) {
        if (!item->Visible())
            return;
        const TPoint p = SnapToGrid({item->Left(), item->Top()}, Orientation(), offset_, gridStep_);
        item->button_->PlaceAt(p.X, p.Y, BtnWidth(), BtnHeight());
    });
    scaleFlags_ = 0;
    if (parent)
        EnableAlign(parent);
}

// ---- alignment and painting

void TSpeedBar::RealignControls() {
    TRect area = InnerRect();
    if (boundLines_.Contains(blTop))
        area.Top += 2;
    if (boundLines_.Contains(blBottom))
        area.Bottom -= 2;
    if (boundLines_.Contains(blLeft))
        area.Left += 2;
    if (boundLines_.Contains(blRight))
        area.Right -= 2;
    AlignChildren(this, area);
    const int least = MinButtonsOffset();
    const TPoint before = offset_;
    offset_.X = std::max(offset_.X, least);
    offset_.Y = std::max(offset_.Y, least);
    if (!loading_ && offset_ != before)
        MoveItems(offset_.X - before.X, offset_.Y - before.Y);
}

void TSpeedBar::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    RealignControls();
}

void TSpeedBar::childEvent(QChildEvent* event) {
    QWidget::childEvent(event);
    if (event->type() == QEvent::ChildPolished || event->type() == QEvent::ChildRemoved)
        RealignControls();
}

TRect TSpeedBar::InnerRect() const {
    const int b = BevelsWidth();
    return {b, b, width() - b, height() - b};
}

namespace {

void PanelBevel(TCanvas& canvas, TRect& r, TBevelCut cut, int width) {
    if (cut == bvNone)
        return;
    const bool raised = cut == bvRaised;
    Frame3D(canvas, r, raised ? clBtnHighlight : clBtnShadow, raised ? clBtnShadow : clBtnHighlight, width);
}

void Line(TCanvas& canvas, TColor color, int x1, int y1, int x2, int y2) {
    canvas.Pen().SetColor(color);
    canvas.MoveTo(x1, y1);
    canvas.LineTo(x2, y2);
}

} // namespace

void TSpeedBar::paintEvent(QPaintEvent*) {
    if (paintLock_ > 0)
        return;
    TCanvas canvas;
    TWidgetPaint paint(canvas, this);
    TRect r{0, 0, width(), height()};
    canvas.Brush().SetColor(color_);
    canvas.FillRect(r);
    PanelBevel(canvas, r, bevelOuter_, bevelWidth_);
    if (borderWidth_ > 0)
        Frame3D(canvas, r, color_, color_, borderWidth_);
    PanelBevel(canvas, r, bevelInner_, bevelWidth_);

    const TRect inner = InnerRect();
    const QImage& picture = wallpaper_.Graphic();
    if (!picture.isNull() && picture.width() > 0 && picture.height() > 0) {
        canvas.SetClipRect(inner);
        if (options_.Contains(sbStretchBitmap)) {
            canvas.StretchDraw(inner, picture);
        } else {
            const int b = BevelsWidth();
            for (int col = 0; col <= (width() - 2 * b) / picture.width(); ++col)
                for (int row = 0; row <= (height() - 2 * b) / picture.height(); ++row)
                    canvas.Draw(inner.Left + col * picture.width(), inner.Top + row * picture.height(), picture);
        }
        canvas.ResetClip();
    }

    const auto [L, T, R, B] = inner;
    if (boundLines_.Contains(blTop)) {
        Line(canvas, clBtnShadow, L, T, R, T);
        Line(canvas, clBtnHighlight, L, T + 1, R, T + 1);
    }
    if (boundLines_.Contains(blLeft)) {
        Line(canvas, clBtnShadow, L, T, L, B);
        Line(canvas, clBtnHighlight, L + 1, boundLines_.Contains(blTop) ? T + 1 : T, L + 1, B);
    }
    if (boundLines_.Contains(blBottom)) {
        Line(canvas, clBtnShadow, L, B - 2, R, B - 2);
        Line(canvas, clBtnHighlight, L, B - 1, R, B - 1);
    }
    if (boundLines_.Contains(blRight)) {
        Line(canvas, clBtnShadow, R - 2, T, R - 2, boundLines_.Contains(blBottom) ? B - 1 : B);
        Line(canvas, clBtnHighlight, R - 1, T, R - 1, B);
    }
}

} // namespace zeko
