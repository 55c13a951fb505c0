#include "core/sampler/WindowSampler.h"

#include "core/sampler/HabitatMask.h"

#include "core/io/LandscapeWriter.h"
#include "core/random/RandomSource.h"
#include "core/run/RunRecord.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <new>

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

void WindowSampler::configure(int threshold_, double halfSize_, int matrixValue_, int coverValue_)
{
    threshold = threshold_;
    halfSize = std::isfinite(halfSize_) ? static_cast<int>(std::clamp(halfSize_, -2147483648.0, 2147483647.0)) : 0;
    matrixValue = matrixValue_;
    coverValue = coverValue_;
}

bool WindowSampler::loadImage(const char* path)
{
    coverTable_.clear();
    tableFor_ = {};
    habitatBits_ = {};
    bitsFor_ = {};
    return image.load(path);
}

bool WindowSampler::coverTableReady(const std::function<bool()>& keepGoing)
{
    if (tableFor_ == current())
        return !coverTable_.empty();
    tableFor_ = current();
    // Without room for the table the windows are counted pixel by pixel: slower, same counts.
    return coverTable_.build(image, threshold, keepGoing);
}

std::int64_t WindowSampler::countPixels(int x, int y) const
{
    const int h = halfSize;
    std::int64_t habitat = 0;
    for (int i = x - h; i < x + h; ++i)
        for (int j = y - h; j < y + h; ++j)
            if (image.component(i, j, 2) <= threshold)
                ++habitat;
    return habitat;
}

std::int64_t WindowSampler::windowCover(int x, int y)
{
    if (!image.isLoaded())
        return -1;
    if (straightforward_ || !coverTableReady())
        return countPixels(x, y);
    return coverTable_.count(x - halfSize, y - halfSize, x + halfSize, y + halfSize);
}

bool WindowSampler::habitatBitsReady()
{
    if (bitsFor_ == current())
        return !habitatBits_.empty();
    bitsFor_ = current();
    habitatBits_.clear();
    const std::size_t width = static_cast<std::size_t>(image.width);
    const std::size_t height = static_cast<std::size_t>(image.height);
    // Spare bytes at each row's end let a window's last bits be read eight bytes at a time.
    bitsStride_ = (width + 7) / 8 + 8;
    try {
        std::vector<unsigned char> bits(bitsStride_ * height);
        std::vector<unsigned char> flags(roundUpToTile(width));
        for (std::size_t row = 0; row < height; ++row) {
            habitatRowBits(image.data + row * width * image.bytesPerPixel, image.bytesPerPixel, width, threshold,
                           flags.data(), bits.data() + row * bitsStride_);
        }
        habitatBits_ = std::move(bits);
    } catch (const std::bad_alloc&) {
        // Without room for the bits the windows are gathered from the pixels: slower, same files.
        habitatBits_.clear();
    }
    return !habitatBits_.empty();
}

bool WindowSampler::writeWindow(int x, int y, int h, const std::string& fileName, std::string* error)
{
    if (!image.isLoaded()) {
        if (error)
            *error = "Nenhuma imagem carregada";
        return false;
    }
    LandscapeWriter writer;
    if (!writer.open(fileName)) {
        if (error)
            *error = writer.error();
        return false;
    }
    const bool fromBits = !straightforward_ && habitatBitsReady();
    const std::size_t side = static_cast<std::size_t>(2) * static_cast<std::size_t>(h);
    const std::size_t paddedSide = roundUpToTile(side);
    // Lines run along image columns: a band of columns is gathered as habitat flags, a strip of rows at a time,
    // and turned into one run of flags per column. The band's flags stay within about a megabyte.
    const std::size_t band =
        std::min(paddedSide, std::max(FlagTile, (std::size_t(1) << 20) / paddedSide / FlagTile * FlagTile));
    std::vector<unsigned char> strip(fromBits ? 0 : FlagTile * band);
    std::vector<unsigned char> columns(band * paddedSide);
    bool ok = true;
    for (std::size_t c0 = 0; ok && c0 < side; c0 += band) {
        const std::size_t cols = std::min(band, side - c0);
        const std::size_t firstColumn = static_cast<std::size_t>(x - h) + c0;
        const std::size_t firstRow = static_cast<std::size_t>(y - h);
        if (fromBits)
            columnsFromBits(habitatBits_.data(), bitsStride_, firstColumn, firstRow, cols, side, columns.data(),
                            paddedSide);
        else
            columnsFromPixels(image, threshold, firstColumn, firstRow, cols, side, strip.data(), columns.data(),
                              paddedSide);
        for (std::size_t c = 0; ok && c < cols; ++c)
            ok = writer.writeFlagLine(std::span<const unsigned char>(columns.data() + c * paddedSide, side), matrixValue,
                                      coverValue);
    }
    ok = writer.close() && ok;
    if (!ok) {
        if (error)
            *error = writer.error();
        writer.discard();
    }
    return ok;
}

