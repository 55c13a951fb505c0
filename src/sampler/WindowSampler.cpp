#include "sampler/WindowSampler.h"

#include "landscape/LandscapeGrid.h"
#include "random/RandomSource.h"

#include <algorithm>
#include <array>
#include <cerrno>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

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

std::string failureText(const std::string& what, int err)
{
    return err != 0 ? what + ": " + std::strerror(err) : what;
}

}  // namespace

std::string windowFileName(const std::string& folder, const std::string& prefix, int coverClass, int replicate)
{
    char numbers[48];
    std::snprintf(numbers, sizeof numbers, "%03d_%03d.txt", coverClass, replicate);
    return folder + "/" + prefix + numbers;
}

std::string formatCover(double cover)
{
    // to_chars, not printf: the GUI runs under the user's locale, which may write a decimal comma.
    char buf[64];
    auto r = std::to_chars(buf, buf + sizeof buf, cover, std::chars_format::general, 6);
    return std::string(buf, r.ptr);
}

const char* sampleStopText(SampleStop stop)
{
    switch (stop) {
    case SampleStop::TargetReached: return "every cover level got its replicates";
    case SampleStop::TriesSpent: return "the search spent all its tries";
    case SampleStop::Cancelled: return "cancelled";
    case SampleStop::NoCentreLeft: return "no window centre is left outside the minimum distance of the accepted ones";
    case SampleStop::LogNotOpened: return "sample.txt could not be created";
    case SampleStop::LogWriteFailed: return "sample.txt could not be written";
    case SampleStop::WindowWriteFailed: return "a window file could not be written";
    case SampleStop::NoImage: return "no image loaded";
    case SampleStop::BadParameters: return "bad parameters";
    }
    return "";
}

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
    tableData_ = nullptr;
    return image.load(path);
}

void WindowSampler::requireImage() const
{
    if (!image.isLoaded()) {
        std::fprintf(stderr, "Ocorreu um erro: %s\n", "Nenhuma imagem carregada");
        std::exit(1);
    }
}

bool WindowSampler::coverTableReady(const std::function<bool()>& keepGoing)
{
    const bool current = tableData_ == image.data && tableThreshold_ == threshold && tableWidth_ == image.width &&
                         tableHeight_ == image.height;
    if (current)
        return !coverTable_.empty();
    tableData_ = image.data;
    tableThreshold_ = threshold;
    tableWidth_ = image.width;
    tableHeight_ = image.height;
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
    requireImage();
    if (straightforward_ || !coverTableReady())
        return countPixels(x, y);
    return coverTable_.count(x - halfSize, y - halfSize, x + halfSize, y + halfSize);
}

bool WindowSampler::writeWindow(int x, int y, int h, const std::string& fileName, std::string* error)
{
    requireImage();
    LandscapeWriter writer;
    if (!writer.open(fileName)) {
        if (error)
            *error = writer.error();
        return false;
    }
    const std::size_t side = static_cast<std::size_t>(2) * static_cast<std::size_t>(h);
    const std::size_t bpp = image.bytesPerPixel;
    const std::size_t width = static_cast<std::size_t>(image.width);
    // Lines run along image columns: a band of columns is gathered row by row as habitat flags, then written out.
    // Wide bands read long runs of each image row; the flags stay within about a megabyte.
    const std::size_t Band = std::max<std::size_t>(64, (std::size_t(1) << 20) / std::max<std::size_t>(side, 1));
    const std::size_t bandColumns = std::min<std::size_t>(Band, side);
    std::vector<unsigned char> band(bandColumns * side);
    std::vector<int> line(side);
    const int values[2] = {matrixValue, coverValue};
    bool ok = true;
    for (std::size_t c0 = 0; ok && c0 < side; c0 += Band) {
        const std::size_t cols = std::min(Band, side - c0);
        const std::size_t firstColumn = static_cast<std::size_t>(x - h) + c0;
        // Transposed in 64 x 64 tiles so that both the pixel reads and the flag writes stay in cache.
        constexpr std::size_t Tile = 64;
        for (std::size_t r0 = 0; r0 < side; r0 += Tile) {
            const std::size_t r1 = std::min(side, r0 + Tile);
            for (std::size_t t0 = 0; t0 < cols; t0 += Tile) {
                const std::size_t t1 = std::min(cols, t0 + Tile);
                for (std::size_t r = r0; r < r1; ++r) {
                    const std::size_t row = static_cast<std::size_t>(y - h) + r;
                    const unsigned char* px = image.data + (row * width + firstColumn + t0) * bpp + 2;
                    for (std::size_t c = t0; c < t1; ++c, px += bpp)
                        band[c * side + r] = *px <= threshold ? 1 : 0;
                }
            }
        }
        for (std::size_t c = 0; ok && c < cols; ++c) {
            const unsigned char* flags = band.data() + c * side;
            for (std::size_t r = 0; r < side; ++r)
                line[r] = values[flags[r]];
            ok = writer.writeLine(line);
        }
    }
    ok = writer.close() && ok;
    if (!ok) {
        if (error)
            *error = writer.error();
        writer.discard();
    }
    return ok;
}

