#include "core/compare/CompareRecord.h"
#include "core/compare/CompareRun.h"
#include "core/compare/CompareTables.h"
#include "core/io/SafeFile.h"
#include "core/io/Sha256.h"
#include "core/run/RunChecks.h"
#include "core/run/RunLock.h"

#include <algorithm>
#include <fstream>
#include <memory>

namespace orvalis {

namespace {

struct Shard {
    std::filesystem::path folder;
    CompareRecord record;
    std::size_t next = 0;  // its next window line
    std::ifstream neutral, compare, windows;
};

std::string readWhole(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// count lines of in, each with its line end, onto out; false when the table ends first.
bool copyLines(std::ifstream& in, std::size_t count, std::string& out)
{
    std::string line;
    for (std::size_t i = 0; i < count; ++i) {
        if (!std::getline(in, line))
            return false;
        out += line;
        out += '\n';
    }
    return true;
}

// The complete lines of a table after its header; a last line without its line end is not one.
std::size_t dataLines(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::size_t lines = 0;
    char buffer[1 << 16];
    while (in.read(buffer, sizeof buffer) || in.gcount() > 0)
        lines += static_cast<std::size_t>(std::count(buffer, buffer + in.gcount(), '\n'));
    return lines > 0 ? lines - 1 : 0;
}

bool openTable(std::ifstream& in, const std::filesystem::path& path, const std::string& header)
{
    in.open(path, std::ios::binary);
    std::string line;
    return in && std::getline(in, line) && line + "\n" == header;
}

// Why a shard's tables are not the ones its record summed, or nothing when they are; a record
// without sums (an earlier version's) adds a warning instead.
std::string checkSums(const Shard& s, std::vector<std::string>& warnings)
{
    if (s.record.tables.empty()) {
        warnings.push_back((s.folder / CompareFileNames::record).string() +
                           " holds no checksums of its tables (written by an earlier version): only their rows "
                           "were counted; run the shard again to have them checked whole");
        return {};
    }
    for (const char* name : {CompareFileNames::neutral, CompareFileNames::compare, CompareFileNames::windows}) {
        const auto found = std::find_if(s.record.tables.begin(), s.record.tables.end(),
                                        [name](const CompareRecord::Table& t) { return t.name == name; });
        const std::filesystem::path path = s.folder / name;
        if (found == s.record.tables.end())
            return (s.folder / CompareFileNames::record).string() + " holds no checksum of " + name;
        const std::optional<std::string> sum = sha256OfFile(path);
        if (!sum)
            return path.string() + " cannot be read";
        if (*sum != found->sha256)
            return path.string() + " is not the table its record summed: the shard was cut or edited; run it again";
    }
    return {};
}

// Reads every shard's record and checks that together they are one run, each shard once and whole.
std::string checkShards(std::vector<std::unique_ptr<Shard>>& shards, std::vector<std::string>& warnings)
{
    if (shards.empty())
        return "no shard folders to merge";
    for (const auto& s : shards) {
        std::error_code ec;
        if (!std::filesystem::is_directory(s->folder, ec))
            return s->folder.string() + (std::filesystem::exists(s->folder, ec) ? ": not a folder" : ": no such folder");
        if (!std::filesystem::exists(s->folder / CompareFileNames::record, ec))
            return s->folder.string() + ": no " + CompareFileNames::record + " (not the folder of a comparison)";
        std::string why;
        std::optional<CompareRecord> r =
            parseCompareRecord(readWhole(s->folder / CompareFileNames::record), &why);
        if (!r)
            return (s->folder / CompareFileNames::record).string() + ": " + why;
        if (r->end.empty() || r->end == "cancelled")
            return s->folder.string() + ": the shard did not run to its end; run it again";
        s->record = std::move(*r);
    }
    const CompareRecord& first = shards.front()->record;
    const int n = first.shards;
    std::vector<std::string> seen(static_cast<std::size_t>(std::max(n, 0)));
    for (const auto& s : shards) {
        const CompareRecord& r = s->record;
        if (r.head != first.head || r.shards != n)
            return s->folder.string() + " is a shard of another comparison than " + shards.front()->folder.string() +
                   " (seed, models, replicates, metrics, values or windows differ)";
        if (r.shard < 1 || r.shard > n)
            return s->folder.string() + ": shard " + std::to_string(r.shard) + "/" + std::to_string(n) + " does not exist";
        std::string& slot = seen[static_cast<std::size_t>(r.shard - 1)];
        if (!slot.empty())
            return "shard " + std::to_string(r.shard) + "/" + std::to_string(n) + " is given twice: " + slot + " and " +
                   s->folder.string();
        slot = s->folder.string();
        // Its windows are K-1, K-1+N, ...: each must be there once, in that order.
        std::size_t expected = 0;
        for (std::size_t i = static_cast<std::size_t>(r.shard - 1); i < r.windows; i += static_cast<std::size_t>(n))
            ++expected;
        bool inOrder = r.written.size() == expected;
        for (std::size_t j = 0; inOrder && j < expected; ++j)
            inOrder = r.written[j].index == static_cast<int>(static_cast<std::size_t>(r.shard - 1) + j * static_cast<std::size_t>(n));
        if (!inOrder)
            return s->folder.string() + ": the shard's record does not list its windows whole; run it again";
        if (!openTable(s->neutral, s->folder / CompareFileNames::neutral, neutralMetricsHeader()) ||
            !openTable(s->compare, s->folder / CompareFileNames::compare, compareHeader()) ||
            !openTable(s->windows, s->folder / CompareFileNames::windows, windowsHeader()))
            return s->folder.string() + ": a table is missing or is not a comparison's table";
        // Every table holds the rows its record counts, before anything of the output is replaced.
        std::size_t neutralRows = 0, compareRows = 0, windowRows = 0;
        for (const CompareRecord::Window& w : r.written)
            if (!w.failed) {
                neutralRows += w.neutralRows;
                compareRows += w.compareRows;
                ++windowRows;
            }
        for (const auto& [name, rows] : {std::pair{CompareFileNames::neutral, neutralRows},
                                         std::pair{CompareFileNames::compare, compareRows},
                                         std::pair{CompareFileNames::windows, windowRows}}) {
            const std::size_t held = dataLines(s->folder / name);
            if (held != rows)
                return (s->folder / name).string() + " holds " + std::to_string(held) + " rows where its record counts " +
                       std::to_string(rows) + ": the shard was cut or edited; run it again";
        }
        if (std::string why = checkSums(*s, warnings); !why.empty())
            return why;
    }
    for (std::size_t k = 0; k < seen.size(); ++k)
        if (seen[k].empty())
            return "shard " + std::to_string(k + 1) + "/" + std::to_string(n) + " is missing";
    return {};
}

}  // namespace

RunResult mergeCompare(const std::vector<std::filesystem::path>& shardFolders, const std::filesystem::path& output)
{
    RunResult result;
    std::vector<std::unique_ptr<Shard>> shards;
    for (const std::filesystem::path& folder : shardFolders) {
        std::error_code ec;
        if (std::filesystem::equivalent(folder, output, ec)) {
            result.status = RunStatus::Refused;
            result.message = "the merged tables cannot go into the shard folder " + folder.string();
            return result;
        }
        shards.push_back(std::make_unique<Shard>());
        shards.back()->folder = folder;
    }
    result.message = checkShards(shards, result.warnings);
    if (result.message.empty())
        result.message = checkOutputFolder(output);
    RunLock lock;
    if (result.message.empty() && !lock.acquire({output}))
        result.message = lock.message();
    CompareTables tables;
    const CompareRecord& first = shards.empty() ? CompareRecord{} : shards.front()->record;
    if (result.message.empty() && !tables.begin(output, compareRecordHeadForShard(first, 1, 1)))
        result.message = "cannot create " + tables.error();
    if (!result.message.empty()) {
        result.status = RunStatus::Refused;
        return result;
    }
    // Shards come in shard order whatever order the folders were named in.
    std::vector<Shard*> byNumber(shards.size());
    for (const auto& s : shards)
        byNumber[static_cast<std::size_t>(s->record.shard - 1)] = s.get();
    std::vector<int> failed;
    for (std::size_t i = 0; i < first.windows && !result.failed(); ++i) {
        Shard& s = *byNumber[i % byNumber.size()];
        const CompareRecord::Window& w = s.record.written[s.next++];
        std::string neutral, compare, windowRow;
        if (w.failed) {
            failed.push_back(w.index);
        } else if (!copyLines(s.neutral, w.neutralRows, neutral) || !copyLines(s.compare, w.compareRows, compare) ||
                   !copyLines(s.windows, 1, windowRow)) {
            result.status = RunStatus::Failed;
            result.message = s.folder.string() + ": its tables are shorter than its record";
            break;
        }
        const std::string line = w.failed ? compareRecordFailedLine(w.index)
                                          : compareRecordWindowLine(w.index, neutral, compare);
        if (!tables.addWindow(neutral, compare, windowRow, line)) {
            result.status = RunStatus::Failed;
            result.message = "could not write " + tables.error();
        }
    }
    if (!failed.empty() && !result.failed()) {
        result.status = RunStatus::Failed;
        result.message = std::to_string(failed.size()) + " of " + std::to_string(first.windows) +
                         " windows could not be compared in their shard (see compare-run.txt)";
    }
    if (!tables.finish(compareRecordEndLine(result.status)) && !result.failed()) {
        result.status = RunStatus::Failed;
        result.message = "could not write " + tables.error();
    }
    result.files = tables.files();
    return result;
}

}  // namespace orvalis
