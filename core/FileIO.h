#pragma once
// Checked file operations of the record store and the schedule histories: every
// call is tested at once and a failure raises EInOutError with the file's name and
// the system's reason, which ends the operation that ran into it.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zeko {

[[noreturn]] void RaiseInOutError(const std::string& what, const std::string& path, int error);

// What a bounded read calls, instead of reading, for a file of more than its bound:
// it raises the error that names the file in its reader's terms.
using TTooLargeFile = void (*)(const std::string& path, uint64_t size);
constexpr uint64_t NoSizeBound = UINT64_MAX;

// The whole content of `path`; false (and `bytes` empty) when the file does not exist.
// A file of more than `maxBytes` (also one that grows past it while it is read) is
// not read: `tooLarge` raises.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes = NoSizeBound,
                   TTooLargeFile tooLarge = nullptr);

// The content of an open file from offset 0, bounded as above.
void ReadWholeDescriptor(int fd, const std::string& path, std::vector<uint8_t>& bytes,
                         uint64_t maxBytes = NoSizeBound, TTooLargeFile tooLarge = nullptr);
// Writes all `size` bytes at `offset`.
void WriteAt(int fd, const std::string& path, const uint8_t* data, size_t size, uint64_t offset);
// Flushes the file's data to the disk and closes it.
void SyncAndClose(int fd, const std::string& path);

// Joins a folder and a name with exactly one '/' between them.
std::string JoinPath(const std::string& dir, const std::string& name);

} // namespace zeko
