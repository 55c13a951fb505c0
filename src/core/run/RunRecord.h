#pragma once

#include <cstdio>
#include <string>
#include <vector>

namespace orvalis {

// What a run keeps besides its landscape files: the log with a line per written file
// (sample.txt) and the FRAGSTATS batch list. Every run writes both through here. Both are
// replaced by empty ones when the run starts and grow by a flushed line as each file is
// complete, so that whenever the run stops, even killed, they name exactly the complete
// files of this run.
class RunRecord {
public:
    // batchList empty: the run keeps no batch list. postString follows every name in it.
    explicit RunRecord(std::string batchList = {}, std::string postString = {});
    ~RunRecord();
    RunRecord(const RunRecord&) = delete;
    RunRecord& operator=(const RunRecord&) = delete;

    enum class List { None, Log, BatchList };

    // Replaces the log (when logPath is given) and the batch list with empty ones. False
    // with failedList() and error() when either cannot be made; neither is touched then.
    bool begin(const std::string& logPath = {});
    // A complete file: its log line (line end added) when there is a log, then its line in
    // the batch list, each flushed at once. False with failedList() and error() when a
    // line could not be written; the name is then not kept.
    bool addFile(const std::string& name, const std::string& logLine = {});
    // Closes the lists; false with failedList() and error() when the last lines could not be written.
    bool finish();

    const std::vector<std::string>& files() const { return files_; }
    std::vector<std::string> takeFiles() { return std::move(files_); }
    const std::string& batchList() const { return batchList_; }
    List failedList() const { return failed_; }
    // The system's reason for the last failure; empty when it gave none.
    const std::string& error() const { return error_; }

private:
    bool fail(List list, int err);
    bool append(std::FILE* file, const std::string& line, List list);

    std::string batchList_;
    std::string postString_;
    std::FILE* log_ = nullptr;
    std::FILE* list_ = nullptr;
    std::vector<std::string> files_;
    List failed_ = List::None;
    std::string error_;
};

// "what: reason", or what alone when there is no reason.
std::string withReason(const std::string& what, const std::string& reason);

}  // namespace orvalis
