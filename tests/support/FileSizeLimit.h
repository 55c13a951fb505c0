#pragma once

#include <sys/resource.h>

#include <csignal>

namespace orvalis::test {

// Files may not grow past `bytes` while the object lives: writes beyond fail with
// EFBIG, which stands in for a full disk even when the tests run as root.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        active_ = ::getrlimit(RLIMIT_FSIZE, &old_) == 0;
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limit = old_;
        limit.rlim_cur = bytes;
        active_ = active_ && ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        ::setrlimit(RLIMIT_FSIZE, &old_);
        std::signal(SIGXFSZ, oldHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    // False when the limit could not be set: the test would not see the failure it wants.
    bool active() const { return active_; }

private:
    rlimit old_{};
    bool active_ = false;
    void (*oldHandler_)(int) = nullptr;
};

}  // namespace orvalis::test
