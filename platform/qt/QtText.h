#pragma once
// The program's texts are UTF-8 in the sources and in memory; this is the one way
// they become Qt strings.
#include <QString>

#include <string>

namespace zeko {

inline QString U(const char* text) { return QString::fromUtf8(text); }
inline QString U(const std::string& text) { return QString::fromStdString(text); }

} // namespace zeko
