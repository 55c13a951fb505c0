#include "core/sampler/WindowSearch.h"

#include "core/io/SafeFile.h"

#include "core/run/RunRecord.h"
#include "core/sampler/CentreList.h"

#include <cerrno>
#include <cstring>
#include <algorithm>
#include <array>
#include <climits>
#include <cmath>
#include <cstdio>
#include <utility>
#include <vector>

namespace orvalis {

namespace {

constexpr int DrawCount = RandomSource::Max + 1;
// Distance-refused passes after one acceptance before the search asks whether any centre is left.
constexpr std::int64_t RefusalsBeforeCheck = 4096;
// Passes between progress reports while the budget is run down without a possible window.
constexpr std::int64_t FastForwardReportEvery = 1 << 16;

// Column (or row) that a draw lands on: (r / 32767) * extent, truncated.
int drawnCoordinate(int r, int extent)
{
    return static_cast<int>(static_cast<double>(r) / 32767.0 * static_cast<double>(extent));
}

// Where each of the 32768 draws lands, and whether that passes the position test.
struct DrawTable {
    std::array<int, DrawCount> at{};
    std::array<bool, DrawCount> inside{};
    std::vector<int> reachable;  // distinct inside coordinates, ascending

    DrawTable(int extent, int h)
    {
        for (int r = 0; r < DrawCount; ++r) {
            at[r] = drawnCoordinate(r, extent);
            inside[r] = at[r] >= h && static_cast<std::int64_t>(at[r]) < static_cast<std::int64_t>(extent) - h;
            if (inside[r] && (reachable.empty() || reachable.back() != at[r]))
                reachable.push_back(at[r]);
        }
    }
};

std::int64_t isqrt(std::int64_t v)
{
    auto r = static_cast<std::int64_t>(std::sqrt(static_cast<double>(v)));
    while (r * r > v)
        --r;
    while ((r + 1) * (r + 1) <= v)
        ++r;
    return r;
}

// True when some draw pair still gives a centre that passes the position test and is
// not within minDistance of an accepted centre.
bool anyAdmissibleCentre(const DrawTable& columns, const DrawTable& rows, const CentreList& centres, int minDistance)
{
    if (columns.reachable.empty() || rows.reachable.empty())
        return false;
    if (minDistance < 0 || centres.empty())
        return true;
    // No two pixels of an image lie 2^20 apart, so a larger distance changes nothing.
    minDistance = std::min(minDistance, 1 << 20);
    const std::int64_t reach2 = (static_cast<std::int64_t>(minDistance) + 1) * (static_cast<std::int64_t>(minDistance) + 1);
    std::vector<std::pair<int, int>> byRow;  // (y, x)
    byRow.reserve(centres.size());
    for (std::size_t k = 0; k < centres.size(); ++k)
        byRow.emplace_back(centres.ys[k], centres.xs[k]);
    std::sort(byRow.begin(), byRow.end());
    const std::vector<int>& xs = columns.reachable;
    std::vector<std::pair<std::int64_t, std::int64_t>> spans;
    for (int y : rows.reachable) {
        auto first = std::lower_bound(byRow.begin(), byRow.end(), std::make_pair(y - minDistance, INT32_MIN));
        auto last = std::upper_bound(byRow.begin(), byRow.end(), std::make_pair(y + minDistance, INT32_MAX));
        spans.clear();
        for (auto it = first; it != last; ++it) {
            std::int64_t dy = static_cast<std::int64_t>(it->first) - y;
            std::int64_t d = isqrt(reach2 - dy * dy - 1);
            spans.emplace_back(it->second - d, it->second + d);
        }
        std::sort(spans.begin(), spans.end());
        std::size_t p = 0;  // first reachable column not yet known to be covered
        for (const auto& s : spans) {
            if (p == xs.size())
                break;
            if (xs[p] < s.first)
                return true;
            if (xs[p] <= s.second)
                p = static_cast<std::size_t>(std::upper_bound(xs.begin() + static_cast<std::ptrdiff_t>(p), xs.end(), s.second) - xs.begin());
        }
        if (p < xs.size())
            return true;
    }
    return false;
}

bool straightTooClose(const CentreList& centres, int x, int y, int minDistance)
{
    for (std::size_t k = 0; k < centres.xs.size(); ++k) {
        std::int64_t dx = static_cast<std::int64_t>(centres.xs[k]) - x;
        std::int64_t dy = static_cast<std::int64_t>(centres.ys[k]) - y;
        auto d = static_cast<std::int64_t>(std::sqrt(static_cast<double>(dx * dx + dy * dy)));
        if (d <= minDistance)
            return true;
    }
    return false;
}

}  // namespace

SampleResult searchWindows(WindowSource& source, const SampleParameters& params, int halfSize, RandomSource& random,
                           RunControl& control, bool straightforward)
{
    SampleResult out;
    auto refuse = [&out](SampleStop stop, std::string message) {
        out.stop = stop;
        out.status = RunStatus::Refused;
        out.message = std::move(message);
        return out;
    };
    const CoverRange& range = params.cover;
    if (halfSize < 1 || range.step < 1)
        return refuse(SampleStop::BadParameters,
                      halfSize < 1 ? "the window must be at least 2 pixels wide" : "the cover step must be at least 1");
    // Joined with "/" an empty folder would put the windows in the root folder.
    if (params.folder.empty())
        return refuse(SampleStop::BadParameters, "no folder was chosen for the window files");
    const int h = halfSize;
    const std::int64_t windowPixels = 4 * static_cast<std::int64_t>(h) * h;
    out.levels = sampledClassCount(range);

    RunRecord record(params.batchList, params.postString);
    if (params.metrics)
        record.keepMetrics(metricsTableBeside(params.logPath), *params.metrics, params.metricsCellSize);
    // The earlier log and lists stay until the first window is complete: a run that cannot write
    // any window changes nothing.
    if (!record.beginAtFirstFile(params.logPath))
        return refuse(recordStop(record.failedList(), true),
                      withReason("cannot create " + record.failedListName(), record.error()));
    bool replaced = false;
    const auto replaceEarlier = [&] {
        if (replaced)
            return true;
        if (!record.replaceEarlier())
            return false;
        replaced = true;
        // The run's record goes with the log it describes: readers take the windows' cell size from it.
        if (!params.logPath.empty() && !writeWholeFile(sampleRunRecordBeside(params.logPath), sampleRunRecord(params)))
            out.warnings.push_back("cannot write " + sampleRunRecordBeside(params.logPath) + ": " + std::strerror(errno));
        return true;
    };

    out.target = sampleTarget(range, params.replicates);
    const std::int64_t fillable = static_cast<std::int64_t>(out.levels) * params.replicates;
    const std::int64_t shownTotal = std::max<std::int64_t>(out.target, 0);
    std::array<int, 101> count{};
    CentreList centres;
    const DrawTable columns(source.width(), h);
    const DrawTable rows(source.height(), h);
    const std::string folder = params.folder.string();
    const std::string extension = source.fileExtension();
    const bool watched = control.observed();

    ProgressEvent event;
    event.total = shownTotal;
    event.budgetLeft = WindowTryBudget;
    {
        // Preparing the counts of a large source takes a while: keep the user's Cancel within reach.
        bool cancelled = false;
        source.prepareCounts([&] {
            cancelled = watched && !control.report(event);
            return !cancelled;
        });
        if (cancelled) {
            out.stop = SampleStop::Cancelled;
            out.status = RunStatus::Cancelled;
            replaceEarlier();
            record.finish();
            out.files = record.takeFiles();
            return out;
        }
    }

    std::int64_t tries = 0;
    std::int64_t refusals = 0;  // distance-refused passes since the last acceptance
    bool checked = false;       // whether the centres left have been counted since the last acceptance
    for (;;) {
        if (watched) {
            event.done = static_cast<std::int64_t>(record.files().size());
            event.budgetLeft = WindowTryBudget - tries;
            if (!control.report(event)) {
                out.stop = SampleStop::Cancelled;
                break;
            }
        }
        const int r1 = random.next();
        const int r2 = random.next();
        const int x = columns.at[r1];
        const int y = rows.at[r2];
        if (columns.inside[r1] && rows.inside[r2]) {
            const bool near = straightforward ? straightTooClose(centres, x, y, params.minDistance)
                                               : centres.tooClose(x, y, params.minDistance);
            if (near) {
                // Refused passes are not tries; once no centre can be accepted any more, run the budget down at once.
                if (++refusals >= RefusalsBeforeCheck && !checked) {
                    checked = true;
                    if (!anyAdmissibleCentre(columns, rows, centres, params.minDistance)) {
                        RandomSource ahead(random.state());
                        std::int64_t passes = 0;
                        bool cancelled = false;
                        while (tries < WindowTryBudget) {
                            if (watched && ++passes % FastForwardReportEvery == 0) {
                                event.done = static_cast<std::int64_t>(record.files().size());
                                event.budgetLeft = WindowTryBudget - tries;
                                if (!control.report(event)) {
                                    cancelled = true;
                                    break;
                                }
                            }
                            const int a = ahead.next();
                            const int b = ahead.next();
                            if (!columns.inside[a] || !rows.inside[b])
                                ++tries;
                        }
                        random.seed(ahead.state());
                        out.stop = cancelled ? SampleStop::Cancelled : SampleStop::NoCentreLeft;
                        if (!cancelled)
                            out.message = "no window centre is left: every possible centre lies within the minimum "
                                          "distance of an accepted window";
                        break;
                    }
                }
                continue;
            }
            // A window holding no-data is a failed try, whatever its cover.
            const bool holdsNoData = source.windowHasNoData(x, y, h);
            const std::int64_t habitat = holdsNoData ? 0 : source.windowHabitat(x, y, h);
            const int coverClass = static_cast<int>((100 * habitat) / windowPixels);
            if (!holdsNoData && isSampledClass(range, coverClass) &&
                count[static_cast<std::size_t>(coverClass)] < params.replicates) {
                const int replicate = count[static_cast<std::size_t>(coverClass)] + 1;
                const std::string name = windowFileName(folder, params.prefix, coverClass, replicate, extension);
                std::string why;
                if (!source.writeWindow(x, y, h, name, &why, replaceEarlier)) {
                    if (record.failedList() != RunRecord::List::None) {
                        out.stop = recordStop(record.failedList(), true);
                        out.message = withReason("cannot create " + record.failedListName(), record.error());
                    } else {
                        out.stop = SampleStop::WindowWriteFailed;
                        out.message = "cannot write " + name + ": " + why;
                    }
                    break;
                }
                const double cover = static_cast<double>(habitat) / static_cast<double>(windowPixels);
                const std::string line =
                    name + " " + formatCover(cover) + " " + std::to_string(x) + " " + std::to_string(y) + source.logFields(x, y);
                const bool recorded = params.metrics ? record.addFile(name, source.windowGrid(x, y, h), line)
                                                     : record.addFile(name, line);
                if (!recorded) {
                    if (record.failedList() == RunRecord::List::Log) {
                        out.stop = SampleStop::LogWriteFailed;
                        out.message = withReason("cannot write " + params.logPath, record.error());
                        std::remove(name.c_str());  // a window the log does not name is not kept
                    } else {
                        out.stop = recordStop(record.failedList(), false);
                        out.message = withReason("cannot write " + record.failedListName(), record.error());
                    }
                    break;
                }
                count[static_cast<std::size_t>(coverClass)] = replicate;
                centres.add(x, y);
                refusals = 0;
                checked = false;
                // The target may count levels the step leaves out; once every level sampled is full,
                // no later try could be accepted, so the budget is not spent on nothing.
                if (static_cast<std::int64_t>(record.files().size()) >= std::min(out.target, fillable)) {
                    out.stop = SampleStop::TargetReached;
                    break;
                }
            }
        }
        if (++tries >= WindowTryBudget) {
            out.stop = SampleStop::TriesSpent;
            break;
        }
    }
    out.tries = tries;
    if (!out.ok() && record.files().empty()) {
        // Nothing of this run is kept: the earlier log and lists stay as they were.
        out.status = RunStatus::Failed;
        record.end(out);
    } else if (out.ok() && !replaceEarlier()) {
        out.stop = recordStop(record.failedList(), true);
        out.message = withReason("cannot create " + record.failedListName(), record.error());
        record.finish();
    } else if (!record.finish() && out.ok()) {
        out.stop = recordStop(record.failedList(), false);
        out.message = withReason("cannot write " + record.failedListName(), record.error());
    }
    out.asked = static_cast<long long>(out.levels) * params.replicates;
    for (int c = std::max(range.min, 0); c <= std::min(range.max, 100); ++c) {
        if (!isSampledClass(range, c))
            continue;
        const int got = count[static_cast<std::size_t>(c)];
        if (got >= params.replicates)
            ++out.levelsFilled;
        else
            out.shortLevels.push_back({std::to_string(c) + " %", got, params.replicates});
    }
    out.files = record.takeFiles();
    out.status = out.stop == SampleStop::Cancelled ? RunStatus::Cancelled
                 : out.ok()                        ? RunStatus::Completed
                                                   : RunStatus::Failed;
    return out;
}

}  // namespace orvalis
