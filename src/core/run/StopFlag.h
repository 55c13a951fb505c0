#pragma once

#include <atomic>
#include <cstddef>

namespace orvalis {

// A request to stop, looked at inside one long computation (a large grid's labelling, one
// metric's pass over it) every row or every few thousand items. Once raised, check() throws
// StopFlag::Stopped, which the function that began the computation catches and turns into its
// own "stopped" result, so that the loops in between need no way out of their own.
class StopFlag {
public:
    struct Stopped {};

    StopFlag() = default;
    explicit StopFlag(const std::atomic<bool>* flag) : flag_(flag) {}

    bool raised() const { return flag_ && flag_->load(std::memory_order_relaxed); }
    void check() const
    {
        if (raised())
            throw Stopped{};
    }
    // check() once every 65536 calls with i counting up: for loops whose turns are only a few cells.
    void checkEvery(std::size_t i) const
    {
        if ((i & 0xFFFF) == 0)
            check();
    }

private:
    const std::atomic<bool>* flag_ = nullptr;
};

}  // namespace orvalis
