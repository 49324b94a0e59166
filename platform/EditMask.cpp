#include "platform/EditMask.h"

#include "platform/FormatSettings.h"
#include "platform/Utf8.h"

namespace zeko {
namespace {

constexpr char32_t FieldSeparator = U';';
constexpr char32_t NoSaveLiterals = U'0';

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }
bool IsLetter(char32_t c) { return LowerChar(c) != UpperChar(c); }

} // namespace

TEditMask::TEditMask(const std::string& mask) {
    const std::u32string m = Utf8ToUtf32(mask);
    size_t i = 0;
    Case letterCase = Case::Kept;
    for (; i < m.size() && m[i] != FieldSeparator; ++i) {
        const char32_t c = m[i];
        switch (c) {
        case U'!': break;
        case U'9': places_.push_back({Kind::OptionalDigit, 0}); break;
        case U'0': places_.push_back({Kind::RequiredDigit, 0}); break;
        case U'l': places_.push_back({Kind::OptionalLetter, 0, letterCase}); break;
        case U'L': places_.push_back({Kind::RequiredLetter, 0, letterCase}); break;
        case U'>': letterCase = Case::Upper; break;
        case U'<':
            if (i + 1 < m.size() && m[i + 1] == U'>') {
                letterCase = Case::Kept;
                ++i;
            } else {
                letterCase = Case::Lower;
            }
            break;
        case U'/':
            places_.push_back({Kind::Literal, static_cast<unsigned char>(FormatSettings().DateSeparator)});
            break;
        case U':':
            places_.push_back({Kind::Literal, static_cast<unsigned char>(FormatSettings().TimeSeparator)});
            break;
        case U'\\':
            if (i + 1 < m.size())
                ++i;
            places_.push_back({Kind::Literal, m[i]});
            break;
        default: places_.push_back({Kind::Literal, c}); break;
        }
    }
    // ";literals;blank" after the mask; either may be missing.
    if (i + 1 < m.size() && m[i + 1] != FieldSeparator)
        saveLiterals_ = m[i + 1] != NoSaveLiterals;
    const size_t second = m.find(FieldSeparator, i + 1);
    if (i < m.size() && second != std::u32string::npos && second + 1 < m.size())
        blank_ = m[second + 1];
}

bool TEditMask::IsLiteral(size_t place) const { return place < places_.size() && places_[place].kind == Kind::Literal; }

bool TEditMask::Accepts(size_t place, char32_t c) const {
    if (place >= places_.size())
        return false;
    const Place& p = places_[place];
    switch (p.kind) {
    case Kind::Literal: return c == p.literal;
    case Kind::OptionalLetter:
    case Kind::RequiredLetter: return IsLetter(c);
    default: return IsDigit(c);
    }
}

char32_t TEditMask::Cased(size_t place, char32_t c) const {
    if (place >= places_.size())
        return c;
    switch (places_[place].letterCase) {
    case Case::Upper: return UpperChar(c);
    case Case::Lower: return LowerChar(c);
    default: return c;
    }
}

std::u32string TEditMask::BlankText() const {
    std::u32string text;
    for (const Place& p : places_)
        text += p.kind == Kind::Literal ? p.literal : blank_;
    return text;
}

std::u32string TEditMask::Fit(const std::u32string& text) const {
    std::u32string out;
    size_t i = 0;
    for (size_t k = 0; k < places_.size(); ++k) {
        if (places_[k].kind == Kind::Literal) {
            out += places_[k].literal;
            if (i < text.size() && text[i] == places_[k].literal)
                ++i;
            continue;
        }
        if (i < text.size()) {
            const char32_t c = Cased(k, text[i]);
            out += Accepts(k, c) ? c : blank_;
            ++i;
        } else {
            out += blank_;
        }
    }
    return out;
}

std::u32string TEditMask::Stored(const std::u32string& shown) const {
    if (saveLiterals_)
        return shown;
    std::u32string out;
    for (size_t k = 0; k < shown.size(); ++k)
        if (!IsLiteral(k))
            out += shown[k];
    return out;
}

