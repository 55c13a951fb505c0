#pragma once

#include "core/io/Sha256.h"

#include <array>
#include <cstdio>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

namespace orvalis {

// The files a comparison writes into its folder, in the order a whole window adds to them.
struct CompareFileNames {
    static constexpr const char* neutral = "neutral-metrics.csv";
    static constexpr const char* compare = "compare.csv";
    static constexpr const char* windows = "windows.csv";
    static constexpr const char* record = "compare-run.txt";
};

std::string neutralMetricsHeader();  // file,model,replicate,level,class,id,metric,value
std::string compareHeader();         // file,model,level,class,metric,real,n,na,mean,sd,q2.5,q97.5,percentile,z
std::string windowsHeader();         // file,rows,cols,habitat,cover

// The comparison's three tables and its record, written as RunRecord writes a run's lists: each
// replaced by one holding its header when the run starts (all made before any old one gives way),
// then a flushed block per whole window, so that whenever the run stops they hold whole windows only.
class CompareTables {
public:
    CompareTables() = default;
    ~CompareTables();
    CompareTables(const CompareTables&) = delete;
    CompareTables& operator=(const CompareTables&) = delete;

    // recordHead: the record's lines before its window lines. False with error() set.
    bool begin(const std::filesystem::path& folder, const std::string& recordHead);
    // One window's rows in each table and its line in the record, in that order; the neutral rows
    // of spilled (from its start) come before neutral's.
    bool addWindow(const std::string& neutral, const std::string& compare, const std::string& windowRow,
                   const std::string& recordLine, std::FILE* spilled = nullptr);
    // The record's last lines: each table's rows and SHA-256 (compareRecordTableLine), then
    // endLine; then every file closed. False with error() set.
    bool finish(const std::string& endLine);

    // The four files, as named on disk.
    std::vector<std::string> files() const;
    const std::string& error() const { return error_; }

private:
    bool fail(const std::string& path, int err);

    std::vector<std::string> paths_;
    std::vector<std::FILE*> files_;
    std::array<std::unique_ptr<Sha256>, 3> sums_;  // of each table's bytes as written
    std::array<std::size_t, 3> rows_{};
    std::string error_;
};

// FNV-1a over the names, each followed by a line end: two runs with one hash compared one list.
std::string windowListHash(const std::vector<std::string>& files);

}  // namespace orvalis
