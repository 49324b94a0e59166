// Edit masks: their places, how texts are put onto them, and what typing,
// removing and pasting do to a masked text.
#include "platform/EditMask.h"
#include "platform/FormatSettings.h"
#include "platform/Utf8.h"

#include <gtest/gtest.h>

using namespace zeko;

namespace {

std::u32string U32(const std::string& s) { return Utf8ToUtf32(s); }
std::string U8(const std::u32string& s) { return Utf32ToUtf8(s); }

// A masked text with a selection (or the cursor, for length 0), and the text and
// cursor an edit leaves.
struct EditCase {
    const char* shown;
    size_t start, length;
    const char* after;
    size_t cursor;
};

struct EditMaskTest : ::testing::Test {
    EditMaskTest() {
        FormatSettings().DateSeparator = '.';
        FormatSettings().TimeSeparator = ':';
    }
    ~EditMaskTest() override { FormatSettings() = TFormatSettings(); }

    // The masked text after an edit is applied to it.
    static std::string Applied(const std::string& shown, const TEditMask::Edit& edit) {
        std::u32string text = U32(shown);
        text.replace(edit.Start, edit.Replacement.size(), edit.Replacement);
        return U8(text);
    }
    static void ExpectEdit(const EditCase& c, const TEditMask::Edit& edit) {
        EXPECT_EQ(Applied(c.shown, edit), c.after) << c.shown << " at " << c.start;
        EXPECT_EQ(edit.Cursor, c.cursor) << c.shown << " at " << c.start;
    }
};

} // namespace

TEST_F(EditMaskTest, PlacesLiteralsAndBlankComeFromTheMaskText) {
    struct Case {
        const char* mask;
        const char* blankText;
        bool saveLiterals;
    };
    const Case cases[] = {
        {"!99/99/9999;1; ", "  .  .    ", true},  // the date edit's mask
        {"!9999/99/99;1;_", "____.__.__", true},
        {"99:99", "__:__", true},                   // the blank and the literals by default
        {"\\9\\/00;0;*", "9/**", false},            // escaped characters are literals
        {"(999);1;", "(___)", true},                // an empty blank field keeps '_'
        {"", "", true},
    };
    for (const Case& c : cases) {
        const TEditMask mask(c.mask);
        EXPECT_EQ(U8(mask.BlankText()), c.blankText) << c.mask;
        EXPECT_EQ(mask.SaveLiterals(), c.saveLiterals) << c.mask;
    }
    EXPECT_TRUE(TEditMask("").Empty());
    FormatSettings().DateSeparator = '/';
    EXPECT_EQ(U8(TEditMask("!99/99/9999;1; ").BlankText()), "  /  /    ");
}

TEST_F(EditMaskTest, TextsArePutOntoThePlaces) {
    const TEditMask mask("!99/99/9999;1; ");
    const struct {
        const char* text;
        const char* shown;
    } cases[] = {
        {"12.03.2026", "12.03.2026"},
        {"", "  .  .    "},
        {"12.03.", "12.03.    "},
        {"1203", "12.03.    "},          // a missing literal is put in
        {"ab.03.2026", "  .03.2026"},    // what fits no place becomes blank
        {"12.03.2026999", "12.03.2026"}, // the rest is cut off
    };
    for (const auto& c : cases)
        EXPECT_EQ(U8(mask.Fit(U32(c.text))), c.shown) << c.text;
}

TEST_F(EditMaskTest, LiteralsAreReadBackOnlyWhenKept) {
    EXPECT_EQ(U8(TEditMask("99/99;1;_").Stored(U32("12.0_"))), "12.0_");
    EXPECT_EQ(U8(TEditMask("99/99;0;_").Stored(U32("12.0_"))), "120_");
}

TEST_F(EditMaskTest, TypingOverwritesPlacesAndSkipsLiterals) {
    const TEditMask mask("!99/99/9999;1; ");
    const std::pair<EditCase, char32_t> cases[] = {
        {{"  .  .    ", 0, 0, "1 .  .    ", 1}, U'1'},
        {{"1 .  .    ", 1, 0, "12.  .    ", 3}, U'2'},   // the cursor jumps the separator
        {{"12.  .    ", 2, 0, "12.0 .    ", 4}, U'0'},   // typed on a literal: the next place
        {{"12.03.2026", 0, 10, "7 .  .    ", 1}, U'7'},  // a selection is blanked first
        {{"5 .  .    ", 1, 0, "5 .  .    ", 3}, U'.'},   // the separator typed early moves on
        {{"12.  .    ", 3, 0, "12.  .    ", 3}, U'.'},   // ...and is taken as typed right behind it
        {{"12.03.2026", 4, 0, "12.09.2026", 6}, U'9'},
        {{"12.03.2026", 9, 0, "12.03.2027", 10}, U'7'},  // the last place
    };
    for (const auto& [c, typed] : cases) {
        const auto edit = mask.Type(U32(c.shown), c.start, c.length, typed);
        ASSERT_TRUE(edit) << c.shown << " + " << static_cast<char>(typed);
        ExpectEdit(c, *edit);
    }
}

