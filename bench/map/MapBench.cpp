// Reading a classified map: LandCoverMap::load against a bare read of every block through GDAL,
// its peak memory, and rectangle counts of two sizes, which must cost about the same.
// The map is a tiled (256), DEFLATE GeoTIFF of SIDE x SIDE Byte cells, 8 classes in ragged patches
// with scattered single cells, and a no-data border. Goals: load <= 1.3 x bare read, peak memory
// <= 3 bits per cell + 150 MiB, counts of side 2000 < 2 x those of side 500.
// Usage: bench_map [SIDE [FILE]]; SIDE defaults to 40000. A FILE that exists is read as it is
// and kept; without FILE the map is made in /dev/shm (or the temporary folder) and removed.
#include "BenchSupport.h"
#include "core/map/HabitatClasses.h"
#include "core/map/LandCoverMap.h"
#include "core/sampler/SampleRun.h"
#include "core/random/RandomSource.h"

#include <gdal_priv.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

using namespace orvalis::bench;
namespace fs = std::filesystem;

namespace {

constexpr int Classes = 8;
constexpr int Patch = 96;  // cells a side of the coarse class grid

std::uint64_t mix(std::uint64_t v)
{
    v += 0x9e3779b97f4a7c15ull;
    v = (v ^ (v >> 30)) * 0xbf58476d1ce4e5b9ull;
    v = (v ^ (v >> 27)) * 0x94d049bb133111ebull;
    return v ^ (v >> 31);
}

bool makeMap(const std::string& path, int side)
{
    GDALDriver* driver = GetGDALDriverManager()->GetDriverByName("GTiff");
    const char* const options[] = {"TILED=YES", "BLOCKXSIZE=256", "BLOCKYSIZE=256", "COMPRESS=DEFLATE",
                                   "BIGTIFF=IF_SAFER", nullptr};
    GDALDataset* ds = driver->Create(path.c_str(), side, side, 1, GDT_Byte, const_cast<char**>(options));
    if (!ds)
        return false;
    double t[6] = {500000, 30, 0, 4000000, 0, -30};
    ds->SetGeoTransform(t);
    GDALRasterBand* band = ds->GetRasterBand(1);
    band->SetNoDataValue(0);
    // A coarse grid of classes, drawn from the project's generator.
    const int coarse = side / Patch + 2;
    orvalis::RandomSource random(7);
    std::vector<unsigned char> grid(static_cast<std::size_t>(coarse) * coarse);
    for (auto& c : grid)
        c = static_cast<unsigned char>(1 + random.next() % Classes);
    const int border = std::max(1, side / 200);
    std::vector<unsigned char> rows(static_cast<std::size_t>(side) * 256);
    for (int y0 = 0; y0 < side; y0 += 256) {
        const int h = std::min(256, side - y0);
        for (int r = 0; r < h; ++r) {
            const int y = y0 + r;
            unsigned char* row = rows.data() + static_cast<std::size_t>(r) * side;
            for (int x = 0; x < side; ++x) {
                const std::uint64_t n = mix(static_cast<std::uint64_t>(y) * 1000003u + static_cast<std::uint64_t>(x));
                // Patch edges wander by up to a quarter patch; one cell in fifty is any class.
                const int jx = static_cast<int>(n & 31) - 16, jy = static_cast<int>((n >> 5) & 31) - 16;
                const int cx = std::clamp((x + jx + Patch) / Patch, 0, coarse - 1);
                const int cy = std::clamp((y + jy + Patch) / Patch, 0, coarse - 1);
                unsigned char c = grid[static_cast<std::size_t>(cy) * coarse + cx];
                if ((n >> 10) % 50 == 0)
                    c = static_cast<unsigned char>(1 + (n >> 20) % Classes);
                if (x < border || y < border || x >= side - border || y >= side - border)
                    c = 0;
                row[x] = c;
            }
        }
        if (band->RasterIO(GF_Write, 0, y0, side, h, rows.data(), side, h, GDT_Byte, 0, 0, nullptr) != CE_None)
            return false;
    }
    GDALClose(GDALDataset::ToHandle(ds));
    return true;
}

struct Timing {
    double wall = 0;
    double cpu = 0;
};

// Every block read once through GDAL and nothing else done: what reading the map costs at least.
Timing bareRead(const std::string& path)
{
    GDALDataset* ds = GDALDataset::Open(path.c_str(), GDAL_OF_RASTER | GDAL_OF_READONLY);
    GDALRasterBand* band = ds->GetRasterBand(1);
    int bw = 0, bh = 0;
    band->GetBlockSize(&bw, &bh);
    std::vector<unsigned char> block(static_cast<std::size_t>(bw) * bh);
    const auto a = Clock::now();
    const double cpu0 = cpuSeconds();
    std::uint64_t check = 0;
    for (int by = 0; by < (band->GetYSize() + bh - 1) / bh; ++by)
        for (int bx = 0; bx < (band->GetXSize() + bw - 1) / bw; ++bx) {
            if (band->ReadBlock(bx, by, block.data()) != CE_None)
                std::fprintf(stderr, "block %d,%d not read\n", bx, by);
            check += block[0];
        }
    const Timing t{seconds(a, Clock::now()), cpuSeconds() - cpu0};
    GDALClose(GDALDataset::ToHandle(ds));
    if (check == 1)
        std::printf(" ");
    return t;
}

// ns per rectangle of the given side, habitat and no-data both counted.
double countTime(const orvalis::LandCoverMap& map, int side, int rectangles, std::uint64_t& total)
{
    std::vector<std::int64_t> xs(rectangles), ys(rectangles);
    std::uint64_t seed = static_cast<std::uint64_t>(side);
    for (int k = 0; k < rectangles; ++k) {
        xs[k] = static_cast<std::int64_t>(mix(seed++) % static_cast<std::uint64_t>(map.width() - side + 1));
        ys[k] = static_cast<std::int64_t>(mix(seed++) % static_cast<std::uint64_t>(map.height() - side + 1));
    }
    const auto a = Clock::now();
    for (int k = 0; k < rectangles; ++k)
        total += map.habitat(xs[k], ys[k], xs[k] + side, ys[k] + side) + map.noData(xs[k], ys[k], xs[k] + side, ys[k] + side);
    return seconds(a, Clock::now()) * 1e9 / rectangles;
}

}  // namespace

