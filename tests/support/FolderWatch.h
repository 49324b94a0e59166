#pragma once
// What happens to the files of one folder, as the kernel tells it (inotify): which
// file was written and closed, which one renamed into the folder. A test sees so how
// often a save wrote and replaced a file, without tracing the process.
//
//   zeko::test::FolderWatch watch(dir.Path());
//   ... the save ...
//   EXPECT_EQ(watch.Events(), (std::vector<std::string>{"written Zeko.ini.new", "renamed Zeko.ini"}));
#include <sys/inotify.h>
#include <unistd.h>

#include <cstddef>
#include <string>
#include <vector>

namespace zeko::test {

class FolderWatch {
public:
    explicit FolderWatch(const std::string& dir) {
        fd_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        if (fd_ >= 0 && ::inotify_add_watch(fd_, dir.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO) < 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~FolderWatch() {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FolderWatch(const FolderWatch&) = delete;
    FolderWatch& operator=(const FolderWatch&) = delete;

    bool Watching() const { return fd_ >= 0; }

    // "written <name>" and "renamed <name>" (the name renamed to), in order, since the
    // watch began or the last call. The kernel queues them as the calls happen, so
    // a save that has returned has all of its events queued.
    std::vector<std::string> Events() {
        std::vector<std::string> events;
        alignas(inotify_event) char buffer[8192];
        for (ssize_t n; fd_ >= 0 && (n = ::read(fd_, buffer, sizeof buffer)) > 0;) {
            for (size_t at = 0; at < static_cast<size_t>(n);) {
                const auto* e = reinterpret_cast<const inotify_event*>(buffer + at);
                if (e->len > 0)
                    events.push_back(std::string(e->mask & IN_MOVED_TO ? "renamed " : "written ") + e->name);
                at += sizeof(inotify_event) + e->len;
            }
        }
        return events;
    }

private:
    int fd_ = -1;
};

} // namespace zeko::test
