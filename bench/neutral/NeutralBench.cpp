// Each neutral model on 1000 x 1000 and 4000 x 4000 cells: the surface made, classified into 3
// classes at exact counts and written as a text grid, then (timed apart) as a GeoTIFF. The
// generation at 1000 x 1000 is set against NLMpy's own functions timed on this machine.
//   bench_neutral [SIDE...] [--models a,b,...]
#include "BenchSupport.h"
#include "core/compare/ReplicateRandom.h"
#include "core/io/LandscapeWriter.h"
#include "core/map/WindowWriters.h"
#include "core/neutral/ExactClasses.h"
#include "core/neutral/NeutralModels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>
#include <string>
#include <vector>

using namespace orvalis;
using namespace orvalis::bench;

namespace {

// Seconds NLMpy took for the same model at 1000 x 1000, generation alone.
const std::map<std::string, double> nlmpySeconds{
    {"random", 0.02}, {"planar", 0.02}, {"edge", 0.02}, {"wave", 0.04},
    {"distance", 0.06}, {"cluster", 0.41}, {"element", 0.49}, {"fractal", 7.1},
};

std::string choiceText(const NeutralModelDef& d)
{
    return d.parameter("h") ? d.name + ":h=0.5" : d.name;
}

}  // namespace

int main(int argc, char** argv)
{
    std::vector<int> sides;
    std::vector<std::string> only;
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--models") == 0 && i + 1 < argc) {
            std::stringstream list(argv[++i]);
            for (std::string name; std::getline(list, name, ',');)
                only.push_back(name);
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
    std::printf("%-12s %6s %10s %10s %10s %10s %12s %8s\n", "model", "side", "make s", "classify s", "txt s",
                "tif s", "NLMpy s", "ratio");
    for (const int side : sides) {
        for (const NeutralModelDef& d : neutralModels()) {
            if (!only.empty() && std::find(only.begin(), only.end(), d.name) == only.end())
                continue;
            const ModelChoice choice = *parseModelChoice(choiceText(d));
            if (!checkModelSize(choice, side, side).empty()) {
                std::printf("%-12s %6d  (%s)\n", d.name.c_str(), side, checkModelSize(choice, side, side).c_str());
                continue;
            }
            ReplicateRandom random(replicateState(1, side, 0, 0));
            Surface surface;
            const auto t0 = Clock::now();
            if (!buildSurface(choice, side, side, random, surface)) {
                std::printf("%-12s %6d  could not be made\n", d.name.c_str(), side);
                continue;
            }
            const auto t1 = Clock::now();
            std::vector<int> cells(surface.size());
            classifyByRank(surface, classCounts(proportions, static_cast<std::int64_t>(cells.size())), classValues,
                           cells);
            const auto t2 = Clock::now();
            const std::string text = (folder / (d.name + ".txt")).string();
            LandscapeWriter writer;
            bool ok = writer.open(text);
            for (int r = 0; ok && r < side; ++r)
                ok = writer.writeLine(std::span<const int>(cells.data() + static_cast<std::size_t>(r) * side,
                                                           static_cast<std::size_t>(side)));
            ok = ok && writer.close();
            const auto t3 = Clock::now();
            const std::vector<std::int64_t> values(cells.begin(), cells.end());
            const WindowGrid grid{side, side, values.data(), nullptr};
            std::string error;
            const std::string tif = (folder / (d.name + ".tif")).string();
            ok = writeGeoTiff(tif, grid, GeoTransform{0, 1, 0, static_cast<double>(side), 0, -1}, "", &error) && ok;
            const auto t4 = Clock::now();
            std::filesystem::remove(text);
            std::filesystem::remove(tif);
            const double make = seconds(t0, t1);
            const auto reference = nlmpySeconds.find(d.name);
            char theirs[32] = "-", ratio[32] = "-";
            if (reference != nlmpySeconds.end() && side == 1000) {
                std::snprintf(theirs, sizeof theirs, "%.2f", reference->second);
                std::snprintf(ratio, sizeof ratio, "%.1fx", reference->second / make);
            }
            std::printf("%-12s %6d %10.3f %10.3f %10.3f %10.3f %12s %8s%s\n", d.name.c_str(), side, make,
                        seconds(t1, t2), seconds(t2, t3), seconds(t3, t4), theirs, ratio, ok ? "" : "  (write failed)");
            std::fflush(stdout);
        }
    }
    std::filesystem::remove_all(folder);
    return 0;
}
