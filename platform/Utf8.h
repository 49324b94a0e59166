#pragma once
// UTF-8 texts taken apart into characters and put together again, and the lower
// and upper case of a character as the Unicode tables give it (Czech letters included),
// whatever the program's locale.
#include <string>

namespace zeko {

// A byte that begins no valid sequence stands for itself (U+0080..U+00FF).
std::u32string Utf8ToUtf32(const std::string& text);
std::string Utf32ToUtf8(const std::u32string& text);
char32_t LowerChar(char32_t c);
char32_t UpperChar(char32_t c);
std::u32string LowerText(std::u32string text);

} // namespace zeko
