#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace orvalis {

// Advisory locks (flock) on the folders a run writes into, held while it lives, so that a
// second run into the same folder refuses at once instead of mixing its files with ours.
// The folder itself is locked: no lock file is left behind.
class RunLock {
public:
    RunLock() = default;
    ~RunLock();
    RunLock(const RunLock&) = delete;
    RunLock& operator=(const RunLock&) = delete;

    // Locks each folder (one folder named twice is locked once). False, holding none of
    // them, with message() naming the folder and the other run's process when it can.
    bool acquire(const std::vector<std::filesystem::path>& folders);
    void release();
    const std::string& message() const { return message_; }

private:
    std::vector<int> fds_;
    std::string message_;
};

}  // namespace orvalis
