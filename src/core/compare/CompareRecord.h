#pragma once

#include "core/compare/CompareRun.h"

#include <optional>
#include <string>
#include <vector>

namespace orvalis {

// compare-run.txt: what a comparison was asked (its head), a line per window as it is written
// and an end line. Shards of one run have the same head but for the shard line; merging uses the
// window lines to cut the tables into windows.
std::string compareRecordHead(const CompareParameters& p);
// "window INDEX rows NEUTRAL COMPARE": the rows the window added to the two tables.
std::string compareRecordWindowLine(int index, const std::string& neutralRows, const std::string& compareRows);
// "window INDEX failed": a window that could not be read adds no rows.
std::string compareRecordFailedLine(int index);
// "table NAME ROWS sha256 DIGEST": what a table held when the run ended, so that a merge can
// tell a table cut or edited since.
std::string compareRecordTableLine(const std::string& name, std::size_t rows, const std::string& sha256);
std::string compareRecordEndLine(RunStatus status);

struct CompareRecord {
    std::string head;  // the head without its shard line
    int shard = 0, shards = 0;
    std::size_t windows = 0;  // in the full list
    struct Window {
        int index = 0;
        bool failed = false;
        std::size_t neutralRows = 0, compareRows = 0;
    };
    std::vector<Window> written;
    struct Table {
        std::string name;
        std::size_t rows = 0;
        std::string sha256;
    };
    std::vector<Table> tables;  // empty in records written before tables were summed
    std::string end;  // "completed", "failed", "cancelled"; empty when the run never ended
};

// Reads a record back; nullopt with *error set when it is not one.
std::optional<CompareRecord> parseCompareRecord(const std::string& text, std::string* error);

// The head with another shard line.
std::string compareRecordHeadForShard(const CompareRecord& record, int shard, int shards);

}  // namespace orvalis
