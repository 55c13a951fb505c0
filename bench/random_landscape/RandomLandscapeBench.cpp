// Writing a 4096 x 4096 random landscape, in MB/s of output, against a
// straightforward generator that formats every value through a stream.
#include "BenchSupport.h"
#include "core/neutral/RandomGenerator.h"
#include "core/random/RandomSource.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

using namespace orvalis::bench;

namespace {

double fileMB(const std::string& path)
{
    struct stat st {};
    stat(path.c_str(), &st);
    return static_cast<double>(st.st_size) / 1e6;
}

void baselineWrite(const std::string& path, int n, int cover, int seed)
{
    orvalis::srand(static_cast<unsigned>(seed));
    std::ofstream out(path);
    for (int i = 0; i < n; ++i) {
        for (int j = 0; j < n; ++j)
            out << (orvalis::rand() / 32767.0 <= cover / 100.0 ? 1 : 0) << ' ';
        out << '\n' << std::flush;
    }
}

std::string slurp(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

}  // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 4096;
    const int repeats = 3;
    char dirTemplate[] = "/tmp/orvalis-bench-XXXXXX";
    const std::string dir = mkdtemp(dirTemplate);
    const std::string fastFolder = dir + "/";
    const std::string slow = dir + "/slow.txt";

    double best = 1e30, bestBaseline = 1e30, bestCpu = 1e30, bestCpuBaseline = 1e30;
    std::string fast;
    for (int k = 0; k < repeats; ++k) {
        orvalis::RandomLandscapeParameters p;
        p.cover = {50, 50, 1};
        p.rows = p.cols = n;
        p.folder = fastFolder;
        orvalis::RandomSource random;
        orvalis::RunControl control;
        const double c0 = cpuSeconds();
        auto t0 = Clock::now();
        const orvalis::RunResult result = orvalis::runRandomLandscapes(p, random, control);
        const std::vector<std::string>& names = result.files;
        auto t1 = Clock::now();
        const double c1 = cpuSeconds();
        if (result.failed()) {
            std::fprintf(stderr, "run failed: %s\n", result.message.c_str());
            return 1;
        }
        fast = names.at(0);
        baselineWrite(slow, n, 50, 5);
        auto t2 = Clock::now();
        const double c2 = cpuSeconds();
        bestCpu = std::min(bestCpu, c1 - c0);
        bestCpuBaseline = std::min(bestCpuBaseline, c2 - c1);
        best = std::min(best, seconds(t0, t1));
        bestBaseline = std::min(bestBaseline, seconds(t1, t2));
    }

    const double mb = fileMB(fast);
    std::printf("random landscape %d x %d at cover 50, %.1f MB, best of %d\n", n, n, mb, repeats);
    std::printf("generate and write, wall time:      %8.1f MB/s   baseline %8.1f MB/s   ratio %.1f\n", mb / best,
                mb / bestBaseline, bestBaseline / best);
    std::printf("generate and write, processor time: %8.1f MB/s   baseline %8.1f MB/s   ratio %.1f\n", mb / bestCpu,
                mb / bestCpuBaseline, bestCpuBaseline / bestCpu);
    const bool same = slurp(fast) == slurp(slow);
    std::printf("output %s\n", same ? "identical to the baseline" : "DIFFERS from the baseline");
    std::remove(fast.c_str());
    std::remove(slow.c_str());
    std::remove(orvalis::RandomGenerator::batchListName(fastFolder).c_str());
    rmdir(dir.c_str());
    return same ? 0 : 1;
}