SampleOutcome WindowSampler::sampleWindows(const SampleParameters& params, std::vector<std::string>& fileNames,
                                           const ProgressCallback& progress)
{
    SampleOutcome out;
    if (!image.isLoaded()) {
        out.stop = SampleStop::NoImage;
        out.message = "Nenhuma imagem carregada";
        return out;
    }
    if (halfSize < 1 || params.coverStep < 1) {
        out.stop = SampleStop::BadParameters;
        out.message = halfSize < 1 ? "the window must be at least 2 pixels wide" : "the cover step must be at least 1";
        return out;
    }
    if (params.folder.empty()) {
        // Joined with "/" an empty folder would put the windows in the root folder.
        out.stop = SampleStop::BadParameters;
        out.message = "no folder was chosen for the window files";
        return out;
    }
    const int h = halfSize;
    const std::int64_t windowPixels = 4 * static_cast<std::int64_t>(h) * h;
    for (int c = std::max(params.coverMin, 0); c <= std::min(params.coverMax, 100); ++c)
        if (c % params.coverStep == 0)
            ++out.levels;

    std::FILE* log = std::fopen(params.logPath.c_str(), "wb");
    if (!log) {
        out.stop = SampleStop::LogNotOpened;
        out.message = failureText("cannot create " + params.logPath, errno);
        return out;
    }

    out.target = ((static_cast<std::int64_t>(params.coverMax) + params.coverStep - params.coverMin) * params.replicates) /
                 params.coverStep;
    const std::int64_t shownTotal = std::max<std::int64_t>(out.target, 0);
    std::array<int, 101> count{};
    CentreList centres;
    const DrawTable columns(image.width, h);
    const DrawTable rows(image.height, h);
    RandomSource& random = globalRandom();

    ProgressEvent event;
    event.total = shownTotal;
    event.budgetLeft = TryBudget;
    if (!straightforward_) {
        // Building the table of a large image takes a while: keep the user's Cancel within reach.
        bool cancelled = false;
        coverTableReady([&] {
            cancelled = progress && !progress(event);
            return !cancelled;
        });
        if (cancelled) {
            tableData_ = nullptr;  // an interrupted table is built again by the next run
            out.stop = SampleStop::Cancelled;
            std::fclose(log);
            return out;
        }
    }

    std::int64_t tries = 0;
    std::int64_t refusals = 0;  // distance-refused passes since the last acceptance
    bool checked = false;       // whether the centres left have been counted since the last acceptance
    for (;;) {
        if (progress) {
            event.done = out.written;
            event.budgetLeft = TryBudget - tries;
            if (!progress(event)) {
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
                            if (progress && ++passes % FastForwardReportEvery == 0) {
                                event.done = out.written;
                                event.budgetLeft = TryBudget - tries;
                                if (!progress(event)) {
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
            if (coverClass >= params.coverMin && coverClass <= params.coverMax && coverClass % params.coverStep == 0 &&
                count[static_cast<std::size_t>(coverClass)] < params.replicates) {
                const int replicate = count[static_cast<std::size_t>(coverClass)] + 1;
                const std::string name = windowFileName(params.folder, params.prefix, coverClass, replicate);
                std::string why;
                if (!writeWindow(x, y, h, name, &why)) {
                    out.stop = SampleStop::WindowWriteFailed;
                    out.message = "cannot write " + name + ": " + why;
                    break;
                }
                const double cover = static_cast<double>(habitat) / static_cast<double>(windowPixels);
                const std::string line =
                    name + " " + formatCover(cover) + " " + std::to_string(x) + " " + std::to_string(y) + "\n";
                errno = 0;
                if (std::fwrite(line.data(), 1, line.size(), log) != line.size() || std::fflush(log) != 0) {
                    out.stop = SampleStop::LogWriteFailed;
                    out.message = failureText("cannot write " + params.logPath, errno);
                    std::remove(name.c_str());
                    break;
                }
                count[static_cast<std::size_t>(coverClass)] = replicate;
                centres.add(x, y);
                fileNames.push_back(name);
                refusals = 0;
                checked = false;
                ++out.written;
                if (out.written >= out.target) {
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
    errno = 0;
    if (std::fclose(log) != 0 && out.ok()) {
        out.stop = SampleStop::LogWriteFailed;
        out.message = failureText("cannot write " + params.logPath, errno);
    }
    for (int c = std::max(params.coverMin, 0); c <= std::min(params.coverMax, 100); ++c)
        if (c % params.coverStep == 0 && count[static_cast<std::size_t>(c)] >= params.replicates)
            ++out.levelsFilled;
    return out;
}

}  // namespace orvalis
