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

// The whole content of `path`; false (and `bytes` empty) when the file does not exist.
bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes);

// The content of an open file from offset 0.
void ReadWholeDescriptor(int fd, const std::string& path, std::vector<uint8_t>& bytes);
// Writes all `size` bytes at `offset`.
void WriteAt(int fd, const std::string& path, const uint8_t* data, size_t size, uint64_t offset);
// Flushes the file's data to the disk and closes it.
void SyncAndClose(int fd, const std::string& path);

// Joins a folder and a name with exactly one '/' between them.
std::string JoinPath(const std::string& dir, const std::string& name);

} // namespace zeko
