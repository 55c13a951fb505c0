#pragma once

#include <atomic>
#include <cstdint>
#include <functional>
#include <string>
#include <utility>

namespace orvalis {

// What a long run says at each natural turn of its loop (one file, one surface, one pass).
struct ProgressEvent {
    std::int64_t done = 0;     // units finished so far
    std::int64_t total = 0;    // units the run expects; 0 when unknown
    std::string label;         // what is being worked on, empty to keep the last label
    std::int64_t budgetLeft = -1;  // search tries still allowed, -1 when the run has no budget
};

// Watches a run's progress; returning false asks the run to stop at the next safe point.
using ProgressCallback = std::function<bool(const ProgressEvent&)>;

// The one channel between a run and whoever started it: progress goes out, a request to
// stop comes in. The window adapts it to a progress dialog, the command line to a line on
// standard error, tests to a lambda. Runs report from their calling thread only.
class RunControl {
public:
    RunControl() = default;
    explicit RunControl(ProgressCallback observer) : observer_(std::move(observer)) {}
    // Also cancelled once stop is raised (a signal's flag), which must outlive the control.
    RunControl(ProgressCallback observer, const std::atomic<bool>* stop) : observer_(std::move(observer)), stop_(stop) {}
    RunControl(const RunControl&) = delete;
    RunControl& operator=(const RunControl&) = delete;

    // Passes the event on; false once the run is asked to stop, by the observer or by cancel().
    bool report(const ProgressEvent& event)
    {
        if (isCanceled())
            return false;
        if (observer_ && !observer_(event)) {
            cancel();
            return false;
        }
        return true;
    }

    // Whether anybody watches: a run may skip building events nobody reads.
    bool observed() const { return static_cast<bool>(observer_) || isCanceled(); }

    // Safe from any thread, a signal handler's flag reader or a second window.
    void cancel() { canceled_.store(true, std::memory_order_relaxed); }
    // The flag given at construction, for work that takes a stop of its own (MetricsOptions); may be null.
    const std::atomic<bool>* stopFlag() const { return stop_; }
    bool isCanceled() const
    {
        return canceled_.load(std::memory_order_relaxed) || (stop_ && stop_->load(std::memory_order_relaxed));
    }

private:
    ProgressCallback observer_;
    std::atomic<bool> canceled_{false};
    const std::atomic<bool>* stop_ = nullptr;
};

}  // namespace orvalis
