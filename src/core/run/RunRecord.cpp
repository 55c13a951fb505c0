#include "core/run/RunRecord.h"

#include "core/io/BatchList.h"
#include "core/io/MetricsCsv.h"
#include "core/io/SafeFile.h"

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <unistd.h>

namespace orvalis {

namespace {

std::string reasonOf(int err)
{
    return err != 0 ? std::strerror(err) : std::string();
}

}  // namespace

std::string withReason(const std::string& what, const std::string& reason)
{
    return reason.empty() ? what : what + ": " + reason;
}

std::string metricsTableBeside(const std::string& list)
{
    return (std::filesystem::path(list).parent_path() / "metrics.csv").string();
}

RunRecord::RunRecord(std::string batchList, std::string postString)
    : batchList_(std::move(batchList)), postString_(std::move(postString))
{
}

RunRecord::~RunRecord()
{
    for (std::FILE* file : {log_, list_, tableFile_})
        if (file)
            std::fclose(file);
    // Never put in place: the earlier lists stay.
    for (const auto& entry : waiting_)
        ::unlink(entry.second.c_str());
}

void RunRecord::keepMetrics(std::string path, const MetricsOptions& options, double cellSize)
{
    table_ = Table{std::move(path), options, cellSize};
}

bool RunRecord::fail(List list, int err)
{
    failed_ = list;
    error_ = reasonOf(err);
    return false;
}

std::string RunRecord::failedListName() const
{
    switch (failed_) {
    case List::Log: return logPath_;
    case List::BatchList: return "the batch list " + batchList_;
    case List::Metrics: return "the metrics table " + metricsTable();
    case List::None: break;
    }
    return {};
}

bool RunRecord::begin(const std::string& logPath)
{
    return prepare(logPath) && replaceEarlier();
}

bool RunRecord::beginAtFirstFile(const std::string& logPath)
{
    return prepare(logPath);
}

bool RunRecord::prepare(const std::string& logPath)
{
    logPath_ = logPath;
    struct Replacement {
        List list;
        const std::string* path;
        std::FILE** file;
        std::string temporary;
    };
    // The table first: renamed before the others, it never names more files than the batch list.
    std::vector<Replacement> lists;
    if (table_)
        lists.push_back({List::Metrics, &table_->path, &tableFile_, {}});
    if (!logPath.empty())
        lists.push_back({List::Log, &logPath_, &log_, {}});
    if (!batchList_.empty())
        lists.push_back({List::BatchList, &batchList_, &list_, {}});
    for (std::size_t i = 0; i < lists.size(); ++i) {
        Replacement& r = lists[i];
        errno = 0;
        *r.file = createReplacement(*r.path, r.temporary);
        if (*r.file && (r.list != List::Metrics || append(*r.file, metricsCsvHeader(), List::Metrics)))
            continue;
        const int err = errno;
        for (std::size_t j = 0; j <= i; ++j) {
            if (*lists[j].file)
                std::fclose(*lists[j].file);
            *lists[j].file = nullptr;
            if (!lists[j].temporary.empty())
                ::unlink(lists[j].temporary.c_str());
        }
        return fail(r.list, err);
    }
    waiting_.clear();
    for (const Replacement& r : lists)
        if (!r.temporary.empty())
            waiting_.emplace_back(r.list, r.temporary);
    return true;
}

std::string RunRecord::pathOf(List list) const
{
    switch (list) {
    case List::Log: return logPath_;
    case List::BatchList: return batchList_;
    case List::Metrics: return metricsTable();
    case List::None: break;
    }
    return {};
}

bool RunRecord::replaceEarlier()
{
    // Every list is made: only now do the earlier ones give way, each in one step.
    std::vector<std::pair<List, std::string>> waiting = std::move(waiting_);
    waiting_.clear();
    for (std::size_t i = 0; i < waiting.size(); ++i) {
        if (replaceWith(waiting[i].second, pathOf(waiting[i].first)))
            continue;
        const int err = errno;
        for (std::size_t j = i; j < waiting.size(); ++j)
            ::unlink(waiting[j].second.c_str());
        return fail(waiting[i].first, err);
    }
    return true;
}

bool RunRecord::end(RunResult& result)
{
    if (!result.failed() || waiting_.empty())
        return finish();
    for (std::FILE** file : {&log_, &list_, &tableFile_}) {
        if (*file)
            std::fclose(*file);
        *file = nullptr;
    }
    for (const auto& entry : waiting_)
        ::unlink(entry.second.c_str());
    waiting_.clear();
    result.message += "; nothing was replaced";
    return true;
}

bool RunRecord::append(std::FILE* file, const std::string& line, List list)
{
    errno = 0;
    if (!appendWhole(file, line))
        return fail(list, errno);
    return true;
}

bool RunRecord::addFile(const std::string& name, const std::string& logLine)
{
    return addMeasuredFile(name, std::string(), logLine);
}

bool RunRecord::addFile(const std::string& name, const LandscapeGrid& grid, const std::string& logLine)
{
    // Done by the first file's writer already, when it was given the chance.
    if (!replaceEarlier())
        return false;
    std::string rows;
    if (table_) {
        std::string why;
        if (!appendMeasuredRows(rows, name, grid, table_->cellSize, std::nullopt, table_->options, &why)) {
            failed_ = List::Metrics;
            error_ = name + " cannot be measured: " + why;
            return false;
        }
    }
    return addMeasuredFile(name, rows, logLine);
}

bool RunRecord::addMeasuredFile(const std::string& name, const std::string& rows, const std::string& logLine)
{
    if (!replaceEarlier())
        return false;
    if (log_ && !append(log_, logLine + "\n", List::Log))
        return false;
    if (list_ && !append(list_, batchListLine(name, postString_), List::BatchList))
        return false;
    if (tableFile_ && !append(tableFile_, rows, List::Metrics))
        return false;
    files_.push_back(name);
    return true;
}

bool RunRecord::finish()
{
    bool ok = replaceEarlier();
    for (auto [file, list] : {std::pair{&log_, List::Log}, std::pair{&list_, List::BatchList},
                              std::pair{&tableFile_, List::Metrics}}) {
        if (!*file)
            continue;
        errno = 0;
        if (std::fclose(*file) != 0 && ok)
            ok = fail(list, errno);
        *file = nullptr;
    }
    return ok;
}

}  // namespace orvalis
