// The combo edit: its button, its glyph kinds and the drop-down's opening and
// closing. The drop-down window is in ToolEditPopup.cpp, the date edit in
// ToolEditDate.cpp.
#include "controls/ToolEdit.h"

#include "controls/PickDate.h"
#include "platform/qt/Grids.h"

#include <QScreen>

#include <algorithm>

namespace zeko {
namespace {

constexpr int DefaultButtonSize = 21;
constexpr int HolderStartHeight = 17;
constexpr int EditStartWidth = 121;
constexpr int EditHeight = 21;
constexpr int GlyphMargin = 6;  // room around a glyph in the button

// The combo box's arrow: a 7 × 4 black triangle pointing down on white.
QImage DropDownArrow() {
    QImage image(7, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    for (int row = 0; row < 4; ++row)
        for (int x = row; x < 7 - row; ++x)
            image.setPixel(x, row, qRgb(0, 0, 0));
    return image;
}

// Three 2 × 2 black squares on white, spread over the button's width.
QImage EllipsisDots(int buttonWidth) {
    const int width = std::max(1, buttonWidth - GlyphMargin);
    QImage image(width, 4, QImage::Format_RGB32);
    image.fill(Qt::white);
    const int gap = std::clamp((width - 6) / 2, 1, 3);
    const int indent = (width - 6 - 2 * gap) / 2;
    for (int x : {indent, indent + gap + 2, indent + 2 * gap + 4})
        for (int dx = 0; dx < 2; ++dx)
            for (int dy = 1; dy < 3; ++dy)
                if (x + dx >= 0 && x + dx < width)
                    image.setPixel(x + dx, dy, qRgb(0, 0, 0));
    return image;
}

} // namespace

TShortCut ShortCut(uint16_t key, TShiftState shift) {
    TShortCut result = key & 0x1FFF;
    if (shift.Contains(ssShift))
        result |= scShift;
    if (shift.Contains(ssCtrl))
        result |= scCtrl;
    if (shift.Contains(ssAlt))
        result |= scAlt;
    return result;
}

TPoint PopupPosition(const TRect& edit, TSize popup, const TRect& screen, TPopupAlign align) {
    int y = edit.Bottom;
    if (y + popup.cy > screen.Bottom)
        y = edit.Top - popup.cy;
    const int overhang = popup.cx - edit.Width();
    int x = edit.Left;
    if (align == epaRight) {
        x -= overhang;
        if (x < screen.Left)
            x += overhang;
    } else if (x + popup.cx > screen.Right) {
        x -= overhang;
    }
    x = std::max(x, screen.Left);
    if (x + popup.cx > screen.Right)
        x = screen.Right - popup.cx;
    y = std::max(y, screen.Top);
    return {x, y};
}

// ---------------------------------------------------------------- TEditButton

TEditButton::TEditButton(TCustomComboEdit* edit, QWidget* parent) : TZcSpeedButton(parent), edit_(edit) {}

void TEditButton::Paint() {
    TZcSpeedButton::Paint();
    if (State() == gsDown)
        return;
    // The edit's inner border line runs on through the button.
    TCanvas& c = Canvas();
    c.Pen().SetStyle(psSolid);
    c.Pen().SetColor(clBtnFace);
    c.MoveTo(0, 0);
    c.LineTo(0, Height() - 1);
    c.Pen().SetColor(clBtnHighlight);
    c.MoveTo(1, 1);
    c.LineTo(1, Height() - 2);
}

void TEditButton::MouseDown(TMouseButton button, TShiftState shift, int x, int y) {
    if (button == mbLeft) {
        noAction_ = edit_->PopupVisible();
        if (noAction_)
            edit_->PopupCloseUp(edit_->Popup(), true);
        else if (edit_->TabStop() && edit_->CanFocus() && !edit_->hasFocus())
            edit_->setFocus(Qt::MouseFocusReason);
    }
    TZcSpeedButton::MouseDown(button, shift, x, y);
}

void TEditButton::Click() {
    if (noAction_) {
        noAction_ = false;
        return;
    }
    TZcSpeedButton::Click();
}

// ---------------------------------------------------------------- TCustomComboEdit

TCustomComboEdit::TCustomComboEdit(QWidget* parent) : TCustomMaskEdit(parent) {
    resize(EditStartWidth, EditHeight);
    holder_ = new QWidget(this);
    holder_->resize(DefaultButtonSize, HolderStartHeight);
    button_ = new TEditButton(this, holder_);
    button_->SetBounds(0, 0, DefaultButtonSize, HolderStartHeight);
    button_->OnClick = [this](TGraphicControl*) { DoButtonClick(); };
    holder_->show();
    button_->show();
    LayoutButton();
}

TCustomComboEdit::~TCustomComboEdit() { button_->OnClick = nullptr; }

void TCustomComboEdit::SetButtonHint(const std::string& hint) {
    button_->SetHint(hint);
    button_->SetShowHint(!hint.empty());
}

void TCustomComboEdit::SetButtonWidth(int width) {
    if (width == ButtonWidth())
        return;
    holder_->setVisible(width > 1);
    if (width >= ClientWidth())
        return;
    button_->resize(std::max(0, width), button_->Height());
    RecreateGlyph();
    LayoutButton();
}

void TCustomComboEdit::SetDirectInput(bool value) {
    directInput_ = value;
    UpdateInnerReadOnly();
}

void TCustomComboEdit::SetReadOnly(bool value) {
    if (value == readOnly_)
        return;
    readOnly_ = value;
    UpdateInnerReadOnly();
}

void TCustomComboEdit::UpdateInnerReadOnly() { QLineEdit::setReadOnly(readOnly_ || !directInput_); }

void TCustomComboEdit::SelectAll() {
    if (directInput_)
        TCustomMaskEdit::SelectAll();
}

// ---- glyph

void TCustomComboEdit::SetGlyph(const QImage& picture) {
    button_->SetGlyph(picture);
    glyphKind_ = gkCustom;
}

void TCustomComboEdit::SetNumGlyphs(int value) {
    switch (glyphKind_) {
    case gkDropDown:
    case gkEllipsis: button_->SetNumGlyphs(1); break;
    case gkDefault: button_->SetNumGlyphs(defaultNumGlyphs_); break;
    case gkCustom: button_->SetNumGlyphs(value); break;
    }
}

void TCustomComboEdit::SetGlyphKind(TGlyphKind kind) {
    if (kind == glyphKind_)
        return;
    glyphKind_ = kind;
    RecreateGlyph();
    if (kind == gkDefault && !button_->Glyph().Empty())
        SetButtonWidth(std::max(button_->Glyph().Width() / std::max(1, NumGlyphs()) + GlyphMargin, ButtonWidth()));
    else if (kind == gkDropDown)
        SetButtonWidth(GetScrollBarWidth());
}

void TCustomComboEdit::RecreateGlyph() {
    switch (glyphKind_) {
    case gkDefault:
        button_->SetGlyph(GetDefaultBitmap());
        button_->SetNumGlyphs(defaultNumGlyphs_);
        break;
    case gkDropDown:
        button_->SetGlyph(DropDownArrow());
        button_->SetNumGlyphs(1);
        break;
    case gkEllipsis:
        button_->SetGlyph(EllipsisDots(ButtonWidth()));
        button_->SetNumGlyphs(1);
        break;
    case gkCustom: break;
    }
}

// ---- layout

void TCustomComboEdit::LayoutButton() {
    const int width = button_->Width();
    if (hasFrame()) {
        // Inside the 3-D border, over the whole height of the client area.
        const int b = BorderWidth();
        holder_->setGeometry(b + ClientWidth() - width, b, width, ClientHeight());
    } else {
        holder_->setGeometry(Width() - width, 0, width, Height());
    }
    button_->resize(width, holder_->height());
    SetEditRect({0, 0, ClientWidth() - holder_->width() - 2, ClientHeight() + 1});
}

void TCustomComboEdit::Resized() {
    if (RaiseToMinHeight())
        return;
    LayoutButton();
}

// ---- drop-down

bool TCustomComboEdit::PopupVisible() const { return popup_ && popupVisible_; }

void TCustomComboEdit::UpdatePopupVisible() { popupVisible_ = popup_ && popup_->Visible(); }

void TCustomComboEdit::DoButtonClick() {
    if (!readOnly_)
        ButtonClick();
}

void TCustomComboEdit::ButtonClick() {
    if (OnButtonClick)
        OnButtonClick(this);
    if (!popup_)
        return;
    if (PopupVisible())
        PopupCloseUp(popup_, true);
    else
        PopupDropDown(true);
}

void TCustomComboEdit::PopupDropDown(bool disableEdit) {
    if (!popup_ || GetReadOnly() || PopupVisible())
        return;
    const QPoint corner = mapToGlobal(QPoint(0, 0));
    const TPoint origin = PopupPosition(Bounds(corner.x(), corner.y(), width(), height()),
                                        {popup_->width(), popup_->height()},
                                        FromQRect(screen()->availableGeometry()), popupAlign_);
    const std::string text = Text();
    SetPopupValue(text.empty() ? TPopupValue{} : TPopupValue{text});
    EnablePopupCalendarButtons(popup_, popupButtons_);
    if (CanFocus())
        setFocus(Qt::OtherFocusReason);
    ShowPopup(origin);
    popupVisible_ = true;
    if (disableEdit)
        QLineEdit::setReadOnly(true);
}

void TCustomComboEdit::PopupCloseUp(TPopupWindow* sender, bool accept) {
    if (!PopupVisible())
        return;
    try {
        TPopupValue value = GetPopupValue();
        HidePopup();
        if (CanFocus())
            setFocus(Qt::OtherFocusReason);
        UpdateInnerReadOnly();
        update();
        if (accept && AcceptPopup(value) && !readOnly_) {
            AcceptValue(value);
            if (hasFocus())
                SelectAll();
        }
    } catch (...) {
        popupVisible_ = false;
        throw;
    }
    popupVisible_ = false;
}

void TCustomComboEdit::ShowPopup(TPoint origin) {
    if (popup_)
        popup_->Show(origin);
}

void TCustomComboEdit::HidePopup() {
    if (popup_)
        popup_->Hide();
}

TPopupValue TCustomComboEdit::GetPopupValue() { return popup_ ? popup_->GetValue() : TPopupValue{std::string()}; }

void TCustomComboEdit::SetPopupValue(const TPopupValue& value) {
    if (popup_)
        popup_->SetValue(value);
}

void TCustomComboEdit::AcceptValue(const TPopupValue& value) {
    const std::string text = PopupValueText(value);
    if (Text() == text)
        return;
    SetText(text);
    SetModified(true);
    UpdatePopupVisible();
    Change();
}

// ---- events

void TCustomComboEdit::Change() {
    if (PopupVisible())
        PopupChange();
    else
        TCustomMaskEdit::Change();
}

void TCustomComboEdit::KeyDown(uint16_t& key, TShiftState shift) {
    TCustomMaskEdit::KeyDown(key, shift);
    if (key != 0 && ButtonWidth() > 0 && ShortCut(key, shift) == clickKey_) {
        DoButtonClick();
        key = 0;
    }
}

void TCustomComboEdit::KeyPress(char32_t& key) {
    if (key == CH_RETURN || key == CH_ESCAPE) {
        if (PopupVisible()) {
            PopupCloseUp(popup_, key == CH_RETURN);
            key = 0;
            return;
        }
        // The form's default and cancel buttons answer these keys.
        PassToForm();
    }
    TCustomMaskEdit::KeyPress(key);
    if (key == CH_RETURN)
        key = 0;
}

void TCustomComboEdit::DoExit() {
    if (PopupVisible())
        PopupCloseUp(popup_, false);
    TCustomMaskEdit::DoExit();
}

} // namespace zeko
