#pragma once
// A disk of a few kilobytes that runs full: a tmpfs mounted on a fresh folder for the
// length of a test and taken away with everything on it afterwards. Mounting needs
// the rights of root; without them Mounted() is false and a test skips itself.
#include "support/TempDir.h"

#include <fcntl.h>
#include <sys/mount.h>
#include <unistd.h>

#include <string>

namespace zeko::test {

class SmallDisk {
public:
    explicit SmallDisk(int kilobytes = 64) {
        const std::string options = "size=" + std::to_string(kilobytes) + "k";
        mounted_ = ::mount("tmpfs", folder_.Path().c_str(), "tmpfs", 0, options.c_str()) == 0;
    }
    ~SmallDisk() {
        if (mounted_)
            ::umount2(folder_.Path().c_str(), MNT_DETACH);
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return mounted_; }
    // The disk's folder, as TempDir has it.
    const TempDir& Dir() const { return folder_; }
    std::string operator/(const std::string& name) const { return folder_ / name; }
    // Mounts the disk again for reading only; false when it cannot be.
    bool MakeReadOnly() const {
        return mounted_ && ::mount(nullptr, folder_.Path().c_str(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) == 0;
    }
    // Fills what is left of the disk with the file `name`, so that the next write
    // of any size fails.
    void Fill(const std::string& name = "filler") const {
        const int fd = ::open((folder_ / name).c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0644);
        const std::string block(4096, 'x');
        for (size_t size : {block.size(), size_t{1}})
            while (fd >= 0 && ::write(fd, block.data(), size) > 0) {
            }
        if (fd >= 0)
            ::close(fd);
    }

private:
    TempDir folder_;
    bool mounted_ = false;
};

} // namespace zeko::test