int main(int argc, char** argv)
{
    const int side = argc > 1 ? std::atoi(argv[1]) : 40000;
    if (side < 2100) {
        std::fprintf(stderr, "usage: bench_map [SIDE [FILE]], SIDE at least 2100\n");
        return 2;
    }
    GDALAllRegister();
    std::string path;
    bool keep = argc > 2;
    if (keep) {
        path = argv[2];
    } else {
        std::error_code ec;
        // The compressed map is a few percent of a byte a cell; in memory, disk speed stays out of the reads.
        const bool shm = fs::is_directory("/dev/shm", ec) && fs::space("/dev/shm", ec).available > static_cast<std::uintmax_t>(side) * side / 4;
        path = ((shm ? fs::path("/dev/shm") : fs::temp_directory_path()) /
                ("orvalis-bench-map-" + std::to_string(getpid()) + ".tif")).string();
    }
    if (!fs::exists(path)) {
        std::printf("making a %d x %d map in %s ...\n", side, side, path.c_str());
        std::fflush(stdout);
        const auto a = Clock::now();
        // Made by a child process, so that what writing it takes stays out of the memory measured here.
        const pid_t child = fork();
        if (child == 0) {
            GDALSetCacheMax64(256ll << 20);
            _exit(makeMap(path, side) ? 0 : 1);
        }
        int status = 1;
        if (child < 0 || waitpid(child, &status, 0) != child || status != 0) {
            std::fprintf(stderr, "the map could not be made\n");
            return 1;
        }
        std::printf("  made in %.1f s, %.1f MiB\n", seconds(a, Clock::now()), fs::file_size(path) / 1048576.0);
    }

    const Timing bare1 = bareRead(path);
    std::printf("bare read of every block:   %7.3f s  (processor %.3f s)\n", bare1.wall, bare1.cpu);

    orvalis::HabitatClasses classes;
    classes.parse("2, 5, 7", nullptr);
    orvalis::LandCoverMap map;
    std::string error;
    if (!map.open(path, 1, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const long before = statusKb("VmRSS");
    resetPeak();
    const auto a = Clock::now();
    const double cpu0 = cpuSeconds();
    if (!map.load(classes, {}, &error)) {
        std::fprintf(stderr, "%s\n", error.c_str());
        return 1;
    }
    const double load = seconds(a, Clock::now());
    const double loadCpu = cpuSeconds() - cpu0;
    const long peak = statusKb("VmHWM");
    const double cells = static_cast<double>(map.width()) * static_cast<double>(map.height());
    const Timing bare2 = bareRead(path);
    std::printf("bare read again:            %7.3f s  (processor %.3f s)\n", bare2.wall, bare2.cpu);
    const double bare = std::min(bare1.wall, bare2.wall), bareCpu = std::min(bare1.cpu, bare2.cpu);
    std::printf("load, classes 2, 5, 7:      %7.3f s  (%.2f x the faster bare read; goal <= 1.3)\n", load,
                load / bare);
    // The cells are worked on by a second thread while GDAL reads: with a core to spare, the work is hidden.
    std::printf("  processor time of the load, both threads: %.3f s (%.2f x that of the bare read)\n", loadCpu,
                loadCpu / bareCpu);
    std::printf("  habitat %llu, no-data %llu of %.0f cells\n", static_cast<unsigned long long>(map.tally().habitat),
                static_cast<unsigned long long>(map.tally().noData), cells);
    std::printf("  layers held: %.1f MiB, %.2f bits a cell\n", map.loadedBytes() / 1048576.0,
                map.loadedBytes() * 8.0 / cells);
    std::printf("  peak resident while loading: %.1f MiB (%.1f MiB before); goal <= %.1f MiB (3 bits a cell + 150 MiB)\n",
                peak / 1024.0, before / 1024.0, cells * 3 / 8 / 1048576.0 + 150);

    std::uint64_t total = 0;
    const int rectangles = 100000;
    const double small = countTime(map, 500, rectangles, total);
    const double large = countTime(map, 2000, rectangles, total);
    std::printf("rectangle counts (habitat + no-data), %d random ones:\n", rectangles);
    std::printf("  side 500:  %7.1f ns each\n  side 2000: %7.1f ns each  (%.2f x; goal < 2)   [%llu]\n", small, large,
                large / small, static_cast<unsigned long long>(total % 1000));
    map.close();

    // Whole sampling runs as orvalis-cli runs them: text windows into memory-backed files.
    const fs::path out = fs::path(path).parent_path() / ("orvalis-bench-windows-" + std::to_string(getpid()));
    const auto sample = [&](int window, orvalis::CoverRange cover, long& peakKb) {
        fs::remove_all(out);
        fs::create_directories(out / "w");
        orvalis::SampleParameters p;
        p.image = path;
        p.habitatClasses = "2, 5, 7";
        p.format = orvalis::WindowFormat::Txt;
        p.folder = out / "w";
        p.logPath = (out / "sample.txt").string();
        p.batchList = (out / "list.fbt").string();
        p.windowSize = window;
        p.cover = cover;
        p.postString = " x";
        orvalis::RandomSource random(1);
        orvalis::RunControl control;
        resetPeak();
        const auto t0 = Clock::now();
        const orvalis::SampleResult r = orvalis::runSample(p, random, control);
        const double wall = seconds(t0, Clock::now());
        peakKb = statusKb("VmHWM");
        if (r.failed())
            std::fprintf(stderr, "sampling failed: %s\n", r.message.c_str());
        std::printf("  window %4d, cover %d..%d step %d: %7.3f s, %d windows, %lld tries, peak %.1f MiB\n", window,
                    cover.min, cover.max, cover.step, wall, r.written(), static_cast<long long>(r.tries),
                    peakKb / 1024.0);
        return wall;
    };
    std::printf("sampling runs (text windows to %s):\n", out.c_str());
    long peakKb = 0;
    const double full = sample(500, {1, 100, 1}, peakKb);
    std::printf("  whole run %.2f x the faster bare read (goal <= 1.5); peak %.1f MiB (goal <= %.1f MiB)\n",
                full / bare, peakKb / 1024.0, cells * 3 / 8 / 1048576.0 + 150);
    long ignored = 0;
    const double w500 = sample(500, {5, 95, 10}, ignored);
    const double w2000 = sample(2000, {5, 95, 10}, ignored);
    std::printf("  window 2000 against window 500: %.2f x (goal <= 2)\n", w2000 / w500);
    fs::remove_all(out);
    if (!keep)
        fs::remove(path);
    return 0;
}
