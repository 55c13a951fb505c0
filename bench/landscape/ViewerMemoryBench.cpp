// Peak memory of reading a landscape file for the viewer, against the file's size: the
// straightforward way (the whole text, then a grid of ints) and the viewer's compact reader.
//   bench_viewer_memory [MEGABYTES]   (300 by default)
#include "core/io/CompactGrid.h"
#include "core/io/LandscapeFile.h"

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <functional>
#include <sstream>
#include <string>

namespace {

long residentKb()
{
    std::ifstream status("/proc/self/status");
    std::string key;
    long kb = 0;
    while (status >> key)
        if (key == "VmRSS:" && status >> kb)
            return kb;
    return 0;
}

// Peak resident memory the reading adds, in bytes, measured in a child of its own.
double peakOf(const std::function<void()>& reading)
{
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        const long before = residentKb();
        reading();
        rusage usage{};
        getrusage(RUSAGE_SELF, &usage);
        const double added = (static_cast<double>(usage.ru_maxrss) - static_cast<double>(before)) * 1024.0;
        if (write(pipeFds[1], &added, sizeof added) != sizeof added)
            _exit(1);
        _exit(0);
    }
    double added = -1;
    if (::read(pipeFds[0], &added, sizeof added) != sizeof added)
        added = -1;
    waitpid(pid, nullptr, 0);
    close(pipeFds[0]);
    close(pipeFds[1]);
    return added;
}

}  // namespace

int main(int argc, char** argv)
{
    const double megabytes = argc > 1 ? std::atof(argv[1]) : 300.0;
    const std::size_t side = static_cast<std::size_t>(std::sqrt(megabytes * 1e6 / 2.0));
    char name[] = "/tmp/orvalis-viewer-XXXXXX";
    const int fd = mkstemp(name);
    close(fd);
    {
        std::ofstream out(name, std::ios::binary);
        std::string line;
        unsigned state = 1;
        for (std::size_t j = 0; j < side; ++j) {
            line.clear();
            for (std::size_t i = 0; i < side; ++i) {
                state = state * 214013u + 2531011u;
                line += ((state >> 16) & 1) ? "1 " : "0 ";
            }
            line += '\n';
            out << line;
        }
    }
    std::ifstream sizeOf(name, std::ios::binary | std::ios::ate);
    const double fileBytes = static_cast<double>(sizeOf.tellg());

    const double straightforward = peakOf([&] {
        std::ifstream in(name, std::ios::binary);
        std::ostringstream text;
        text << in.rdbuf();
        const orvalis::LandscapeGrid grid = orvalis::parseLandscape(text.str());
        std::printf("%s", grid.empty() ? "?" : "");
    });
    const double compact = peakOf([&] {
        orvalis::CompactGrid grid;
        orvalis::readLandscapeFile(name, grid);
        std::printf("%s", grid.empty() ? "?" : "");
    });
    std::remove(name);
    std::printf("landscape file %zu x %zu cells, %.0f MB\n", side, side, fileBytes / 1e6);
    std::printf("straightforward read (text, then ints): %7.0f MB = %.2f x the file\n", straightforward / 1e6,
                straightforward / fileBytes);
    std::printf("viewer's compact read:                  %7.0f MB = %.2f x the file (goal <= 1.5)\n", compact / 1e6,
                compact / fileBytes);
    std::printf("ratio straightforward / compact: %.1f\n", straightforward / compact);
    return 0;
}
