// How quickly Ctrl-C or SIGTERM ends orvalis-cli on one large map, and what it leaves: each command
// runs whole once, then is signalled at random instants of such a run; the time from the signal to
// the exit is measured, and every table left must be the beginning of the whole run's, cut after a
// row, with no hidden unfinished file about.
//
//   bench_interrupt [SIGNALS] [SIDE] [COMMANDS] [PROGRAM]
//
// SIGNALS per command (20), a SIDE x SIDE map (5000), COMMANDS comma-separated among compare,
// metrics, surface, sites, neutral (all). Prints each command's max, 90th percentile and median,
// and the runs that left something wrong; exit status 1 when any did or took over half a second.
#include "BenchSupport.h"
#include "support/StartQuiet.h"

#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

namespace fs = std::filesystem;
using orvalis::bench::Clock;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

pid_t start(const std::string& cli, const std::vector<std::string>& arguments, const fs::path& cwd)
{
    return orvalis::test::startQuiet(cli, arguments, cwd, "err.txt");
}

int waitStatus(pid_t pid)
{
    int raw = 0;
    waitpid(pid, &raw, 0);
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

struct Command {
    const char* name;
    std::vector<std::string> arguments;
    std::vector<std::string> tables;  // relative to the working folder
    std::string whole;                // a file that is either absent or as the whole run wrote it
    double seconds = 0;
};

// What is wrong with what a signalled run left in live; empty when nothing is.
std::string inspect(const Command& c, const fs::path& live, const fs::path& ref)
{
    for (const std::string& t : c.tables) {
        if (!fs::exists(live / t))
            continue;
        const std::string table = readFile(live / t), full = readFile(ref / t);
        if (full.compare(0, table.size(), table) != 0)
            return t + " is not the beginning of the whole run's";
        if (!table.empty() && table.back() != '\n')
            return t + " ends inside a row";
    }
    if (!c.whole.empty() && fs::exists(live / c.whole) && readFile(live / c.whole) != readFile(ref / c.whole))
        return c.whole + " is not the whole run's";
    for (const auto& e : fs::recursive_directory_iterator(live))
        if (e.path().filename().string().rfind(".orvalis-", 0) == 0)
            return e.path().filename().string() + " was left behind";
    return {};
}

double quantile(std::vector<double> v, double q)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}

}  // namespace

int main(int argc, char** argv)
{
    const int signals = argc > 1 ? std::atoi(argv[1]) : 20;
    const std::string side = argc > 2 ? argv[2] : "5000";
    const std::string wanted = argc > 3 ? std::string(",") + argv[3] + "," : ",compare,metrics,surface,sites,neutral,";
    const std::string cli = fs::absolute(argc > 4 ? argv[4] : ORVALIS_CLI).string();
    char folderTemplate[] = "/tmp/orvalis-interrupt-XXXXXX";
    const fs::path work = mkdtemp(folderTemplate);
    const std::string map = (work / "map.tif").string();
    {
        const pid_t pid = start(cli, {"neutral", "fbm", "--param", "h=0.5", "--rows", side, "--cols", side, "--cover",
                                      "40", "--format", "tif", "--folder", work.string(), "--jobs", "1"}, work);
        if (waitStatus(pid) != 0) {
            std::fprintf(stderr, "bench_interrupt: the map could not be made\n");
            return 2;
        }
        for (const auto& e : fs::directory_iterator(work))
            if (e.path().extension() == ".tif")
                fs::rename(e.path(), map);
    }
    const int s = std::atoi(side.c_str());
    std::ofstream(work / "sites.csv") << "id,x,y\na," << s / 2 << "," << s / 2 << "\nb," << s / 4 << "," << s / 4
                                      << "\nc," << 3 * s / 4 << "," << s / 3 << "\n";
    const std::string sites = (work / "sites.csv").string();
    const std::string radius = std::to_string(s / 4) + "," + std::to_string(s / 2);
    Command commands[] = {
        {"compare",
         {"compare", map, "--replicates", "3", "--models", "random", "--jobs", "2", "--output", "out"},
         {"out/neutral-metrics.csv", "out/windows.csv", "out/compare.csv"},
         ""},
        {"metrics", {"metrics", map, map, "--metrics", "all", "--level", "patch,class,landscape", "--jobs", "1"},
         {"metrics.csv"}, ""},
        {"surface", {"surface", map, "--window", "501", "--step", "250", "--metrics", "shdi,np,ed", "--output", "s.tif"},
         {}, "s.tif"},
        {"sites", {"sites", map, sites, "--radius", radius, "--jobs", "2", "--output", "sites.csv"}, {"sites.csv"}, ""},
        {"neutral",
         {"neutral", "fbm", "--param", "h=0.5", "--rows", side, "--cols", side, "--cover", "10:90:40", "--metrics",
          "--folder", "w", "--jobs", "2"},
         {"w/metrics.csv", "w/fbm_h=0.5_ListFragStat.fbt"},
         ""},
    };
    std::mt19937 random(2024);
    bool sound = true;
    for (Command& c : commands) {
        if (wanted.find(std::string(",") + c.name + ",") == std::string::npos)
            continue;
        const fs::path ref = work / "ref" / c.name, live = work / "live" / c.name;
        fs::create_directories(ref / "w");
        const auto begin = Clock::now();
        if (const int status = waitStatus(start(cli, c.arguments, ref)); status != 0) {
            std::fprintf(stderr, "bench_interrupt: the whole %s run ended with %d: %s\n", c.name, status,
                         readFile(ref / "err.txt").c_str());
            return 2;
        }
        c.seconds = orvalis::bench::seconds(begin, Clock::now());
        std::vector<double> delays;
        int faults = 0;
        for (int k = 0; k < signals; ++k) {
            fs::remove_all(live);
            fs::create_directories(live / "w");
            const pid_t pid = start(cli, c.arguments, live);
            const auto started = Clock::now();
            std::this_thread::sleep_for(
                std::chrono::duration<double>(std::uniform_real_distribution<double>(0.05, c.seconds)(random)));
            const auto signalled = Clock::now();
            kill(pid, k % 2 ? SIGTERM : SIGINT);
            const int status = waitStatus(pid);
            const double delay = orvalis::bench::seconds(signalled, Clock::now());
            delays.push_back(delay);
            std::string fault = inspect(c, live, ref);
            if (fault.empty() && status != 1 && status != 0)
                fault = "exit status " + std::to_string(status);
            if (!fault.empty() || delay > 0.5) {
                ++faults;
                std::printf("  %s signal %d after %.2f s: %.3f s to the exit%s%s\n", c.name, k + 1,
                            orvalis::bench::seconds(started, signalled), delay, fault.empty() ? "" : "; ",
                            fault.c_str());
            }
        }
        std::printf("%-8s whole run %6.2f s; %d signals: exit after max %.3f s, p90 %.3f s, median %.3f s; %d faults\n",
                    c.name, c.seconds, signals, quantile(delays, 1), quantile(delays, 0.9), quantile(delays, 0.5),
                    faults);
        std::fflush(stdout);
        sound = sound && faults == 0;
    }
    fs::remove_all(work);
    return sound ? 0 : 1;
}
