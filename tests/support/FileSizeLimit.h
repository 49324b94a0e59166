#pragma once
// A limit on the size of the files this process writes, for the length of a scope:
// a write past it fails (EFBIG) as on a full disk, for root as well, with no disk of
// its own to mount. SIGXFSZ is ignored meanwhile, so the write fails rather than the
// process.
#include <csignal>
#include <sys/resource.h>

namespace zeko::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes) {
        struct sigaction ignore{};
        ignore.sa_handler = SIG_IGN;
        ::sigaction(SIGXFSZ, &ignore, &oldAction_);
        ::getrlimit(RLIMIT_FSIZE, &oldLimit_);
        rlimit limit = oldLimit_;
        limit.rlim_cur = bytes;
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~FileSizeLimit() {
        ::setrlimit(RLIMIT_FSIZE, &oldLimit_);
        ::sigaction(SIGXFSZ, &oldAction_, nullptr);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

private:
    struct sigaction oldAction_{};
    rlimit oldLimit_{};
};

} // namespace zeko::test
