#pragma once

// Clocks and memory readings the benchmarks share.
#include <chrono>
#include <ctime>
#include <fstream>
#include <string>

namespace orvalis::bench {

using Clock = std::chrono::steady_clock;

inline double seconds(Clock::time_point a, Clock::time_point b)
{
    return std::chrono::duration<double>(b - a).count();
}

// Processor time of the whole process, all threads, user and system: steadier than wall time on a
// shared machine.
inline double cpuSeconds()
{
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + static_cast<double>(t.tv_nsec) * 1e-9;
}

// kB of the process's peak or current resident memory ("VmHWM" or "VmRSS").
inline long statusKb(const char* field)
{
    std::ifstream in("/proc/self/status");
    std::string key;
    long value = 0;
    while (in >> key) {
        if (key == std::string(field) + ":") {
            in >> value;
            return value;
        }
        in.ignore(1 << 10, '\n');
    }
    return -1;
}

// Lets VmHWM start again from the present resident size.
inline void resetPeak()
{
    std::ofstream("/proc/self/clear_refs") << "5\n";
}

}  // namespace orvalis::bench
