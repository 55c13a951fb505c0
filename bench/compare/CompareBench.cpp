// 100 real windows of 100 x 100 cells against 99 replicates of random, fractal 0.2, 0.5 and 0.8
// (39,600 neutral landscapes, every metric) on 2 jobs: landscapes per second, seconds (goal under
// 10 s on 2 cores) and peak resident memory, then the same for 200 windows, whose peak must not
// be higher. Processor seconds are printed too: the machine is often shared. The baseline makes and measures the replicates of a few windows one after another on
// one thread, keeping every value until the end, as a first version would.
#include "BenchSupport.h"
#include "core/compare/CompareRun.h"
#include "core/compare/CompareStatistics.h"
#include "core/compare/ReplicateRandom.h"
#include "core/io/LandscapeWriter.h"

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

using namespace orvalis::bench;

namespace {

constexpr int Side = 100;
constexpr int Replicates = 99;

// Windows with cover from 5 % to 95 %, each cell drawn on its own.
std::vector<std::string> makeWindows(const std::filesystem::path& folder, int count)
{
    std::vector<std::string> files;
    orvalis::ReplicateRandom random(7);
    for (int w = 0; w < count; ++w) {
        const std::uint64_t cover = 5 + static_cast<std::uint64_t>(w * 90 / std::max(1, count - 1));
        orvalis::LandscapeGrid grid(Side, std::vector<int>(Side));
        for (auto& line : grid)
            for (int& v : line)
                v = random.below(100) < cover ? 1 : 0;
        files.push_back((folder / ("w" + std::to_string(w) + ".txt")).string());
        orvalis::writeLandscapeFile(files.back(), grid);
    }
    return files;
}

struct Timing {
    double wall = 0.0;
    double cpu = 0.0;
    long peakKb = 0;
    bool ok = false;
};

Timing timedRun(const std::vector<std::string>& files, const std::filesystem::path& output, int jobs)
{
    orvalis::CompareParameters p;
    p.files = files;
    p.replicates = Replicates;
    p.output = output;
    p.jobs = jobs;
    std::filesystem::create_directories(output);
    orvalis::RunControl control;
    resetPeak();
    const auto start = Clock::now();
    const double cpuStart = cpuSeconds();
    const orvalis::RunResult r = orvalis::runCompare(p, control);
    Timing t;
    t.wall = seconds(start, Clock::now());
    t.cpu = cpuSeconds() - cpuStart;
    t.peakKb = statusKb("VmHWM");
    t.ok = r.status == orvalis::RunStatus::Completed;
    if (!t.ok)
        std::printf("  run failed: %s\n", r.message.c_str());
    return t;
}

// One thread, every value kept, the summary at the end.
double baselineSeconds(const std::vector<std::string>& files)
{
    const std::vector<orvalis::NeutralModel> models = orvalis::defaultNeutralModels();
    const double start = cpuSeconds();
    std::vector<std::vector<orvalis::MetricValue>> all;
    for (std::size_t w = 0; w < files.size(); ++w) {
        orvalis::LandscapeGrid grid;
        orvalis::readLandscapeFile(files[w], grid);
        std::int64_t habitat = 0;
        for (const auto& line : grid)
            for (int v : line)
                habitat += v == 1;
        for (std::size_t m = 0; m < models.size(); ++m)
            for (int k = 0; k < Replicates; ++k) {
                const std::vector<int> cells = orvalis::neutralLandscape(models[m], 1, static_cast<int>(w),
                                                                         static_cast<int>(m), k, Side, Side, habitat, 1, 0);
                orvalis::computeMetrics(orvalis::GridView{cells, Side, Side, std::nullopt, 1.0}, orvalis::MetricsOptions{}, all.emplace_back());
            }
    }
    std::vector<std::optional<double>> values;
    for (const auto& v : all)
        values.push_back(v.front().value);
    orvalis::summarise(std::nullopt, values);
    return cpuSeconds() - start;
}

}  // namespace

int main(int argc, char** argv)
{
    const std::filesystem::path folder =
        argc > 1 ? std::filesystem::path(argv[1]) : std::filesystem::temp_directory_path() / "orvalis-bench-compare";
    std::filesystem::remove_all(folder);
    std::filesystem::create_directories(folder / "windows");
    const std::vector<std::string> all = makeWindows(folder / "windows", 200);
    const std::vector<std::string> hundred(all.begin(), all.begin() + 100);
    const double landscapes = 100.0 * 4 * Replicates;

    std::printf("compare: 100 x 100 windows, 4 models x %d replicates, every metric, 2 jobs\n", Replicates);
    const Timing t100 = timedRun(hundred, folder / "out100", 2);
    std::printf("  100 windows: %.2f s (%.2f s of processor), %.0f landscapes/s, peak resident %.1f MiB (goal < 10 s)\n",
                t100.wall, t100.cpu, landscapes / t100.wall, t100.peakKb / 1024.0);
    const Timing t200 = timedRun(all, folder / "out200", 2);
    std::printf("  200 windows: %.2f s (%.2f s of processor), %.0f landscapes/s, peak resident %.1f MiB (must not grow)\n",
                t200.wall, t200.cpu, 2 * landscapes / t200.wall, t200.peakKb / 1024.0);
    const std::vector<std::string> few(all.begin(), all.begin() + 10);
    const double base = baselineSeconds(few) * 10.0;
    // On a machine shared with other work, wall time against the baseline's processor time is the fair ratio.
    std::printf("  baseline (one thread, values kept), processor time scaled from 10 windows: %.2f s for 100;\n"
                "  ratio baseline / run wall %.2f, baseline / run processor %.2f\n",
                base, base / t100.wall, base / t100.cpu);
    std::filesystem::remove_all(folder);
    return t100.ok && t200.ok ? 0 : 1;
}
