#pragma once
// The few plain file and text operations of the INI files and the exports.
#include <cstddef>
#include <string>

namespace zeko {

// Without spaces and tabs at either end.
std::string TrimBlanks(const std::string& s);

// The whole file; false when it cannot be opened or read.
bool ReadFileBytes(const std::string& path, std::string& bytes);
// Writes all `size` bytes to an open file; 0, or the errno of the failure.
int WriteAllBytes(int fd, const char* data, size_t size);

} // namespace zeko
