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

// A cover level that got fewer files than asked, as the summary names it ("30 %", "H 0.50, 30 %").
struct LevelShortfall {
    std::string level;
    long long written = 0;
    long long asked = 0;
};

// What every run gives back: how it ended and the files it wrote.
struct RunResult {
    RunStatus status = RunStatus::Completed;
    std::string message;             // why it failed or stopped, for the user; empty when nothing needs saying
    std::vector<std::string> files;  // every complete file written, in writing order, as named on disk
    std::string batchList;           // the run's FRAGSTATS batch list, empty when it keeps none
    std::string metricsTable;        // the run's metrics table, empty when it keeps none
    long long asked = 0;             // files the parameters ask for
    std::vector<LevelShortfall> shortLevels;  // levels left empty or short, in level order
    std::vector<std::string> warnings;        // what the user should know although the run went on

    bool failed() const { return status == RunStatus::Failed || status == RunStatus::Refused; }
    bool cancelled() const { return status == RunStatus::Cancelled; }
};

// "12 of 20 files written" and, when levels fell short, "; short: 10 % (0 of 2), 20 % (1 of 2)".
// noun names the files ("windows", "landscapes"); at most `listed` levels are named.
std::string runSummary(const RunResult& result, const std::string& noun, std::size_t listed = 12);

}  // namespace orvalis