LandscapeGrid WindowSampler::windowGrid(int x, int y, int h) const
{
    const std::size_t side = 2 * static_cast<std::size_t>(h);
    LandscapeGrid grid(side, std::vector<int>(side));
    for (std::size_t k = 0; k < side; ++k)
        for (std::size_t j = 0; j < side; ++j)
            grid[k][j] = image.component(x - h + static_cast<int>(k), y - h + static_cast<int>(j), 2) <= threshold
                             ? coverValue
                             : matrixValue;
    return grid;
}

SampleResult WindowSampler::sampleWindows(const SampleParameters& params, RandomSource& random, RunControl& control)
{
    SampleResult out;
    auto refuse = [&out](SampleStop stop, std::string message) {
        out.stop = stop;
        out.status = RunStatus::Refused;
        out.message = std::move(message);
        return out;
    };
    if (!image.isLoaded())
        return refuse(SampleStop::NoImage, "Nenhuma imagem carregada");
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
        record.keepMetrics(metricsTableBeside(params.logPath), *params.metrics);
    if (!record.begin(params.logPath))
        return refuse(recordStop(record.failedList(), true),
                      withReason("cannot create " + record.failedListName(), record.error()));

    out.target = sampleTarget(range, params.replicates);
    const std::int64_t shownTotal = std::max<std::int64_t>(out.target, 0);
    std::array<int, 101> count{};
    CentreList centres;
    const DrawTable columns(image.width, h);
    const DrawTable rows(image.height, h);
    const std::string folder = params.folder.string();
    const bool watched = control.observed();

    ProgressEvent event;
    event.total = shownTotal;
    event.budgetLeft = TryBudget;
    if (!straightforward_) {
        // Building the table of a large image takes a while: keep the user's Cancel within reach.
        bool cancelled = false;
        coverTableReady([&] {
            cancelled = watched && !control.report(event);
            return !cancelled;
        });
        if (cancelled) {
            tableFor_ = {};  // an interrupted table is built again by the next run
            out.stop = SampleStop::Cancelled;
            out.status = RunStatus::Cancelled;
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
            event.budgetLeft = TryBudget - tries;
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
            const bool near = straightforward_ ? straightTooClose(centres, x, y, params.minDistance)
                                               : centres.tooClose(x, y, params.minDistance);
            if (near) {
                // Refused passes are not tries; once no centre can be accepted any more, run the budget down at once.
                if (++refusals >= RefusalsBeforeCheck && !checked) {
                    checked = true;
                    if (!anyAdmissibleCentre(columns, rows, centres, params.minDistance)) {
                        RandomSource ahead(random.state());
                        std::int64_t passes = 0;
                        bool cancelled = false;
                        while (tries < TryBudget) {
                            if (watched && ++passes % FastForwardReportEvery == 0) {
                                event.done = static_cast<std::int64_t>(record.files().size());
                                event.budgetLeft = TryBudget - tries;
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
            const std::int64_t habitat = windowCover(x, y);
            const int coverClass = static_cast<int>((100 * habitat) / windowPixels);
            if (isSampledClass(range, coverClass) && count[static_cast<std::size_t>(coverClass)] < params.replicates) {
                const int replicate = count[static_cast<std::size_t>(coverClass)] + 1;
                const std::string name = windowFileName(folder, params.prefix, coverClass, replicate);
                std::string why;
                if (!writeWindow(x, y, h, name, &why)) {
                    out.stop = SampleStop::WindowWriteFailed;
                    out.message = "cannot write " + name + ": " + why;
                    break;
                }
                const double cover = static_cast<double>(habitat) / static_cast<double>(windowPixels);
                const std::string line =
                    name + " " + formatCover(cover) + " " + std::to_string(x) + " " + std::to_string(y);
                if (!(params.metrics ? record.addFile(name, windowGrid(x, y, h), line) : record.addFile(name, line))) {
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
                if (static_cast<std::int64_t>(record.files().size()) >= out.target) {
                    out.stop = SampleStop::TargetReached;
                    break;
                }
            }
        }
        if (++tries >= TryBudget) {
            out.stop = SampleStop::TriesSpent;
            break;
        }
    }
    out.tries = tries;
    if (!record.finish() && out.ok()) {
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