TEST_F(EditMaskTest, TypingWhatFitsNowhereIsRefused) {
    const TEditMask mask("!99/99/9999;1; ");
    EXPECT_FALSE(mask.Type(U32("  .  .    "), 0, 0, U'x'));
    EXPECT_FALSE(mask.Type(U32("  .  .    "), 0, 0, U' '));
    EXPECT_FALSE(mask.Type(U32("12.03.2026"), 10, 0, U'1'));  // past the last place
    EXPECT_FALSE(mask.Type(U32("12.03.2026"), 7, 0, U'.'));   // no separator follows
}

TEST_F(EditMaskTest, RemovingBlanksOrMovesTheFieldUp) {
    const TEditMask mask("!99/99/9999;1; ");
    const std::pair<EditCase, bool> cases[] = {  // true: Backspace, false: Delete
        {{"12.03.2026", 3, 0, "1 .03.2026", 1}, true},    // behind a separator: the place before it
        {{"12.03.2026", 1, 0, "2 .03.2026", 0}, true},    // the rest of the field moves up
        {{"12.03.2026", 6, 0, "12.03.026 ", 6}, false},
        {{"12.03.2026", 2, 0, "12.3 .2026", 2}, false},   // on a separator: the place after it
        {{"12.03.2026", 1, 6, "1 .  . 026", 1}, true},    // a selection is blanked, literals stay
        {{"12.03.2026", 0, 0, "12.03.2026", 0}, true},    // nothing before the first place
        {{"12.03.2026", 10, 0, "12.03.2026", 10}, false}, // nothing after the last one
    };
    for (const auto& [c, backward] : cases)
        ExpectEdit(c, mask.Erase(U32(c.shown), c.start, c.length, backward));
}

TEST_F(EditMaskTest, PastingTypesTheCharactersThatFit) {
    const TEditMask mask("!99/99/9999;1; ");
    const struct {
        const char* shown;
        const char* pasted;
        const char* after;
    } cases[] = {
        {"  .  .    ", "12.03.2026", "12.03.2026"},
        {"  .  .    ", "5.3.2026", "5 .3 .2026"},  // separators move on to the next field
        {"  .  .    ", "20260312", "20.26.0312"},
        {"  .  .    ", "x1y2", "12.  .    "},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Applied(c.shown, mask.Paste(U32(c.shown), 0, 0, U32(c.pasted))), c.after) << c.pasted;
}

TEST_F(EditMaskTest, RequiredDigitsMustBeTyped) {
    const TEditMask mask("00/99;1;_");
    EXPECT_EQ(mask.MissingPlace(U32("12.__")), std::u32string::npos);
    EXPECT_EQ(mask.MissingPlace(U32("1_.34")), 1u);
    EXPECT_TRUE(mask.Accepts(0, U'7'));
    EXPECT_FALSE(mask.Accepts(0, U'_'));
    EXPECT_EQ(TEditMask("!99/99/9999;1; ").MissingPlace(U32("  .  .    ")), std::u32string::npos);
}

// The band editor's mask: two times and a letter that is turned to upper case.
TEST_F(EditMaskTest, LetterPlacesTakeLettersInTheCaseTheMaskGives) {
    FormatSettings().TimeSeparator = ':';
    const TEditMask mask("!90:00-!90:00  >l;1;_");
    EXPECT_EQ(U8(mask.BlankText()), "__:__-__:__  _");
    EXPECT_EQ(mask.MissingPlace(U32("06:00-14:00  _")), std::u32string::npos);  // the letter may stay blank
    EXPECT_EQ(mask.MissingPlace(U32("0_:00-14:00  _")), 1u);
    const std::pair<EditCase, char32_t> cases[] = {
        {{"06:00-14:0_  _", 10, 0, "06:00-14:00  _", 13}, U'0'},  // the cursor jumps to the letter
        {{"06:00-14:00  _", 13, 0, "06:00-14:00  N", 14}, U'n'},  // turned to upper case
        {{"06:00-14:00  _", 13, 0, "06:00-14:00  Č", 14}, U'č'},
    };
    for (const auto& [c, typed] : cases) {
        const auto edit = mask.Type(U32(c.shown), c.start, c.length, typed);
        ASSERT_TRUE(edit) << c.shown;
        ExpectEdit(c, *edit);
    }
    EXPECT_FALSE(mask.Type(U32("06:00-14:00  _"), 13, 0, U'5'));  // no digit in a letter place
    EXPECT_FALSE(mask.Type(U32("__:__-__:__  _"), 0, 0, U'n'));   // nor a letter in a digit place
    EXPECT_EQ(U8(mask.Fit(U32("22:00-06:00  n"))), "22:00-06:00  N");
    EXPECT_EQ(U8(TEditMask("<L>l<>l;1;_").Fit(U32("AbC"))), "aBC");
    EXPECT_EQ(TEditMask("L;1;_").MissingPlace(U32("_")), 0u);
}
