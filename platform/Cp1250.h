#pragma once
// Text is UTF-8 inside the program; files the users and other programs share
// (INI files, settings files, exports) are Windows-1250. These convert at the edge.
#include <string>

namespace zeko {

// Characters without a Windows-1250 form become '?'.
std::string Utf8ToCp1250(const std::string& utf8);
// Every byte has a form; the five unassigned ones become U+FFFD.
std::string Cp1250ToUtf8(const std::string& cp1250);

} // namespace zeko
