// Kills orvalis-cli runs with SIGKILL at random instants and checks what stays on disk: every
// file a log or a batch list names is complete and belongs to the latest run, the metrics table
// is the beginning of a whole run's table that measures no file its batch list does not name
// (cut after a file's rows, but for kills that land inside the write of its last file's rows,
// which are counted), and no file under a final name is cut short.
//
//   kill_check ORVALIS_CLI [KILLS] [SCALE]
//
// Prints how many kills left the disk consistent; exit status 0 only when all did.
// SCALE 1 (the default) is the measurement; ctest runs a few kills at SCALE 0 (small files).
#include "support/StartQuiet.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
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
using Clock = std::chrono::steady_clock;

namespace {

std::string readFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

// A 24-bit TGA whose dark share changes across the image, so that windows fall on many levels.
void writeImage(const fs::path& path, int side)
{
    std::string bytes(18, '\0');
    bytes[2] = 2;
    bytes[12] = static_cast<char>(side & 0xFF);
    bytes[13] = static_cast<char>(side >> 8);
    bytes[14] = bytes[12];
    bytes[15] = bytes[13];
    bytes[16] = 24;
    std::mt19937 noise(7);
    bytes.reserve(bytes.size() + static_cast<std::size_t>(side) * side * 3);
    for (int y = 0; y < side; ++y)
        for (int x = 0; x < side; ++x) {
            const bool dark = static_cast<int>(noise() % static_cast<unsigned>(side)) < x;
            bytes.append(3, dark ? '\0' : '\xff');
        }
    std::ofstream(path, std::ios::binary) << bytes;
}

struct Command {
    const char* name;
    std::vector<std::string> arguments[2];  // two runs that write different bytes under the same names
    std::vector<std::string> lists;         // what names files, relative to the working folder
    std::string table;                      // the metrics table, relative to the working folder
    double seconds = 0;                     // how long a whole run takes
};

pid_t start(const std::string& cli, const Command& c, int variant, const fs::path& cwd)
{
    return orvalis::test::startQuiet(cli, c.arguments[variant], cwd);
}

bool runWhole(const std::string& cli, const Command& c, int variant, const fs::path& cwd)
{
    fs::create_directories(cwd / "w");
    int status = 0;
    waitpid(start(cli, c, variant, cwd), &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// The names a list holds: the first field of each line.
std::vector<std::string> listed(const fs::path& list)
{
    std::vector<std::string> names;
    std::istringstream in(readFile(list));
    std::string line;
    while (std::getline(in, line))
        names.push_back(line.substr(0, line.find(' ')));
    return names;
}

// The files a metrics table names, each once, in the order of their rows.
std::vector<std::string> measured(const std::string& table)
{
    std::vector<std::string> names;
    std::istringstream in(table);
    std::string line;
    std::getline(in, line);  // the header
    while (std::getline(in, line)) {
        const std::string name = line.substr(0, line.find(','));
        if (names.empty() || names.back() != name)
            names.push_back(name);
    }
    return names;
}

// How a metrics table left by a kill relates to a whole run's table.
enum class Cut { None, AtAFile, InsideAFile };

Cut cutOf(const std::string& table, const std::string& whole)
{
    if (table.empty() || table.size() > whole.size() || whole.compare(0, table.size(), table) != 0)
        return Cut::None;
    if (table.size() == whole.size())
        return Cut::AtAFile;
    const std::size_t lineEnd = table.rfind('\n');
    if (lineEnd != table.size() - 1)
        return Cut::InsideAFile;
    const std::size_t lastLine = table.rfind('\n', lineEnd - 1) + 1;  // 0: the header alone
    const std::string lastName = table.substr(lastLine, table.find(',', lastLine) - lastLine);
    return lastLine == 0 || whole.compare(table.size(), lastName.size() + 1, lastName + ",") != 0 ? Cut::AtAFile
                                                                                                 : Cut::InsideAFile;
}

// What is wrong with the metrics table after a kill; empty when it is consistent. A kill that
// lands while the kernel copies a file's rows can leave them cut short (it stops a write between
// two pages): that is counted in torn, and the files before are checked as usual.
std::string inspectTable(const Command& c, const fs::path& live, const fs::path refs[2], int& torn)
{
    if (c.table.empty() || !fs::exists(live / c.table))
        return {};
    const std::string table = readFile(live / c.table);
    int from = -1;
    Cut cut = Cut::None;
    for (int v = 0; v < 2 && cut == Cut::None; ++v)
        if ((cut = cutOf(table, readFile(refs[v] / c.table))) != Cut::None)
            from = v;
    if (cut == Cut::None)
        return c.table + " is not the beginning of a whole run's table";
    std::vector<std::string> names = measured(table);
    if (cut == Cut::InsideAFile) {
        ++torn;
        names.pop_back();
    }
    for (const std::string& name : names)
        if (readFile(live / name) != readFile(refs[from] / name))
            return c.table + " measures " + name + ", which is not the file it measured";
    // The table is renamed first when a run begins and takes a file's rows after its list line.
    if (c.lists.empty())
        return {};
    const std::vector<std::string> named = listed(live / c.lists.back());
    if (names.size() > named.size() || !std::equal(names.begin(), names.end(), named.begin()))
        return c.table + " measures files its batch list does not name";
    return {};
}

// What is wrong on disk after a kill; empty when it is consistent.
std::string inspect(const Command& c, const fs::path& live, const fs::path refs[2], int latest, int& torn)
{
    if (std::string fault = inspectTable(c, live, refs, torn); !fault.empty())
        return fault;
    for (const std::string& list : c.lists) {
        if (!fs::exists(live / list))
            continue;
        // A run killed before it began leaves the earlier run's lists, whole and naming whole files.
        std::string fault;
        for (int v : {latest, 1 - latest}) {
            fault.clear();
            for (const std::string& name : listed(live / list)) {
                if (!fs::exists(refs[v] / name) || readFile(live / name) != readFile(refs[v] / name)) {
                    fault = list + " names " + name + ", which is not a whole file of the latest run";
                    break;
                }
            }
            if (fault.empty())
                break;
        }
        if (!fault.empty())
            return fault;
    }
    for (const auto& entry : fs::directory_iterator(live / "w")) {
        const std::string name = entry.path().filename().string();
        if (name.rfind(".orvalis-", 0) == 0 || name.find("ListFragStat") != std::string::npos || name == "metrics.csv")
            continue;  // unfinished, under its hidden name, or a list checked above
        const std::string text = readFile(entry.path());
        bool whole = false;
        for (int v = 0; v < 2; ++v)
            whole = whole || (fs::exists(refs[v] / "w" / name) && text == readFile(refs[v] / "w" / name));
        if (!whole)
            return "w/" + name + " is cut short or mixed";
    }
    return {};
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc < 2) {
        std::fprintf(stderr, "usage: kill_check ORVALIS_CLI [KILLS] [SCALE]\n");
        return 2;
    }
    const std::string cli = fs::absolute(argv[1]).string();
    const int kills = argc > 2 ? std::atoi(argv[2]) : 100;
    const bool large = argc > 3 ? std::atoi(argv[3]) != 0 : true;
    char folderTemplate[] = "/tmp/orvalis-kill-XXXXXX";
    const fs::path work = mkdtemp(folderTemplate);
    const fs::path image = work / "map.tga";
    writeImage(image, large ? 4000 : 600);

    const std::string window = large ? "1500" : "150";
    const std::string side = large ? "4000" : "400";
    const std::string surface = large ? "2048" : "256";
    Command commands[] = {
        {"sample",
         {{"sample", image.string(), "--folder", "w", "--size", window, "--replicates", "2", "--cover", "10:90:10",
           "--min-distance", "5", "--prefix", "P_", "--seed", "1", "--metrics"},
          {"sample", image.string(), "--folder", "w", "--size", window, "--replicates", "2", "--cover", "10:90:10",
           "--min-distance", "5", "--prefix", "P_", "--seed", "2", "--metrics"}},
         {"sample.txt", "P_ListFragStat.fbt"},
         "metrics.csv"},
        {"random",
         {{"random", "--folder", "w", "--size", side, "--cover", "10:90:40", "--replicates", "2", "--seed", "1",
           "--metrics"},
          {"random", "--folder", "w", "--size", side, "--cover", "10:90:40", "--replicates", "2", "--seed", "2",
           "--metrics"}},
         {"w/random_ListFragStat.fbt"},
         "w/metrics.csv"},
        {"fractal",
         {{"fractal", "--folder", "w", "--h", "0.5:0.5:0.1", "--cover", "10:90:20", "--size", surface,
           "--cover-value", "1", "--metrics"},
          {"fractal", "--folder", "w", "--h", "0.5:0.5:0.1", "--cover", "10:90:20", "--size", surface,
           "--cover-value", "2", "--metrics"}},
         {},
         "w/metrics.csv"},
    };
    for (Command& c : commands) {
        for (int v = 0; v < 2; ++v) {
            const auto begin = Clock::now();
            if (!runWhole(cli, c, v, work / ("ref" + std::to_string(v)) / c.name)) {
                std::fprintf(stderr, "kill_check: the whole %s run failed\n", c.name);
                return 2;
            }
            c.seconds = std::max(c.seconds, std::chrono::duration<double>(Clock::now() - begin).count());
        }
        fs::create_directories(work / "live" / c.name / "w");
    }

    std::mt19937 random(12345);
    int consistent = 0;
    int torn = 0;
    for (int k = 0; k < kills; ++k) {
        const Command& c = commands[k % 3];
        const int variant = (k / 3) % 2;
        const fs::path live = work / "live" / c.name;
        const fs::path refs[2] = {work / "ref0" / c.name, work / "ref1" / c.name};
        const pid_t pid = start(cli, c, variant, live);
        std::uniform_real_distribution<double> when(0.0, c.seconds * 1.2);
        std::this_thread::sleep_for(std::chrono::duration<double>(when(random)));
        kill(pid, SIGKILL);
        waitpid(pid, nullptr, 0);
        const std::string fault = inspect(c, live, refs, variant, torn);
        if (fault.empty())
            ++consistent;
        else
            std::printf("kill %d (%s): %s\n", k + 1, c.name, fault.c_str());
        // Unfinished files stay behind a kill under their hidden names; clear them to keep the disk small.
        for (const auto& entry : fs::directory_iterator(live / "w"))
            if (entry.path().filename().string().rfind(".orvalis-", 0) == 0)
                fs::remove(entry.path());
    }
    std::printf("%d of %d kills left the disk consistent (sample %.2f s, random %.2f s, fractal %.2f s a run)\n",
                consistent, kills, commands[0].seconds, commands[1].seconds, commands[2].seconds);
    if (torn > 0)
        std::printf("%d of them landed inside a write of a metrics table and cut its last file's rows short\n", torn);
    fs::remove_all(work);
    return consistent == kills ? 0 : 1;
}
