// Reading and writing a 4096 x 4096 landscape file, in MB/s, against a
// straightforward stream-formatting reader and writer.
#include "core/io/LandscapeWriter.h"

#include <chrono>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>

using Clock = std::chrono::steady_clock;

namespace {

double seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

double fileMB(const std::string& path)
{
    struct stat st {};
    stat(path.c_str(), &st);
    return static_cast<double>(st.st_size) / 1e6;
}

void baselineWrite(const std::string& path, const orvalis::LandscapeGrid& grid)
{
    std::ofstream out(path);
    for (const auto& line : grid) {
        for (int v : line)
            out << v << ' ';
        out << '\n' << std::flush;
    }
}

orvalis::LandscapeGrid baselineRead(const std::string& path)
{
    orvalis::LandscapeGrid grid;
    std::ifstream in(path);
    std::string line;
    while (std::getline(in, line)) {
        std::istringstream fields(line);
        std::vector<int> values;
        int v;
        while (fields >> v)
            values.push_back(v);
        grid.push_back(std::move(values));
    }
    return grid;
}

}  // namespace

int main(int argc, char** argv)
{
    const int n = argc > 1 ? std::atoi(argv[1]) : 4096;
    orvalis::LandscapeGrid grid(static_cast<std::size_t>(n), std::vector<int>(static_cast<std::size_t>(n)));
    unsigned state = 1;
    for (auto& line : grid)
        for (int& v : line) {
            state = state * 214013u + 2531011u;
            v = (state >> 16) & 1 ? 1 : 0;
        }
    char dirTemplate[] = "/tmp/orvalis-bench-XXXXXX";
    std::string dir = mkdtemp(dirTemplate);
    std::string fast = dir + "/fast.txt", slow = dir + "/slow.txt";

    auto t0 = Clock::now();
    orvalis::writeLandscapeFile(fast, grid);
    auto t1 = Clock::now();
    baselineWrite(slow, grid);
    auto t2 = Clock::now();
    orvalis::LandscapeGrid back;
    orvalis::readLandscapeFile(fast, back);
    auto t3 = Clock::now();
    orvalis::LandscapeGrid backSlow = baselineRead(slow);
    auto t4 = Clock::now();

    double mb = fileMB(fast);
    std::printf("landscape file %d x %d, %.1f MB\n", n, n, mb);
    std::printf("write: %8.1f MB/s   baseline %8.1f MB/s   ratio %.1f\n", mb / seconds(t0, t1), mb / seconds(t1, t2),
                seconds(t1, t2) / seconds(t0, t1));
    std::printf("read:  %8.1f MB/s   baseline %8.1f MB/s   ratio %.1f\n", mb / seconds(t2, t3), mb / seconds(t3, t4),
                seconds(t3, t4) / seconds(t2, t3));
    bool same = back == grid && backSlow == grid;
    std::printf("round trip %s\n", same ? "identical" : "DIFFERS");
    std::remove(fast.c_str());
    std::remove(slow.c_str());
    rmdir(dir.c_str());
    return same ? 0 : 1;
}
