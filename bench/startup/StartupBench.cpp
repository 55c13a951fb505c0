// How long orvalis-cli takes to start and finish a small run, command by command, and how many
// shared libraries it loads for each: the median of RUNS runs, against starting /bin/true (a
// process that loads only the C library), with the goal each command is held to. A map's sampling,
// which must load GDAL, is shown without a goal.
#include "BenchSupport.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

extern char** environ;

namespace {

namespace fs = std::filesystem;
using orvalis::bench::Clock;

struct Case {
    std::string name;
    std::vector<std::string> args;
    double goalMs;  // 0: measured for information, held to no goal
};

// Runs argv in the working directory with standard output and error sent to /dev/null; extra
// environment entries come first. The wall time in ms, or a negative number when it failed.
double runOnce(const std::vector<std::string>& argv, const std::vector<std::string>& extraEnv = {})
{
    std::vector<char*> args;
    for (const std::string& a : argv)
        args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    std::vector<char*> env;
    for (const std::string& e : extraEnv)
        env.push_back(const_cast<char*>(e.c_str()));
    for (char** e = environ; *e; ++e)
        env.push_back(*e);
    env.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_addopen(&actions, 2, "/dev/null", O_WRONLY, 0);
    pid_t pid = 0;
    const Clock::time_point start = Clock::now();
    const int spawned = posix_spawn(&pid, args[0], &actions, nullptr, args.data(), env.data());
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0)
        return -1;
    int status = 0;
    waitpid(pid, &status, 0);
    const double ms = orvalis::bench::seconds(start, Clock::now()) * 1000;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? ms : -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const std::size_t n = v.size();
    return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
}

// The objects the dynamic loader maps for one run, dlopen'd modules and their libraries
// included: one "generating link map" line of LD_DEBUG=files each, the program and the vDSO aside.
int sharedLibraries(const std::vector<std::string>& argv, const fs::path& scratch)
{
    const fs::path prefix = scratch / "ld-debug";
    runOnce(argv, {"LD_DEBUG=files", "LD_DEBUG_OUTPUT=" + prefix.string()});
    int count = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(scratch)) {
        if (entry.path().filename().string().rfind("ld-debug.", 0) != 0)
            continue;
        std::ifstream in(entry.path());
        for (std::string line; std::getline(in, line);)
            count += line.find("generating link map") != std::string::npos;
        fs::remove(entry.path());
    }
    return count;
}

// A 64 x 64 uncompressed 24-bit TGA, dark (habitat) in its left half.
void writeTga(const fs::path& path)
{
    std::ofstream out(path, std::ios::binary);
    const unsigned char header[18] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0, 64, 0, 64, 0, 24, 0};
    out.write(reinterpret_cast<const char*>(header), sizeof header);
    for (int y = 0; y < 64; ++y)
        for (int x = 0; x < 64; ++x) {
            const char v = x < 32 ? 20 : static_cast<char>(230);
            const char bgr[3] = {v, v, v};
            out.write(bgr, 3);
        }
}

// A 64 x 64 text grid of 0 and 1, for the commands that read landscapes.
void writeGrid(const fs::path& path)
{
    std::ofstream out(path);
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x)
            out << ((x / 8 + y / 8) % 2) << ' ';
        out << '\n';
    }
}

}  // namespace

int main(int argc, char** argv)
{
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 20;
    const std::string cli = fs::absolute(argc > 2 ? argv[2] : ORVALIS_CLI).string();
    char scratchTemplate[] = "/tmp/orvalis-startup-XXXXXX";
    if (!mkdtemp(scratchTemplate)) {
        std::perror("mkdtemp");
        return 1;
    }
    const fs::path scratch = scratchTemplate;
    const fs::path work = scratch / "work";
    fs::create_directories(work / "out");
    writeTga(work / "image.tga");
    writeGrid(work / "grid.txt");
    fs::current_path(work);

    const std::vector<Case> cases = {
        {"--version", {"--version"}, 30},
        {"random", {"random", "--folder", "out", "--size", "50", "--cover", "40:40:1"}, 30},
        {"fractal", {"fractal", "--folder", "out", "--size", "64", "--h", "0.5:0.5:0.1", "--cover", "40:40:1",
                     "--jobs", "1"}, 30},
        {"sample (TGA)", {"sample", "image.tga", "--folder", "out", "--size", "20", "--cover", "50:50:1",
                          "--seed", "1"}, 30},
        {"--help", {"--help"}, 60},
        {"metrics (text grid)", {"metrics", "grid.txt", "--output", "-"}, 60},
        {"neutral --list-models", {"neutral", "--list-models"}, 60},
        {"neutral (text grids)", {"neutral", "random", "--rows", "32", "--cols", "32", "--cover", "30",
                                  "--folder", "out", "--jobs", "1"}, 60},
        {"compare --help", {"compare", "--help"}, 60},
        {"sites --help", {"sites", "--help"}, 60},
        {"surface --help", {"surface", "--help"}, 60},
        {"sample (GeoTIFF map)", {"sample", ORVALIS_EXAMPLES "/augusta_nlcd.tif", "--habitat", "41-43", "--folder", "out", "--size", "20",
                             "--cover", "40:60:20", "--seed", "1"}, 0},
    };

    std::vector<double> bare;
    for (int i = 0; i < runs; ++i)
        bare.push_back(runOnce({"/bin/true"}));
    const double baseline = median(bare);
    std::printf("orvalis-cli start-up, median of %d runs: %s\n", runs, cli.c_str());
    std::printf("baseline: /bin/true %.1f ms\n", baseline);
    std::printf("%-24s %9s %8s %6s %8s  %s\n", "command", "median", "ratio", "libs", "goal", "");
    int missed = 0;
    for (const Case& c : cases) {
        std::vector<std::string> command{cli};
        command.insert(command.end(), c.args.begin(), c.args.end());
        std::vector<double> times;
        for (int i = 0; i < runs; ++i)
            times.push_back(runOnce(command));
        const bool failed = std::any_of(times.begin(), times.end(), [](double t) { return t < 0; });
        const double ms = median(times);
        const int libs = sharedLibraries(command, scratch);
        const char* verdict = failed ? "FAILED" : (c.goalMs > 0 && ms > c.goalMs ? "over the goal" : "ok");
        missed += failed || (c.goalMs > 0 && ms > c.goalMs);
        std::printf("%-24s %6.1f ms %7.1fx %6d %5.0f ms  %s\n", c.name.c_str(), ms, ms / baseline, libs, c.goalMs,
                    verdict);
        std::fflush(stdout);
    }
    std::printf("goal: random, fractal and sample of a TGA under 30 ms, every command under 60 ms; %s\n",
                missed ? "missed" : "met");
    std::error_code ec;
    fs::current_path(scratch.parent_path(), ec);
    fs::remove_all(scratch, ec);
    return 0;
}
