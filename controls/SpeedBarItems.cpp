// The sections and items of a speed bar and the buttons the items show.
#include "controls/SpeedBar.h"

#include <algorithm>

namespace zeko {

// ---------------------------------------------------------------- TSpeedbarSection

TSpeedbarSection::TSpeedbarSection(QObject* owner) : QObject(owner) {}

TSpeedbarSection::~TSpeedbarSection() {
    while (!items_.empty()) {
        TSpeedItem* item = items_.back();
        delete item;  // leaves the bar, and with it this section
        std::erase(items_, item);
    }
    if (bar_)
        std::erase(bar_->sections_, this);
    bar_ = nullptr;
    caption_.clear();
}

void TSpeedbarSection::SetCaption(const std::string& value) {
    if (bar_ && !bar_->Loading()) {
        const int other = bar_->SearchSection(value);
        if (other >= 0 && bar_->Sections(other) != this)
            throw ESpeedbarError("String list does not allow duplicates");
    }
    caption_ = value;
}

int TSpeedbarSection::Index() const {
    if (bar_ == nullptr)
        return -1;
    const auto& sections = bar_->sections_;
    return static_cast<int>(std::find(sections.begin(), sections.end(), this) - sections.begin());
}

void TSpeedbarSection::SetIndex(int value) {
    if (bar_)
        bar_->MoveSection(this, std::clamp(value, 0, bar_->SectionCount() - 1));
}

void TSpeedbarSection::SetSpeedBar(TSpeedBar* bar) {
    const int index = Index();
    if (bar_)
        bar_->RemoveSection(index);
    if (bar) {
        bar->AddSection(this);
        if (index >= 0)
            SetIndex(index);
    }
}

// ---------------------------------------------------------------- TSpeedbarButton

TSpeedbarButton::TSpeedbarButton(TSpeedItem* item) : item_(item) {
    hide();
    SetStyle(bsNew);
    SetShowHint(true);
}

void TSpeedbarButton::PlaceAt(int left, int top, int width, int height) {
    if (TSpeedBar* bar = item_->SpeedBar()) {
        if (bar->Orientation() == boHorizontal)
            top = std::max(top, bar->BtnOffsetVert());
        else
            left = std::max(left, bar->BtnOffsetHorz());
    }
    setGeometry(left, top, width, height);
}

void TSpeedbarButton::PaintGlyph(TCanvas& canvas, const TRect& r, bool drawMark, TGlyphState state) {
    TSpeedBar* bar = item_->SpeedBar();
    if (bar == nullptr) {
        TZcSpeedButton::PaintGlyph(canvas, r, drawMark, state);
        return;
    }
    ButtonGlyph().DrawEx(canvas, r, Caption(), Layout(), Margin(), Spacing(), drawMark, bar->Images(),
                         item_->ImageIndex(), state, AlignmentTextFlags(Alignment()));
}

// ---------------------------------------------------------------- TSpeedItem

TSpeedItem::TSpeedItem(QObject* owner) : QObject(owner), button_(new TSpeedbarButton(this)) {
    button_->OnClick = [this](TGraphicControl*) { ButtonClick(); };
}

TSpeedItem::~TSpeedItem() {
    visible_ = false;
    if (bar_)
        bar_->RemoveItem(this);
    delete button_;
    caption_.clear();
}

void TSpeedItem::SetName(const std::string& value) {
    if (caption_ == name_)
        SetCaption(value);
    name_ = value;
    setObjectName(QString::fromStdString(value));
}

const std::string& TSpeedItem::Hint() const { return button_->Hint(); }
void TSpeedItem::SetHint(const std::string& value) { button_->SetHint(value); }

bool TSpeedItem::KeepsHintInStep() const {
    const auto* ownerControl = qobject_cast<const QWidget*>(parent());
    if (ownerControl == nullptr)
        return true;
    const std::string& hint = Hint();
    return caption_ == hint.substr(0, hint.find('|'));
}

namespace {
// The parts of a hint before and after its first "|".
std::string ShortPart(const std::string& hint) { return hint.substr(0, hint.find('|')); }
std::string LongPart(const std::string& hint) {
    const size_t bar = hint.find('|');
    return bar == std::string::npos ? "" : hint.substr(bar + 1);
}
} // namespace

void TSpeedItem::SetCaption(const std::string& value) {
    const bool inStep = KeepsHintInStep();
    const std::string oldHint = Hint();
    caption_ = value;
    if (!inStep)
        return;
    if (value.find('|') != std::string::npos)
        SetHint(LongPart(value).empty() ? ShortPart(value) + "|" + LongPart(oldHint) : value);
    else
        SetHint(value + "|" + LongPart(oldHint));
}

void TSpeedItem::SetEnabled(bool value) {
    if (button_->Enabled() == value && enabled_ == value)
        return;
    enabled_ = value;
    if (editing_)
        return;
    button_->SetEnabled(bar_ && value ? bar_->isEnabled() : value);
}

void TSpeedItem::SetVisible(bool value) {
    if (!button_->isHidden() == value && visible_ == value && (!value || button_->parentWidget() != nullptr))
        return;
    visible_ = value;
    if (value && bar_ && button_->parentWidget() != bar_)
        button_->setParent(bar_);
    button_->setVisible(bar_ ? value && !bar_->isHidden() && button_->parentWidget() != nullptr : false);
}

void TSpeedItem::SetImageIndex(int value) {
    if (value == imageIndex_)
        return;
    imageIndex_ = value;
    button_->ButtonGlyph().Invalidate();
    button_->update();
}

void TSpeedItem::SetTag(int value) { tag_ = value; }

int TSpeedItem::Left() const { return button_->x(); }
int TSpeedItem::Top() const { return button_->y(); }
void TSpeedItem::SetLeft(int value) { button_->PlaceAt(value, Top(), button_->width(), button_->height()); }
void TSpeedItem::SetTop(int value) { button_->PlaceAt(Left(), value, button_->width(), button_->height()); }

void TSpeedItem::SetEditing(bool value) {
    editing_ = value;
    if (value) {
        button_->SetEnabled(true);
        button_->SetFlat(false);
        return;
    }
    button_->SetEnabled(bar_ && enabled_ ? bar_->isEnabled() : enabled_);
    if (bar_)
        button_->SetFlat(bar_->Options().Contains(sbFlatBtns));
}

void TSpeedItem::SetSpeedBar(TSpeedBar* bar) {
    if (bar_)
        bar_->RemoveItem(this);
    if (bar == nullptr)
        return;
    if (const int named = bar->SearchSection(sectionName_); named >= 0)
        section_ = named;
    bar->AddItem(std::max(section_, 0), this);
}

void TSpeedItem::ReadFromForm(TSpeedBar* bar) {
    if (!sectionName_.empty())
        section_ = bar->SearchSection(sectionName_);
    bar->AddItem(std::max(section_, 0), this);
}

void TSpeedItem::ButtonClick() {
    if (OnClick)
        OnClick(this);
}

void TSpeedItem::DefineProperties(TFiler& filer) {
    filer.DefineProperty("Section", [this](TReader& reader) { section_ = reader.ReadInteger(); }, nullptr, false);
    filer.DefineProperty(
        "SectionName", [this](TReader& reader) { sectionName_ = reader.ReadString(); },
        [this](TWriter& writer) {
            writer.WriteString(bar_ && section_ >= 0 ? bar_->Sections(section_)->Caption() : sectionName_);
        },
        true);
}

} // namespace zeko
