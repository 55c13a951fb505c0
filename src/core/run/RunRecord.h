#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace orvalis {

// What a run keeps besides its landscape files: the log with a line per written file
// (sample.txt) and the FRAGSTATS batch list. Every run writes both through here, so
// that they always agree with the files on disk.
class RunRecord {
public:
    // batchList empty: the run keeps no batch list. postString follows every name in it.
    explicit RunRecord(std::string batchList = {}, std::string postString = {});
    ~RunRecord();
    RunRecord(const RunRecord&) = delete;
    RunRecord& operator=(const RunRecord&) = delete;

    // Starts the log afresh; false with error() when it cannot be created.
    bool openLog(const std::string& path);
    // A complete file: its log line (line end added, flushed at once) when a log is open,
    // then its name for the batch list. False with error() when the line could not be
    // written; the name is then not kept.
    bool addFile(const std::string& name, const std::string& logLine = {});
    // False with error() when the last lines could not be written.
    bool closeLog();
    // Writes the batch list of every file added, in order; true when the run keeps none.
    bool writeBatchList();

    const std::vector<std::string>& files() const { return files_; }
    std::vector<std::string> takeFiles() { return std::move(files_); }
    const std::string& batchList() const { return batchList_; }
    // The system's reason for the last failure; empty when it gave none.
    const std::string& error() const { return error_; }

private:
    std::string batchList_;
    std::string postString_;
    std::FILE* log_ = nullptr;
    std::vector<std::string> files_;
    std::string error_;
};

// "what: reason", or what alone when there is no reason.
std::string withReason(const std::string& what, const std::string& reason);

}  // namespace orvalis
