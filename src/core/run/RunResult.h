#pragma once

#include <string>
#include <vector>

namespace orvalis {

enum class RunStatus {
    Completed,  // the run did what its parameters ask, or all that could be done
    Cancelled,  // stopped on request; what it wrote is whole and listed
    Failed,     // something could not be written or read; message says what
    Refused,    // the run could not start with these parameters; nothing was written
};

// What every run gives back: how it ended and the files it wrote.
struct RunResult {
    RunStatus status = RunStatus::Completed;
    std::string message;             // why it failed or stopped, for the user; empty when nothing needs saying
    std::vector<std::string> files;  // every complete file written, in writing order, as named on disk
    std::string batchList;           // the run's FRAGSTATS batch list, empty when it keeps none

    bool failed() const { return status == RunStatus::Failed || status == RunStatus::Refused; }
    bool cancelled() const { return status == RunStatus::Cancelled; }
};

}  // namespace orvalis
