#pragma once
// The class library's edit masks, as far as the program's masks reach:
//
//   mask;literals;blank      e.g. "!99/99/9999;1; "
//   9   a digit, may stay blank          0   a digit that must be typed
//   l   a letter, may stay blank         L   a letter that must be typed
//   >   letters from here on upper case  <   lower case  (<> neither)
//   /   the date separator               :   the time separator
//   \x  x as a literal                   !   accepted; blanks keep their places
//   any other character is a literal
//   literals "1" (the default) keeps the literals in the text read back, "0" drops
//   them; blank (default '_') fills the places not yet typed.
//
// A masked text has one character per place. Every edit replaces characters in
// place and keeps the length, so each state an edit passes through is a whole
// masked text. Qt-free: the edit control applies the edits this computes.
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace zeko {

class TEditMask {
public:
    TEditMask() = default;  // no mask: the text is free
    explicit TEditMask(const std::string& mask);

    bool Empty() const { return places_.empty(); }
    size_t Length() const { return places_.size(); }
    char32_t Blank() const { return blank_; }
    bool SaveLiterals() const { return saveLiterals_; }
    bool IsLiteral(size_t place) const;
    // Whether the character may stand in the place (after its case is set).
    bool Accepts(size_t place, char32_t c) const;
    // The character as the place takes it: a letter in the place's case.
    char32_t Cased(size_t place, char32_t c) const;

    // The literals, with every other place blank.
    std::u32string BlankText() const;
    // A text put onto the places: a literal takes its place (and the text's equal
    // character is passed over), a character that fits its place stays, any other
    // becomes a blank.
    std::u32string Fit(const std::u32string& text) const;
    // The masked text as it is read back: without the literals when they are not kept.
    std::u32string Stored(const std::u32string& shown) const;
    // The first place of a required digit left blank, or npos.
    size_t MissingPlace(const std::u32string& shown) const;

    // What an edit does: the characters from Start are replaced (as many as the
    // replacement holds), then the cursor goes to Cursor.
    struct Edit {
        size_t Start = 0;
        std::u32string Replacement;
        size_t Cursor = 0;
    };
    // Typing c over the selection (start, length): the selection is blanked, then c
    // takes the first place from start that is no literal, and the cursor moves on to
    // the next such place. A literal typed early jumps past the next literal.
    // Nothing when the character fits nowhere.
    std::optional<Edit> Type(const std::u32string& shown, size_t start, size_t length, char32_t c) const;
    // Backspace (backward) or Delete: a selection is blanked; else the place before
    // (at) the cursor is removed and the rest of its field moves up one place.
    Edit Erase(const std::u32string& shown, size_t start, size_t length, bool backward) const;
    // The characters of a text typed one after the other; those that fit nowhere
    // are left out.
    Edit Paste(const std::u32string& shown, size_t start, size_t length, const std::u32string& text) const;

private:
    enum class Kind { Literal, OptionalDigit, RequiredDigit, OptionalLetter, RequiredLetter };
    enum class Case { Kept, Upper, Lower };
    struct Place {
        Kind kind;
        char32_t literal;
        Case letterCase = Case::Kept;
    };
    // The first place at or after `from` (before `from`, backwards) that takes input,
    // or npos.
    size_t InputPlaceFrom(size_t from) const;
    size_t InputPlaceBefore(size_t from) const;
    size_t LiteralFrom(size_t from) const;
    std::u32string Blanked(std::u32string text, size_t start, size_t length) const;
    // Typing into a whole text; false when refused.
    bool TypeInto(std::u32string& text, size_t& cursor, char32_t c) const;
    static Edit Difference(const std::u32string& before, const std::u32string& after, size_t cursor);

    std::vector<Place> places_;
    bool saveLiterals_ = true;
    char32_t blank_ = U'_';
};

} // namespace zeko
