// Each neutral model on 1000 x 1000 and 4000 x 4000 cells, classified into 3 classes at exact counts
// and written as a text grid the way `orvalis-cli neutral --proportions` writes it (the surface, the
// ranking and the text timed apart as well), then (timed apart) as a GeoTIFF. The text run is set
// against NLMpy doing the same on this machine: generation, classifyArray, numpy.savetxt.
// The text run is made --repeat times (3 by default) and its fastest wall and processor seconds
// kept, so that a moment's load on the machine does not decide the ratio.
//   bench_neutral [SIDE...] [--models a,b,...] [--jobs N] [--repeat N]
#include "BenchSupport.h"
#include "core/compare/ReplicateRandom.h"
#include "core/io/LandscapeWriter.h"
#include "core/neutral/ExactClasses.h"
#include "core/neutral/NeutralModels.h"
#include "core/neutral/NeutralRun.h"
#include "core/random/RandomSource.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace orvalis;
using namespace orvalis::bench;

namespace {

// NLMpy's generation at 1000 x 1000 on this machine, in seconds. random, planar, edge, wave, distance,
// cluster (randomClusterNN), element (randomElementNN) and fractal (mpd) as the NLMpy timings say;
// perlin (perlinNoise, its fade in numpy rather than numba) and bsp (16 patches, then a value drawn for
// each) timed here by nlmpy_reference.py, numpy alone. rectangles (randomRectangularCluster with sides
// 4..7) is that script's lower bound: its loop takes the whole array's minimum after each rectangle
// and draws (rows + 8)(cols + 8) rectangles on average before the top-left cell is painted; the bound
// grows with the square of the cells, so scaling it by the cells understates it at 4000^2 (there the
// script gives at least 145,000 s).
struct Reference {
    double seconds1000;
    bool measured;  // false: a lower bound
    bool pythonLoop;  // NLMpy loops in plain Python: the goal is 100x rather than 20x
};
const std::map<std::string, Reference> nlmpy{
    {"random", {0.02, true, false}},   {"planar", {0.02, true, false}},    {"edge", {0.02, true, false}},
    {"wave", {0.04, true, false}},     {"distance", {0.06, true, false}},  {"cluster", {0.41, true, false}},
    {"element", {0.49, true, false}},  {"fractal", {7.1, true, true}},     {"perlin", {0.58, true, false}},
    {"bsp", {0.04, true, true}},       {"rectangles", {508.0, false, true}},
};
// numpy on this machine (/usr/bin/python3 bench/neutral/nlmpy_reference.py 1000 4000, processor
// seconds per cell): classifyArray of three classes as NLMpy does it (the whole array sorted, then
// searchsorted; the sort grows faster than the cells) and numpy.savetxt of its float result as an
// NLMpy user calls it, without a format ('%.18e'); with fmt='%d', kinder to numpy, beside it.
double classifyPerCell(int side)
{
    return side >= 4000 ? 141e-9 : 114e-9;
}
constexpr double SavetxtPerCell = 240e-9;
constexpr double SavetxtIntegerPerCell = 94e-9;

// NLMpy's seconds for side x side: generation scaled by the cells (mpd by its 2^k + 1 grid, which
// grows as the cells do), then the classification and the text.
double nlmpySeconds(const Reference& r, int side, double savetxtPerCell = SavetxtPerCell)
{
    const double cells = static_cast<double>(side) * side;
    return r.seconds1000 * cells / 1e6 + (classifyPerCell(side) + savetxtPerCell) * cells;
}

// Resets the peak resident memory reading (Linux 4.0 and later); whether it could.
bool resetPeakMemory()
{
    std::ofstream clear("/proc/self/clear_refs");
    return static_cast<bool>(clear << "5");
}

std::string choiceText(const NeutralModelDef& d)
{
    return d.parameter("h") ? d.name + ":h=0.5" : d.name;
}

struct Timing {
    double wall = -1.0;
    double cpu = -1.0;  // processor seconds, every thread
};

// One run of one landscape into folder; wall -1 when it failed.
Timing timedRun(NeutralRunParameters p, GridFormat format)
{
    p.format = format;
    RandomSource unused;
    RunControl control;
    const double c0 = cpuSeconds();
    const auto t0 = Clock::now();
    const RunResult result = runNeutralLandscapes(p, unused, control);
    const auto t1 = Clock::now();
    const double c1 = cpuSeconds();
    for (const std::string& file : result.files)
        std::filesystem::remove(file);
    std::filesystem::remove(result.batchList);
    if (result.status != RunStatus::Completed) {
        std::fprintf(stderr, "%s\n", result.message.c_str());
        return {};
    }
    return {seconds(t0, t1), c1 - c0};
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sides;
    std::vector<std::string> only;
    int jobs = 0;
    int repeat = 3;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--models") == 0 && i + 1 < argc) {
            std::stringstream list(argv[++i]);
            for (std::string name; std::getline(list, name, ',');)
                only.push_back(name);
        } else if (std::strcmp(argv[i], "--jobs") == 0 && i + 1 < argc) {
            jobs = std::atoi(argv[++i]);
        } else if (std::strcmp(argv[i], "--repeat") == 0 && i + 1 < argc) {
            repeat = std::max(1, std::atoi(argv[++i]));
        } else {
            sides.push_back(std::atoi(argv[i]));
        }
    }
    if (sides.empty())
        sides = {1000, 4000};
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "orvalis-bench-neutral";
    std::filesystem::create_directories(folder);
    const double proportions[] = {1.0 / 3, 1.0 / 3, 1.0 / 3};
    const int classValues[] = {1, 2, 3};
    std::printf("NLMpy: generation at 1000^2 as timed on this machine (>: a lower bound), scaled by the cells;\n"
                "plus classifyArray %.0f ns (%.0f ns at 4000^2) and numpy.savetxt %.0f ns a cell (numpy's processor\n"
                "time here, /usr/bin/python3 bench/neutral/nlmpy_reference.py 1000 4000).\n"
                "ours: wall seconds; surface, classify, text: the three steps alone (text formatted and written, no\n"
                "sync); run = all three as orvalis-cli neutral does them, file put in place and listed (the\n"
                "fastest of %d runs); cpu: its processor seconds, every thread (the least of those runs; cpu rt.: the\n"
                "ratio on them, steadier on a busy machine; cpu %%d: the same with numpy.savetxt(fmt='%%d'), %.0f ns\n"
                "a cell). goal: 20x, 100x where NLMpy loops in plain Python. peak MB: resident memory at its peak.\n\n",
                classifyPerCell(1000) * 1e9, classifyPerCell(4000) * 1e9, SavetxtPerCell * 1e9, repeat,
                SavetxtIntegerPerCell * 1e9);
    std::printf("%-12s %5s %8s %8s %8s %8s %8s %8s %10s %8s %8s %8s %6s %8s\n", "model", "side", "surface", "classify",
                "text", "run txt", "cpu txt", "run tif", "NLMpy", "ratio", "cpu rt.", "cpu %d", "goal", "peak MB");
    for (const int side : sides) {
        for (const NeutralModelDef& d : neutralModels()) {
            if (!only.empty() && std::find(only.begin(), only.end(), d.name) == only.end())
                continue;
            NeutralRunParameters p;
            p.model = *SurfaceBlend::parse(choiceText(d));
            p.rows = p.cols = side;
            p.proportions.assign(std::begin(proportions), std::end(proportions));
            p.folder = folder;
            p.jobs = jobs;
            if (const std::string why = checkNeutralParameters(p); !why.empty()) {
                std::printf("%-12s %5d  (%s)\n", d.name.c_str(), side, why.c_str());
                continue;
            }
            const bool peakKnown = resetPeakMemory();
            const long baseKb = statusKb("VmRSS");
            ReplicateRandom random(replicateState(1, side, 0, 0));
            Surface surface;
            const auto t0 = Clock::now();
            if (!p.model.build(side, side, random, surface)) {
                std::printf("%-12s %5d  could not be made\n", d.name.c_str(), side);
                continue;
            }
            const auto t1 = Clock::now();
            LandscapeCells cells(surface.size());
            classifyByRank(surface, classCounts(proportions, static_cast<std::int64_t>(cells.size())), classValues,
                           cells);
            const auto t2 = Clock::now();
            surface = Surface();
            const std::string textFile = (folder / (d.name + ".txt")).string();
            writeLandscapeText(textFile, cells.data(), side, side);
            const auto t3 = Clock::now();
            std::filesystem::remove(textFile);
            cells = LandscapeCells();
            Timing runText = timedRun(p, GridFormat::Text);
            for (int k = 1; k < repeat && runText.wall > 0; ++k) {
                const Timing again = timedRun(p, GridFormat::Text);
                if (again.wall > 0) {
                    runText.wall = std::min(runText.wall, again.wall);
                    runText.cpu = std::min(runText.cpu, again.cpu);
                }
            }
            const long peakKb = statusKb("VmHWM");
            const Timing runTif = timedRun(p, GridFormat::GeoTiff);
            const auto reference = nlmpy.find(d.name);
            char theirs[32] = "-", ratio[32] = "-", cpuRatio[32] = "-", cpuInteger[32] = "-", goal[16] = "-",
                 peak[32] = "-";
            if (reference != nlmpy.end() && runText.wall > 0) {
                const double them = nlmpySeconds(reference->second, side);
                std::snprintf(theirs, sizeof theirs, "%s%.2f", reference->second.measured ? "" : ">", them);
                std::snprintf(ratio, sizeof ratio, "%.1fx", them / runText.wall);
                std::snprintf(cpuRatio, sizeof cpuRatio, "%.1fx", them / runText.cpu);
                std::snprintf(cpuInteger, sizeof cpuInteger, "%.1fx",
                              nlmpySeconds(reference->second, side, SavetxtIntegerPerCell) / runText.cpu);
                std::snprintf(goal, sizeof goal, "%dx", reference->second.pythonLoop ? 100 : 20);
            }
            if (peakKnown && peakKb > 0)
                std::snprintf(peak, sizeof peak, "%.0f", (peakKb - baseKb) / 1024.0);
            std::printf("%-12s %5d %8.3f %8.3f %8.3f %8.3f %8.3f %8.3f %10s %8s %8s %8s %6s %8s\n", d.name.c_str(),
                        side, seconds(t0, t1), seconds(t1, t2), seconds(t2, t3), runText.wall, runText.cpu, runTif.wall,
                        theirs, ratio, cpuRatio, cpuInteger, goal, peak);
            std::fflush(stdout);
        }
    }
    std::printf("\n(a grid of int cells is %.0f MB at 4000^2)\n", 4000.0 * 4000.0 * 4 / 1048576);
    std::filesystem::remove_all(folder);
    return 0;
}
