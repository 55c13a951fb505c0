#include "core/compare/CompareRecord.h"

#include "core/compare/CompareTables.h"
#include "core/io/NumberText.h"

#include <algorithm>
#include <sstream>

namespace orvalis {

namespace {

constexpr const char* FirstLine = "orvalis compare run\n";

std::size_t lineCount(const std::string& text)
{
    return static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
}

}  // namespace

std::string compareRecordHead(const CompareParameters& p)
{
    std::string head = FirstLine;
    const auto add = [&head](const char* key, const std::string& value) {
        head += key;
        head += ' ';
        head += value;
        head += '\n';
    };
    std::vector<std::string> models;
    for (const NeutralModel& m : p.models)
        models.push_back(m.name());
    const auto joined = [](const std::vector<std::string>& words) {
        std::string text;
        for (const std::string& w : words) {
            if (!text.empty())
                text += ' ';
            text += w;
        }
        return text;
    };
    const std::string metrics = joined(p.metricNames);
    add("seed", std::to_string(p.seed));
    add("models", joined(models));
    add("replicates", std::to_string(p.replicates));
    add("metrics", metrics.empty() ? "all" : metrics);
    add("neighbours", std::to_string(p.metrics.neighbours));
    add("cell-size", cellSizeRecord(p));
    add("cover-value", std::to_string(p.coverValue));
    add("matrix-value", std::to_string(p.matrixValue));
    add("windows", std::to_string(p.files.size()) + " " + windowListHash(p.files));
    add("shard", std::to_string(p.shard) + "/" + std::to_string(p.shards));
    return head;
}

std::string compareRecordWindowLine(int index, const std::string& neutralRows, const std::string& compareRows)
{
    return "window " + std::to_string(index) + " rows " + std::to_string(lineCount(neutralRows)) + " " +
           std::to_string(lineCount(compareRows)) + "\n";
}

std::string compareRecordFailedLine(int index)
{
    return "window " + std::to_string(index) + " failed\n";
}

std::string compareRecordTableLine(const std::string& name, std::size_t rows, const std::string& sha256)
{
    return "table " + name + " " + std::to_string(rows) + " sha256 " + sha256 + "\n";
}

std::string compareRecordEndLine(RunStatus status)
{
    const char* word = status == RunStatus::Completed ? "completed" : status == RunStatus::Cancelled ? "cancelled" : "failed";
    return std::string("end ") + word + "\n";
}

std::optional<CompareRecord> parseCompareRecord(const std::string& text, std::string* error)
{
    const auto refuse = [&](const std::string& why) -> std::optional<CompareRecord> {
        if (error)
            *error = why;
        return std::nullopt;
    };
    if (text.compare(0, std::char_traits<char>::length(FirstLine), FirstLine) != 0)
        return refuse("not the record of a comparison");
    CompareRecord record;
    std::istringstream in(text);
    std::string line;
    bool shardSeen = false;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::string word;
        fields >> word;
        if (!record.end.empty())
            return refuse("lines after the end line");
        if (word == "shard") {
            char slash = 0;
            if (!(fields >> record.shard >> slash >> record.shards) || slash != '/')
                return refuse("a bad shard line: " + line);
            shardSeen = true;
        } else if (word == "window") {
            CompareRecord::Window w;
            std::string kind;
            if (!(fields >> w.index >> kind))
                return refuse("a bad window line: " + line);
            w.failed = kind == "failed";
            if (!w.failed && (kind != "rows" || !(fields >> w.neutralRows >> w.compareRows)))
                return refuse("a bad window line: " + line);
            record.written.push_back(w);
        } else if (word == "table") {
            CompareRecord::Table t;
            std::string kind;
            if (!(fields >> t.name >> t.rows >> kind >> t.sha256) || kind != "sha256" || t.sha256.size() != 64)
                return refuse("a bad table line: " + line);
            record.tables.push_back(t);
        } else if (word == "end") {
            fields >> record.end;
            if (record.end.empty())
                return refuse("a bad end line");
        } else if (!shardSeen) {
            if (word == "windows")
                fields >> record.windows;
            record.head += line + "\n";
        } else {
            return refuse("an unknown line: " + line);
        }
    }
    if (!shardSeen)
        return refuse("no shard line");
    return record;
}

std::string compareRecordHeadForShard(const CompareRecord& record, int shard, int shards)
{
    return record.head + "shard " + std::to_string(shard) + "/" + std::to_string(shards) + "\n";
}

}  // namespace orvalis
