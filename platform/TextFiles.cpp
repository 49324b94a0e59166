#include "platform/TextFiles.h"

#include "platform/ProgramDir.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeko {

std::string TrimBlanks(const std::string& s) {
    size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t'))
        ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t'))
        --e;
    return s.substr(b, e - b);
}

char LowerAscii(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string LowerAscii(std::string s) {
    for (char& c : s)
        c = LowerAscii(c);
    return s;
}

namespace {
bool SameLettersAt(const std::string& s, size_t pos, const std::string& word) {
    for (size_t i = 0; i < word.size(); ++i)
        if (LowerAscii(s[pos + i]) != LowerAscii(word[i]))
            return false;
    return true;
}
} // namespace

bool SameTextNoCase(const std::string& a, const std::string& b) {
    return a.size() == b.size() && SameLettersAt(a, 0, b);
}

bool MatchesNoCaseAt(const std::string& s, size_t pos, const std::string& word) {
    return !word.empty() && pos <= s.size() && s.size() - pos >= word.size() && SameLettersAt(s, pos, word);
}

std::vector<std::string> SplitLines(const std::string& text) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        std::string line = text.substr(start, end - start);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        lines.push_back(std::move(line));
        start = end + 1;
    }
    return lines;
}

bool ReadFileBytes(const std::string& path, std::string& bytes, int* error) {
    int failure = 0;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        failure = errno;
    } else {
        char buf[8192];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n == 0)
                break;
            if (n < 0) {
                if (errno == EINTR)
                    continue;
                failure = errno;
                break;
            }
            bytes.append(buf, static_cast<size_t>(n));
        }
        ::close(fd);
    }
    if (error != nullptr)
        *error = failure;
    return failure == 0;
}

int WriteAllBytes(int fd, const void* data, size_t size) {
    const char* bytes = static_cast<const char*>(data);
    size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, bytes + done, size - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        done += static_cast<size_t>(n);
    }
    return 0;
}

int SyncDirectory(const std::string& dir) {
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return errno;
    int error = 0;
    if (::fsync(fd) != 0 && errno != EINVAL)
        error = errno;
    ::close(fd);
    return error;
}

int WriteWholeFile(const std::string& path, const void* data, size_t size, bool sync, bool* opened) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    if (opened)
        *opened = fd >= 0;
    if (fd < 0)
        return errno;
    int error = WriteAllBytes(fd, data, size);
    if (error == 0 && sync && ::fdatasync(fd) != 0 && errno != EINVAL)  // EINVAL: no disk behind it
        error = errno;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    return error;
}

int ReplaceFileContent(const std::string& path, const void* data, size_t size, bool sync, int* besideError) {
    TReplacingFile file(path);
    if (besideError)
        *besideError = file.OpenError();
    const int error = file.Write(data, size);
    return error != 0 ? error : file.Commit(sync);
}

int ReplaceChosenFile(const std::string& path, const void* data, size_t size) {
    return ReplaceFileContent(path, data, size, false);
}

TReplacingFile::TReplacingFile(const std::string& path) : target_(path) {
    struct stat st{};
    if (::lstat(path.c_str(), &st) == 0 && S_ISLNK(st.st_mode)) {
        if (char* resolved = ::realpath(path.c_str(), nullptr)) {
            target_ = resolved;
            std::free(resolved);
        }
    }
    const bool exists = ::stat(target_.c_str(), &st) == 0;
    // Renaming over a device would put a plain file in place of the device.
    direct_ = exists && (S_ISCHR(st.st_mode) || S_ISBLK(st.st_mode) || S_ISFIFO(st.st_mode));
    if (direct_) {
        fd_ = ::open(target_.c_str(), O_WRONLY | O_CLOEXEC);
    } else {
        for (int n = 1; n <= 1000; ++n) {
            beside_ = target_ + ".new" + (n > 1 ? std::to_string(n) : std::string());
            fd_ = ::open(beside_.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
            if (fd_ >= 0 || errno != EEXIST)
                break;
        }
    }
    if (fd_ < 0) {
        openError_ = errno;
        beside_.clear();
        return;
    }
    if (exists && S_ISREG(st.st_mode) && !direct_)
        ::fchmod(fd_, st.st_mode & 07777);  // as the old file was; a failure keeps the default
}

TReplacingFile::~TReplacingFile() { Discard(); }

void TReplacingFile::Discard() {
    if (fd_ >= 0)
        ::close(fd_);
    fd_ = -1;
    if (!beside_.empty())
        ::unlink(beside_.c_str());
    beside_.clear();
}

int TReplacingFile::Write(const void* data, size_t size) {
    if (fd_ < 0)
        return openError_ != 0 ? openError_ : EBADF;
    return WriteAllBytes(fd_, data, size);
}

int TReplacingFile::Commit(bool sync) {
    if (fd_ < 0)
        return openError_ != 0 ? openError_ : EBADF;
    int error = 0;
    if (sync && ::fdatasync(fd_) != 0 && errno != EINVAL)  // EINVAL: no disk behind it
        error = errno;
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0 && error == 0)
        error = errno;
    if (error == 0 && !direct_ && std::rename(beside_.c_str(), target_.c_str()) != 0)
        error = errno;
    if (error == 0)
        beside_.clear();
    Discard();
    if (error == 0 && sync && !direct_)
        error = SyncDirectory(ExtractFileDir(target_));
    return error;
}

} // namespace zeko
