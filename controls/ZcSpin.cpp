// The spin edit: value, limits, steps, the characters it takes and its button.
#include "controls/ZcSpin.h"

#include "platform/FormatSettings.h"
#include "platform/qt/Grids.h"


#include <algorithm>
#include <cmath>

namespace zeko {

namespace {

// Fixed notation with 15 significant digits at most: a value with more whole
// digits than that is written in the general format.
std::string FixedText(double value, int decimals) {
    constexpr double FifteenDigits = 1e15;
    constexpr int MostDecimals = 18;
    if (std::fabs(value) >= FifteenDigits)
        return FloatToStr(value);
    return FormatFixed(value, std::min(decimals, MostDecimals));
}

std::string Upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z')
            c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// Rounds half to even, held inside the range of a 64-bit integer.
int64_t RoundToInteger(double value) {
    constexpr double Limit = 9.2e18;
    return Round(std::clamp(value, -Limit, Limit));
}

} // namespace

TZcSpinEdit::TZcSpinEdit(QWidget* parent) : TCustomEdit(parent) {
    resize(121, 21);
    SetText("0");
    RecreateButton();
    ResizeButton();
    UpdateEditRect();
}

TZcSpinEdit::~TZcSpinEdit() { changing_ = true; }

// ---- value

double TZcSpinEdit::CheckValue(double value) const {
    if (minValue_ == maxValue_)
        return value;
    return value < minValue_ ? minValue_ : value > maxValue_ ? maxValue_ : value;
}

double TZcSpinEdit::Value() const {
    const std::string text = Text();
    if (valueType_ == vtFloat) {
        double value = 0;
        return TryStrToFloat(text, value) ? value : minValue_;
    }
    int64_t value = 0;
    return TryStrToInt(text, value) ? static_cast<double>(value) : std::trunc(minValue_);
}

void TZcSpinEdit::SetValue(double value) {
    value = CheckValue(value);
    SetText(valueType_ == vtFloat ? FixedText(value, decimal_) : IntToStr(RoundToInteger(value)));
}

void TZcSpinEdit::SetValueType(TValueType value) {
    if (value == valueType_)
        return;
    const double kept = Value();
    valueType_ = value;
    SetValue(kept);
    if (valueType_ == vtInteger) {
        increment_ = static_cast<double>(RoundToInteger(increment_));
        if (increment_ == 0)
            increment_ = 1;
    }
}

void TZcSpinEdit::SetDecimal(uint8_t value) {
    if (value == decimal_)
        return;
    decimal_ = value;
    SetValue(Value());
}

void TZcSpinEdit::Change() {
    if (!changing_)
        TCustomEdit::Change();
}

// ---- steps

void TZcSpinEdit::Step(double delta, const std::function<void(TZcSpinEdit*)>& after) {
    if (ReadOnly()) {
        MessageBeep();
        return;
    }
    changing_ = true;
    const QString before = text();
    try {
        SetValue(Value() + delta);
    } catch (...) {
        changing_ = false;
        throw;
    }
    changing_ = false;
    if (text().compare(before, Qt::CaseInsensitive) != 0) {
        SetModified(true);
        Change();
    }
    if (after)
        after(this);
}

void TZcSpinEdit::UpClick() { Step(increment_, OnTopClick); }

void TZcSpinEdit::DownClick() { Step(-increment_, OnBottomClick); }

// ---- keys

bool TZcSpinEdit::IsValidChar(char32_t key) const {
    const bool control = key < 32;
    if (!editorEnabled_)
        return control && key != CH_BACK;
    if (control || key == '+' || key == '-' || (key >= '0' && key <= '9'))
        return true;
    if (valueType_ != vtFloat)
        return false;
    const std::string text = Text();
    const char separator = FormatSettings().DecimalSeparator;
    if (key == static_cast<unsigned char>(separator))
        return text.find(separator) == std::string::npos;
    if (key == 'e' || key == 'E')
        return Upper(text).find('E') == std::string::npos;
    return false;
}

void TZcSpinEdit::KeyPress(char32_t& key) {
    if (!IsValidChar(key)) {
        key = 0;
        MessageBeep();
        return;
    }
    TCustomEdit::KeyPress(key);
    if (key == CH_RETURN || key == CH_ESCAPE) {
        // The form's default and cancel buttons answer these keys.
        PassToForm();
        if (key == CH_RETURN)
            key = 0;
    }
}

void TZcSpinEdit::KeyDown(uint16_t& key, TShiftState shift) {
    TCustomEdit::KeyDown(key, shift);
    if (!arrowKeys_ || (key != VK_UP && key != VK_DOWN))
        return;
    const bool up = key == VK_UP;
    if (upDown_)
        upDown_->ClickButton(up ? btNext : btPrev);
    else if (up)
        UpClick();
    else
        DownClick();
    key = 0;
}

void TZcSpinEdit::DoExit() {
    const double value = Value();
    if (CheckValue(value) != value)
        SetValue(value);
    TCustomEdit::DoExit();
}

// ---- button

void TZcSpinEdit::SetArrowKeys(bool value) {
    arrowKeys_ = value;
    ResizeButton();
}

void TZcSpinEdit::SetButtonKind(TSpinButtonKind value) {
    const TSpinButtonKind old = buttonKind_;
    buttonKind_ = value;
    if (old == value)
        return;
    RecreateButton();
    ResizeButton();
    UpdateEditRect();
}

int TZcSpinEdit::ButtonWidth() const {
    if (upDown_)
        return upDown_->width();
    if (button_)
        return button_->width();
    return std::min(GetScrollBarWidth(), 15);
}

void TZcSpinEdit::RecreateButton() {
    delete button_;
    button_ = nullptr;
    delete upDown_;
    upDown_ = nullptr;
    if (buttonKind_ == bkStandard) {
        upDown_ = new TZcUpDown(this);
        upDown_->OnClick = [this](TZcUpDown*, TUDBtnType button) {
            if (TabStop() && CanFocus())
                setFocus(Qt::MouseFocusReason);
            if (button == btNext)
                UpClick();
            else
                DownClick();
        };
        upDown_->resize(std::min(GetScrollBarWidth(), 15), height());
        upDown_->show();
    } else {
        button_ = new TZcSpinButton(this);
        button_->SetFocusControl(this);
        button_->OnTopClick = [this](TZcSpinButton*) { UpClick(); };
        button_->OnBottomClick = [this](TZcSpinButton*) { DownClick(); };
        button_->show();
    }
}

void TZcSpinEdit::ResizeButton() {
    const int b = BorderWidth();
    if (upDown_) {
        const int w = std::min(GetScrollBarWidth(), 15);
        upDown_->setGeometry(b + ClientWidth() - w, b, w, ClientHeight());
    } else if (button_) {
        const int w = Width();
        const int h = Height();
        // Inside a 3-D border the button covers the border's inner line.
        if (hasFrame())
            button_->setGeometry(b + w - h - 1, b - 1, h - 3, h - 3);
        else
            button_->setGeometry(w - h, 0, h, h);
    }
}

void TZcSpinEdit::UpdateEditRect() { SetEditRect({0, 0, ClientWidth() - ButtonWidth() - 2, ClientHeight() + 1}); }

void TZcSpinEdit::Resized() {
    if (RaiseToMinHeight())
        return;
    ResizeButton();
    UpdateEditRect();
}

} // namespace zeko