size_t TEditMask::MissingPlace(const std::u32string& shown) const {
    for (size_t k = 0; k < places_.size(); ++k) {
        const bool required = places_[k].kind == Kind::RequiredDigit || places_[k].kind == Kind::RequiredLetter;
        if (required && (k >= shown.size() || !Accepts(k, shown[k])))
            return k;
    }
    return std::u32string::npos;
}

size_t TEditMask::InputPlaceFrom(size_t from) const {
    for (size_t k = from; k < places_.size(); ++k)
        if (!IsLiteral(k))
            return k;
    return std::u32string::npos;
}

size_t TEditMask::InputPlaceBefore(size_t from) const {
    for (size_t k = std::min(from, places_.size()); k-- > 0;)
        if (!IsLiteral(k))
            return k;
    return std::u32string::npos;
}

size_t TEditMask::LiteralFrom(size_t from) const {
    for (size_t k = from; k < places_.size(); ++k)
        if (IsLiteral(k))
            return k;
    return std::u32string::npos;
}

std::u32string TEditMask::Blanked(std::u32string text, size_t start, size_t length) const {
    for (size_t k = start; k < start + length && k < text.size(); ++k)
        if (!IsLiteral(k))
            text[k] = blank_;
    return text;
}

bool TEditMask::TypeInto(std::u32string& text, size_t& cursor, char32_t c) const {
    const size_t place = InputPlaceFrom(cursor);
    if (place != std::u32string::npos && Accepts(place, Cased(place, c))) {
        text[place] = Cased(place, c);
        const size_t next = InputPlaceFrom(place + 1);
        cursor = next != std::u32string::npos ? next : place + 1;
        return true;
    }
    // The separator just passed over by the cursor is typed already.
    if (cursor > 0 && cursor <= places_.size() && IsLiteral(cursor - 1) && places_[cursor - 1].literal == c)
        return true;
    const size_t literal = LiteralFrom(cursor);
    if (literal == std::u32string::npos || places_[literal].literal != c)
        return false;
    const size_t next = InputPlaceFrom(literal + 1);
    cursor = next != std::u32string::npos ? next : literal + 1;
    return true;
}

TEditMask::Edit TEditMask::Difference(const std::u32string& before, const std::u32string& after, size_t cursor) {
    if (before.size() != after.size())
        return {0, after, cursor};
    size_t first = 0;
    while (first < before.size() && before[first] == after[first])
        ++first;
    if (first == before.size())
        return {cursor, {}, cursor};
    size_t last = before.size();
    while (last > first && before[last - 1] == after[last - 1])
        --last;
    return {first, after.substr(first, last - first), cursor};
}

std::optional<TEditMask::Edit> TEditMask::Type(const std::u32string& shown, size_t start, size_t length,
                                               char32_t c) const {
    std::u32string text = Blanked(shown, start, length);
    size_t cursor = start;
    if (!TypeInto(text, cursor, c))
        return std::nullopt;
    return Difference(shown, text, cursor);
}

TEditMask::Edit TEditMask::Erase(const std::u32string& shown, size_t start, size_t length, bool backward) const {
    if (length > 0)
        return Difference(shown, Blanked(shown, start, length), start);
    const size_t place = backward ? InputPlaceBefore(start) : InputPlaceFrom(start);
    if (place == std::u32string::npos || place >= shown.size())
        return {start, {}, start};
    // The field's following places move up one; its last place becomes blank.
    std::u32string text = shown;
    size_t k = place;
    for (; k + 1 < text.size() && !IsLiteral(k + 1); ++k)
        text[k] = text[k + 1];
    text[k] = blank_;
    return Difference(shown, text, backward ? place : start);
}

TEditMask::Edit TEditMask::Paste(const std::u32string& shown, size_t start, size_t length,
                                 const std::u32string& pasted) const {
    std::u32string text = Blanked(shown, start, length);
    size_t cursor = start;
    for (char32_t c : pasted)
        TypeInto(text, cursor, c);
    return Difference(shown, text, cursor);
}

} // namespace zeko
