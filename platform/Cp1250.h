#pragma once
// Text is UTF-8 inside the program; files the users and other programs share
// (INI files, settings files, exports) are Windows-1250. These convert at the edge.
#include <string>

namespace zeko {

// Characters without a Windows-1250 form become '?'.
std::string Utf8ToCp1250(const std::string& utf8);
// Every byte has a form; the five unassigned ones (0x81, 0x83, 0x88, 0x90, 0x98)
// become the control characters U+0081 .. U+0098 of the same number and go back to
// the same bytes, so text read and written again keeps every byte.
std::string Cp1250ToUtf8(const std::string& cp1250);

} // namespace zeko
