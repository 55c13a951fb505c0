#pragma once

#include "core/io/LandscapeFile.h"
#include "core/metrics/LandscapeMetrics.h"
#include "core/run/RunResult.h"

#include <cstdio>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace orvalis {

// What a run keeps besides its landscape files: the log with a line per written file
// (sample.txt), the FRAGSTATS batch list and, when asked, the metrics table. Every run writes
// them through here. They are replaced by empty ones (the table by its header) when the run
// starts and grow as each file is complete, each addition flushed, so that whenever the run
// stops, even killed, they name exactly the complete files of this run.
class RunRecord {
public:
    // batchList empty: the run keeps no batch list. postString follows every name in it.
    explicit RunRecord(std::string batchList = {}, std::string postString = {});
    ~RunRecord();
    RunRecord(const RunRecord&) = delete;
    RunRecord& operator=(const RunRecord&) = delete;

    enum class List { None, Log, BatchList, Metrics };

    // Before begin: also keep the metrics table at path, each file's rows measured with options.
    void keepMetrics(std::string path, const MetricsOptions& options, double cellSize = 1.0);

    // Replaces the log (when logPath is given), the batch list and the metrics table with
    // empty ones. False with failedList() and error() when one cannot be made; none is
    // touched then.
    bool begin(const std::string& logPath = {});
    // As begin, but the earlier lists give way only when the first file is added or the run
    // ends well: a run that fails before its first file is complete ends with end() and
    // changes nothing.
    bool beginAtFirstFile(const std::string& logPath = {});
    // Puts the new lists in place of the earlier ones, once: passed to the writer of the run's
    // first file, so that they give way just before it takes its name.
    bool replaceEarlier();
    // Closes the lists as the run ended: a failed run that added no file drops the new ones,
    // so that the earlier lists stay, and says so in result.message; otherwise finish().
    bool end(RunResult& result);
    // A complete file: its log line (line end added) when there is a log, then its line in
    // the batch list, then its rows in the table, each flushed at once. False with
    // failedList() and error() when something could not be written; the name is then not kept.
    // This form adds no rows: runs that keep a table pass the grid or the measured rows.
    bool addFile(const std::string& name, const std::string& logLine = {});
    // The file's grid as the file reads back, measured here before any line is written: a
    // grid the engine refuses fails as the table's failure, naming the file, and adds nothing.
    bool addFile(const std::string& name, const LandscapeGrid& grid, const std::string& logLine = {});
    // rows: the file's rows as appendMeasuredRows gives them under name, measured elsewhere.
    bool addMeasuredFile(const std::string& name, const std::string& rows, const std::string& logLine = {});
    // Closes the lists; false with failedList() and error() when the last lines could not be written.
    bool finish();

    const std::vector<std::string>& files() const { return files_; }
    std::vector<std::string> takeFiles() { return std::move(files_); }
    const std::string& batchList() const { return batchList_; }
    // The metrics table's path; empty when the run keeps none.
    const std::string& metricsTable() const { return table_ ? table_->path : empty_; }
    List failedList() const { return failed_; }
    // What failed, for a message: the log's path, "the batch list PATH" or "the metrics table PATH".
    std::string failedListName() const;
    // The system's reason for the last failure; empty when it gave none.
    const std::string& error() const { return error_; }

private:
    bool fail(List list, int err);
    bool prepare(const std::string& logPath);
    std::string pathOf(List list) const;
    bool append(std::FILE* file, const std::string& line, List list);

    struct Table {
        std::string path;
        MetricsOptions options;
        double cellSize = 1.0;
    };

    std::string batchList_;
    std::string postString_;
    std::optional<Table> table_;
    std::string logPath_;
    std::string empty_;
    std::FILE* log_ = nullptr;
    std::FILE* list_ = nullptr;
    std::FILE* tableFile_ = nullptr;
    // The new lists' hidden names, table first, until they take the earlier ones' places.
    std::vector<std::pair<List, std::string>> waiting_;
    std::vector<std::string> files_;
    List failed_ = List::None;
    std::string error_;
};

// "what: reason", or what alone when there is no reason.
std::string withReason(const std::string& what, const std::string& reason);

// The metrics table a run keeps beside list (its log, or its batch list when it keeps no log).
std::string metricsTableBeside(const std::string& list);

}  // namespace orvalis
