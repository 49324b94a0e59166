#include "core/FileIO.h"

#include "platform/Exceptions.h"
#include "platform/FileErrorText.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace zeko {

void RaiseInOutError(const std::string& what, const std::string& path, int error) {
    throw EInOutError(what + " " + path + ": " + SystemErrorText(error), error);
}

namespace {

[[noreturn]] void RaiseTooLarge(TTooLargeFile tooLarge, const std::string& path, uint64_t size) {
    if (tooLarge != nullptr)
        tooLarge(path, size);
    RaiseInOutError("Soubor je příliš velký:", path, EFBIG);
}

} // namespace

bool ReadWholeFile(const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes,
                   TTooLargeFile tooLarge) {
    bytes.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        if (errno == ENOENT)
            return false;
        RaiseInOutError("Nelze otevřít soubor", path, errno);
    }
    try {
        ReadWholeDescriptor(fd, path, bytes, maxBytes, tooLarge);
    } catch (...) {
        ::close(fd);
        throw;
    }
    ::close(fd);
    return true;
}

void ReadWholeDescriptor(int fd, const std::string& path, std::vector<uint8_t>& bytes, uint64_t maxBytes,
                         TTooLargeFile tooLarge) {
    struct stat st{};
    if (::fstat(fd, &st) != 0)
        RaiseInOutError("Nelze číst soubor", path, errno);
    if (S_ISDIR(st.st_mode))
        RaiseInOutError("Nelze číst soubor", path, EISDIR);
    const uint64_t size = static_cast<uint64_t>(st.st_size);
    if (size > maxBytes)
        RaiseTooLarge(tooLarge, path, size);
    bytes.resize(static_cast<size_t>(size));
    size_t done = 0;
    while (true) {
        if (done == bytes.size()) {
            // The file grew meanwhile; one byte past the bound is enough to tell.
            if (done > maxBytes)
                RaiseTooLarge(tooLarge, path, done);
            const uint64_t room = maxBytes - done;
            bytes.resize(bytes.size() + static_cast<size_t>(room < 4096 ? room + 1 : 4096));
        }
        const ssize_t n = ::pread(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseInOutError("Nelze číst soubor", path, errno);
        }
        if (n == 0)
            break;
        done += static_cast<size_t>(n);
    }
    bytes.resize(done);
}

void WriteAt(int fd, const std::string& path, const uint8_t* data, size_t size, uint64_t offset) {
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size, static_cast<off_t>(offset));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            RaiseInOutError("Nelze zapsat do souboru", path, errno);
        }
        if (n == 0)
            RaiseInOutError("Nelze zapsat do souboru", path, ENOSPC);
        data += n;
        size -= static_cast<size_t>(n);
        offset += static_cast<uint64_t>(n);
    }
}

void SyncAndClose(int fd, const std::string& path) {
    const bool synced = ::fdatasync(fd) == 0 || errno == EINVAL;  // EINVAL: no disk behind it
    const int syncError = errno;
    if (::close(fd) != 0)
        RaiseInOutError("Nelze zavřít soubor", path, errno);
    if (!synced)
        RaiseInOutError("Nelze zapsat do souboru", path, syncError);
}

std::string JoinPath(const std::string& dir, const std::string& name) {
    if (dir.empty())
        return name;
    if (dir.back() == '/')
        return dir + name;
    return dir + "/" + name;
}

} // namespace zeko
