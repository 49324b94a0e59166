#pragma once
// The few plain file and text operations of the INI files, the registry store, the
// schedule histories and the exports.
#include <cstddef>
#include <string>
#include <vector>

namespace zeko {

// Without spaces and tabs at either end.
std::string TrimBlanks(const std::string& s);

// Names, keys and words are compared without regard to the case of ASCII letters,
// whatever the locale; every other byte (UTF-8 included) must match exactly.
char LowerAscii(char c);
std::string LowerAscii(std::string s);
bool SameTextNoCase(const std::string& a, const std::string& b);
// Whether `word` stands in `s` at `pos` (false for an empty word).
bool MatchesNoCaseAt(const std::string& s, size_t pos, const std::string& word);
// The lines of a text without their line ends (LF or CR LF); a line end at the very
// end gives no empty line after it.
std::vector<std::string> SplitLines(const std::string& text);

// The whole file; false when it cannot be opened or read, with the errno of the
// failure in `error` when given (ENOENT for a file that does not exist).
bool ReadFileBytes(const std::string& path, std::string& bytes, int* error = nullptr);
// Writes all `size` bytes to an open file; 0, or the errno of the failure.
int WriteAllBytes(int fd, const void* data, size_t size);
// Flushes a folder's entries to the disk, so that a file or folder just created or
// renamed in it is still there after a power cut; 0, or the errno of the failure (a
// file system that keeps no such order, EINVAL, counts as done).
int SyncDirectory(const std::string& dir);
// Creates or empties `path` and writes the bytes into it, with `sync` through to
// the disk; 0, or the errno of the failure. `opened` (when given) tells whether the
// file could be opened at all.
int WriteWholeFile(const std::string& path, const void* data, size_t size, bool sync, bool* opened = nullptr);
// The same into a new file beside `path` (TReplacingFile) that is then renamed over
// `path`, so a failure leaves the old file whole and no new file behind. With
// `sync` the new file and then its folder go to the disk, so that after a power cut
// the file holds either its old content or the new one. `besideError` (when given)
// receives the errno of a file beside that could not be made, else 0.
int ReplaceFileContent(const std::string& path, const void* data, size_t size, bool sync,
                       int* besideError = nullptr);
// The same for a file the user named (an export, a picture, a PDF), not synced.
int ReplaceChosenFile(const std::string& path, const void* data, size_t size);

// A file's new content written beside it and put in its place only when complete:
// until Commit the file keeps its old content, and a replacement that fails or is
// given up (destroyed without Commit) leaves nothing behind. The file beside has a
// name no file has yet, the first of `path` + ".new", ".new2", ".new3"... that is
// free: no other file is written over, and two copies of the program replacing the
// same file at once never write into one file beside. The new file takes the old
// one's permissions; a link is followed to the file it names. A device or a pipe in
// place of the file is written directly, there being nothing to keep.
class TReplacingFile {
public:
    explicit TReplacingFile(const std::string& path);
    ~TReplacingFile();
    TReplacingFile(const TReplacingFile&) = delete;
    TReplacingFile& operator=(const TReplacingFile&) = delete;

    // 0 when the file beside is open for writing, else the errno of the failure.
    int OpenError() const { return openError_; }
    // 0, or the errno of the failure.
    int Write(const void* data, size_t size);
    // Closes the new file (with `sync` through to the disk) and renames it over the
    // old one (with `sync`, the folder is then synced too); 0, or the errno of the
    // failure, after which the old file is as it was, unless only the folder could not
    // be synced: the new content is in place then, but may not outlive a power cut.
    int Commit(bool sync);

private:
    void Discard();
    std::string target_;
    std::string beside_;
    int fd_ = -1;
    int openError_ = 0;
    bool direct_ = false;
};

} // namespace zeko
