// What stays on disk, and how quickly a run ends, when the system gets in the way: a signal while
// a command waits or works, a disk that fills up.
#include "support/CliRunner.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <fcntl.h>
#include <sstream>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>

namespace orvalis {
namespace {

using test::CliRun;
using test::readFile;
using test::runCli;
using test::TempDir;

// The exit status of pid once it ends within limit; -1 while it still runs (it is then killed).
int statusWithin(pid_t pid, std::chrono::milliseconds limit)
{
    const auto until = std::chrono::steady_clock::now() + limit;
    int raw = 0;
    while (::waitpid(pid, &raw, WNOHANG) == 0) {
        if (std::chrono::steady_clock::now() > until) {
            ::kill(pid, SIGKILL);
            ::waitpid(pid, &raw, 0);
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : 128 + WTERMSIG(raw);
}

TEST(IntegrityCli, SignalsEndACommandWhateverItDoes)
{
    const struct {
        const char* name;
        int signal;
        std::vector<std::string> arguments;
        std::string before;  // a run that makes the input
    } cases[] = {
        {"neutral building large surfaces, SIGTERM", SIGTERM,
         {"neutral", "fbm", "--param", "h=0.5", "--rows", "3000", "--cols", "3000", "--cover", "10:90:10", "--folder",
          "w", "--metrics"},
         ""},
        {"fractal, Ctrl-C", SIGINT, {"fractal", "--folder", "w", "--size", "4096", "--metrics"}, ""},
        {"metrics of one large grid, Ctrl-C", SIGINT,
         {"metrics", "in/map.tif", "--metrics", "all", "--level", "patch,class,landscape", "--output", "w/metrics.csv"},
         "neutral random --rows 3000 --cols 3000 --cover 40 --format tif --folder in --jobs 1"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        std::filesystem::create_directories(dir.file("w"));
        if (!c.before.empty()) {
            std::filesystem::create_directories(dir.file("in"));
            ASSERT_EQ(runCli(dir, c.before.substr(0, c.before.find(' ')), c.before.substr(c.before.find(' ') + 1)).status, 0);
            for (const auto& e : std::filesystem::directory_iterator(dir.file("in")))
                if (e.path().extension() == ".tif")
                    std::filesystem::rename(e.path(), dir.file("in/map.tif"));
        }
        std::vector<std::string> args{ORVALIS_CLI};
        for (const std::string& a : c.arguments)
            args.push_back(a == "w" ? dir.file("w") : a.rfind("in/", 0) == 0 || a.rfind("w/", 0) == 0 ? dir.file(a) : a);
        const pid_t pid = test::spawnCli(dir, args);
        ASSERT_GT(pid, 0);
        std::this_thread::sleep_for(std::chrono::milliseconds(700));
        ::kill(pid, c.signal);
        // Half a second is the aim; the bound leaves room for a loaded machine.
        EXPECT_EQ(statusWithin(pid, std::chrono::seconds(3)), 1);
        EXPECT_NE(readFile(dir.file("cli.err")).find("interrupted"), std::string::npos) << readFile(dir.file("cli.err"));
        const std::string rows = readFile(dir.file("w/metrics.csv"));
        if (!rows.empty()) {
            EXPECT_EQ(rows.back(), '\n') << "the table ends mid-row";
        }
        for (const auto& e : std::filesystem::directory_iterator(dir.file("w")))
            EXPECT_NE(e.path().filename().string().rfind(".orvalis-", 0), 0u) << e.path();
    }
}

// Each command (name, arguments) exits with status 1 and its errors say every one of said.
void expectFailsSaying(const TempDir& dir, const std::vector<std::pair<const char*, std::string>>& commands,
                       const std::vector<const char*>& said)
{
    for (const auto& [command, arguments] : commands) {
        SCOPED_TRACE(std::string(command) + " " + arguments);
        const CliRun run = runCli(dir, command, arguments);
        EXPECT_EQ(run.status, 1) << run.err;
        for (const char* part : said)
            EXPECT_NE(run.err.find(part), std::string::npos) << part << "\n" << run.err;
    }
}

TEST(IntegrityCli, SpecialFilesAreRefusedAtOnce)
{
    TempDir dir;
    ASSERT_EQ(::mkfifo(dir.file("pipe.tga").c_str(), 0600), 0);
    ASSERT_EQ(::mkfifo(dir.file("pipe.txt").c_str(), 0600), 0);
    std::filesystem::create_directories(dir.file("w"));
    const std::vector<std::pair<const char*, std::string>> cases = {
        {"sample", "pipe.tga --folder w"},
        {"sample", "pipe.txt --folder w --habitat 1"},
        {"metrics", "pipe.txt"},
        {"compare", "pipe.txt --output w"},
        {"surface", "pipe.txt --window 3 --metrics shdi --output w/s.tif"},
        {"sites", "pipe.txt pipe.txt --radius 10 --output w/sites.csv"},
    };
    expectFailsSaying(dir, cases, {"not a regular file"});
    // A symbolic link that leads back to itself is named as such, not as an unreadable raster.
    std::filesystem::create_symlink("loop.tif", dir.file("loop.tif"));
    expectFailsSaying(dir,
                      {{"metrics", "loop.tif"}, {"sample", "loop.tif --folder w --habitat 1"}, {"compare", "loop.tif --output w"}},
                      {"symbolic links loop"});
}

// A netCDF file of the classic format holding one n x n byte variable per name, all cells 1.
std::string classicNetcdf(const std::vector<std::string>& variables, std::uint32_t n)
{
    std::string out = std::string("CDF\x01", 4);
    const auto number = [&out](std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8)
            out.push_back(static_cast<char>((v >> shift) & 0xFF));
    };
    const auto name = [&](const std::string& text) {
        number(static_cast<std::uint32_t>(text.size()));
        out += text + std::string((4 - text.size() % 4) % 4, '\0');
    };
    number(0);  // records
    number(0x0A), number(2), name("y"), number(n), name("x"), number(n);  // dimensions
    number(0), number(0);                                                // no global attributes
    number(0x0B), number(static_cast<std::uint32_t>(variables.size()));  // variables
    const std::uint32_t size = (n * n + 3) / 4 * 4;
    std::vector<std::size_t> begins;
    for (const std::string& v : variables) {
        name(v), number(2), number(0), number(1), number(0), number(0), number(1), number(size);
        begins.push_back(out.size());
        number(0);  // where its cells begin, filled in below
    }
    for (std::size_t i = 0; i < begins.size(); ++i) {
        const std::uint32_t begin = static_cast<std::uint32_t>(out.size() + i * size);
        for (int k = 0; k < 4; ++k)
            out[begins[i] + static_cast<std::size_t>(k)] = static_cast<char>((begin >> (24 - 8 * k)) & 0xFF);
    }
    for (std::size_t i = 0; i < variables.size(); ++i)
        out += std::string(n * n, '\x01') + std::string(size - n * n, '\0');
    return out;
}

// A netCDF of several variables has no band of its own: each command names the subdatasets to open.
TEST(IntegrityCli, AContainerOfRastersNamesItsSubdatasets)
{
    TempDir dir;
    test::writeFile(dir.file("two.nc"), classicNetcdf({"forest", "water"}, 4));
    std::filesystem::create_directory(dir.file("w"));
    expectFailsSaying(dir, {{"metrics", "two.nc"}, {"sample", "two.nc --folder w --habitat 1"}, {"compare", "two.nc --output w"}},
                      {"subdatasets", ":forest", ":water"});
}

TEST(IntegrityCli, AFullDiskIsSaidAndLeavesWholeRows)
{
    // A small tmpfs in a namespace of its own; what the run left is copied out before it goes.
    const struct {
        const char* name;
        std::string run;
        const char* table;
        const char* list;
    } cases[] = {
        {"random", "random --folder w --size 20 --cover 1:100:1 --metrics", "w/metrics.csv", "w/random_ListFragStat.fbt"},
        {"fractal", "fractal --folder w --size 33 --h 0.5:0.5:0.1 --cover 1:100:1 --metrics", "w/metrics.csv", ""},
    };
    for (const auto& c : cases)
        for (const char* size : {"20k", "44k"}) {
            SCOPED_TRACE(std::string(c.name) + " on " + size);
            TempDir dir;
            std::filesystem::create_directories(dir.file("disk"));
            std::filesystem::create_directories(dir.file("left"));
            const std::string script = "cd '" + dir.path().string() +
                                       "' && unshare -rm sh -c 'mount -t tmpfs -o size=" + size +
                                       " tmpfs disk || exit 77; cd disk && mkdir w && \"$0\" " + c.run +
                                       " >../cli.out 2>../cli.err; s=$?; cp -a . ../left; exit $s' '" ORVALIS_CLI "'";
            const int raw = std::system((script + " 2>/dev/null").c_str());
            const int status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
            if (status == 77 || status == 127 || (status == 1 && !std::filesystem::exists(dir.file("cli.err"))))
                GTEST_SKIP() << "no tmpfs of a chosen size can be mounted here";
            EXPECT_EQ(status, 1);
            const std::string err = readFile(dir.file("cli.err"));
            EXPECT_NE(err.find("No space left on device"), std::string::npos) << err;
            EXPECT_EQ(readFile(dir.file("cli.out")).find(" 100 of 100"), std::string::npos);
            const std::string table = readFile(dir.file(std::string("left/") + c.table));
            ASSERT_FALSE(table.empty());
            EXPECT_EQ(table.back(), '\n') << "the table ends mid-row";
            if (*c.list) {
                std::istringstream names(readFile(dir.file(std::string("left/") + c.list)));
                for (std::string name; std::getline(names, name);)
                    EXPECT_TRUE(std::filesystem::exists(dir.file("left/" + name))) << name;
            }
        }
}

}  // namespace
}  // namespace orvalis
