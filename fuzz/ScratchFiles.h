#pragma once
// A folder of its own for the fuzz entries that read files, made once per process
// and removed when it ends.
#include <cstddef>
#include <cstdint>
#include <string>

namespace zeko::fuzz {

// The folder, with a trailing '/'.
const std::string& ScratchDir();
// Replaces the file `name` of the folder by the bytes; its full path.
std::string WriteScratchFile(const std::string& name, const uint8_t* data, size_t size);

} // namespace zeko::fuzz
